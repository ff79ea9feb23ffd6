#include "FileSharing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include <memory>

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

    void onlyLocalFilesAreCopied()
    {
        FileSharing sharing;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        sharing.copyToClipboard(QUrl(QStringLiteral("https://example.org/a.pdf")));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        sharing.copyToClipboard(QUrl::fromLocalFile(QStringLiteral("/tmp/a.pdf")));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(),
                 QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/a.pdf"))});
    }
};

QTEST_MAIN(tst_FileSharing)
#include "tst_FileSharing.moc"
