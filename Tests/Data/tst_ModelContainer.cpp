#include "Data/ModelContainer.h"
#include "Data/PersistenceController.h"
#include "Data/StoreError.h"
#include "StoreProbe.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

    void storesThatCannotOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << QStringLiteral("garbage");
        QTest::newRow("newer schema") << QStringLiteral("newer");
        QTest::newRow("folder under a file") << QStringLiteral("folder");
    }
    void storesThatCannotOpen()
    {
        QFETCH(QString, kind);
        QString path = file(kind + QStringLiteral(".sqlite"));
        if (kind == QStringLiteral("garbage")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (kind == QStringLiteral("newer")) {
            probeStoreFile(path, QStringLiteral("PRAGMA user_version = 20000"));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            path += QStringLiteral("/inner/store.sqlite");
        }
        try {
            ModelContainer::open(path);
            QFAIL("opened");
        } catch (const StoreError &error) {
            QVERIFY(!error.description().isEmpty());
        }
    }

    // A file that is not a store of ours is refused before anything is written to it.
    void foreignFilesAreLeftAlone_data()
    {
        QTest::addColumn<QStringList>("statements"); // run on the file first; "ours" makes a store of ours
        QTest::addColumn<QString>("cause");
        QTest::newRow("table of another program")
            << QStringList{"CREATE TABLE notes (text TEXT)", "INSERT INTO notes VALUES ('клиент')"}
            << "the file holds data of another program (table notes)";
        QTest::newRow("our table's name, never our version")
            << QStringList{"CREATE TABLE LocalProjectRecord (id TEXT)", "INSERT INTO LocalProjectRecord VALUES ('x')"}
            << "the file holds data of another program (table LocalProjectRecord)";
        QTest::newRow("our version, other columns")
            << QStringList{"CREATE TABLE LocalProjectRecord (a, b)", "PRAGMA user_version = 10000"}
            << "the table LocalProjectRecord has columns of another program";
        QTest::newRow("view of another program") << QStringList{"CREATE VIEW everything AS SELECT 1"}
                                                 << "the file holds data of another program (table everything)";
        QTest::newRow("another schema") << QStringList{"CREATE TABLE t (x)", "PRAGMA user_version = 3"}
                                        << "unsupported schema version 3";
        QTest::newRow("table beside ours")
            << QStringList{"ours", "CREATE TABLE extra (x)"} << "the file holds data of another program (table extra)";
        QTest::newRow("uploads' table of other columns")
            << QStringList{"ours", "DROP TABLE LocalCloudUpload", "CREATE TABLE LocalCloudUpload (x)"}
            << "the table LocalCloudUpload has columns of another program";
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
            QCOMPARE(error.description(), cause);
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
            QVERIFY2(child.readAllStandardError().contains("SQLite store: cannot create the folder"),
                     "fatal message missing");
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
