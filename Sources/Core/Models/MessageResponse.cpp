#include "MessageResponse.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"
#include "Utils/Text.h"

MessageResponse MessageResponse::fromJson(const QJsonValue &value, const JsonPath &path)
{
    // Shown as the screens' notice: bounded as the server's error texts are.
    return {Text::boundedMessage(JsonReader(value, path).requiredString(QStringLiteral("message")))};
}

QJsonObject MessageResponse::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("message"), message).object();
}
