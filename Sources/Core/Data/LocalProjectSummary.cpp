#include "LocalProjectSummary.h"

#include "Utils/DecodingError.h"

#include <cmath>

LocalProjectSummary LocalProjectSummary::of(const Project &project)
{
    LocalProjectSummary summary;
    summary.status = rawValue(project.status);
    forEachSameField([&](auto summaryField, auto projectField) { summary.*summaryField = project.*projectField; });
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
    project.status = *projectStatus;
    forEachSameField([&](auto summaryField, auto projectField) { project.*projectField = this->*summaryField; });
    return project;
}
