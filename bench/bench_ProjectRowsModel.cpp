// One project's change reaching the projects list over a guest service holding 1,000 projects:
// from the service's change signal to the model having updated, and to the list view's next
// frame in an offscreen window (target: under 16 ms, one frame).
#include "API/ProjectsService.h"
#include "Data/LocalProjectRepository.h"
#include "Features/Projects/ProjectRowsModel.h"

#include <QApplication>
#include <QCoro/QCoroTask>
#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <benchmark/benchmark.h>
#include <memory>

#include "App/AppQmlPlugins.h"
#include "QtBenchmarkMain.h"

namespace {

constexpr int projectCount = 1000;
constexpr int changedIndex = 3; // visible in the window
constexpr qint64 firstStamp = 1700000000000;

Project sample(int index)
{
    Project p;
    p.id = QStringLiteral("local-%1").arg(index, 6, 10, QLatin1Char('0'));
    p.name = QStringLiteral("Проект №%1").arg(index);
    p.clientName = QStringLiteral("ООО «Клиент %1»").arg(index);
    p.currency = QStringLiteral("RUB");
    p.defaultRate = 2500;
    p.userId = QStringLiteral("guest");
    p.createdAt = p.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    for (int l = 0; l < 5; ++l)
        p.items.append(ProjectItem{QStringLiteral("Строка %1").arg(l), std::nullopt, QStringLiteral("sw_backend"),
                                   4.0 + l, l % 2 ? 3000.0 : 0.0, false, std::nullopt});
    return p;
}

// A guest service over an in-memory store of projectCount projects, newest (index 0) first.
struct Fixture
{
    std::shared_ptr<ModelContainer> store = ModelContainer::openInMemory();
    LocalProjectRepository repository{store};
    ProjectsService service{true, store};

    Fixture()
    {
        for (int i = projectCount - 1; i >= 0; --i)
            write(sample(i), i);
        service.load(false); // the device path finishes before returning
    }
    // Writes with the stamp of the project's place, so that a rename keeps its row.
    void write(const Project &project, int index)
    {
        const qint64 stamp = firstStamp + (projectCount - index) * 1000;
        store->setClock([stamp] { return QDateTime::fromMSecsSinceEpoch(stamp, Qt::UTC); });
        repository.upsert(project);
    }
    // Renames one project in the store; the reload that follows publishes it.
    void renameOne(int round)
    {
        Project p = sample(changedIndex);
        p.name = QStringLiteral("Переименован %1").arg(round);
        write(p, changedIndex);
    }
};

void BM_OneChangeReachesTheModel(benchmark::State &state)
{
    Fixture fixture;
    QElapsedTimer clock;
    qint64 startNs = 0;
    qint64 endNs = 0;
    // Connected around the model's own connection, so only the model's reaction lies between.
    QObject::connect(&fixture.service, &ProjectsService::projectsChanged, [&] { startNs = clock.nsecsElapsed(); });
    ProjectRowsModel model;
    model.setProjectsService(&fixture.service);
    QObject::connect(&fixture.service, &ProjectsService::projectsChanged, [&] { endNs = clock.nsecsElapsed(); });
    clock.start();
    int round = 0;
    for (auto _ : state) {
        fixture.renameOne(++round);
        fixture.service.load(false);
        state.SetIterationTime(double(endNs - startNs) / 1e9);
    }
    if (model.count() != projectCount)
        state.SkipWithError("rows missing");
}
BENCHMARK(BM_OneChangeReachesTheModel)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OneChangeReachesTheListView(benchmark::State &state)
{
    Fixture fixture;
    QElapsedTimer clock;
    qint64 startNs = 0;
    bool framed = false;
    // Connected before the list's own model, so that all of its reaction is timed.
    QObject::connect(&fixture.service, &ProjectsService::projectsChanged, [&] { startNs = clock.nsecsElapsed(); });
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(&engine,
                            QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Projects/ProjectsListView.qml")));
    std::unique_ptr<QObject> root(component.createWithInitialProperties(
        {{QStringLiteral("projectsService"), QVariant::fromValue(&fixture.service)},
         {QStringLiteral("isGuest"), true}}));
    auto *list = qobject_cast<QQuickItem *>(root.get());
    if (!list) {
        state.SkipWithError(qPrintable(component.errorString()));
        return;
    }
    QQuickWindow window;
    window.resize(420, 900);
    list->setParentItem(window.contentItem());
    list->setSize(window.size());
    window.show();

    QObject::connect(&window, &QQuickWindow::frameSwapped, [&] { framed = true; });
    clock.start();
    const auto nextFrame = [&] {
        framed = false;
        window.requestUpdate();
        while (!framed)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    nextFrame();
    int round = 0;
    for (auto _ : state) {
        fixture.renameOne(++round);
        framed = false;
        fixture.service.load(false);
        while (!framed)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.SetIterationTime(double(clock.nsecsElapsed() - startNs) / 1e9);
    }
}
BENCHMARK(BM_OneChangeReachesTheListView)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QApplication)
