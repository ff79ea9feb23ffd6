// The proposal PDF rendered and written to the temporary folder: 500 lines (target: under 150 ms)
// and 2,000 lines (under 4.5 times the 500-line figure). The proposal of 500 lines rendered in
// memory beside a floor, the same lines' texts drawn one by one with QPainter::drawText into a
// QPdfWriter (target: at most 1.5x; the ratio is printed at the end). The export sheet's
// preview: page 1 of a 20-page proposal drawn as a thumbnail (under 30 ms).
#include "Export/CommercialProposalPDF.h"
#include "Export/CommercialProposalRenderer.h"
#include "Export/PDFTypography.h"
#include "Features/Export/PDFPreviewImageProvider.h"
#include "Utils/MoneyFormat.h"
#include "ThreadCpuTime.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

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

// CPU milliseconds per iteration of the proposal and of its floor, for the ratio.
double g_renderMs = 0;
double g_floorMs = 0;

void BM_ProposalRender(benchmark::State &state)
{
    const CommercialProposalInput input = proposal(int(state.range(0)));
    ThreadCpuTime::measure(state, g_renderMs, [&] {
        const QByteArray bytes = CommercialProposalPDF::render(input, QDate(2024, 5, 1));
        if (bytes.isEmpty())
            state.SkipWithError("no PDF");
        benchmark::DoNotOptimize(bytes);
    });
}
BENCHMARK(BM_ProposalRender)->Arg(500)->Unit(benchmark::kMillisecond);

// The floor: each line's texts (number, category, title, description, hours, amount) drawn on one
// line each in the proposal's type, a new page when the next line would pass the bottom.
QByteArray plainPDF(const CommercialProposalInput &input)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(595, 842), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const QFont small = PDFTypography::font(8, FontWeight::Semibold);
    const QFont title = PDFTypography::font(10.5, FontWeight::Semibold);
    const QFont body = PDFTypography::font(9, FontWeight::Regular);
    const QFont figures = PDFTypography::font(10, FontWeight::Medium);
    qreal y = 48;
    const auto text = [&](const QFont &font, qreal x, const QString &value) {
        painter.setFont(font);
        painter.drawText(QPointF(x, y + 10), value);
    };
    for (qsizetype i = 0; i < input.items.size(); ++i) {
        if (y + 60 > 794) {
            writer.newPage();
            y = 48;
        }
        const EditableEstimateItem &item = input.items.at(i);
        text(figures, 56, QString::number(i + 1));
        text(small, 84, item.category.toUpper());
        text(figures, 427, CommercialProposalRenderer::formatHours(item.hours));
        text(figures, 479, MoneyFormat::format(item.hours * item.rate, input.currency));
        y += 14;
        text(title, 84, item.title);
        y += 16;
        if (!item.description.isEmpty()) {
            text(body, 84, item.description);
            y += 14;
        }
        y += 20;
    }
    painter.end();
    return bytes;
}

void BM_PlainPDFFloor(benchmark::State &state)
{
    const CommercialProposalInput input = proposal(int(state.range(0)));
    ThreadCpuTime::measure(state, g_floorMs, [&] { benchmark::DoNotOptimize(plainPDF(input)); });
}
BENCHMARK(BM_PlainPDFFloor)->Arg(500)->Unit(benchmark::kMillisecond);

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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_renderMs > 0 && g_floorMs > 0)
        std::printf("Proposal of 500 lines: %.1f ms; plain drawText floor: %.1f ms; ratio %.2fx (target <= 1.5x)\n",
                    g_renderMs, g_floorMs, g_renderMs / g_floorMs);
    return 0;
}
