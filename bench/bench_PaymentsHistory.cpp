// The payments screen of one project over a history of 0, 1,000 and 10,000 payments, drawn
// offscreen against the test backend on a thread of its own, in one window as the app keeps one.
// Opening: from the screen's creation to its first frame with the history shown, the longest the
// event loop was held meanwhile, the memory the open screen holds beside the empty history's, the
// history rows made (at the top, and after scrolling down to the end), and what the closed screen
// left held. A change among 1,000 and among 10,000 (an add, a status change, a delete, F5): from
// the action to the frame that shows its outcome once the history has reloaded, and the longest
// hold; beside it, the time the backend takes to send the history's bytes bare. Targets: a first
// frame at most 100 ms after the empty history's at 1,000 payments and 200 ms at 10,000, the event
// loop never held 100 ms; at most 8 MB beside the empty history at 1,000 and 16 MB at 10,000 (the
// records themselves); at most 20 rows ever made; at most 0.5 MB left once closed. Each change
// drawn within 50 ms beyond the backend's bare sending of the history, the loop never held 25 ms.
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Features/Finance/ProjectFinanceModel.h"
#include "QuickItemTree.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <memory>

#include "App/AppQmlPlugins.h"
#include "BenchBackendThread.h"
#include "HoldWatch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "WaitUntil.h"

namespace {

// The backend of one project with that many payments.
struct PaymentsBackend : BenchBackendThread
{
    explicit PaymentsBackend(int payments)
    {
        onBackend([this, payments](TestBackend &server) {
            BackendData &data = server.data();
            const QString account = data.addAccount(QStringLiteral("bench@example.test"), QStringLiteral("pw")).id;
            token = data.issueToken(account);
            projectId = data.addProject(account, {{QStringLiteral("name"), QStringLiteral("Сайт студии")}})
                            .value(QStringLiteral("id"))
                            .toString();
            const QStringList statuses{QStringLiteral("received"), QStringLiteral("pending"),
                                       QStringLiteral("cancelled")};
            for (int i = 0; i < payments; ++i) {
                const QJsonObject note{{QStringLiteral("note"), QStringLiteral("Платёж по договору №%1").arg(i)},
                                       {QStringLiteral("method"), QStringLiteral("Карта")}};
                data.addPayment(projectId, account, 1000 + i, statuses.at(i % 3), i % 2 ? note : QJsonObject{});
            }
        });
    }

    QString token;
    QString projectId;
};

// One window and engine for every round, as the app keeps one: the payments screen of the
// backend's project comes and goes in it as the section's loader makes and ends it.
struct Host
{
    APIClient client;
    ProjectsService service;
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQmlComponent> component;
    std::unique_ptr<QQuickItem> screen;
    QString projectId;
    bool framed = false;

    explicit Host(const PaymentsBackend &backend)
        : client(backend.url)
        , service(false, nullptr, &client)
        , projectId(backend.projectId)
    {
        client.setTokenProvider([token = backend.token] { return std::optional<QString>(token); });
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        component = std::make_unique<QQmlComponent>(
            &engine, QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Finance/ProjectFinanceView.qml")));
        window.resize(720, 760);
        QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [this] { framed = true; });
        window.show();
    }
    ~Host() { close(); }
    // Makes the screen; whether its history was drawn.
    bool open()
    {
        QObject *made =
            component->createWithInitialProperties({{QStringLiteral("projectsService"), QVariant::fromValue(&service)},
                                                    {QStringLiteral("projectId"), projectId},
                                                    {QStringLiteral("projectName"), QStringLiteral("Сайт студии")},
                                                    {QStringLiteral("currency"), QStringLiteral("RUB")}});
        screen.reset(qobject_cast<QQuickItem *>(made));
        if (!screen) {
            delete made;
            qWarning() << component->errorString();
            return false;
        }
        screen->setParentItem(window.contentItem());
        screen->setSize(window.size());
        return waitUntil([this] { return !finance()->property("isLoading").toBool(); }, 60000) && nextFrame();
    }
    bool nextFrame()
    {
        framed = false;
        window.update();
        const bool drawn = waitUntil([this] { return framed; }, 10000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return drawn;
    }
    QObject *finance() const { return screen ? screen->property("finance").value<QObject *>() : nullptr; }
    int rows() const { return screen ? countItems(screen.get(), QLatin1String("paymentRow-")) : 0; }
    // Scrolls the page down a screen at a time to its end, drawing each; whether it got there.
    bool scrollToEnd()
    {
        QQuickItem *list = screen ? findItem(screen.get(), QStringLiteral("financeScroll")) : nullptr;
        if (!list)
            return false;
        const auto end = [list] {
            return list->property("originY").toReal() + list->property("contentHeight").toReal() - list->height();
        };
        for (int step = 0; step < 100000 && list->property("contentY").toReal() < end() - 1; ++step) {
            list->setProperty("contentY", std::min(end(), list->property("contentY").toReal() + list->height()));
            if (!nextFrame())
                return false;
        }
        return true;
    }
    // Ends the screen and lets the event loop delete what it deletes later.
    void close()
    {
        screen.reset();
        waitUntil([] { return false; }, 100);
        // Outside a running event loop, what was deleted later waits until it is asked for.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        nextFrame();
    }
};

void spin(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

double emptyFirstFrameMs = 0;
double emptyInUseMb = 0;
double emptyResidentMb = 0;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

void BM_OpenHistory(benchmark::State &state)
{
    const int payments = int(state.range(0));
    PaymentsBackend backend(payments);
    Host host(backend);
    // Once untimed, so that the types are compiled and the glyphs drawn before the first round.
    if (!host.open() || !host.scrollToEnd()) {
        state.SkipWithError("the history was not shown");
        return;
    }
    host.close();
    backend.clearRequests();
    QList<double> firstFrameMs;
    QList<double> inUseMb;
    QList<double> residentMb;
    QList<double> leftInUseMb;
    double longestHoldMs = 0;
    int rows = 0;
    int rowsScrolled = 0;
    for (auto _ : state) {
        spin(50);
        const ProcessMemory before = ProcessMemory::now();
        HoldWatch hold;
        QElapsedTimer clock;
        hold.start();
        clock.start();
        const bool shown = host.open();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        longestHoldMs = std::max(longestHoldMs, hold.stop());
        if (!shown) {
            state.SkipWithError("the history was not shown");
            return;
        }
        state.SetIterationTime(ms / 1000);
        firstFrameMs.append(ms);
        rows = std::max(rows, host.rows());
        if (host.finance()->property("payments").value<QObject *>()->property("count").toInt() != payments) {
            state.SkipWithError("payments missing");
            return;
        }
        const ProcessMemory open = ProcessMemory::now();
        inUseMb.append(open.inUseMb - before.inUseMb);
        residentMb.append(open.residentMb - before.residentMb);
        // Down to the end, a screen at a time: the rows made stay those of a screen or two.
        if (!host.scrollToEnd()) {
            state.SkipWithError("the history did not scroll");
            return;
        }
        rowsScrolled = std::max(rowsScrolled, host.rows());
        host.close();
        backend.clearRequests();
        const ProcessMemory after = ProcessMemory::now();
        leftInUseMb.append(after.inUseMb - before.inUseMb);
    }
    if (payments == 0) {
        emptyFirstFrameMs = median(firstFrameMs);
        emptyInUseMb = median(inUseMb);
        emptyResidentMb = median(residentMb);
    }
    state.counters["first_frame_ms"] = median(firstFrameMs);
    state.counters["over_empty_ms"] = median(firstFrameMs) - emptyFirstFrameMs;
    state.counters["longest_hold_ms"] = longestHoldMs;
    state.counters["in_use_mb"] = median(inUseMb);
    state.counters["in_use_over_empty_mb"] = median(inUseMb) - emptyInUseMb;
    state.counters["resident_over_empty_mb"] = median(residentMb) - emptyResidentMb;
    state.counters["rows_made"] = rows;
    state.counters["rows_made_to_end"] = rowsScrolled;
    state.counters["left_after_close_mb"] = median(leftInUseMb);
}
BENCHMARK(BM_OpenHistory)->Arg(0)->Arg(1000)->Arg(10000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// What a person does to one payment of the history, or to the whole of it.
enum class Change { Add, Status, Delete, Refresh };

// A value of a history row, read by its role's name.
QVariant rowValue(QAbstractItemModel *rows, int row, const QByteArray &role)
{
    return rows->data(rows->index(row, 0), rows->roleNames().key(role));
}

// One change among that many payments: from the action to the frame that shows its outcome once
// the history has reloaded, and the longest the event loop was held meanwhile.
void BM_ChangeAmong(benchmark::State &state)
{
    const int count = int(state.range(0));
    const auto change = Change(state.range(1));
    PaymentsBackend backend(count);
    Host screen(backend);
    if (!screen.open()) {
        state.SkipWithError("the history was not shown");
        return;
    }
    auto *finance = qobject_cast<ProjectFinanceModel *>(screen.finance());
    QAbstractItemModel *rows = finance->payments();
    // Each reload's end, which the outcome waits for.
    int loadsEnded = 0;
    QObject::connect(finance, &ProjectFinanceModel::isLoadingChanged, [&loadsEnded, finance] {
        if (!finance->isLoading())
            ++loadsEnded;
    });
    const auto loading = [finance] { return finance->isLoading(); };
    // The backend's share: the history's bytes fetched bare, as each change's reload fetches them.
    QList<double> fetchMs;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QByteArray bytes = await(screen.client.requestData(
            QStringLiteral("GET"), QStringLiteral("projects/%1/payments").arg(screen.projectId)));
        fetchMs.append(double(clock.nsecsElapsed()) / 1e6);
        benchmark::DoNotOptimize(bytes.size());
    }
    backend.clearRequests();
    double longestHoldMs = 0;
    QList<double> drawnMs;
    int round = 0;
    for (auto _ : state) {
        spin(50);
        const int before = rows->rowCount();
        // A payment in sight: the second row.
        const QString paymentId = rowValue(rows, 1, "paymentId").toString();
        const QString status = rowValue(rows, 1, "status").toString();
        const QString next = status == QLatin1String("pending") ? QStringLiteral("received")
            : status == QLatin1String("received")               ? QStringLiteral("cancelled")
                                                                : QStringLiteral("pending");
        if (change == Change::Add)
            finance->setProperty("amountText", QString::number(100 + ++round));
        const int endedBefore = loadsEnded;
        HoldWatch hold;
        QElapsedTimer clock;
        hold.start();
        clock.start();
        switch (change) {
        case Change::Add:
            QMetaObject::invokeMethod(finance, "addPayment");
            break;
        case Change::Status:
            QMetaObject::invokeMethod(finance, "setStatusOf", Q_ARG(QString, paymentId), Q_ARG(QString, next));
            break;
        case Change::Delete:
            QMetaObject::invokeMethod(finance, "deletePayment", Q_ARG(QString, paymentId));
            break;
        case Change::Refresh:
            QMetaObject::invokeMethod(screen.screen.get(), "reload");
            break;
        }
        const auto done = [&] {
            if (loading() || loadsEnded == endedBefore)
                return false;
            switch (change) {
            case Change::Add:
                return rows->rowCount() == before + 1;
            case Change::Status:
                return rowValue(rows, 1, "status").toString() == next;
            case Change::Delete:
                return rows->rowCount() == before - 1;
            case Change::Refresh:
                return rows->rowCount() == before;
            }
            return false;
        };
        const bool shown = waitUntil(done, 10000) && screen.nextFrame();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        longestHoldMs = std::max(longestHoldMs, hold.stop());
        if (!shown) {
            state.SkipWithError("the change was not shown");
            return;
        }
        state.SetIterationTime(ms / 1000);
        drawnMs.append(ms);
    }
    backend.clearRequests();
    state.counters["longest_hold_ms"] = longestHoldMs;
    state.counters["history_fetch_ms"] = median(fetchMs);
    state.counters["over_fetch_ms"] = median(drawnMs) - median(fetchMs);
    state.counters["rows_made"] = screen.rows();
}
BENCHMARK(BM_ChangeAmong)
    ->ArgNames({"payments", "change"})
    ->ArgsProduct({{1000, 10000}, {int(Change::Add), int(Change::Status), int(Change::Delete), int(Change::Refresh)}})
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QGuiApplication)
