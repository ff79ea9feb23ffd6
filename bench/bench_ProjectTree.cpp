// ProjectTreeBuilder::build over 10,000 projects (target: under 20 ms).
#include "Projects/ProjectTreeBuilder.h"

#include <QLocale>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

// 2,500 roots, each iterative root with three iterations, one-time roots alone, and a few orphans.
QList<Project> projects(int count)
{
    QRandomGenerator random(42);
    QList<Project> out;
    out.reserve(count);
    int root = 0;
    while (out.size() < count) {
        Project r;
        r.id = QStringLiteral("root-%1").arg(root);
        r.name = (random.bounded(2) ? QStringLiteral("Проект ") : QStringLiteral("проект "))
            + QString::number(random.bounded(100000));
        const bool iterative = root % 4 != 0;
        r.projectType = iterative ? QStringLiteral("iterative") : QStringLiteral("one_time");
        out.append(r);
        for (int v = 3; iterative && v >= 1 && out.size() < count; --v) {
            Project it = r;
            it.id = QStringLiteral("%1-v%2").arg(r.id).arg(v);
            it.parentProjectId = v == 2 && root % 50 == 0 ? QStringLiteral("missing-%1").arg(root) : r.id;
            it.baseProjectId = r.id;
            it.version = v;
            out.append(it);
        }
        ++root;
    }
    return out;
}

void BM_ProjectTreeBuild(benchmark::State &state)
{
    QLocale::setDefault(QLocale(state.range(1) ? QStringLiteral("ru_RU") : QStringLiteral("C")));
    const QList<Project> input = projects(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectTreeBuilder::build(input));
    state.SetLabel(state.range(1) ? "ru_RU collation" : "C locale");
}
BENCHMARK(BM_ProjectTreeBuild)->Args({10000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
