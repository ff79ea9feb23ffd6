// The editor's working copy of 2,000 lines (targets: an edit with sections, totals and isDirty
// brought up to date, a group-mode switch and a move each under 5 ms; the save conversion under 2 ms).
#include "Features/Editor/ProjectEditorViewModel.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

namespace {

const QStringList categories{"sw_analytics", "sw_design", "sw_frontend", "sw_backend",    "sw_integrations",
                             "sw_mobile",    "sw_qa",     "sw_devops",   "sw_management", "sw_support"};

Project project(int lines)
{
    QRandomGenerator random(42);
    Project p;
    p.id = QStringLiteral("p-1");
    p.name = QStringLiteral("Портал");
    p.currency = QStringLiteral("RUB");
    p.defaultRate = 2500;
    for (int i = 0; i < lines; ++i) {
        ProjectItem item;
        item.title = QStringLiteral("Строка сметы номер %1").arg(i);
        item.description = i % 3 == 0 ? std::optional<QString>() : QStringLiteral("Описание работ %1").arg(i);
        item.category = categories.at(random.bounded(int(categories.size())));
        item.hours = random.bounded(1, 80) / 2.0;
        item.rate = i % 5 == 0 ? 0 : 1500 + random.bounded(3000);
        item.isLocked = i % 2 == 0;
        p.items.append(item);
    }
    return p;
}

void BM_UpdateItem(benchmark::State &state)
{
    ProjectEditorViewModel vm(project(2000), nullptr);
    vm.setGroupMode(static_cast<EstimateGroupMode>(state.range(0)));
    const QUuid id = vm.items().at(1000).id;
    double hours = 1;
    for (auto _ : state) {
        hours = hours == 1 ? 2 : 1;
        vm.updateItem(id, [hours](EditableEstimateItem &item) { item.hours = hours; });
        benchmark::DoNotOptimize(vm.isDirty());
        benchmark::DoNotOptimize(vm.totalCostText());
    }
    state.SetLabel(rawValue(vm.groupMode()).toStdString());
}
BENCHMARK(BM_UpdateItem)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_GroupModeSwitch(benchmark::State &state)
{
    ProjectEditorViewModel vm(project(2000), nullptr);
    int mode = 0;
    for (auto _ : state) {
        mode = (mode + 1) % 3;
        vm.setGroupMode(static_cast<EstimateGroupMode>(mode));
        benchmark::DoNotOptimize(vm.sections()->rowCount());
    }
}
BENCHMARK(BM_GroupModeSwitch)->Unit(benchmark::kMillisecond);

void BM_MoveItems(benchmark::State &state)
{
    ProjectEditorViewModel vm(project(2000), nullptr);
    const QString section = vm.estimateSections().at(3).id;
    const int size = int(vm.estimateSections().at(3).items.size());
    for (auto _ : state) {
        vm.moveItems(section, {0}, size);
        benchmark::DoNotOptimize(vm.isDirty());
    }
}
BENCHMARK(BM_MoveItems)->Unit(benchmark::kMillisecond);

void BM_SaveConversion(benchmark::State &state)
{
    const ProjectEditorViewModel vm(project(2000), nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(vm.updateRequest());
}
BENCHMARK(BM_SaveConversion)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QCoreApplication)
