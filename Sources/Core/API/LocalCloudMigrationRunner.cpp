#include "LocalCloudMigrationRunner.h"

#include "API/ProjectsService.h"
#include "Data/LocalCloudMigrationPlanner.h"
#include "Utils/Text.h"

#include <QPointer>
#include <QSet>

#include <algorithm>

namespace {

// A device project the run put in the account, until the list read after the uploads confirms it.
struct Placement
{
    Project local;
    QString id;
    // Named by the upload's answer, rather than found in the account's list.
    bool answered = false;
};

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
    // What the account held before the run: an answer naming one of them made nothing new.
    QSet<QString> listedBefore;
    QList<Placement> placed;
    QSet<QString> placedIds;

    // The account's copy of one device project: the one an earlier run's upload made when the
    // account holds it, else a new upload. The upload is recorded on the device before it is
    // sent, so that a run cut short after the account made the project never sends it again.
    // False when the project did not reach the account; its device copy then stays.
    QCoro::Task<bool> place(const Project &local)
    {
        const auto started = earlier.constFind(local.id);
        if (started != earlier.constEnd()) {
            if (!cloudRead) {
                // Whether the earlier upload arrived cannot be told: nothing is sent again.
                notPlaced(local);
                co_return false;
            }
            // Never the copy that another device project of this run stands for.
            if (std::optional<Project> found =
                    LocalCloudMigrationPlanner::earlierUpload(cloud, local, *started, placedIds)) {
                placed.append({local, found->id, false});
                placedIds.insert(found->id);
                co_return true;
            }
        }
        std::optional<Project> created;
        if (remote) {
            localRepo.recordUpload(local.id, LocalCloudMigrationPlanner::holdersOf(cloud, local));
            auto pending = remote->createFromLocalGuestProject(local);
            created = co_await std::move(pending);
        }
        if (!created) {
            notPlaced(local);
            co_return false;
        }
        cloud.append(*created);
        placed.append({local, created->id, true});
        placedIds.insert(created->id);
        co_return true;
    }

    void notPlaced(const Project &local)
    {
        result.notMoved.append(local);
        if (remote)
            result.lastFailure = remote->errorMessage();
    }

    // The placements the account is seen to hold, in order: each names a project that the list
    // read now holds and that no other placement names, and an answer names none listed before
    // the run. The others stay on the device; a later run finds what their uploads made.
    QCoro::Task<QList<Placement>> confirmed()
    {
        if (placed.isEmpty())
            co_return {};
        std::optional<QList<Project>> after;
        if (remote) {
            auto fetching = remote->fetchAll(false);
            after = co_await std::move(fetching);
        }
        QSet<QString> held;
        for (const Project &project : after.value_or(QList<Project>()))
            held.insert(project.id);
        QHash<QString, int> claims;
        for (const Placement &placement : std::as_const(placed))
            ++claims[placement.id];
        QList<Placement> kept;
        for (const Placement &placement : std::as_const(placed)) {
            if (held.contains(placement.id) && claims.value(placement.id) == 1
                && !(placement.answered && listedBefore.contains(placement.id))) {
                kept.append(placement);
                continue;
            }
            qWarning("the account does not show the upload of a device project as project %s",
                     qPrintable(Text::boundedMessage(placement.id)));
            result.notMoved.append(placement.local);
        }
        if (!after && remote)
            result.lastFailure = remote->errorMessage();
        co_return kept;
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

QSet<QString> idsOf(const QList<Project> &projects)
{
    QSet<QString> ids;
    for (const Project &project : projects)
        ids.insert(project.id);
    return ids;
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
    Migration migration{&remote, localRepo, result, cloudProjects, {}, true, {}, {}, {}};
    if (policy == LocalCloudMigrationPolicy::CloudOnly) {
        // Only what was offered: a record that could not be read was never shown, so it is not dropped.
        for (const Project &local : locals)
            localRepo.remove(local.id);
        co_return result;
    }
    migration.listedBefore = idsOf(cloudProjects) + idsOf(remote.projects());
    auto reading = readCloud(migration, locals);
    co_await std::move(reading);
    migration.listedBefore += idsOf(migration.cloud);

    const QList<Project> toUpload = policy == LocalCloudMigrationPolicy::MergeDedupeByName
        ? LocalCloudMigrationPlanner::localsToUploadMergeDedupe(cloudProjects, locals)
        : locals;
    for (const Project &local : toUpload) {
        auto placing = migration.place(local);
        co_await std::move(placing);
    }
    auto confirming = migration.confirmed();
    const QList<Placement> kept = co_await std::move(confirming);

    const QList<Project> matches = policy == LocalCloudMigrationPolicy::LocalWinsReplaceMatches
        ? LocalCloudMigrationPlanner::cloudProjectsToReplaceForLocalWins(cloudProjects, locals)
        : QList<Project>();
    QSet<QString> keptIds;
    for (const Placement &placement : kept)
        keptIds.insert(placement.id);
    QSet<QString> replaced;
    for (const Placement &placement : kept) {
        // Only once the account holds the upload, so that a failed one leaves the account copy in
        // place; never a project this run placed, which an earlier run may have listed.
        const QString key = LocalCloudMigrationPlanner::nameKey(placement.local.name);
        for (const Project &cloud : matches) {
            if (!migration.remote || replaced.contains(cloud.id) || keptIds.contains(cloud.id)
                || LocalCloudMigrationPlanner::nameKey(cloud.name) != key)
                continue;
            auto removal = migration.remote->remove(cloud.id);
            if (co_await std::move(removal))
                replaced.insert(cloud.id);
            else if (migration.remote)
                result.lastFailure = migration.remote->errorMessage();
        }
        // The device copy goes last: a run cut short before the replacements does them again.
        localRepo.remove(placement.local.id);
    }
    if (policy == LocalCloudMigrationPolicy::MergeDedupeByName) {
        // The account already has a project of that name: the device copy is dropped on purpose.
        const QSet<QString> uploadIds = idsOf(toUpload);
        for (const Project &local : locals) {
            if (!uploadIds.contains(local.id))
                localRepo.remove(local.id);
        }
    }
    // In the order they were offered.
    QHash<QString, qsizetype> offeredAt;
    for (qsizetype i = 0; i < locals.size(); ++i)
        offeredAt.insert(locals.at(i).id, i);
    std::stable_sort(result.notMoved.begin(), result.notMoved.end(), [&offeredAt](const Project &a, const Project &b) {
        return offeredAt.value(a.id) < offeredAt.value(b.id);
    });
    co_return result;
}
