#include "Data/LocalProjectRepository.h"
#include "Data/StoreError.h"
#include "ProjectSamples.h"
#include "ReadableProjects.h"
#include "StoreProbe.h"
#include "Utils/Json.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <limits>

using ProjectSamples::ids;
using ProjectSamples::make;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct OldRecord
{
    QString id;
    QByteArray projectData;
    qint64 updatedAt = 0;
};

// A store as schema 1.0.0 left it: the JSON alone, in WAL mode, records given oldest first.
// extra: statements run on it afterwards.
bool makeJsonOnlyStore(const QString &path, const QList<OldRecord> &records, const QStringList &extra = {})
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old-store"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        const QStringList statements{
            QStringLiteral("PRAGMA journal_mode=WAL"),
            QStringLiteral("CREATE TABLE LocalProjectRecord (id TEXT PRIMARY KEY NOT NULL, projectData BLOB NOT NULL, "
                           "updatedAt INTEGER NOT NULL, seq INTEGER NOT NULL UNIQUE)"),
            QStringLiteral("CREATE INDEX LocalProjectRecordByWrite ON LocalProjectRecord (updatedAt, seq)"),
            QStringLiteral("PRAGMA user_version = 10000"), QStringLiteral("BEGIN")};
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        qint64 seq = 0;
        for (const OldRecord &record : records) {
            ok = ok && query.prepare(QStringLiteral("INSERT INTO LocalProjectRecord VALUES (?, ?, ?, ?)"));
            query.addBindValue(record.id);
            query.addBindValue(record.projectData);
            query.addBindValue(record.updatedAt);
            query.addBindValue(++seq);
            ok = ok && query.exec();
        }
        ok = ok && query.exec(QStringLiteral("COMMIT"));
        for (const QString &statement : extra)
            ok = ok && query.exec(statement);
        if (!ok)
            qWarning() << query.lastError().text();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old-store"));
    return ok;
}

// Projects of every shape the lists show, and one record that no longer reads.
QList<OldRecord> oldRecords(int count)
{
    QList<OldRecord> records;
    for (int i = 0; i < count; ++i) {
        Project p = make(QStringLiteral("local-%1").arg(i), QStringLiteral("Проект %1").arg(i), 20);
        if (i % 3 == 1) {
            p.clientName = QStringLiteral("Клиент %1").arg(i);
            p.status = ProjectStatus::Completed;
            p.currency = QStringLiteral("USD");
        }
        if (i % 3 == 2) {
            p.parentProjectId = QStringLiteral("local-%1").arg(i - 1);
            p.baseProjectId = p.parentProjectId;
            p.version = 2;
            p.iterationName = QStringLiteral("Этап 2");
            p.projectType = std::nullopt;
        }
        records.append({p.id, p.toJsonText(), 1700000000000 + i});
    }
    records.insert(count / 2, {QStringLiteral("local-bad"), R"({"id":"local-bad","name":"x"})", 1700000000000});
    return records;
}

} // namespace

class tst_LocalProjectRepository : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    LocalProjectRepository memoryRepository() const { return LocalProjectRepository(ModelContainer::openInMemory()); }

private Q_SLOTS:
    void totalsRecomputedOnlyInTheStore()
    {
        LocalProjectRepository repo = memoryRepository();
        Project p = make(QStringLiteral("local-t"), QStringLiteral("Итоги"), 2);
        p.totalHours = 999;
        p.totalCost = -1;
        const Project passed = p;
        repo.upsert(p);
        QCOMPARE(p, passed);
        const Project stored = *repo.fetch(p.id);
        QCOMPARE(stored, p.recalculatedTotals());
        QCOMPARE(stored.totalHours, 3.0);
        QCOMPARE(stored.updatedAt, passed.updatedAt);
    }

    void encodingFailureLeavesStoreUntouched()
    {
        LocalProjectRepository repo = memoryRepository();
        Project p = make(QStringLiteral("local-e"), QStringLiteral("Было"), 1);
        repo.upsert(p);
        p.name = QStringLiteral("Стало");
        p.items[0].rate = std::numeric_limits<double>::quiet_NaN();
        QVERIFY_THROWS_EXCEPTION(EncodingError, repo.upsert(p));
        QCOMPARE(repo.fetch(p.id)->name, QStringLiteral("Было"));
        QCOMPARE(repo.context()->count(), 1);
    }

    void unreadableRecordHidesNothingElse()
    {
        LocalProjectRepository repo = memoryRepository();
        repo.upsert(make(QStringLiteral("old"), QStringLiteral("Старый")));
        repo.context()->upsert(QStringLiteral("bad"), R"({"id":"bad","name":"x"})");
        repo.upsert(make(QStringLiteral("new"), QStringLiteral("Новый")));

        QCOMPARE(ids(repo.fetchAllSorted()), (QStringList{QStringLiteral("new"), QStringLiteral("old")}));
        const LocalProjectListing listing = readableProjects(repo);
        QCOMPARE(listing.unreadableIds, QStringList{QStringLiteral("bad")});
        QVERIFY(listing.firstFailure.contains(QStringLiteral("totalCost")));
        QCOMPARE(repo.fetch(QStringLiteral("old"))->name, QStringLiteral("Старый"));
        QVERIFY_THROWS_EXCEPTION(DecodingError, repo.fetch(QStringLiteral("bad")));
        // Left in place: nothing is deleted just because it could not be read.
        QCOMPARE(repo.context()->count(), 3);
    }

    // The list reads the summary written beside the JSON: no lines, and not the JSON at all.
    void listingReadsTheSummaryOnly()
    {
        const QString path = m_dir.filePath(QStringLiteral("summary.sqlite"));
        LocalProjectRepository repo(ModelContainer::open(path));
        Project iteration = make(QStringLiteral("local-it"), QStringLiteral("Сайт"), 3);
        iteration.clientName = QStringLiteral("ООО Ромашка");
        iteration.status = ProjectStatus::InProgress;
        iteration.parentProjectId = QStringLiteral("local-root");
        iteration.baseProjectId = QStringLiteral("local-root");
        iteration.version = 3;
        iteration.iterationName = QStringLiteral("Второй этап");
        iteration.projectType = std::nullopt;
        repo.upsert(iteration);

        const LocalProjectListing listing = repo.fetchListing();
        QVERIFY(listing.unreadableIds.isEmpty());
        QCOMPARE(listing.projects.size(), 1);
        Project expected = iteration;
        expected.items.clear();
        expected.defaultRate.reset();
        QCOMPARE(listing.projects.first(), expected);

        // An outside edit of the JSON does not reach the list; opening the project reads it.
        probeStoreFile(path, QStringLiteral("UPDATE LocalProjectRecord SET projectData = 'x'"));
        QCOMPARE(repo.fetchListing().projects, QList<Project>{expected});
        QVERIFY_THROWS_EXCEPTION(DecodingError, repo.fetch(iteration.id));
    }

    // A 1.0.0 store gains its summaries at open: every record, its bytes, stamps and order as
    // they were; the one that does not read stays listed as unreadable.
    void jsonOnlyStoreUpgradedLosslessly()
    {
        const QString path = m_dir.filePath(QStringLiteral("upgrade.sqlite"));
        const QList<OldRecord> records = oldRecords(30);
        QVERIFY(makeJsonOnlyStore(path, records));
        const QList<Project> before = [&] {
            QList<Project> projects;
            for (auto at = records.crbegin(); at != records.crend(); ++at) {
                if (at->id != QStringLiteral("local-bad"))
                    projects.append(Project::fromJson(Json::parse(at->projectData)));
            }
            return projects;
        }();

        LocalProjectRepository repo(ModelContainer::open(path));
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), ModelContainer::schemaVersion);
        QCOMPARE(repo.fetchAllSorted(), before);
        for (const OldRecord &record : records) {
            const LocalProjectRecord stored = repo.context()->fetch(record.id).value(0);
            QCOMPARE(stored.projectData, record.projectData);
            QCOMPARE(stored.updatedAt.toMSecsSinceEpoch(), record.updatedAt);
        }
        const LocalProjectListing listing = repo.fetchListing();
        QCOMPARE(listing.unreadableIds, QStringList{QStringLiteral("local-bad")});
        QVERIFY(listing.firstFailure.contains(QStringLiteral("totalCost")));
        QCOMPARE(listing.projects.size(), before.size());
        for (qsizetype i = 0; i < before.size(); ++i) {
            Project expected = before.at(i);
            expected.items.clear();
            expected.defaultRate.reset();
            QCOMPARE(listing.projects.at(i), expected);
        }
        // Once: the next open finds the current schema and changes nothing.
        repo = LocalProjectRepository(ModelContainer::openInMemory());
        const QByteArray upgraded = bytesOf(path);
        QCOMPARE(ModelContainer::open(path)->count(), records.size());
        QCOMPARE(bytesOf(path), upgraded);
    }

    // An upgrade that fails on the way leaves the file byte for byte as it was, and says so.
    void failedUpgradeLeavesTheFileAsItWas()
    {
        const QString path = m_dir.filePath(QStringLiteral("upgrade-fails.sqlite"));
        QVERIFY(makeJsonOnlyStore(path, oldRecords(10),
                                  {QStringLiteral("CREATE TRIGGER full BEFORE UPDATE ON LocalProjectRecord "
                                                  "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END")}));
        const QByteArray before = bytesOf(path);
        try {
            ModelContainer::open(path);
            QFAIL("opened");
        } catch (const StoreError &error) {
            QVERIFY2(error.description().startsWith(QStringLiteral(
                         "Хранилище проектов не удалось обновить до новой версии, оно оставлено как было.")),
                     qPrintable(error.description()));
            QVERIFY(error.detail().contains(QStringLiteral("database or disk is full")));
        }
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt(), 10000);
        QCOMPARE(probeStoreFile(path, QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('LocalProjectRecord')"))
                     .toInt(),
                 4);

        // Without the fault the same file upgrades.
        probeStoreFile(path, QStringLiteral("DROP TRIGGER full"));
        LocalProjectRepository repo(ModelContainer::open(path));
        QCOMPARE(repo.fetchListing().projects.size(), 10);
    }

    // An upgrade killed at any point leaves a store that opens, upgraded or not, with every record.
    void killedUpgradeLosesNothing_data()
    {
        QTest::addColumn<int>("killAfterMs");
        QTest::newRow("at once") << 0;
        QTest::newRow("early") << 15;
        QTest::newRow("later") << 60;
        QTest::newRow("never") << -1;
    }
    void killedUpgradeLosesNothing()
    {
        QFETCH(int, killAfterMs);
        const QString path = m_dir.filePath(QStringLiteral("upgrade-kill-%1.sqlite").arg(killAfterMs));
        const QList<OldRecord> records = oldRecords(1500);
        QVERIFY(makeJsonOnlyStore(path, records));
        QProcess child;
        child.start(QStringLiteral(STORE_CHILD), {QStringLiteral("open"), path});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        if (killAfterMs >= 0) {
            QThread::msleep(killAfterMs);
            child.kill();
        }
        QVERIFY(child.waitForFinished(30000));
        if (killAfterMs < 0)
            QCOMPARE(child.exitCode(), 0);

        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        const int version = probeStoreFile(path, QStringLiteral("PRAGMA user_version")).toInt();
        QVERIFY(version == 10000 || version == ModelContainer::schemaVersion);
        LocalProjectRepository repo(ModelContainer::open(path));
        for (const OldRecord &record : records)
            QCOMPARE(repo.context()->fetch(record.id).value(0).projectData, record.projectData);
        QCOMPARE(repo.fetchListing().projects.size(), records.size() - 1);
    }

    // A writer killed at any point leaves a store that opens, passes its integrity check and
    // holds every save that returned before the kill.
    void killedWriterLosesNoCompletedSave_data()
    {
        QTest::addColumn<int>("savesBeforeKill");
        QTest::newRow("early") << 5;
        QTest::newRow("later") << 60;
        QTest::newRow("much later") << 200;
    }
    void killedWriterLosesNoCompletedSave()
    {
        QFETCH(int, savesBeforeKill);
        const QString path = m_dir.filePath(QStringLiteral("kill-%1.sqlite").arg(savesBeforeKill));
        QProcess child;
        child.start(QStringLiteral(STORE_CHILD), {QStringLiteral("save-loop"), path});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (output.count('\n') < savesBeforeKill) {
            QVERIFY2(child.waitForReadyRead(30000), "the writer stopped reporting");
            output += child.readAllStandardOutput();
        }
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        output += child.readAllStandardOutput();

        // Only complete lines count: the last one may have been cut by the kill.
        output.truncate(output.lastIndexOf('\n') + 1);
        const QList<QByteArray> lines = output.split('\n');
        QList<int> saved;
        for (const QByteArray &line : lines) {
            if (line.startsWith("saved "))
                saved.append(line.mid(6).toInt());
        }
        QVERIFY(saved.size() >= savesBeforeKill);

        QCOMPARE(probeStoreFile(path, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        LocalProjectRepository repo(ModelContainer::open(path));
        const LocalProjectListing listing = readableProjects(repo);
        QVERIFY(listing.unreadableIds.isEmpty());
        QVERIFY(listing.projects.size() >= saved.size());
        for (int n : saved) {
            const std::optional<Project> p = repo.fetch(QStringLiteral("local-%1").arg(n));
            QVERIFY2(p, qPrintable(QStringLiteral("save %1 lost").arg(n)));
            QCOMPARE(p->name, QStringLiteral("Проект %1").arg(n));
            QCOMPARE(p->items.size(), 20);
        }
        // The one project rewritten on every pass holds the last reported pass or a later one.
        QVERIFY(repo.fetch(QStringLiteral("local-rewritten"))->name.mid(7).toInt() >= saved.last());
    }
};

QTEST_GUILESS_MAIN(tst_LocalProjectRepository)
#include "tst_LocalProjectRepository.moc"
