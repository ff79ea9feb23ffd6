#include "Data/LocalProjectRepository.h"
#include "Data/StoreError.h"
#include "ProjectSamples.h"
#include "StoreProbe.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using ProjectSamples::ids;
using ProjectSamples::make;

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
        const LocalProjectListing listing = repo.fetchAllReadable();
        QCOMPARE(listing.unreadableIds, QStringList{QStringLiteral("bad")});
        QVERIFY(listing.firstFailure.contains(QStringLiteral("totalCost")));
        QCOMPARE(repo.fetch(QStringLiteral("old"))->name, QStringLiteral("Старый"));
        QVERIFY_THROWS_EXCEPTION(DecodingError, repo.fetch(QStringLiteral("bad")));
        // Left in place: nothing is deleted just because it could not be read.
        QCOMPARE(repo.context()->count(), 3);
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
        const LocalProjectListing listing = repo.fetchAllReadable();
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
