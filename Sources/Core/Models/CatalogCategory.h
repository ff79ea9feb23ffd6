#pragma once

#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

// One estimate category of one sphere of the catalog.
struct CatalogCategory
{
    QString id;
    QString sphereId;
    QString name;
    std::optional<QString> color; // six hexadecimal digits, with or without "#"
    qint64 sortOrder = 0;

    static CatalogCategory fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    bool operator==(const CatalogCategory &other) const = default;
};

size_t qHash(const CatalogCategory &category, size_t seed = 0);
