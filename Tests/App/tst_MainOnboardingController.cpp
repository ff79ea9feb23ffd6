// The guided tour over the main window: where each step takes the window, what it lights and
// the hole cut for it, the reactions to the tour's preferences, and the demo-project check.
#include "App/MainShellViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Features/Onboarding/MainOnboardingController.h"
#include "OnboardingEnvironment.h"
#include "Settings/Preferences.h"

#include <QSignalSpy>
#include <QTest>

class TestMainOnboardingController : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;

private Q_SLOTS:
    void init() { m_env.reset(); }

    // Through the window, which follows the tour's requests.
    void stepMovesTheWindow_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("version"); // completed tour version
        QTest::addColumn<bool>("demoKnown"); // the demo project is "demo-1"
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("selection"); // "other" was selected before
        QTest::addColumn<QString>("highlight");
        QTest::newRow("0: demo row, nothing open") << 0 << 0 << true << "projects"
                                                   << ""
                                                   << "demoProjectRow:demo-1";
        QTest::newRow("1: demo editor") << 1 << 0 << true << "projects"
                                        << "demo-1"
                                        << "editorTableOverview";
        QTest::newRow("3: demo editor") << 3 << 0 << true << "projects"
                                        << "demo-1"
                                        << "editorSaveExport";
        QTest::newRow("2: editor, no demo known") << 2 << 0 << false << "projects"
                                                  << "other"
                                                  << "editorTemplatesMenu";
        QTest::newRow("0: no demo known, nothing lit") << 0 << 0 << false << "projects"
                                                       << ""
                                                       << "";
        QTest::newRow("4: payments, version 1 still runs") << 4 << 1 << true << "payments"
                                                           << ""
                                                           << "paymentsHub";
        QTest::newRow("5: analytics") << 5 << 0 << true << "analytics"
                                      << ""
                                      << "analyticsHub";
        QTest::newRow("7: settings") << 7 << 0 << true << "settings"
                                     << ""
                                     << "settingsGuidedTour";
        QTest::newRow("9: back to projects") << 9 << 0 << true << "projects"
                                             << ""
                                             << "mainNavigation";
        QTest::newRow("4, tour finished: navigates, no light") << 4 << 2 << true << "payments"
                                                               << ""
                                                               << "";
        QTest::newRow("9, version 3") << 9 << 3 << true << "projects"
                                      << ""
                                      << "";
        QTest::newRow("10: out of range") << 10 << 0 << true << "projects"
                                          << "other"
                                          << "";
        QTest::newRow("-1: out of range") << -1 << 0 << false << "projects"
                                          << "other"
                                          << "";
    }

    void stepMovesTheWindow()
    {
        QFETCH(int, step);
        QFETCH(int, version);
        QFETCH(bool, demoKnown);
        QFETCH(QString, section);
        QFETCH(QString, selection);
        QFETCH(QString, highlight);
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, version);
        if (demoKnown)
            Preferences::shared().setValue(GuidedOnboarding::demoProjectIdKey, QStringLiteral("demo-1"));
        MainShellViewModel shell;
        shell.setGuest(true);
        MainOnboardingController &tour = *shell.tour();
        shell.setSelectedProjectId(QStringLiteral("other"));
        tour.setStep(step);
        tour.applyGuidedNavigation(step); // the step may not have changed
        QCOMPARE(shell.mainSection(), section);
        QCOMPARE(shell.selectedProjectId(), selection);
        QCOMPARE(tour.currentHighlight(), highlight);
        if (step >= 0 && step < 10)
            QCOMPARE(tour.demoProjectId(), demoKnown ? std::optional<QString>(QStringLiteral("demo-1")) : std::nullopt);
    }

    void cutOutIsTheFrameOfTheCurrentTarget()
    {
        MainOnboardingController tour;
        QObject host;
        OnboardingEnvironment frames(&host);
        QObject sidebar;
        QObject payments;
        tour.setStep(9);
        tour.setFrameSource(&frames);
        QSignalSpy changed(&tour, &MainOnboardingController::highlightRectChanged);
        QVERIFY(!tour.highlightRect());
        frames.report(&payments, QStringLiteral("paymentsHub"), QRectF(1, 2, 3, 4));
        QVERIFY(!tour.hasHighlightRect());
        frames.report(&sidebar, QStringLiteral("mainNavigation"), QRectF(0, 0, 220, 640));
        QCOMPARE(tour.highlightRect().value(), QRectF(0, 0, 220, 640));
        QVERIFY(changed.size() >= 2);
        // A later report of the same element replaces the frame; a withdrawn one leaves no hole.
        frames.report(&sidebar, QStringLiteral("mainNavigation"), QRectF(0, 0, 200, 640));
        QCOMPARE(tour.highlightRectOrEmpty(), QRectF(0, 0, 200, 640));
        frames.withdraw(&sidebar);
        QVERIFY(!tour.highlightRect());
        frames.report(&sidebar, QStringLiteral("mainNavigation"), QRectF(0, 0, 220, 640));
        // A finished tour lights nothing, whatever is reported.
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        QVERIFY(!tour.highlightRect());
    }

    void replayReturnsToTheFirstStep()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        MainOnboardingController &tour = *shell.tour();
        tour.setStep(6);
        QCOMPARE(shell.mainSection(), QStringLiteral("settings"));
        Preferences::shared().setValue(GuidedOnboarding::replayRequestNonceKey, 1);
        QCOMPARE(tour.step(), 0);
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
        QCOMPARE(tour.taskKey(), QStringLiteral("true-0-1"));
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        QCOMPARE(tour.taskKey(), QStringLiteral("false-2-1"));
        QVERIFY(!tour.running());
    }

    void startCreatesTheDemoProjectAndLightsItsRow()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        MainOnboardingController &tour = *shell.tour();
        QSignalSpy finished(&tour, &MainOnboardingController::taskFinished);
        shell.start();
        QTRY_COMPARE(finished.size(), 1);
        const QString demoId = Preferences::shared().value(GuidedOnboarding::demoProjectIdKey).toString();
        QVERIFY(demoId.startsWith(QStringLiteral("local-")));
        QCOMPARE(tour.demoProjectIdText(), demoId);
        QCOMPARE(tour.currentHighlight(), QStringLiteral("demoProjectRow:") + demoId);

        // A replay runs the check again and finds the same project.
        Preferences::shared().setValue(GuidedOnboarding::replayRequestNonceKey, 5);
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(Preferences::shared().value(GuidedOnboarding::demoProjectIdKey).toString(), demoId);
    }

    // Signed in as for a guest, the first step lights the demo project's row: the tour starts
    // there, and going back from the second step reaches it.
    void firstStepLightsTheDemoRowSignedIn()
    {
        MainShellViewModel shell;
        shell.setGuest(false);
        MainOnboardingController &tour = *shell.tour();
        QSignalSpy finished(&tour, &MainOnboardingController::taskFinished);
        tour.setFrameSource(nullptr);
        tour.start(std::make_shared<ProjectsService>(true));
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(tour.step(), 0);
        QCOMPARE(tour.currentHighlight(), QStringLiteral("demoProjectRow:") + tour.demoProjectIdText());
        tour.setStep(1);
        QCOMPARE(tour.currentHighlight(), QStringLiteral("editorTableOverview"));
        tour.setStep(0);
        QCOMPARE(tour.step(), 0);
        tour.setStep(4);
        QCOMPARE(tour.step(), 4);
    }

    void finishedTourStartsNoCheck()
    {
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        MainShellViewModel shell;
        shell.setGuest(true);
        QSignalSpy finished(shell.tour(), &MainOnboardingController::taskFinished);
        shell.start();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!Preferences::shared().contains(GuidedOnboarding::demoProjectIdKey));
    }

    void resultsOfAGoneWindowAreDropped()
    {
        auto *shell = new MainShellViewModel;
        shell->setGuest(true);
        shell->start();
        delete shell; // while the demo check is under way
        // The check itself still completes on the service it was given.
        QTRY_VERIFY(Preferences::shared().contains(GuidedOnboarding::demoProjectIdKey));
    }
};

QTEST_MAIN(TestMainOnboardingController)
#include "tst_MainOnboardingController.moc"
