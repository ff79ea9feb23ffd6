// Cold start to the first frame: the guest main window over 200 device projects, against a bare
// Qt Quick window with one Text started the same way. Each start is a fresh process.
#include "Data/EstimateCatalogLoader.h"
#include "Data/LocalProjectRepository.h"
#include "Data/ModelContainer.h"
#include "Data/PersistenceController.h"
#include "Models/ProjectStatus.h"
#include "Settings/Preferences.h"
#include "Projects/GuestProjectFactory.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "App/AppQmlPlugins.h"

namespace {

constexpr int projectCount = 200;
QString g_self;
QList<double> g_appSeconds;
QList<double> g_bareSeconds;

const char *bareQml = R"(import QtQuick
Window {
    width: 960; height: 640; visible: true
    Text { anchors.centerIn: parent; text: "Tessmark" }
})";

// The child: starts like the app and exits at its first frame.
int runChild(int argc, char *argv[], bool app)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QApplication::setApplicationName(QStringLiteral("Tessmark"));
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &application, [app](QObject *object) {
        auto *window = qobject_cast<QQuickWindow *>(object);
        if (!window)
            QCoreApplication::exit(1);
        QObject::connect(
            window, &QQuickWindow::frameSwapped, window,
            [window, app] {
                // The frame must be the guest main window, not the welcome screen.
                QObject *root = window->findChild<QObject *>(QStringLiteral("rootView"));
                QObject *model = root ? root->property("viewModel").value<QObject *>() : nullptr;
                const bool guest = model && model->property("screen").toInt() == 1;
                QCoreApplication::exit(!app || guest ? 0 : 2);
            },
            Qt::QueuedConnection);
    });
    if (app) {
        PersistenceController::shared();
        engine.load(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/App/Main.qml")));
    } else {
        engine.loadData(bareQml);
    }
    return QApplication::exec();
}

struct Environment
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    Environment()
    {
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
        // The store and preferences where the child will look for them.
        qputenv("XDG_CONFIG_HOME", env.value(QStringLiteral("XDG_CONFIG_HOME")).toUtf8());
        qputenv("XDG_DATA_HOME", env.value(QStringLiteral("XDG_DATA_HOME")).toUtf8());
        LocalProjectRepository repository(ModelContainer::open(PersistenceController::storeFilePath()));
        for (int i = 0; i < projectCount; ++i) {
            repository.upsert(GuestProjectFactory::makeNew(
                QStringLiteral("Проект %1").arg(i + 1), QStringLiteral("Клиент %1").arg(i % 17), QStringLiteral("RUB"),
                ProjectStatus::Draft, std::nullopt, EstimateCatalogLoader::normalizeCategory));
        }
        Preferences preferences(dir.filePath(QStringLiteral("config/Tessmark/Tessmark.conf")));
        preferences.setValue(QStringLiteral("guest_mode_active"), true);
        preferences.setValue(QStringLiteral("estimate.onboarding.main.completedVersion"), 2);
    }
};

double startOnce(const QString &mode, const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(g_self, {mode});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

void run(benchmark::State &state, const QString &mode, QList<double> &samples)
{
    static Environment environment;
    for (auto _ : state) {
        const double seconds = startOnce(mode, environment.env);
        if (seconds < 0) {
            state.SkipWithError("the child did not show a frame");
            return;
        }
        samples.append(seconds);
        state.SetIterationTime(seconds);
    }
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

static void BM_GuestMainWindowFirstFrame(benchmark::State &state)
{
    run(state, QStringLiteral("--child-app"), g_appSeconds);
}
BENCHMARK(BM_GuestMainWindowFirstFrame)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

static void BM_BareWindowFirstFrame(benchmark::State &state)
{
    run(state, QStringLiteral("--child-bare"), g_bareSeconds);
}
BENCHMARK(BM_BareWindowFirstFrame)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--child-app") == 0)
        return runChild(argc, argv, true);
    if (argc == 2 && std::strcmp(argv[1], "--child-bare") == 0)
        return runChild(argc, argv, false);

    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessmark"));
    g_self = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double app = median(g_appSeconds);
    const double bare = median(g_bareSeconds);
    if (app > 0 && bare > 0)
        std::printf("Guest main window with %d projects: %.0f ms; bare window: %.0f ms; ratio %.2fx (target < 3x)\n",
                    projectCount, app * 1000, bare * 1000, app / bare);
    return 0;
}
