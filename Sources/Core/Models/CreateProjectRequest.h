#pragma once

#include "ProjectItem.h"
#include "ProjectStatus.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// Body of a new project; written only. Absent fields are left out.
struct CreateProjectRequest
{
    QString name;
    std::optional<QString> clientName;
    std::optional<QString> currency;
    std::optional<ProjectStatus> status;
    std::optional<double> defaultRate;
    std::optional<QString> templateId;
    std::optional<QList<ProjectItem>> items;
    std::optional<QString> sphereId; // sphere of the template; not a field of the project

    QJsonObject toJson(const JsonPath &path = {}) const;
};
