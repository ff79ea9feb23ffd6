#pragma once

#include "Models/Project.h"

#include <QList>
#include <QString>

// Name matching between device and account projects.
class LocalCloudMigrationPlanner
{
public:
    LocalCloudMigrationPlanner() = delete;

    // The name without white space or line breaks at its ends, lower-cased independently of
    // the locale. Two projects match when their keys are equal.
    static QString nameKey(const QString &name);

    // Device projects, in order, whose key matches no account project.
    static QList<Project> localsToUploadMergeDedupe(const QList<Project> &cloud, const QList<Project> &locals);
    // Account projects, in order, whose key matches some device project.
    static QList<Project> cloudProjectsToReplaceForLocalWins(const QList<Project> &cloud, const QList<Project> &locals);
};
