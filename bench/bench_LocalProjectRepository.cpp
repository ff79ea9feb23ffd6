// Device store speed on a real file: one upsert of a large project, and the full sorted read
// that every guest list load does.
#include "Data/EstimateCatalogLoader.h"
#include "Data/LocalProjectRepository.h"
#include "Projects/GuestProjectFactory.h"
#include "Utils/Json.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

namespace {

Project projectWithLines(int index, int lines)
{
    Project p = GuestProjectFactory::makeNew(QStringLiteral("Проект %1").arg(index), QStringLiteral("Клиент"),
                                             QStringLiteral("RUB"), ProjectStatus::Draft, std::nullopt,
                                             EstimateCatalogLoader::normalizeCategory);
    for (int i = 0; i < lines; ++i) {
        ProjectItem item;
        item.title = QStringLiteral("Работа номер %1").arg(i);
        item.description = QStringLiteral("Описание работы, чтобы строка была похожа на настоящую");
        item.category = QStringLiteral("backend");
        item.hours = 1.5 + i % 9;
        item.rate = i % 4 == 0 ? 0 : 1500;
        item.isLocked = i % 2 == 0;
        p.items.append(item);
    }
    return p;
}

QString storePath(const QTemporaryDir &dir)
{
    return dir.filePath(QStringLiteral("bench.sqlite"));
}

void BM_UpsertProjectOf500Lines(benchmark::State &state)
{
    const QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    LocalProjectRepository repo(ModelContainer::open(storePath(dir)));
    const Project project = projectWithLines(0, 500);
    for (auto _ : state)
        repo.upsert(project);
}
BENCHMARK(BM_UpsertProjectOf500Lines)->Unit(benchmark::kMillisecond);

// The floor under the upsert: the same bytes written by a bare statement into a table like the
// store's, in a file with the same journal settings (target: the upsert at most 3x this).
void BM_BareSqliteUpsertOf500Lines(benchmark::State &state)
{
    const QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    const Project project = projectWithLines(0, 500);
    const QByteArray bytes = Json::serialize(project.recalculatedTotals().toJson());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        db.setDatabaseName(storePath(dir));
        if (!db.open()) {
            state.SkipWithError("cannot open");
            return;
        }
        QSqlQuery setup(db);
        const bool ready = setup.exec(QStringLiteral("PRAGMA journal_mode=WAL"))
            && setup.exec(QStringLiteral("PRAGMA synchronous=FULL"))
            && setup.exec(QStringLiteral("CREATE TABLE LocalProjectRecord (id TEXT PRIMARY KEY NOT NULL, "
                                         "projectData BLOB NOT NULL, updatedAt INTEGER NOT NULL, "
                                         "seq INTEGER NOT NULL UNIQUE)"))
            && setup.exec(QStringLiteral("CREATE INDEX LocalProjectRecordByWrite "
                                         "ON LocalProjectRecord (updatedAt, seq)"));
        if (!ready) {
            state.SkipWithError(qPrintable(setup.lastError().text()));
            return;
        }
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT OR REPLACE INTO LocalProjectRecord (id, projectData, updatedAt, seq) "
                                      "VALUES (?, ?, ?, ?)"));
        qint64 seq = 0;
        for (auto _ : state) {
            ++seq;
            insert.bindValue(0, project.id);
            insert.bindValue(1, bytes);
            insert.bindValue(2, QDateTime::currentMSecsSinceEpoch());
            insert.bindValue(3, seq);
            if (!insert.exec())
                state.SkipWithError(qPrintable(insert.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
}
BENCHMARK(BM_BareSqliteUpsertOf500Lines)->Unit(benchmark::kMillisecond);

// The encoding share of the upsert: totals and JSON bytes of the 500-line project.
void BM_EncodeProjectOf500Lines(benchmark::State &state)
{
    const Project project = projectWithLines(0, 500);
    for (auto _ : state)
        benchmark::DoNotOptimize(project.recalculatedTotals().toJsonText());
}
BENCHMARK(BM_EncodeProjectOf500Lines)->Unit(benchmark::kMillisecond);

void BM_FetchAllSortedOf1000Projects(benchmark::State &state)
{
    const QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    LocalProjectRepository repo(ModelContainer::open(storePath(dir)));
    for (int i = 0; i < 1000; ++i)
        repo.upsert(projectWithLines(i, 20));
    for (auto _ : state) {
        const QList<Project> projects = repo.fetchAllSorted();
        if (projects.size() != 1000)
            state.SkipWithError("projects missing");
        benchmark::DoNotOptimize(projects);
    }
}
BENCHMARK(BM_FetchAllSortedOf1000Projects)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QCoreApplication)
