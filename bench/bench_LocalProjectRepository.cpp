// Device store speed on a real file: one upsert of a large project, the read a guest list load
// does (target: at most 1x a bare SELECT of the JSON with a QJsonDocument parse of it) and the full
// read of every project with its lines.
#include "BenchProjects.h"
#include "Data/LocalProjectRepository.h"
#include "Utils/Json.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Mean seconds per iteration of the read and of its floor, for the ratio printed at the end.
double g_listRead = 0;
double g_bareRead = 0;

QString storePath(const QTemporaryDir &dir)
{
    return dir.filePath(QStringLiteral("bench.sqlite"));
}

void BM_UpsertProjectOf500Lines(benchmark::State &state)
{
    const QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    LocalProjectRepository repo(ModelContainer::open(storePath(dir)));
    const Project project = benchProjectWithLines(0, 500);
    for (auto _ : state)
        repo.upsert(project);
}
BENCHMARK(BM_UpsertProjectOf500Lines)->Unit(benchmark::kMillisecond);

// The floor under the upsert: the same bytes written by a bare statement into a table like the
// store's, in a file with the same journal settings (target: the upsert at most 3x this).
void BM_BareSqliteUpsertOf500Lines(benchmark::State &state)
{
    const QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    const Project project = benchProjectWithLines(0, 500);
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
    const Project project = benchProjectWithLines(0, 500);
    for (auto _ : state)
        benchmark::DoNotOptimize(project.recalculatedTotals().toJsonText());
}
BENCHMARK(BM_EncodeProjectOf500Lines)->Unit(benchmark::kMillisecond);

// A store of 1,000 projects of 20 lines on disk, written once for every read below.
const QString &filledStorePath()
{
    static const QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-store-XXXXXX")));
    static const QString path = [] {
        LocalProjectRepository repo(ModelContainer::open(storePath(dir)));
        for (int i = 0; i < 1000; ++i)
            repo.upsert(benchProjectWithLines(i, 20));
        return storePath(dir);
    }();
    return path;
}

template<typename Read>
double timed(benchmark::State &state, Read read)
{
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state) {
        if (read() != 1000)
            state.SkipWithError("projects missing");
    }
    return timer.nsecsElapsed() / 1e9 / double(std::max<benchmark::IterationCount>(1, state.iterations()));
}

// What a list load reads: every project, newest first, without its lines.
void BM_ListReadOf1000Projects(benchmark::State &state)
{
    LocalProjectRepository repo(ModelContainer::open(filledStorePath()));
    g_listRead = timed(state, [&repo] { return repo.fetchListing().projects.size(); });
}
BENCHMARK(BM_ListReadOf1000Projects)->Unit(benchmark::kMillisecond);

// The floor under the list read: the same rows' JSON selected by a bare statement and parsed.
void BM_BareSelectAndParseOf1000Projects(benchmark::State &state)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare-read"));
        db.setDatabaseName(filledStorePath());
        if (!db.open()) {
            state.SkipWithError("cannot open");
            return;
        }
        g_bareRead = timed(state, [&db] {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            query.exec(QStringLiteral("SELECT projectData FROM LocalProjectRecord ORDER BY updatedAt DESC, seq DESC"));
            qsizetype read = 0;
            while (query.next()) {
                const QJsonDocument document = QJsonDocument::fromJson(query.value(0).toByteArray());
                read += document.isObject() ? 1 : 0;
            }
            return read;
        });
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare-read"));
}
BENCHMARK(BM_BareSelectAndParseOf1000Projects)->Unit(benchmark::kMillisecond);

// Opening a project or moving the store to an account: every project with its lines decoded.
void BM_FetchAllSortedOf1000Projects(benchmark::State &state)
{
    LocalProjectRepository repo(ModelContainer::open(filledStorePath()));
    timed(state, [&repo] { return repo.fetchAllSorted().size(); });
}
BENCHMARK(BM_FetchAllSortedOf1000Projects)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_listRead > 0 && g_bareRead > 0)
        std::printf("List read of 1,000 projects of 20 lines: %.1f ms; bare SELECT + QJsonDocument parse: %.1f ms; "
                    "ratio %.2fx (target <= 1.0x)\n",
                    g_listRead * 1000, g_bareRead * 1000, g_listRead / g_bareRead);
    return 0;
}
