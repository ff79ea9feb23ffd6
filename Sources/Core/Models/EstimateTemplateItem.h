#pragma once

#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

// One line of a reusable template.
struct EstimateTemplateItem
{
    QString title;
    std::optional<QString> description;
    QString category;
    double hours = 0;
    double rate = 0;
    bool isLocked = false;

    static EstimateTemplateItem fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    bool operator==(const EstimateTemplateItem &other) const = default;
};
