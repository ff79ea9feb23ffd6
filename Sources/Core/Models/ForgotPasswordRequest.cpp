#include "ForgotPasswordRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject ForgotPasswordRequest::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("email"), email).object();
}
