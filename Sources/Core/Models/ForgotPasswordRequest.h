#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>

struct ForgotPasswordRequest
{
    QString email;

    QJsonObject toJson(const JsonPath &path = {}) const;
};
