#include "MessageResponse.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

MessageResponse MessageResponse::fromJson(const QJsonValue &value, const QString &path)
{
    return {JsonReader(value, path).requiredString(QStringLiteral("message"))};
}

QJsonObject MessageResponse::toJson(const QString &path) const
{
    return JsonWriter(path).set(QStringLiteral("message"), message).object();
}
