#include "FileSharing.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// "Share" copies the file so that file managers, mail and chat clients paste it as a file.
class tst_FileSharing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clipboardHoldsTheFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("gnomeCopy");
        QTest::newRow("plain") << QStringLiteral("/tmp/KP-site.pdf") << QByteArray("copy\nfile:///tmp/KP-site.pdf");
        QTest::newRow("Cyrillic and a blank") << QStringLiteral("/tmp/Моё КП.pdf")
                                              << QByteArray("copy\nfile:///tmp/%D0%9C%D0%BE%D1%91%20%D0%9A%D0%9F.pdf");
    }

    void clipboardHoldsTheFile()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, gnomeCopy);
        const std::unique_ptr<QMimeData> data(FileSharing::clipboardData(QUrl::fromLocalFile(path)));
        QCOMPARE(data->urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
        QCOMPARE(data->data(QStringLiteral("x-special/gnome-copied-files")), gnomeCopy);
    }

    void onlyLocalFilesThatExistAreCopied()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.pdf"));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QVERIFY(!FileSharing::copyToClipboard(QUrl(QStringLiteral("https://example.org/a.pdf"))));
        QVERIFY(!FileSharing::copyToClipboard(QUrl::fromLocalFile(path)));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(FileSharing::copyToClipboard(QUrl::fromLocalFile(path)));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
    }

    // With no file manager on the bus the folder is opened; when that fails too, the caller hears so.
    void showInFolderFallsBackToTheFolderAndTellsTheOutcome_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::newRow("folder opens") << true;
        QTest::newRow("nothing opens") << false;
    }
    void showInFolderFallsBackToTheFolderAndTellsTheOutcome()
    {
        QFETCH(bool, opens);
        QObject context;
        QUrl opened;
        std::optional<bool> shown;
        FileSharing::showInFolder(
            QUrl::fromLocalFile(QStringLiteral("/tmp/folder/a.pdf")), &context,
            [&](const QUrl &url) {
                opened = url;
                return opens;
            },
            [&](bool ok) { shown = ok; });
        QTRY_VERIFY_WITH_TIMEOUT(shown.has_value(), 30000);
        QCOMPARE(*shown, opens);
        QCOMPARE(opened, QUrl::fromLocalFile(QStringLiteral("/tmp/folder")));
    }
};

QTEST_MAIN(tst_FileSharing)
#include "tst_FileSharing.moc"
