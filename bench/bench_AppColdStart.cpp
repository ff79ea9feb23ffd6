// Cold start to the first frame: the welcome window over an empty device store, and the guest main
// window over an empty store and one of 1,000, 10,000 and 20,000 projects of 20 lines, against a
// bare Qt Quick window with one Text started the same way (target: at most 1.5x, and flat in the
// store's size). Each start is a fresh process; it also reports when the cards are on screen and
// its peak resident memory by then (target: at most 1.5x the bare window's).
#include "BenchProjects.h"
#include "Data/LocalProjectRepository.h"
#include "Data/ModelContainer.h"
#include "Data/PersistenceController.h"
#include "Auth/KeychainTokenStore.h"
#include "Models/ProjectStatus.h"
#include "Settings/Preferences.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sys/resource.h>

#include "App/AppQmlPlugins.h"

namespace {

constexpr int linesPerProject = 20;
QString g_self;

struct Sample
{
    double firstFrame = 0;
    // When the list's cards are on screen; the bare window has none, it is its first frame.
    double listShown = 0;
    double peakRssMiB = 0;
};

// Samples by store size of the guest window; the bare and the welcome window have their own keys.
constexpr int bareKey = -2;
constexpr int welcomeKey = -1;
std::map<int, QList<Sample>> g_samples;

enum class Child { Bare, Welcome, Guest };

double peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The guest's projects list once its cards (or, over an empty store, its empty state) are there.
bool cardsShown(QQuickWindow *window)
{
    QObject *list = window->findChild<QObject *>(QStringLiteral("projectsList"));
    QObject *model = list ? list->property("viewModel").value<QObject *>() : nullptr;
    const QString state = model ? model->property("contentState").toString() : QString();
    return state == QStringLiteral("cards") || state == QStringLiteral("empty");
}

const char *bareQml = R"(import QtQuick
Window {
    width: 960; height: 640; visible: true
    Text { anchors.centerIn: parent; text: "Tessmark" }
})";

// The child: starts like the app and exits at its first frame (the guest window: at the first
// frame that shows its cards).
int runChild(int argc, char *argv[], Child child)
{
    const bool app = child != Child::Bare;
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QApplication::setApplicationName(QStringLiteral("Tessmark"));
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &application, [child](QObject *object) {
        auto *window = qobject_cast<QQuickWindow *>(object);
        if (!window)
            QCoreApplication::exit(1);
        auto framed = std::make_shared<bool>(false);
        QObject::connect(
            window, &QQuickWindow::frameSwapped, window,
            [window, child, framed] {
                if (!*framed) {
                    *framed = true;
                    // The frame must be the screen asked for: the welcome screen or the guest window.
                    QObject *root = window->findChild<QObject *>(QStringLiteral("rootView"));
                    QObject *model = root ? root->property("viewModel").value<QObject *>() : nullptr;
                    const int screen = model ? model->property("screen").toInt() : -1;
                    if ((child == Child::Welcome && screen != 0) || (child == Child::Guest && screen != 1)) {
                        QCoreApplication::exit(2);
                        return;
                    }
                    std::printf("frame\n");
                    std::fflush(stdout);
                }
                // The first frame that shows the cards ends the run.
                if (child != Child::Guest || cardsShown(window)) {
                    std::printf("shown %.1f\n", peakRssMiB());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                    return;
                }
                window->update();
            },
            Qt::QueuedConnection);
    });
    if (app) {
        // As the app's entry does it.
        PersistenceController::shared();
        const QUrl url(QStringLiteral("qrc:/qt/qml/Tessmark/App/Main.qml"));
        QQmlComponent types(&engine, url, QQmlComponent::Asynchronous);
        KeychainTokenStore::shared().load();
        engine.load(url);
    } else {
        engine.loadData(bareQml);
    }
    return QApplication::exec();
}

struct Environment
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    Environment(int projectCount, bool guest)
    {
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
        // The store and preferences where the child will look for them.
        qputenv("XDG_CONFIG_HOME", env.value(QStringLiteral("XDG_CONFIG_HOME")).toUtf8());
        qputenv("XDG_DATA_HOME", env.value(QStringLiteral("XDG_DATA_HOME")).toUtf8());
        LocalProjectRepository repository(ModelContainer::open(PersistenceController::storeFilePath()));
        for (int i = 0; i < projectCount; ++i)
            repository.upsert(benchProjectWithLines(i + 1, linesPerProject));
        Preferences preferences(dir.filePath(QStringLiteral("config/Tessmark/Tessmark.conf")));
        preferences.setValue(QStringLiteral("guest_mode_active"), guest);
        preferences.setValue(QStringLiteral("estimate.onboarding.main.completedVersion"), 2);
    }
};

// The child's lines as they arrive, stamped with the time since it was started.
std::optional<Sample> startOnce(const QString &mode, const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(g_self, {mode});
    Sample sample;
    bool shown = false;
    while (!shown && child.waitForReadyRead(60000)) {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            const double at = timer.nsecsElapsed() / 1e9;
            if (line == "frame") {
                sample.firstFrame = at;
            } else if (line.startsWith("shown ")) {
                sample.listShown = at;
                sample.peakRssMiB = line.mid(6).toDouble();
                shown = true;
            }
        }
    }
    if (!child.waitForFinished(60000) || child.exitCode() != 0 || !shown)
        return std::nullopt;
    if (sample.firstFrame == 0)
        sample.firstFrame = sample.listShown;
    return sample;
}

// `key` is the store size of the guest window, or the bare or welcome window's key.
void run(benchmark::State &state, const QString &mode, int key)
{
    static std::map<int, std::unique_ptr<Environment>> environments;
    std::unique_ptr<Environment> &environment = environments[key];
    if (!environment)
        environment = std::make_unique<Environment>(std::max(key, 0), key >= 0);
    for (auto _ : state) {
        const std::optional<Sample> sample = startOnce(mode, environment->env);
        if (!sample) {
            state.SkipWithError("the child did not show its window");
            return;
        }
        g_samples[key].append(*sample);
        state.SetIterationTime(sample->firstFrame);
    }
}

double median(const QList<Sample> &samples, double Sample::*field)
{
    QList<double> values;
    for (const Sample &sample : samples)
        values.append(sample.*field);
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

static void BM_BareWindowFirstFrame(benchmark::State &state)
{
    run(state, QStringLiteral("--child-bare"), bareKey);
}
BENCHMARK(BM_BareWindowFirstFrame)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

static void BM_WelcomeWindowFirstFrame(benchmark::State &state)
{
    run(state, QStringLiteral("--child-welcome"), welcomeKey);
}
BENCHMARK(BM_WelcomeWindowFirstFrame)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// The argument is the number of device projects.
static void BM_GuestMainWindowFirstFrame(benchmark::State &state)
{
    run(state, QStringLiteral("--child-app"), int(state.range(0)));
}
BENCHMARK(BM_GuestMainWindowFirstFrame)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(20000)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--child-app") == 0)
        return runChild(argc, argv, Child::Guest);
    if (argc == 2 && std::strcmp(argv[1], "--child-welcome") == 0)
        return runChild(argc, argv, Child::Welcome);
    if (argc == 2 && std::strcmp(argv[1], "--child-bare") == 0)
        return runChild(argc, argv, Child::Bare);

    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessmark"));
    g_self = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double bare = median(g_samples[bareKey], &Sample::firstFrame);
    const double bareRss = median(g_samples[bareKey], &Sample::peakRssMiB);
    std::printf("Bare window: first frame %.0f ms, peak RSS %.0f MiB\n", bare * 1000, bareRss);
    if (bare <= 0 || bareRss <= 0)
        return 0;
    if (const QList<Sample> &welcome = g_samples[welcomeKey]; !welcome.isEmpty()) {
        const double frame = median(welcome, &Sample::firstFrame);
        const double rss = median(welcome, &Sample::peakRssMiB);
        std::printf("Welcome window over an empty store: first frame %.0f ms, ratio %.2fx (target <= 1.5x); "
                    "peak RSS %.0f MiB, ratio %.2fx (target <= 1.5x)\n",
                    frame * 1000, frame / bare, rss, rss / bareRss);
    }
    for (const auto &[count, samples] : g_samples) {
        if (count < 0)
            continue;
        const double frame = median(samples, &Sample::firstFrame);
        const double shown = median(samples, &Sample::listShown);
        const double rss = median(samples, &Sample::peakRssMiB);
        std::printf("Guest window over %d projects of %d lines: first frame %.0f ms, ratio %.2fx (target <= 1.5x); "
                    "cards shown %.0f ms; peak RSS %.0f MiB, ratio %.2fx (target <= 1.5x)\n",
                    count, linesPerProject, frame * 1000, frame / bare, shown * 1000, rss, rss / bareRss);
    }
    return 0;
}
