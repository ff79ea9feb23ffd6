#include "MessageResponse.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

MessageResponse MessageResponse::fromJson(const QJsonValue &value, const JsonPath &path)
{
    return {JsonReader(value, path).requiredString(QStringLiteral("message"))};
}

QJsonObject MessageResponse::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("message"), message).object();
}
