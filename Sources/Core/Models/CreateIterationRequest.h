#pragma once

#include "ProjectItem.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// Body of a new iteration of a base project; written only, present fields only. An empty list
// of lines is still written, as an empty array.
struct CreateIterationRequest
{
    std::optional<QString> iterationName;
    std::optional<QString> iterationNotes;
    std::optional<qint64> version;
    std::optional<bool> copyBudget; // true: the new iteration gets a copy of the line's estimate
    std::optional<QList<ProjectItem>> items;

    QJsonObject toJson(const JsonPath &path = {}) const;
};
