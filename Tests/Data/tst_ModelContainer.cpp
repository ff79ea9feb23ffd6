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

} // namespace

class tst_ModelContainer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString file(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void emptyStore()
    {
        const auto store = ModelContainer::open(file(QStringLiteral("empty.sqlite")));
        QVERIFY(store->fetchAllSorted().isEmpty());
        QVERIFY(store->fetch(QStringLiteral("x")).isEmpty());
        QCOMPARE(store->count(), 0);
        store->remove(QStringLiteral("x"));
        store->removeAll();
        QCOMPARE(store->count(), 0);
    }

    void schemaOnDisk()
    {
        const QString path = file(QStringLiteral("schema.sqlite"));
        {
            const auto store = ModelContainer::open(path);
            store->upsert(QStringLiteral("a"), "{}");
        }
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), 10000);
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(probeStoreFile(path, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"))
                     .toInt(),
                 1);
        const auto reopened = ModelContainer::open(path);
        QCOMPARE(ids(reopened->fetchAllSorted()), QStringList{QStringLiteral("a")});
    }

    void upsertReplacesOneRecord()
    {
        const auto store = ModelContainer::openInMemory();
        QDateTime now = QDateTime::fromMSecsSinceEpoch(1000, Qt::UTC);
        store->setClock([&now] { return now; });
        store->upsert(QStringLiteral("a"), "first");
        now = now.addMSecs(5);
        store->upsert(QStringLiteral("a"), "second");
        const QList<LocalProjectRecord> records = store->fetch(QStringLiteral("a"));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().projectData, QByteArray("second"));
        QCOMPARE(records.first().updatedAt, now);
        QCOMPARE(store->count(), 1);
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

    void identitiesCompareExactly()
    {
        const auto store = ModelContainer::openInMemory();
        store->upsert(QStringLiteral("local-ABC"), "upper");
        store->upsert(QStringLiteral("local-abc"), "lower");
        store->upsert(QString(), "empty");
        QCOMPARE(store->count(), 3);
        QCOMPARE(store->fetch(QStringLiteral("local-abc")).value(0).projectData, QByteArray("lower"));
        QCOMPARE(store->fetch(QStringLiteral("")).value(0).projectData, QByteArray("empty"));
        store->remove(QStringLiteral("LOCAL-ABC"));
        QCOMPARE(store->count(), 3);
        store->remove(QStringLiteral("local-ABC"));
        QCOMPARE(ids(store->fetchAllSorted()).contains(QStringLiteral("local-ABC")), false);
        store->removeAll();
        QCOMPARE(store->count(), 0);
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

    void sharedStoreThatCannotOpenStopsTheProgram()
    {
        // The data location lies under a regular file, so its folder cannot be made.
        const QString blocker = file(QStringLiteral("blocker"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), blocker);
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(STORE_CHILD), {QStringLiteral("shared")});
        QVERIFY(child.waitForFinished(30000));
        QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        QVERIFY2(child.readAllStandardError().contains("SQLite store: cannot create the folder"),
                 "fatal message missing");
    }

    void sharedStoreUnderAppData()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("xdg")));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(STORE_CHILD), {QStringLiteral("shared")});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QString path = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        QVERIFY2(path.startsWith(m_dir.filePath(QStringLiteral("xdg/"))), qPrintable(path));
        QVERIFY(QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(tst_ModelContainer)
#include "tst_ModelContainer.moc"
