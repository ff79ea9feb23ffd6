// The root and the main window with a signed-in account on the test backend: the screen choice,
// what signing in and out changes, links while signed in, and the offer of the device projects.
#include "AccountTestBackend.h"
#include "AppTestEnvironment.h"
#include "Features/Auth/LocalDataMigrationSheetModel.h"

#include <QSignalSpy>
#include <QTest>

class TestAccountWindow : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;
    AccountTestBackend m_account;

    static void signIn(RootViewModel &root)
    {
        AccountTestBackend::signIn(*root.auth());
        QVERIFY(root.auth()->user());
    }

    // A signed-in window's shell, started and past its look at the device projects.
    static MainShellViewModel *startedShell(RootViewModel &root)
    {
        auto *shell = new MainShellViewModel(&root);
        shell->setGuest(false);
        QSignalSpy probed(shell, &MainShellViewModel::migrationProbeFinished);
        shell->start();
        [&] { QTRY_COMPARE(probed.size(), 1); }();
        return shell;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_account.start()); }

    void init()
    {
        m_env.reset();
        m_account.tokens.remove();
        Preferences::shared().setValue(QStringLiteral("estimate.onboarding.main.completedVersion"), 2);
    }

    void signingInEndsGuestModeAndClosesTheSheet()
    {
        Preferences::shared().setValue(QStringLiteral("guest_mode_active"), true);
        RootViewModel root;
        QCOMPARE(root.screen(), RootViewModel::GuestShell);
        root.setShowLoginSheet(true);
        signIn(root);
        QCOMPARE(root.screen(), RootViewModel::AccountShell);
        QVERIFY(!root.showLoginSheet());
        QVERIFY(!root.guestModeActive());
        QCOMPARE(Preferences::shared().value(QStringLiteral("guest_mode_active")).toBool(), false);

        // Opening and closing the sheet again changes nothing; a link opens only its sheet.
        root.setShowLoginSheet(true);
        root.setShowLoginSheet(false);
        root.openUrl(QStringLiteral("tessmark://reset-password?token=abc"));
        QCOMPARE(root.deepLinkId(), QStringLiteral("reset-abc"));
        QVERIFY(!root.showLoginSheet());
        QCOMPARE(root.screen(), RootViewModel::AccountShell);
        QVERIFY(!root.guestModeActive());

        // Signing out shows the welcome screen, not the guest window.
        root.auth()->logout();
        QCOMPARE(root.screen(), RootViewModel::Welcome);
    }

    void aStoredSessionCountsAsSigningIn()
    {
        {
            RootViewModel first;
            signIn(first);
        }
        QVERIFY(m_account.tokens.load());
        Preferences::shared().setValue(QStringLiteral("guest_mode_active"), true);
        RootViewModel root;
        QCOMPARE(root.screen(), RootViewModel::GuestShell);
        QTRY_COMPARE(root.screen(), RootViewModel::AccountShell);
        QVERIFY(!root.guestModeActive());
    }

    void migrationOfferedForDeviceProjects()
    {
        RootViewModel root;
        signIn(root);
        const QList<Project> devices = AppTestEnvironment::addDeviceProjects(3);
        MainShellViewModel *shell = startedShell(root);
        QVERIFY(shell->showMigration());
        // Newest first, after the account's own projects were loaded.
        QCOMPARE(shell->pendingLocals().size(), 3);
        QCOMPARE(shell->pendingLocals().first().id, devices.last().id);
        QVERIFY(!shell->projectsService()->projects().isEmpty());
        QCOMPARE(shell->cloudProjectsValue().value<QList<Project>>().size(), shell->projectsService()->projects().size());

        // Skipped: not offered again by this window.
        shell->migrationSkipped();
        shell->migrationClosed();
        QSignalSpy probed(shell, &MainShellViewModel::migrationProbeFinished);
        shell->runMigrationProbeIfNeeded();
        QCOMPARE(probed.size(), 1);
        QVERIFY(!shell->showMigration());

        // A new window (signing out and in again) offers again.
        QVERIFY(startedShell(root)->showMigration());
    }

    void noOfferWithoutReadableDeviceProjects_data()
    {
        QTest::addColumn<bool>("brokenRecord");
        QTest::newRow("empty device store") << false;
        QTest::newRow("no device record reads") << true;
    }

    void noOfferWithoutReadableDeviceProjects()
    {
        QFETCH(bool, brokenRecord);
        if (brokenRecord)
            PersistenceController::shared()->upsert(QStringLiteral("local-broken"), QByteArrayLiteral("{\"name\":1}"));
        m_account.backend.clearRequests();
        RootViewModel root;
        signIn(root);
        QVERIFY(!startedShell(root)->showMigration());
        // The account's projects were loaded first, without iterations.
        const QList<RecordedRequest> loads = m_account.backend.requests(QStringLiteral("GET"), QStringLiteral("projects"));
        QVERIFY(!loads.isEmpty());
        QCOMPARE(loads.last().query, QString());
    }

    void migrationSheetMovesTheDeviceProjects_data()
    {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<int>("added"); // account projects gained
        QTest::newRow("merge all") << "mergeAll" << 2;
        QTest::newRow("cloud only") << "cloudOnly" << 0;
    }

    void migrationSheetMovesTheDeviceProjects()
    {
        QFETCH(QString, policy);
        QFETCH(int, added);
        RootViewModel root;
        signIn(root);
        AppTestEnvironment::addDeviceProjects(2, QStringLiteral("Черновик"));
        MainShellViewModel *shell = startedShell(root);
        QVERIFY(shell->showMigration());
        const qsizetype before = shell->projectsService()->projects().size();

        LocalDataMigrationSheetModel sheet;
        sheet.setLocals(shell->pendingLocalsValue());
        sheet.setCloudProjects(shell->cloudProjectsValue());
        sheet.setProjectsService(shell->projectsService());
        QCOMPARE(sheet.localCount(), 2);
        QCOMPARE(sheet.policy(), QStringLiteral("mergeAll"));
        sheet.setPolicy(policy);
        QSignalSpy finished(&sheet, &LocalDataMigrationSheetModel::finished);
        sheet.apply();
        QVERIFY(sheet.isRunning());
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(!sheet.isRunning());
        QCOMPARE(sheet.errorText(), QString());
        QVERIFY(AppTestEnvironment::repository().fetchAllSorted().isEmpty());
        QCOMPARE(shell->projectsService()->projects().size(), before + added);
    }

    void financeProjectFollowsTheServiceList()
    {
        RootViewModel root;
        signIn(root);
        MainShellViewModel shell(&root);
        shell.setGuest(false);
        shell.openPayments(QStringLiteral("nowhere"));
        QVERIFY(!shell.hasFinanceProject());
        await(shell.projectsService()->load(true));
        const QList<Project> &projects = shell.projectsService()->projects();
        QVERIFY(!projects.isEmpty());
        QSignalSpy changed(&shell, &MainShellViewModel::financeProjectChanged);
        shell.openPayments(projects.last().id);
        QVERIFY(changed.size() >= 1);
        QVERIFY(shell.hasFinanceProject());
        QCOMPARE(shell.financeProjectName(), MainShellViewModel::financeDisplayName(projects.last()));
        QCOMPARE(shell.financeProjectCurrency(), projects.last().currency);
    }
};

QTEST_MAIN(TestAccountWindow)
#include "tst_AccountWindow.moc"
