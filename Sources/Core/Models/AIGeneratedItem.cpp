#include "AIGeneratedItem.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

AIGeneratedItem AIGeneratedItem::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader reader(value, path);
    AIGeneratedItem item;
    item.title = reader.requiredString(QStringLiteral("title"));
    item.description = reader.requiredString(QStringLiteral("description"));
    item.category = reader.requiredString(QStringLiteral("category"));
    item.hours = reader.requiredDouble(QStringLiteral("hours"));
    item.rate = reader.requiredDouble(QStringLiteral("rate"));
    return item;
}

QJsonObject AIGeneratedItem::toJson(const JsonPath &path) const
{
    return JsonWriter(path)
        .set(QStringLiteral("title"), title)
        .set(QStringLiteral("description"), description)
        .set(QStringLiteral("category"), category)
        .set(QStringLiteral("hours"), hours)
        .set(QStringLiteral("rate"), rate)
        .object();
}
