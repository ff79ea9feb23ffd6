#include "LocalCloudMigrationRunner.h"

#include "API/ProjectsService.h"
#include "Data/LocalCloudMigrationPlanner.h"

#include <QPointer>
#include <QSet>

namespace {

struct Migration
{
    QPointer<ProjectsService> remote;
    LocalProjectRepository &localRepo;
    LocalCloudMigrationResult &result;

    // Uploads one device project; its device copy goes only once the account holds it.
    QCoro::Task<bool> move(const Project &local)
    {
        std::optional<Project> created;
        if (remote) {
            auto pending = remote->createFromLocalGuestProject(local);
            created = co_await std::move(pending);
        }
        if (!created) {
            result.notMoved.append(local);
            if (remote)
                result.lastFailure = remote->errorMessage();
            co_return false;
        }
        localRepo.remove(local.id);
        co_return true;
    }
};

} // namespace

QCoro::Task<LocalCloudMigrationResult> LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy policy,
                                                                      QList<Project> locals,
                                                                      QList<Project> cloudProjects,
                                                                      ProjectsService &remote,
                                                                      LocalProjectRepository localRepo)
{
    LocalCloudMigrationResult result;
    // A service that goes away mid-run uploads nothing more; what was not moved stays on the device.
    Migration migration{&remote, localRepo, result};
    switch (policy) {
    case LocalCloudMigrationPolicy::CloudOnly:
        // Only what was offered: a record that could not be read was never shown, so it is not dropped.
        for (const Project &local : locals)
            localRepo.remove(local.id);
        break;

    case LocalCloudMigrationPolicy::MergeAll:
        for (const Project &local : locals) {
            auto pending = migration.move(local);
            co_await std::move(pending);
        }
        break;

    case LocalCloudMigrationPolicy::MergeDedupeByName: {
        const QList<Project> toUpload = LocalCloudMigrationPlanner::localsToUploadMergeDedupe(cloudProjects, locals);
        QSet<QString> uploadIds;
        for (const Project &local : toUpload) {
            uploadIds.insert(local.id);
            auto pending = migration.move(local);
            co_await std::move(pending);
        }
        // The account already has a project of that name: the device copy is dropped on purpose.
        for (const Project &local : locals) {
            if (!uploadIds.contains(local.id))
                localRepo.remove(local.id);
        }
        break;
    }

    case LocalCloudMigrationPolicy::LocalWinsReplaceMatches: {
        const QList<Project> matches =
            LocalCloudMigrationPlanner::cloudProjectsToReplaceForLocalWins(cloudProjects, locals);
        QSet<QString> replaced;
        for (const Project &local : locals) {
            auto upload = migration.move(local);
            if (!co_await std::move(upload))
                continue;
            // Only after the upload succeeded, so that a failed one leaves the account copy in place.
            const QString key = LocalCloudMigrationPlanner::nameKey(local.name);
            for (const Project &cloud : matches) {
                if (!migration.remote || replaced.contains(cloud.id)
                    || LocalCloudMigrationPlanner::nameKey(cloud.name) != key)
                    continue;
                auto removal = migration.remote->remove(cloud.id);
                if (co_await std::move(removal))
                    replaced.insert(cloud.id);
                else if (migration.remote)
                    result.lastFailure = migration.remote->errorMessage();
            }
        }
        break;
    }
    }
    co_return result;
}
