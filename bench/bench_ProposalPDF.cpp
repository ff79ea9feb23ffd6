// The proposal PDF rendered and written to the temporary folder: 500 lines (target: under 150 ms)
// and 2,000 lines (under 4.5 times the 500-line figure). The export sheet's preview: page 1 of a
// 20-page proposal drawn as a thumbnail (under 30 ms).
#include "Export/CommercialProposalPDF.h"
#include "Features/Export/PDFPreviewImageProvider.h"

#include <QGuiApplication>
#include <QPdfDocument>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

namespace {

CommercialProposalInput proposal(int lines)
{
    static const QString categories[] = {QStringLiteral("sw_design"), QStringLiteral("sw_frontend"),
                                         QStringLiteral("sw_backend"), QStringLiteral("sw_qa")};
    CommercialProposalInput input;
    input.clientName = QStringLiteral("ООО «Ромашка»");
    input.projectName = QStringLiteral("Интернет-магазин");
    input.currency = QStringLiteral("RUB");
    for (int i = 0; i < lines; ++i) {
        EditableEstimateItem item;
        item.title = QStringLiteral("Работа номер %1 по разделу").arg(i + 1);
        item.description = i % 3 == 0 ? QString()
                                      : QStringLiteral("Описание работы: вёрстка, интеграция с API и проверка "
                                                       "на всех поддерживаемых экранах");
        item.category = categories[i % 4];
        item.hours = 4 + (i % 7) * 1.5;
        item.rate = 2500;
        input.totalHours += item.hours;
        input.totalCost += item.hours * item.rate;
        input.items.append(item);
    }
    return input;
}

void BM_ProposalPDF(benchmark::State &state)
{
    const CommercialProposalInput input = proposal(int(state.range(0)));
    QTemporaryDir base;
    for (auto _ : state) {
        const std::optional<QString> path = CommercialProposalPDF::generate(input, QDate(2024, 5, 1), base.path());
        if (!path)
            state.SkipWithError("the PDF was not written");
        benchmark::DoNotOptimize(path);
    }
}
BENCHMARK(BM_ProposalPDF)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ProposalThumbnail(benchmark::State &state)
{
    QTemporaryDir base;
    const std::optional<QString> path = CommercialProposalPDF::generate(proposal(190), QDate(2024, 5, 1), base.path());
    if (!path) {
        state.SkipWithError("the PDF was not written");
        return;
    }
    QPdfDocument document;
    document.load(*path);
    state.counters["pages"] = document.pageCount();
    for (auto _ : state) {
        const QImage page = PDFPreviewImageProvider::render(*path, PDFPreviewImageProvider::defaultSize * 2);
        if (page.isNull())
            state.SkipWithError("no thumbnail");
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(BM_ProposalThumbnail)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QGuiApplication)
