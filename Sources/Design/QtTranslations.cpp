#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtTranslations {

namespace {

// The texts of Qt Quick's own file dialog, which Qt 6.4's Russian catalog lacks.
class QuickDialogTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "FileDialog") != 0)
            return {};
        if (qstrcmp(sourceText, "File name") == 0)
            return QStringLiteral("Имя файла");
        if (qstrcmp(sourceText, "Filter") == 0)
            return QStringLiteral("Фильтр");
        return {};
    }
};

} // namespace

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
    QCoreApplication::installTranslator(new QuickDialogTexts(application));
    return installed;
}

} // namespace QtTranslations
