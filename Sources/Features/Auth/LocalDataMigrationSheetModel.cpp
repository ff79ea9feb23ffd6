#include "Features/Auth/LocalDataMigrationSheetModel.h"

#include "API/ProjectsService.h"
#include "Data/LocalCloudMigrationRunner.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"
#include "Data/StoreError.h"

LocalDataMigrationSheetModel::LocalDataMigrationSheetModel(QObject *parent)
    : QObject(parent)
{
}

void LocalDataMigrationSheetModel::setLocals(const QVariant &locals)
{
    m_locals = locals.value<QList<Project>>();
    Q_EMIT inputsChanged();
}

void LocalDataMigrationSheetModel::setCloudProjects(const QVariant &projects)
{
    m_cloudProjects = projects.value<QList<Project>>();
    Q_EMIT inputsChanged();
}

void LocalDataMigrationSheetModel::setProjectsService(ProjectsService *service)
{
    m_projectsService = service;
    Q_EMIT inputsChanged();
}

QVariantList LocalDataMigrationSheetModel::policies() const
{
    QVariantList list;
    for (LocalCloudMigrationPolicy policy : allLocalCloudMigrationPolicies)
        list.append(QVariantMap{{QStringLiteral("value"), rawValue(policy)}, {QStringLiteral("label"), displayName(policy)}});
    return list;
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
    if (m_isRunning || !m_projectsService)
        return;
    m_isRunning = true;
    m_errorText.clear();
    Q_EMIT stateChanged();
    run(this);
}

QCoro::Task<> LocalDataMigrationSheetModel::run(QPointer<LocalDataMigrationSheetModel> self)
{
    QPointer<ProjectsService> service = self->m_projectsService;
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
    if (!self)
        co_return;
    if (!result || !service) {
        self->m_errorText = failure;
        self->m_isRunning = false;
        Q_EMIT self->stateChanged();
        co_return;
    }
    auto reload = service->load(false);
    co_await std::move(reload);
    if (!self)
        co_return;
    if (!result->isComplete()) {
        // Nothing that failed to upload has left the device; the sheet stays to offer them again.
        self->m_locals = result->notMoved;
        self->m_errorText = result->message(locals.size());
        self->m_isRunning = false;
        Q_EMIT self->inputsChanged();
        Q_EMIT self->stateChanged();
        co_return;
    }
    Q_EMIT self->finished();
    self->m_isRunning = false;
    Q_EMIT self->stateChanged();
}
