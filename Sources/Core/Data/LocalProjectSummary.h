#pragma once

#include "Models/Project.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the lists need of a stored project, kept in columns beside its JSON so that a list is read
// without decoding a single line.
struct LocalProjectSummary
{
    QString name;
    std::optional<QString> clientName;
    // The status as its wire text.
    QString status;
    QString currency;
    std::optional<QString> projectType;
    std::optional<QString> parentProjectId;
    std::optional<QString> baseProjectId;
    std::optional<qint64> version;
    std::optional<QString> iterationName;
    double totalHours = 0;
    double totalCost = 0;
    QString userId;
    QString createdAt;
    QString updatedAt;

    static LocalProjectSummary of(const Project &project);
    // The summary of stored JSON, absent when the JSON does not read as a project.
    static std::optional<LocalProjectSummary> ofProjectData(const QByteArray &projectData);

    // The project without its lines (and the fields only an open project needs); absent when a
    // column holds what no project could (an outside edit), so that the JSON decides.
    std::optional<Project> listedProject(const QString &id) const;

    bool operator==(const LocalProjectSummary &other) const = default;

private:
    // Every column held as the project holds it (the status alone is kept as text), so that a
    // new column is copied both ways once it is named here.
    template<typename Visit>
    static void forEachSameField(Visit &&visit)
    {
        visit(&LocalProjectSummary::name, &Project::name);
        visit(&LocalProjectSummary::clientName, &Project::clientName);
        visit(&LocalProjectSummary::currency, &Project::currency);
        visit(&LocalProjectSummary::projectType, &Project::projectType);
        visit(&LocalProjectSummary::parentProjectId, &Project::parentProjectId);
        visit(&LocalProjectSummary::baseProjectId, &Project::baseProjectId);
        visit(&LocalProjectSummary::version, &Project::version);
        visit(&LocalProjectSummary::iterationName, &Project::iterationName);
        visit(&LocalProjectSummary::totalHours, &Project::totalHours);
        visit(&LocalProjectSummary::totalCost, &Project::totalCost);
        visit(&LocalProjectSummary::userId, &Project::userId);
        visit(&LocalProjectSummary::createdAt, &Project::createdAt);
        visit(&LocalProjectSummary::updatedAt, &Project::updatedAt);
    }
};
