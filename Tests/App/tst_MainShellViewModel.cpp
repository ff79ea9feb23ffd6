// The main window's rules: columns, hand-offs between sections, the tour's navigation and
// reactions, and when the device projects are offered for the account.
#include "App/MainShellViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Settings/Preferences.h"

#include <QSignalSpy>
#include <QTest>

class TestMainShellViewModel : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;

    static std::optional<QString> text(const QVariant &v) { return v.isValid() ? std::optional(v.toString()) : std::nullopt; }

private Q_SLOTS:
    void init() { m_env.reset(); }

    void layoutByWidth_data()
    {
        QTest::addColumn<qreal>("width");
        // sidebar min, ideal, max, content min, detail min, placeholder padding, cap (-1: none)
        QTest::addColumn<QList<qreal>>("expected");
        QTest::newRow("519: compact") << 519.0 << QList<qreal>{180, 200, 240, 300, 360, 20, -1};
        QTest::newRow("520") << 520.0 << QList<qreal>{180, 200, 240, 300, 360, 28, 520};
        QTest::newRow("899") << 899.0 << QList<qreal>{180, 200, 240, 300, 360, 28, 520};
        QTest::newRow("900") << 900.0 << QList<qreal>{200, 220, 260, 300, 360, 28, 640};
        QTest::newRow("1099.5") << 1099.5 << QList<qreal>{200, 220, 260, 300, 360, 28, 640};
        QTest::newRow("1100") << 1100.0 << QList<qreal>{200, 220, 260, 340, 440, 28, 640};
    }

    void layoutByWidth()
    {
        QFETCH(qreal, width);
        QFETCH(QList<qreal>, expected);
        MainShellViewModel shell;
        shell.setWidth(width);
        shell.setCompact(width < 520);
        QCOMPARE((QList<qreal>{shell.sidebarMinWidth(), shell.sidebarIdealWidth(), shell.sidebarMaxWidth(),
                               shell.contentMinWidth(), shell.detailMinWidth(), shell.placeholderPadding(),
                               shell.placeholderMaxWidth()}),
                 expected);
    }

    void financeDisplayName_data()
    {
        QTest::addColumn<QVariantList>("fields"); // id, parent, version, iteration name; the name is "Сайт"
        QTest::addColumn<QString>("expected");
        QTest::newRow("root") << QVariantList{"r", QVariant(), QVariant(), QVariant()} << "Сайт";
        QTest::newRow("root naming itself as parent") << QVariantList{"r", "r", 2, "Этап"} << "Сайт";
        QTest::newRow("named iteration") << QVariantList{"i", "r", 2, "  Этап 2 "} << "Этап 2 · Сайт";
        QTest::newRow("version only") << QVariantList{"i", "r", 3, QVariant()} << "v3 · Сайт";
        QTest::newRow("neither") << QVariantList{"i", "r", QVariant(), QVariant()} << "Итерация · Сайт";
    }

    void financeDisplayName()
    {
        QFETCH(QVariantList, fields);
        QFETCH(QString, expected);
        Project p;
        p.id = fields[0].toString();
        p.name = QStringLiteral("Сайт");
        p.parentProjectId = text(fields[1]);
        p.version = fields[2].isValid() ? std::optional<qint64>(fields[2].toLongLong()) : std::nullopt;
        p.iterationName = text(fields[3]);
        QCOMPARE(MainShellViewModel::financeDisplayName(p), expected);
    }

    void handOffs()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
        shell.setSelectedProjectId(QStringLiteral("p1"));

        // From a list: the payments section with that project chosen; the project selection stays.
        shell.openPayments(QStringLiteral("p7"));
        QCOMPARE(shell.mainSection(), QStringLiteral("payments"));
        QCOMPARE(shell.selectedFinanceProjectId(), QStringLiteral("p7"));
        QVERIFY(!shell.hasFinanceProject()); // not listed: the detail shows the empty state

        // From the analytics detail: the shown row's identity.
        shell.setMainSection(QStringLiteral("analytics"));
        shell.setSelectedAnalyticsRow(QVariantMap{{"id", "p9"}, {"name", "Проект"}});
        shell.openPaymentsFromAnalyticsDetail();
        QCOMPARE(shell.mainSection(), QStringLiteral("payments"));
        QCOMPARE(shell.selectedFinanceProjectId(), QStringLiteral("p9"));

        // Selections survive switching sections.
        shell.setMainSection(QStringLiteral("settings"));
        shell.setMainSection(QStringLiteral("projects"));
        QCOMPARE(shell.selectedProjectId(), QStringLiteral("p1"));

        // The detail reports another identity, then a deletion.
        shell.projectIdChangedByDetail(QStringLiteral("p2"));
        QCOMPARE(shell.selectedProjectId(), QStringLiteral("p2"));
        shell.projectDeleted();
        QCOMPARE(shell.selectedProjectId(), QString());
        QCOMPARE(shell.selectedFinanceProjectId(), QStringLiteral("p9"));

        // Unknown section texts change nothing.
        shell.setMainSection(QStringLiteral("Projects"));
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
    }

    void tourStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("version"); // completed tour version
        QTest::addColumn<bool>("demoKnown"); // the demo project is "demo-1"
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("selection"); // "other" was selected before
        QTest::addColumn<QString>("highlight");
        QTest::newRow("0: demo row, nothing open") << 0 << 0 << true << "projects" << "" << "demoProjectRow:demo-1";
        QTest::newRow("1: demo editor") << 1 << 0 << true << "projects" << "demo-1" << "editorTableOverview";
        QTest::newRow("3: demo editor") << 3 << 0 << true << "projects" << "demo-1" << "editorSaveExport";
        QTest::newRow("2: editor, no demo known") << 2 << 0 << false << "projects" << "other" << "editorTemplatesMenu";
        QTest::newRow("4: payments") << 4 << 1 << true << "payments" << "" << "paymentsHub";
        QTest::newRow("5: analytics") << 5 << 0 << true << "analytics" << "" << "analyticsHub";
        QTest::newRow("7: settings") << 7 << 0 << true << "settings" << "" << "settingsGuidedTour";
        QTest::newRow("8: settings") << 8 << 0 << true << "settings" << "" << "settingsTips";
        QTest::newRow("9: back to projects") << 9 << 0 << true << "projects" << "" << "mainNavigation";
        QTest::newRow("4, tour finished: navigates, no light") << 4 << 2 << true << "payments" << "" << "";
        QTest::newRow("9, version 3") << 9 << 3 << true << "projects" << "" << "";
        QTest::newRow("10: out of range") << 10 << 0 << true << "projects" << "other" << "";
        QTest::newRow("-1: out of range") << -1 << 0 << false << "projects" << "other" << "";
    }

    void tourStep()
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
        QCOMPARE(shell.tourRunning(), version < 2);
        shell.setSelectedProjectId(QStringLiteral("other"));
        shell.setMainOnboardingStep(step);
        shell.applyGuidedNavigation(step); // the step may not have changed
        QCOMPARE(shell.mainSection(), section);
        QCOMPARE(shell.selectedProjectId(), selection);
        QCOMPARE(shell.currentHighlight(), highlight);
        if (step >= 0 && step < 10)
            QCOMPARE(shell.onboardingDemoProjectIdValue().toString(), demoKnown ? QStringLiteral("demo-1") : QString());
    }

    void cutOutIsTheFrameOfTheCurrentTarget()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        shell.setMainOnboardingStep(9);
        QVERIFY(!shell.activeHighlightRect());
        shell.setHighlightFrames({{"paymentsHub", QRectF(1, 2, 3, 4)}});
        QVERIFY(!shell.activeHighlightRect());
        shell.setHighlightFrames({{"paymentsHub", QRectF(1, 2, 3, 4)}, {"mainNavigation", QRectF(0, 0, 220, 640)}});
        QCOMPARE(shell.activeHighlightRect().value(), QRectF(0, 0, 220, 640));
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        QVERIFY(!shell.activeHighlightRect());
    }

    void replayReturnsToTheFirstStep()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        shell.setMainOnboardingStep(6);
        QCOMPARE(shell.mainSection(), QStringLiteral("settings"));
        Preferences::shared().setValue(GuidedOnboarding::replayRequestNonceKey, 1);
        QCOMPARE(shell.mainOnboardingStep(), 0);
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
        QCOMPARE(shell.tourTaskKey(), QStringLiteral("true-0-1"));
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        QCOMPARE(shell.tourTaskKey(), QStringLiteral("false-2-1"));
    }

    void tourStartCreatesTheDemoProjectAndLightsItsRow()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        QSignalSpy finished(&shell, &MainShellViewModel::tourTaskFinished);
        shell.start();
        QTRY_COMPARE(finished.size(), 1);
        const QString demoId = Preferences::shared().value(GuidedOnboarding::demoProjectIdKey).toString();
        QVERIFY(demoId.startsWith(QStringLiteral("local-")));
        QCOMPARE(shell.onboardingDemoProjectIdValue().toString(), demoId);
        QCOMPARE(shell.currentHighlight(), QStringLiteral("demoProjectRow:") + demoId);

        // A replay runs the check again and finds the same project.
        Preferences::shared().setValue(GuidedOnboarding::replayRequestNonceKey, 5);
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(Preferences::shared().value(GuidedOnboarding::demoProjectIdKey).toString(), demoId);
    }

    void guestWindowAfterTheTourStartsNothing()
    {
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        m_env.addDeviceProjects(2);
        MainShellViewModel shell;
        shell.setGuest(true);
        QSignalSpy finished(&shell, &MainShellViewModel::tourTaskFinished);
        QSignalSpy probed(&shell, &MainShellViewModel::migrationProbeFinished);
        shell.start();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!Preferences::shared().contains(GuidedOnboarding::demoProjectIdKey));
        // A guest window never offers the device projects.
        QCOMPARE(probed.size(), 1);
        QVERIFY(!shell.showMigration());
    }

    void resultsOfAGoneShellAreDropped()
    {
        auto *shell = new MainShellViewModel;
        shell->setGuest(true);
        shell->start();
        delete shell; // while the demo check is under way
        QTest::qWait(50);
        // The check itself still completed on the service it was given.
        QTRY_VERIFY(Preferences::shared().contains(GuidedOnboarding::demoProjectIdKey));
    }
};

QTEST_MAIN(TestMainShellViewModel)
#include "tst_MainShellViewModel.moc"
