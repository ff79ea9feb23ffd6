#pragma once

#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

// One sphere of work of the catalog.
struct CatalogSphere
{
    QString id;
    QString name;
    std::optional<QString> description;
    std::optional<QString> icon; // shown before the name when present and not empty
    qint64 sortOrder = 0;

    static CatalogSphere fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    bool operator==(const CatalogSphere &other) const = default;
};

size_t qHash(const CatalogSphere &sphere, size_t seed = 0);
