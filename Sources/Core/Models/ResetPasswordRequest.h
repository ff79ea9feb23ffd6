#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>

struct ResetPasswordRequest
{
    QString token;
    QString password;

    QJsonObject toJson(const JsonPath &path = {}) const;
};
