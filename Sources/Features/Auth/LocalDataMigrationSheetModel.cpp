#include "Features/Auth/LocalDataMigrationSheetModel.h"

#include "API/ProjectsService.h"
#include "Data/LocalCloudMigrationRunner.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"

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
    LocalProjectRepository repository(PersistenceController::shared());
    QString failure;
    try {
        co_await LocalCloudMigrationRunner::run(self->m_policy, self->m_locals, self->m_cloudProjects, *service,
                                                repository);
    } catch (const std::exception &error) {
        failure = QString::fromUtf8(error.what());
    }
    if (!self)
        co_return;
    if (!failure.isEmpty() || !service) {
        self->m_errorText = failure;
        self->m_isRunning = false;
        Q_EMIT self->stateChanged();
        co_return;
    }
    co_await service->load(false);
    if (!self)
        co_return;
    Q_EMIT self->finished();
    self->m_isRunning = false;
    Q_EMIT self->stateChanged();
}
