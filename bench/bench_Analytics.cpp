// The analytics dashboard's pure work: the aggregate of 10,000 payments in all three date forms
// (target: under 10 ms) and the values derived from 1,000 rows (target: under 2 ms).
#include "Features/Analytics/AnalyticsSeries.h"
#include "Features/Analytics/PaymentAnalyticsAggregate.h"

#include <QRandomGenerator>
#include <QTimeZone>
#include <benchmark/benchmark.h>

namespace {

const QStringList currencies{QStringLiteral("RUB"), QStringLiteral("USD"), QStringLiteral("EUR"), QString()};

QList<Payment> payments(int count)
{
    QRandomGenerator random(7);
    const QDateTime base(QDate(2024, 5, 10), QTime(12, 0), Qt::UTC);
    QList<Payment> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        Payment p;
        p.id = QStringLiteral("pay-%1").arg(i);
        p.amount = random.bounded(100000) / 7.0;
        p.currency = currencies.at(i % currencies.size());
        p.status = allPaymentStatuses[std::size_t(random.bounded(3))];
        const QDateTime at = base.addSecs(qint64(random.bounded(60 * 86400)) - 30 * 86400);
        switch (i % 3) {
        case 0:
            p.paidAt = at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
            break;
        case 1:
            p.paidAt = at.toOffsetFromUtc(3 * 3600).toString(Qt::ISODate);
            break;
        default:
            p.paidAt = at.date().toString(Qt::ISODate);
            break;
        }
        out.append(p);
    }
    return out;
}

QList<AnalyticsProjectRow> rows(int count)
{
    QRandomGenerator random(11);
    QList<AnalyticsProjectRow> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        AnalyticsProjectRow row;
        row.id = QStringLiteral("p-%1").arg(i);
        row.name = QStringLiteral("Проект с длинным названием %1").arg(i % 40);
        row.currency = currencies.at(i % 3);
        row.status = allProjectStatuses[std::size_t(i % 4)];
        row.plannedCost = random.bounded(1000000);
        row.doneCost = row.plannedCost / 2;
        row.paidCost = row.plannedCost / 3;
        out.append(row);
    }
    return out;
}

void BM_PaymentAggregate(benchmark::State &state)
{
    const QList<Payment> input = payments(int(state.range(0)));
    const QDateTime now = QDateTime::currentDateTime();
    const QTimeZone zone = QTimeZone::systemTimeZone();
    for (auto _ : state)
        benchmark::DoNotOptimize(PaymentAnalyticsAggregate::build(input, now, zone));
}
BENCHMARK(BM_PaymentAggregate)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AnalyticsSeries(benchmark::State &state)
{
    const QList<AnalyticsProjectRow> input = rows(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(AnalyticsSeries::from(input));
}
BENCHMARK(BM_AnalyticsSeries)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
