#include "App/MainShellViewModel.h"

#include "API/ProjectsService.h"
#include "Auth/AuthService.h"
#include "Projects/ProjectRoot.h"
#include "Utils/Text.h"

namespace {

MainShellViewModel::ProjectsServiceFactory &projectsServiceFactory()
{
    static MainShellViewModel::ProjectsServiceFactory factory;
    return factory;
}

std::optional<QString> nonEmpty(const QString &id)
{
    return id.isEmpty() ? std::nullopt : std::optional<QString>(id);
}

} // namespace

void MainShellViewModel::setProjectsServiceFactory(ProjectsServiceFactory factory)
{
    projectsServiceFactory() = std::move(factory);
}

MainShellViewModel::MainShellViewModel(QObject *parent)
    : QObject(parent)
    , m_tour(new MainOnboardingController(this))
    , m_migration(new LocalDataMigrationOffer(this))
    , m_unsavedEdits(new UnsavedEditsGuard(this))
{
    connect(m_tour, &MainOnboardingController::sectionRequested, this, &MainShellViewModel::setSection);
    connect(m_tour, &MainOnboardingController::selectionRequested, this, &MainShellViewModel::selectProject);
    // Closed while device projects move into the account, the window waits for the move: an upload
    // cut short would leave the device a copy of a project the account got.
    m_unsavedEdits->setCloseAwaits(m_migration, &LocalDataMigrationOffer::isMigrating,
                                   &LocalDataMigrationOffer::migrationEnded);
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
    if (m_auth)
        m_auth->disconnect(this);
    m_auth = auth;
    if (auth) {
        m_accountId = auth->hasUser() ? auth->userValue().id : QString();
        m_hadUser = auth->hasUser();
        connect(auth, &AuthService::userChanged, this, &MainShellViewModel::onUserChanged);
    }
    Q_EMIT authChanged();
}

// The account's window outlived its ended session and the same account is back: what failed
// meanwhile is read again, and the editor no longer says the session ended. Another account's
// projects never come into this window.
void MainShellViewModel::onUserChanged()
{
    const bool hasUser = m_auth && m_auth->hasUser();
    const bool returned = hasUser && !m_hadUser;
    m_hadUser = hasUser;
    if (!returned)
        return;
    if (m_accountId.isEmpty()) {
        m_accountId = m_auth->userValue().id;
    } else if (m_auth->userValue().id == m_accountId && !m_isGuest) {
        if (m_projectsService)
            m_projectsService->load(true);
        if (ProjectEditorViewModel *editor = m_unsavedEdits->editor())
            editor->sessionReturned();
    }
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

void MainShellViewModel::setMainSection(const QString &raw)
{
    const std::optional<AppSection> section = appSectionFromRaw(raw);
    if (!section || *section == m_mainSection)
        return;
    m_unsavedEdits->request([this, to = *section] { setSection(to); });
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
    if (nonEmpty(id) == m_selectedProjectId)
        return;
    if (m_unsavedEdits->request([this, id] { selectProject(id); }))
        return;
    // The list already shows the new choice: after its own change has ended, it is told again
    // which project is on screen.
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT selectedProjectIdChanged(); }, Qt::QueuedConnection);
}

void MainShellViewModel::selectProject(const QString &id)
{
    const std::optional<QString> value = nonEmpty(id);
    if (m_selectedProjectId == value)
        return;
    m_selectedProjectId = value;
    Q_EMIT selectedProjectIdChanged();
}

void MainShellViewModel::setSelectedFinanceProjectId(const QString &id)
{
    const std::optional<QString> value = nonEmpty(id);
    if (m_selectedFinanceProjectId == value)
        return;
    m_selectedFinanceProjectId = value;
    Q_EMIT selectedFinanceProjectIdChanged();
    Q_EMIT financeProjectChanged();
}

void MainShellViewModel::setSelectedAnalyticsRow(const AnalyticsProjectRow &row)
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
    // A header line: a name of megabytes is cut before any screen lays it out.
    if (project.parentProjectId && *project.parentProjectId != project.id)
        return Text::boundedMessage(ProjectRoot::iterationLabel(project) + QStringLiteral(" · ")
                                    + Text::boundedMessage(project.name));
    return Text::boundedMessage(project.name);
}

void MainShellViewModel::openPayments(const QString &projectId)
{
    m_unsavedEdits->request([this, projectId] {
        setSelectedFinanceProjectId(projectId);
        setSection(AppSection::Payments);
    });
}

void MainShellViewModel::selectAnalyticsProject(const QString &projectId)
{
    if (m_projectsService) {
        for (const Project &project : m_projectsService->projects()) {
            if (project.id == projectId) {
                setSelectedAnalyticsRow(AnalyticsProjectRow::fromProject(project));
                return;
            }
        }
    }
    setSelectedAnalyticsRow({});
}

void MainShellViewModel::openPaymentsFromAnalyticsDetail()
{
    if (!m_selectedAnalyticsRow.isValid())
        return;
    openPayments(m_selectedAnalyticsRow.id);
}

void MainShellViewModel::projectDeleted()
{
    selectProject({});
}

void MainShellViewModel::projectIdChangedByDetail(const QString &projectId)
{
    selectProject(projectId);
}

void MainShellViewModel::start()
{
    if (m_started)
        return;
    m_started = true;
    projectsService();
    m_migration->probe(m_isGuest, m_projectsService);
    m_tour->start(m_projectsService);
}
