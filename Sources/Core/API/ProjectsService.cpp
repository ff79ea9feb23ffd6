#include "ProjectsService.h"

#include "API/APIClient.h"
#include "API/Endpoints.h"
#include "API/OffThread.h"
#include "Data/EstimateCatalogLoader.h"
#include "Data/PersistenceController.h"
#include "Data/StoreMessages.h"
#include "API/ErrorDescription.h"
#include "Models/CreateProjectRequest.h"
#include "Projects/GuestProjectFactory.h"
#include "Utils/Text.h"

#include <QPointer>
#include <QPromise>
#include <QSet>
#include <QThreadPool>
#include <QCoro/QCoroFuture>
#include <algorithm>
#include <functional>
#include <variant>

namespace {

const QString get = QStringLiteral("GET");
const QString post = QStringLiteral("POST");
const QString patch = QStringLiteral("PATCH");
const QString deleteMethod = QStringLiteral("DELETE");
const QString foreignSaveAnswer =
    QStringLiteral("Сервер вернул другой проект. Изменения не потеряны: сохраните ещё раз.");
const QString unconfirmedCreation = QStringLiteral(
    "Сервер не подтвердил, что проект создан. Проверьте список проектов, прежде чем создавать его снова.");
const QString unconfirmedIteration = QStringLiteral(
    "Сервер не подтвердил, что итерация создана. Проверьте список итераций, прежде чем создавать её снова.");

// The device list or the store's failure text.
using DeviceListing = std::variant<LocalProjectListing, QString>;

DeviceListing readListing(const std::function<std::shared_ptr<ModelContainer>()> &store)
{
    try {
        return LocalProjectRepository(store()).fetchListing();
    } catch (const std::exception &error) {
        return errorDescription(error);
    }
}

// A store on disk is read on a worker thread through a connection of its own, so that the window
// never waits for the list; an in-memory store has no second connection and is read in place.
QCoro::Task<DeviceListing> readListingOffThread(std::shared_ptr<ModelContainer> store, QThreadPool *pool)
{
    if (store->isStoredInMemoryOnly())
        co_return readListing([&store] { return store; });
    auto promise = std::make_shared<QPromise<DeviceListing>>();
    QFuture<DeviceListing> future = promise->future();
    promise->start();
    pool->start([promise, filePath = store->filePath()] {
        promise->addResult(readListing([&filePath] { return ModelContainer::openReader(filePath); }));
        promise->finish();
    });
    co_return co_await future;
}

// What a guest's update did: the project as stored, or the store's failure text; nothing when the
// project is not in the store.
using DeviceUpdate = std::variant<std::monostate, Project, QString>;

DeviceUpdate updateStored(const std::function<std::shared_ptr<ModelContainer>()> &store, const QString &id,
                          const UpdateProjectRequest &request)
{
    try {
        const LocalProjectRepository repository(store());
        const std::optional<Project> stored = repository.fetch(id);
        if (!stored)
            return std::monostate();
        Project updated = stored->withGuestPersistedFields(request);
        // Removed while the update waited: it stays removed.
        if (!repository.replace(updated))
            return std::monostate();
        return updated;
    } catch (const std::exception &error) {
        return errorDescription(error);
    }
}

// A list answer that names one identity more than once: the first copy stays, in its place, so
// that every row stands for one project and the list reads as replaceListed() sees it.
QList<Project> distinctById(QList<Project> projects)
{
    QSet<QString> seen;
    seen.reserve(projects.size());
    projects.removeIf([&seen](const Project &project) {
        if (seen.contains(project.id))
            return true;
        seen.insert(project.id);
        return false;
    });
    return projects;
}

} // namespace

ProjectsService::ProjectsService(bool isGuestMode, std::shared_ptr<ModelContainer> modelContainer, APIClient *api,
                                 QObject *parent)
    : ServiceBase(api, parent)
    , m_isGuestMode(isGuestMode)
{
    if (m_isGuestMode)
        m_localRepository.emplace(modelContainer ? std::move(modelContainer) : PersistenceController::shared());
    m_deviceWriter.setMaxThreadCount(1);
}

QList<Project> ProjectsService::rootProjects() const
{
    QList<Project> roots;
    for (const Project &project : m_projects) {
        if (project.isRoot())
            roots.append(project);
    }
    return roots;
}

void ProjectsService::setProjects(QList<Project> projects)
{
    m_projects = std::move(projects);
    Q_EMIT projectsChanged();
}

void ProjectsService::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged();
}

bool ProjectsService::replaceListed(const Project &project)
{
    ++m_listWrites;
    for (Project &listed : m_projects) {
        if (listed.id == project.id) {
            listed = project;
            Q_EMIT projectsChanged();
            return true;
        }
    }
    return false;
}

void ProjectsService::insertFirst(const Project &project)
{
    ++m_listWrites;
    m_projects.prepend(project);
    Q_EMIT projectsChanged();
}

QCoro::Task<void> ProjectsService::load(bool includeIterations)
{
    setLoading(true);
    m_loadsIterations = includeIterations;
    if (usesDevice()) {
        auto loading = loadDevice(this, ++m_deviceLoads);
        co_await std::move(loading);
        co_return;
    }
    clearError();

    const QPointer<ProjectsService> self(this);
    const QString path = includeIterations ? Endpoints::projectsFull() : Endpoints::projects();
    std::optional<QList<Project>> projects;
    // A project created, changed or deleted here while the list was read may be missing from
    // it, or still in it: read again.
    quint64 writes = 0;
    do {
        writes = self->m_listWrites;
        auto pending = send<QList<Project>>(get, path, std::nullopt, true, readOwner(nullptr));
        projects = co_await std::move(pending);
        if (!self)
            co_return;
    } while (projects && writes != self->m_listWrites);
    if (projects)
        setProjects(distinctById(std::move(*projects)));
    // A plain flag: the first load to finish clears it, even while another still runs.
    setLoading(false);
}

QCoro::Task<void> ProjectsService::loadDevice(QPointer<ProjectsService> self, quint64 load)
{
    DeviceListing listing;
    // A write made while the list was read may be missing from it: read again.
    quint64 writes = 0;
    do {
        writes = self->m_deviceWrites;
        auto reading = readListingOffThread(self->m_localRepository->context(), &self->workPool());
        listing = co_await std::move(reading);
        if (!self)
            co_return;
    } while (writes != self->m_deviceWrites);
    // A later load publishes instead.
    if (load != self->m_deviceLoads)
        co_return;
    if (const auto *failure = std::get_if<QString>(&listing)) {
        self->setErrorMessage(*failure);
    } else {
        const auto &read = std::get<LocalProjectListing>(listing);
        // The same list again changes nothing on screen.
        if (read.projects != self->m_projects)
            self->setProjects(read.projects);
        // The readable projects stay reachable; the unreadable record is named, not hidden.
        if (read.unreadableIds.isEmpty()) {
            self->clearError();
        } else {
            qWarning("device projects not read: %s", qPrintable(read.firstFailure));
            self->setErrorMessage(StoreMessages::unreadableProjects(read.unreadableIds.size()));
        }
    }
    self->setLoading(false);
}

QCoro::Task<std::optional<QList<Project>>> ProjectsService::fetchAll(bool includeIterations, const QObject *owner)
{
    if (usesDevice()) {
        auto waiting = deviceWritesDone(this);
        if (!co_await std::move(waiting))
            co_return std::nullopt;
        try {
            std::optional<QList<Project>> projects = m_localRepository->fetchListing().projects;
            co_return projects;
        } catch (const std::exception &error) {
            report(error);
            co_return std::nullopt;
        }
    }
    const QString path = includeIterations ? Endpoints::projectsFull() : Endpoints::projects();
    auto pending = send<QList<Project>>(get, path, std::nullopt, true, readOwner(owner));
    std::optional<QList<Project>> projects = co_await std::move(pending);
    if (projects)
        projects = distinctById(std::move(*projects));
    co_return projects;
}

QCoro::Task<ProjectCreation> ProjectsService::create(QString name, std::optional<QString> clientName, QString currency,
                                                     QString sphereId, std::optional<EstimateTemplate> estimateTemplate)
{
    clearError();
    if (usesDevice()) {
        try {
            const Project project =
                GuestProjectFactory::makeNew(name, clientName, currency, ProjectStatus::Draft, estimateTemplate,
                                             EstimateCatalogLoader::normalizeCategory);
            ++m_deviceWrites;
            m_localRepository->upsert(project);
            insertFirst(project);
            co_return ProjectCreation{project};
        } catch (const std::exception &error) {
            report(error);
            co_return {};
        }
    }

    CreateProjectRequest request;
    request.name = name;
    request.clientName = clientName;
    request.currency = currency;
    request.status = ProjectStatus::Draft;
    request.sphereId = sphereId;
    if (estimateTemplate) {
        request.defaultRate = estimateTemplate->defaultRate;
        request.templateId = estimateTemplate->id;
        QList<ProjectItem> items;
        for (const EstimateTemplateItem &item : estimateTemplate->items)
            items.append(ProjectItem::fromTemplateItem(item, estimateTemplate->defaultRate,
                                                       EstimateCatalogLoader::normalizeCategory));
        request.items = items;
    }
    const std::optional<QJsonValue> body = encode(request);
    if (!body)
        co_return {};
    const QSet<QString> listed = listedIds();
    // The service may be gone when the answer comes.
    const QPointer<ProjectsService> self(this);
    auto pending = sendMaking<Project>(post, Endpoints::projects(), *body);
    Sent<Project> answer = co_await std::move(pending);
    auto taking = takeCreated(self, std::move(answer), listed, unconfirmedCreation);
    co_return co_await std::move(taking);
}

QCoro::Task<std::optional<Project>> ProjectsService::createFromLocalGuestProject(Project project)
{
    if (m_isGuestMode)
        co_return std::nullopt;
    clearError();
    CreateProjectRequest request;
    request.name = project.name;
    request.clientName = project.clientName;
    request.currency = project.currency;
    request.status = project.status;
    request.defaultRate = project.defaultRate;
    request.items = project.items;
    const std::optional<QJsonValue> body = encode(request);
    if (!body)
        co_return std::nullopt;
    auto pending = send<Project>(post, Endpoints::projects(), body);
    const std::optional<Project> created = co_await std::move(pending);
    if (created && !replaceListed(*created))
        insertFirst(*created);
    co_return created;
}

QCoro::Task<std::optional<Project>> ProjectsService::fetchProject(QString id, const QObject *owner)
{
    if (usesDevice()) {
        auto waiting = deviceWritesDone(this);
        if (!co_await std::move(waiting))
            co_return std::nullopt;
        try {
            co_return m_localRepository->fetch(id);
        } catch (const std::exception &error) {
            report(error);
            co_return std::nullopt;
        }
    }

    auto pending = send<Project>(get, Endpoints::project(id), std::nullopt, true, readOwner(owner));
    const std::optional<Project> fetched = co_await std::move(pending);
    // Only a project of the requested identity is refreshed in place; none is added, and an answer
    // about another project changes no row (the caller tells it from the one asked for).
    if (fetched && fetched->id == id) {
        const auto listed =
            std::find_if(m_projects.begin(), m_projects.end(), [&id](const Project &p) { return p.id == id; });
        if (listed != m_projects.end()) {
            *listed = *fetched;
            Q_EMIT projectsChanged();
        }
    }
    co_return fetched;
}

QCoro::Task<std::optional<Project>> ProjectsService::update(QString id, UpdateProjectRequest request)
{
    clearError();
    if (usesDevice()) {
        auto writing = updateDevice(this, std::move(id), std::move(request));
        co_return co_await std::move(writing);
    }

    auto pending = sendOffThread<Project>(patch, Endpoints::project(id), std::move(request));
    const std::optional<Project> updated = co_await std::move(pending);
    if (!updated)
        co_return std::nullopt;
    // Taken in, another project's answer would stand in for this one on screen, and the next
    // save would write it over this project.
    if (updated->id != id) {
        qWarning("the answer to a save of project %s is project %s", qPrintable(Text::boundedMessage(id)),
                 qPrintable(Text::boundedMessage(updated->id)));
        setErrorMessage(foreignSaveAnswer, true);
        co_return std::nullopt;
    }
    replaceListed(*updated);
    co_return updated;
}

QCoro::Task<std::optional<Project>> ProjectsService::updateDevice(QPointer<ProjectsService> self, QString id,
                                                                  UpdateProjectRequest request)
{
    const std::shared_ptr<ModelContainer> store = self->m_localRepository->context();
    DeviceUpdate written;
    ++self->m_deviceWrites;
    if (store->isStoredInMemoryOnly()) {
        // An in-memory store has no second connection: updated in place.
        written = updateStored([&store] { return store; }, id, request);
    } else {
        qint64 pageLimit = 0;
        try {
            pageLimit = store->pageLimit();
        } catch (const std::exception &error) {
            self->report(error, true);
            co_return std::nullopt;
        }
        QFuture<OffThread::Outcome<DeviceUpdate>> future = OffThread::start(
            [filePath = store->filePath(), pageLimit, id, request] {
                return updateStored([&] { return ModelContainer::openWriter(filePath, pageLimit); }, id, request);
            },
            &self->m_deviceWriter);
        self->m_lastDeviceWrite = QFuture<void>(future);
        auto writing = OffThread::result(std::move(future));
        written = co_await std::move(writing);
        if (!self)
            co_return std::nullopt;
        // A list read meanwhile may have missed it.
        ++self->m_deviceWrites;
    }
    if (const auto *failure = std::get_if<QString>(&written)) {
        self->setErrorMessage(*failure, true);
        co_return std::nullopt;
    }
    if (std::holds_alternative<std::monostate>(written)) {
        self->setErrorMessage(QStringLiteral("Проект не найден"), true);
        co_return std::nullopt;
    }
    Project updated = std::get<Project>(std::move(written));
    self->replaceListed(updated);
    co_return updated;
}

QCoro::Task<bool> ProjectsService::deviceWritesDone(QPointer<ProjectsService> self)
{
    QFuture<void> last = self->m_lastDeviceWrite;
    if (!last.isFinished())
        co_await last;
    co_return !self.isNull();
}

QCoro::Task<bool> ProjectsService::remove(QString id)
{
    clearError();
    if (usesDevice()) {
        auto waiting = deviceWritesDone(this);
        if (!co_await std::move(waiting))
            co_return false;
        try {
            ++m_deviceWrites;
            m_localRepository->remove(id);
        } catch (const std::exception &error) {
            report(error);
            co_return false;
        }
    } else {
        auto pending = sendIgnoringAnswer(deleteMethod, Endpoints::project(id));
        // False as well when the service went away meanwhile.
        if (!co_await std::move(pending))
            co_return false;
    }
    // Only that identity goes; iterations of a deleted root stay until the next load.
    ++m_listWrites;
    if (m_projects.removeIf([&id](const Project &p) { return p.id == id; }) > 0)
        Q_EMIT projectsChanged();
    co_return true;
}

QCoro::Task<ProjectCreation> ProjectsService::createIteration(QString baseProjectId, CreateIterationRequest body)
{
    if (m_isGuestMode)
        co_return {};
    clearError();
    const std::optional<QJsonValue> encoded = encode(body);
    if (!encoded)
        co_return {};
    QSet<QString> listed = listedIds();
    listed.insert(baseProjectId);
    const QPointer<ProjectsService> self(this);
    auto pending = sendMaking<Project>(post, Endpoints::iterate(baseProjectId), *encoded);
    Sent<Project> answer = co_await std::move(pending);
    // The tree shows and selects the new iteration at once, without a reload.
    auto taking = takeCreated(self, std::move(answer), listed, unconfirmedIteration);
    co_return co_await std::move(taking);
}

QSet<QString> ProjectsService::listedIds() const
{
    QSet<QString> ids;
    ids.reserve(m_projects.size());
    for (const Project &project : m_projects)
        ids.insert(project.id);
    return ids;
}

QCoro::Task<ProjectCreation> ProjectsService::takeCreated(QPointer<ProjectsService> self, Sent<Project> answer,
                                                          QSet<QString> existing, QString notTakenIn)
{
    if (!self)
        co_return {};
    // Taken in, a listed project's identity would show it twice, open it as the new one, and a
    // deletion of the "copy" would delete it. Any other identity is taken as the project made.
    if (answer.answer && !existing.contains(answer.answer->id)) {
        // A load that ran meanwhile may have listed it already.
        if (!self->replaceListed(*answer.answer))
            self->insertFirst(*answer.answer);
        co_return ProjectCreation{std::move(answer.answer)};
    }
    // A refusal made nothing: its text stands.
    if (!answer.answer && !answer.unread)
        co_return {};
    if (answer.answer)
        qWarning("the answer to a creation names project %s, listed before",
                 qPrintable(Text::boundedMessage(answer.answer->id)));
    else
        qWarning("the answer to a creation does not read");
    // The project made, if one was, shows once the list is read again.
    auto reloading = self->load(self->m_loadsIterations);
    co_await std::move(reloading);
    if (self)
        self->setErrorMessage(notTakenIn);
    co_return ProjectCreation{std::nullopt, true};
}

QCoro::Task<std::optional<QList<Project>>> ProjectsService::fetchIterations(QString projectId, const QObject *owner)
{
    if (m_isGuestMode)
        co_return QList<Project>{};
    auto pending = send<QList<Project>>(get, Endpoints::iterations(projectId), std::nullopt, true, readOwner(owner));
    std::optional<QList<Project>> iterations = co_await std::move(pending);
    if (iterations)
        iterations = distinctById(std::move(*iterations));
    co_return iterations;
}

QCoro::Task<std::optional<ProjectLineSummary>> ProjectsService::fetchLineSummary(QString rootId, const QObject *owner)
{
    if (m_isGuestMode)
        co_return std::nullopt;
    // A JSON null answer is no summary, and no failure.
    auto pending =
        send<std::optional<ProjectLineSummary>>(get, Endpoints::summary(rootId), std::nullopt, true, readOwner(owner));
    const std::optional<std::optional<ProjectLineSummary>> summary = co_await std::move(pending);
    co_return summary.value_or(std::nullopt);
}
