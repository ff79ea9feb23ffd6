// The export sheet as a user drives it, as a Quick Test: rendering, the preview, saving through a
// fake of the save dialog, a failed render and its retry. Files go to a private temporary folder.
#include "Export/ProposalTempFolder.h"
#include "ExportSamples.h"
#include "Features/Export/ExportPDFViewModel.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QDir>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

#include <unistd.h>

Q_IMPORT_QML_PLUGIN(Tessmark_ServicesPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_ExportPlugin)

class ExportTest : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUrl openedUrl MEMBER m_opened NOTIFY openedUrlChanged)

public:
    ExportTest()
    {
        qputenv("TMPDIR", m_dir.filePath(QStringLiteral("tmp")).toUtf8());
        QDir().mkpath(m_dir.filePath(QStringLiteral("tmp")));
    }

    Q_INVOKABLE QVariant proposal(int lines) const { return QVariant::fromValue(sampleProposal(lines)); }
    Q_INVOKABLE QUrl fileUrl(const QString &name) const { return QUrl::fromLocalFile(m_dir.filePath(name)); }
    Q_INVOKABLE qint64 fileSize(const QUrl &url) const { return QFile(url.toLocalFile()).size(); }

    Q_INVOKABLE QList<QUrl> clipboardUrls() const
    {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data ? data->urls() : QList<QUrl>();
    }

    // The temporary folder replaced by a link, which the renderer refuses to write through.
    Q_INVOKABLE bool breakTempFolder()
    {
        const std::optional<QString> folder = ProposalTempFolder::ensure();
        return folder && QDir(*folder).removeRecursively() && QFile::link(m_dir.path(), *folder);
    }
    Q_INVOKABLE bool repairTempFolder()
    {
        return QFile::remove(m_dir.filePath(QStringLiteral("tmp/tessmark-%1").arg(::getuid())));
    }

    // The viewer is not started: the URL it would open is kept here.
    Q_INVOKABLE void captureViewer(ExportPDFViewModel *viewModel)
    {
        viewModel->setUrlOpener([this](const QUrl &url) {
            m_opened = url;
            Q_EMIT openedUrlChanged();
        });
    }

Q_SIGNALS:
    void openedUrlChanged();

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("exportTest"), this);
    }

private:
    QTemporaryDir m_dir;
    QUrl m_opened;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ExportTest setup;
    return quick_test_main_with_setup(argc, argv, "tst_ExportPDFSheetQuick", TESSMARK_QUICK_TEST_DIR, &setup);
}

#include "tst_ExportPDFSheetQuick.moc"
