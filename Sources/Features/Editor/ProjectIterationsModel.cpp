#include "ProjectIterationsModel.h"

#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Utils/Text.h"

ProjectIterationsModel::ProjectIterationsModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void ProjectIterationsModel::setProjectsService(ProjectsService *service)
{
    if (m_service == service)
        return;
    m_service = service;
    Q_EMIT projectsServiceChanged();
}

void ProjectIterationsModel::setRootProjectId(const QString &id)
{
    if (m_rootProjectId == id)
        return;
    m_rootProjectId = id;
    Q_EMIT rootProjectIdChanged();
}

void ProjectIterationsModel::setNewName(const QString &name)
{
    if (m_newName == name)
        return;
    m_newName = name;
    Q_EMIT newNameChanged();
}

void ProjectIterationsModel::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged();
}

void ProjectIterationsModel::setCreating(bool creating)
{
    if (m_isCreating == creating)
        return;
    m_isCreating = creating;
    Q_EMIT isCreatingChanged();
}

void ProjectIterationsModel::setLoadError(const QString &text)
{
    if (m_loadError == text)
        return;
    m_loadError = text;
    Q_EMIT loadErrorChanged();
}

void ProjectIterationsModel::setNotice(const QString &text)
{
    if (m_notice == text)
        return;
    m_notice = text;
    Q_EMIT noticeChanged();
}

QString ProjectIterationsModel::iterationsCountText() const
{
    return m_summary ? QString::number(m_summary->summary.iterationsCount) : QString();
}

QString ProjectIterationsModel::totalHoursText() const
{
    return m_summary ? NumberText::fixed(m_summary->summary.totalHoursAll, 1) : QString();
}

QString ProjectIterationsModel::totalCostText() const
{
    return m_summary ? MoneyFormat::format(m_summary->summary.totalCostAll, m_summary->project.currency) : QString();
}

QStringList ProjectIterationsModel::summarySpoken() const
{
    if (!m_summary)
        return {};
    return {QStringLiteral("Итераций: ") + iterationsCountText(), QStringLiteral("Часы всего: ") + totalHoursText(),
            QStringLiteral("Сумма: ") + totalCostText()};
}

int ProjectIterationsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_iterations.size());
}

QVariant ProjectIterationsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Project &iteration = m_iterations.at(index.row());
    switch (role) {
    case ProjectIdRole:
        return iteration.id;
    case Qt::DisplayRole:
    case TitleRole:
        return rowTitle(iteration);
    case StatusRole:
        return rawValue(iteration.status);
    case DetailTextRole:
        return rowDetail(iteration);
    default:
        return {};
    }
}

QHash<int, QByteArray> ProjectIterationsModel::roleNames() const
{
    return {{ProjectIdRole, "projectId"}, {TitleRole, "title"}, {StatusRole, "status"}, {DetailTextRole, "detailText"}};
}

QString ProjectIterationsModel::rowTitle(const Project &iteration)
{
    // One line of the sheet: a name of megabytes is cut before layout.
    if (iteration.iterationName)
        return Text::boundedMessage(*iteration.iterationName);
    return QStringLiteral("v") + QString::number(iteration.version.value_or(0));
}

QString ProjectIterationsModel::rowDetail(const Project &iteration)
{
    return NumberText::fixed(iteration.totalHours, 1) + QStringLiteral(" ч · ")
        + MoneyFormat::format(iteration.totalCost, iteration.currency);
}

CreateIterationRequest ProjectIterationsModel::createRequest(const QString &name, bool copyBudget)
{
    CreateIterationRequest request;
    // Sent as typed: blanks too.
    if (!name.isEmpty())
        request.iterationName = name;
    request.copyBudget = copyBudget;
    if (!copyBudget)
        request.items = QList<ProjectItem>();
    return request;
}

void ProjectIterationsModel::applyIterations(QList<Project> iterations)
{
    const int before = count();
    beginResetModel();
    m_iterations = std::move(iterations);
    endResetModel();
    if (before != count())
        Q_EMIT countChanged();
}

void ProjectIterationsModel::applySummary(std::optional<ProjectLineSummary> summary)
{
    m_summary = std::move(summary);
    Q_EMIT summaryChanged();
}

void ProjectIterationsModel::load()
{
    if (!m_service)
        return;
    runLoad(this, m_service, m_rootProjectId, ++m_generation);
}

void ProjectIterationsModel::createIteration(bool copyBudget)
{
    if (!m_service || m_isCreating)
        return;
    setCreating(true);
    setNotice(QString());
    runCreate(this, m_service, m_rootProjectId, createRequest(m_newName, copyBudget));
}

QCoro::Task<> ProjectIterationsModel::runLoad(QPointer<ProjectIterationsModel> self, QPointer<ProjectsService> service,
                                              QString rootId, quint64 generation)
{
    self->setLoading(true);
    QCoro::Task<std::optional<QList<Project>>> iterationsTask = service->fetchIterations(rootId, self);
    std::optional<QList<Project>> iterations = co_await std::move(iterationsTask);
    if (!self || self->m_generation != generation)
        co_return;
    if (!iterations) {
        // Told as a failure, never as a line without iterations.
        self->applyIterations({});
        self->applySummary(std::nullopt);
        const QString reason = service ? service->errorMessageText() : QString();
        self->setLoadError(reason.isEmpty() ? QStringLiteral("Не удалось загрузить итерации.") : reason);
        self->setLoading(false);
        Q_EMIT self->loadFailed();
        co_return;
    }
    self->setLoadError(QString());
    self->applyIterations(std::move(*iterations));
    if (!service) {
        self->setLoading(false);
        co_return;
    }
    QCoro::Task<std::optional<ProjectLineSummary>> summaryTask = service->fetchLineSummary(rootId, self);
    std::optional<ProjectLineSummary> summary = co_await std::move(summaryTask);
    if (!self || self->m_generation != generation)
        co_return;
    self->applySummary(std::move(summary));
    self->setLoading(false);
}

QCoro::Task<> ProjectIterationsModel::runCreate(QPointer<ProjectIterationsModel> self,
                                                QPointer<ProjectsService> service, QString rootId,
                                                CreateIterationRequest request)
{
    QCoro::Task<ProjectCreation> pending = service->createIteration(rootId, std::move(request));
    const ProjectCreation creation = co_await std::move(pending);
    if (!self)
        co_return;
    const std::optional<Project> &created = creation.project;
    if (!created || !service) {
        if (creation.unsettled && service) {
            // What the backend holds now shows here, the one made too if it was.
            self->setNotice(service->errorMessageText());
            QCoro::Task<> reload = runLoad(self, service, rootId, ++self->m_generation);
            co_await std::move(reload);
            if (!self)
                co_return;
        }
        self->setCreating(false);
        co_return;
    }
    self->setNewName(QString());
    // The list is reloaded before the new iteration is handed over.
    QCoro::Task<> reload = runLoad(self, service, rootId, ++self->m_generation);
    co_await std::move(reload);
    if (!self)
        co_return;
    self->setCreating(false);
    Q_EMIT self->created(created->id);
}
