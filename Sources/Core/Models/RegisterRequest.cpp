#include "RegisterRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject RegisterRequest::toJson(const JsonPath &path) const
{
    JsonWriter writer(path);
    writer.set(QStringLiteral("email"), email)
        .set(QStringLiteral("password"), password)
        .set(QStringLiteral("firstName"), firstName)
        .set(QStringLiteral("lastName"), lastName);
    return writer.object();
}
