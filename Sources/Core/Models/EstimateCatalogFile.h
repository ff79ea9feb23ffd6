#pragma once

#include "CatalogCategory.h"
#include "CatalogSphere.h"
#include "EstimateTemplate.h"
#include "Utils/JsonPath.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

// The catalog resource: spheres, their categories, built-in templates and the map from legacy
// category identifiers to catalog ones. Identifiers may repeat; lookups take the first in file
// order.
struct EstimateCatalogFile
{
    qint64 version = 0;
    QList<CatalogSphere> spheres;
    QList<CatalogCategory> categories;
    QList<EstimateTemplate> builtinTemplates;
    QHash<QString, QString> legacyCategoryMap; // legacy identifier -> catalog identifier

    static EstimateCatalogFile fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    bool operator==(const EstimateCatalogFile &other) const = default;
};
