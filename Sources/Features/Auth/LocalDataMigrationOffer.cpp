#include "Features/Auth/LocalDataMigrationOffer.h"

#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"

LocalDataMigrationOffer::LocalDataMigrationOffer(QObject *parent)
    : QObject(parent)
{
}

void LocalDataMigrationOffer::probe(bool isGuest, std::shared_ptr<ProjectsService> service)
{
    if (isGuest || m_dismissedThisSession || !service) {
        Q_EMIT probeFinished();
        return;
    }
    m_service = service;
    probeTask(this, std::move(service));
}

// The account's projects are only read here, never published: a section may have loaded the
// list with iterations meanwhile, and this answer must not replace it.
QCoro::Task<> LocalDataMigrationOffer::probeTask(QPointer<LocalDataMigrationOffer> self,
                                                 std::shared_ptr<ProjectsService> service)
{
    auto fetching = service->fetchAll(false, self);
    const std::optional<QList<Project>> cloud = co_await std::move(fetching);
    if (!self)
        co_return;
    QList<Project> locals;
    try {
        const std::shared_ptr<ModelContainer> container = PersistenceController::shared();
        if (container->count() <= 0) {
            Q_EMIT self->probeFinished();
            co_return;
        }
        locals = LocalProjectRepository(container).fetchAllSorted();
    } catch (...) {
        // A store that cannot be counted or read offers nothing.
        Q_EMIT self->probeFinished();
        co_return;
    }
    // Records that no longer decode still count, but there is nothing in them to move.
    if (locals.isEmpty()) {
        Q_EMIT self->probeFinished();
        co_return;
    }
    self->m_pendingLocals = locals;
    self->m_cloudProjects = cloud ? *cloud : service->rootProjects();
    self->m_shown = true;
    Q_EMIT self->offerChanged();
    Q_EMIT self->shownChanged();
    Q_EMIT self->probeFinished();
}

void LocalDataMigrationOffer::skip()
{
    if (m_dismissedThisSession)
        return;
    m_dismissedThisSession = true;
    Q_EMIT dismissedChanged();
}

void LocalDataMigrationOffer::close()
{
    if (!m_shown)
        return;
    m_shown = false;
    Q_EMIT shownChanged();
}

void LocalDataMigrationOffer::setMigrating(bool migrating)
{
    if (m_isMigrating == migrating)
        return;
    m_isMigrating = migrating;
    Q_EMIT isMigratingChanged();
    if (!migrating)
        Q_EMIT migrationEnded();
}

QCoro::Task<> LocalDataMigrationOffer::finish()
{
    std::shared_ptr<ProjectsService> service = m_service;
    if (!service)
        co_return;
    auto reload = service->load(true);
    co_await std::move(reload);
}
