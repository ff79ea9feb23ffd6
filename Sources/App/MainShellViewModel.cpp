#include "App/MainShellViewModel.h"

#include "API/ProjectsService.h"
#include "Auth/AuthService.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Features/Onboarding/OnboardingDemoProject.h"
#include "Settings/Preferences.h"
#include "Utils/ProjectRoot.h"

#include <QCoroTask>

namespace {

int intPreference(const char *key)
{
    return Preferences::shared().value(QLatin1String(key), 0).toInt();
}

MainShellViewModel::ProjectsServiceFactory &projectsServiceFactory()
{
    static MainShellViewModel::ProjectsServiceFactory factory;
    return factory;
}

std::optional<QString> textPreference(const char *key)
{
    const QVariant value = Preferences::shared().value(QLatin1String(key));
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toString();
}

}

void MainShellViewModel::setProjectsServiceFactory(ProjectsServiceFactory factory)
{
    projectsServiceFactory() = std::move(factory);
}

MainShellViewModel::MainShellViewModel(QObject *parent)
    : QObject(parent)
{
    m_completedVersion = intPreference(GuidedOnboarding::completedVersionKey);
    m_replayNonce = intPreference(GuidedOnboarding::replayRequestNonceKey);
    connect(&Preferences::shared(), &Preferences::valueChanged, this, &MainShellViewModel::onPreferenceChanged);
    updateHighlight();
}

MainShellViewModel::~MainShellViewModel() = default;

void MainShellViewModel::componentComplete()
{
    start();
}

void MainShellViewModel::setAuth(AuthService *auth)
{
    if (m_auth == auth)
        return;
    m_auth = auth;
    Q_EMIT authChanged();
}

void MainShellViewModel::setGuest(bool isGuest)
{
    // Fixed once the service exists: a change of mode is a new shell.
    if (m_isGuest == isGuest || m_projectsService)
        return;
    m_isGuest = isGuest;
    Q_EMIT isGuestChanged();
}

ProjectsService *MainShellViewModel::projectsService()
{
    if (!m_projectsService) {
        ProjectsService *service =
            projectsServiceFactory() ? projectsServiceFactory()(m_isGuest) : new ProjectsService(m_isGuest);
        m_projectsService = std::shared_ptr<ProjectsService>(service, [](ProjectsService *s) { s->deleteLater(); });
        connect(m_projectsService.get(), &ProjectsService::projectsChanged, this,
                &MainShellViewModel::financeProjectChanged);
        Q_EMIT projectsServiceChanged();
    }
    return m_projectsService.get();
}

void MainShellViewModel::setWidth(qreal width)
{
    if (qFuzzyCompare(m_width, width))
        return;
    m_width = width;
    Q_EMIT widthChanged();
}

void MainShellViewModel::setCompact(bool compact)
{
    if (m_isCompact == compact)
        return;
    m_isCompact = compact;
    Q_EMIT isCompactChanged();
}

void MainShellViewModel::setMainSection(const QString &raw)
{
    if (const std::optional<AppSection> section = appSectionFromRaw(raw))
        setSection(*section);
}

void MainShellViewModel::setSection(AppSection section)
{
    if (m_mainSection == section)
        return;
    m_mainSection = section;
    Q_EMIT mainSectionChanged();
}

void MainShellViewModel::setSelectedProjectId(const QString &id)
{
    const std::optional<QString> value = id.isEmpty() ? std::nullopt : std::optional<QString>(id);
    if (m_selectedProjectId == value)
        return;
    m_selectedProjectId = value;
    Q_EMIT selectedProjectIdChanged();
}

void MainShellViewModel::setSelectedFinanceProjectId(const QString &id)
{
    const std::optional<QString> value = id.isEmpty() ? std::nullopt : std::optional<QString>(id);
    if (m_selectedFinanceProjectId == value)
        return;
    m_selectedFinanceProjectId = value;
    Q_EMIT selectedFinanceProjectIdChanged();
    Q_EMIT financeProjectChanged();
}

void MainShellViewModel::setSelectedAnalyticsRow(const QVariant &row)
{
    if (m_selectedAnalyticsRow == row)
        return;
    m_selectedAnalyticsRow = row;
    Q_EMIT selectedAnalyticsRowChanged();
}

std::optional<Project> MainShellViewModel::financeProject() const
{
    if (!m_selectedFinanceProjectId || !m_projectsService)
        return std::nullopt;
    for (const Project &project : m_projectsService->projects()) {
        if (project.id == *m_selectedFinanceProjectId)
            return project;
    }
    return std::nullopt;
}

QString MainShellViewModel::financeProjectId() const
{
    const std::optional<Project> project = financeProject();
    return project ? project->id : QString();
}

QString MainShellViewModel::financeProjectName() const
{
    const std::optional<Project> project = financeProject();
    return project ? financeDisplayName(*project) : QString();
}

QString MainShellViewModel::financeProjectCurrency() const
{
    const std::optional<Project> project = financeProject();
    return project ? project->currency : QString();
}

QString MainShellViewModel::financeDisplayName(const Project &project)
{
    if (project.parentProjectId && *project.parentProjectId != project.id)
        return ProjectRoot::iterationLabel(project) + QStringLiteral(" · ") + project.name;
    return project.name;
}

qreal MainShellViewModel::placeholderMaxWidth() const
{
    if (m_width < 520)
        return -1;
    return m_width < 900 ? 520 : 640;
}

void MainShellViewModel::openPayments(const QString &projectId)
{
    setSelectedFinanceProjectId(projectId);
    setSection(AppSection::Payments);
}

void MainShellViewModel::openPaymentsFromAnalyticsDetail()
{
    const QVariantMap row = m_selectedAnalyticsRow.toMap();
    if (row.isEmpty())
        return;
    openPayments(row.value(QStringLiteral("id")).toString());
}

void MainShellViewModel::projectDeleted()
{
    setSelectedProjectId({});
}

void MainShellViewModel::projectIdChangedByDetail(const QString &projectId)
{
    setSelectedProjectId(projectId);
}

int MainShellViewModel::mainOnboardingCompletedVersion() const
{
    return m_completedVersion;
}

int MainShellViewModel::onboardingReplayRequestNonce() const
{
    return m_replayNonce;
}

bool MainShellViewModel::tourRunning() const
{
    return GuidedOnboarding::isRunning(m_completedVersion);
}

QString MainShellViewModel::tourTaskKey() const
{
    return QStringLiteral("%1-%2-%3")
        .arg(tourRunning() ? QStringLiteral("true") : QStringLiteral("false"))
        .arg(m_completedVersion)
        .arg(m_replayNonce);
}

void MainShellViewModel::setMainOnboardingStep(int step)
{
    if (m_mainOnboardingStep == step)
        return;
    m_mainOnboardingStep = step;
    Q_EMIT mainOnboardingStepChanged();
    updateHighlight();
    applyGuidedNavigation(step);
}

QVariant MainShellViewModel::onboardingDemoProjectIdValue() const
{
    return m_onboardingDemoProjectId ? QVariant(*m_onboardingDemoProjectId) : QVariant();
}

void MainShellViewModel::setDemoProjectId(const std::optional<QString> &id)
{
    if (m_onboardingDemoProjectId == id)
        return;
    m_onboardingDemoProjectId = id;
    Q_EMIT onboardingDemoProjectIdChanged();
    updateHighlight();
    if (tourRunning())
        applyGuidedNavigation(m_mainOnboardingStep);
}

QString MainShellViewModel::currentHighlight() const
{
    return m_currentHighlight;
}

void MainShellViewModel::updateHighlight()
{
    QString key;
    if (tourRunning()) {
        if (const auto target = GuidedOnboarding::highlight(m_mainOnboardingStep, m_onboardingDemoProjectId))
            key = target->key();
    }
    if (key == m_currentHighlight)
        return;
    m_currentHighlight = key;
    Q_EMIT currentHighlightChanged();
    Q_EMIT activeHighlightRectChanged();
}

void MainShellViewModel::setHighlightFrames(const QVariantMap &frames)
{
    if (m_highlightFrames == frames)
        return;
    m_highlightFrames = frames;
    Q_EMIT highlightFramesChanged();
    Q_EMIT activeHighlightRectChanged();
}

std::optional<QRectF> MainShellViewModel::activeHighlightRect() const
{
    if (m_currentHighlight.isEmpty())
        return std::nullopt;
    const auto it = m_highlightFrames.constFind(m_currentHighlight);
    if (it == m_highlightFrames.constEnd())
        return std::nullopt;
    return it->toRectF();
}

QVariant MainShellViewModel::activeHighlightRectValue() const
{
    const std::optional<QRectF> rect = activeHighlightRect();
    return rect ? QVariant(*rect) : QVariant();
}

void MainShellViewModel::applyGuidedNavigation(int step)
{
    const QList<GuidedOnboardingStepModel> &steps = GuidedOnboarding::steps();
    if (step < 0 || step >= steps.size())
        return;
    const GuidedOnboardingStepModel &model = steps.at(step);
    setSection(model.section);
    if (!m_onboardingDemoProjectId)
        setDemoProjectId(textPreference(GuidedOnboarding::demoProjectIdKey));
    if (model.opensDemoProjectEditor) {
        if (m_onboardingDemoProjectId)
            setSelectedProjectId(*m_onboardingDemoProjectId);
    } else {
        setSelectedProjectId({});
    }
}

void MainShellViewModel::onPreferenceChanged(const QString &key)
{
    if (key == QLatin1String(GuidedOnboarding::completedVersionKey)) {
        const int version = intPreference(GuidedOnboarding::completedVersionKey);
        if (version == m_completedVersion)
            return;
        m_completedVersion = version;
        Q_EMIT tourPreferencesChanged();
        updateHighlight();
        restartTourTaskIfKeyChanged();
    } else if (key == QLatin1String(GuidedOnboarding::replayRequestNonceKey)) {
        const int nonce = intPreference(GuidedOnboarding::replayRequestNonceKey);
        if (nonce == m_replayNonce)
            return;
        m_replayNonce = nonce;
        Q_EMIT tourPreferencesChanged();
        setMainOnboardingStep(0);
        applyGuidedNavigation(0);
        restartTourTaskIfKeyChanged();
    }
}

void MainShellViewModel::start()
{
    if (m_started)
        return;
    m_started = true;
    projectsService();
    runMigrationProbeIfNeeded();
    startTourTask();
}

void MainShellViewModel::restartTourTaskIfKeyChanged()
{
    if (m_started && tourTaskKey() != m_tourTaskKey)
        startTourTask();
}

void MainShellViewModel::startTourTask()
{
    m_tourTaskKey = tourTaskKey();
    ++m_tourTaskGeneration;
    if (!tourRunning()) {
        Q_EMIT tourTaskFinished();
        return;
    }
    tourStartTask(this, m_projectsService, m_tourTaskGeneration);
}

// The service is kept alive by the task until it ends, even when the shell that made it is gone;
// the result is applied only while the shell exists and the task has not been replaced.
QCoro::Task<> MainShellViewModel::tourStartTask(QPointer<MainShellViewModel> shell,
                                                std::shared_ptr<ProjectsService> service, quint64 generation)
{
    auto ready = OnboardingDemoProject::ensureReady(*service);
    co_await std::move(ready);
    if (!shell || shell->m_tourTaskGeneration != generation)
        co_return;
    shell->setDemoProjectId(textPreference(GuidedOnboarding::demoProjectIdKey));
    shell->applyGuidedNavigation(shell->m_mainOnboardingStep);
    Q_EMIT shell->tourTaskFinished();
}

void MainShellViewModel::runMigrationProbeIfNeeded()
{
    if (m_isGuest || m_migrationDismissedThisSession) {
        Q_EMIT migrationProbeFinished();
        return;
    }
    migrationProbeTask(this, m_projectsService);
}

QCoro::Task<> MainShellViewModel::migrationProbeTask(QPointer<MainShellViewModel> shell,
                                                     std::shared_ptr<ProjectsService> service)
{
    auto loading = service->load(false);
    co_await std::move(loading);
    if (!shell)
        co_return;
    QList<Project> locals;
    try {
        const std::shared_ptr<ModelContainer> container = PersistenceController::shared();
        if (container->count() <= 0) {
            Q_EMIT shell->migrationProbeFinished();
            co_return;
        }
        locals = LocalProjectRepository(container).fetchAllSorted();
    } catch (...) {
        // A store that cannot be counted or read offers nothing.
        Q_EMIT shell->migrationProbeFinished();
        co_return;
    }
    // Records that no longer decode still count, but there is nothing in them to move.
    if (locals.isEmpty()) {
        Q_EMIT shell->migrationProbeFinished();
        co_return;
    }
    shell->m_pendingLocals = locals;
    shell->m_migrationCloudProjects = service->projects();
    shell->m_showMigration = true;
    Q_EMIT shell->showMigrationChanged();
    Q_EMIT shell->migrationProbeFinished();
}

QVariant MainShellViewModel::pendingLocalsValue() const
{
    return QVariant::fromValue(m_pendingLocals);
}

QVariant MainShellViewModel::cloudProjectsValue() const
{
    return QVariant::fromValue(m_migrationCloudProjects);
}

void MainShellViewModel::migrationSkipped()
{
    if (m_migrationDismissedThisSession)
        return;
    m_migrationDismissedThisSession = true;
    Q_EMIT migrationDismissedChanged();
}

void MainShellViewModel::migrationClosed()
{
    if (!m_showMigration)
        return;
    m_showMigration = false;
    Q_EMIT showMigrationChanged();
}

void MainShellViewModel::migrationFinished()
{
    if (m_projectsService)
        m_projectsService->load(false);
}
