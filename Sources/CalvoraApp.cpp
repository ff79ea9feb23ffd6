// The application entry: one window whose content is the root view.
#include "App/AppStart.h"
#include "App/EndSignals.h"
#include "App/LargeBuffers.h"
#include "App/OpenedUrlInbox.h"
#include "App/SingleInstance.h"
#include "App/StartupArguments.h"
#include "API/APIClient.h"
#include "API/WorkThreads.h"
#include "Auth/KeychainTokenStore.h"
#include "Config/AppConfig.h"
#include "Data/PersistenceController.h"
#include "Export/ProposalTempFolder.h"
#include "Settings/Preferences.h"

#include <QApplication>
#include <QMessageBox>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlEngineExtensionPlugin>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "App/AppQmlPlugins.h"

namespace {

// The start cannot go on: the reason goes to the log and into a window the user can read, since
// a stop before the main window would otherwise leave nothing on screen.
int stopWithWindow(const QString &message)
{
    qCritical("%s", qPrintable(message));
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message);
    box.addButton(QStringLiteral("Закрыть"), QMessageBox::RejectRole);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Test seam: the process tests have nobody to close the window, so it reports what it showed
    // and closes after the variable's number of milliseconds.
    if (qEnvironmentVariableIsSet("TESSMARK_TEST_CLOSE_STOP_WINDOW")) {
        QTimer::singleShot(0, &box, [&box] {
            if (box.isVisible())
                std::printf("stop window: %s\n", box.text().toUtf8().constData());
            std::fflush(stdout);
        });
        QTimer::singleShot(qEnvironmentVariableIntValue("TESSMARK_TEST_CLOSE_STOP_WINDOW"), &box, &QMessageBox::close);
    }
    box.exec();
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char *argv[])
{
    // A finished save of a long project keeps none of its buffers.
    LargeBuffers::returnWhenFreed();
    // Qt Charts draws through the widgets module, so the application object must be a QApplication.
    QApplication app(argc, argv);
    // Work still running when the window is gone (a render whose sheet went stops at its next
    // line) ends before the application object, whose fonts it uses, goes.
    const auto workEnds = qScopeGuard(&WorkThreads::finish);
    AppStart::prepare(app);

    const QStringList arguments = QApplication::arguments();
    const std::optional<QString> url = StartupArguments::openedUrl(arguments);

    SingleInstance instance(SingleInstance::defaultServerName());
    switch (instance.forwardToRunning(url.value_or(QString()))) {
    case SingleInstance::Forwarding::NoInstance:
        instance.listen();
        break;
    case SingleInstance::Forwarding::Taken:
        return 0;
    case SingleInstance::Forwarding::TooLong:
        return stopWithWindow(QStringLiteral("Ссылка слишком длинная: Tessmark открывает ссылки не длиннее %1 КБ.")
                                  .arg(SingleInstance::maxMessageBytes / 1024));
    case SingleInstance::Forwarding::NoAnswer:
        return stopWithWindow(
            url ? QStringLiteral("Tessmark уже запущен, но не принял ссылку. Попробуйте открыть её ещё раз.")
                : QStringLiteral("Tessmark уже запущен, но не отвечает."));
    case SingleInstance::Forwarding::Refused:
        return stopWithWindow(url ? QStringLiteral("Tessmark уже запущен, но не может открыть ссылку: его запуск "
                                                   "остановлен ошибкой. Закройте окно с ошибкой и откройте "
                                                   "ссылку ещё раз.")
                                  : QStringLiteral("Tessmark уже запущен, но его запуск остановлен ошибкой. "
                                                   "Закройте окно с ошибкой и запустите Tessmark ещё раз."));
    }

    StartupArguments::apply(arguments, Preferences::shared());

    // Both stop the program here, before the main window, when the build or the device cannot serve it.
    // A second start meanwhile is told that its link was not taken: no window is left to show it.
    const auto stop = [&instance](const QString &message) {
        instance.refuse();
        return stopWithWindow(message);
    };
    if (!AppConfig::readApiBaseUrl())
        return stop(AppConfig::missingBaseUrlMessage());
    if (const std::optional<QString> failure = PersistenceController::openShared())
        return stop(*failure);
    // Proposal renders of earlier days: their sheets are closed, and whoever was handed one has read it.
    ProposalTempFolder::removeStaleRenders();
    // Every authorized request carries the token kept in the credential store.
    APIClient::shared().setTokenProvider([] { return KeychainTokenStore::shared().load(); });

    OpenedUrlInbox *inbox = OpenedUrlInbox::instance();
    if (url)
        inbox->post(*url);
    QObject::connect(&instance, &SingleInstance::messageReceived, inbox, [inbox](const QString &message) {
        // A second start without a URL only asks for the window.
        inbox->post(message);
    });

    QQmlApplicationEngine engine;
    AppStart::prepareEngine(engine);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    const QUrl window = AppStart::window();
    // The window's types load on the engine's loader thread while the stored session is read from
    // the credential store, which the choice of the first screen waits for.
    QQmlComponent types(&engine, window, QQmlComponent::Asynchronous);
    KeychainTokenStore::shared().load();
    engine.load(window);
    // Ended by a signal, the application goes as its window's close button makes it go.
    const QList<QObject *> roots = engine.rootObjects();
    const EndSignals endSignals(roots.isEmpty() ? nullptr : qobject_cast<QWindow *>(roots.constFirst()));
    return QApplication::exec();
}
