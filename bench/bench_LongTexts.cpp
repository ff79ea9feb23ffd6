// A guest window over a device project whose client, first line's title and description hold
// a million (and five million) characters each: opening the project in the editor, and coming
// back to the projects section with the editor open. Reports the time to the frame that shows
// the editor and the longest stretch the event loop was held up (target: under 100 ms at a
// million characters; what grows beyond is the device store's read of the project, measured
// alone by BM_ReadFromStore). Focusing a field that holds such a text lays it out whole: that
// cost is measured apart, as only a person who edits the field pays it.
#include "App/MainShellViewModel.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"
#include "QuickItemTree.h"
#include "SampleEstimates.h"
#include "Settings/Preferences.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

#include "App/AppQmlPlugins.h"
#include "WaitUntil.h"

namespace {

QString longText(qsizetype length, const QString &word)
{
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text += word;
    text.truncate(length);
    return text;
}

Project longProject(qsizetype length)
{
    Project project = SampleEstimates::project(20, QStringLiteral("one_time"), QStringLiteral("long-%1").arg(length));
    project.clientName = longText(length, QStringLiteral("Клиент "));
    project.items.first().title = longText(length, QStringLiteral("Работа "));
    project.items.first().description = longText(length, QStringLiteral("Описание "));
    return project.recalculatedTotals();
}

// The longest gap between two turns of the event loop while it is watched.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_timer.start();
    }
    // The longest gap in milliseconds, the one still running included.
    double stop()
    {
        m_timer.stop();
        m_longest = std::max(m_longest, m_clock.nsecsElapsed() - m_last);
        return double(m_longest) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

struct Window
{
    std::unique_ptr<QQmlApplicationEngine> engine;
    QQuickWindow *window = nullptr;
    MainShellViewModel *shell = nullptr;
    QString projectId;
    bool framed = false;

    explicit Window(qsizetype length)
    {
        LocalProjectRepository repository(PersistenceController::shared());
        repository.deleteAll();
        const Project project = longProject(length);
        projectId = project.id;
        repository.upsert(project);
        engine = std::make_unique<QQmlApplicationEngine>();
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->load(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/App/Main.qml")));
        window = qobject_cast<QQuickWindow *>(engine->rootObjects().value(0));
        if (!window)
            return;
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [this] { framed = true; });
        waitUntil([this] { return framed; }, 10000);
        window->requestActivate();
        waitUntil([this] { return window->isActive(); }, 2000);
        auto *root = findItem(window->contentItem(), QStringLiteral("rootView"));
        auto *screen = root ? root->property("currentScreen").value<QQuickItem *>() : nullptr;
        shell = screen ? screen->property("viewModel").value<MainShellViewModel *>() : nullptr;
        // The list's load and its cards first, so that only the step measured is measured.
        waitUntil([] { return false; }, 500);
    }

    // The editor of the project, loaded and drawn.
    bool editorShown()
    {
        QQuickItem *editor = findItem(window->contentItem(), QStringLiteral("projectEditor"));
        QObject *model = editor ? editor->property("screen").value<QObject *>() : nullptr;
        QObject *vm = model ? model->property("editor").value<QObject *>() : nullptr;
        return vm && vm->property("projectId").toString() == projectId && editor->isVisible();
    }

    // Runs step, then waits for the editor and the frame after it; the time to that frame and
    // the longest stall on the way, in milliseconds.
    template<typename Step>
    std::pair<double, double> measure(Step step)
    {
        StallMeter stalls;
        QElapsedTimer timer;
        stalls.start();
        timer.start();
        step();
        waitUntil([this] { return editorShown(); }, 60000);
        framed = false;
        window->update();
        waitUntil([this] { return framed; }, 60000);
        const double shown = double(timer.nsecsElapsed()) / 1e6;
        return {shown, stalls.stop()};
    }
};

void report(benchmark::State &state, double worstShown, double worstStall)
{
    state.counters["shown_ms"] = worstShown;
    state.counters["longest_stall_ms"] = worstStall;
}

void BM_OpenProject(benchmark::State &state)
{
    Window window(state.range(0));
    if (!window.shell) {
        state.SkipWithError("the guest window did not open");
        return;
    }
    double worstShown = 0;
    double worstStall = 0;
    for (auto _ : state) {
        const auto [shown, stall] = window.measure([&] { window.shell->setSelectedProjectId(window.projectId); });
        state.SetIterationTime(shown / 1000);
        worstShown = std::max(worstShown, shown);
        worstStall = std::max(worstStall, stall);
        window.shell->setSelectedProjectId(QString());
        waitUntil([] { return false; }, 200);
    }
    report(state, worstShown, worstStall);
}
BENCHMARK(BM_OpenProject)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ReturnToProjects(benchmark::State &state)
{
    Window window(state.range(0));
    if (!window.shell) {
        state.SkipWithError("the guest window did not open");
        return;
    }
    window.measure([&] { window.shell->setSelectedProjectId(window.projectId); });
    double worstShown = 0;
    double worstStall = 0;
    for (auto _ : state) {
        window.shell->setMainSection(QStringLiteral("settings"));
        waitUntil([] { return false; }, 200);
        const auto [shown, stall] = window.measure([&] { window.shell->setMainSection(QStringLiteral("projects")); });
        state.SetIterationTime(shown / 1000);
        worstShown = std::max(worstShown, shown);
        worstStall = std::max(worstStall, stall);
    }
    report(state, worstShown, worstStall);
}
BENCHMARK(BM_ReturnToProjects)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Focusing the client field, which then lays out the whole text, and leaving it: the cost a
// person pays only when editing such a field.
void BM_FocusLongField(benchmark::State &state)
{
    Window window(state.range(0));
    if (!window.shell) {
        state.SkipWithError("the guest window did not open");
        return;
    }
    window.measure([&] { window.shell->setSelectedProjectId(window.projectId); });
    QQuickItem *field = findItem(window.window->contentItem(), QStringLiteral("clientField"));
    auto *input = field ? field->property("input").value<QQuickItem *>() : nullptr;
    if (!input) {
        state.SkipWithError("no client field");
        return;
    }
    double worstStall = 0;
    bool whole = true;
    for (auto _ : state) {
        StallMeter stalls;
        QElapsedTimer timer;
        stalls.start();
        timer.start();
        input->forceActiveFocus();
        window.framed = false;
        window.window->update();
        waitUntil([&] { return window.framed; }, 60000);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        worstStall = std::max(worstStall, stalls.stop());
        whole = whole && input->hasActiveFocus() && input->property("text").toString().size() == state.range(0);
        field->setFocus(false);
        input->setFocus(false);
        window.window->contentItem()->forceActiveFocus();
        waitUntil([] { return false; }, 200);
    }
    state.counters["longest_stall_ms"] = worstStall;
    state.counters["whole_text"] = whole ? 1 : 0;
}
BENCHMARK(BM_FocusLongField)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What the device store's read of the project costs by itself, for comparison: the guest's
// editor reads it on the event loop's thread.
void BM_ReadFromStore(benchmark::State &state)
{
    LocalProjectRepository repository(PersistenceController::shared());
    repository.deleteAll();
    const Project project = longProject(state.range(0));
    repository.upsert(project);
    for (auto _ : state)
        benchmark::DoNotOptimize(repository.fetch(project.id));
}
BENCHMARK(BM_ReadFromStore)->Arg(1'000'000)->Arg(5'000'000)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Preferences and the device store in a folder of the run's own, before anything opens them.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessmark"));
    Preferences::shared().setValue(QStringLiteral("guest_mode_active"), true);
    Preferences::shared().setValue(QStringLiteral("estimate.onboarding.main.completedVersion"), 2);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
