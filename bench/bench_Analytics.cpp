// The analytics dashboard: the aggregate of 10,000 payments in all three date forms (target:
// under 10 ms), the values derived from 1,000 rows (target: under 2 ms), a whole load of 300
// projects with 1,000 payments from the loopback test backend (target: under 1.5 s, every
// analytics answer arriving), and the longest the window's thread stands still while a
// dashboard over 5,000 projects and 10,000 payments loads: the model alone (target: under
// 100 ms, most of it reading the project list) and the page drawn offscreen from its first
// frame until its content is drawn (target: under 300 ms). The page over 3,000 estimates, its
// scroll bar dragged by hand from the top to the end in 40 moves, each drawn before the next:
// the frame that shows the rows once they arrive (target: within 50 ms), the longest the event
// loop was held through the drag (target: under 50 ms), the memory the drag added (target: at
// most 16 MB) and the table's cards made by its end (target: at most 20).
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Features/Analytics/AnalyticsDashboardModel.h"
#include "Features/Analytics/AnalyticsSeries.h"
#include "Features/Analytics/PaymentAnalyticsAggregate.h"
#include "Settings/Preferences.h"
#include "QuickItemTree.h"
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
#include <QMouseEvent>
#include <QTimeZone>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include "BenchBackendThread.h"
#include "HoldWatch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "WaitUntil.h"

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

// The account of that many estimates on the backend's own thread, and a client signed in to it.
// The page keeps its scope in the shared preferences: in a folder of this run's own.
struct SeededAccount
{
    explicit SeededAccount(int projectCount)
        : token(seeded(backend, projectCount))
        , client(backend.url)
    {
        client.setTokenProvider([token = token] { return std::optional<QString>(token); });
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    static QString seeded(BenchBackendThread &backend, int projectCount)
    {
        QString token;
        backend.onBackend([&](TestBackend &server) { token = seedAccount(server.data(), projectCount); });
        return token;
    }

    BenchBackendThread backend;
    QString token;
    APIClient client;
    ProjectsService projects{false, nullptr, &client};
    QTemporaryDir config;
};

// The model alone: the longest stand-still of its thread through one load.
void BM_DashboardLoadStall(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    SeededAccount account(projectCount);
    QTemporaryDir dir;
    Preferences preferences(dir.filePath(QStringLiteral("prefs.ini")));
    double longest = 0;
    for (auto _ : state) {
        AnalyticsDashboardModel model(account.client, preferences);
        model.setProjectsService(&account.projects);
        HoldWatch hold;
        hold.start();
        await(model.load());
        longest = std::max(longest, hold.stop());
        if (model.count() != projectCount || model.hasLoadWarning())
            state.SkipWithError("a request of the load was lost");
    }
    state.counters["longestStallMs"] = longest;
}
BENCHMARK(BM_DashboardLoadStall)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The page as the section shows it, drawn offscreen in a window of its own.
struct DashboardPage
{
    explicit DashboardPage(ProjectsService &projects)
    {
        view.engine()->addImportPath(QStringLiteral("qrc:/qt/qml"));
        view.setResizeMode(QQuickView::SizeRootObjectToView);
        view.resize(1000, 800);
        view.setInitialProperties({{QStringLiteral("projectsService"), QVariant::fromValue(&projects)},
                                   {QStringLiteral("selectedRow"), QVariant::fromValue(AnalyticsProjectRow())}});
        view.setSource(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Analytics/AnalyticsPlaceholderView.qml")));
        if (view.status() != QQuickView::Ready)
            return;
        auto *dashboard = view.rootObject()->findChild<QQuickItem *>(QStringLiteral("analyticsDashboard"));
        model = dashboard->property("model").value<AnalyticsDashboardModel *>();
        list = findItem(dashboard, QStringLiteral("analyticsScroll"));
        QObject::connect(&view, &QQuickWindow::frameSwapped, &view, [this] { framed = true; });
        view.show();
    }
    bool ready() const { return model && list; }
    // Whether the next frame was drawn.
    bool nextFrame()
    {
        framed = false;
        view.update();
        return waitUntil([this] { return framed; }, 10000);
    }
    bool loaded()
    {
        return waitUntil([this] { return !model->isLoading(); }, 600000);
    }
    int rowsMade() { return countItems(view.contentItem(), QLatin1String("analyticsRow-")); }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, at, view.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    }
    // Drags the page's scroll bar by its handle down to the end of its track in that many moves,
    // each drawn before the next, as a hand moves it; whether the table's last row came in sight.
    bool dragBarToEnd(int moves)
    {
        const QList<QQuickItem *> beside = list->childItems();
        const auto barAt = std::find_if(beside.cbegin(), beside.cend(),
                                        [](const QQuickItem *item) { return item->inherits("QQuickScrollBar"); });
        QQuickItem *bar = barAt == beside.cend() ? nullptr : *barAt;
        auto *handle = bar ? bar->property("contentItem").value<QQuickItem *>() : nullptr;
        if (!handle)
            return false;
        const QPointF from = handle->mapToScene(QPointF(handle->width() / 2, handle->height() / 2));
        const QPointF to = bar->mapToScene(QPointF(bar->width() / 2, bar->height() + 40));
        mouse(QEvent::MouseMove, from, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int move = 1; move <= moves; ++move) {
            mouse(QEvent::MouseMove, from + (to - from) * move / moves, Qt::LeftButton);
            if (!nextFrame())
                return false;
        }
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        // The list settles where its last rows' heights put its end.
        for (int frame = 0; frame < 10; ++frame)
            nextFrame();
        const int last = model->count() - 1;
        QQuickItem *row = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row), Q_ARG(int, last));
        return row && row->mapToItem(list, QPointF(0, row->height())).y() <= list->height() + 1;
    }

    QQuickView view;
    AnalyticsDashboardModel *model = nullptr;
    QQuickItem *list = nullptr;
    bool framed = false;
};

// From the page's first frame until its rows are in and drawn, the longest stand-still of the
// window's thread.
void BM_DashboardViewStall(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    SeededAccount account(projectCount);
    double longest = 0;
    for (auto _ : state) {
        DashboardPage page(account.projects);
        if (!page.ready() || !page.nextFrame()) {
            state.SkipWithError("the page did not load");
            break;
        }
        HoldWatch hold;
        hold.start();
        const bool shown = page.loaded() && page.nextFrame();
        longest = std::max(longest, hold.stop());
        if (!shown || page.model->count() != projectCount)
            state.SkipWithError("a request of the load was lost");
    }
    state.counters["longestStallMs"] = longest;
}
BENCHMARK(BM_DashboardViewStall)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The page over that many estimates, its scroll bar dragged by hand from the top to the end:
// the first frame after the rows came in, the longest the event loop was held through the drag,
// the memory the drag left held, and the table's rows made by its end.
void BM_DashboardRowsToEnd(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    SeededAccount account(projectCount);
    double shownMs = 0;
    double longestHoldMs = 0;
    double dragMs = 0;
    double inUseMb = 0;
    double residentMb = 0;
    int rows = 0;
    for (auto _ : state) {
        DashboardPage page(account.projects);
        if (!page.ready() || !page.nextFrame() || !page.loaded()) {
            state.SkipWithError("the page did not load");
            break;
        }
        // From the rows' arrival to the frame that shows them.
        QElapsedTimer clock;
        clock.start();
        if (!page.nextFrame() || page.model->count() != projectCount) {
            state.SkipWithError("a request of the load was lost");
            break;
        }
        shownMs = std::max(shownMs, double(clock.nsecsElapsed()) / 1e6);
        waitUntil([] { return false; }, 200);
        const ProcessMemory before = ProcessMemory::now();
        HoldWatch hold;
        hold.start();
        clock.restart();
        const bool reached = page.dragBarToEnd(40);
        dragMs = std::max(dragMs, double(clock.nsecsElapsed()) / 1e6);
        longestHoldMs = std::max(longestHoldMs, hold.stop());
        if (!reached) {
            state.SkipWithError("the drag did not reach the last row");
            break;
        }
        rows = std::max(rows, page.rowsMade());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const ProcessMemory after = ProcessMemory::now();
        inUseMb = std::max(inUseMb, after.inUseMb - before.inUseMb);
        residentMb = std::max(residentMb, after.residentMb - before.residentMb);
        account.backend.clearRequests();
    }
    state.counters["rows_shown_ms"] = shownMs;
    state.counters["drag_ms"] = dragMs;
    state.counters["longest_hold_ms"] = longestHoldMs;
    state.counters["in_use_added_mb"] = inUseMb;
    state.counters["resident_added_mb"] = residentMb;
    state.counters["rows_made"] = rows;
}
BENCHMARK(BM_DashboardRowsToEnd)->Arg(3000)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QApplication)
