// The root and the main window with a signed-in account on the test backend: the screen choice,
// what signing in and out changes, links while signed in, the window's own loads at start and
// the migration sheet.
#include "AccountTestBackend.h"
#include "AppTestEnvironment.h"
#include "FocusWatch.h"
#include "Features/Auth/LocalDataMigrationSheetModel.h"
#include "Features/Editor/ProjectEditorViewModel.h"
#include "Features/Onboarding/GuidedOnboarding.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>

class TestAccountWindow : public QObject
{
    Q_OBJECT

    FocusWatch m_focusWatch;
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
        QSignalSpy probed(shell->migration(), &LocalDataMigrationOffer::probeFinished);
        shell->start();
        [&] { QTRY_COMPARE(probed.size(), 1); }();
        return shell;
    }

    // The signed-in shell's editor on the account's first project, with an edit not yet saved.
    static std::unique_ptr<ProjectEditorViewModel> editedProject(RootViewModel &root,
                                                                 MainShellViewModel **shellOut = nullptr)
    {
        auto *shell = new MainShellViewModel(&root);
        shell->setAuth(root.auth());
        shell->setGuest(false);
        await(shell->projectsService()->load(true));
        auto editor = std::make_unique<ProjectEditorViewModel>(shell->projectsService()->projects().first(),
                                                               shell->projectsService());
        shell->unsavedEdits()->setEditor(editor.get());
        root.setUnsavedEdits(shell->unsavedEdits());
        editor->setClientName(QStringLiteral("Другой клиент"));
        editor->markDirty();
        if (shellOut)
            *shellOut = shell;
        return editor;
    }

    static bool hasIteration(const QList<Project> &projects)
    {
        return std::any_of(projects.begin(), projects.end(), [](const Project &p) { return p.isIteration(); });
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

        // Signing out shows the welcome screen, not the guest window. The stored token goes once
        // the backend has answered; the next test signs in on the same store.
        root.auth()->logout();
        QCOMPARE(root.screen(), RootViewModel::Welcome);
        QTRY_VERIFY(!m_account.tokens.load());
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
        QVERIFY(shell->migration()->shown());
        const qsizetype before = shell->migration()->cloudProjects().size();

        LocalDataMigrationSheetModel sheet;
        sheet.setOffer(shell->migration());
        QCOMPARE(sheet.localCount(), 2);
        QCOMPARE(sheet.cloudCount(), before);
        QCOMPARE(sheet.policy(), QStringLiteral("mergeAll"));
        sheet.setPolicy(policy);
        QSignalSpy finished(&sheet, &LocalDataMigrationSheetModel::finished);
        sheet.apply();
        QVERIFY(sheet.isRunning());
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(!sheet.isRunning());
        QCOMPARE(sheet.errorText(), QString());
        QVERIFY(AppTestEnvironment::repository().fetchAllSorted().isEmpty());
        QCOMPARE(shell->projectsService()->rootProjects().size(), before + added);
    }

    // The sheet closes on finished(): by then the window's list was reloaded, in the form the
    // sections show it (with iterations), and holds the moved projects.
    void migrationSheetFinishesAfterTheReload()
    {
        RootViewModel root;
        signIn(root);
        AppTestEnvironment::addDeviceProjects(2, QStringLiteral("Перенос"));
        MainShellViewModel *shell = startedShell(root);
        ProjectsService *service = shell->projectsService();
        LocalDataMigrationSheetModel sheet;
        sheet.setOffer(shell->migration());

        bool finished = false;
        bool loadingAtFinish = true;
        qsizetype movedAtFinish = -1;
        bool iterationsAtFinish = false;
        connect(&sheet, &LocalDataMigrationSheetModel::finished, this, [&] {
            finished = true;
            loadingAtFinish = service->isLoading();
            const QList<Project> listed = service->projects();
            movedAtFinish = std::count_if(listed.begin(), listed.end(), [](const Project &p) {
                return p.name.startsWith(QStringLiteral("Перенос"));
            });
            iterationsAtFinish = hasIteration(listed);
        });
        sheet.apply();
        QTRY_VERIFY(finished);
        QVERIFY(!loadingAtFinish);
        QCOMPARE(movedAtFinish, 2);
        QVERIFY(iterationsAtFinish);
        QVERIFY(shell->migration()->shown()); // the sheet closes it when it closes
    }

    // The window's own reads at start (the offer's probe, the tour's demo check) answer after the
    // projects section loaded the tree: the tree keeps its iterations.
    void lateStartReadsLeaveTheTreeWhole()
    {
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 0);
        RootViewModel root;
        signIn(root);
        AppTestEnvironment::addDeviceProjects(1);
        // What the backend answers to a list without iterations, held back.
        ProjectsService reader(false, {}, m_account.api.get());
        await(reader.load(false));
        QJsonArray roots;
        for (const Project &project : reader.projects())
            roots.append(project.toJson());
        QVERIFY(!roots.isEmpty());
        m_account.backend.clearRequests();
        m_account.backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                                      BackendReply::json(200, roots));
        m_account.backend.hold(QStringLiteral("GET"), QStringLiteral("projects"));

        auto *shell = new MainShellViewModel(&root);
        shell->setGuest(false);
        QSignalSpy probed(shell->migration(), &LocalDataMigrationOffer::probeFinished);
        QSignalSpy checked(shell->tour(), &MainOnboardingController::taskFinished);
        shell->start();
        QTRY_COMPARE(m_account.backend.requests(QStringLiteral("GET"), QStringLiteral("projects")).size(), 2);
        m_account.backend.clearOverrides();

        // The projects section loads its tree meanwhile.
        await(shell->projectsService()->load(true));
        QVERIFY(hasIteration(shell->projectsService()->projects()));
        m_account.backend.release();
        QTRY_COMPARE(probed.size(), 1);
        QTRY_COMPARE(checked.size(), 1);
        QVERIFY(shell->migration()->shown());
        QVERIFY(shell->tour()->hasDemoProject());
        QVERIFY(hasIteration(shell->projectsService()->projects()));
    }

    // The window closing while a save runs stays until the save has stored the project, then
    // goes without a question.
    void closeWaitsForTheRunningSave()
    {
        RootViewModel root;
        signIn(root);
        MainShellViewModel shell(&root);
        shell.setGuest(false);
        await(shell.projectsService()->load(true));
        const Project project = shell.projectsService()->projects().first();
        ProjectEditorViewModel editor(project, shell.projectsService());
        UnsavedEditsGuard *guard = shell.unsavedEdits();
        guard->setEditor(&editor);
        const QJsonObject *stored = m_account.backend.data().project(project.id);
        QVERIFY(stored);
        m_account.backend.setOverride(QStringLiteral("PATCH"), QStringLiteral("projects/") + project.id,
                                      BackendReply::json(200, *stored).after(300));

        editor.setClientName(QStringLiteral("Другой клиент"));
        editor.markDirty();
        editor.save();
        QCOMPARE(editor.saveStateRaw(), QStringLiteral("saving"));
        QSignalSpy approved(guard, &UnsavedEditsGuard::closeApproved);
        QVERIFY(!guard->requestClose());
        QVERIFY(!guard->isAsking());
        QVERIFY(guard->isWaitingToClose());
        QVERIFY(approved.wait(5000));
        QCOMPARE(approved.size(), 1);
        QVERIFY(!guard->isWaitingToClose());
        QCOMPARE(editor.saveStateRaw(), QStringLiteral("saved"));
        QVERIFY(guard->requestClose());
    }

    // The backend ends the session under unsaved edits: the account window stays, and closing
    // the window asks first; letting the edits go closes it.
    void endedSessionAsksBeforeTheWindowCloses()
    {
        m_account.backend.clearOverrides();
        RootViewModel root;
        signIn(root);
        const auto edited = editedProject(root);
        ProjectEditorViewModel &editor = *edited;

        m_account.backend.data().tokens.clear();
        editor.save();
        QTRY_VERIFY(!root.auth()->user());
        QCOMPARE(editor.saveErrorText(), RootViewModel::sessionExpiredText());
        QVERIFY(root.keepsEndedSession());
        QCOMPARE(root.screen(), RootViewModel::AccountShell);
        QVERIFY(root.showLoginSheet());
        QCOMPARE(root.sessionNotice(), RootViewModel::sessionExpiredText());
        // The session ends as any other: its token goes once the backend was told.
        QTRY_VERIFY(!m_account.tokens.load());

        QSignalSpy approved(&root, &RootViewModel::closeApproved);
        QVERIFY(!root.requestClose());
        QCOMPARE(root.editsQuestion(), RootViewModel::SignInDismissed);
        QVERIFY(!root.showLoginSheet());
        root.answerEditsQuestion(true); // back to signing in: nothing closes
        QVERIFY(root.showLoginSheet());
        QTest::qWait(20);
        QCOMPARE(approved.size(), 0);
        QVERIFY(!root.requestClose());
        root.answerEditsQuestion(false);
        QCOMPARE(root.screen(), RootViewModel::Welcome);
        QVERIFY(approved.wait(2000));
        QVERIFY(root.requestClose());
        QCOMPARE(root.sessionNotice(), QString());
    }

    // The backend ends the session while a save and a reload of the list are both on their way:
    // it is told of the sign-out once. The same account signing in again over the editor takes
    // the ended session's message away; the edits stay.
    void endedSessionSignsOutOnceAndComesBackClean()
    {
        m_account.backend.clearOverrides();
        RootViewModel root;
        signIn(root);
        MainShellViewModel *shell = nullptr;
        const auto edited = editedProject(root, &shell);
        ProjectEditorViewModel &editor = *edited;

        m_account.backend.clearRequests();
        m_account.backend.data().tokens.clear();
        QSignalSpy saved(&editor, &ProjectEditorViewModel::finished);
        editor.save();
        shell->projectsService()->load(true);
        QTRY_VERIFY(!root.auth()->user());
        QTRY_VERIFY(!m_account.tokens.load());
        // The list's refusal may end the session before the save's arrives (its body is made on
        // a worker first): both are in before they are counted.
        QTRY_COMPARE(saved.size(), 1);
        QCOMPARE(m_account.backend.requests(QStringLiteral("POST"), QStringLiteral("auth/logout")).size(), 1);
        QCOMPARE(editor.saveErrorText(), RootViewModel::sessionExpiredText());
        QVERIFY(root.showLoginSheet());

        signIn(root);
        QCOMPARE(root.screen(), RootViewModel::AccountShell);
        QVERIFY(!root.keepsEndedSession());
        QCOMPARE(editor.saveStateRaw(), QStringLiteral("idle"));
        QCOMPARE(editor.saveErrorText(), QString());
        QVERIFY(editor.isDirty());
        QCOMPARE(editor.clientName(), QStringLiteral("Другой клиент"));
    }

    // Signing out of one's own accord is no ended session: no notice, nothing kept.
    void ownSignOutKeepsNothing()
    {
        RootViewModel root;
        signIn(root);
        root.auth()->logout();
        QCOMPARE(root.screen(), RootViewModel::Welcome);
        QVERIFY(!root.keepsEndedSession());
        QVERIFY(!root.showLoginSheet());
        QCOMPARE(root.sessionNotice(), QString());
        QTRY_VERIFY(!m_account.tokens.load());
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
