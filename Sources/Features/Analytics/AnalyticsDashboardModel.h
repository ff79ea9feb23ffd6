#pragma once

#include "API/FinanceService.h"
#include "API/ProjectsService.h"
#include "AnalyticsFigure.h"
#include "AnalyticsProjectRow.h"
#include "AnalyticsSeries.h"
#include "PaymentAnalyticsAggregate.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>

class Preferences;

// The analytics dashboard: the rows of the chosen projects with planned, done and paid money,
// the aggregate of every payment of the account, and what the page derives from them, all
// formatted here. Each load replaces the lot at once, and only the load started last applies.
class AnalyticsDashboardModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY stateChanged)
    // "roots" or "allEstimates"; writing stores it and loads.
    Q_PROPERTY(QString scope READ scope WRITE setScope NOTIFY scopeChanged)
    Q_PROPERTY(QString tableTitle READ tableTitle NOTIFY scopeChanged)
    // The picker's segments in order: stored values and their labels.
    Q_PROPERTY(QStringList scopeValues READ scopeValues CONSTANT)
    Q_PROPERTY(QStringList scopeLabels READ scopeLabels CONSTANT)
    Q_PROPERTY(AnalyticsProjectRow selectedRow READ selectedRow WRITE setSelectedRow NOTIFY selectedRowChanged)
    Q_PROPERTY(int count READ count NOTIFY figuresChanged)
    Q_PROPERTY(QString loadWarning READ loadWarningText NOTIFY figuresChanged)
    Q_PROPERTY(bool hasLoadWarning READ hasLoadWarning NOTIFY figuresChanged)
    Q_PROPERTY(QString planText READ planText NOTIFY figuresChanged)
    Q_PROPERTY(QString doneText READ doneText NOTIFY figuresChanged)
    Q_PROPERTY(QString paidText READ paidText NOTIFY figuresChanged)
    Q_PROPERTY(int paymentsCount READ paymentsCount NOTIFY figuresChanged)
    Q_PROPERTY(int receivedCount READ receivedCount NOTIFY figuresChanged)
    Q_PROPERTY(QString receivedSums READ receivedSums NOTIFY figuresChanged)
    Q_PROPERTY(int pendingCount READ pendingCount NOTIFY figuresChanged)
    Q_PROPERTY(QString pendingSums READ pendingSums NOTIFY figuresChanged)
    Q_PROPERTY(int overdueCount READ overdueCount NOTIFY figuresChanged)
    Q_PROPERTY(QString overdueSums READ overdueSums NOTIFY figuresChanged)
    // The two grids of cards, in order: the estimates' money and the payments by status.
    Q_PROPERTY(QVariantList kpiFigures READ kpiFigureList NOTIFY figuresChanged)
    Q_PROPERTY(QVariantList paymentFigures READ paymentFigureList NOTIFY figuresChanged)
    Q_PROPERTY(QStringList barLabels READ barLabels NOTIFY figuresChanged)
    Q_PROPERTY(QStringList barAxisLabels READ barAxisLabels NOTIFY figuresChanged)
    Q_PROPERTY(QList<double> barPlanned READ barPlanned NOTIFY figuresChanged)
    Q_PROPERTY(QList<double> barDone READ barDone NOTIFY figuresChanged)
    Q_PROPERTY(QList<double> barPaid READ barPaid NOTIFY figuresChanged)
    Q_PROPERTY(double barAxisMaximum READ barAxisMaximum NOTIFY figuresChanged)
    Q_PROPERTY(QStringList barNames READ barNames NOTIFY figuresChanged)
    Q_PROPERTY(QStringList barTitles READ barTitles NOTIFY figuresChanged)
    Q_PROPERTY(QStringList barShortTitles READ barShortTitles NOTIFY figuresChanged)
    Q_PROPERTY(QList<double> barAxisTicks READ barAxisTicks NOTIFY figuresChanged)
    Q_PROPERTY(QStringList barAxisTickLabels READ barAxisTickLabels NOTIFY figuresChanged)
    Q_PROPERTY(QStringList statusValues READ statusValues NOTIFY figuresChanged)
    Q_PROPERTY(QStringList statusLabels READ statusLabels NOTIFY figuresChanged)
    Q_PROPERTY(QList<int> statusCounts READ statusCounts NOTIFY figuresChanged)

public:
    enum class State { Loading, Empty, Content };
    Q_ENUM(State)

    enum Role {
        RowRole = Qt::UserRole + 1,
        ProjectIdRole,
        TitleRole,
        SecondLineRole,
        HasSecondLineRole,
        StatusRole,
        StatusLabelRole,
        PlannedTextRole,
        DoneTextRole,
        PaidTextRole,
        IsSelectedRole,
        SpokenFiguresRole,
    };

    static inline const QString scopeKey = QStringLiteral("analytics.scope");
    static inline const QString rootsScope = QStringLiteral("roots");
    static inline const QString allScope = QStringLiteral("allEstimates");

    // On the shared preferences and the REST client of whichever projects service it is given.
    explicit AnalyticsDashboardModel(QObject *parent = nullptr);
    AnalyticsDashboardModel(APIClient &api, Preferences &preferences, QObject *parent = nullptr);

    // A row of a project and its analytics: an iteration under a listed root takes the root's
    // name and "label · own name" as subtitle; money and currency come from the analytics, done
    // money from the lines marked done.
    static AnalyticsProjectRow makeRow(const Project &project, const EstimateAnalytics &analytics,
                                       const QList<Project> &roots);

    // Reloads the project list, then fetches every target's analytics and every project's
    // payments, requestsInFlight at a time; turns the answers into rows, sums and series on a
    // worker thread; applies the lot in one step, and nothing when a newer load started
    // meanwhile or the model is gone.
    QCoro::Task<void> load();
    // Enough to keep busy every connection the network opens to one host; the rest wait their
    // turn, so that thousands of projects never start thousands of exchanges in one go.
    static constexpr int requestsInFlight = 12;
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void select(int row);
    Q_INVOKABLE AnalyticsProjectRow rowAt(int row) const;
    // The table's row of the project; -1 when it is not listed.
    Q_INVOKABLE int rowOf(const QString &projectId) const;

    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);
    State state() const;
    bool isLoading() const { return m_isLoading; }
    QString scope() const;
    void setScope(const QString &scope);
    QString tableTitle() const;
    static QStringList scopeValues() { return {rootsScope, allScope}; }
    static QStringList scopeLabels() { return {QStringLiteral("Корневые"), QStringLiteral("Все сметы")}; }
    const AnalyticsProjectRow &selectedRow() const { return m_selectedRow; }
    void setSelectedRow(const AnalyticsProjectRow &row);
    int count() const { return int(m_rows.size()); }
    const QList<AnalyticsProjectRow> &rows() const { return m_rows; }
    const std::optional<QString> &loadWarning() const { return m_loadWarning; }
    QString loadWarningText() const { return m_loadWarning.value_or(QString()); }
    bool hasLoadWarning() const { return m_loadWarning.has_value(); }
    const PaymentAnalyticsAggregate &paymentAggregate() const { return m_aggregate; }
    const AnalyticsSeries &series() const { return m_series; }
    QString planText() const { return m_series.planText; }
    QString doneText() const { return m_series.doneText; }
    QString paidText() const { return m_series.paidText; }
    int paymentsCount() const { return m_aggregate.totalCount; }
    int receivedCount() const { return m_aggregate.received.count; }
    QString receivedSums() const { return m_aggregate.received.formattedSums(); }
    int pendingCount() const { return m_aggregate.pending.count; }
    QString pendingSums() const { return m_aggregate.pending.formattedSums(); }
    int overdueCount() const { return m_aggregate.pendingOverdue.count; }
    QString overdueSums() const { return m_aggregate.pendingOverdue.formattedSums(); }
    QList<AnalyticsFigure> kpiFigures() const;
    QList<AnalyticsFigure> paymentFigures() const;
    QVariantList kpiFigureList() const { return AnalyticsFigure::toVariantList(kpiFigures()); }
    QVariantList paymentFigureList() const { return AnalyticsFigure::toVariantList(paymentFigures()); }
    QStringList barLabels() const { return m_series.barLabels; }
    // The labels escaped: the chart's category axis reads its labels as rich text.
    QStringList barAxisLabels() const;
    QList<double> barPlanned() const { return m_series.barPlanned; }
    QList<double> barDone() const { return m_series.barDone; }
    QList<double> barPaid() const { return m_series.barPaid; }
    double barAxisMaximum() const { return m_series.barAxisMaximum; }
    QStringList barNames() const { return m_series.barNames; }
    QStringList barTitles() const { return m_series.barTitles; }
    QStringList barShortTitles() const { return m_series.barShortTitles; }
    QList<double> barAxisTicks() const { return m_series.barAxisTicks; }
    QStringList barAxisTickLabels() const { return m_series.barAxisTickLabels; }
    QStringList statusValues() const { return m_series.statusValues; }
    QStringList statusLabels() const { return m_series.statusLabels; }
    QList<int> statusCounts() const { return m_series.statusCounts; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Stable, largest planned cost first; a cost that is not a number sorts last.
    static void sortRows(QList<AnalyticsProjectRow> &rows);
    // The load's warning for failed of total targets and the rows that arrived.
    static std::optional<QString> warningFor(qsizetype failed, qsizetype total, qsizetype rows);

Q_SIGNALS:
    void projectsServiceChanged();
    void stateChanged();
    void scopeChanged();
    void selectedRowChanged();
    void figuresChanged();

private:
    static QCoro::Task<void> loadFor(QPointer<AnalyticsDashboardModel> self, quint64 generation);
    void apply(QList<AnalyticsProjectRow> rows, PaymentAnalyticsAggregate aggregate, AnalyticsSeries series,
               std::optional<QString> warning);
    void setLoading(bool loading);
    void onPreferenceChanged(const QString &key);

    FinanceService *m_finance = nullptr;
    Preferences *m_preferences = nullptr;
    // Set when built without a client: payments go where the projects service's requests go.
    bool m_followsProjectsClient = false;
    // The client m_finance calls; none for the shared one.
    const APIClient *m_financeClient = nullptr;
    QPointer<ProjectsService> m_projectsService;
    quint64 m_generation = 0;
    bool m_isLoading = true;
    QList<AnalyticsProjectRow> m_rows;
    PaymentAnalyticsAggregate m_aggregate;
    AnalyticsSeries m_series;
    std::optional<QString> m_loadWarning;
    AnalyticsProjectRow m_selectedRow;
};
