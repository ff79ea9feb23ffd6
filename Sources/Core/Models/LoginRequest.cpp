#include "LoginRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject LoginRequest::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("email"), email).set(QStringLiteral("password"), password).object();
}
