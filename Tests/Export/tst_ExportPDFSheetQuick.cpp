// The export sheet as a user drives it, as a Quick Test: rendering, the preview, saving through
// the desktop's file dialog (a fake portal on the test's own bus), through our own save dialog
// where there is none (and a fake of it), a failed render and its retry, the viewer and the folder
// with no program to open them. Files go to a private temporary folder, which is also the home
// folder.
#include "FocusWatch.h"
#include "Export/ProposalTempFolder.h"
#include "ExportSamples.h"
#include "FakeFileChooserPortal.h"
#include "PoolHold.h"
#include "QtTranslations.h"
#include "QuickItemAccessible.h"
#include "ReadOnlyFolder.h"
#include "Features/Export/ExportPDFViewModel.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QFileInfo>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>
#include <QTest>
#include <memory>
#include <optional>

#include <unistd.h>

Q_IMPORT_QML_PLUGIN(Tessmark_ServicesPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_ExportPlugin)

class ExportTest : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUrl openedUrl MEMBER m_opened NOTIFY openedUrlChanged)
    // Not on the bus until started.
    Q_PROPERTY(FakeFileChooserPortal *portal READ portal CONSTANT)

public:
    ExportTest()
    {
        qputenv("TMPDIR", m_dir.filePath(QStringLiteral("tmp")).toUtf8());
        QDir().mkpath(m_dir.filePath(QStringLiteral("tmp")));
    }

    Q_INVOKABLE QVariant proposal(int lines) const { return QVariant::fromValue(sampleProposal(lines)); }
    Q_INVOKABLE QUrl fileUrl(const QString &name) const { return QUrl::fromLocalFile(m_dir.filePath(name)); }
    Q_INVOKABLE qint64 fileSize(const QUrl &url) const { return QFile(url.toLocalFile()).size(); }
    Q_INVOKABLE QString localPath(const QUrl &url) const { return url.toLocalFile(); }
    Q_INVOKABLE int fileCount(const QUrl &folder) const
    {
        return int(QDir(folder.toLocalFile()).entryList(QDir::Files | QDir::Hidden).size());
    }
    // The file at the path holds the same bytes as the one at the URL.
    Q_INVOKABLE bool sameBytes(const QString &path, const QUrl &url) const
    {
        QFile file(path);
        QFile other(url.toLocalFile());
        return file.open(QIODevice::ReadOnly) && other.open(QIODevice::ReadOnly) && file.readAll() == other.readAll()
            && file.size() > 0;
    }
    FakeFileChooserPortal *portal() { return &m_portal; }
    Q_INVOKABLE bool removeFile(const QUrl &url) const { return QFile::remove(url.toLocalFile()); }
    Q_INVOKABLE bool makeFolder(const QUrl &url) const { return QDir().mkpath(url.toLocalFile()); }
    Q_INVOKABLE bool writeFile(const QUrl &url, int size) const
    {
        QFile file(url.toLocalFile());
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size;
    }

    // The file, or the folder the file lies in, is there.
    Q_INVOKABLE bool exists(const QUrl &url) const { return QFileInfo::exists(url.toLocalFile()); }
    Q_INVOKABLE bool folderExists(const QUrl &file) const
    {
        return QFileInfo(QFileInfo(file.toLocalFile()).path()).isDir();
    }

    // A fresh home folder, with or without a documents folder in it; its URL.
    Q_INVOKABLE QUrl newHome(bool withDocuments)
    {
        const QString home = m_dir.filePath(QStringLiteral("home-%1").arg(++m_homes));
        QDir().mkpath(withDocuments ? home + QStringLiteral("/Documents") : home);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
        return QUrl::fromLocalFile(home);
    }

    // The folder cannot be written into until restoreAccess().
    Q_INVOKABLE bool makeReadOnly(const QUrl &folder)
    {
        m_readOnly = std::make_unique<ReadOnlyFolder>(folder.toLocalFile());
        return m_readOnly->isValid();
    }
    // ... nor listed.
    Q_INVOKABLE bool makeUnreadable(const QUrl &folder)
    {
        m_readOnly = std::make_unique<ReadOnlyFolder>(folder.toLocalFile(), 0333);
        return m_readOnly->isValid();
    }
    Q_INVOKABLE void restoreAccess() { m_readOnly.reset(); }

    // Text typed on the keyboard into the item's window, one character at a time.
    Q_INVOKABLE void typeText(QQuickItem *item, const QString &text) const
    {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, item->window(), Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, item->window(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // What a screen reader is told of the item: that it shows (neither hidden nor out of sight).
    Q_INVOKABLE bool readAsShowing(QQuickItem *item) const
    {
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(item);
        return node && !node->state().invisible && !node->state().offscreen;
    }

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
    // The sheet renders on the test's own threads, which holdRenders() holds until
    // releaseRenders(), so that what shows while a render runs is seen however fast the machine is.
    Q_INVOKABLE void rendersOnTestThreads(ExportPDFViewModel *viewModel) { viewModel->setWorkPool(&m_renderThreads); }
    Q_INVOKABLE void holdRenders() { m_renders.emplace(m_renderThreads); }
    Q_INVOKABLE void releaseRenders() { m_renders.reset(); }

    // The viewer is not started: the URL it would open is kept here. A machine without a viewer
    // or a file manager refuses every URL.
    Q_INVOKABLE void captureViewer(ExportPDFViewModel *viewModel, bool opens = true)
    {
        viewModel->setUrlOpener([this, opens](const QUrl &url) {
            m_opened = url;
            Q_EMIT openedUrlChanged();
            return opens;
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
    FakeFileChooserPortal m_portal;
    QUrl m_opened;
    int m_homes = 0;
    std::unique_ptr<ReadOnlyFolder> m_readOnly;
    QThreadPool m_renderThreads;
    std::optional<PoolHold> m_renders;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    // As the application does: Russian sizes and dates in the dialog.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QtTranslations::install(&app);
    // A screen reader's reading of the items, as in the application.
    QuickItemAccessible::install();
    qmlRegisterUncreatableType<FakeFileChooserPortal>("Tessmark.Tests", 1, 0, "FakeFileChooserPortal",
                                                      QStringLiteral("The test's own."));
    ExportTest setup;
    return quick_test_main_with_setup(argc, argv, "tst_ExportPDFSheetQuick", TESSMARK_QUICK_TEST_DIR, &setup);
}

#include "tst_ExportPDFSheetQuick.moc"
