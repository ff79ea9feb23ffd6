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
    // The account's projects, to tell an upload of an earlier run that reached the account.
    QList<Project> cloud;
    // Device project id -> the account projects that looked like it before its earlier upload.
    QHash<QString, QStringList> earlier;
    // Whether the account's list could be read for the projects of an earlier upload.
    bool cloudRead = true;

    // The account's copy of one device project: the one an earlier run's upload made when the
    // account holds it, else a new upload. The upload is recorded on the device before it is
    // sent, so that a run cut short after the account made the project never sends it again.
    // None when the project is not in the account; its device copy then stays.
    QCoro::Task<std::optional<Project>> place(const Project &local)
    {
        const auto started = earlier.constFind(local.id);
        if (started != earlier.constEnd()) {
            if (!cloudRead) {
                // Whether the earlier upload arrived cannot be told: nothing is sent again.
                notPlaced(local);
                co_return std::nullopt;
            }
            if (std::optional<Project> found = LocalCloudMigrationPlanner::earlierUpload(cloud, local, *started))
                co_return found;
        }
        std::optional<Project> created;
        if (remote) {
            localRepo.recordUpload(local.id, LocalCloudMigrationPlanner::holdersOf(cloud, local));
            auto pending = remote->createFromLocalGuestProject(local);
            created = co_await std::move(pending);
        }
        if (!created) {
            notPlaced(local);
            co_return std::nullopt;
        }
        cloud.append(*created);
        co_return created;
    }

    void notPlaced(const Project &local)
    {
        result.notMoved.append(local);
        if (remote)
            result.lastFailure = remote->errorMessage();
    }
};

// The account's projects as they are now, read only when a device project has an upload of an
// earlier run: that upload may have made a project the caller's list does not show.
QCoro::Task<> readCloud(Migration &migration, const QList<Project> &locals)
{
    migration.earlier = migration.localRepo.uploads();
    const bool anyEarlier = std::any_of(locals.begin(), locals.end(),
                                        [&](const Project &local) { return migration.earlier.contains(local.id); });
    if (!anyEarlier || !migration.remote)
        co_return;
    auto fetching = migration.remote->fetchAll(false);
    const std::optional<QList<Project>> now = co_await std::move(fetching);
    if (now)
        migration.cloud = *now;
    else
        migration.cloudRead = false;
}

} // namespace

QCoro::Task<LocalCloudMigrationResult> LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy policy,
                                                                      QList<Project> locals,
                                                                      QList<Project> cloudProjects,
                                                                      ProjectsService &remote,
                                                                      LocalProjectRepository localRepo)
{
    LocalCloudMigrationResult result;
    // A service that goes away mid-run uploads nothing more; what was not moved stays on the device.
    Migration migration{&remote, localRepo, result, cloudProjects, {}, true};
    if (policy != LocalCloudMigrationPolicy::CloudOnly) {
        auto reading = readCloud(migration, locals);
        co_await std::move(reading);
    }
    switch (policy) {
    case LocalCloudMigrationPolicy::CloudOnly:
        // Only what was offered: a record that could not be read was never shown, so it is not dropped.
        for (const Project &local : locals)
            localRepo.remove(local.id);
        break;

    case LocalCloudMigrationPolicy::MergeAll:
        for (const Project &local : locals) {
            auto placing = migration.place(local);
            if (co_await std::move(placing))
                localRepo.remove(local.id);
        }
        break;

    case LocalCloudMigrationPolicy::MergeDedupeByName: {
        const QList<Project> toUpload = LocalCloudMigrationPlanner::localsToUploadMergeDedupe(cloudProjects, locals);
        QSet<QString> uploadIds;
        for (const Project &local : toUpload) {
            uploadIds.insert(local.id);
            auto placing = migration.place(local);
            if (co_await std::move(placing))
                localRepo.remove(local.id);
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
            auto placing = migration.place(local);
            const std::optional<Project> placed = co_await std::move(placing);
            if (!placed)
                continue;
            // Only after the upload succeeded, so that a failed one leaves the account copy in place;
            // never the project the upload made, which an earlier run may have listed.
            const QString key = LocalCloudMigrationPlanner::nameKey(local.name);
            for (const Project &cloud : matches) {
                if (!migration.remote || replaced.contains(cloud.id) || cloud.id == placed->id
                    || LocalCloudMigrationPlanner::nameKey(cloud.name) != key)
                    continue;
                auto removal = migration.remote->remove(cloud.id);
                if (co_await std::move(removal))
                    replaced.insert(cloud.id);
                else if (migration.remote)
                    result.lastFailure = migration.remote->errorMessage();
            }
            // The device copy goes last: a run cut short before the replacements does them again.
            localRepo.remove(local.id);
        }
        break;
    }
    }
    co_return result;
}
