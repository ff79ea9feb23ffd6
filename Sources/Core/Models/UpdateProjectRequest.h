#pragma once

#include "Project.h"
#include "ProjectItem.h"
#include "ProjectStatus.h"
#include "Utils/JsonPath.h"

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

    QJsonObject toJson(const JsonPath &path = {}) const;

    // The request that saves an edited project: its edited fields, the optional ones as it has them.
    static UpdateProjectRequest fromEditedProject(const Project &edited);

    // Calls visit(requestField, projectField) with member pointers for each field an edit carries.
    // The request and a guest's stamping of an edit onto the stored project both read this list.
    template<typename Visit>
    static void forEachEditedField(Visit &&visit)
    {
        visit(&UpdateProjectRequest::name, &Project::name);
        visit(&UpdateProjectRequest::clientName, &Project::clientName);
        visit(&UpdateProjectRequest::currency, &Project::currency);
        visit(&UpdateProjectRequest::status, &Project::status);
        visit(&UpdateProjectRequest::defaultRate, &Project::defaultRate);
        visit(&UpdateProjectRequest::items, &Project::items);
        visit(&UpdateProjectRequest::projectType, &Project::projectType);
        visit(&UpdateProjectRequest::iterationStartedAt, &Project::iterationStartedAt);
    }
};
