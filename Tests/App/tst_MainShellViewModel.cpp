// The main window's navigation: the section, the independent selections, the hand-offs
// between sections and the question about an editor's unsaved edits.
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Editor/ProjectEditorViewModel.h"
#include "Utils/Text.h"
#include <QCoro/QCoroTask>

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/private/qqmlengine_p.h>
#include <memory>

#include "App/AppQmlPlugins.h"

// Other work a closing window waits for, run by hand.
class HeldWork : public QObject
{
    Q_OBJECT
public:
    bool runs = false;
    bool running() const { return runs; }
    void end()
    {
        runs = false;
        Q_EMIT ended();
    }
Q_SIGNALS:
    void ended();
};

class TestMainShellViewModel : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;

    static std::optional<QString> text(const QVariant &v)
    {
        return v.isValid() ? std::optional(v.toString()) : std::nullopt;
    }

    static QString storedName(const QString &id)
    {
        for (const Project &project : AppTestEnvironment::repository().fetchAllSorted()) {
            if (project.id == id)
                return project.name;
        }
        return {};
    }

private Q_SLOTS:
    void init() { m_env.reset(); }

    // The start loads the types of the screen it shows, not those of screens or sheets off it,
    // and builds no sheet or tour card that is not shown. The engine's cache of types is read
    // without asking for a file: a file asked for would start loading it and the files it uses
    // in the loader's thread, which may finish them before the next look.
    void startLoadsOnlyTheScreenShown_data()
    {
        QTest::addColumn<bool>("guest");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QStringList>("notLoaded");
        const QString shell = QStringLiteral("App/MainShellView.qml");
        const QStringList offScreen{"Features/Editor/ProjectDetailContainer.qml",
                                    "Features/Finance/PaymentsHubView.qml", "Features/Finance/ProjectFinanceView.qml",
                                    "Features/Analytics/AnalyticsDashboardView.qml",
                                    "Features/Settings/SettingsView.qml"};
        QTest::newRow("welcome") << false << QStringList{"Features/Auth/WelcomeView.qml"}
                                 << offScreen + QStringList{shell};
        QTest::newRow("guest window") << true << QStringList{shell, "Features/Projects/ProjectsListView.qml"}
                                      << offScreen;
    }
    void startLoadsOnlyTheScreenShown()
    {
        QFETCH(bool, guest);
        QFETCH(QStringList, loaded);
        QFETCH(QStringList, notLoaded);
        Preferences::shared().setValue(QStringLiteral("guest_mode_active"), guest);
        Preferences::shared().setValue(QStringLiteral("estimate.onboarding.main.completedVersion"), 2);
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/App/RootView.qml")));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *screen = root->property("currentScreen").value<QObject *>();
        QVERIFY(screen);
        QCOMPARE(screen->property("isGuest").toBool(), guest);
        QVERIFY(!root->findChild<QObject *>(QStringLiteral("localDataMigrationSheet")));
        QVERIFY(!root->findChild<QObject *>(QStringLiteral("onboardingCard")));
        const auto isLoaded = [&engine](const QString &file) {
            return QQmlEnginePrivate::get(&engine)->isTypeLoaded(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/") + file));
        };
        for (const QString &file : loaded)
            QVERIFY2(isLoaded(file), qPrintable(file));
        for (const QString &file : notLoaded)
            QVERIFY2(!isLoaded(file), qPrintable(file));
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

    // The payments' header line: a name of megabytes arrives cut, with its iteration's label first.
    void financeDisplayNameOfHugeNames()
    {
        Project p;
        p.id = QStringLiteral("i");
        p.name = QString(1000000, QChar(u'Ж'));
        for (const std::optional<QString> &parent : {std::optional<QString>(), std::optional(QStringLiteral("r"))}) {
            p.parentProjectId = parent;
            p.iterationName = QString(1000000, QChar(u'Э'));
            const QString shown = MainShellViewModel::financeDisplayName(p);
            QVERIFY(shown.size() <= Text::maxMessageGraphemes + 1);
            QVERIFY(shown.endsWith(QStringLiteral("…")));
            QCOMPARE(shown.front(), parent ? QChar(u'Э') : QChar(u'Ж'));
        }
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
        AnalyticsProjectRow row;
        row.id = QStringLiteral("p9");
        row.name = QStringLiteral("Проект");
        shell.setSelectedAnalyticsRow(row);
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

        // Without an analytics row there is nothing to hand over.
        shell.setMainSection(QStringLiteral("analytics"));
        shell.setSelectedAnalyticsRow({});
        shell.openPaymentsFromAnalyticsDetail();
        QCOMPARE(shell.mainSection(), QStringLiteral("analytics"));
    }


    // A step that would take an edited editor away waits for the answer: "Сохранить" goes on
    // once stored (a refused save stays, its error shown), "Не сохранять" goes on, "Отмена"
    // stays. Unedited, nothing is asked.
    void unsavedEdits_data()
    {
        QTest::addColumn<QString>("step"); // project, section, payments, link
        QTest::addColumn<QString>("answer"); // save, saveRefused, discard, cancel
        QTest::addColumn<bool>("proceeds");
        QTest::newRow("project, save") << "project"
                                       << "save" << true;
        QTest::newRow("project, refused save") << "project"
                                               << "saveRefused" << false;
        QTest::newRow("project, discard") << "project"
                                          << "discard" << true;
        QTest::newRow("project, cancel") << "project"
                                         << "cancel" << false;
        QTest::newRow("section, save") << "section"
                                       << "save" << true;
        QTest::newRow("section, cancel") << "section"
                                         << "cancel" << false;
        QTest::newRow("payments, discard") << "payments"
                                           << "discard" << true;
        QTest::newRow("link, cancel") << "link"
                                      << "cancel" << false;
        QTest::newRow("link, discard") << "link"
                                       << "discard" << true;
    }

    void unsavedEdits()
    {
        QFETCH(QString, step);
        QFETCH(QString, answer);
        QFETCH(bool, proceeds);
        const QList<Project> projects = AppTestEnvironment::addDeviceProjects(2);
        RootViewModel root;
        MainShellViewModel shell;
        shell.setGuest(true);
        QCoro::waitFor(shell.projectsService()->load(false));
        shell.setSelectedProjectId(projects[0].id);
        ProjectEditorViewModel editor(projects[0], shell.projectsService());
        UnsavedEditsGuard *guard = shell.unsavedEdits();
        guard->setEditor(&editor);
        root.setUnsavedEdits(guard);

        const auto run = [&] {
            if (step == QLatin1String("project"))
                shell.setSelectedProjectId(projects[1].id);
            else if (step == QLatin1String("section"))
                shell.setMainSection(QStringLiteral("settings"));
            else if (step == QLatin1String("payments"))
                shell.openPayments(projects[0].id);
            else
                root.openUrl(QStringLiteral("tessmark://verify-email?token=abc"));
        };
        const auto proceeded = [&] {
            if (step == QLatin1String("project"))
                return shell.selectedProjectId() == projects[1].id;
            if (step == QLatin1String("link"))
                return !root.deepLinkId().isEmpty();
            return shell.mainSection() != QLatin1String("projects");
        };

        // Nothing edited: the step runs at once.
        run();
        QVERIFY(proceeded());
        QVERIFY(!guard->isAsking());
        shell.setMainSection(QStringLiteral("projects"));
        shell.setSelectedProjectId(projects[0].id);
        root.closeDeepLink();

        editor.setName(answer == QLatin1String("saveRefused") ? QString() : QStringLiteral("Изменено"));
        editor.markDirty();
        QSignalSpy selection(&shell, &MainShellViewModel::selectedProjectIdChanged);
        run();
        QVERIFY(guard->isAsking());
        QVERIFY(!proceeded());
        if (step == QLatin1String("project")) {
            // The list, which already shows the other project, is told again which one is on screen.
            QTRY_COMPARE(selection.size(), 1);
            QCOMPARE(shell.selectedProjectId(), projects[0].id);
        }

        if (answer.startsWith(QLatin1String("save")))
            guard->save();
        else if (answer == QLatin1String("discard"))
            guard->discard();
        else
            guard->cancel();
        QVERIFY(!guard->isAsking());
        QTRY_COMPARE(proceeded(), proceeds);
        QTest::qWait(20);
        QCOMPARE(proceeded(), proceeds);
        QCOMPARE(storedName(projects[0].id) == QStringLiteral("Изменено"), answer == QLatin1String("save"));
        if (answer == QLatin1String("saveRefused"))
            QCOMPARE(editor.saveStateRaw(), QStringLiteral("error"));
        QCOMPARE(editor.isDirty(), answer != QLatin1String("save"));
    }

    // Closing the window: unedited it closes; edited it asks, and "Не сохранять" lets it close.
    // The approval lets one close through; a step asked for while the close is asked about keeps
    // the close; an editor that goes while the close is asked about has it asked anew.
    void closeAsks()
    {
        const QList<Project> projects = AppTestEnvironment::addDeviceProjects(1);
        MainShellViewModel shell;
        shell.setGuest(true);
        QCoro::waitFor(shell.projectsService()->load(false));
        ProjectEditorViewModel editor(projects[0], shell.projectsService());
        UnsavedEditsGuard *guard = shell.unsavedEdits();
        guard->setEditor(&editor);
        QVERIFY(guard->requestClose());

        editor.setClientName(QStringLiteral("Новый клиент"));
        editor.markDirty();
        QSignalSpy approved(guard, &UnsavedEditsGuard::closeApproved);
        QVERIFY(!guard->requestClose());
        QVERIFY(guard->isAsking());
        guard->cancel();
        QCOMPARE(approved.size(), 0);
        QVERIFY(!guard->requestClose());
        guard->discard();
        QCOMPARE(approved.size(), 1);
        // The window's second close goes through without a question, once.
        QVERIFY(guard->requestClose());
        QVERIFY(!guard->isAsking());
        QVERIFY(!guard->requestClose());
        QVERIFY(guard->isAsking());

        // Another step meanwhile (a link, a selection) shows the question again and waits.
        QSignalSpy shown(guard, &UnsavedEditsGuard::presentRequested);
        bool stepped = false;
        QVERIFY(!guard->request([&stepped] { stepped = true; }));
        QCOMPARE(shown.size(), 1);
        guard->discard();
        QVERIFY(!stepped);
        QCOMPARE(approved.size(), 2);
        QVERIFY(guard->requestClose());

        // The editor goes while the close is asked about: nothing is left to lose, the window goes.
        QVERIFY(!guard->requestClose());
        {
            ProjectEditorViewModel other(projects[0], shell.projectsService());
            guard->setEditor(&other);
            QVERIFY(!guard->isAsking());
        }
        QVERIFY(!guard->editor());
        QTRY_COMPARE(approved.size(), 3);
    }

    // A wait for other work (a move into the account) and a save's step, one after the other or
    // at once: neither undoes the other.
    void closeWaitsForWorkBesideASave()
    {
        const QList<Project> projects = AppTestEnvironment::addDeviceProjects(1);
        MainShellViewModel shell;
        shell.setGuest(true);
        QCoro::waitFor(shell.projectsService()->load(false));
        UnsavedEditsGuard guard;
        HeldWork work;
        guard.setCloseAwaits(&work, &HeldWork::running, &HeldWork::ended);
        QSignalSpy approved(&guard, &UnsavedEditsGuard::closeApproved);
        auto editor = std::make_unique<ProjectEditorViewModel>(projects[0], shell.projectsService());
        guard.setEditor(editor.get());

        // A wait for the work, ended: the window closes.
        work.runs = true;
        QVERIFY(!guard.requestClose());
        QVERIFY(guard.isWaitingToClose() && !guard.isWaitingForSave());
        work.end();
        QTRY_COMPARE(approved.size(), 1);
        QVERIFY(guard.requestClose());

        // Then a step saved first, its editor replaced while the save runs: the step is void.
        editor->setClientName(QStringLiteral("Новый клиент"));
        editor->markDirty();
        bool stepped = false;
        QVERIFY(!guard.request([&stepped] { stepped = true; }));
        QSignalSpy finished(editor.get(), &ProjectEditorViewModel::finished);
        guard.save();
        ProjectEditorViewModel other(projects[0], shell.projectsService());
        guard.setEditor(&other);
        QTRY_COMPARE(finished.size(), 1);
        QTest::qWait(50);
        QVERIFY(!stepped);

        // A close while the question about a step is up waits for the work; "Сохранить" on that
        // question keeps the wait, and the window closes once both ended.
        guard.setEditor(editor.get());
        editor->setClientName(QStringLiteral("Другой клиент"));
        editor->markDirty();
        QVERIFY(!guard.request([] {}));
        work.runs = true;
        QVERIFY(!guard.requestClose());
        QVERIFY(guard.isWaitingToClose());
        guard.save();
        QVERIFY(guard.isWaitingToClose() && !guard.isWaitingForSave());
        QTRY_COMPARE(finished.size(), 2);
        work.end();
        QTRY_COMPARE(approved.size(), 2);
    }

    // The row the analytics section hands over is made from the listed project.
    void analyticsSelection_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("subtitle"); // "-": none
        QTest::newRow("root with a client") << "local-root" << true << "Клиент";
        QTest::newRow("blank client: no subtitle") << "local-bare" << true << "-";
        QTest::newRow("not listed: no selection") << "local-gone" << false << "-";
    }

    void analyticsSelection()
    {
        QFETCH(QString, id);
        QFETCH(bool, listed);
        QFETCH(QString, subtitle);
        Project root = GuestProjectFactory::makeNew(QStringLiteral("Сайт"), QStringLiteral("Клиент"),
                                                    QStringLiteral("EUR"), ProjectStatus::InProgress, std::nullopt,
                                                    EstimateCatalogLoader::normalizeCategory);
        root.id = QStringLiteral("local-root");
        root.defaultRate = 50;
        root.items = {ProjectItem{}};
        root.items.first().title = QStringLiteral("Дизайн");
        root.items.first().category = QStringLiteral("design");
        root.items.first().hours = 3;
        Project bare = root;
        bare.id = QStringLiteral("local-bare");
        bare.clientName = QString();
        AppTestEnvironment::repository().upsert(root);
        AppTestEnvironment::repository().upsert(bare);

        MainShellViewModel shell;
        shell.setGuest(true);
        QCoro::waitFor(shell.projectsService()->load(false));
        AnalyticsProjectRow previous;
        previous.id = QStringLiteral("earlier");
        shell.setSelectedAnalyticsRow(previous);
        shell.selectAnalyticsProject(id);
        const AnalyticsProjectRow row = shell.selectedAnalyticsRow();
        QCOMPARE(row.isValid(), listed);
        if (!listed)
            return;
        QCOMPARE(row.id, id);
        QCOMPARE(row.name, QStringLiteral("Сайт"));
        QCOMPARE(row.subtitle, subtitle == QLatin1String("-") ? std::nullopt : std::optional<QString>(subtitle));
        QVERIFY(!row.isIteration);
        QCOMPARE(row.currency, QStringLiteral("EUR"));
        QCOMPARE(row.status, ProjectStatus::InProgress);
        // Planned figures are the project's totals; payments are not known here.
        QCOMPARE(row.plannedCost, root.recalculatedTotals().totalCost);
        QVERIFY(row.plannedCost > 0);
        QCOMPARE(row.plannedHours, root.recalculatedTotals().totalHours);
        QCOMPARE(row.doneCost, 0.0);
        QCOMPARE(row.paidCost, 0.0);
    }
};

QTEST_MAIN(TestMainShellViewModel)
#include "tst_MainShellViewModel.moc"
