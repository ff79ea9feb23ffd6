#include "Features/Projects/ProjectsListViewModel.h"

#include "API/FollowProjectsService.h"
#include "Features/Projects/ProjectsListRules.h"
#include "Projects/ProjectTreeBuilder.h"
#include "Utils/Text.h"

#include <QMetaObject>
#include <algorithm>

namespace {

constexpr double gridSpacing = 12;
constexpr double cardMaxWidth = 420;

} // namespace

ProjectsListViewModel::ProjectsListViewModel(QObject *parent)
    : QObject(parent)
    , m_tree(new ProjectTreeModel(this))
    , m_cards(new ProjectCardsModel(this))
{
}

void ProjectsListViewModel::setProjectsService(ProjectsService *service)
{
    if (!followProjectsService(this, m_service, service, &ProjectsListViewModel::projectsChanged,
                               &ProjectsListViewModel::contentChanged, &ProjectsListViewModel::contentChanged))
        return;
    // What the service holds now is the initial value: it unfolds nothing.
    m_projectCount = projects().size();
    projectsChanged();
    Q_EMIT projectsServiceChanged();
}

void ProjectsListViewModel::setGuest(bool guest)
{
    if (m_isGuest == guest)
        return;
    m_isGuest = guest;
    projectsChanged();
    Q_EMIT isGuestChanged();
}

void ProjectsListViewModel::setOffersFinance(bool offers)
{
    if (m_offersFinance == offers)
        return;
    m_offersFinance = offers;
    rebuildRows();
    Q_EMIT offersFinanceChanged();
}

void ProjectsListViewModel::setSelectedProjectId(const QString &id)
{
    if (m_selectedProjectId == id)
        return;
    // A new selection brings the keyboard's row to it; one cleared leaves the row where it is.
    if (!id.isEmpty())
        m_currentProjectId.clear();
    else if (m_currentProjectId.isEmpty())
        m_currentProjectId = currentProjectId();
    m_selectedProjectId = id;
    if (m_started && !id.isEmpty() && unfoldGroupOf(id))
        rebuildRows();
    else
        refreshRowStates();
    Q_EMIT selectedProjectIdChanged();
}

void ProjectsListViewModel::setSearchText(const QString &text)
{
    if (m_searchText == text)
        return;
    m_searchText = text;
    refilter();
    rebuildRows();
    Q_EMIT searchTextChanged();
    Q_EMIT contentChanged();
}

QList<Project> ProjectsListViewModel::projects() const
{
    return m_service ? m_service->projects() : QList<Project>();
}

void ProjectsListViewModel::projectsChanged()
{
    const QList<Project> listed = projects();
    // A guest sees cards: the tree is not needed.
    m_groups = m_isGuest ? QList<ProjectTreeGroup>() : ProjectTreeBuilder::build(listed);
    m_rowTexts.clear();
    m_iterationCounts = ProjectsListRules::iterationCounts(listed);
    m_groupTexts.clear();
    for (const ProjectTreeGroup &group : std::as_const(m_groups))
        m_groupTexts.append(ProjectsListRules::searchTexts(group));
    m_projectTexts.clear();
    if (m_isGuest) {
        for (const Project &project : listed)
            m_projectTexts.append(ProjectsListRules::searchTexts(project));
    }
    refilter();
    if (m_started && listed.size() != m_projectCount && m_expandedRoots.isEmpty())
        unfoldAllWithIterations();
    m_projectCount = listed.size();
    rebuildRows();
    Q_EMIT contentChanged();
}

void ProjectsListViewModel::refilter()
{
    const QString query = ProjectsListRules::normalizedQuery(m_searchText);
    const QList<Project> listed = projects();
    // Without a search every entry is kept: the lists are shared, not copied one by one, so that
    // a long list is not held twice.
    if (query.isEmpty()) {
        m_filteredGroups = m_groups;
        m_filteredProjects = m_isGuest ? listed : QList<Project>();
        return;
    }
    m_filteredGroups.clear();
    for (const qsizetype at : ProjectsListRules::matching(m_groupTexts, query))
        m_filteredGroups.append(m_groups.at(at));
    m_filteredProjects.clear();
    for (const qsizetype at : ProjectsListRules::matching(m_projectTexts, query))
        m_filteredProjects.append(listed.at(at));
}

void ProjectsListViewModel::unfoldAllWithIterations()
{
    for (const ProjectTreeGroup &group : std::as_const(m_filteredGroups)) {
        if (!group.iterations.isEmpty())
            m_expandedRoots.insert(group.id);
    }
}

bool ProjectsListViewModel::unfoldGroupOf(const QString &projectId)
{
    for (const ProjectTreeGroup &group : std::as_const(m_filteredGroups)) {
        const bool holds = std::any_of(group.iterations.cbegin(), group.iterations.cend(),
                                       [&](const Project &iteration) { return iteration.id == projectId; });
        if (holds) {
            if (m_expandedRoots.contains(group.id))
                return false;
            m_expandedRoots.insert(group.id);
            return true;
        }
    }
    return false;
}

void ProjectsListViewModel::refreshRowStates()
{
    // Selection and hover change no row's place: only the rows whose look changes are told.
    if (m_isGuest) {
        const QList<ProjectCardRow> &cards = m_cards->rows();
        for (qsizetype i = 0; i < cards.size(); ++i) {
            if (cards.at(i).isSelected != (cards.at(i).projectId == m_selectedProjectId)) {
                ProjectCardRow row = cards.at(i);
                row.isSelected = !row.isSelected;
                m_cards->updateRow(i, row);
            }
        }
    } else {
        QSet<QString> holding;
        for (const ProjectTreeGroup &group : std::as_const(m_filteredGroups)) {
            if (group.root.id == m_selectedProjectId
                || std::any_of(group.iterations.cbegin(), group.iterations.cend(),
                               [this](const Project &iteration) { return iteration.id == m_selectedProjectId; }))
                holding.insert(group.id);
        }
        const QList<ProjectTreeRow> &rows = m_tree->rows();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const ProjectTreeRow &current = rows.at(i);
            const bool selected = current.projectId == m_selectedProjectId;
            const bool hovered = current.projectId == m_hoveredRowId;
            const bool holds = holding.contains(current.rootId);
            if (current.isSelected == selected && current.isHovered == hovered && current.groupHoldsSelection == holds)
                continue;
            ProjectTreeRow row = current;
            row.isSelected = selected;
            row.isHovered = hovered;
            row.groupHoldsSelection = holds;
            m_tree->updateRow(i, row);
        }
    }
    Q_EMIT rowsChanged();
}

void ProjectsListViewModel::rebuildRows()
{
    const auto texts = [this](const Project &project, bool isIteration) -> const std::pair<QString, QString> & {
        const QString key = (isIteration ? QStringLiteral("i:") : QStringLiteral("r:")) + project.id;
        auto found = m_rowTexts.find(key);
        if (found == m_rowTexts.end())
            found = m_rowTexts.insert(key,
                                      {ProjectsListRules::treeRowTitle(project, isIteration),
                                       ProjectsListRules::treeRowSubtitle(project, isIteration)});
        return *found;
    };

    QList<ProjectTreeRow> treeRows;
    QList<ProjectCardRow> cardRows;
    if (m_isGuest) {
        cardRows.reserve(m_filteredProjects.size());
        for (const Project &project : std::as_const(m_filteredProjects)) {
            ProjectCardRow row;
            row.projectId = project.id;
            // Shown texts only, cut before layout; the project keeps its own.
            row.name = Text::boundedMessage(project.name);
            row.clientName = Text::boundedMessage(project.clientName.value_or(QString()));
            row.status = rawValue(project.status);
            row.hoursText = ProjectsListRules::cardHoursText(project.totalHours);
            row.costText = ProjectsListRules::cardCostText(project.totalCost, project.currency);
            row.storageNote = ProjectsListRules::storageNote(project, QStringLiteral("На устройстве"));
            row.isSelected = project.id == m_selectedProjectId;
            cardRows.append(row);
        }
    } else {
        const QHash<QString, int> &counts = m_iterationCounts;
        for (const ProjectTreeGroup &group : std::as_const(m_filteredGroups)) {
            const bool hasChildren = !group.iterations.isEmpty();
            const bool expanded = hasChildren && m_expandedRoots.contains(group.id);
            const bool holdsSelection = group.root.id == m_selectedProjectId
                || std::any_of(group.iterations.cbegin(), group.iterations.cend(),
                               [this](const Project &iteration) { return iteration.id == m_selectedProjectId; });
            ProjectTreeRow root;
            root.projectId = group.root.id;
            root.rootId = group.id;
            root.key = ProjectTreeRow::keyOf(group.id, group.root.id);
            std::tie(root.title, root.subtitle) = texts(group.root, false);
            root.iterationCount = int(group.iterations.size());
            root.hasChildren = hasChildren;
            root.isExpanded = m_expandedRoots.contains(group.id);
            root.isSelected = group.root.id == m_selectedProjectId;
            root.isHovered = group.root.id == m_hoveredRowId;
            root.groupHoldsSelection = holdsSelection;
            root.isFirstInGroup = true;
            root.isLastInGroup = !expanded;
            root.deleteTitle = ProjectsListRules::deleteEntryTitle(group.root, counts.value(group.root.id));
            treeRows.append(root);
            if (!expanded)
                continue;
            for (qsizetype i = 0; i < group.iterations.size(); ++i) {
                const Project &iteration = group.iterations.at(i);
                ProjectTreeRow row;
                row.projectId = iteration.id;
                row.rootId = group.id;
                row.key = ProjectTreeRow::keyOf(group.id, iteration.id);
                row.isIteration = true;
                std::tie(row.title, row.subtitle) = texts(iteration, true);
                row.isSelected = iteration.id == m_selectedProjectId;
                row.isHovered = iteration.id == m_hoveredRowId;
                row.groupHoldsSelection = holdsSelection;
                row.isLastInGroup = i == group.iterations.size() - 1;
                row.offersFinance = m_offersFinance;
                row.deleteTitle = ProjectsListRules::deleteEntryTitle(iteration, counts.value(iteration.id));
                treeRows.append(row);
            }
        }
    }
    const QStringList before = shownIds();
    const QString keyboardId = currentProjectId();
    const int keyboardAt = currentIndex();
    m_tree->setRows(treeRows);
    m_cards->setRows(cardRows);
    // The keyboard's row went with its project (deleted, here or in the editor): the keys go to
    // the project that followed it, else to the one before it, found by identity, since rows may
    // have come or gone around it (a group unfolded). One a search hides leaves them to the first
    // result.
    if (const QStringList ids = shownIds(); !keyboardId.isEmpty() && !ids.isEmpty() && !ids.contains(keyboardId)
        && !ids.contains(m_selectedProjectId) && !listedProject(keyboardId))
        m_currentProjectId = ProjectsListRules::neighbourAfterRemoval(before, keyboardAt, ids);
    Q_EMIT rowsChanged();
}

QString ProjectsListViewModel::contentState() const
{
    const bool empty = projects().isEmpty();
    if (empty && (isLoading() || !m_started))
        return QStringLiteral("loading");
    if (empty && m_service && m_service->hasErrorMessage())
        return QStringLiteral("error");
    if (empty)
        return QStringLiteral("empty");
    // The list that is shown decides: a guest's cards search names and clients only.
    if (m_isGuest)
        return m_filteredProjects.isEmpty() ? QStringLiteral("noResults") : QStringLiteral("cards");
    return m_filteredGroups.isEmpty() ? QStringLiteral("noResults") : QStringLiteral("tree");
}

bool ProjectsListViewModel::isLoading() const
{
    return m_service && m_service->isLoading();
}

QString ProjectsListViewModel::errorMessage() const
{
    return m_service ? m_service->errorMessageText() : QString();
}

QString ProjectsListViewModel::bannerMessage() const
{
    if (m_service && m_service->hasErrorMessage())
        return m_service->errorMessageText();
    return m_refusal;
}

bool ProjectsListViewModel::hasBanner() const
{
    if (projects().isEmpty())
        return false;
    return (m_service && m_service->hasErrorMessage()) || !m_refusal.isEmpty();
}

bool ProjectsListViewModel::bannerSpeaks() const
{
    return !m_service || !m_service->errorToldByCaller();
}

QString ProjectsListViewModel::emptyDescription() const
{
    return m_isGuest ? QStringLiteral("Создайте первый проект — он сохранится на этом устройстве (офлайн).")
                     : QStringLiteral("Создайте первый проект — он появится в облаке и на вебе.");
}

QString ProjectsListViewModel::noResultsText() const
{
    return QStringLiteral("Нет результатов для «") + m_searchText.trimmed() + QStringLiteral("»");
}

QStringList ProjectsListViewModel::shownIds() const
{
    QStringList ids;
    if (m_isGuest) {
        for (const ProjectCardRow &row : m_cards->rows())
            ids.append(row.projectId);
    } else {
        for (const ProjectTreeRow &row : m_tree->rows())
            ids.append(row.projectId);
    }
    return ids;
}

int ProjectsListViewModel::selectedIndex() const
{
    return m_selectedProjectId.isEmpty() ? -1 : int(shownIds().indexOf(m_selectedProjectId));
}

int ProjectsListViewModel::currentIndex() const
{
    const QStringList ids = shownIds();
    for (const QString *id : {&m_currentProjectId, &m_selectedProjectId}) {
        const qsizetype at = id->isEmpty() ? -1 : ids.indexOf(*id);
        if (at >= 0)
            return int(at);
    }
    return ids.isEmpty() ? -1 : 0;
}

QString ProjectsListViewModel::currentProjectId() const
{
    const int at = currentIndex();
    if (at < 0)
        return {};
    return m_isGuest ? m_cards->rows().at(at).projectId : m_tree->rows().at(at).projectId;
}

const ProjectTreeRow *ProjectsListViewModel::currentTreeRow() const
{
    const int at = m_isGuest ? -1 : currentIndex();
    return at < 0 ? nullptr : &m_tree->rows().at(at);
}

std::optional<Project> ProjectsListViewModel::listedProject(const QString &id) const
{
    if (m_service) {
        for (const Project &project : m_service->projects()) {
            if (project.id == id)
                return project;
        }
    }
    return std::nullopt;
}

QString ProjectsListViewModel::deleteDialogTitle() const
{
    return ProjectsListRules::deleteDialogTitle(m_projectToDelete);
}

QString ProjectsListViewModel::deleteDialogMessage() const
{
    return ProjectsListRules::deleteDialogMessage(m_projectToDelete, m_isGuest, projects());
}

QString ProjectsListViewModel::deleteConfirmTitle() const
{
    return ProjectsListRules::deleteConfirmTitle(m_projectToDelete);
}

void ProjectsListViewModel::setListWidth(double width)
{
    if (qFuzzyCompare(m_listWidth + 1, width + 1))
        return;
    m_listWidth = width;
    Q_EMIT geometryChanged();
}

void ProjectsListViewModel::setWindowWidth(double width)
{
    if (qFuzzyCompare(m_windowWidth + 1, width + 1))
        return;
    m_windowWidth = width;
    Q_EMIT geometryChanged();
}

void ProjectsListViewModel::setCompact(bool compact)
{
    if (m_isCompact == compact)
        return;
    m_isCompact = compact;
    Q_EMIT geometryChanged();
}

double ProjectsListViewModel::contentWidth() const
{
    const double cap = ProjectsListRules::contentWidthCap(m_windowWidth);
    return std::max(0.0, cap > 0 ? std::min(m_listWidth, cap) : m_listWidth);
}

int ProjectsListViewModel::cardColumns() const
{
    return ProjectsListRules::cardColumns(contentWidth() - 2 * contentPadding(), m_isCompact);
}

double ProjectsListViewModel::cardWidth() const
{
    const int columns = cardColumns();
    const double inner = contentWidth() - 2 * contentPadding();
    const double width = (inner - gridSpacing * (columns - 1)) / columns;
    return std::max(0.0, m_isCompact ? width : std::min(width, cardMaxWidth));
}

void ProjectsListViewModel::appear()
{
    m_started = true;
    // A list shown again (back from another section) shows the open iteration in its group.
    if (!m_selectedProjectId.isEmpty() && unfoldGroupOf(m_selectedProjectId))
        rebuildRows();
    load(!m_isGuest);
    Q_EMIT contentChanged();
}

void ProjectsListViewModel::appearAfterFrame(QQuickWindow *window)
{
    if (!window) {
        appear();
        return;
    }
    // The frame is reported from the render thread; the list is read on this one.
    connect(window, &QQuickWindow::frameSwapped, this, &ProjectsListViewModel::appear,
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    window->update();
}

void ProjectsListViewModel::refresh()
{
    // As when the list came on screen: a reload without iterations would drop their rows.
    load(!m_isGuest);
}

void ProjectsListViewModel::load(bool includeIterations)
{
    clearRefusal();
    if (m_service)
        m_service->load(includeIterations);
}

void ProjectsListViewModel::clearRefusal()
{
    if (m_refusal.isEmpty())
        return;
    m_refusal.clear();
    Q_EMIT contentChanged();
}

void ProjectsListViewModel::activate(const QString &projectId, const QString &rootId)
{
    if (!m_isGuest) {
        QString group = rootId;
        bool unfolds = !rootId.isEmpty();
        for (const ProjectTreeRow &row : m_tree->rows()) {
            if (row.projectId == projectId && (rootId.isEmpty() || row.rootId == rootId)) {
                group = row.rootId;
                unfolds = row.isIteration || row.hasChildren;
                break;
            }
        }
        if (unfolds && !group.isEmpty())
            m_expandedRoots.insert(group);
    }
    rebuildRows();
    setSelectedProjectId(projectId);
}

void ProjectsListViewModel::setRootExpanded(const QString &rootId, bool expanded)
{
    if (expanded)
        m_expandedRoots.insert(rootId);
    else
        m_expandedRoots.remove(rootId);
    rebuildRows();
}

void ProjectsListViewModel::toggleRoot(const QString &rootId)
{
    setRootExpanded(rootId, !m_expandedRoots.contains(rootId));
}

void ProjectsListViewModel::moveCurrent(int delta)
{
    const int current = currentIndex();
    if (current < 0)
        return;
    const QStringList ids = shownIds();
    const QString &next = ids.at(std::clamp<qsizetype>(current + delta, 0, ids.size() - 1));
    if (next == ids.at(current))
        return;
    m_currentProjectId = next;
    Q_EMIT rowsChanged();
}

void ProjectsListViewModel::expandCurrent(bool expanded)
{
    const ProjectTreeRow *row = currentTreeRow();
    if (row && !row->isIteration && row->hasChildren)
        setRootExpanded(row->rootId, expanded);
}

void ProjectsListViewModel::activateCurrent()
{
    if (m_isGuest) {
        const QString id = currentProjectId();
        if (!id.isEmpty())
            activate(id);
    } else if (const ProjectTreeRow *row = currentTreeRow()) {
        // A copy: activating rebuilds the rows.
        const ProjectTreeRow chosen = *row;
        activate(chosen.projectId, chosen.rootId);
    }
}

void ProjectsListViewModel::setHoveredRowId(const QString &id)
{
    if (m_hoveredRowId == id)
        return;
    m_hoveredRowId = id;
    refreshRowStates();
    Q_EMIT hoveredRowIdChanged();
}

void ProjectsListViewModel::hoverEntered(const QString &projectId)
{
    setHoveredRowId(projectId);
}

void ProjectsListViewModel::hoverLeft(const QString &projectId)
{
    // The next row's enter may come first; it keeps its hover.
    if (m_hoveredRowId == projectId)
        setHoveredRowId(QString());
}

void ProjectsListViewModel::setProjectToDelete(std::optional<Project> project)
{
    if (m_projectToDelete == project)
        return;
    m_projectToDelete = std::move(project);
    Q_EMIT projectToDeleteChanged();
}

void ProjectsListViewModel::setDeleting(bool deleting)
{
    if (m_isDeleting == deleting)
        return;
    m_isDeleting = deleting;
    Q_EMIT isDeletingChanged();
}

void ProjectsListViewModel::requestDelete(const QString &projectId)
{
    if (m_isDeleting)
        return;
    std::optional<Project> project = listedProject(projectId);
    if (!project)
        return;
    setProjectToDelete(std::move(project));
    Q_EMIT deleteRequested();
}

bool ProjectsListViewModel::requestDeleteCurrent()
{
    const QString id = currentProjectId();
    if (id.isEmpty())
        return false;
    if (const ProjectTreeRow *row = currentTreeRow(); row && row->deleteTitle.isEmpty())
        return false;
    requestDelete(id);
    return m_projectToDelete.has_value();
}

void ProjectsListViewModel::cancelDelete()
{
    if (!m_isDeleting)
        setProjectToDelete(std::nullopt);
}

void ProjectsListViewModel::confirmDelete()
{
    if (!m_projectToDelete || m_isDeleting || !m_service)
        return;
    clearRefusal();
    setDeleting(true);
    const bool checkIterations = !m_isGuest && !m_projectToDelete->isIteration();
    runDelete(this, m_service, *m_projectToDelete, checkIterations);
}

QCoro::Task<bool> ProjectsListViewModel::removeChecked(QPointer<ProjectsService> service, Project project,
                                                       bool checkIterations)
{
    if (checkIterations) {
        // A list loaded without iterations does not know them; the backend would take them
        // (and their payments) with the root.
        auto fetching = service->fetchAll(true);
        const std::optional<QList<Project>> listed = co_await std::move(fetching);
        if (!service || !listed || ProjectsListRules::iterationCount(*listed, project.id) > 0)
            co_return false;
    }
    auto removing = service->remove(project.id);
    const bool removed = co_await std::move(removing);
    co_return removed;
}

QCoro::Task<> ProjectsListViewModel::runDelete(QPointer<ProjectsListViewModel> self, QPointer<ProjectsService> service,
                                               Project project, bool checkIterations)
{
    auto removing = removeChecked(service, project, checkIterations);
    const bool deleted = co_await std::move(removing);
    if (!self || !service || self->m_service != service)
        co_return;
    if (deleted && self->m_selectedProjectId == project.id)
        self->setSelectedProjectId(
            ProjectsListRules::selectionAfterDelete(service->projects(), project).value_or(QString()));
    auto reloading = service->load(true);
    co_await std::move(reloading);
    if (!self)
        co_return;
    if (!deleted && checkIterations && service && !service->hasErrorMessage()) {
        const int count = ProjectsListRules::iterationCount(service->projects(), project.id);
        if (count > 0)
            self->m_refusal = ProjectsListRules::deleteDialogMessage(project, false, service->projects());
    }
    self->setProjectToDelete(std::nullopt);
    self->setDeleting(false);
    Q_EMIT self->contentChanged();
    Q_EMIT self->deleteFinished(deleted);
}

QCoro::Task<ProjectCreation> ProjectsListViewModel::create(QPointer<ProjectsListViewModel> self, QString name,
                                                           std::optional<QString> clientName, QString currency,
                                                           QString sphereId,
                                                           std::optional<EstimateTemplate> estimateTemplate)
{
    if (!self || !self->m_service)
        co_return {};
    auto creating = self->m_service->create(std::move(name), std::move(clientName), std::move(currency),
                                            std::move(sphereId), std::move(estimateTemplate));
    ProjectCreation creation = co_await std::move(creating);
    if (!creation.project)
        co_return creation;
    if (self) {
        const QString id = creation.project->id;
        QMetaObject::invokeMethod(
            self.data(),
            [self, id] {
                if (self)
                    self->setSelectedProjectId(id);
            },
            Qt::QueuedConnection);
    }
    co_return creation;
}
