// The analytics dashboard: the aggregate of 10,000 payments in all three date forms (target:
// under 10 ms), the values derived from 1,000 rows (target: under 2 ms), a whole load of 300
// projects with 1,000 payments from the loopback test backend (target: under 1.5 s, every
// analytics answer arriving), and the longest the window's thread stands still while a
// dashboard over 5,000 projects and 10,000 payments loads: the model alone (target: under
// 100 ms, most of it reading the project list) and the page drawn offscreen from its first
// frame until its content is drawn (target: under 300 ms).
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Features/Analytics/AnalyticsDashboardModel.h"
#include "Features/Analytics/AnalyticsSeries.h"
#include "Features/Analytics/PaymentAnalyticsAggregate.h"
#include "Settings/Preferences.h"
#include "TestBackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQuickView>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>
#include <QTimer>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

#include "App/AppQmlPlugins.h"

namespace {

const QStringList currencies{QStringLiteral("RUB"), QStringLiteral("USD"), QStringLiteral("EUR"), QString()};

QList<Payment> payments(int count)
{
    QRandomGenerator random(7);
    const QDateTime base(QDate(2024, 5, 10), QTime(12, 0), Qt::UTC);
    QList<Payment> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        Payment p;
        p.id = QStringLiteral("pay-%1").arg(i);
        p.amount = random.bounded(100000) / 7.0;
        p.currency = currencies.at(i % currencies.size());
        p.status = allPaymentStatuses[std::size_t(random.bounded(3))];
        const QDateTime at = base.addSecs(qint64(random.bounded(60 * 86400)) - 30 * 86400);
        switch (i % 3) {
        case 0:
            p.paidAt = at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
            break;
        case 1:
            p.paidAt = at.toOffsetFromUtc(3 * 3600).toString(Qt::ISODate);
            break;
        default:
            p.paidAt = at.date().toString(Qt::ISODate);
            break;
        }
        out.append(p);
    }
    return out;
}

QList<AnalyticsProjectRow> rows(int count)
{
    QRandomGenerator random(11);
    QList<AnalyticsProjectRow> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        AnalyticsProjectRow row;
        row.id = QStringLiteral("p-%1").arg(i);
        row.name = QStringLiteral("Проект с длинным названием %1").arg(i % 40);
        row.currency = currencies.at(i % 3);
        row.status = allProjectStatuses[std::size_t(i % 4)];
        row.plannedCost = random.bounded(1000000);
        row.doneCost = row.plannedCost / 2;
        row.paidCost = row.plannedCost / 3;
        out.append(row);
    }
    return out;
}

void BM_PaymentAggregate(benchmark::State &state)
{
    const QList<Payment> input = payments(int(state.range(0)));
    const QDateTime now = QDateTime::currentDateTime();
    const QTimeZone zone = QTimeZone::systemTimeZone();
    for (auto _ : state)
        benchmark::DoNotOptimize(PaymentAnalyticsAggregate::build(input, now, zone));
}
BENCHMARK(BM_PaymentAggregate)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AnalyticsSeries(benchmark::State &state)
{
    const QList<AnalyticsProjectRow> input = rows(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(AnalyticsSeries::from(input));
}
BENCHMARK(BM_AnalyticsSeries)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_DashboardLoad(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    const int paymentCount = int(state.range(1));
    TestBackend backend;
    backend.start();
    BackendData &data = backend.data();
    const QString accountId = data.addAccount(QStringLiteral("bench@example.test"), QStringLiteral("secret")).id;
    const QString token = data.issueToken(accountId);
    QStringList ids;
    for (int i = 0; i < projectCount; ++i) {
        QJsonObject &project =
            data.addProject(accountId, {{QStringLiteral("name"), QStringLiteral("Проект %1").arg(i)}});
        project.insert(QStringLiteral("totalCost"), 1000 + i);
        ids.append(project.value(QStringLiteral("id")).toString());
    }
    for (int i = 0; i < paymentCount; ++i) {
        data.payments.append(QJsonObject{{QStringLiteral("id"), QStringLiteral("pay-%1").arg(i)},
                                         {QStringLiteral("amount"), 100 + i},
                                         {QStringLiteral("currency"), QStringLiteral("RUB")},
                                         {QStringLiteral("status"), QStringLiteral("pending")},
                                         {QStringLiteral("paidAt"), QStringLiteral("2024-05-01")},
                                         {QStringLiteral("projectId"), ids.at(i % ids.size())},
                                         {QStringLiteral("userId"), accountId},
                                         {QStringLiteral("createdAt"), BackendData::now()},
                                         {QStringLiteral("updatedAt"), BackendData::now()}});
    }
    APIClient client(backend.baseUrl());
    client.setTokenProvider([token] { return std::optional<QString>(token); });
    QTemporaryDir dir;
    Preferences preferences(dir.filePath(QStringLiteral("prefs.ini")));
    ProjectsService projects(false, nullptr, &client);
    AnalyticsDashboardModel model(client, preferences);
    model.setProjectsService(&projects);
    for (auto _ : state) {
        await(model.load());
        if (model.count() != projectCount || model.paymentsCount() != paymentCount || model.hasLoadWarning())
            state.SkipWithError("a request of the load was lost");
        backend.clearRequests();
    }
}
BENCHMARK(BM_DashboardLoad)->Args({300, 1000})->Iterations(3)->Unit(benchmark::kMillisecond);

// The test backend answering from a thread of its own, so that only the app's work counts
// against the window's thread.
class BackendThread
{
public:
    BackendThread()
    {
        m_backend->moveToThread(&m_thread);
        m_thread.start();
    }
    ~BackendThread()
    {
        QMetaObject::invokeMethod(
            m_backend, [this] { delete m_backend; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    // Seeds before the backend serves.
    BackendData &data() { return m_backend->data(); }
    QUrl start()
    {
        QMetaObject::invokeMethod(
            m_backend, [this] { m_backend->start(); }, Qt::BlockingQueuedConnection);
        return m_backend->baseUrl();
    }

private:
    QThread m_thread;
    TestBackend *m_backend = new TestBackend;
};

// The longest the thread's event loop went without turning while it is alive, sampled by a
// timer that fires as often as it can.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed() / 1e6);
            m_clock.restart();
        });
        m_clock.start();
        m_timer.start();
    }
    double longestMs() const { return std::max(m_longest, m_clock.nsecsElapsed() / 1e6); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longest = 0;
};

// Half roots and half their iterations, ten lines each, two done, and two payments per project.
QString seedAccount(BackendData &data, int projectCount)
{
    const QString accountId = data.addAccount(QStringLiteral("bench@example.test"), QStringLiteral("secret")).id;
    QJsonArray items;
    for (int line = 0; line < 10; ++line)
        items.append(QJsonObject{{QStringLiteral("title"), QStringLiteral("Работа %1").arg(line)},
                                 {QStringLiteral("category"), QStringLiteral("backend")},
                                 {QStringLiteral("hours"), 4 + line},
                                 {QStringLiteral("rate"), 2500},
                                 {QStringLiteral("isLocked"), false},
                                 {QStringLiteral("done"), line < 2}});
    QString root;
    for (int i = 0; i < projectCount; ++i) {
        QJsonObject fields{{QStringLiteral("name"), QStringLiteral("Интернет-магазин керамики %1").arg(i)},
                           {QStringLiteral("items"), items}};
        if (i % 2 == 1) {
            fields.insert(QStringLiteral("parentProjectId"), root);
            fields.insert(QStringLiteral("projectType"), QStringLiteral("iterative"));
            fields.insert(QStringLiteral("iterationName"), QStringLiteral("Этап %1").arg(i));
        }
        const QString id = data.addProject(accountId, fields).value(QStringLiteral("id")).toString();
        if (i % 2 == 0)
            root = id;
        data.addPayment(id, accountId, 1000 + i, QStringLiteral("received"));
        data.addPayment(id, accountId, 500 + i, QStringLiteral("pending"),
                        {{QStringLiteral("paidAt"), QStringLiteral("2024-05-01")}});
    }
    return data.issueToken(accountId);
}

// The model alone: the longest stand-still of its thread through one load.
void BM_DashboardLoadStall(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    BackendThread backend;
    const QString token = seedAccount(backend.data(), projectCount);
    APIClient client(backend.start());
    client.setTokenProvider([token] { return std::optional<QString>(token); });
    QTemporaryDir dir;
    Preferences preferences(dir.filePath(QStringLiteral("prefs.ini")));
    ProjectsService projects(false, nullptr, &client);
    double longest = 0;
    for (auto _ : state) {
        AnalyticsDashboardModel model(client, preferences);
        model.setProjectsService(&projects);
        const StallMeter meter;
        await(model.load());
        longest = std::max(longest, meter.longestMs());
        if (model.count() != projectCount || model.hasLoadWarning())
            state.SkipWithError("a request of the load was lost");
    }
    state.counters["longestStallMs"] = longest;
}
BENCHMARK(BM_DashboardLoadStall)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The page as the window shows it, drawn offscreen: from its first frame until its rows are in
// and drawn, the longest stand-still of the window's thread.
void BM_DashboardViewStall(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    BackendThread backend;
    const QString token = seedAccount(backend.data(), projectCount);
    APIClient client(backend.start());
    client.setTokenProvider([token] { return std::optional<QString>(token); });
    ProjectsService projects(false, nullptr, &client);
    // The page keeps its scope in the shared preferences: a folder of this run's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    double longest = 0;
    for (auto _ : state) {
        QQuickView view;
        view.engine()->addImportPath(QStringLiteral("qrc:/qt/qml"));
        view.setResizeMode(QQuickView::SizeRootObjectToView);
        view.resize(1000, 900);
        view.setInitialProperties({{QStringLiteral("projectsService"), QVariant::fromValue(&projects)},
                                   {QStringLiteral("selectedRow"), QVariant::fromValue(AnalyticsProjectRow())}});
        view.setSource(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Analytics/AnalyticsPlaceholderView.qml")));
        if (view.status() != QQuickView::Ready) {
            state.SkipWithError("the page did not load");
            break;
        }
        auto *dashboard = view.rootObject()->findChild<QQuickItem *>(QStringLiteral("analyticsDashboard"));
        auto *model = dashboard->property("model").value<AnalyticsDashboardModel *>();
        bool drawn = false;
        QObject::connect(&view, &QQuickWindow::frameSwapped, [&drawn] { drawn = true; });
        view.show();
        while (!drawn)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const StallMeter meter;
        while (model->isLoading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        drawn = false;
        while (!drawn)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        longest = std::max(longest, meter.longestMs());
        if (model->count() != projectCount)
            state.SkipWithError("a request of the load was lost");
    }
    state.counters["longestStallMs"] = longest;
}
BENCHMARK(BM_DashboardViewStall)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QApplication)
