#include "Data/ModelContainer.h"
#include "Data/PersistenceController.h"
#include "Data/StoreError.h"
#include "Data/StoreMessages.h"
#include "StoreProbe.h"
#include "../Export/ReadOnlyFolder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList ids(const QList<LocalProjectRecord> &records)
{
    QStringList out;
    for (const LocalProjectRecord &record : records)
        out.append(record.id);
    return out;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A text a person reads: Russian apart from the paths it quotes and the program's name.
void verifyReadable(const QString &text)
{
    QString words = text;
    words.remove(QRegularExpression(QStringLiteral("«[^»]*»"))).remove(QStringLiteral("Tessmark"));
    QVERIFY2(!words.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(text));
}

} // namespace

class tst_ModelContainer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString file(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void schemaOnDisk()
    {
        const QString path = file(QStringLiteral("schema.sqlite"));
        {
            const auto store = ModelContainer::open(path);
            store->upsert(QStringLiteral("a"), "{}");
        }
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), 10200);
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(
            probeStoreFile(path, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'")).toInt(), 2);
        const auto reopened = ModelContainer::open(path);
        QCOMPARE(ids(reopened->fetchAllSorted()), QStringList{QStringLiteral("a")});
    }

    void newestWriteFirst_data()
    {
        QTest::addColumn<int>("stepMs");
        QTest::newRow("distinct milliseconds") << 3;
        QTest::newRow("same millisecond") << 0;
    }
    void newestWriteFirst()
    {
        QFETCH(int, stepMs);
        const auto store = ModelContainer::openInMemory();
        QDateTime now = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000, Qt::UTC);
        store->setClock([&now, stepMs] { return now = now.addMSecs(stepMs); });
        for (const char *id : {"a", "b", "c"})
            store->upsert(QString::fromLatin1(id), "{}");
        QCOMPARE(ids(store->fetchAllSorted()), (QStringList{"c", "b", "a"}));
        store->upsert(QStringLiteral("a"), "{}");
        QCOMPARE(ids(store->fetchAllSorted()), (QStringList{"a", "c", "b"}));
        store->remove(QStringLiteral("c"));
        store->upsert(QStringLiteral("b"), "{}");
        QCOMPARE(ids(store->fetchAllSorted()), (QStringList{"b", "a"}));
    }

    // One record per identity, compared exactly; a write replaces data and time.
    void identitiesCompareExactly()
    {
        const auto store = ModelContainer::openInMemory();
        QDateTime now = QDateTime::fromMSecsSinceEpoch(1000, Qt::UTC);
        store->setClock([&now] { return now = now.addMSecs(5); });
        store->upsert(QStringLiteral("local-ABC"), "upper");
        store->upsert(QStringLiteral("local-abc"), "first");
        store->upsert(QStringLiteral("local-abc"), "lower");
        store->upsert(QString(), "empty");
        QCOMPARE(store->count(), 3);
        const QList<LocalProjectRecord> records = store->fetch(QStringLiteral("local-abc"));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().projectData, QByteArray("lower"));
        QCOMPARE(records.first().updatedAt, QDateTime::fromMSecsSinceEpoch(1015, Qt::UTC));
        QCOMPARE(store->fetch(QString()).value(0).projectData, QByteArray("empty"));
        store->remove(QStringLiteral("LOCAL-ABC"));
        QCOMPARE(store->count(), 3);
        store->remove(QStringLiteral("local-ABC"));
        QVERIFY(store->fetch(QStringLiteral("local-ABC")).isEmpty());
        store->removeAll();
        QCOMPARE(store->count(), 0);
        QVERIFY(store->fetchAllSorted().isEmpty());
    }

    // A store that does not open says why in Russian, naming the file or folder concerned and
    // what to do: the folder that exists but may not be written to is not "a folder that cannot
    // be made".
    void storesThatCannotOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("named"); // "file", "folder" or "blocker": whose path the text quotes
        QTest::addColumn<QString>("cause");
        QTest::newRow("not a database") << "garbage"
                                        << "file"
                                        << "» повреждён. Переместите его в другое место";
        QTest::newRow("newer schema")
            << "newer"
            << "file"
            << "» записан другой версией Tessmark или другой программой (версия данных 20000)";
        QTest::newRow("folder under a file") << "blocked"
                                             << "blocker"
                                             << "» — это файл, а не папка. Переименуйте или удалите этот файл.";
        QTest::newRow("read-only folder") << "read-only folder"
                                          << "folder"
                                          << "» доступна только для чтения: проекты в ней не сохранить. "
                                             "Разрешите запись в эту папку.";
        QTest::newRow("read-only folder holding a store")
            << "read-only folder with a store"
            << "folder"
            << "» доступна только для чтения: проекты в ней не сохранить.";
        QTest::newRow("read-only store file") << "read-only file"
                                              << "file"
                                              << "» доступен только для чтения: проекты в нём не сохранить. "
                                                 "Разрешите запись в этот файл.";
        QTest::newRow("folder in the file's place")
            << "folder as file"
            << "file"
            << "» находится папка. Переименуйте или переместите её, и Tessmark создаст новое хранилище.";
        QTest::newRow("link to nothing in the file's place")
            << "dangling link"
            << "file"
            << QStringLiteral("» стоит ссылка на «%1», а такого файла нет. "
                              "Удалите ссылку, и Tessmark создаст новое хранилище")
                   .arg(file(QStringLiteral("nowhere/store.sqlite")));
        QTest::newRow("folder of another user") << "foreign folder"
                                                << "folder"
                                                << "» принадлежит другому пользователю.";
    }
    void storesThatCannotOpen()
    {
        QFETCH(QString, kind);
        QFETCH(QString, named);
        QFETCH(QString, cause);
        const QString folder = file(QStringLiteral("cannot open ") + kind);
        QVERIFY(QDir().mkpath(folder));
        QString path = folder + QStringLiteral("/store.sqlite");
        const QString blocker = folder + QStringLiteral("/blocker");
        std::unique_ptr<ReadOnlyFolder> readOnly;
        if (kind == QStringLiteral("garbage")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (kind == QStringLiteral("newer")) {
            probeStoreFile(path, QStringLiteral("PRAGMA user_version = 20000"));
        } else if (kind == QStringLiteral("blocked")) {
            QFile f(blocker);
            QVERIFY(f.open(QIODevice::WriteOnly));
            path = blocker + QStringLiteral("/inner/store.sqlite");
        } else if (kind.startsWith(QStringLiteral("read-only folder"))) {
            if (kind.endsWith(QStringLiteral("with a store")))
                ModelContainer::open(path)->upsert(QStringLiteral("a"), "{}");
            readOnly = std::make_unique<ReadOnlyFolder>(folder);
        } else if (kind == QStringLiteral("folder as file")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QStringLiteral("dangling link")) {
            QVERIFY(QFile::link(file(QStringLiteral("nowhere/store.sqlite")), path));
        } else if (kind == QStringLiteral("read-only file")) {
            ModelContainer::open(path)->upsert(QStringLiteral("a"), "{}");
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0400) == 0);
            // Made only for the right to override file modes that it takes away meanwhile.
            readOnly = std::make_unique<ReadOnlyFolder>(folder + QStringLiteral("-elsewhere"));
        } else {
            if (::chown(QFile::encodeName(folder).constData(), 65534, 65534) != 0)
                QSKIP("only root can give a folder to another user");
        }
        if (readOnly)
            QVERIFY(readOnly->isValid());
        const QString quoted = named == QStringLiteral("file") ? path
            : named == QStringLiteral("folder")                ? folder
                                                               : blocker;
        try {
            ModelContainer::open(path);
            QFAIL("opened");
        } catch (const StoreError &error) {
            QVERIFY2(error.description().contains(QStringLiteral("«") + quoted + cause),
                     qPrintable(error.description()));
            verifyReadable(error.description());
        }
    }

    // A path goes into a text bounded: its start and its file's name show, control characters
    // do not break the text's lines.
    void pathsInTextsAreBounded_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        const QString deep = QStringLiteral("/home/анна") + QStringLiteral("/папка").repeated(100)
            + QStringLiteral("/LocalProjects.sqlite");
        QTest::newRow("short") << "/home/anna/LocalProjects.sqlite"
                               << "/home/anna/LocalProjects.sqlite";
        QTest::newRow("line break") << "/tmp/a\nb/LocalProjects.sqlite"
                                    << "/tmp/a?b/LocalProjects.sqlite";
        QTest::newRow("600 characters") << deep << deep.left(40) + QStringLiteral("…") + deep.right(79);
    }
    void pathsInTextsAreBounded()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(StoreMessages::boundedPath(path), shown);
        QVERIFY(StoreMessages::sqlFailure(14, path).contains(QStringLiteral("«") + shown + QStringLiteral("»")));
    }

    // A disk that fills up: the write is refused with what to do, and what was stored stays.
    void fullDiskKeepsWhatWasStored()
    {
        const QString path = file(QStringLiteral("full.sqlite"));
        const auto store = ModelContainer::open(path);
        store->upsert(QStringLiteral("kept"), "{\"name\":\"Сохранённый\"}");
        QVERIFY(limitStoreSize(path, 1)); // no page beyond those it has
        try {
            for (int i = 0; i < 1000; ++i)
                store->upsert(QStringLiteral("filler-%1").arg(i), QByteArray(4000, 'x'));
            QFAIL("the store never filled up");
        } catch (const StoreError &error) {
            QCOMPARE(error.description(),
                     QStringLiteral("Диск заполнен: данные не записаны. Освободите место на диске и повторите."));
            QCOMPARE(error.sqliteCode() & 0xFF, 13);
            QVERIFY(error.detail().contains(QStringLiteral("full")));
        }
        QCOMPARE(store->fetch(QStringLiteral("kept")).value(0).projectData, QByteArray("{\"name\":\"Сохранённый\"}"));
        // Once there is room again, writes go through.
        QVERIFY(limitStoreSize(path, 1 << 30));
        store->upsert(QStringLiteral("after"), "{}");
        QCOMPARE(store->fetch(QStringLiteral("after")).size(), 1);
    }

    // A start on a full disk says so, as a save does, also where SQLite reports an I/O failure
    // growing its journal for want of room; the store's path shows once.
    void fullDiskAtStart()
    {
        const QString path = file(QStringLiteral("start/LocalProjects.sqlite"));
        const QString full = StoreMessages::sqlFailure(4874, path, false);
        const QString failedIo = StoreMessages::sqlFailure(4874, path, true);
        QCOMPARE(full, StoreMessages::sqlFailure(13, path));
        QVERIFY2(failedIo.startsWith(QStringLiteral("Ошибка чтения или записи диска")), qPrintable(failedIo));
        for (const QString &cause : {full, failedIo})
            QCOMPARE(StoreMessages::startStopped(cause, path).count(path), 1);
    }

    // A file that is not a store of ours is refused before anything is written to it.
    void foreignFilesAreLeftAlone_data()
    {
        QTest::addColumn<QStringList>("statements"); // run on the file first; "ours" makes a store of ours
        QTest::addColumn<QString>("cause");
        // The cause follows the file's quoted path.
        QTest::newRow("table of another program")
            << QStringList{"CREATE TABLE notes (text TEXT)", "INSERT INTO notes VALUES ('клиент')"}
            << "» хранятся данные другой программы (таблица «notes»).";
        QTest::newRow("our table's name, never our version")
            << QStringList{"CREATE TABLE LocalProjectRecord (id TEXT)", "INSERT INTO LocalProjectRecord VALUES ('x')"}
            << "» хранятся данные другой программы (таблица «LocalProjectRecord»).";
        QTest::newRow("our version, other columns")
            << QStringList{"CREATE TABLE LocalProjectRecord (a, b)", "PRAGMA user_version = 10000"}
            << "» таблица «LocalProjectRecord» устроена иначе, чем у Tessmark";
        QTest::newRow("view of another program") << QStringList{"CREATE VIEW everything AS SELECT 1"}
                                                 << "» хранятся данные другой программы (таблица «everything»).";
        QTest::newRow("another schema") << QStringList{"CREATE TABLE t (x)", "PRAGMA user_version = 3"}
                                        << "» записан другой версией Tessmark или другой программой (версия данных 3).";
        QTest::newRow("table beside ours")
            << QStringList{"ours", "CREATE TABLE extra (x)"} << "» хранятся данные другой программы (таблица «extra»).";
        QTest::newRow("uploads' table of other columns")
            << QStringList{"ours", "DROP TABLE LocalCloudUpload", "CREATE TABLE LocalCloudUpload (x)"}
            << "» таблица «LocalCloudUpload» устроена иначе, чем у Tessmark";
    }
    void foreignFilesAreLeftAlone()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, cause);
        const QString path = file(QStringLiteral("foreign-%1.sqlite").arg(QTest::currentDataTag()));
        for (const QString &statement : statements) {
            if (statement == QStringLiteral("ours"))
                ModelContainer::open(path)->upsert(QStringLiteral("a"), "{}");
            else
                probeStoreFile(path, statement);
        }
        const QByteArray before = bytesOf(path);
        QVERIFY(!before.isEmpty());
        const QString journalMode = probeStoreFile(path, QStringLiteral("PRAGMA journal_mode")).toString();
        try {
            ModelContainer::open(path);
            QFAIL("opened");
        } catch (const StoreError &error) {
            QVERIFY2(error.description().contains(QStringLiteral("«") + path + cause), qPrintable(error.description()));
            verifyReadable(error.description());
        }
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA journal_mode")).toString(), journalMode);
    }

    // An upload started for a record is kept until the record goes, however it goes.
    void uploadsGoWithTheirRecord()
    {
        const auto store = ModelContainer::openInMemory();
        for (const char *id : {"a", "b", "c"})
            store->upsert(QString::fromLatin1(id), "{}");
        store->recordUpload(QStringLiteral("a"), {});
        store->recordUpload(QStringLiteral("b"), {QStringLiteral("p-1")});
        store->recordUpload(QStringLiteral("b"), {QStringLiteral("p-1"), QStringLiteral("p-2")});
        store->recordUpload(QStringLiteral("c"), {QStringLiteral("p-3")});
        QCOMPARE(store->uploads().size(), 3);
        QCOMPARE(store->uploads().value(QStringLiteral("b")), (QStringList{"p-1", "p-2"}));
        QCOMPARE(store->uploads().value(QStringLiteral("a")), QStringList());
        // A rewrite of the record keeps it; a removal takes it along.
        store->upsert(QStringLiteral("a"), "{\"x\":1}");
        store->remove(QStringLiteral("a"));
        QStringList kept = store->uploads().keys();
        kept.sort();
        QCOMPARE(kept, (QStringList{"b", "c"}));
        store->removeAll();
        QVERIFY(store->uploads().isEmpty());
    }

    // A store of the version before gets the uploads' table at open, with every record kept.
    void storeOfTheVersionBeforeIsUpgraded()
    {
        const QString path = file(QStringLiteral("before-uploads.sqlite"));
        ModelContainer::open(path)->upsert(QStringLiteral("a"), "{}");
        probeStoreFile(path, QStringLiteral("DROP TABLE LocalCloudUpload"));
        probeStoreFile(path, QStringLiteral("PRAGMA user_version = 10100"));
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), 10100);

        const auto store = ModelContainer::open(path);
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), ModelContainer::schemaVersion);
        QCOMPARE(ids(store->fetchAllSorted()), QStringList{QStringLiteral("a")});
        store->recordUpload(QStringLiteral("a"), {});
        store->remove(QStringLiteral("a"));
        QVERIFY(store->uploads().isEmpty());
    }

    // A store of ours that lost its table (an outside tool, a half restore) works again.
    void storeOfOursWithoutItsTable()
    {
        const QString path = file(QStringLiteral("tableless.sqlite"));
        ModelContainer::open(path)->upsert(QStringLiteral("a"), "{}");
        probeStoreFile(path, QStringLiteral("DROP TABLE LocalProjectRecord"));
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), ModelContainer::schemaVersion);

        const auto store = ModelContainer::open(path);
        QCOMPARE(store->count(), 0);
        store->upsert(QStringLiteral("b"), "{\"x\":1}");
        store->upsert(QStringLiteral("c"), "{}");
        QCOMPARE(ids(store->fetchAllSorted()), (QStringList{"c", "b"}));
        QCOMPARE(store->fetch(QStringLiteral("b")).value(0).projectData, QByteArray("{\"x\":1}"));
        QCOMPARE(ids(ModelContainer::open(path)->fetchAllSorted()), (QStringList{"c", "b"}));
    }

    // The application's store lives under the data location; when its folder cannot be made the
    // program stops with a message.
    void sharedStore_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("under the data location") << false;
        QTest::newRow("folder cannot be made") << true;
    }
    void sharedStore()
    {
        QFETCH(bool, blocked);
        const QString dataHome = m_dir.filePath(blocked ? QStringLiteral("blocker") : QStringLiteral("xdg"));
        if (blocked) {
            QFile f(dataHome);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(STORE_CHILD), {QStringLiteral("shared")});
        QVERIFY(child.waitForFinished(30000));
        if (blocked) {
            QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
            const QString logged = QString::fromUtf8(child.readAllStandardError());
            QVERIFY2(logged.contains(QStringLiteral("Не удаётся открыть хранилище проектов на устройстве.\n"
                                                    "Папку хранилища проектов «")),
                     qPrintable(logged));
            QVERIFY2(logged.contains(QStringLiteral("» — это файл, а не папка.")), qPrintable(logged));
            return;
        }
        QCOMPARE(child.exitCode(), 0);
        const QString path = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        QVERIFY2(path.startsWith(dataHome + QLatin1Char('/')), qPrintable(path));
        QVERIFY(QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(tst_ModelContainer)
#include "tst_ModelContainer.moc"
