#include "CatalogCategory.h"

#include "Utils/Hashing.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

CatalogCategory CatalogCategory::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    CatalogCategory c;
    c.id = r.requiredString(QStringLiteral("id"));
    c.sphereId = r.requiredString(QStringLiteral("sphereId"));
    c.name = r.requiredString(QStringLiteral("name"));
    c.color = r.optionalString(QStringLiteral("color"));
    c.sortOrder = r.requiredInt(QStringLiteral("sortOrder"));
    return c;
}

QJsonObject CatalogCategory::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("id"), id)
        .set(QStringLiteral("sphereId"), sphereId)
        .set(QStringLiteral("name"), name)
        .set(QStringLiteral("color"), color)
        .set(QStringLiteral("sortOrder"), sortOrder);
    return w.object();
}

size_t qHash(const CatalogCategory &c, size_t seed)
{
    return Hashing::combine(seed, c.id, c.sphereId, c.name, c.color, c.sortOrder);
}
