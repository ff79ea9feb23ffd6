// The analytics dashboard over the test backend: what one load makes of projects, analytics and
// payments, which load applies when they overlap, and the texts of its rows.
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "BoundedTexts.h"
#include "FiniteTexts.h"
#include "PoolHold.h"
#include "Features/Analytics/AnalyticsDashboardModel.h"
#include "Settings/Preferences.h"
#include "TestBackend.h"
#include "Utils/MoneyFormat.h"
#include "Utils/Text.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QNetworkReply>
#include <QThreadPool>
#include <QTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

const QString rub = QStringLiteral("RUB");
const QString totalFailureText =
    QStringLiteral("Не удалось загрузить аналитику по сметам. Проверьте сеть и повторите.");

QString analyticsPath(const QString &id)
{
    return QStringLiteral("projects/%1/estimate-analytics").arg(id);
}

QJsonObject analyticsJson(const QString &id, double planned, const QString &currency = rub)
{
    return QJsonObject{{QStringLiteral("projectId"), id},
                       {QStringLiteral("currency"), currency},
                       {QStringLiteral("planned"),
                        QJsonObject{{QStringLiteral("totalHours"), 1}, {QStringLiteral("totalCost"), planned}}},
                       {QStringLiteral("paid"), QJsonObject{{QStringLiteral("receivedTotal"), 0}}}};
}

ProjectItem line(double hours, double rate, std::optional<bool> done)
{
    ProjectItem item;
    item.title = QStringLiteral("line");
    item.category = QStringLiteral("backend");
    item.hours = hours;
    item.rate = rate;
    item.done = done;
    return item;
}

Project project(const QString &id, const QString &name)
{
    Project p;
    p.id = id;
    p.name = name;
    p.currency = rub;
    return p;
}

EstimateAnalytics analytics(double planned, double hours, double paid, const QString &currency = rub)
{
    EstimateAnalytics a;
    a.currency = currency;
    a.planned.totalCost = planned;
    a.planned.totalHours = hours;
    a.paid.receivedTotal = paid;
    return a;
}

AnalyticsProjectRow row(const QString &id, const QString &name, double planned, const QString &currency = rub)
{
    AnalyticsProjectRow r;
    r.id = id;
    r.name = name;
    r.currency = currency;
    r.plannedCost = planned;
    return r;
}

QStringList ids(const AnalyticsDashboardModel &model)
{
    QStringList out;
    for (const AnalyticsProjectRow &r : model.rows())
        out.append(r.id);
    return out;
}

} // namespace

class tst_AnalyticsDashboardModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // The rows' work threads, the test's own.
    QThreadPool m_work;
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<ProjectsService> m_projects;
    QString m_accountId;

    std::unique_ptr<AnalyticsDashboardModel> dashboard()
    {
        auto model = std::make_unique<AnalyticsDashboardModel>(*m_client, *m_preferences);
        model->setProjectsService(m_projects.get());
        return model;
    }
    // fields: JSON of the project; a "cost" sets the totals the analytics report.
    QString seed(const QString &name, QJsonObject fields = {})
    {
        fields.insert(QStringLiteral("name"), name);
        const double cost = fields.take(QStringLiteral("cost")).toDouble();
        QJsonObject &added = m_backend.data().addProject(m_accountId, fields);
        if (cost != 0)
            added.insert(QStringLiteral("totalCost"), cost);
        return added.value(QStringLiteral("id")).toString();
    }
    void addPayment(const QString &projectId, double amount, const QString &status = QStringLiteral("received"))
    {
        m_backend.data().addPayment(projectId, m_accountId, amount, status);
    }
    void setCost(const QString &id, double cost)
    {
        m_backend.data().project(id)->insert(QStringLiteral("totalCost"), cost);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_accountId = m_backend.data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret")).id;
        const QString token = m_backend.data().issueToken(m_accountId);
        m_client->setTokenProvider([token] { return std::optional<QString>(token); });
    }
    void init()
    {
        m_backend.clearRequests();
        m_backend.clearOverrides();
        m_backend.data().projects.clear();
        m_backend.data().payments.clear();
        QFile::remove(m_dir.filePath(QStringLiteral("prefs.ini")));
        m_preferences = std::make_unique<Preferences>(m_dir.filePath(QStringLiteral("prefs.ini")));
        m_projects = std::make_unique<ProjectsService>(false, nullptr, m_client.get());
        m_projects->setWorkPool(&m_work);
        m_client->setTransferTimeout(APIClient::defaultTransferTimeout);
    }
    void cleanup()
    {
        m_projects.reset();
        m_preferences.reset();
    }

    void emptyAccount()
    {
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->state(), AnalyticsDashboardModel::State::Empty);
        QVERIFY(!model->hasLoadWarning());
        QVERIFY(!model->selectedRow().isValid());
        QCOMPARE(model->planText(), QString());
        QCOMPARE(model->receivedSums(), QStringLiteral("—"));
    }

    // Ten targets of which two give no analytics (an error, a null record).
    void partialFailure()
    {
        QStringList seeded;
        for (int i = 0; i < 10; ++i)
            seeded.append(seed(QStringLiteral("P%1").arg(i), {{QStringLiteral("cost"), 100 + i}}));
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(seeded.at(3)),
                              BackendReply::message(500, QStringLiteral("boom")));
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(seeded.at(7)), BackendReply::raw(200, "null"));
        auto model = dashboard();
        QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        bool selectedAtReset = false;
        connect(model.get(), &QAbstractItemModel::modelReset, this, [&] {
            selectedAtReset = model->data(model->index(0), AnalyticsDashboardModel::IsSelectedRole).toBool();
        });
        await(model->load());
        QCOMPARE(model->count(), 8);
        QCOMPARE(model->loadWarningText(), QStringLiteral("Часть смет не загрузилась (2 из 10)."));
        QCOMPARE(model->state(), AnalyticsDashboardModel::State::Content);
        // Largest planned cost first, and it is selected: a view reading the new rows sees it so.
        QCOMPARE(model->rows().first().id, seeded.at(9));
        QCOMPARE(model->selectedRow().id, seeded.at(9));
        QVERIFY(selectedAtReset);
        QVERIFY(!ids(*model).contains(seeded.at(3)));
    }

    // Every analytics request fails: with payments the page shows the warning, without any it is
    // empty.
    void totalFailure_data()
    {
        QTest::addColumn<bool>("withPayments");
        QTest::addColumn<AnalyticsDashboardModel::State>("state");
        QTest::newRow("with payments") << true << AnalyticsDashboardModel::State::Content;
        QTest::newRow("without payments") << false << AnalyticsDashboardModel::State::Empty;
    }
    void totalFailure()
    {
        QFETCH(bool, withPayments);
        QFETCH(AnalyticsDashboardModel::State, state);
        const QString a = seed(QStringLiteral("A"));
        const QString b = seed(QStringLiteral("B"));
        if (withPayments)
            addPayment(b, 50);
        for (const QString &id : {a, b})
            m_backend.setOverride(QStringLiteral("GET"), analyticsPath(id), BackendReply::message(500, QString()));
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->count(), 0);
        QCOMPARE(model->loadWarningText(), totalFailureText);
        QCOMPARE(model->state(), state);
        QCOMPARE(model->paymentsCount(), withPayments ? 1 : 0);
    }

    // Iterations are no rows in the roots scope, yet their payments count.
    void rootsScopeCountsIterationPayments()
    {
        const QString root =
            seed(QStringLiteral("Сайт"), {{QStringLiteral("projectType"), QStringLiteral("iterative")}});
        const QString iteration = seed(QStringLiteral("Спринт"), {{QStringLiteral("parentProjectId"), root}});
        addPayment(root, 10);
        addPayment(iteration, 20, QStringLiteral("pending"));
        m_preferences->setValue(AnalyticsDashboardModel::scopeKey, AnalyticsDashboardModel::rootsScope);
        auto model = dashboard();
        await(model->load());
        QCOMPARE(ids(*model), QStringList{root});
        QCOMPARE(model->tableTitle(), QStringLiteral("Корневые проекты"));
        QCOMPARE(model->paymentsCount(), 2);
        QCOMPARE(model->receivedCount(), 1);
        QCOMPARE(model->pendingCount(), 1);
        QCOMPARE(m_backend.requests(QStringLiteral("GET"), analyticsPath(iteration)).size(), 0);
    }

    void scopeFromPreference_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("scope");
        QTest::newRow("roots") << QVariant(QStringLiteral("roots")) << "roots";
        QTest::newRow("empty") << QVariant(QString()) << "allEstimates";
        QTest::newRow("other text") << QVariant(QStringLiteral("Roots")) << "allEstimates";
        QTest::newRow("unset") << QVariant() << "allEstimates";
    }
    void scopeFromPreference()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, scope);
        if (stored.isValid())
            m_preferences->setValue(AnalyticsDashboardModel::scopeKey, stored);
        auto model = dashboard();
        QCOMPARE(model->scope(), scope);
    }

    // A reload keeps the selected project with its fresh figures; a scope that drops it selects
    // the first row.
    void selectionAcrossLoads()
    {
        const QString root = seed(QStringLiteral("Сайт"), {{QStringLiteral("cost"), 500}});
        const QString iteration =
            seed(QStringLiteral("Спринт"), {{QStringLiteral("parentProjectId"), root}, {QStringLiteral("cost"), 200}});
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->selectedRow().id, root);
        model->select(1);
        QCOMPARE(model->selectedRow().id, iteration);

        setCost(iteration, 900);
        await(model->load());
        QCOMPARE(ids(*model), (QStringList{iteration, root}));
        QCOMPARE(model->selectedRow().id, iteration);
        QCOMPARE(model->selectedRow().plannedCost, 900.0);
        // A project's card is found again by its project after the reload moved it.
        QCOMPARE(model->rowOf(root), 1);
        QCOMPARE(model->rowOf(QStringLiteral("gone")), -1);

        QSignalSpy scopeChanged(model.get(), &AnalyticsDashboardModel::scopeChanged);
        model->setScope(AnalyticsDashboardModel::rootsScope);
        QCOMPARE(m_preferences->value(AnalyticsDashboardModel::scopeKey).toString(), QStringLiteral("roots"));
        QCOMPARE(scopeChanged.size(), 1);
        QVERIFY(model->isLoading());
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(ids(*model), QStringList{root});
        QCOMPARE(model->selectedRow().id, root);
    }

    void chartOfFifteenRows()
    {
        for (int i = 0; i < 15; ++i)
            seed(QStringLiteral("Проект %1").arg(i, 2, 10, QLatin1Char('0')), {{QStringLiteral("cost"), 1000 - i}});
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->count(), 15);
        QCOMPARE(model->series().entries.size(), 36);
        QCOMPARE(model->barLabels().size(), 12);
        QCOMPARE(model->barLabels().first(), QStringLiteral("Проект 00"));
        QCOMPARE(model->series().entries.at(1).series, QStringLiteral("Выполнено"));
        QCOMPARE(model->series().entries.at(1).id, model->rows().first().id + QStringLiteral("-done"));
        QCOMPARE(model->statusValues(), QStringList{QStringLiteral("draft")});
        QCOMPARE(model->statusLabels(), QStringList{QStringLiteral("Черновик")});
        QCOMPARE(model->statusCounts(), QList<int>{15});
    }

    // Iterations carry their root's name, and long names meet in their first 14 characters:
    // the category axis would show one bar group per label, so each group is their sum. The axis
    // reads labels as rich text.
    void repeatedLabelsAreSummed()
    {
        const QString root = seed(QStringLiteral("Сайт"), {{QStringLiteral("cost"), 400}});
        seed(QStringLiteral("Май"), {{QStringLiteral("parentProjectId"), root}, {QStringLiteral("cost"), 300}});
        seed(QStringLiteral("Проект длинный A"), {{QStringLiteral("cost"), 350}});
        seed(QStringLiteral("Проект длинный B"), {{QStringLiteral("cost"), 100}});
        seed(QStringLiteral("<b>A&B</b>"), {{QStringLiteral("cost"), 50}});
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->series().entries.size(), 15);
        QCOMPARE(model->barLabels(),
                 (QStringList{QStringLiteral("Сайт"), QStringLiteral("Проект длинный"), QStringLiteral("<b>A&B</b>")}));
        // A name is text, never markup of the axis.
        QCOMPARE(model->barAxisLabels().last(), QStringLiteral("&lt;b&gt;A&amp;B&lt;/b&gt;"));
        QCOMPARE(model->barPlanned(), (QList<double>{700, 450, 50}));
        QCOMPARE(model->barDone(), (QList<double>{0, 0, 0}));
        QCOMPARE(model->barAxisMaximum(), 700.0);
        // Under the bars a group goes by the words its names share; its tooltip names them all.
        QCOMPARE(
            model->barTitles(),
            (QStringList{QStringLiteral("Сайт"), QStringLiteral("Проект длинный…"), QStringLiteral("<b>A&B</b>")}));
        QCOMPARE(model->barNames().at(1), QStringLiteral("Проект длинный A\nПроект длинный B"));
        QCOMPARE(model->barNames().first(), QStringLiteral("Сайт"));
        // The value axis reads as money of the one currency.
        QCOMPARE(model->barAxisTicks(), (QList<double>{175, 350, 525, 700}));
        QCOMPARE(model->barAxisTickLabels().last(), MoneyFormat::format(700, QStringLiteral("RUB")));
    }

    // Figures of the largest amount overflow every sum: the texts say so, the chart stays drawable.
    void overflowingFigures()
    {
        const double largest = std::numeric_limits<double>::max();
        for (const QString &name : {QStringLiteral("Сайт"), QStringLiteral("Сайт")}) {
            const QString id = seed(name, {{QStringLiteral("cost"), largest}});
            addPayment(id, largest);
        }
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->count(), 2);
        QStringList shown{model->planText(),     model->doneText(),    model->paidText(),
                          model->receivedSums(), model->pendingSums(), model->overdueSums()};
        for (const AnalyticsProjectRow &r : model->rows())
            shown << r.plannedText() << r.doneText() << r.paidText() << r.remainingText() << r.hoursText();
        for (const QString &text : shown)
            QVERIFY2(showsOnlyFiniteFigures(text), qPrintable(text));
        QCOMPARE(model->planText(), QStringLiteral("—"));
        QCOMPARE(model->receivedSums(), QStringLiteral("—"));
        QCOMPARE(model->rows().first().plannedText(), MoneyFormat::format(largest, rub));

        // One bar group of both: its sum is drawn at the largest value, under a finite axis.
        QCOMPARE(model->barPlanned(), QList<double>{largest});
        QVERIFY(std::isfinite(model->barAxisMaximum()));
        QVERIFY(model->barAxisMaximum() >= largest);
        for (const AnalyticsChartEntry &entry : model->series().entries)
            QVERIFY(std::isfinite(entry.value));
    }

    // Bars near the largest double in two currencies: the value axis keeps finite, rising marks,
    // written as positive grouped digits short enough for their one line.
    void hugeBarsKeepTheAxisFinite()
    {
        const double largest = std::numeric_limits<double>::max();
        const AnalyticsSeries series =
            AnalyticsSeries::from({row(QStringLiteral("a"), QStringLiteral("A"), largest),
                                   row(QStringLiteral("b"), QStringLiteral("B"), largest, QStringLiteral("USD"))});
        QCOMPARE(series.barAxisTicks.size(), AnalyticsSeries::axisTicks);
        double below = 0;
        for (const double tick : series.barAxisTicks) {
            QVERIFY(std::isfinite(tick));
            QVERIFY(tick > below);
            below = tick;
        }
        for (const QString &label : series.barAxisTickLabels) {
            QVERIFY2(label.front().isDigit(), qPrintable(label));
            QVERIFY2(Text::graphemeCount(label) <= AnalyticsSeries::axisLabelGraphemes, qPrintable(label));
            QVERIFY2(label.endsWith(QChar(0x2026)), qPrintable(label));
        }
    }

    // Names of any length reach the detail panel bounded for its wrapped texts.
    void hugeNamesAreBoundedForLayout()
    {
        AnalyticsProjectRow r = row(QStringLiteral("p"), QStringLiteral("имя\n").repeated(200000), 1);
        r.subtitle = QStringLiteral("клиент ").repeated(200000);
        for (const bool iteration : {false, true}) {
            r.isIteration = iteration;
            for (const QString &shown : {r.titleText(), r.secondLineText()})
                QVERIFY2(isBoundedForLayout(shown), qPrintable(QString::number(shown.size())));
        }
    }

    void twoCurrencies()
    {
        seed(QStringLiteral("Доллары"), {{QStringLiteral("cost"), 300}, {QStringLiteral("currency"), "USD"}});
        seed(QStringLiteral("Евро"), {{QStringLiteral("cost"), 200}, {QStringLiteral("currency"), "EUR"}});
        seed(QStringLiteral("Ещё евро"), {{QStringLiteral("cost"), 50}, {QStringLiteral("currency"), "EUR"}});
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->planText(),
                 MoneyFormat::format(250, QStringLiteral("EUR")) + QLatin1Char('\n')
                     + MoneyFormat::format(300, QStringLiteral("USD")));
        QCOMPARE(model->paidText().count(QLatin1Char('\n')), 1);
        // Bars of mixed currencies: the axis marks are grouped digits without a currency.
        QCOMPARE(model->barAxisMaximum(), 300.0);
        QCOMPARE(
            model->barAxisTickLabels(),
            (QStringList{QStringLiteral("75"), QStringLiteral("150"), QStringLiteral("225"), QStringLiteral("300")}));
    }

    // Large marks are grouped by thousands, the way every amount of the window is written.
    void axisMarksAreGrouped()
    {
        seed(QStringLiteral("Большой"), {{QStringLiteral("cost"), 1125000}});
        auto model = dashboard();
        await(model->load());
        QCOMPARE(model->barAxisMaximum(), 1500000.0);
        QCOMPARE(model->barAxisTickLabels().first(), MoneyFormat::format(375000, QStringLiteral("RUB")));
        QVERIFY(model->barAxisTickLabels().first().contains(QChar(0x00A0)));
        QVERIFY(model->barAxisTickLabels().first().contains(QStringLiteral("₽")));
    }

    // An older load that ends after a newer one leaves the newer one's figures. The older one's
    // analytics never come and fail at the transfer timeout: applied, they would empty the rows.
    void overlappingLoads()
    {
        const QString id = seed(QStringLiteral("A"), {{QStringLiteral("cost"), 100}});
        m_client->setTransferTimeout(1500);
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(id), BackendReply::silence());
        auto model = dashboard();
        QCoro::Task<void> older = model->load();
        QTRY_COMPARE(m_backend.requests(QStringLiteral("GET"), analyticsPath(id)).size(), 1);
        m_backend.clearOverrides();
        await(model->load());
        QCOMPARE(model->count(), 1);
        QVERIFY(!model->isLoading());
        QSignalSpy figures(model.get(), &AnalyticsDashboardModel::figuresChanged);
        QSignalSpy selection(model.get(), &AnalyticsDashboardModel::selectedRowChanged);
        await(std::move(older));
        QCOMPARE(model->count(), 1);
        QCOMPARE(model->rows().first().plannedCost, 100.0);
        QCOMPARE(model->selectedRow().id, id);
        QVERIFY(!model->hasLoadWarning());
        QCOMPARE(figures.size() + selection.size(), 0);
        QVERIFY(!model->isLoading());
    }

    // An older load that ends while a newer one runs neither applies nor ends the loading state.
    void olderLoadEndingFirstKeepsLoading()
    {
        const QString id = seed(QStringLiteral("A"), {{QStringLiteral("cost"), 100}});
        m_client->setTransferTimeout(1500);
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(id),
                              BackendReply::json(200, analyticsJson(id, 700)).after(300));
        auto model = dashboard();
        QCoro::Task<void> older = model->load();
        QTRY_COMPARE(m_backend.requests(QStringLiteral("GET"), analyticsPath(id)).size(), 1);
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(id), BackendReply::silence());
        QCoro::Task<void> newer = model->load();
        await(std::move(older));
        QVERIFY(model->isLoading());
        QCOMPARE(model->count(), 0);
        await(std::move(newer));
        QVERIFY(!model->isLoading());
        QCOMPARE(model->count(), 0);
        QCOMPARE(model->loadWarningText(), totalFailureText);
    }

    // Built by QML without a client, the dashboard asks the backend its projects service uses.
    void followsTheProjectsServiceClient()
    {
        const QString id = seed(QStringLiteral("A"), {{QStringLiteral("cost"), 1234}});
        AnalyticsDashboardModel model;
        model.setProjectsService(m_projects.get());
        await(model.load());
        QCOMPARE(ids(model), QStringList{id});
        QCOMPARE(model.barAxisMaximum(), 1500.0);
    }

    // A load whose dashboard is gone ends quietly and touches nothing.
    void dashboardGoneDuringLoad()
    {
        const QString id = seed(QStringLiteral("A"), {{QStringLiteral("cost"), 100}});
        addPayment(id, 10);
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(id),
                              BackendReply::json(200, analyticsJson(id, 100)).after(300));
        auto model = dashboard();
        int touched = 0;
        connect(model.get(), &AnalyticsDashboardModel::selectedRowChanged, this, [&] { ++touched; });
        connect(model.get(), &AnalyticsDashboardModel::figuresChanged, this, [&] { ++touched; });
        QCoro::Task<void> pending = model->load();
        QTRY_COMPARE(m_backend.requests(QStringLiteral("GET"), analyticsPath(id)).size(), 1);
        model.reset();
        await(std::move(pending));
        QCOMPARE(touched, 0);
        // The projects service it used still works.
        await(m_projects->load(true));
        QCOMPARE(m_projects->projects().size(), 1);
    }

    // A dashboard of many projects that goes mid-load takes its requests with it: those under
    // way are aborted, the queued ones never start, and the load ends at once.
    void dashboardGoneAbortsItsRequests()
    {
        QStringList ids;
        for (int i = 0; i < 40; ++i)
            ids.append(seed(QStringLiteral("P%1").arg(i), {{QStringLiteral("cost"), 100}}));
        for (const QString &id : std::as_const(ids)) {
            m_backend.setOverride(QStringLiteral("GET"), analyticsPath(id), BackendReply::silence());
            m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects/%1/payments").arg(id),
                                  BackendReply::silence());
        }
        m_client->setTransferTimeout(20000);
        auto model = dashboard();
        QCoro::Task<void> pending = model->load();
        const auto finance = [this] {
            qsizetype count = 0;
            for (const RecordedRequest &request : m_backend.requests())
                count += request.path.endsWith(QLatin1String("/estimate-analytics"))
                    || request.path.endsWith(QLatin1String("/payments"));
            return count;
        };
        QTRY_VERIFY(finance() > 0);
        QElapsedTimer clock;
        clock.start();
        model.reset();
        await(std::move(pending));
        QVERIFY2(clock.elapsed() < 10000, "the load ends without waiting for its answers");
        // Every request that reached the backend is given up, and no other follows.
        QTRY_COMPARE(m_backend.abandonedRequests().size(), finance());
        QTest::qWait(300);
        QCOMPARE(m_backend.abandonedRequests().size(), finance());
        QVERIFY2(finance() < 80, "the queued requests never start");
    }

    // Hundreds of exchanges go out a few at a time, each once, and every answer counts.
    void requestsGoOutAFewAtATime()
    {
        QStringList ids;
        for (int i = 0; i < 40; ++i) {
            ids.append(seed(QStringLiteral("P%1").arg(i), {{QStringLiteral("cost"), 100 + i}}));
            addPayment(ids.last(), 10);
            m_backend.setDelay(QStringLiteral("GET"), analyticsPath(ids.last()), 20);
        }
        auto model = dashboard();
        qsizetype mostOpen = 0;
        QTimer sampler;
        // Answered exchanges wait a moment for their deletion: only those still running count.
        connect(&sampler, &QTimer::timeout, this, [&] {
            const QList<QNetworkReply *> replies = m_client->network()->findChildren<QNetworkReply *>();
            mostOpen = std::max(mostOpen,
                                std::count_if(replies.cbegin(), replies.cend(),
                                              [](const QNetworkReply *reply) { return reply->isRunning(); }));
        });
        sampler.start(2);
        await(model->load());
        sampler.stop();
        QVERIFY2(mostOpen > 0, "sampled while the exchanges ran");
        QVERIFY2(mostOpen <= AnalyticsDashboardModel::requestsInFlight, qPrintable(QString::number(mostOpen)));
        QCOMPARE(model->count(), 40);
        QCOMPARE(model->paymentsCount(), 40);
        QVERIFY(!model->hasLoadWarning());
        for (const QString &id : std::as_const(ids)) {
            QCOMPARE(m_backend.requests(QStringLiteral("GET"), analyticsPath(id)).size(), 1);
            QCOMPARE(m_backend.requests(QStringLiteral("GET"), QStringLiteral("projects/%1/payments").arg(id)).size(),
                     1);
        }
    }

    // The rows are worked out away from the window's thread; a load started while an earlier
    // one's rows are being worked out is the one that shows, and the earlier one changes nothing.
    void laterLoadSupersedesOneBeingWorkedOut()
    {
        const QString id = seed(QStringLiteral("A"), {{QStringLiteral("cost"), 100}});
        auto model = dashboard();
        QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
        PoolHold hold(m_work);
        QCoro::Task<void> first = model->load();
        const auto answered = [&](qsizetype loads) {
            return m_backend.requests(QStringLiteral("GET"), analyticsPath(id)).size() == loads
                && m_client->network()->findChildren<QNetworkReply *>().isEmpty();
        };
        QTRY_VERIFY(answered(1));
        QVERIFY(model->isLoading());
        setCost(id, 900);
        QCoro::Task<void> second = model->load();
        QTRY_VERIFY(answered(2));
        QCOMPARE(model->count(), 0);
        hold.release();
        await(std::move(first));
        await(std::move(second));
        QVERIFY(!model->isLoading());
        QCOMPARE(model->count(), 1);
        QCOMPARE(model->rows().first().plannedCost, 900.0);
        QCOMPARE(model->selectedRow().plannedCost, 900.0);
        QCOMPARE(resets.size(), 1);
    }

    // A dashboard destroyed while its rows are being worked out: the work ends on its own and
    // its result goes nowhere.
    void dashboardGoneWhileRowsAreWorkedOut()
    {
        for (int i = 0; i < 30; ++i)
            addPayment(seed(QStringLiteral("P%1").arg(i), {{QStringLiteral("cost"), 100 + i}}), 5);
        auto model = dashboard();
        int touched = 0;
        connect(model.get(), &AnalyticsDashboardModel::selectedRowChanged, this, [&] { ++touched; });
        connect(model.get(), &AnalyticsDashboardModel::figuresChanged, this, [&] { ++touched; });
        PoolHold hold(m_work);
        QCoro::Task<void> pending = model->load();
        QTRY_VERIFY(m_backend.requests().size() == 61
                    && m_client->network()->findChildren<QNetworkReply *>().isEmpty());
        QVERIFY(model->isLoading());
        model.reset();
        hold.release();
        await(std::move(pending));
        QVERIFY(m_work.waitForDone(10000));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(touched, 0);
    }

    void sortPutsNotANumberLast()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QList<AnalyticsProjectRow> rows{row(QStringLiteral("a"), {}, 100),
                                        row(QStringLiteral("n1"), {}, nan),
                                        row(QStringLiteral("b"), {}, 300),
                                        row(QStringLiteral("c"), {}, 200),
                                        row(QStringLiteral("n2"), {}, nan),
                                        row(QStringLiteral("d"), {}, 300),
                                        row(QStringLiteral("e"), {}, -std::numeric_limits<double>::infinity())};
        AnalyticsDashboardModel::sortRows(rows);
        QStringList order;
        for (const AnalyticsProjectRow &r : rows)
            order.append(r.id);
        // Equal keys keep their arrival order, NaN included.
        QCOMPARE(order, (QStringList{"b", "d", "c", "a", "n1", "n2", "e"}));
    }

    void makeRow_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subtitle"); // "<none>" when absent
        QTest::addColumn<bool>("isIteration");
        QTest::newRow("root with client") << "root"
                                          << "Сайт"
                                          << "ООО Ромашка" << false;
        QTest::newRow("root without client") << "bare root"
                                             << "Сайт"
                                             << "<none>" << false;
        QTest::newRow("own parent is a root") << "self parent"
                                              << "Сайт"
                                              << "<none>" << false;
        QTest::newRow("iteration under its root") << "iteration"
                                                  << "Сайт"
                                                  << "Май · Спринт" << true;
        QTest::newRow("iteration without its root") << "orphan"
                                                    << "Спринт"
                                                    << "Май" << true;
        QTest::newRow("iteration labelled by version") << "versioned"
                                                       << "Сайт"
                                                       << "v3 · Спринт" << true;
    }
    void makeRow()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, subtitle);
        QFETCH(bool, isIteration);
        Project root = project(QStringLiteral("r"), QStringLiteral("Сайт"));
        Project subject = root;
        if (kind == QStringLiteral("root"))
            subject.clientName = QStringLiteral("ООО Ромашка");
        if (kind == QStringLiteral("self parent"))
            subject.parentProjectId = subject.id;
        if (kind == QStringLiteral("iteration") || kind == QStringLiteral("orphan")
            || kind == QStringLiteral("versioned")) {
            subject = project(QStringLiteral("i"), QStringLiteral("Спринт"));
            subject.parentProjectId = kind == QStringLiteral("orphan") ? QStringLiteral("gone") : root.id;
            if (kind == QStringLiteral("versioned"))
                subject.version = 3;
            else
                subject.iterationName = QStringLiteral(" Май\t");
        }
        const AnalyticsProjectRow made = AnalyticsDashboardModel::makeRow(subject, analytics(10, 2, 3), {root});
        QCOMPARE(made.id, subject.id);
        QCOMPARE(made.name, name);
        QCOMPARE(made.subtitle.value_or(QStringLiteral("<none>")), subtitle);
        QCOMPARE(made.isIteration, isIteration);
    }

    void makeRowFigures()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        Project p = project(QStringLiteral("p"), QStringLiteral("P"));
        p.status = ProjectStatus::Completed;
        p.currency = QStringLiteral("RUB");
        p.items = {line(10, 50, true),  line(-2, 100, true),        line(4, -1, true),  line(nan, 10, true),
                   line(3, 100, false), line(5, 100, std::nullopt), line(1.5, 20, true)};
        const AnalyticsProjectRow made = AnalyticsDashboardModel::makeRow(p, analytics(1200, 24.5, 300, "USD"), {});
        QCOMPARE(made.currency, QStringLiteral("USD"));
        QCOMPARE(made.status, ProjectStatus::Completed);
        QCOMPARE(made.plannedCost, 1200.0);
        QCOMPARE(made.plannedHours, 24.5);
        QCOMPARE(made.paidCost, 300.0);
        QCOMPARE(made.doneCost, 530.0);
    }

    void detailTexts_data()
    {
        QTest::addColumn<double>("planned");
        QTest::addColumn<double>("paid");
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("remaining");
        QTest::addColumn<QString>("hoursText");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("overpaid") << 1000.0 << 1200.0 << 12.26 << 0.0 << "12.3 ч";
        QTest::newRow("part paid") << 1000.0 << 400.0 << 8.0 << 600.0 << "8.0 ч";
        QTest::newRow("planned not a number") << nan << 400.0 << 0.25 << 0.0 << "0.2 ч";
    }
    void detailTexts()
    {
        QFETCH(double, planned);
        QFETCH(double, paid);
        QFETCH(double, hours);
        QFETCH(double, remaining);
        QFETCH(QString, hoursText);
        AnalyticsProjectRow r = row(QStringLiteral("p"), QStringLiteral("P"), planned);
        r.paidCost = paid;
        r.plannedHours = hours;
        QCOMPARE(r.remaining(), remaining);
        QCOMPARE(r.remainingText(), MoneyFormat::format(remaining, rub));
        QCOMPARE(r.hoursText(), hoursText);
    }

    void headings_data()
    {
        QTest::addColumn<bool>("isIteration");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subtitle"); // "<none>" when absent
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("secondLine"); // "<none>" when there is none
        QTest::newRow("iteration under its root") << true << "Сайт"
                                                  << "Май · Спринт"
                                                  << "Май · Спринт"
                                                  << "Сайт";
        QTest::newRow("iteration without its root") << true << "Спринт"
                                                    << "Май"
                                                    << "Май"
                                                    << "Спринт";
        QTest::newRow("iteration without subtitle") << true << "Спринт"
                                                    << "<none>"
                                                    << "Спринт"
                                                    << "Спринт";
        QTest::newRow("root with client") << false << "Сайт"
                                          << "ООО Ромашка"
                                          << "Сайт"
                                          << "ООО Ромашка";
        QTest::newRow("root alone") << false << "Сайт"
                                    << "<none>"
                                    << "Сайт"
                                    << "<none>";
    }
    void headings()
    {
        QFETCH(bool, isIteration);
        QFETCH(QString, name);
        QFETCH(QString, subtitle);
        QFETCH(QString, title);
        QFETCH(QString, secondLine);
        AnalyticsProjectRow r = row(QStringLiteral("p"), name, 0);
        r.isIteration = isIteration;
        if (subtitle != QStringLiteral("<none>"))
            r.subtitle = subtitle;
        QCOMPARE(r.titleText(), title);
        QCOMPARE(r.hasSecondLine() ? r.secondLineText() : QStringLiteral("<none>"), secondLine);
    }

    // What a screen reader says of a figure: its title and value, the sums below where they show.
    void spokenFigures_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<bool>("showsSubtitle");
        QTest::addColumn<QString>("spokenValue");
        QTest::addColumn<QString>("spokenLine");
        QTest::newRow("one amount") << "План"
                                    << "1 000 ₽"
                                    << "" << false << "1 000 ₽"
                                    << "План: 1 000 ₽";
        QTest::newRow("a line per currency") << "План"
                                             << "1 000 ₽\n20 $"
                                             << "" << false << "1 000 ₽, 20 $"
                                             << "План: 1 000 ₽, 20 $";
        QTest::newRow("count and sums") << "Получено"
                                        << "2"
                                        << "1 000 ₽ · 20 $" << true << "2, 1 000 ₽ · 20 $"
                                        << "Получено: 2, 1 000 ₽ · 20 $";
        QTest::newRow("bucket without sums") << "Просрочено"
                                             << "0"
                                             << "—" << false << "0"
                                             << "Просрочено: 0";
        QTest::newRow("nothing yet") << "План"
                                     << ""
                                     << "" << false << ""
                                     << "План";
    }
    void spokenFigures()
    {
        QFETCH(QString, title);
        QFETCH(QString, value);
        QFETCH(QString, subtitle);
        QFETCH(bool, showsSubtitle);
        QFETCH(QString, spokenValue);
        QFETCH(QString, spokenLine);
        const AnalyticsFigure figure{title, value, QStringLiteral("folder.fill"), subtitle};
        QCOMPARE(figure.showsSubtitle(), showsSubtitle);
        QCOMPARE(figure.spokenValue(), spokenValue);
        QCOMPARE(figure.spokenLine(), spokenLine);
    }

    // The detail's lines and the page's cards carry their figures as shown.
    void figureLists()
    {
        AnalyticsProjectRow r = row(QStringLiteral("p"), QStringLiteral("P"), 1000);
        r.paidCost = 400;
        r.plannedHours = 12.26;
        const QList<AnalyticsFigure> lines = r.figures();
        QCOMPARE(lines.size(), 5);
        const QStringList titles{"План", "Выполнено", "Оплачено", "К оплате", "Часы (план)"};
        const QStringList values{r.plannedText(), r.doneText(), r.paidText(), r.remainingText(), r.hoursText()};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(lines.at(i).title, titles.at(i));
            QCOMPARE(lines.at(i).value, values.at(i));
        }
        QCOMPARE(lines.at(3).spokenLine(), QStringLiteral("К оплате: ") + MoneyFormat::format(600, rub));
        QCOMPARE(lines.at(4).spokenLine(), QStringLiteral("Часы (план): 12.3 ч"));

        const QString id = seed(QStringLiteral("A"), {{QStringLiteral("cost"), 300}});
        addPayment(id, 70);
        addPayment(id, 30, QStringLiteral("pending"));
        auto model = dashboard();
        await(model->load());
        const QList<AnalyticsFigure> kpi = model->kpiFigures();
        QCOMPARE(kpi.size(), 4);
        QCOMPARE(kpi.at(0).value, QStringLiteral("1"));
        QCOMPARE(kpi.at(1).spokenLine(), QStringLiteral("План: ") + model->planText());
        const QList<AnalyticsFigure> payments = model->paymentFigures();
        QCOMPARE(payments.size(), 4);
        QCOMPARE(payments.at(0).value, QStringLiteral("2"));
        QCOMPARE(payments.at(1).subtitle, model->receivedSums());
        QCOMPARE(payments.at(1).spokenValue(), QStringLiteral("1, ") + MoneyFormat::format(70, rub));
        // No overdue payment: its card shows and says its count alone.
        QCOMPARE(payments.at(3).spokenValue(), QString::number(model->overdueCount()));
    }

    // A name under the bars is cut only where a line may break, never inside a word that fits.
    void shortenedBetweenWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fits") << "Интернет-магазин керамики" << 32 << "Интернет-магазин керамики";
        QTest::newRow("at a blank") << "Интернет-магазин керамики" << 18 << "Интернет-магазин…";
        QTest::newRow("at a hyphen") << "Интернет-магазин керамики" << 16 << "Интернет-…";
        QTest::newRow("two words, second cut off") << "Мобильное приложение" << 18 << "Мобильное…";
        QTest::newRow("one long word") << "Электрификацияпредприятия" << 10 << "Электрифи…";
        QTest::newRow("blank before the cut") << "Сайт      и ещё" << 8 << "Сайт…";
        QTest::newRow("line breaks read as blanks") << "Сайт\nмагазина" << 20 << "Сайт магазина";
        QTest::newRow("emoji kept whole")
            << QString::fromUtf8("👍🏽👍🏽👍🏽👍🏽") << 3 << QString::fromUtf8("👍🏽👍🏽…");
        QTest::newRow("a megabyte") << QStringLiteral("слово ").repeated(200000) << 18 << "слово слово слово…";
    }
    void shortenedBetweenWords()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QString, shown);
        QCOMPARE(AnalyticsSeries::shortened(text, limit), shown);
        QVERIFY(Text::graphemeCount(shown) <= limit);
    }

    // A group of bars of several names goes by the words they all begin with.
    void groupTitles_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("title");
        QTest::newRow("one name") << QStringList{"Мобильное приложение 6"} << "Мобильное приложение 6";
        QTest::newRow("numbered alike") << QStringList{"Мобильное приложение 6", "Мобильное приложение 11"}
                                        << "Мобильное приложение…";
        QTest::newRow("inside the last shared word")
            << QStringList{"Интернет-магазин одежды", "Интернет-магазины сети"} << "Интернет-…";
        QTest::newRow("one name begins the other")
            << QStringList{"Проект длинный", "Проект длинный B"} << "Проект длинный…";
        QTest::newRow("one shared word") << QStringList{"Электрификацияцеха", "Электрификацияпорта"}
                                         << "Электрификация…";
        QTest::newRow("alike beyond what shows")
            << QStringList{QStringLiteral("а").repeated(40) + "1", QStringLiteral("а").repeated(40) + "2"}
            << QStringLiteral("а").repeated(33);
    }
    void groupTitles()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, title);
        QCOMPARE(AnalyticsSeries::groupTitle(names), title);
    }

    // The chart's names over the seeded projects: twelve rows in five groups of alike names.
    void chartTitlesOfAlikeNames()
    {
        QList<AnalyticsProjectRow> rows;
        const QStringList names{"Интернет-магазин керамики", "Мобильное приложение", "Лендинг студии",
                                "CRM для клиники", "Редизайн сайта"};
        for (int i = 0; i < 12; ++i)
            rows.append(row(QStringLiteral("p%1").arg(i),
                            names.at(i % 5) + (i < 5 ? QString() : QStringLiteral(" %1").arg(i)), 1000 - i));
        const AnalyticsSeries series = AnalyticsSeries::from(rows);
        QCOMPARE(series.barTitles,
                 (QStringList{"Интернет-магазин керамики…", "Мобильное приложение…", "Лендинг студии…",
                              "CRM для клиники…", "Редизайн сайта…"}));
        QCOMPARE(
            series.barShortTitles,
            (QStringList{"Интернет-магазин…", "Мобильное…", "Лендинг студии…", "CRM для клиники…", "Редизайн сайта…"}));
        QCOMPARE(series.barNames.at(1),
                 QStringLiteral("Мобильное приложение\nМобильное приложение 6\nМобильное приложение 11"));
    }

    // Chart labels: the first graphemes, so a cut never splits what reads as one character.
    void chartLabels_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("leading");
        QTest::newRow("shorter stays whole") << "Сайт" << 14 << "Сайт";
        QTest::newRow("cut to fourteen") << "Проект длинный и ещё" << 14 << "Проект длинный";
        QTest::newRow("combining mark") << QString::fromUtf8("e\u0301e\u0301e") << 2
                                        << QString::fromUtf8("e\u0301e\u0301");
        QTest::newRow("emoji with modifier")
            << QString::fromUtf8("👍🏽👍🏽x") << 1 << QString::fromUtf8("👍🏽");
    }
    void chartLabels()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, leading);
        QCOMPARE(Text::leadingGraphemes(text, count), leading);
    }
};

QTEST_GUILESS_MAIN(tst_AnalyticsDashboardModel)
#include "tst_AnalyticsDashboardModel.moc"
