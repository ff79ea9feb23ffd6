#pragma once

#include "Models/Project.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// Name matching between device and account projects, and the account project an upload made.
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

    // Whether an account project holds what an upload of the device project sends: name, client,
    // currency, status, default rate and lines (the done flags aside).
    static bool holdsUploadOf(const Project &cloud, const Project &local);
    // The account project an earlier upload of local made: the first that holds it and is none of
    // the ids that already did before that upload, nor of those taken.
    static std::optional<Project> earlierUpload(const QList<Project> &cloud, const Project &local,
                                                const QStringList &knownIds, const QSet<QString> &taken = {});
    // The ids of the account projects that hold an upload of local.
    static QStringList holdersOf(const QList<Project> &cloud, const Project &local);
};
