#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// What the test backend answers: a status, raw body bytes and their type. neverAnswer keeps the
// connection open without a word, for timeout cases.
struct BackendReply
{
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
    bool neverAnswer = false;
    // Answers only after this many milliseconds, so tests can act while a request is in flight.
    int delayMs = 0;

    static BackendReply json(int status, const QJsonValue &value);
    static BackendReply message(int status, const QString &text);
    static BackendReply raw(int status, QByteArray body, QByteArray contentType = "application/json");
    static BackendReply empty(int status);
    static BackendReply silence();
    BackendReply after(int milliseconds) const;
};
