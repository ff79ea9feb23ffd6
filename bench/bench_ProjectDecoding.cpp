// Decoding a backend list of 1,000 projects of 20 lines each into records, against the bare
// QJsonDocument parse of the same bytes: through the JSON objects (target: at most 1.5x the bare
// parse) and straight from the text (target: at most 1.0x). The ratios are printed at the end.
#include "Models/Project.h"
#include "Utils/Json.h"
#include "ThreadCpuTime.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QByteArray backendList()
{
    QJsonArray projects;
    for (int p = 0; p < 1000; ++p) {
        Project project;
        project.id = QStringLiteral("65f0c2a9e4%1").arg(p, 6, 10, QLatin1Char('0'));
        project.name = QStringLiteral("Интернет-магазин для клиента №%1").arg(p);
        project.clientName = QStringLiteral("ООО «Клиент %1»").arg(p);
        project.currency = QStringLiteral("RUB");
        project.status = ProjectStatus::InProgress;
        project.defaultRate = 2500;
        project.templateId = QStringLiteral("builtin-online-store");
        project.userId = QStringLiteral("65a1b2c3d4e5f6");
        project.createdAt = QStringLiteral("2024-03-05T09:07:01.042Z");
        project.updatedAt = QStringLiteral("2024-03-06T11:12:13.456Z");
        project.projectType = QStringLiteral("one_time");
        project.version = 1;
        for (int l = 0; l < 20; ++l) {
            project.items.append(
                ProjectItem{QStringLiteral("Работа над разделом %1").arg(l),
                            l % 3 == 0 ? std::optional<QString>(QStringLiteral("Описание строки сметы")) : std::nullopt,
                            QStringLiteral("sw_backend"), 4.5 + l, l % 2 ? 3000.0 : 0.0, l % 4 == 0,
                            l % 5 == 0 ? std::optional<bool>(true) : std::nullopt});
        }
        projects.append(project.recalculatedTotals().toJson());
    }
    return QJsonDocument(projects).toJson(QJsonDocument::Compact);
}

const QByteArray &bytes()
{
    static const QByteArray data = backendList();
    return data;
}

// CPU milliseconds per iteration of each measure, for the ratios.
double g_bareMs = 0;
double g_objectsMs = 0;
double g_textMs = 0;

void BM_BareJsonDocumentParse(benchmark::State &state)
{
    ThreadCpuTime::measure(state, g_bareMs, [] { benchmark::DoNotOptimize(QJsonDocument::fromJson(bytes())); });
    state.SetBytesProcessed(state.iterations() * bytes().size());
}
BENCHMARK(BM_BareJsonDocumentParse)->Unit(benchmark::kMillisecond);

void BM_DecodeProjectRecords(benchmark::State &state)
{
    ThreadCpuTime::measure(state, g_objectsMs, [] {
        const QList<Project> projects = Project::listFromJson(Json::parse(bytes()));
        benchmark::DoNotOptimize(projects.size());
    });
    state.SetBytesProcessed(state.iterations() * bytes().size());
}
BENCHMARK(BM_DecodeProjectRecords)->Unit(benchmark::kMillisecond);

void BM_DecodeProjectRecordsFromText(benchmark::State &state)
{
    ThreadCpuTime::measure(state, g_textMs, [] {
        const QList<Project> projects = Project::listFromJson(bytes());
        benchmark::DoNotOptimize(projects.size());
    });
    state.SetBytesProcessed(state.iterations() * bytes().size());
}
BENCHMARK(BM_DecodeProjectRecordsFromText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_bareMs > 0 && g_objectsMs > 0 && g_textMs > 0)
        std::printf("1,000 projects of 20 lines: bare parse %.2f ms; records through the objects %.2f ms, ratio %.2fx "
                    "(target <= 1.5x); records from the text %.2f ms, ratio %.2fx (target <= 1.0x)\n",
                    g_bareMs, g_objectsMs, g_objectsMs / g_bareMs, g_textMs, g_textMs / g_bareMs);
    return 0;
}
