#include "GenerateEstimateResponse.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

GenerateEstimateResponse GenerateEstimateResponse::fromJson(const QJsonValue &value, const JsonPath &path)
{
    return {JsonReader(value, path).requiredList<AIGeneratedItem>(QStringLiteral("items"), &AIGeneratedItem::fromJson)};
}

QJsonObject GenerateEstimateResponse::toJson(const JsonPath &path) const
{
    return JsonWriter(path)
        .setList(
            QStringLiteral("items"), items,
            [](const AIGeneratedItem &item, const JsonPath &itemPath) { return QJsonValue(item.toJson(itemPath)); })
        .object();
}
