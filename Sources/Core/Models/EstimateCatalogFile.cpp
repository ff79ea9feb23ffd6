#include "EstimateCatalogFile.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

#include <QJsonArray>

EstimateCatalogFile EstimateCatalogFile::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    EstimateCatalogFile file;
    file.version = r.requiredInt(QStringLiteral("version"));
    file.spheres = r.requiredList<CatalogSphere>(QStringLiteral("spheres"), CatalogSphere::fromJson);
    file.categories = r.requiredList<CatalogCategory>(QStringLiteral("categories"), CatalogCategory::fromJson);
    file.builtinTemplates =
        r.requiredList<EstimateTemplate>(QStringLiteral("builtinTemplates"), EstimateTemplate::fromJson);
    file.legacyCategoryMap =
        r.requiredObject<QHash<QString, QString>>(QStringLiteral("legacyCategoryMap"), [](const JsonReader &map) {
            QHash<QString, QString> out;
            const QJsonObject &object = map.object();
            out.reserve(object.size());
            for (auto it = object.constBegin(); it != object.constEnd(); ++it)
                out.insert(it.key(), map.requiredString(it.key()));
            return out;
        });
    return file;
}

QJsonObject EstimateCatalogFile::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    QJsonObject map;
    for (auto it = legacyCategoryMap.constBegin(); it != legacyCategoryMap.constEnd(); ++it)
        map.insert(it.key(), it.value());
    w.set(QStringLiteral("version"), version)
        .setList(QStringLiteral("spheres"), spheres,
                 [](const CatalogSphere &s, const JsonPath &p) { return s.toJson(p); })
        .setList(QStringLiteral("categories"), categories,
                 [](const CatalogCategory &c, const JsonPath &p) { return c.toJson(p); })
        .setList(QStringLiteral("builtinTemplates"), builtinTemplates,
                 [](const EstimateTemplate &t, const JsonPath &p) { return t.toJson(p); })
        .set(QStringLiteral("legacyCategoryMap"), QJsonValue(map));
    return w.object();
}
