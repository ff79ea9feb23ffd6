#include "Features/Export/FolderEntriesModel.h"
#include "ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The save dialog's rows: what a folder shows, in which order, and how it follows the disk.
class tst_FolderEntriesModel : public QObject
{
    Q_OBJECT

    static bool makeFile(const QString &path, int size = 0)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size;
    }

    // The folder's entries made in a fresh temporary folder.
    static bool fill(const QTemporaryDir &dir, const QStringList &folders, const QStringList &files)
    {
        for (const QString &folder : folders) {
            if (!QDir(dir.path()).mkdir(folder))
                return false;
        }
        return std::all_of(files.cbegin(), files.cend(),
                           [&](const QString &file) { return makeFile(dir.filePath(file)); });
    }

    static QStringList names(const FolderEntriesModel &model)
    {
        QStringList shown;
        for (const FolderEntry &entry : model.entries())
            shown.append(entry.name);
        return shown;
    }

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void listing_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("folders first") << QStringList{"Я", "А"} << QStringList{"Б.pdf", "а.pdf"}
                                       << QStringList{"А", "Я", "а.pdf", "Б.pdf"};
        QTest::newRow("numbers by value")
            << QStringList{"Папка 10", "Папка 2", "Папка 1"} << QStringList{"КП 3.pdf", "КП 21.pdf"}
            << QStringList{"Папка 1", "Папка 2", "Папка 10", "КП 3.pdf", "КП 21.pdf"};
        QTest::newRow("Cyrillic, any case") << QStringList{"яблоко", "Арбуз", "ёж", "Ель", "вишня"} << QStringList{}
                                            << QStringList{"Арбуз", "вишня", "ёж", "Ель", "яблоко"};
        QTest::newRow("same but for case")
            << QStringList{"смета", "Смета"} << QStringList{} << QStringList{"Смета", "смета"};
        QTest::newRow("hidden left out") << QStringList{".config", "Проекты"} << QStringList{".черновик.pdf", "КП.pdf"}
                                         << QStringList{"Проекты", "КП.pdf"};
        QTest::newRow("PDF in any case") << QStringList{"f.pdf"}
                                         << QStringList{"c.pdf", "a.PDF", "b.Pdf", "d.txt", "e.pdf.bak", "pdf"}
                                         << QStringList{"f.pdf", "a.PDF", "b.Pdf", "c.pdf"};
        QTest::newRow("empty") << QStringList{} << QStringList{"notes.txt"} << QStringList{};
    }
    void listing()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QStringList, shown);
        QTemporaryDir dir;
        QVERIFY(fill(dir, folders, files));
        FolderEntriesModel model;
        QSignalSpy counted(&model, &FolderEntriesModel::countChanged);
        model.setFolder(dir.path());
        QCOMPARE(names(model), shown);
        QCOMPARE(model.count(), shown.size());
        QCOMPARE(counted.count(), shown.isEmpty() ? 0 : 1);
        QCOMPARE(model.note(), QString());
        for (int row = 0; row < model.count(); ++row) {
            const QModelIndex index = model.index(row);
            QCOMPARE(index.data(FolderEntriesModel::FileNameRole).toString(), shown.at(row));
            QCOMPARE(model.isFolder(row), folders.contains(shown.at(row)));
            QCOMPARE(index.data(FolderEntriesModel::FileIsDirRole).toBool(), model.isFolder(row));
            QCOMPARE(model.fileUrl(row), QUrl::fromLocalFile(dir.filePath(shown.at(row))));
            QCOMPARE(model.indexOf(model.fileUrl(row)), row);
        }
    }

    void rowValues()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Клиенты")));
        QVERIFY(makeFile(dir.filePath(QStringLiteral("Смета.pdf")), 4096));
        FolderEntriesModel model;
        model.setFolder(dir.path());
        QCOMPARE(model.count(), 2);
        const QModelIndex file = model.index(1);
        QCOMPARE(file.data(FolderEntriesModel::FileSizeRole).toLongLong(), 4096);
        QCOMPARE(file.data(FolderEntriesModel::FileModifiedRole).toDateTime(),
                 QFileInfo(dir.filePath(QStringLiteral("Смета.pdf"))).lastModified());
        QCOMPARE(file.data(FolderEntriesModel::FileUrlRole).toUrl(),
                 QUrl::fromLocalFile(dir.filePath(QStringLiteral("Смета.pdf"))));
        QCOMPARE(model.roleNames().value(FolderEntriesModel::FileIsDirRole), QByteArray("fileIsDir"));
        // Another folder's entry, or none, has no row here; a row past the end has no values.
        QCOMPARE(model.indexOf(QUrl::fromLocalFile(QStringLiteral("/tmp/Смета.pdf"))), -1);
        QCOMPARE(model.indexOf(QUrl()), -1);
        QCOMPARE(model.fileName(2), QString());
        QVERIFY(!model.isFolder(-1));
        QCOMPARE(model.fileUrl(5), QUrl());
    }

    // Files made and removed while the folder is shown come in as rows of their own: a row that
    // was there stays the same row, and nothing is reset.
    void followsTheDisk()
    {
        QTemporaryDir dir;
        QVERIFY(fill(dir, {QStringLiteral("Архив")}, {QStringLiteral("Б.pdf"), QStringLiteral("Г.pdf")}));
        FolderEntriesModel model;
        model.setFolder(dir.path());
        QCOMPARE(names(model), (QStringList{"Архив", "Б.pdf", "Г.pdf"}));
        const QPersistentModelIndex chosen = model.index(2);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

        QVERIFY(makeFile(dir.filePath(QStringLiteral("В.pdf"))));
        QVERIFY(makeFile(dir.filePath(QStringLiteral("notes.txt"))));
        QTRY_COMPARE(model.count(), 4);
        QCOMPARE(names(model), (QStringList{"Архив", "Б.pdf", "В.pdf", "Г.pdf"}));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), 2);
        QCOMPARE(chosen.row(), 3);

        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Б.pdf"))));
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("Архив")));
        QTRY_COMPARE(model.count(), 2);
        QCOMPARE(names(model), (QStringList{"В.pdf", "Г.pdf"}));
        QVERIFY(removed.count() >= 1);
        QCOMPARE(chosen.row(), 1);
        QCOMPARE(chosen.data(FolderEntriesModel::FileNameRole).toString(), QStringLiteral("Г.pdf"));
        QCOMPARE(reset.count(), 0);
    }

    void unreadableFolderShowsANote_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("note");
        QTest::newRow("no rights") << false << QStringLiteral("Нет прав на просмотр этой папки.");
        QTest::newRow("gone") << true << QStringLiteral("Этой папки больше нет. Выберите другую.");
    }
    void unreadableFolderShowsANote()
    {
        QFETCH(bool, gone);
        QFETCH(QString, note);
        QTemporaryDir dir;
        QVERIFY(fill(dir, {QStringLiteral("Закрытая")}, {QStringLiteral("Закрытая/КП.pdf"), QStringLiteral("КП.pdf")}));
        const QString folder = dir.filePath(QStringLiteral("Закрытая"));
        FolderEntriesModel model;
        model.setFolder(dir.path());
        QCOMPARE(model.count(), 2);
        QSignalSpy noted(&model, &FolderEntriesModel::noteChanged);
        std::optional<ReadOnlyFolder> locked;
        if (gone)
            QVERIFY(QDir(folder).removeRecursively());
        else
            QVERIFY(locked.emplace(folder, 0333).isValid());
        model.setFolder(folder);
        QCOMPARE(model.count(), 0);
        QCOMPARE(model.note(), note);
        QCOMPARE(noted.count(), 1);
        // Back in a folder that can be read, the note is gone.
        model.setFolder(dir.path());
        QCOMPARE(model.count(), gone ? 1 : 2);
        QCOMPARE(model.note(), QString());
    }

    // The folder shown is removed and made again: it is followed again where it stands.
    void folderMadeAgainIsFollowed()
    {
        QTemporaryDir dir;
        FolderEntriesModel model;
        model.setFolder(dir.path());
        QVERIFY(QDir(dir.path()).removeRecursively());
        QTRY_VERIFY(!model.note().isEmpty());
        QVERIFY(QDir().mkpath(dir.path()) && makeFile(dir.filePath(QStringLiteral("КП.pdf"))));
        QTRY_COMPARE(model.count(), 1);
        QCOMPARE(model.note(), QString());
        QVERIFY(makeFile(dir.filePath(QStringLiteral("Ещё.pdf"))));
        QTRY_COMPARE(model.count(), 2);
    }

    // A folder of more than a window can take shows its first rows (the folders among them) and says so.
    void hugeFolderIsCut()
    {
        QCOMPARE(FolderEntriesModel().maximumRows(), 5000);
        QTemporaryDir dir;
        QStringList files;
        for (int i = 1; i <= 12; ++i)
            files.append(QStringLiteral("КП %1.pdf").arg(i));
        QVERIFY(fill(dir, {QStringLiteral("Я"), QStringLiteral("Б"), QStringLiteral("А")}, files));
        FolderEntriesModel model;
        model.setMaximumRows(10);
        model.setFolder(dir.path());
        QCOMPARE(model.count(), 10);
        QCOMPARE(names(model).mid(0, 4), (QStringList{"А", "Б", "Я", "КП 1.pdf"}));
        QCOMPARE(model.fileName(model.count() - 1), QStringLiteral("КП 7.pdf"));
        QCOMPARE(model.note(), QStringLiteral("Показаны первые 10 из 15 папок и PDF-файлов."));
    }
};

QTEST_GUILESS_MAIN(tst_FolderEntriesModel)
#include "tst_FolderEntriesModel.moc"
