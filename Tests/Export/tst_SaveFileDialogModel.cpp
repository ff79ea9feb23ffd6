#include "Features/Export/SaveFileDialogModel.h"

#include <QDir>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The save dialog's folder and the file a typed name stands for.
class tst_SaveFileDialogModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void destination_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("path"); // relative to the folder; empty: nothing to save under
        QTest::newRow("name") << "Предложение Ромашка"
                              << "Предложение Ромашка.pdf";
        QTest::newRow("with the suffix") << "КП.pdf"
                                         << "КП.pdf";
        QTest::newRow("suffix in capitals") << "КП.PDF"
                                            << "КП.PDF";
        QTest::newRow("ends in a dot") << "КП."
                                       << "КП.pdf";
        QTest::newRow("other suffix") << "Смета 1.5"
                                      << "Смета 1.5.pdf";
        QTest::newRow("blanks around") << "  КП #2\t"
                                       << "КП #2.pdf";
        QTest::newRow("into a subfolder") << "a/../b/КП"
                                          << "b/КП.pdf";
        QTest::newRow("blank") << "   " << QString();
        QTest::newRow("a folder") << "Клиенты/" << QString();
    }
    void destination()
    {
        QFETCH(QString, typed);
        QFETCH(QString, path);
        SaveFileDialogModel model;
        model.setFolder(QUrl::fromLocalFile(m_dir.path()));
        QCOMPARE(model.destination(typed), path.isEmpty() ? QString() : m_dir.filePath(path));
        QCOMPARE(model.destination(QStringLiteral("/tmp/Смета")), QStringLiteral("/tmp/Смета.pdf"));
    }

    void folderMovesUpAndSkipsMissingOnes()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Клиенты/2026")));
        SaveFileDialogModel model;
        QSignalSpy changed(&model, &SaveFileDialogModel::folderChanged);
        // A folder that is gone shows the nearest one above it.
        model.setFolder(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Клиенты/2026/нет/и нет"))));
        QCOMPARE(model.folder(), QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Клиенты/2026"))));
        QCOMPARE(model.folderText(), m_dir.filePath(QStringLiteral("Клиенты/2026")));
        model.goUp();
        QCOMPARE(model.folder(), QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Клиенты"))));
        QCOMPARE(changed.count(), 2);
        model.setFolder(QUrl::fromLocalFile(QStringLiteral("/")));
        QVERIFY(!model.canGoUp());
        model.goUp();
        QCOMPARE(model.folder(), QUrl::fromLocalFile(QStringLiteral("/")));
    }

    void replaceQuestionNamesTheFile()
    {
        SaveFileDialogModel model;
        QCOMPARE(model.replaceQuestion(QStringLiteral("/home/анна/Документы/Смета.pdf")),
                 QStringLiteral("Файл «Смета.pdf» уже существует. Заменить его?"));
        QVERIFY(model.folderExists(m_dir.path()));
        QVERIFY(!model.fileExists(m_dir.path()));
    }

    void sizesAndDatesInTheApplicationsLocale_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("bytes") << qint64(512) << QStringLiteral("512 байт");
        QTest::newRow("kilobytes") << qint64(4096) << QStringLiteral("4,0\u00A0КБ");
        QTest::newRow("megabytes") << qint64(5 * 1024 * 1024 + 300 * 1024) << QStringLiteral("5,3\u00A0МБ");
        QTest::newRow("gigabytes") << qint64(3) * 1024 * 1024 * 1024 << QStringLiteral("3,0\u00A0ГБ");
    }
    void sizesAndDatesInTheApplicationsLocale()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        SaveFileDialogModel model;
        QCOMPARE(model.sizeText(bytes), text);
        QCOMPARE(model.dateText(QDateTime(QDate(2026, 12, 7), QTime(13, 32, 20))), QStringLiteral("07.12.2026 13:32"));
    }
};

QTEST_GUILESS_MAIN(tst_SaveFileDialogModel)
#include "tst_SaveFileDialogModel.moc"
