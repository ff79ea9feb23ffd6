// Renders the window as a person sees it, under a real X server, and writes PNGs to look at:
// welcome, the guest window in each section, the account window, the tour, light and dark.
#include "AccountTestBackend.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Auth/LocalDataMigrationSheetModel.h"
#include "Features/Onboarding/GuidedOnboarding.h"

#include <QDir>
#include <QQmlApplicationEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQmlContext>
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

    // The settings screen alone in a window of the given width, so that its column cap and
    // margins show; for a guest and for an account.
    void settingsScreen_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<bool>("guest");
        QTest::addColumn<int>("width");
        for (const char *scheme : {"light", "dark"}) {
            for (const bool guest : {true, false}) {
                for (const int width : {520, 900})
                    QTest::addRow("%s %s %d", guest ? "guest" : "account", scheme, width)
                        << QString::fromLatin1(scheme) << guest << width;
            }
        }
    }
    void settingsScreen()
    {
        QFETCH(QString, scheme);
        QFETCH(bool, guest);
        QFETCH(int, width);
        AuthService auth(*m_account.api, m_account.tokens);
        if (!guest)
            AccountTestBackend::signIn(auth);
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath(QStringLiteral("qrc:/"));
        m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_engine->setInitialProperties({{QStringLiteral("auth"), QVariant::fromValue(&auth)},
                                        {QStringLiteral("isGuest"), guest},
                                        {QStringLiteral("scheme"), scheme},
                                        {QStringLiteral("width"), width}});
        m_engine->loadData(QByteArrayLiteral(R"(
            import QtQuick
            import QtQuick.Window
            import Tessmark.Design
            import Tessmark.Services
            import Tessmark.Features.Settings
            Window {
                id: window
                required property AuthService auth
                required property bool isGuest
                required property string scheme
                height: 1000
                visible: true
                color: AppTheme.background
                Binding { target: AppTheme; property: "preference"; value: window.scheme }
                AdaptiveMetricsReader {
                    anchors.fill: parent
                    SettingsView { anchors.fill: parent; auth: window.auth; isGuest: window.isGuest }
                }
            })"));
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        shoot(QStringLiteral("settings-%1-%2-%3").arg(guest ? "guest" : "account", scheme).arg(width));
        m_engine.reset();
        m_window = nullptr;
    }

    // The tour lighting each settings card in the guest window.
    void settingsTour_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("step");
        for (const auto &[scheme, step] : {std::pair{"light", 6}, {"light", 7}, {"light", 8}, {"dark", 8}})
            QTest::addRow("step %d %s", step, scheme) << QString::fromLatin1(scheme) << step;
    }
    void settingsTour() { tour(); }

    // The offer to move device projects: idle, while a run waits on the backend, after a failure.
    void migrationSheet_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("state");
        QTest::newRow("idle light") << "light"
                                    << "idle";
        QTest::newRow("idle dark") << "dark"
                                   << "idle";
        QTest::newRow("running light") << "light"
                                       << "running";
        QTest::newRow("error light") << "light"
                                     << "error";
        QTest::newRow("error dark") << "dark"
                                    << "error";
    }
    void migrationSheet()
    {
        QFETCH(QString, scheme);
        QFETCH(QString, state);
        m_env.addDeviceProjects(2, QStringLiteral("Черновик"));
        open(scheme, true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QTRY_VERIFY(vm->migration()->shown());
        auto *sheet = m_window->findChild<QQuickItem *>(QStringLiteral("localDataMigrationSheet"));
        QVERIFY(sheet);
        auto *model = sheet->property("model").value<LocalDataMigrationSheetModel *>();
        QVERIFY(model);
        const QString post = QStringLiteral("POST");
        const QString projects = QStringLiteral("projects");
        if (state == QLatin1String("running")) {
            m_account.backend.setOverride(post, projects,
                                          BackendReply::message(500, QStringLiteral("Сервер занят")).after(3000));
            model->apply();
            QVERIFY(model->isRunning());
        } else if (state == QLatin1String("error")) {
            m_account.backend.setOverride(post, projects, BackendReply::message(500, QStringLiteral("Сервер занят")));
            model->apply();
            QTRY_VERIFY(!model->errorText().isEmpty());
        }
        shoot(QStringLiteral("migration-%1-%2").arg(state, scheme));
        if (state == QLatin1String("running"))
            QTRY_VERIFY_WITH_TIMEOUT(!model->isRunning(), 10000);
        m_account.backend.clearOverrides();
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
