// The analytics dashboard: the aggregate of 10,000 payments in all three date forms (target:
// under 10 ms), the values derived from 1,000 rows (target: under 2 ms), and a whole load of 300
// projects with 1,000 payments from the loopback test backend (target: under 1.5 s, every
// analytics answer arriving).
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Features/Analytics/AnalyticsDashboardModel.h"
#include "Features/Analytics/AnalyticsSeries.h"
#include "Features/Analytics/PaymentAnalyticsAggregate.h"
#include "Settings/Preferences.h"
#include "TestBackend.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimeZone>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

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

void BM_DashboardLoad(benchmark::State &state)
{
    const int projectCount = int(state.range(0));
    const int paymentCount = int(state.range(1));
    TestBackend backend;
    backend.start();
    BackendData &data = backend.data();
    const QString accountId = data.addAccount(QStringLiteral("bench@example.test"), QStringLiteral("secret")).id;
    const QString token = data.issueToken(accountId);
    QStringList ids;
    for (int i = 0; i < projectCount; ++i) {
        QJsonObject &project =
            data.addProject(accountId, {{QStringLiteral("name"), QStringLiteral("Проект %1").arg(i)}});
        project.insert(QStringLiteral("totalCost"), 1000 + i);
        ids.append(project.value(QStringLiteral("id")).toString());
    }
    for (int i = 0; i < paymentCount; ++i) {
        data.payments.append(QJsonObject{{QStringLiteral("id"), QStringLiteral("pay-%1").arg(i)},
                                         {QStringLiteral("amount"), 100 + i},
                                         {QStringLiteral("currency"), QStringLiteral("RUB")},
                                         {QStringLiteral("status"), QStringLiteral("pending")},
                                         {QStringLiteral("paidAt"), QStringLiteral("2024-05-01")},
                                         {QStringLiteral("projectId"), ids.at(i % ids.size())},
                                         {QStringLiteral("userId"), accountId},
                                         {QStringLiteral("createdAt"), BackendData::now()},
                                         {QStringLiteral("updatedAt"), BackendData::now()}});
    }
    APIClient client(backend.baseUrl());
    client.setTokenProvider([token] { return std::optional<QString>(token); });
    QTemporaryDir dir;
    Preferences preferences(dir.filePath(QStringLiteral("prefs.ini")));
    ProjectsService projects(false, nullptr, &client);
    AnalyticsDashboardModel model(client, preferences);
    model.setProjectsService(&projects);
    for (auto _ : state) {
        await(model.load());
        if (model.count() != projectCount || model.paymentsCount() != paymentCount || model.hasLoadWarning())
            state.SkipWithError("a request of the load was lost");
        backend.clearRequests();
    }
}
BENCHMARK(BM_DashboardLoad)->Args({300, 1000})->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QCoreApplication)
