#include "ResetPasswordRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject ResetPasswordRequest::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("token"), token).set(QStringLiteral("password"), password).object();
}
