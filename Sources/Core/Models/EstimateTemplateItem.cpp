#include "EstimateTemplateItem.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

EstimateTemplateItem EstimateTemplateItem::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    EstimateTemplateItem item;
    item.title = r.requiredString(QStringLiteral("title"));
    item.description = r.optionalString(QStringLiteral("description"));
    item.category = r.requiredString(QStringLiteral("category"));
    item.hours = r.requiredDouble(QStringLiteral("hours"));
    item.rate = r.requiredDouble(QStringLiteral("rate"));
    item.isLocked = r.requiredBool(QStringLiteral("isLocked"));
    return item;
}

QJsonObject EstimateTemplateItem::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("title"), title)
        .set(QStringLiteral("description"), description)
        .set(QStringLiteral("category"), category)
        .set(QStringLiteral("hours"), hours)
        .set(QStringLiteral("rate"), rate)
        .set(QStringLiteral("isLocked"), isLocked);
    return w.object();
}
