// Device store speed on a real file: one upsert of a large project, and the full sorted read
// that every guest list load does.
#include "Data/EstimateCatalogLoader.h"
#include "Data/LocalProjectRepository.h"
#include "Utils/GuestProjectFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the SQL driver is a plugin
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
