#include "LoginRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject LoginRequest::toJson(const QString &path) const
{
    return JsonWriter(path)
        .set(QStringLiteral("email"), email)
        .set(QStringLiteral("password"), password)
        .object();
}
