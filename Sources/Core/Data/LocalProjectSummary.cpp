#include "LocalProjectSummary.h"

#include "Utils/DecodingError.h"

#include <cmath>

LocalProjectSummary LocalProjectSummary::of(const Project &project)
{
    LocalProjectSummary summary;
    summary.name = project.name;
    summary.clientName = project.clientName;
    summary.status = rawValue(project.status);
    summary.currency = project.currency;
    summary.projectType = project.projectType;
    summary.parentProjectId = project.parentProjectId;
    summary.baseProjectId = project.baseProjectId;
    summary.version = project.version;
    summary.iterationName = project.iterationName;
    summary.totalHours = project.totalHours;
    summary.totalCost = project.totalCost;
    summary.userId = project.userId;
    summary.createdAt = project.createdAt;
    summary.updatedAt = project.updatedAt;
    return summary;
}

std::optional<LocalProjectSummary> LocalProjectSummary::ofProjectData(const QByteArray &projectData)
{
    try {
        return of(Project::fromJsonText(projectData));
    } catch (const DecodingError &) {
        return std::nullopt;
    }
}

std::optional<Project> LocalProjectSummary::listedProject(const QString &id) const
{
    const std::optional<ProjectStatus> projectStatus = projectStatusFromRaw(status);
    if (!projectStatus || !std::isfinite(totalHours) || !std::isfinite(totalCost))
        return std::nullopt;
    Project project;
    project.id = id;
    project.name = name;
    project.clientName = clientName;
    project.totalCost = totalCost;
    project.totalHours = totalHours;
    project.currency = currency;
    project.status = *projectStatus;
    project.userId = userId;
    project.createdAt = createdAt;
    project.updatedAt = updatedAt;
    project.projectType = projectType;
    project.parentProjectId = parentProjectId;
    project.baseProjectId = baseProjectId;
    project.version = version;
    project.iterationName = iterationName;
    return project;
}
