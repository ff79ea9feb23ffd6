#pragma once

#include "EstimateTemplateItem.h"
#include "Utils/JsonPath.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

// A reusable set of lines: built into the catalog, in the templates resource, or the user's own.
struct EstimateTemplate
{
    QString id;
    std::optional<QString> sphereId; // absent: the default sphere "software"
    QString name;
    std::optional<QString> description;
    double defaultRate = 0;
    QList<EstimateTemplateItem> items;

    static EstimateTemplate fromJson(const QJsonValue &value, const JsonPath &path = {});
    // A JSON array of templates, read in one piece: one bad line fails the whole list.
    static QList<EstimateTemplate> listFromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
    static QJsonArray listToJson(const QList<EstimateTemplate> &templates, const JsonPath &path = {});

    bool operator==(const EstimateTemplate &other) const = default;
};
