#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>

struct LoginRequest
{
    QString email;
    QString password;

    QJsonObject toJson(const JsonPath &path = {}) const;
};
