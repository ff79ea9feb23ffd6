// Renders the window as a person sees it, under a real X server, and writes PNGs to look at:
// welcome, the guest window in each section, the account window, the tour, light and dark.
#include "AccountTestBackend.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Onboarding/GuidedOnboarding.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlApplicationEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include "App/AppQmlPlugins.h"

class TestScreenshots : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;
    AccountTestBackend m_account;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow *m_window = nullptr;

    // Sets the appearance, the tour as finished or not and the guest flag, then opens the window.
    void open(const QString &scheme, bool tourFinished, bool guest)
    {
        Preferences::shared().setValue(QStringLiteral("app.colorSchemePreference"), scheme);
        if (tourFinished)
            Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        if (guest)
            Preferences::shared().setValue(QStringLiteral("guest_mode_active"), true);
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath(QStringLiteral("qrc:/"));
        m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_engine->load(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/App/Main.qml")));
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    QQuickItem *rootView() const { return m_window->findChild<QQuickItem *>(QStringLiteral("rootView")); }
    RootViewModel *root() const { return rootView()->property("viewModel").value<RootViewModel *>(); }

    MainShellViewModel *shell() const
    {
        auto *screen = rootView()->property("currentScreen").value<QQuickItem *>();
        return screen ? screen->property("viewModel").value<MainShellViewModel *>() : nullptr;
    }

    void shoot(const QString &name)
    {
        QTest::qWait(400); // animations and loads settle
        const QImage image = m_window->grabWindow();
        QVERIFY(!image.isNull());
        QDir().mkpath(QStringLiteral(TESSMARK_SCREENSHOT_DIR));
        const QString path = QStringLiteral(TESSMARK_SCREENSHOT_DIR "/%1.png").arg(name);
        QVERIFY(image.save(path));
        qInfo("wrote %s", qPrintable(path));
    }

    // List delegates are visual children only, out of reach of findChild.
    static QQuickItem *visualChild(QQuickItem *item, const QString &name)
    {
        if (item->objectName() == name)
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = visualChild(child, name))
                return found;
        }
        return nullptr;
    }

    MainShellViewModel *signedInShell()
    {
        AccountTestBackend::signIn(*root()->auth());
        MainShellViewModel *vm = nullptr;
        [&] { QTRY_VERIFY((vm = shell()) != nullptr && root()->screen() == RootViewModel::AccountShell); }();
        return vm;
    }

    static void schemes()
    {
        QTest::addColumn<QString>("scheme");
        QTest::newRow("light") << "light";
        QTest::newRow("dark") << "dark";
    }

private Q_SLOTS:
    // The account window talks to the test backend.
    void initTestCase() { QVERIFY(m_account.start()); }

    void init()
    {
        m_env.reset();
        m_account.tokens.remove();
    }
    void cleanup()
    {
        m_engine.reset();
        m_window = nullptr;
        QTest::qWait(50);
    }

    void welcome_data() { schemes(); }
    void welcome()
    {
        QFETCH(QString, scheme);
        open(scheme, false, false);
        QCOMPARE(root()->screen(), RootViewModel::Welcome);
        shoot(QStringLiteral("welcome-") + scheme);
    }

    void guestSections_data() { schemes(); }
    void guestSections()
    {
        QFETCH(QString, scheme);
        const QList<Project> projects = m_env.addDeviceProjects(6, QStringLiteral("Лендинг студии"));
        open(scheme, true, true);
        QCOMPARE(root()->screen(), RootViewModel::GuestShell);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        vm->setSelectedProjectId(projects.first().id);
        for (const QString &section : QStringList{"projects", "payments", "analytics", "settings"}) {
            vm->setMainSection(section);
            shoot(QStringLiteral("guest-%1-%2").arg(section, scheme));
        }
    }

    void account_data() { schemes(); }
    void account()
    {
        QFETCH(QString, scheme);
        const bool offer = scheme == QLatin1String("light"); // with device projects to offer
        if (offer)
            m_env.addDeviceProjects(2, QStringLiteral("Черновик"));
        open(scheme, true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        if (offer) {
            QTRY_VERIFY(vm->migration()->shown());
            shoot(QStringLiteral("account-migration-offer-light"));
            vm->migration()->skip();
            vm->migration()->close();
        }
        QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
        const QString first = vm->projectsService()->projects().first().id;
        vm->setSelectedProjectId(first);
        shoot(QStringLiteral("account-projects-") + scheme);
        vm->openPayments(first);
        shoot(QStringLiteral("account-payments-") + scheme);
        vm->setMainSection(QStringLiteral("analytics"));
        shoot(QStringLiteral("account-analytics-") + scheme);
    }

    // The projects list in each of its states, signed in (tree) and as a guest (cards).
    void projectsList_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("state");
        for (const char *scheme : {"light", "dark"}) {
            for (const char *state : {"tree", "menu", "guest-600", "guest-1200", "empty", "error", "loading",
                                      "noResults", "dialog-root", "dialog-iteration", "dialog-guest", "create"})
                QTest::addRow("%s %s", state, scheme) << QString::fromLatin1(scheme) << QString::fromLatin1(state);
        }
    }
    void projectsList()
    {
        QFETCH(QString, scheme);
        QFETCH(QString, state);
        const bool guest = state.startsWith(QLatin1String("guest")) || state == QLatin1String("empty")
            || state == QLatin1String("noResults") || state == QLatin1String("dialog-guest")
            || state == QLatin1String("create");
        TestBackend &backend = m_account.backend;
        const qsizetype seeded = backend.data().projects.size();
        const QString owner = backend.data().projects.first().value(QStringLiteral("userId")).toString();
        const QString shop = backend.data().projects.first().value(QStringLiteral("id")).toString();
        QString iteration;
        if (guest && state != QLatin1String("empty")) {
            m_env.addDeviceProjects(2, QStringLiteral("Лендинг студии"));
            m_env.addDeviceProjects(2, QStringLiteral("Интернет-магазин керамики с доставкой по всей стране"));
        } else if (state == QLatin1String("error")) {
            backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                                BackendReply::message(500, QStringLiteral("Сервер недоступен, попробуйте позже")));
        } else if (state == QLatin1String("loading")) {
            backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                                BackendReply::json(200, QJsonArray()).after(4000));
        } else if (!guest) {
            // With the seeded one: three roots and five iterations.
            const QString landing = backend.data().projects.at(2).value(QStringLiteral("id")).toString();
            for (int version = 3; version <= 4; ++version)
                backend.data().addProject(owner,
                                          QJsonObject{{"name", "Интернет-магазин керамики"},
                                                      {"parentProjectId", shop},
                                                      {"version", version},
                                                      {"status", "in_progress"}});
            for (int version = 1; version <= 2; ++version)
                iteration = backend.data()
                                .addProject(owner,
                                            QJsonObject{{"name", "Лендинг конференции"},
                                                        {"parentProjectId", landing},
                                                        {"iterationName", version == 1 ? "Прототип" : "Релиз"},
                                                        {"version", version},
                                                        {"status", "completed"}})
                                .value(QStringLiteral("id"))
                                .toString();
        }
        open(scheme, true, guest);
        if (state == QLatin1String("guest-600"))
            m_window->resize(600, 640);
        if (state == QLatin1String("guest-1200"))
            m_window->resize(1200, 760);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        if (vm->migration()->shown()) {
            vm->migration()->skip();
            vm->migration()->close();
        }
        QQuickItem *list = nullptr;
        QTRY_VERIFY((list = m_window->findChild<QQuickItem *>(QStringLiteral("projectsList"))) != nullptr);
        QObject *listModel = list->property("viewModel").value<QObject *>();
        QVERIFY(listModel);
        if (state == QLatin1String("tree") || state == QLatin1String("menu")) {
            QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("tree"));
            QTRY_VERIFY(vm->projectsService()->projects().size() >= 8);
            vm->setSelectedProjectId(iteration);
            QMetaObject::invokeMethod(listModel, "hoverEntered", Q_ARG(QString, shop));
            QQuickItem *row = nullptr;
            QTRY_VERIFY((row = visualChild(list, QStringLiteral("projectRow-") + iteration)) != nullptr);
            if (state == QLatin1String("menu"))
                QMetaObject::invokeMethod(list, "openMenu", Q_ARG(QVariant, QVariant::fromValue(row)),
                                          Q_ARG(QVariant, iteration), Q_ARG(QVariant, true),
                                          Q_ARG(QVariant, QStringLiteral("Удалить итерацию")), Q_ARG(QVariant, 120.0),
                                          Q_ARG(QVariant, 30.0));
        } else if (state == QLatin1String("noResults")) {
            QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("cards"));
            QQuickItem *input = m_window->findChild<QQuickItem *>(QStringLiteral("projectsSearchInput"));
            QVERIFY(input);
            input->setProperty("text", QStringLiteral("Бухгалтерия"));
        } else if (state.startsWith(QLatin1String("dialog"))) {
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            QString target = vm->projectsService()->projects().first().id;
            for (const Project &project : vm->projectsService()->projects()) {
                if (state == QLatin1String("dialog-iteration") ? project.isIteration() : project.id == shop)
                    target = project.id;
            }
            QMetaObject::invokeMethod(listModel, "requestDelete", Q_ARG(QString, target));
        } else if (state == QLatin1String("create")) {
            list->setProperty("showCreateSheet", true);
        } else if (state == QLatin1String("error")) {
            QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("error"));
        } else if (state == QLatin1String("empty")) {
            QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("empty"));
        } else if (state.startsWith(QLatin1String("guest"))) {
            QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("cards"));
            vm->setSelectedProjectId(vm->projectsService()->projects().at(1).id);
        }
        shoot(QStringLiteral("projects-%1-%2").arg(state, scheme));
        backend.clearOverrides();
        while (backend.data().projects.size() > seeded)
            backend.data().projects.removeLast();
    }

    void tour_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("step");
        for (const auto &[scheme, step] : {std::pair{"light", 0}, {"light", 4}, {"light", 9}, {"dark", 0}, {"dark", 4}})
            QTest::addRow("step %d %s", step, scheme) << QString::fromLatin1(scheme) << step;
    }

    void tour()
    {
        QFETCH(QString, scheme);
        QFETCH(int, step);
        m_env.addDeviceProjects(3, QStringLiteral("Мобильное приложение"));
        open(scheme, false, true);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        QTRY_VERIFY(vm->tour()->hasDemoProject());
        vm->tour()->setStep(step);
        QTRY_VERIFY(vm->tour()->hasHighlightRect());
        shoot(QStringLiteral("tour-step%1-%2").arg(step).arg(scheme));
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_Screenshots.moc"
