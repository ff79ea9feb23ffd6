#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonValue>
#include <QString>

// One request as the test backend received it.
struct RecordedRequest
{
    QString method;
    // Relative to the API root, as sent (escapes kept), e.g. "auth/verify-email?token=a%2Bb".
    QString target;
    // target without the query, escapes decoded, e.g. "projects/p-1/payments".
    QString path;
    // Raw query text after "?", empty when there is none.
    QString query;
    // Header names in lower case.
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;

    bool hasHeader(const QByteArray &name) const { return headers.contains(name.toLower()); }
    QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
    // The body read as JSON; undefined when it is not JSON.
    QJsonValue json() const;
    // Percent-decoded value of a query item ("+" kept), or none.
    std::optional<QString> queryItem(const QString &name) const;
};
