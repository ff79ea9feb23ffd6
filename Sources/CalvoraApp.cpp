// The application entry: one window whose content is the root view.
#include "App/OpenedUrlInbox.h"
#include "App/SingleInstance.h"
#include "App/StartupArguments.h"
#include "API/APIClient.h"
#include "Auth/KeychainTokenStore.h"
#include "Config/AppConfig.h"
#include "Data/PersistenceController.h"
#include "Settings/Preferences.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQmlEngineExtensionPlugin>
#include <QUrl>

#include "App/AppQmlPlugins.h"

int main(int argc, char *argv[])
{
    // Qt Charts draws through the widgets module, so the application object must be a QApplication.
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QApplication::setApplicationName(QStringLiteral("Tessmark"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessmark"));
    QApplication::setDesktopFileName(QStringLiteral("tessmark"));

    const QStringList arguments = QApplication::arguments();
    const std::optional<QString> url = StartupArguments::openedUrl(arguments);

    SingleInstance instance(SingleInstance::defaultServerName());
    if (instance.forwardToRunning(url.value_or(QString())))
        return 0;
    instance.listen();

    StartupArguments::apply(arguments, Preferences::shared());

    // Both stop the program here, before any window, when the build or the device cannot serve it.
    AppConfig::apiBaseUrl();
    PersistenceController::shared();
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
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/App/Main.qml")));
    return QApplication::exec();
}
