#include "AnalyticsDashboardModel.h"

#include "API/OffThread.h"
#include "Settings/Preferences.h"
#include "Utils/LineCost.h"
#include "Projects/ProjectRoot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

// One load's exchanges and what they gather, in the order the answers arrive.
struct LoadRun
{
    QList<Project> targets;
    QList<Project> all;
    // Exchanges handed out so far: the targets' analytics first, then every project's payments.
    qsizetype next = 0;
    QList<std::pair<Project, EstimateAnalytics>> answered;
    QList<Payment> payments;
    qsizetype failed = 0;

    qsizetype exchanges() const { return targets.size() + all.size(); }
};

// What the window's thread applies of a load in one step.
struct LoadOutcome
{
    QList<AnalyticsProjectRow> rows;
    PaymentAnalyticsAggregate aggregate;
    AnalyticsSeries series;
    std::optional<QString> warning;
};

// Runs the load's exchanges one after another, as long as there are any and the service lives.
QCoro::Task<void> runExchanges(QPointer<FinanceService> finance, std::shared_ptr<LoadRun> run)
{
    while (finance && run->next < run->exchanges()) {
        const qsizetype at = run->next++;
        if (at < run->targets.size()) {
            const Project target = run->targets.at(at);
            QCoro::Task<std::optional<EstimateAnalytics>> pending = finance->fetchAnalytics(target.id);
            const std::optional<EstimateAnalytics> analytics = co_await std::move(pending);
            if (analytics)
                run->answered.append({target, *analytics});
            else
                ++run->failed;
        } else {
            QCoro::Task<QList<Payment>> pending = finance->fetchPayments(run->all.at(at - run->targets.size()).id);
            const QList<Payment> payments = co_await std::move(pending);
            run->payments.append(payments);
        }
    }
}

// Rows, aggregate, series and warning of a load's answers: pure, on any thread.
LoadOutcome outcomeOf(const LoadRun &run, const QList<Project> &roots)
{
    LoadOutcome outcome;
    outcome.rows.reserve(run.answered.size());
    for (const auto &[project, analytics] : run.answered)
        outcome.rows.append(AnalyticsDashboardModel::makeRow(project, analytics, roots));
    AnalyticsDashboardModel::sortRows(outcome.rows);
    outcome.aggregate = PaymentAnalyticsAggregate::build(run.payments);
    outcome.series = AnalyticsSeries::from(outcome.rows);
    outcome.warning = AnalyticsDashboardModel::warningFor(run.failed, run.targets.size(), outcome.rows.size());
    return outcome;
}

// The outcome worked out on a worker thread, so that thousands of rows never hold up the window.
QCoro::Task<LoadOutcome> outcomeOffThread(std::shared_ptr<const LoadRun> run, QList<Project> roots, QThreadPool *pool)
{
    return OffThread::run([run = std::move(run), roots = std::move(roots)] { return outcomeOf(*run, roots); }, pool);
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

    auto run = std::make_shared<LoadRun>();
    run->all = projects ? projects->projects() : QList<Project>();
    const QList<Project> roots = projects ? projects->rootProjects() : QList<Project>();
    run->targets = self->scope() == rootsScope ? roots : run->all;

    QPointer<FinanceService> finance = self->m_finance;
    std::vector<QCoro::Task<void>> lanes;
    const qsizetype laneCount = std::min<qsizetype>(requestsInFlight, run->exchanges());
    lanes.reserve(std::size_t(laneCount));
    for (qsizetype i = 0; i < laneCount; ++i)
        lanes.push_back(runExchanges(finance, run));
    for (QCoro::Task<void> &lane : lanes)
        co_await std::move(lane);
    if (!self || generation != self->m_generation)
        co_return;

    // On the threads of the projects service the model follows.
    QCoro::Task<LoadOutcome> working =
        outcomeOffThread(run, roots, projects ? &projects->workPool() : &WorkThreads::shared());
    LoadOutcome outcome = co_await std::move(working);
    if (!self || generation != self->m_generation)
        co_return;
    self->apply(std::move(outcome.rows), std::move(outcome.aggregate), std::move(outcome.series),
                std::move(outcome.warning));
}

void AnalyticsDashboardModel::apply(QList<AnalyticsProjectRow> rows, PaymentAnalyticsAggregate aggregate,
                                    AnalyticsSeries series, std::optional<QString> warning)
{
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
    m_aggregate = std::move(aggregate);
    m_series = std::move(series);
    m_loadWarning = std::move(warning);
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

int AnalyticsDashboardModel::rowOf(const QString &projectId) const
{
    const auto found = std::find_if(m_rows.cbegin(), m_rows.cend(),
                                    [&projectId](const AnalyticsProjectRow &row) { return row.id == projectId; });
    return found == m_rows.cend() ? -1 : int(found - m_rows.cbegin());
}

QList<AnalyticsFigure> AnalyticsDashboardModel::kpiFigures() const
{
    return {
        {QStringLiteral("Смет в выборке"), QString::number(m_rows.size()), QStringLiteral("folder.fill"), {}},
        {QStringLiteral("План"), planText(), QStringLiteral("chart.line.uptrend.xyaxis"), {}},
        {QStringLiteral("Выполнено"), doneText(), QStringLiteral("checkmark.circle.fill"), {}},
        {QStringLiteral("Оплачено (сметы)"), paidText(), QStringLiteral("rublesign.circle.fill"), {}},
    };
}

QList<AnalyticsFigure> AnalyticsDashboardModel::paymentFigures() const
{
    return {
        {QStringLiteral("Всего записей"),
         QString::number(paymentsCount()),
         QStringLiteral("list.bullet.rectangle"),
         {}},
        {QStringLiteral("Получено"), QString::number(receivedCount()), QStringLiteral("checkmark.seal.fill"),
         receivedSums()},
        {QStringLiteral("Ожидается"), QString::number(pendingCount()), QStringLiteral("clock.fill"), pendingSums()},
        {QStringLiteral("Просрочено"), QString::number(overdueCount()), QStringLiteral("exclamationmark.triangle.fill"),
         overdueSums()},
    };
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
