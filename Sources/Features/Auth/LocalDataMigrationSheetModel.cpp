#include "Features/Auth/LocalDataMigrationSheetModel.h"

#include "API/ProjectsService.h"
#include "API/LocalCloudMigrationRunner.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"
#include "Data/StoreError.h"

LocalDataMigrationSheetModel::LocalDataMigrationSheetModel(QObject *parent)
    : QObject(parent)
    , m_policies(new LocalDataMigrationPolicyModel(this))
{
}

void LocalDataMigrationSheetModel::setOffer(LocalDataMigrationOffer *offer)
{
    if (m_offer == offer)
        return;
    disconnect(m_offerLink);
    m_offer = offer;
    if (offer)
        m_offerLink =
            connect(offer, &LocalDataMigrationOffer::offerChanged, this, &LocalDataMigrationSheetModel::takeInputs);
    takeInputs();
}

void LocalDataMigrationSheetModel::takeInputs()
{
    m_locals = m_offer ? m_offer->pendingLocals() : QList<Project>();
    m_cloudProjects = m_offer ? m_offer->cloudProjects() : QList<Project>();
    Q_EMIT inputsChanged();
}

QString LocalDataMigrationSheetModel::countsText() const
{
    return QStringLiteral(
               "На устройстве найдено локальных проектов: %1. В облаке сейчас: %2. Выберите, как объединить данные.")
        .arg(localCount())
        .arg(cloudCount());
}

QString LocalDataMigrationSheetModel::policy() const
{
    return rawValue(m_policy);
}

void LocalDataMigrationSheetModel::setPolicy(const QString &raw)
{
    const std::optional<LocalCloudMigrationPolicy> policy = localCloudMigrationPolicyFromRaw(raw);
    if (!policy || *policy == m_policy)
        return;
    m_policy = *policy;
    Q_EMIT policyChanged();
}

QString LocalDataMigrationSheetModel::explanation() const
{
    return ::explanation(m_policy);
}

void LocalDataMigrationSheetModel::apply()
{
    if (m_isRunning || !m_offer || !m_offer->projectsService())
        return;
    m_isRunning = true;
    m_errorText.clear();
    Q_EMIT stateChanged();
    m_offer->setMigrating(true);
    run(this);
}

QCoro::Task<> LocalDataMigrationSheetModel::run(QPointer<LocalDataMigrationSheetModel> self)
{
    QPointer<LocalDataMigrationOffer> offer = self->m_offer;
    QPointer<ProjectsService> service = offer->projectsService();
    const QList<Project> locals = self->m_locals;
    QString failure;
    std::optional<LocalCloudMigrationResult> result;
    try {
        auto migration = LocalCloudMigrationRunner::run(self->m_policy, locals, self->m_cloudProjects, *service,
                                                        LocalProjectRepository(PersistenceController::shared()));
        result = co_await std::move(migration);
    } catch (const StoreError &error) {
        failure = error.description();
    }
    // The uploads and the device store's changes are over: a window waiting to close may go.
    if (offer)
        offer->setMigrating(false);
    if (!self)
        co_return;
    if (!result || !service || !offer) {
        self->m_errorText = failure;
        self->m_isRunning = false;
        Q_EMIT self->stateChanged();
        co_return;
    }
    if (!result->isComplete()) {
        auto reload = offer->finish();
        co_await std::move(reload);
        if (!self)
            co_return;
        // Nothing that failed to upload has left the device; the sheet stays to offer them again.
        self->m_locals = result->notMoved;
        self->m_errorText = result->message(locals.size());
        self->m_isRunning = false;
        Q_EMIT self->inputsChanged();
        Q_EMIT self->stateChanged();
        co_return;
    }
    // The sheet closes on finished(): only once the window's list holds the moved projects.
    auto finishing = offer->finish();
    co_await std::move(finishing);
    if (!self)
        co_return;
    Q_EMIT self->finished();
    self->m_isRunning = false;
    Q_EMIT self->stateChanged();
}
