#pragma once

#include <QJsonObject>
#include <QString>

struct LoginRequest
{
    QString email;
    QString password;

    QJsonObject toJson(const QString &path = {}) const;
};
