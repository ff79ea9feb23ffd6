#include "EstimateTemplate.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

EstimateTemplate EstimateTemplate::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    EstimateTemplate t;
    t.id = r.requiredString(QStringLiteral("id"));
    t.sphereId = r.optionalString(QStringLiteral("sphereId"));
    t.name = r.requiredString(QStringLiteral("name"));
    t.description = r.optionalString(QStringLiteral("description"));
    t.defaultRate = r.requiredDouble(QStringLiteral("defaultRate"));
    t.items = r.requiredList<EstimateTemplateItem>(QStringLiteral("items"), EstimateTemplateItem::fromJson);
    return t;
}

QList<EstimateTemplate> EstimateTemplate::listFromJson(const QJsonValue &value, const JsonPath &path)
{
    return JsonReader::readList<EstimateTemplate>(value, path, EstimateTemplate::fromJson);
}

QJsonObject EstimateTemplate::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("id"), id)
        .set(QStringLiteral("sphereId"), sphereId)
        .set(QStringLiteral("name"), name)
        .set(QStringLiteral("description"), description)
        .set(QStringLiteral("defaultRate"), defaultRate)
        .setList(QStringLiteral("items"), items,
                 [](const EstimateTemplateItem &item, const JsonPath &itemPath) { return item.toJson(itemPath); });
    return w.object();
}

QJsonArray EstimateTemplate::listToJson(const QList<EstimateTemplate> &templates, const JsonPath &path)
{
    QJsonArray array;
    for (qsizetype i = 0; i < templates.size(); ++i)
        array.append(templates.at(i).toJson(path.index(i)));
    return array;
}
