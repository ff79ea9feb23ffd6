#include "CatalogSphere.h"

#include "Utils/Hashing.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

CatalogSphere CatalogSphere::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    CatalogSphere s;
    s.id = r.requiredString(QStringLiteral("id"));
    s.name = r.requiredString(QStringLiteral("name"));
    s.description = r.optionalString(QStringLiteral("description"));
    s.icon = r.optionalString(QStringLiteral("icon"));
    s.sortOrder = r.requiredInt(QStringLiteral("sortOrder"));
    return s;
}

QJsonObject CatalogSphere::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("id"), id)
        .set(QStringLiteral("name"), name)
        .set(QStringLiteral("description"), description)
        .set(QStringLiteral("icon"), icon)
        .set(QStringLiteral("sortOrder"), sortOrder);
    return w.object();
}

size_t qHash(const CatalogSphere &s, size_t seed)
{
    return Hashing::combine(seed, s.id, s.name, s.description, s.icon, s.sortOrder);
}
