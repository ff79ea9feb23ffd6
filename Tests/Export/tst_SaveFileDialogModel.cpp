#include "Features/Export/SaveFileDialogModel.h"
#include "ReadOnlyFolder.h"

#include <QDir>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The save dialog's folder, its new folders and the file a typed name stands for.
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
        QTest::newRow("dots inside") << "..КП.."
                                     << "..КП..pdf";
        // Refused: the file would not lie in the folder shown.
        QTest::newRow("into a subfolder") << "a/../b/КП" << QString();
        QTest::newRow("elsewhere") << "/tmp/Смета" << QString();
        QTest::newRow("blank") << "   " << QString();
        QTest::newRow("a folder") << "Клиенты/" << QString();
        QTest::newRow("dot") << " . " << QString();
        QTest::newRow("dot dot") << ".." << QString();
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) << QString();
    }
    void destination()
    {
        QFETCH(QString, typed);
        QFETCH(QString, path);
        SaveFileDialogModel model;
        model.setFolder(QUrl::fromLocalFile(m_dir.path()));
        QCOMPARE(model.destination(typed), path.isEmpty() ? QString() : m_dir.filePath(path));
        // Refused with a reason, as a new folder's name; the folder's own rules but for the word.
        const QString problem = model.fileNameProblem(typed);
        QCOMPARE(problem.isEmpty(), !path.isEmpty());
        QCOMPARE(problem, model.folderNameProblem(typed).replace(QStringLiteral("папки"), QStringLiteral("файла")));
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
        // Going up tells the folder it left, to be selected in the one above.
        QCOMPARE(model.goUp(), QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Клиенты/2026"))));
        QCOMPARE(model.folder(), QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Клиенты"))));
        QCOMPARE(changed.count(), 2);
        model.setFolder(QUrl::fromLocalFile(QStringLiteral("/")));
        QVERIFY(!model.canGoUp());
        QCOMPARE(model.goUp(), QUrl());
        QCOMPARE(model.folder(), QUrl::fromLocalFile(QStringLiteral("/")));
    }

    // The rows are the new folder's by the time the change is told, so that a selection can land on
    // the folder left straight away.
    void rowsAreReadBeforeTheChangeIsTold()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Письма/Входящие")));
        SaveFileDialogModel model;
        QStringList seen;
        connect(&model, &SaveFileDialogModel::folderChanged, this, [&] { seen.append(model.entries()->fileName(0)); });
        model.setFolder(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Письма/Входящие"))));
        const QUrl left = model.goUp();
        QCOMPARE(seen, (QStringList{QString(), QStringLiteral("Входящие")}));
        QCOMPARE(model.entries()->indexOf(left), 0);
    }

    void newFolderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // empty: the folder is made and entered
        QTest::newRow("Cyrillic") << "Предложения 2026" << QString();
        QTest::newRow("blanks around") << "  Архив\t" << QString();
        QTest::newRow("dots inside") << "..старые.." << QString();
        QTest::newRow("255 bytes") << QString(127, QChar(u'я')) + QLatin1Char('x') << QString();
        QTest::newRow("empty") << ""
                               << "Введите имя папки.";
        QTest::newRow("blanks only") << "   "
                                     << "Введите имя папки.";
        QTest::newRow("dot") << "."
                             << "Имена «.» и «..» заняты системой. Выберите другое.";
        QTest::newRow("dot dot") << " .. "
                                 << "Имена «.» и «..» заняты системой. Выберите другое.";
        QTest::newRow("slash") << "a/b"
                               << "В имени папки не может быть знака «/».";
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                             << "В имени папки не может быть нулевого символа.";
        QTest::newRow("256 bytes") << QString(128, QChar(u'я'))
                                   << "Имя слишком длинное для этого диска. Сократите его.";
        QTest::newRow("a folder's name") << "Клиенты"
                                         << "Здесь уже есть папка или файл с таким именем.";
        QTest::newRow("a file's name") << "КП.pdf"
                                       << "Здесь уже есть папка или файл с таким именем.";
    }
    void newFolderNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Клиенты")));
        QFile file(dir.filePath(QStringLiteral("КП.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        SaveFileDialogModel model;
        model.setFolder(QUrl::fromLocalFile(dir.path()));
        QCOMPARE(model.folderNameProblem(name), problem);
        QCOMPARE(model.createFolder(name), problem);
        if (problem.isEmpty()) {
            const QString made = dir.filePath(name.trimmed());
            QVERIFY(QFileInfo(made).isDir());
            QCOMPARE(model.folder(), QUrl::fromLocalFile(made));
        } else {
            QCOMPARE(model.folder(), QUrl::fromLocalFile(dir.path()));
            QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 2);
        }
    }

    void newFolderInAFolderWithoutRights()
    {
        QTemporaryDir dir;
        const ReadOnlyFolder readOnly(dir.filePath(QStringLiteral("чужая")));
        QVERIFY(readOnly.isValid());
        SaveFileDialogModel model;
        model.setFolder(QUrl::fromLocalFile(dir.filePath(QStringLiteral("чужая"))));
        QCOMPARE(model.folderNameProblem(QStringLiteral("Моя")), QString());
        QCOMPARE(model.createFolder(QStringLiteral("Моя")), QStringLiteral("Нет прав создавать папки в этой папке."));
        QCOMPARE(model.folder(), QUrl::fromLocalFile(dir.filePath(QStringLiteral("чужая"))));
    }

    void freeFolderNameCounts()
    {
        QTemporaryDir dir;
        SaveFileDialogModel model;
        model.setFolder(QUrl::fromLocalFile(dir.path()));
        QCOMPARE(model.freeFolderName(), QStringLiteral("Новая папка"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Новая папка")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Новая папка 2")));
        QCOMPARE(model.freeFolderName(), QStringLiteral("Новая папка 3"));
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
