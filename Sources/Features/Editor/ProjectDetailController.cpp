#include "ProjectDetailController.h"

#include "API/FollowProjectsService.h"

#include "Projects/ProjectRoot.h"

#include <algorithm>

ProjectDetailController::ProjectDetailController(QObject *parent)
    : QObject(parent)
{
}

void ProjectDetailController::setProjectsService(ProjectsService *service)
{
    if (!followProjectsService(this, m_projectsService, service, &ProjectDetailController::contentChanged, nullptr,
                               &ProjectDetailController::contentChanged))
        return;
    Q_EMIT projectsServiceChanged();
    Q_EMIT contentChanged();
}

void ProjectDetailController::setProjectId(const QString &id)
{
    if (m_projectId == id)
        return;
    m_projectId = id;
    Q_EMIT projectIdChanged();
    Q_EMIT contentChanged();
}

QVariant ProjectDetailController::loadedProjectValue() const
{
    return m_loadedProject ? QVariant::fromValue(*m_loadedProject) : QVariant();
}

QString ProjectDetailController::content() const
{
    const bool shown = m_loadedProject && m_loadedProject->id == m_projectId;
    if (m_isLoading && !shown)
        return QStringLiteral("loading");
    return shown ? QStringLiteral("editor") : QStringLiteral("notFound");
}

QString ProjectDetailController::notFoundText() const
{
    if (m_projectsService && m_projectsService->hasErrorMessage())
        return m_projectsService->errorMessageText();
    return QStringLiteral("Проект недоступен или удалён.");
}

bool ProjectDetailController::hasIterationsListed(const Project &root) const
{
    if (!m_projectsService)
        return false;
    const QList<Project> &projects = m_projectsService->projects();
    return std::any_of(projects.cbegin(), projects.cend(), [&root](const Project &project) {
        return project.isIteration() && project.parentProjectId == root.id;
    });
}

bool ProjectDetailController::canDelete() const
{
    return m_loadedProject && (m_loadedProject->isIteration() || !hasIterationsListed(*m_loadedProject));
}

QString ProjectDetailController::deleteDialogTitle() const
{
    if (!m_loadedProject)
        return QStringLiteral("Удалить?");
    if (m_loadedProject->isIteration())
        return QStringLiteral("Удалить итерацию «") + ProjectRoot::iterationLabel(*m_loadedProject)
            + QStringLiteral("»?");
    return QStringLiteral("Удалить проект «") + m_loadedProject->name + QStringLiteral("»?");
}

QString ProjectDetailController::deleteDialogMessage() const
{
    if (!m_loadedProject)
        return {};
    if (m_loadedProject->isIteration())
        return QStringLiteral("Будет удалена только эта итерация. Остальные версии проекта сохранятся.");
    if (hasIterationsListed(*m_loadedProject))
        return QStringLiteral("Сначала удалите итерации в списке проектов (ПКМ → «Удалить итерацию»).");
    if (m_projectsService && m_projectsService->isGuestMode())
        return QStringLiteral("Проект будет удалён с этого устройства. Действие необратимо.");
    return QStringLiteral("Проект будет удалён из облака. Действие необратимо.");
}

QString ProjectDetailController::deleteButtonText() const
{
    return m_loadedProject && m_loadedProject->isIteration() ? QStringLiteral("Удалить итерацию")
                                                             : QStringLiteral("Удалить проект");
}

void ProjectDetailController::setLoadedProject(std::optional<Project> project)
{
    if (m_loadedProject == project)
        return;
    m_loadedProject = std::move(project);
    Q_EMIT loadedProjectChanged();
    Q_EMIT contentChanged();
}

void ProjectDetailController::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged();
    Q_EMIT contentChanged();
}

void ProjectDetailController::setDeleting(bool deleting)
{
    if (m_isDeleting == deleting)
        return;
    m_isDeleting = deleting;
    Q_EMIT isDeletingChanged();
}

void ProjectDetailController::emitQueued(std::function<void()> handOver)
{
    QMetaObject::invokeMethod(this, std::move(handOver), Qt::QueuedConnection);
}

void ProjectDetailController::load()
{
    const quint64 generation = ++m_loadGeneration;
    const QString expectedId = m_projectId;
    setLoading(true);
    // A copy of another project is never shown under this identity.
    if (m_loadedProject && m_loadedProject->id != expectedId)
        setLoadedProject(std::nullopt);
    if (!m_projectsService) {
        setLoading(false);
        return;
    }
    // A guest's list holds projects without their lines: only the stored project is shown.
    const QList<Project> &listed = m_projectsService->projects();
    const auto found = std::find_if(listed.cbegin(), listed.cend(),
                                    [&expectedId](const Project &project) { return project.id == expectedId; });
    if (found != listed.cend() && !m_projectsService->isGuestMode())
        setLoadedProject(*found);
    runLoad(this, generation, expectedId);
}

QCoro::Task<std::optional<Project>> ProjectDetailController::fetch(ProjectsService &service, const QString &id,
                                                                   const QObject *owner)
{
    return service.fetchProject(id, owner);
}

QCoro::Task<bool> ProjectDetailController::remove(ProjectsService &service, const QString &id)
{
    return service.remove(id);
}

QCoro::Task<> ProjectDetailController::reload(ProjectsService &service)
{
    return service.load(true);
}

QCoro::Task<> ProjectDetailController::runLoad(QPointer<ProjectDetailController> self, quint64 generation,
                                               QString expectedId)
{
    auto pending = fetch(*self->m_projectsService, expectedId, self);
    std::optional<Project> fetched = co_await std::move(pending);
    if (!self || self->m_loadGeneration != generation)
        co_return;
    if (fetched) {
        self->setLoadedProject(std::move(fetched));
    } else if (!self->m_loadedProject || self->m_loadedProject->id != expectedId) {
        self->setLoadedProject(std::nullopt);
    }
    self->setLoading(false);
}

void ProjectDetailController::deleteProject()
{
    if (!m_loadedProject || !m_projectsService || m_isDeleting)
        return;
    setDeleting(true);
    runDelete(this, *m_loadedProject);
}

QCoro::Task<> ProjectDetailController::runDelete(QPointer<ProjectDetailController> self, Project project)
{
    QPointer<ProjectsService> service = self->m_projectsService;
    if (project.isRoot() && !service->isGuestMode()) {
        // The list may have been loaded without iterations: deleting a root takes its iterations
        // and their payments with it, so the root goes only when a fresh full list shows none.
        auto listing = reload(*service);
        co_await std::move(listing);
        if (!self || !service)
            co_return;
        if (service->hasErrorMessage() || self->hasIterationsListed(project)) {
            self->setDeleting(false);
            co_return;
        }
    }
    auto removal = remove(*service, project.id);
    const bool removed = co_await std::move(removal);
    if (!self || !service)
        co_return;
    if (!removed) {
        self->setDeleting(false);
        co_return;
    }
    auto refresh = reload(*service);
    co_await std::move(refresh);
    if (!self || !service)
        co_return;
    self->setDeleting(false);
    if (project.isRoot()) {
        self->emitQueued([self] {
            if (self)
                Q_EMIT self->deleted();
        });
        co_return;
    }
    QList<Project> siblings;
    for (const Project &candidate : service->projects())
        if (candidate.isIteration() && candidate.parentProjectId == project.parentProjectId)
            siblings.append(candidate);
    std::stable_sort(siblings.begin(), siblings.end(),
                     [](const Project &a, const Project &b) { return a.version.value_or(0) < b.version.value_or(0); });
    const QString next = siblings.isEmpty() ? project.parentProjectId.value_or(QString()) : siblings.last().id;
    self->emitQueued([self, next] {
        if (self)
            Q_EMIT self->projectIdChangeRequested(next);
    });
}

void ProjectDetailController::dismiss()
{
    emitQueued([self = QPointer<ProjectDetailController>(this)] {
        if (self)
            Q_EMIT self->projectIdChangeRequested(QString());
    });
}
