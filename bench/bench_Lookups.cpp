// Per-call cost of MoneyFormat::format (target: under 2 us) and of
// EstimateCatalogLoader::normalizeCategory (target: under 5 us) on the shipped catalog.
#include "Data/EstimateCatalogLoader.h"
#include "Utils/MoneyFormat.h"

#include <benchmark/benchmark.h>

namespace {

void BM_MoneyFormat(benchmark::State &state)
{
    const QStringList currencies{QStringLiteral("RUB"), QStringLiteral("USD"), QStringLiteral("EUR")};
    double amount = 1234567.5;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoneyFormat::format(amount, currencies.at(i++ % 3)));
        amount += 1.25;
    }
}
BENCHMARK(BM_MoneyFormat)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_MoneyFormat)->Threads(4)->Unit(benchmark::kNanosecond);

void BM_NormalizeCategory(benchmark::State &state)
{
    // 0: a legacy identifier through the map; 1: an unknown one, falling back to the sphere's first.
    const QString category = state.range(0) ? QStringLiteral("security") : QStringLiteral("backend");
    const QString sphere = QStringLiteral("software");
    for (auto _ : state)
        benchmark::DoNotOptimize(EstimateCatalogLoader::normalizeCategory(category, sphere));
    state.SetLabel(state.range(0) ? "unknown identifier" : "legacy identifier");
}
BENCHMARK(BM_NormalizeCategory)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

void BM_CategoryName(benchmark::State &state)
{
    const QString category = QStringLiteral("vd_sound"); // the last category of the file
    const QString sphere = QStringLiteral("video");
    for (auto _ : state)
        benchmark::DoNotOptimize(EstimateCatalogLoader::categoryName(category, sphere));
}
BENCHMARK(BM_CategoryName)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
