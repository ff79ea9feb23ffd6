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

    static Project project(const QString &id, const QString &name, std::optional<QString> parent = std::nullopt,
                           std::optional<qint64> version = std::nullopt, std::optional<QString> iterationName = std::nullopt)
    {
        Project p;
        p.id = id;
        p.name = name;
        p.currency = QStringLiteral("RUB");
        p.parentProjectId = parent;
        p.version = version;
        p.iterationName = iterationName;
        return p;
    }

private Q_SLOTS:
    void init() { m_env.reset(); }

    void newShellStartsOnProjectsWithNothingSelected()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
        QCOMPARE(shell.selectedProjectId(), QString());
        QCOMPARE(shell.selectedFinanceProjectId(), QString());
        QVERIFY(!shell.selectedAnalyticsRow().isValid());
    }

    void columnWidths_data()
    {
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QList<qreal>>("expected"); // sidebar min, ideal, max, content min, detail min
        QTest::newRow("899") << 899.0 << QList<qreal>{180, 200, 240, 300, 360};
        QTest::newRow("900") << 900.0 << QList<qreal>{200, 220, 260, 300, 360};
        QTest::newRow("1099.5") << 1099.5 << QList<qreal>{200, 220, 260, 300, 360};
        QTest::newRow("1100") << 1100.0 << QList<qreal>{200, 220, 260, 340, 440};
    }

    void columnWidths()
    {
        QFETCH(qreal, width);
        QFETCH(QList<qreal>, expected);
        MainShellViewModel shell;
        shell.setWidth(width);
        QCOMPARE((QList<qreal>{shell.sidebarMinWidth(), shell.sidebarIdealWidth(), shell.sidebarMaxWidth(),
                               shell.contentMinWidth(), shell.detailMinWidth()}),
                 expected);
    }

    void placeholderColumn_data()
    {
        QTest::addColumn<qreal>("width");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<qreal>("padding");
        QTest::addColumn<qreal>("cap");
        QTest::newRow("narrow") << 519.0 << true << 20.0 << -1.0;
        QTest::newRow("from 520") << 520.0 << false << 28.0 << 520.0;
        QTest::newRow("899") << 899.0 << false << 28.0 << 520.0;
        QTest::newRow("900") << 900.0 << false << 28.0 << 640.0;
    }

    void placeholderColumn()
    {
        QFETCH(qreal, width);
        QFETCH(bool, compact);
        QFETCH(qreal, padding);
        QFETCH(qreal, cap);
        MainShellViewModel shell;
        shell.setWidth(width);
        shell.setCompact(compact);
        QCOMPARE(shell.placeholderPadding(), padding);
        QCOMPARE(shell.placeholderMaxWidth(), cap);
    }

    void financeDisplayName_data()
    {
        QTest::addColumn<QVariantList>("fields"); // id, name, parent, version, iteration name
        QTest::addColumn<QString>("expected");
        QTest::newRow("root") << QVariantList{"r", "Сайт", QVariant(), QVariant(), QVariant()} << "Сайт";
        QTest::newRow("root naming itself as parent") << QVariantList{"r", "Сайт", "r", 2, "Этап"} << "Сайт";
        QTest::newRow("named iteration") << QVariantList{"i", "Сайт", "r", 2, "  Этап 2 "} << "Этап 2 · Сайт";
        QTest::newRow("version only") << QVariantList{"i", "Сайт", "r", 3, QVariant()} << "v3 · Сайт";
        QTest::newRow("neither") << QVariantList{"i", "Сайт", "r", QVariant(), QVariant()} << "Итерация · Сайт";
    }

    void financeDisplayName()
    {
        QFETCH(QVariantList, fields);
        QFETCH(QString, expected);
        auto opt = [](const QVariant &v) { return v.isValid() ? std::optional<QString>(v.toString()) : std::nullopt; };
        const Project p = project(fields[0].toString(), fields[1].toString(), opt(fields[2]),
                                  fields[3].isValid() ? std::optional<qint64>(fields[3].toLongLong()) : std::nullopt,
                                  opt(fields[4]));
        QCOMPARE(MainShellViewModel::financeDisplayName(p), expected);
    }

    void handOffs()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
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

    void navigationPerStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("selection");
        QTest::newRow("0: demo row, nothing open") << 0 << "projects" << "";
        QTest::newRow("1: demo editor") << 1 << "projects" << "demo-1";
        QTest::newRow("3: demo editor") << 3 << "projects" << "demo-1";
        QTest::newRow("4: payments") << 4 << "payments" << "";
        QTest::newRow("5: analytics") << 5 << "analytics" << "";
        QTest::newRow("7: settings") << 7 << "settings" << "";
        QTest::newRow("9: back to projects") << 9 << "projects" << "";
    }

    void navigationPerStep()
    {
        QFETCH(int, step);
        QFETCH(QString, section);
        QFETCH(QString, selection);
        Preferences::shared().setValue(GuidedOnboarding::demoProjectIdKey, QStringLiteral("demo-1"));
        MainShellViewModel shell;
        shell.setGuest(true);
        shell.setSelectedProjectId(QStringLiteral("other"));
        shell.setMainOnboardingStep(step);
        shell.applyGuidedNavigation(step); // the step may not have changed
        QCOMPARE(shell.mainSection(), section);
        QCOMPARE(shell.selectedProjectId(), selection);
        QCOMPARE(shell.onboardingDemoProjectIdValue().toString(), QStringLiteral("demo-1"));
    }

    void navigationWithoutDemoProject()
    {
        MainShellViewModel shell;
        shell.setGuest(true);
        shell.setSelectedProjectId(QStringLiteral("mine"));
        shell.applyGuidedNavigation(2); // opens the editor, but no demo is known: selection stays
        QCOMPARE(shell.selectedProjectId(), QStringLiteral("mine"));
        QVERIFY(!shell.onboardingDemoProjectId());
        shell.applyGuidedNavigation(10); // out of range: nothing
        shell.applyGuidedNavigation(-1);
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
        QCOMPARE(shell.selectedProjectId(), QStringLiteral("mine"));
    }

    void stepChangesNavigateEvenWhenTheTourIsOver()
    {
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        MainShellViewModel shell;
        shell.setGuest(true);
        QVERIFY(!shell.tourRunning());
        shell.setMainOnboardingStep(4);
        QCOMPARE(shell.mainSection(), QStringLiteral("payments"));
        QCOMPARE(shell.currentHighlight(), QString());
        shell.setMainOnboardingStep(0);
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));
    }

    void highlightFollowsStepAndVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("highlight");
        QTest::newRow("version 1 still runs") << 1 << 4 << "paymentsHub";
        QTest::newRow("version 2 is finished") << 2 << 4 << "";
        QTest::newRow("version 3 is finished") << 3 << 9 << "";
        QTest::newRow("demo row") << 0 << 0 << "demoProjectRow:demo-1";
        QTest::newRow("sidebar") << 0 << 9 << "mainNavigation";
    }

    void highlightFollowsStepAndVersion()
    {
        QFETCH(int, version);
        QFETCH(int, step);
        QFETCH(QString, highlight);
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, version);
        Preferences::shared().setValue(GuidedOnboarding::demoProjectIdKey, QStringLiteral("demo-1"));
        MainShellViewModel shell;
        shell.setGuest(true);
        shell.setMainOnboardingStep(step);
        shell.applyGuidedNavigation(step); // reads the demo identity
        QCOMPARE(shell.currentHighlight(), highlight);
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
        QCOMPARE(shell.mainSection(), QStringLiteral("projects"));

        // Advancing opens the demo project.
        shell.setMainOnboardingStep(1);
        QCOMPARE(shell.selectedProjectId(), demoId);
        shell.setMainOnboardingStep(4);
        QCOMPARE(shell.selectedProjectId(), QString());

        // A replay runs the check again and finds the same project.
        Preferences::shared().setValue(GuidedOnboarding::replayRequestNonceKey, 5);
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(Preferences::shared().value(GuidedOnboarding::demoProjectIdKey).toString(), demoId);
    }

    void finishedTourStartsNothing()
    {
        Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        MainShellViewModel shell;
        shell.setGuest(true);
        QSignalSpy finished(&shell, &MainShellViewModel::tourTaskFinished);
        shell.start();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!Preferences::shared().contains(GuidedOnboarding::demoProjectIdKey));
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

    void guestWindowNeverProbesForMigration()
    {
        m_env.addDeviceProjects(2);
        MainShellViewModel shell;
        shell.setGuest(true);
        QSignalSpy probed(&shell, &MainShellViewModel::migrationProbeFinished);
        shell.start();
        QCOMPARE(probed.size(), 1);
        QVERIFY(!shell.showMigration());
    }
};

QTEST_MAIN(TestMainShellViewModel)
#include "tst_MainShellViewModel.moc"
