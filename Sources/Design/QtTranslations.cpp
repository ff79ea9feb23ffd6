#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtTranslations {

bool install(QCoreApplication *application)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    bool installed = false;
    // Qt Widgets and the core ("qtbase", which also names the standard buttons), the Quick
    // controls and dialogs ("qtdeclarative").
    for (const QString &catalog : {QStringLiteral("qtbase"), QStringLiteral("qtdeclarative")}) {
        auto *translator = new QTranslator(application);
        if (translator->load(russian, catalog, QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator)) {
            installed = true;
        } else {
            delete translator;
        }
    }
    return installed;
}

} // namespace QtTranslations
