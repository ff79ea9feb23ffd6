#pragma once

#include <QJsonObject>
#include <QString>

struct ResetPasswordRequest
{
    QString token;
    QString password;

    QJsonObject toJson(const QString &path = {}) const;
};
