#pragma once

#include "User.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// The answer to a sign-in. The token travels under "access_token".
struct AuthResponse
{
    QString accessToken;
    User user;

    static AuthResponse fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
};
