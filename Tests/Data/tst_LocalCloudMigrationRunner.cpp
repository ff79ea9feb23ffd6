#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "API/LocalCloudMigrationRunner.h"
#include "Data/StoreError.h"
#include "ProjectSamples.h"
#include "ReadableProjects.h"
#include "StoreProbe.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QProcess>
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
    static QList<Project> storeLocals(const LocalProjectRepository &repo, const QStringList &localNames)
    {
        for (qsizetype i = localNames.size() - 1; i >= 0; --i)
            repo.upsert(ProjectSamples::make(QStringLiteral("local-%1").arg(i), localNames.at(i), 1));
        return repo.fetchAllSorted();
    }
    QStringList cloudNames()
    {
        QStringList out;
        for (const QJsonObject &p : m_backend.data().projects)
            out.append(p.value(QStringLiteral("name")).toString());
        return out;
    }
    struct Outcome
    {
        LocalCloudMigrationResult result;
        QStringList requests; // "METHOD path" in the order sent
        QStringList deviceLeft;
        QStringList cloud;
    };
    enum class Run { Normal, CloudNotOffered, AccountRefusesAll };
    Outcome migrate(LocalCloudMigrationPolicy policy, const QStringList &localNames, const QStringList &cloud,
                    Run run = Run::Normal)
    {
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, localNames);
        for (const QString &name : cloud)
            m_backend.data().addProject(m_accountId, {{QStringLiteral("name"), name}});
        ProjectsService remote(false, nullptr, m_client.get());
        await(remote.load(false));
        const QList<Project> offered = run == Run::CloudNotOffered ? QList<Project>{} : remote.projects();
        m_backend.clearRequests();
        if (run == Run::AccountRefusesAll)
            m_token.reset();
        Outcome outcome;
        outcome.result = await(LocalCloudMigrationRunner::run(policy, locals, offered, remote, repo));
        m_token = m_backend.data().issueToken(m_accountId);
        for (const RecordedRequest &r : m_backend.requests())
            outcome.requests.append(r.method + QLatin1Char(' ') + r.path);
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

    // The uploads, then one read of the account's list that confirms them; local wins deletes a
    // device project's matches only once that list holds its upload.
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
                                   << QStringList{"POST projects", "POST projects", "GET projects"}
                                   << QStringList{"Сайт Магазина", "Другой", "  сайт магазина ", "Лендинг"};
        QTest::newRow("dedupe by name") << LocalCloudMigrationPolicy::MergeDedupeByName << locals << cloud
                                        << QStringList{"POST projects", "GET projects"}
                                        << QStringList{"Сайт Магазина", "Другой", "Лендинг"};
        QTest::newRow("dedupe keeps local twins")
            << LocalCloudMigrationPolicy::MergeDedupeByName << QStringList{"App", "APP"} << QStringList{"Другой"}
            << QStringList{"POST projects", "POST projects", "GET projects"} << QStringList{"Другой", "App", "APP"};
        QTest::newRow("cloud only") << LocalCloudMigrationPolicy::CloudOnly << locals << cloud << QStringList{}
                                    << cloud;
        QTest::newRow("local wins: upload, then replace")
            << LocalCloudMigrationPolicy::LocalWinsReplaceMatches << QStringList{"сайт", "Лендинг"}
            << QStringList{"Сайт", "САЙТ ", "Другой"}
            << QStringList{"POST projects", "POST projects", "GET projects", "DELETE projects/p-1",
                           "DELETE projects/p-2"}
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

    // The backend refuses a blank name, so that upload fails while the others go through. Under
    // local wins, the blank account project is the match of the failed upload: it must stay.
    void failedUploadStaysOnTheDevice_data()
    {
        QTest::addColumn<LocalCloudMigrationPolicy>("policy");
        QTest::newRow("merge all") << LocalCloudMigrationPolicy::MergeAll;
        QTest::newRow("dedupe by name") << LocalCloudMigrationPolicy::MergeDedupeByName;
        QTest::newRow("local wins") << LocalCloudMigrationPolicy::LocalWinsReplaceMatches;
    }
    void failedUploadStaysOnTheDevice()
    {
        QFETCH(LocalCloudMigrationPolicy, policy);
        const Outcome outcome =
            migrate(policy, {"Первый", "   ", "Третий"}, {""},
                    policy == LocalCloudMigrationPolicy::MergeDedupeByName ? Run::CloudNotOffered : Run::Normal);
        QCOMPARE(names(outcome.result.notMoved), QStringList{"   "});
        QCOMPARE(outcome.result.lastFailure, QStringLiteral("name should not be empty"));
        QCOMPARE(outcome.result.message(3),
                 QStringLiteral(
                     "Не удалось перенести проектов: 1 из 3. Они остались на устройстве. name should not be empty"));
        QCOMPARE(outcome.deviceLeft, QStringList{"   "});
        QCOMPARE(outcome.cloud, (QStringList{"", "Первый", "Третий"}));
    }

    // The first upload is answered with a project the account listed before the run, with one its
    // list does not hold afterwards, or (the second upload too) with one project for both. The
    // account is not seen to hold what was sent: it stays on the device, counted as not moved, and
    // under local wins its account match stays too. The next run finds what an upload made and
    // sends only what none did, so that each project is in the account once.
    void unconfirmedUploadStaysOnTheDevice_data()
    {
        QTest::addColumn<LocalCloudMigrationPolicy>("policy");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("made"); // whether the account made the first upload's project
        QTest::addColumn<QStringList>("notMoved");
        QTest::addColumn<QStringList>("cloudAfter"); // after the next run, sorted
        const QStringList both{"Сайт", "Лендинг"};
        const QStringList all{"Лендинг", "Сайт", "сайт"};
        QTest::newRow("listed id, nothing made")
            << LocalCloudMigrationPolicy::MergeAll << "listed" << false << QStringList{"Сайт"} << all;
        QTest::newRow("listed id, made") << LocalCloudMigrationPolicy::MergeAll << "listed" << true
                                         << QStringList{"Сайт"} << all;
        QTest::newRow("unknown id, made")
            << LocalCloudMigrationPolicy::MergeAll << "unknown" << true << QStringList{"Сайт"} << all;
        QTest::newRow("one id for two uploads")
            << LocalCloudMigrationPolicy::MergeAll << "twice" << true << both << all;
        QTest::newRow("local wins, listed id, made") << LocalCloudMigrationPolicy::LocalWinsReplaceMatches << "listed"
                                                     << true << QStringList{"Сайт"} << QStringList{"Лендинг", "Сайт"};
        QTest::newRow("dedupe, unknown id, made") << LocalCloudMigrationPolicy::MergeDedupeByName << "unknown" << true
                                                  << QStringList{"Лендинг"} << QStringList{"Лендинг", "сайт"};
    }
    void unconfirmedUploadStaysOnTheDevice()
    {
        QFETCH(LocalCloudMigrationPolicy, policy);
        QFETCH(QString, answer);
        QFETCH(bool, made);
        QFETCH(QStringList, notMoved);
        QFETCH(QStringList, cloudAfter);
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, {"Сайт", "Лендинг"});
        const QJsonObject listed =
            m_backend.data().addProject(m_accountId, {{QStringLiteral("name"), QStringLiteral("сайт")}});
        ProjectsService remote(false, nullptr, m_client.get());
        await(remote.load(false));
        if (answer != QLatin1String("twice")) {
            QJsonObject record = listed;
            if (answer == QLatin1String("unknown"))
                record.insert(QStringLiteral("id"), QStringLiteral("p-unknown"));
            m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"), BackendReply::json(201, record));
        }
        int uploads = 0;
        m_backend.setOnAnswer([&](const RecordedRequest &request) {
            if (request.method != QLatin1String("POST") || ++uploads > 1)
                return m_backend.clearOverrides();
            if (answer == QLatin1String("twice"))
                return m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                                             BackendReply::json(201, m_backend.data().projects.last()));
            if (made)
                m_backend.data().addProject(m_accountId, request.json().toObject());
            m_backend.clearOverrides();
        });
        const LocalCloudMigrationResult result =
            await(LocalCloudMigrationRunner::run(policy, locals, remote.projects(), remote, repo));
        m_backend.setOnAnswer({});
        QCOMPARE(names(result.notMoved), notMoved);
        QCOMPARE(names(repo.fetchAllSorted()), notMoved);
        QVERIFY(result.message(2).startsWith(
            QStringLiteral("Не удалось перенести проектов: %1 из 2. Они остались на устройстве.")
                .arg(notMoved.size())));
        QVERIFY(cloudNames().contains(QStringLiteral("сайт")));

        await(remote.load(false));
        QVERIFY(await(LocalCloudMigrationRunner::run(policy, repo.fetchAllSorted(), remote.projects(), remote, repo))
                    .isComplete());
        QVERIFY(repo.fetchAllSorted().isEmpty());
        QStringList cloud = cloudNames();
        cloud.sort();
        QCOMPARE(cloud, cloudAfter);
    }

    void unreachableAccountLosesNothing()
    {
        const Outcome outcome =
            migrate(LocalCloudMigrationPolicy::LocalWinsReplaceMatches, {"A", "B"}, {"a"}, Run::AccountRefusesAll);
        QCOMPARE(names(outcome.result.notMoved), (QStringList{"A", "B"}));
        QCOMPARE(outcome.deviceLeft, (QStringList{"A", "B"}));
        QCOMPARE(outcome.cloud, QStringList{"a"});
        QVERIFY(!outcome.requests.contains(QStringLiteral("DELETE projects/p-1")));
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
        QCOMPARE(names(repo.fetchAllSorted()), QStringList{"Поздний"});
    }

    // A device record that no longer reads was never offered, so no policy takes it off the device;
    // the readable ones around it go as the policy says.
    void unreadableRecordStaysOnTheDevice_data()
    {
        QTest::addColumn<LocalCloudMigrationPolicy>("policy");
        QTest::addColumn<QStringList>("cloudAfter");
        QTest::newRow("merge all") << LocalCloudMigrationPolicy::MergeAll << QStringList{"Старый", "Новый", "Старый"};
        QTest::newRow("dedupe by name") << LocalCloudMigrationPolicy::MergeDedupeByName
                                        << QStringList{"Старый", "Новый"};
        QTest::newRow("cloud only") << LocalCloudMigrationPolicy::CloudOnly << QStringList{"Старый"};
        QTest::newRow("local wins") << LocalCloudMigrationPolicy::LocalWinsReplaceMatches
                                    << QStringList{"Новый", "Старый"};
    }
    void unreadableRecordStaysOnTheDevice()
    {
        QFETCH(LocalCloudMigrationPolicy, policy);
        QFETCH(QStringList, cloudAfter);
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        repo.upsert(ProjectSamples::make(QStringLiteral("local-old"), QStringLiteral("Старый"), 1));
        repo.context()->upsert(QStringLiteral("local-bad"), R"({"id":"local-bad","name":"Сломанный"})");
        repo.upsert(ProjectSamples::make(QStringLiteral("local-new"), QStringLiteral("Новый"), 1));
        const LocalProjectListing listing = readableProjects(repo);
        QCOMPARE(listing.unreadableIds, QStringList{"local-bad"});
        m_backend.data().addProject(m_accountId, {{QStringLiteral("name"), QStringLiteral("Старый")}});
        ProjectsService remote(false, nullptr, m_client.get());
        await(remote.load(false));

        const LocalCloudMigrationResult result =
            await(LocalCloudMigrationRunner::run(policy, listing.projects, remote.projects(), remote, repo));
        QVERIFY(result.isComplete());
        const QList<LocalProjectRecord> left = repo.context()->fetchAllSorted();
        QCOMPARE(left.size(), 1);
        QCOMPARE(left.first().id, QStringLiteral("local-bad"));
        QCOMPARE(left.first().projectData, QByteArray(R"({"id":"local-bad","name":"Сломанный"})"));
        QCOMPARE(cloudNames(), cloudAfter);
    }

    // A run killed while it uploads, either before the account made the project in flight or
    // after it made it but before its answer arrived; then the run again, after the restart.
    // No project reaches the account twice, and nothing is lost.
    void killedRunUploadsNothingTwice_data()
    {
        QTest::addColumn<LocalCloudMigrationPolicy>("policy");
        QTest::addColumn<int>("killAt"); // the upload in flight, counted from 1 in the order sent
        QTest::addColumn<bool>("made"); // whether the account made that project before the kill
        QTest::newRow("merge all, first upload made") << LocalCloudMigrationPolicy::MergeAll << 1 << true;
        QTest::newRow("merge all, tenth made") << LocalCloudMigrationPolicy::MergeAll << 10 << true;
        QTest::newRow("merge all, last made") << LocalCloudMigrationPolicy::MergeAll << 20 << true;
        QTest::newRow("merge all, first not made") << LocalCloudMigrationPolicy::MergeAll << 1 << false;
        QTest::newRow("merge all, tenth not made") << LocalCloudMigrationPolicy::MergeAll << 10 << false;
        // The 16th upload is the device's "Проект 5", which replaces the account's one.
        QTest::newRow("local wins, replacing upload made")
            << LocalCloudMigrationPolicy::LocalWinsReplaceMatches << 16 << true;
        QTest::newRow("local wins, tenth made") << LocalCloudMigrationPolicy::LocalWinsReplaceMatches << 10 << true;
        QTest::newRow("dedupe, tenth made") << LocalCloudMigrationPolicy::MergeDedupeByName << 10 << true;
    }
    void killedRunUploadsNothingTwice()
    {
        QFETCH(LocalCloudMigrationPolicy, policy);
        QFETCH(int, killAt);
        QFETCH(bool, made);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.sqlite"));
        QStringList localNames;
        {
            const LocalProjectRepository repo(ModelContainer::open(path));
            for (int i = 1; i <= 20; ++i) {
                localNames.append(QStringLiteral("Проект %1").arg(i));
                repo.upsert(ProjectSamples::make(QStringLiteral("local-%1").arg(i), localNames.last(), 2));
            }
        }
        for (const QString &name : {QStringLiteral("Проект 5"), QStringLiteral("Другой")})
            m_backend.data().addProject(m_accountId, {{QStringLiteral("name"), name}});
        const QStringList before = cloudNames();

        QProcess child;
        int uploads = 0;
        const BackendReply unanswered = BackendReply::silence();
        if (!made && killAt == 1)
            m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"), unanswered);
        m_backend.setOnAnswer([&](const RecordedRequest &request) {
            if (request.method != QStringLiteral("POST") || request.path != QStringLiteral("projects"))
                return;
            ++uploads;
            // From the next upload on, the account makes nothing.
            if (!made && uploads == killAt - 1)
                m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"), unanswered);
            if (uploads == killAt) {
                child.kill();
                child.waitForFinished(10000);
            }
        });
        child.start(QStringLiteral(STORE_CHILD),
                    {QStringLiteral("migrate"), path, m_backend.baseUrl().toString(), *m_token, rawValue(policy)});
        QVERIFY(child.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(child.state(), QProcess::NotRunning, 30000);
        m_backend.setOnAnswer({});
        m_backend.clearOverrides();
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(uploads, killAt);

        // The restart: the window offers what is left on the device, and the run goes again.
        const LocalProjectRepository repo(ModelContainer::open(path));
        ProjectsService remote(false, nullptr, m_client.get());
        await(remote.load(false));
        const LocalCloudMigrationResult result =
            await(LocalCloudMigrationRunner::run(policy, repo.fetchAllSorted(), remote.projects(), remote, repo));
        QVERIFY(result.isComplete());
        QVERIFY(repo.fetchAllSorted().isEmpty());
        QVERIFY(repo.uploads().isEmpty());

        QStringList expected = before;
        for (const QString &name : std::as_const(localNames)) {
            if (name == QStringLiteral("Проект 5")) {
                if (policy == LocalCloudMigrationPolicy::MergeDedupeByName)
                    continue;
                if (policy == LocalCloudMigrationPolicy::LocalWinsReplaceMatches)
                    expected.removeOne(name);
            }
            expected.append(name);
        }
        QStringList cloud = cloudNames();
        cloud.sort();
        expected.sort();
        QCOMPARE(cloud, expected);
    }

    // An upload whose answer was lost (the account made the project) is found, not repeated, by
    // the next run of the same window, which reads the account's list anew for it.
    void lostAnswerIsFoundAgain()
    {
        const LocalProjectRepository repo(ModelContainer::openInMemory());
        const QList<Project> locals = storeLocals(repo, {QStringLiteral("Сайт"), QStringLiteral("Сайт")});
        ProjectsService remote(false, nullptr, m_client.get());
        await(remote.load(false));
        const QList<Project> offered = remote.projects();
        // The account makes the first project but its answer never arrives in time.
        m_client->setTransferTimeout(300);
        m_backend.setDelay(QStringLiteral("POST"), QStringLiteral("projects"), 2000);
        const LocalCloudMigrationResult first = await(LocalCloudMigrationRunner::run(
            LocalCloudMigrationPolicy::MergeAll, locals.mid(0, 1), offered, remote, repo));
        m_client->setTransferTimeout(APIClient::defaultTransferTimeout);
        m_backend.clearOverrides();
        QCOMPARE(first.notMoved.size(), 1);
        QCOMPARE(cloudNames(), QStringList{"Сайт"});
        QCOMPARE(repo.uploads().keys(), QStringList{locals.first().id});

        // Both device projects look alike: the one sent before is found, the other is sent.
        const LocalCloudMigrationResult second =
            await(LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy::MergeAll, locals, offered, remote, repo));
        QVERIFY(second.isComplete());
        QCOMPARE(cloudNames(), (QStringList{"Сайт", "Сайт"}));
        QVERIFY(repo.fetchAllSorted().isEmpty());
        QCOMPARE(m_backend.requests(QStringLiteral("POST"), QStringLiteral("projects")).size(), 2);
    }

    void storeFailureIsThrown()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.sqlite"));
        const LocalProjectRepository repo(ModelContainer::open(path));
        const QList<Project> locals = storeLocals(repo, {"A"});
        probeStoreFile(path, QStringLiteral("DROP TABLE LocalProjectRecord"));
        ProjectsService remote(false, nullptr, m_client.get());
        QVERIFY_THROWS_EXCEPTION(
            StoreError,
            await(LocalCloudMigrationRunner::run(LocalCloudMigrationPolicy::CloudOnly, locals, {}, remote, repo)));
        QVERIFY(m_backend.requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_LocalCloudMigrationRunner)
#include "tst_LocalCloudMigrationRunner.moc"
