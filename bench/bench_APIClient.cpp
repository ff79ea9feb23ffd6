// A 1,000-project answer from the test backend on loopback: through APIClient.request, against
// the same bytes fetched with a bare QNetworkAccessManager GET and read into the same records.
// The client's own work (headers, status checks, error mapping, its decoding path) should add no
// more than half to the bare fetch. The parse-only variant shows what the records themselves cost.
#include "API/APIClient.h"
#include "Await.h"
#include "Models/Project.h"
#include "TestBackend.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <benchmark/benchmark.h>
#include "QtBenchmarkMain.h"

namespace {

QByteArray thousandProjects()
{
    QJsonArray projects;
    for (int i = 0; i < 1000; ++i) {
        QJsonArray items;
        for (int line = 0; line < 5; ++line) {
            items.append(QJsonObject{{QStringLiteral("title"), QStringLiteral("Работа %1").arg(line)},
                                     {QStringLiteral("category"), QStringLiteral("backend")},
                                     {QStringLiteral("hours"), 2.5 + line},
                                     {QStringLiteral("rate"), 1500},
                                     {QStringLiteral("isLocked"), false}});
        }
        projects.append(QJsonObject{{QStringLiteral("id"), QStringLiteral("p-%1").arg(i)},
                                    {QStringLiteral("name"), QStringLiteral("Проект %1").arg(i)},
                                    {QStringLiteral("clientName"), QStringLiteral("Клиент")},
                                    {QStringLiteral("totalCost"), 30000},
                                    {QStringLiteral("totalHours"), 22.5},
                                    {QStringLiteral("currency"), QStringLiteral("RUB")},
                                    {QStringLiteral("status"), QStringLiteral("in_progress")},
                                    {QStringLiteral("items"), items},
                                    {QStringLiteral("userId"), QStringLiteral("user-1")},
                                    {QStringLiteral("createdAt"), QStringLiteral("2025-01-01T10:00:00.000Z")},
                                    {QStringLiteral("updatedAt"), QStringLiteral("2025-01-02T10:00:00.000Z")}});
    }
    return QJsonDocument(projects).toJson(QJsonDocument::Compact);
}

struct Fixture
{
    TestBackend backend;
    QByteArray answer = thousandProjects();
    Fixture()
    {
        backend.start();
        backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::raw(200, answer));
    }
};

Fixture &fixture()
{
    static Fixture *instance = new Fixture;
    return *instance;
}

void BM_ClientRequestOf1000Projects(benchmark::State &state)
{
    Fixture &f = fixture();
    APIClient client(f.backend.baseUrl());
    client.setTokenProvider([] { return std::optional<QString>(QStringLiteral("bench-token")); });
    for (auto _ : state) {
        const QList<Project> projects =
            await(client.request<QList<Project>>(QStringLiteral("GET"), QStringLiteral("projects")));
        benchmark::DoNotOptimize(projects.size());
        f.backend.clearRequests();
    }
    state.SetBytesProcessed(state.iterations() * f.answer.size());
}
BENCHMARK(BM_ClientRequestOf1000Projects)->Unit(benchmark::kMillisecond);

QByteArray bareGet(QNetworkAccessManager &network, const QUrl &url)
{
    QNetworkReply *reply = network.get(QNetworkRequest(url));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

void BM_BareGetAndDecodeOf1000Projects(benchmark::State &state)
{
    Fixture &f = fixture();
    QNetworkAccessManager network;
    const QUrl url(f.backend.baseUrl().toString() + QStringLiteral("/projects"));
    for (auto _ : state) {
        const QList<Project> projects = Project::listFromJson(Json::parse(bareGet(network, url)));
        benchmark::DoNotOptimize(projects.size());
        f.backend.clearRequests();
    }
    state.SetBytesProcessed(state.iterations() * f.answer.size());
}
BENCHMARK(BM_BareGetAndDecodeOf1000Projects)->Unit(benchmark::kMillisecond);

void BM_BareGetAndParseOf1000Projects(benchmark::State &state)
{
    Fixture &f = fixture();
    QNetworkAccessManager network;
    const QUrl url(f.backend.baseUrl().toString() + QStringLiteral("/projects"));
    for (auto _ : state) {
        const QJsonDocument document = QJsonDocument::fromJson(bareGet(network, url));
        benchmark::DoNotOptimize(document.array().size());
        f.backend.clearRequests();
    }
    state.SetBytesProcessed(state.iterations() * f.answer.size());
}
BENCHMARK(BM_BareGetAndParseOf1000Projects)->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QCoreApplication)
