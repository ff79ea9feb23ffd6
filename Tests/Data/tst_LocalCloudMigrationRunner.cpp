#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Data/LocalCloudMigrationRunner.h"
#include "Data/StoreError.h"
#include "ProjectSamples.h"
#include "StoreProbe.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using ProjectSamples::names;

class tst_LocalCloudMigrationRunner : public QObject
{
    Q_OBJECT

private:
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    QString m_accountId;

    // Device projects, first in the list written last, as the store lists them.
    QList<Project> storeLocals(const LocalProjectRepository &repo, const QStringList &localNames)
    {
        for (qsizetype i = localNames.size() - 1; i >= 0; --i)
            repo.upsert(ProjectSamples::make(QStringLiteral("local-%1").arg(i), localNames.at(i), 1));
        return repo.fetchAllSorted();
    }
    QList<Project> seedCloud(const QStringList &cloudNames)
    {
        for (const QString &name : cloudNames)
            m_backend.data().addProject(m_accountId, {{QStringLiteral("name"), name}});
        ProjectsService loader(false, nullptr, m_client.get());
        await(loader.load(false));
        return loader.projects();
    }
    QStringList cloudNames()
    {
        QStringList out;
        for (const QJsonObject &p : m_backend.data().projects)
            out.append(p.value(QStringLiteral("name")).toString());
        return out;
    }
    QStringList requestLog() const
    {
        QStringList out;
        for (const RecordedRequest &r : m_backend.requests())
            out.append(r.method + QLatin1Char(' ') + r.path);
        return out;
    }
    struct Outcome
    {
        LocalCloudMigrationResult result;
        QStringList requests;
        QStringList deviceLeft;
        QStringList cloud;
    };
    Outcome migrate(LocalCloudMigrationPolicy policy, const QStringList &localNames, const QStringList &cloud)
    {
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, localNames);
        const QList<Project> cloudProjects = seedCloud(cloud);
        m_backend.clearRequests();
        ProjectsService remote(false, nullptr, m_client.get());
        Outcome outcome;
        outcome.result = await(LocalCloudMigrationRunner::run(policy, locals, cloudProjects, remote, repo));
        outcome.requests = requestLog();
        outcome.deviceLeft = names(repo.fetchAllSorted());
        outcome.cloud = cloudNames();
        return outcome;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_client->setTokenProvider([this] { return m_token; });
        m_accountId = m_backend.data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret")).id;
        m_token = m_backend.data().issueToken(m_accountId);
    }
    void init()
    {
        m_backend.data().projects.clear();
        m_backend.data().nextId = 1;
        m_backend.clearRequests();
        m_backend.clearOverrides();
    }

    void policies_data()
    {
        QTest::addColumn<LocalCloudMigrationPolicy>("policy");
        QTest::addColumn<QStringList>("locals");
        QTest::addColumn<QStringList>("cloud");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<QStringList>("cloudAfter");

        const QStringList locals{"  сайт магазина ", "Лендинг"};
        const QStringList cloud{"Сайт Магазина", "Другой"};
        QTest::newRow("merge all") << LocalCloudMigrationPolicy::MergeAll << locals << cloud
                                   << QStringList{"POST projects", "POST projects"}
                                   << QStringList{"Сайт Магазина", "Другой", "  сайт магазина ", "Лендинг"};
        QTest::newRow("dedupe by name") << LocalCloudMigrationPolicy::MergeDedupeByName << locals << cloud
                                        << QStringList{"POST projects"}
                                        << QStringList{"Сайт Магазина", "Другой", "Лендинг"};
        QTest::newRow("dedupe keeps local twins") << LocalCloudMigrationPolicy::MergeDedupeByName
                                                  << QStringList{"App", "APP"} << QStringList{"Другой"}
                                                  << QStringList{"POST projects", "POST projects"}
                                                  << QStringList{"Другой", "App", "APP"};
        QTest::newRow("cloud only") << LocalCloudMigrationPolicy::CloudOnly << locals << cloud << QStringList{}
                                    << cloud;
        QTest::newRow("local wins: upload, then replace")
            << LocalCloudMigrationPolicy::LocalWinsReplaceMatches << QStringList{"сайт", "Лендинг"}
            << QStringList{"Сайт", "САЙТ ", "Другой"}
            << QStringList{"POST projects", "DELETE projects/p-1", "DELETE projects/p-2", "POST projects"}
            << QStringList{"Другой", "сайт", "Лендинг"};
        QTest::newRow("blank names match") << LocalCloudMigrationPolicy::MergeDedupeByName << QStringList{" \t"}
                                           << QStringList{""} << QStringList{} << QStringList{""};
        for (const LocalCloudMigrationPolicy policy : allLocalCloudMigrationPolicies) {
            QTest::addRow("no device projects, %s", qPrintable(rawValue(policy)))
                << policy << QStringList{} << cloud << QStringList{} << cloud;
        }
    }
    void policies()
    {
        QFETCH(LocalCloudMigrationPolicy, policy);
        QFETCH(QStringList, locals);
        QFETCH(QStringList, cloud);
        QFETCH(QStringList, requests);
        QFETCH(QStringList, cloudAfter);
        const Outcome outcome = migrate(policy, locals, cloud);
        QCOMPARE(outcome.requests, requests);
        QCOMPARE(outcome.cloud, cloudAfter);
        QCOMPARE(outcome.deviceLeft, QStringList{});
        QVERIFY(outcome.result.isComplete());
        QCOMPARE(outcome.result.message(locals.size()), QString());
    }

    // The backend refuses a blank name, so that upload fails while the others go through.
    void failedUploadStaysOnTheDevice_data()
    {
        QTest::addColumn<LocalCloudMigrationPolicy>("policy");
        QTest::addColumn<QStringList>("cloudAfter");
        QTest::newRow("merge all") << LocalCloudMigrationPolicy::MergeAll << QStringList{"", "Первый", "Третий"};
        QTest::newRow("dedupe by name") << LocalCloudMigrationPolicy::MergeDedupeByName
                                        << QStringList{"", "Первый", "Третий"};
        // The blank account project is the match of the failed upload: it must stay.
        QTest::newRow("local wins") << LocalCloudMigrationPolicy::LocalWinsReplaceMatches
                                    << QStringList{"", "Первый", "Третий"};
    }
    void failedUploadStaysOnTheDevice()
    {
        QFETCH(LocalCloudMigrationPolicy, policy);
        QFETCH(QStringList, cloudAfter);
        m_backend.data().addProject(m_accountId, {{QStringLiteral("name"), QString()}});
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, {"Первый", "   ", "Третий"});
        ProjectsService loader(false, nullptr, m_client.get());
        await(loader.load(false));
        const QList<Project> cloud = policy == LocalCloudMigrationPolicy::MergeDedupeByName ? QList<Project>{}
                                                                                            : loader.projects();
        ProjectsService remote(false, nullptr, m_client.get());
        const LocalCloudMigrationResult result =
            await(LocalCloudMigrationRunner::run(policy, locals, cloud, remote, repo));
        QCOMPARE(names(result.notMoved), QStringList{"   "});
        QCOMPARE(result.lastFailure, QStringLiteral("name should not be empty"));
        QCOMPARE(result.message(3),
                 QStringLiteral("Не удалось перенести проектов: 1 из 3. Они остались на устройстве. "
                                "name should not be empty"));
        QCOMPARE(names(repo.fetchAllSorted()), QStringList{"   "});
        QCOMPARE(cloudNames(), cloudAfter);
    }

    void unreachableAccountLosesNothing()
    {
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, {"A", "B"});
        const QList<Project> cloud = seedCloud({"a"});
        m_token.reset(); // every call is refused
        ProjectsService remote(false, nullptr, m_client.get());
        const LocalCloudMigrationResult result = await(LocalCloudMigrationRunner::run(
            LocalCloudMigrationPolicy::LocalWinsReplaceMatches, locals, cloud, remote, repo));
        m_token = m_backend.data().issueToken(m_accountId);
        QCOMPARE(names(result.notMoved), (QStringList{"A", "B"}));
        QCOMPARE(names(repo.fetchAllSorted()), (QStringList{"A", "B"}));
        QCOMPARE(cloudNames(), QStringList{"a"});
        QVERIFY(m_backend.requests(QStringLiteral("DELETE"), QStringLiteral("projects/p-1")).isEmpty());
    }

    // Projects written to the device after the offer was built are not part of the run.
    void projectsOutsideTheRunStay()
    {
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, {"A"});
        repo.upsert(ProjectSamples::make(QStringLiteral("local-late"), QStringLiteral("Поздний")));
        ProjectsService remote(false, nullptr, m_client.get());
        await(LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy::MergeAll, locals, {}, remote, repo));
        QCOMPARE(names(repo.fetchAllSorted()), QStringList{"Поздний"});
        await(LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy::CloudOnly, {}, {}, remote, repo));
        QCOMPARE(repo.context()->count(), 0);
    }

    void storeFailureIsThrown()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.sqlite"));
        const LocalProjectRepository repo(ModelContainer::open(path));
        const QList<Project> locals = storeLocals(repo, {"A"});
        probeStoreFile(path, QStringLiteral("DROP TABLE LocalProjectRecord"));
        ProjectsService remote(false, nullptr, m_client.get());
        QVERIFY_THROWS_EXCEPTION(StoreError, await(LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy::CloudOnly,
                                                                                  locals, {}, remote, repo)));
        QVERIFY(m_backend.requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_LocalCloudMigrationRunner)
#include "tst_LocalCloudMigrationRunner.moc"
