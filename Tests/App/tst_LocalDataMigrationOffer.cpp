// When a signed-in window offers to move the device's guest projects into the account, and what
// the offer holds for the migration sheet.
#include "AccountTestBackend.h"
#include "AppTestEnvironment.h"
#include "Features/Auth/LocalDataMigrationOffer.h"

#include <QSignalSpy>
#include <QTest>

class TestLocalDataMigrationOffer : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;
    AccountTestBackend m_account;
    std::shared_ptr<ProjectsService> m_service;

    std::shared_ptr<ProjectsService> accountService()
    {
        return std::make_shared<ProjectsService>(false, std::shared_ptr<ModelContainer>(), m_account.api.get());
    }

    // Probes to the end and tells whether it ended with an offer.
    static bool probed(LocalDataMigrationOffer &offer, bool isGuest, std::shared_ptr<ProjectsService> service)
    {
        QSignalSpy finished(&offer, &LocalDataMigrationOffer::probeFinished);
        offer.probe(isGuest, std::move(service));
        [&] { QTRY_COMPARE(finished.size(), 1); }();
        return offer.shown();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_account.start());
        RootViewModel root;
        AccountTestBackend::signIn(*root.auth());
        QVERIFY(root.auth()->user());
    }

    void init()
    {
        m_env.reset();
        m_account.backend.clearOverrides();
    }

    void offeredNewestFirstWithTheAccountsProjects()
    {
        const QList<Project> devices = AppTestEnvironment::addDeviceProjects(3);
        m_account.backend.clearRequests();
        const std::shared_ptr<ProjectsService> service = accountService();
        LocalDataMigrationOffer offer;
        QVERIFY(probed(offer, false, service));
        QCOMPARE(offer.pendingLocals().size(), 3);
        QCOMPARE(offer.pendingLocals().first().id, devices.last().id);
        QCOMPARE(offer.projectsService(), service.get());
        // The account's roots, read before the offer was made; the window's list is not touched.
        const QList<RecordedRequest> loads =
            m_account.backend.requests(QStringLiteral("GET"), QStringLiteral("projects"));
        QCOMPARE(loads.size(), 1);
        QCOMPARE(loads.first().query, QString());
        QVERIFY(!offer.cloudProjects().isEmpty());
        for (const Project &project : offer.cloudProjects())
            QVERIFY(project.isRoot());
        QVERIFY(service->projects().isEmpty());
    }

    void skippedIsNotOfferedAgain()
    {
        AppTestEnvironment::addDeviceProjects(1);
        LocalDataMigrationOffer offer;
        QVERIFY(probed(offer, false, accountService()));
        QSignalSpy dismissed(&offer, &LocalDataMigrationOffer::dismissedChanged);
        offer.skip();
        offer.close();
        QVERIFY(offer.dismissedThisSession());
        QVERIFY(!offer.shown());
        QVERIFY(!probed(offer, false, accountService()));
        offer.skip();
        QCOMPARE(dismissed.size(), 1);

        // A new window offers again.
        LocalDataMigrationOffer next;
        QVERIFY(probed(next, false, accountService()));
    }

    void noOffer_data()
    {
        QTest::addColumn<bool>("isGuest");
        QTest::addColumn<int>("devices"); // readable device projects
        QTest::addColumn<bool>("brokenRecord");
        QTest::newRow("guest window") << true << 2 << false;
        QTest::newRow("empty device store") << false << 0 << false;
        QTest::newRow("no device record reads") << false << 0 << true;
    }

    void noOffer()
    {
        QFETCH(bool, isGuest);
        QFETCH(int, devices);
        QFETCH(bool, brokenRecord);
        AppTestEnvironment::addDeviceProjects(devices);
        if (brokenRecord)
            PersistenceController::shared()->upsert(QStringLiteral("local-broken"), QByteArrayLiteral("{\"name\":1}"));
        m_account.backend.clearRequests();
        LocalDataMigrationOffer offer;
        QSignalSpy shown(&offer, &LocalDataMigrationOffer::shownChanged);
        QVERIFY(!probed(offer, isGuest, accountService()));
        QCOMPARE(shown.size(), 0);
        QVERIFY(offer.pendingLocals().isEmpty());
        // A guest window does not even ask the account.
        QCOMPARE(m_account.backend.requests(QStringLiteral("GET"), QStringLiteral("projects")).isEmpty(), isGuest);
    }

    void answerAfterTheWindowIsGoneChangesNothing()
    {
        AppTestEnvironment::addDeviceProjects(1);
        m_account.backend.clearRequests();
        m_account.backend.setDelay(QStringLiteral("GET"), QStringLiteral("projects"), 10000);
        auto *offer = new LocalDataMigrationOffer;
        const std::shared_ptr<ProjectsService> service = accountService();
        offer->probe(false, service);
        QTRY_COMPARE(m_account.backend.requests(QStringLiteral("GET"), QStringLiteral("projects")).size(), 1);
        delete offer;
        // Its look at the account is given up with it.
        QTRY_COMPARE(m_account.backend.abandonedRequests().size(), 1);
        QVERIFY(!service->hasErrorMessage());
        QCOMPARE(AppTestEnvironment::repository().fetchAllSorted().size(), 1);
    }
};

QTEST_MAIN(TestLocalDataMigrationOffer)
#include "tst_LocalDataMigrationOffer.moc"
