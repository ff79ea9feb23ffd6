#pragma once

#include <QJsonObject>
#include <QString>

struct ForgotPasswordRequest
{
    QString email;

    QJsonObject toJson(const QString &path = {}) const;
};
