// The payments hub's options for 2,000 projects, built and filtered as one render does (target:
// under 10 ms), and the finance view's reload of 300 payments on loopback to the list being
// filled (target: under 500 ms).
#include "API/APIClient.h"
#include "Await.h"
#include "Features/Finance/FinanceProjectOptionsBuilder.h"
#include "Features/Finance/ProjectFinanceModel.h"
#include "TestBackend.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QLocale>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

namespace {

QList<Project> projects(int count)
{
    QList<Project> out;
    out.reserve(count);
    for (int root = 0; out.size() < count; ++root) {
        Project r;
        r.id = QStringLiteral("root-%1").arg(root);
        r.name = QStringLiteral("Проект %1").arg((root * 7919) % 100000);
        r.clientName = QStringLiteral("Клиент %1").arg(root % 40);
        r.currency = QStringLiteral("RUB");
        r.totalCost = 1000.0 * root;
        r.projectType = QStringLiteral("iterative");
        out.append(r);
        for (int v = 1; v <= 3 && out.size() < count; ++v) {
            Project it = r;
            it.id = QStringLiteral("%1-v%2").arg(r.id).arg(v);
            it.parentProjectId = r.id;
            it.version = v;
            out.append(it);
        }
    }
    return out;
}

// One render: the options once for the state and once filtered by the query.
void BM_HubOptions(benchmark::State &state)
{
    QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
    const QList<Project> input = projects(2000);
    const QString query = state.range(0) ? QStringLiteral("  Клиент 1") : QString();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FinanceProjectOptionsBuilder::build(input).size());
        benchmark::DoNotOptimize(
            FinanceProjectOptionsBuilder::filtered(FinanceProjectOptionsBuilder::build(input), query));
    }
    state.SetLabel(state.range(0) ? "with a query" : "no query");
}
BENCHMARK(BM_HubOptions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FinanceReload(benchmark::State &state)
{
    TestBackend backend;
    backend.start();
    APIClient client(backend.baseUrl());
    const QString account = backend.data().addAccount(QStringLiteral("b@example.test"), QStringLiteral("pw")).id;
    const QString token = backend.data().issueToken(account);
    client.setTokenProvider([token] { return std::optional<QString>(token); });
    const QString project = backend.data()
                                .addProject(account, {{QStringLiteral("name"), QStringLiteral("Сайт")}})
                                .value(QStringLiteral("id"))
                                .toString();
    for (int i = 0; i < 300; ++i) {
        backend.data().addPayment(project, account, 1000 + i, QStringLiteral("received"),
                                  {{QStringLiteral("note"), QStringLiteral("Платёж %1").arg(i)}});
    }
    ProjectFinanceModel model(client, QDateTime::currentDateTime());
    model.setProjectId(project);
    for (auto _ : state) {
        // A fresh list each round, so that every row is inserted as on first show.
        state.PauseTiming();
        model.payments()->setPayments({});
        state.ResumeTiming();
        await(model.reload());
        if (model.payments()->count() != 300)
            state.SkipWithError("the list was not filled");
    }
}
BENCHMARK(BM_FinanceReload)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

TESSMARK_BENCHMARK_MAIN(QCoreApplication)
