#include "AppStart.h"

#include "BundledFonts.h"
#include "QtTranslations.h"
#include "QuickItemAccessible.h"

#include <QGuiApplication>
#include <QLocale>
#include <QQmlEngine>

namespace AppStart {

void prepare(QCoreApplication &app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessmark"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tessmark"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessmark"));
    // Qt's own dialogs and controls speak Russian with the rest of the window, and format their
    // sizes and dates as Russian does. Our own texts, the JSON and the store do not depend on it.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QtTranslations::install(&app);
    // Disabled controls read as disabled.
    QuickItemAccessible::install();
    BundledFonts::registerAll();
}

void prepareEngine(QQmlEngine &engine)
{
    engine.setUiLanguage(QLocale().name());
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
}

QUrl window()
{
    return QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/App/Main.qml"));
}

} // namespace AppStart
