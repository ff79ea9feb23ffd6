#pragma once

#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

struct EstimateTemplateItem;

// One estimate line of a project.
struct ProjectItem
{
    QString title;
    std::optional<QString> description;
    QString category;
    double hours = 0;
    double rate = 0;
    bool isLocked = false;
    std::optional<bool> done;

    // title-category-hours, hours in shortest round-trip form ("API-backend-12.0"). Equal for
    // lines that share these three fields.
    QString identity() const;

    static ProjectItem fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
    // The same JSON as toJson(), appended to out as compact text (what Json::serialize makes of it).
    void appendJson(QByteArray &out, const JsonPath &path = {}) const;

    // Brings a category identifier onto the catalog's own for a sphere (the catalog loader's
    // normalizeCategory): the catalog lives in the data layer, above the records.
    using CategoryNormalizer = QString (*)(const QString &categoryId, const QString &sphereId);

    // The project line for one template line: title trimmed of spaces and tabs, empty
    // description dropped, category normalised for the sphere "software", negative hours as 0,
    // a rate not above zero replaced by the template's default rate (and 0 when that is
    // negative or not a number), done absent.
    static ProjectItem fromTemplateItem(const EstimateTemplateItem &templateItem, double defaultRate,
                                        CategoryNormalizer normalizeCategory);

    bool operator==(const ProjectItem &other) const = default;
};

size_t qHash(const ProjectItem &item, size_t seed = 0);
