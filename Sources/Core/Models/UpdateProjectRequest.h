#pragma once

#include "ProjectItem.h"
#include "ProjectStatus.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// Body of a project update; written only. Only present fields are sent; there is no way to send
// an explicit null.
struct UpdateProjectRequest
{
    std::optional<QString> name;
    std::optional<QString> clientName;
    std::optional<ProjectStatus> status;
    std::optional<QList<ProjectItem>> items;
    std::optional<double> defaultRate;
    std::optional<QString> currency;
    std::optional<QString> projectType;
    std::optional<QString> iterationStartedAt;

    QJsonObject toJson(const QString &path = {}) const;
};
