#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// The plain answer of the registration, verification and password endpoints.
struct MessageResponse
{
    QString message;

    static MessageResponse fromJson(const QJsonValue &value, const QString &path = {});
    QJsonObject toJson(const QString &path = {}) const;
};
