#include "AnalyticsDashboardModel.h"

#include "Settings/Preferences.h"
#include "Utils/LineCost.h"
#include "Projects/ProjectRoot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// What the children of one load gather, in the order they finish.
struct LoadRun
{
    QList<AnalyticsProjectRow> rows;
    QList<Payment> payments;
    qsizetype failed = 0;
};

QCoro::Task<void> fetchRow(QPointer<FinanceService> finance, std::shared_ptr<LoadRun> run, Project target,
                           QList<Project> roots)
{
    if (!finance) {
        ++run->failed;
        co_return;
    }
    QCoro::Task<std::optional<EstimateAnalytics>> pending = finance->fetchAnalytics(target.id);
    const std::optional<EstimateAnalytics> analytics = co_await std::move(pending);
    if (analytics)
        run->rows.append(AnalyticsDashboardModel::makeRow(target, *analytics, roots));
    else
        ++run->failed;
}

QCoro::Task<void> fetchPayments(QPointer<FinanceService> finance, std::shared_ptr<LoadRun> run, QString projectId)
{
    if (!finance)
        co_return;
    QCoro::Task<QList<Payment>> pending = finance->fetchPayments(projectId);
    const QList<Payment> payments = co_await std::move(pending);
    run->payments.append(payments);
}

double sortKey(double cost)
{
    return std::isnan(cost) ? -std::numeric_limits<double>::infinity() : cost;
}

} // namespace

AnalyticsDashboardModel::AnalyticsDashboardModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_finance(new FinanceService(this))
    , m_preferences(&Preferences::shared())
    , m_followsProjectsClient(true)
{
    connect(m_preferences, &Preferences::valueChanged, this, &AnalyticsDashboardModel::onPreferenceChanged);
}

AnalyticsDashboardModel::AnalyticsDashboardModel(APIClient &api, Preferences &preferences, QObject *parent)
    : QAbstractListModel(parent)
    , m_finance(new FinanceService(api, this))
    , m_preferences(&preferences)
    , m_financeClient(&api)
{
    connect(m_preferences, &Preferences::valueChanged, this, &AnalyticsDashboardModel::onPreferenceChanged);
}

AnalyticsProjectRow AnalyticsDashboardModel::makeRow(const Project &project, const EstimateAnalytics &analytics,
                                                     const QList<Project> &roots)
{
    AnalyticsProjectRow row;
    row.id = project.id;
    row.isIteration = project.isIteration();
    if (!row.isIteration) {
        row.name = project.name;
        row.subtitle = project.clientName;
    } else {
        const QString label = ProjectRoot::iterationLabel(project);
        const QString &parentId = *project.parentProjectId;
        const auto root = std::find_if(roots.cbegin(), roots.cend(),
                                       [&](const Project &candidate) { return candidate.id == parentId; });
        if (root != roots.cend()) {
            row.name = root->name;
            row.subtitle = label + QStringLiteral(" · ") + project.name;
        } else {
            row.name = project.name;
            row.subtitle = label;
        }
    }
    row.currency = analytics.currency;
    row.status = project.status;
    row.plannedCost = analytics.planned.totalCost;
    row.plannedHours = analytics.planned.totalHours;
    row.paidCost = analytics.paid.receivedTotal;
    double done = 0;
    for (const ProjectItem &item : project.items) {
        if (item.done.value_or(false))
            done += LineCost::clamped(item.hours, item.rate);
    }
    row.doneCost = done;
    return row;
}

void AnalyticsDashboardModel::sortRows(QList<AnalyticsProjectRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const AnalyticsProjectRow &a, const AnalyticsProjectRow &b) {
        return sortKey(a.plannedCost) > sortKey(b.plannedCost);
    });
}

std::optional<QString> AnalyticsDashboardModel::warningFor(qsizetype failed, qsizetype total, qsizetype rows)
{
    if (failed >= 1 && rows > 0)
        return QStringLiteral("Часть смет не загрузилась (%1 из %2).").arg(failed).arg(total);
    if (rows == 0 && total > 0)
        return QStringLiteral("Не удалось загрузить аналитику по сметам. Проверьте сеть и повторите.");
    return std::nullopt;
}

QCoro::Task<void> AnalyticsDashboardModel::load()
{
    return loadFor(this, ++m_generation);
}

void AnalyticsDashboardModel::refresh()
{
    // The task runs on by itself; the model's pointer check covers its end.
    QCoro::Task<void> running = load();
    Q_UNUSED(running);
}

QCoro::Task<void> AnalyticsDashboardModel::loadFor(QPointer<AnalyticsDashboardModel> self, quint64 generation)
{
    self->setLoading(true);
    if (self->m_loadWarning) {
        self->m_loadWarning.reset();
        Q_EMIT self->figuresChanged();
    }

    QPointer<ProjectsService> projects = self->m_projectsService;
    if (projects) {
        QCoro::Task<void> listing = projects->load(true);
        co_await std::move(listing);
    }
    if (!self)
        co_return;

    const QList<Project> all = projects ? projects->projects() : QList<Project>();
    const QList<Project> roots = projects ? projects->rootProjects() : QList<Project>();
    const QList<Project> &targets = self->scope() == rootsScope ? roots : all;

    // Every request starts now; each child records its answer as it arrives.
    auto run = std::make_shared<LoadRun>();
    QPointer<FinanceService> finance = self->m_finance;
    std::vector<QCoro::Task<void>> children;
    children.reserve(std::size_t(targets.size() + all.size()));
    for (const Project &target : targets)
        children.push_back(fetchRow(finance, run, target, roots));
    for (const Project &project : all)
        children.push_back(fetchPayments(finance, run, project.id));
    for (QCoro::Task<void> &child : children)
        co_await std::move(child);

    if (!self || generation != self->m_generation)
        co_return;
    self->apply(std::move(run->rows), run->payments, run->failed, targets.size());
}

void AnalyticsDashboardModel::apply(QList<AnalyticsProjectRow> rows, const QList<Payment> &payments, qsizetype failed,
                                    qsizetype total)
{
    sortRows(rows);
    AnalyticsProjectRow selection;
    if (m_selectedRow.isValid()) {
        const auto same = std::find_if(rows.cbegin(), rows.cend(),
                                       [&](const AnalyticsProjectRow &row) { return row.id == m_selectedRow.id; });
        if (same != rows.cend())
            selection = *same;
    }
    if (!selection.isValid() && !rows.isEmpty())
        selection = rows.first();
    const bool selectionChanged = selection != m_selectedRow;

    // The selection changes with the rows, so that the new rows are outlined right away.
    beginResetModel();
    m_rows = std::move(rows);
    m_selectedRow = selection;
    endResetModel();
    m_aggregate = PaymentAnalyticsAggregate::build(payments);
    m_series = AnalyticsSeries::from(m_rows);
    m_loadWarning = warningFor(failed, total, m_rows.size());
    if (selectionChanged)
        Q_EMIT selectedRowChanged();
    Q_EMIT figuresChanged();
    setLoading(false);
}

void AnalyticsDashboardModel::setLoading(bool loading)
{
    const State before = state();
    m_isLoading = loading;
    if (state() != before)
        Q_EMIT stateChanged();
}

void AnalyticsDashboardModel::setProjectsService(ProjectsService *service)
{
    if (m_projectsService == service)
        return;
    m_projectsService = service;
    if (m_followsProjectsClient && service && &service->api() != m_financeClient) {
        // Requests of the old service are dropped with it; a load that used it starts over.
        delete m_finance;
        m_financeClient = &service->api();
        m_finance = new FinanceService(service->api(), this);
        if (m_generation > 0)
            refresh();
    }
    Q_EMIT projectsServiceChanged();
}

AnalyticsDashboardModel::State AnalyticsDashboardModel::state() const
{
    if (m_isLoading)
        return State::Loading;
    if (m_rows.isEmpty() && m_aggregate.totalCount == 0)
        return State::Empty;
    return State::Content;
}

QString AnalyticsDashboardModel::scope() const
{
    return m_preferences->value(scopeKey).toString() == rootsScope ? rootsScope : allScope;
}

void AnalyticsDashboardModel::setScope(const QString &scope)
{
    m_preferences->setValue(scopeKey, scope);
    refresh();
}

QString AnalyticsDashboardModel::tableTitle() const
{
    return scope() == rootsScope ? QStringLiteral("Корневые проекты") : QStringLiteral("Все сметы");
}

void AnalyticsDashboardModel::onPreferenceChanged(const QString &key)
{
    if (key == scopeKey)
        Q_EMIT scopeChanged();
}

void AnalyticsDashboardModel::setSelectedRow(const AnalyticsProjectRow &row)
{
    if (row == m_selectedRow)
        return;
    const QString before = m_selectedRow.id;
    m_selectedRow = row;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const QString &id = m_rows.at(i).id;
        if (id == before || id == row.id)
            Q_EMIT dataChanged(index(int(i)), index(int(i)), {IsSelectedRole});
    }
    Q_EMIT selectedRowChanged();
}

void AnalyticsDashboardModel::select(int row)
{
    if (row >= 0 && row < m_rows.size())
        setSelectedRow(m_rows.at(row));
}

AnalyticsProjectRow AnalyticsDashboardModel::rowAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows.at(row);
}

QStringList AnalyticsDashboardModel::barAxisLabels() const
{
    QStringList escaped;
    escaped.reserve(m_series.barLabels.size());
    for (const QString &label : m_series.barLabels)
        escaped.append(label.toHtmlEscaped());
    return escaped;
}

int AnalyticsDashboardModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant AnalyticsDashboardModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const AnalyticsProjectRow &row = m_rows.at(index.row());
    switch (role) {
    case RowRole:
        return QVariant::fromValue(row);
    case ProjectIdRole:
        return row.id;
    case Qt::DisplayRole:
    case TitleRole:
        return row.titleText();
    case SecondLineRole:
        return row.secondLineText();
    case HasSecondLineRole:
        return row.hasSecondLine();
    case StatusRole:
        return row.statusText();
    case StatusLabelRole:
        return row.statusLabel();
    case PlannedTextRole:
        return row.plannedText();
    case DoneTextRole:
        return row.doneText();
    case PaidTextRole:
        return row.paidText();
    case IsSelectedRole:
        return m_selectedRow.isValid() && row.id == m_selectedRow.id;
    case SpokenFiguresRole:
        return row.spokenFigures();
    default:
        return {};
    }
}

QHash<int, QByteArray> AnalyticsDashboardModel::roleNames() const
{
    return {
        {RowRole, "row"},
        {ProjectIdRole, "projectId"},
        {TitleRole, "title"},
        {SecondLineRole, "secondLine"},
        {HasSecondLineRole, "hasSecondLine"},
        {StatusRole, "status"},
        {StatusLabelRole, "statusLabel"},
        {PlannedTextRole, "plannedText"},
        {DoneTextRole, "doneText"},
        {PaidTextRole, "paidText"},
        {IsSelectedRole, "isSelected"},
        {SpokenFiguresRole, "spokenFigures"},
    };
}
