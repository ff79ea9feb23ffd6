#include "ProjectEditorScreenModel.h"
#include "SelectOption.h"

#include "Export/CommercialProposalInput.h"
#include "Utils/LineCost.h"
#include "Utils/Numbers.h"
#include "Projects/ProjectRoot.h"

#include <QVariantMap>
#include <algorithm>

ProjectEditorScreenModel::ProjectEditorScreenModel(QObject *parent)
    : QObject(parent)
    , m_editor(new ProjectEditorViewModel(this))
    , m_form(new EstimateItemFormModel(this))
{
    connect(m_editor, &ProjectEditorViewModel::nameChanged, this, &ProjectEditorScreenModel::titleChanged);
    connect(m_editor, &ProjectEditorViewModel::projectTypeChanged, this,
            &ProjectEditorScreenModel::iterationsBarChanged);
    connect(m_editor, &ProjectEditorViewModel::finished, this, [this](bool stored) {
        if (stored)
            refreshFinance();
    });
    connect(m_form, &EstimateItemFormModel::saved, this, &ProjectEditorScreenModel::formSaved);
}

void ProjectEditorScreenModel::setProjectsService(ProjectsService *service)
{
    if (m_projectsService == service)
        return;
    m_projectsService = service;
    m_editor->setProjectsService(service);
    delete m_finance;
    m_finance = service ? new FinanceService(service->api(), this) : nullptr;
    Q_EMIT projectsServiceChanged();
}

void ProjectEditorScreenModel::setIsGuestSession(bool guest)
{
    if (m_isGuestSession == guest)
        return;
    m_isGuestSession = guest;
    Q_EMIT isGuestSessionChanged();
    Q_EMIT iterationsBarChanged();
}

QVariant ProjectEditorScreenModel::project() const
{
    return m_project ? QVariant::fromValue(*m_project) : QVariant();
}

void ProjectEditorScreenModel::setProject(const QVariant &project)
{
    if (project.metaType() == QMetaType::fromType<Project>())
        setProject(project.value<Project>());
}

void ProjectEditorScreenModel::setProject(const Project &project)
{
    if (!m_project) {
        m_project = project;
        m_editor->load(project);
        watchEdits();
        Q_EMIT projectChanged();
        return;
    }
    if (project.id != m_project->id || project == *m_project)
        return;
    // A newer copy of the same project (the list's copy was stale): taken only while it cannot
    // overwrite anything the user did; edits and a running save keep the copy they started from.
    if (m_editor->isDirty() || m_editor->saveState().kind == EditorSaveState::Kind::Saving)
        return;
    const EstimateGroupMode mode = m_editor->groupMode();
    m_project = project;
    m_editor->load(project);
    m_editor->setGroupMode(mode);
    Q_EMIT projectChanged();
}

void ProjectEditorScreenModel::watchEdits()
{
    const auto edited = [this] {
        QMetaObject::invokeMethod(m_editor, &ProjectEditorViewModel::markDirty, Qt::QueuedConnection);
    };
    connect(m_editor, &ProjectEditorViewModel::nameChanged, this, edited);
    connect(m_editor, &ProjectEditorViewModel::clientNameChanged, this, edited);
    connect(m_editor, &ProjectEditorViewModel::projectTypeChanged, this, edited);
    connect(m_editor, &ProjectEditorViewModel::statusChanged, this, edited);
    connect(m_editor, &ProjectEditorViewModel::currencyChanged, this, edited);
    connect(m_editor, &ProjectEditorViewModel::projectTypeChanged, this,
            [this] { refreshIterations(m_editor->projectId()); });
}

QString ProjectEditorScreenModel::title() const
{
    return m_editor->name().isEmpty() ? QStringLiteral("Смета") : m_editor->shownName();
}

QVariant ProjectEditorScreenModel::analyticsValue() const
{
    return m_analytics ? QVariant::fromValue(*m_analytics) : QVariant();
}

QString ProjectEditorScreenModel::currentIterationText() const
{
    const QString &id = m_editor->projectId();
    const auto found = std::find_if(m_iterations.cbegin(), m_iterations.cend(),
                                    [&id](const Project &project) { return project.id == id; });
    if (found == m_iterations.cend() || !found->isIteration())
        return {};
    return QStringLiteral("Текущая: ") + ProjectRoot::iterationLabel(*found);
}

bool ProjectEditorScreenModel::showsIterationsBar() const
{
    return !m_isGuestSession && m_editor->projectTypeOption() == ProjectTypeOption::Iterative;
}

QVariantList ProjectEditorScreenModel::projectTypeOptions() const
{
    QVariantList options = m_editor->projectTypeOptions();
    // A guest has no iterations, so only the one-off type is offered.
    if (m_isGuestSession)
        options.resize(1);
    return options;
}

QVariantList ProjectEditorScreenModel::currencyOptions() const
{
    QVariantList options;
    for (const QString &code : {QStringLiteral("RUB"), QStringLiteral("USD"), QStringLiteral("EUR")})
        options.append(SelectOption::of(code, code));
    return options;
}

QVariantList ProjectEditorScreenModel::menuEntries() const
{
    const auto entry = [](const QString &key, const QString &text, const QString &systemImage) {
        return SelectOption::of(key, text, systemImage);
    };
    QVariantList entries;
    entries.append(entry(QStringLiteral("addLine"), QStringLiteral("Добавить строку"), QStringLiteral("plus")));
    if (!m_isGuestSession)
        entries.append(entry(QStringLiteral("ai"), QStringLiteral("ИИ-смета"), QStringLiteral("sparkles")));
    entries.append(
        entry(QStringLiteral("export"), QStringLiteral("PDF / Share"), QStringLiteral("square.and.arrow.up")));
    if (showsIterationsBar()) {
        entries.append(
            entry(QStringLiteral("iterations"), QStringLiteral("Все итерации"), QStringLiteral("list.bullet")));
        entries.append(entry(QStringLiteral("newIteration"), QStringLiteral("Новая итерация"),
                             QStringLiteral("plus.rectangle.on.rectangle")));
    }
    entries.append(entry(QStringLiteral("templates"), QStringLiteral("Шаблоны"), QStringLiteral("doc.on.doc")));
    return entries;
}

void ProjectEditorScreenModel::triggerMenuEntry(const QString &key)
{
    if (key == QStringLiteral("addLine"))
        openNewItem();
    else if (key == QStringLiteral("ai"))
        setShowAI(true);
    else if (key == QStringLiteral("export"))
        setShowExportPDF(true);
    else if (key == QStringLiteral("iterations"))
        setShowIterations(true);
    else if (key == QStringLiteral("newIteration"))
        setShowNewIteration(true);
    else if (key == QStringLiteral("templates"))
        setShowTemplateLibrary(true);
}

bool ProjectEditorScreenModel::moveLine(int fromRow, int toRow)
{
    if (m_editor->groupMode() != EstimateGroupMode::Category || fromRow == toRow)
        return false;
    int first = 0;
    for (const EstimateSection &section : m_editor->estimateSections()) {
        const int count = int(section.items.size());
        if (fromRow >= first && fromRow < first + count) {
            if (toRow < first || toRow >= first + count)
                return false;
            const int from = fromRow - first;
            const int to = toRow - first;
            // The destination counts positions before the move.
            m_editor->moveItems(section.id, {from}, to > from ? to + 1 : to);
            return true;
        }
        first += count;
    }
    return false;
}

void ProjectEditorScreenModel::setActiveSphereId(const QString &id)
{
    if (m_activeSphereId == id)
        return;
    m_activeSphereId = id;
    Q_EMIT activeSphereIdChanged();
}

void ProjectEditorScreenModel::setFlag(bool &flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    Q_EMIT sheetsChanged();
}

void ProjectEditorScreenModel::setAddingItem(bool adding)
{
    if (m_isAddingItem == adding)
        return;
    m_isAddingItem = adding;
    Q_EMIT isAddingItemChanged();
}

void ProjectEditorScreenModel::openNewItem()
{
    setAddingItem(true);
    EditableEstimateItem item;
    item.category = QStringLiteral("backend");
    item.rate = m_editor->defaultRate();
    m_form->open(item, m_editor->currency(), m_editor->defaultRate(), m_activeSphereId, true);
    setShowItemForm(true);
}

void ProjectEditorScreenModel::editLine(const QString &lineId)
{
    const QUuid id(lineId);
    const QList<EditableEstimateItem> &items = m_editor->items();
    const auto found =
        std::find_if(items.cbegin(), items.cend(), [&id](const EditableEstimateItem &item) { return item.id == id; });
    if (found == items.cend())
        return;
    m_form->open(*found, m_editor->currency(), m_editor->defaultRate(), m_activeSphereId, false);
    setAddingItem(false);
    setShowItemForm(true);
}

void ProjectEditorScreenModel::formSaved(const EditableEstimateItem &item)
{
    if (m_isAddingItem) {
        QList<EditableEstimateItem> items = m_editor->items();
        items.append(item);
        m_editor->setItems(std::move(items));
        m_editor->markDirty();
    } else {
        m_editor->updateItem(item.id, [&item](EditableEstimateItem &line) { line = item; });
    }
    setAddingItem(false);
    Q_EMIT lineSaved(item.id.toString(QUuid::WithoutBraces));
}

QVariant ProjectEditorScreenModel::exportInput() const
{
    CommercialProposalInput input;
    input.clientName = m_editor->clientName();
    input.projectName = m_editor->name();
    input.currency = m_editor->currency();
    input.items = m_editor->items();
    double hours = 0;
    double cost = 0;
    for (const EditableEstimateItem &item : input.items) {
        hours += LineCost::clamped(item.hours, 1);
        cost += LineCost::clamped(item.hours, item.rate);
    }
    input.totalHours = Numbers::roundedToCents(hours);
    input.totalCost = Numbers::roundedToCents(cost);
    return QVariant::fromValue(input);
}

QVariant ProjectEditorScreenModel::newIterationItems() const
{
    return QVariant::fromValue(ProjectEditorViewModel::projectItems(m_editor->items()));
}

void ProjectEditorScreenModel::setAnalytics(std::optional<EstimateAnalytics> analytics)
{
    m_analytics = std::move(analytics);
    Q_EMIT analyticsChanged();
}

void ProjectEditorScreenModel::setAnalyticsLoading(bool loading)
{
    if (m_analyticsLoading == loading)
        return;
    m_analyticsLoading = loading;
    Q_EMIT analyticsLoadingChanged();
}

void ProjectEditorScreenModel::setIterations(QList<Project> iterations)
{
    if (m_iterations == iterations)
        return;
    m_iterations = std::move(iterations);
    Q_EMIT iterationsChanged();
}

void ProjectEditorScreenModel::setIterationsLoading(bool loading)
{
    if (m_iterationsLoading == loading)
        return;
    m_iterationsLoading = loading;
    Q_EMIT iterationsLoadingChanged();
}

void ProjectEditorScreenModel::refreshFinance()
{
    const QString expected = m_editor->projectId();
    const quint64 generation = ++m_analyticsGeneration;
    if (m_isGuestSession || !m_finance) {
        setAnalytics(std::nullopt);
        setAnalyticsLoading(false);
        refreshIterations(expected);
        return;
    }
    setAnalyticsLoading(true);
    runRefreshFinance(this, generation, expected);
}

void ProjectEditorScreenModel::refreshIterations(const QString &expectedProjectId)
{
    const quint64 generation = ++m_iterationsGeneration;
    if (m_isGuestSession || !m_projectsService || m_editor->projectId() != expectedProjectId
        || m_editor->projectTypeOption() != ProjectTypeOption::Iterative) {
        // Also overtakes a load still running, whose result would bring the list back.
        setIterations({});
        setIterationsLoading(false);
        return;
    }
    setIterationsLoading(true);
    runRefreshIterations(this, generation, expectedProjectId);
}

QCoro::Task<std::optional<EstimateAnalytics>> ProjectEditorScreenModel::fetchAnalytics(FinanceService &finance,
                                                                                       const QString &id)
{
    return finance.fetchAnalytics(id);
}

QCoro::Task<std::optional<QList<Project>>> ProjectEditorScreenModel::fetchIterations(ProjectsService &service,
                                                                                     const QString &rootId,
                                                                                     const QObject *owner)
{
    return service.fetchIterations(rootId, owner);
}

QCoro::Task<> ProjectEditorScreenModel::runRefreshFinance(QPointer<ProjectEditorScreenModel> self, quint64 generation,
                                                          QString expectedId)
{
    auto pending = fetchAnalytics(*self->m_finance, expectedId);
    std::optional<EstimateAnalytics> analytics = co_await std::move(pending);
    if (!self || self->m_analyticsGeneration != generation)
        co_return;
    if (self->m_editor->projectId() != expectedId) {
        self->setAnalyticsLoading(false);
        co_return;
    }
    self->setAnalytics(std::move(analytics));
    self->refreshIterations(expectedId);
    self->setAnalyticsLoading(false);
}

QCoro::Task<> ProjectEditorScreenModel::runRefreshIterations(QPointer<ProjectEditorScreenModel> self,
                                                             quint64 generation, QString expectedId)
{
    QPointer<ProjectsService> service = self->m_projectsService;
    auto pending = fetchIterations(*service, self->m_editor->iterationRootId(), self);
    std::optional<QList<Project>> iterations = co_await std::move(pending);
    if (!self || self->m_iterationsGeneration != generation)
        co_return;
    if (service && self->m_editor->projectId() == expectedId)
        self->setIterations(std::move(iterations).value_or(QList<Project>()));
    self->setIterationsLoading(false);
}
