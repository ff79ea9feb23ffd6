// Renders the window as a person sees it, under a real X server, and writes PNGs to look at:
// welcome, the guest window in each section, the account window, the tour, light and dark.
#include "AccountTestBackend.h"
#include "../Export/ExportSamples.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Export/ExportPDFViewModel.h"
#include "Features/Onboarding/GuidedOnboarding.h"

#include <QDir>
#include <QQmlApplicationEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSemaphore>
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

    void exportSheet_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("state");
        for (const char *scheme : {"light", "dark"}) {
            for (const char *state : {"generating", "ready", "failed"})
                QTest::addRow("%s %s", scheme, state) << QString::fromLatin1(scheme) << QString::fromLatin1(state);
        }
    }

    // The export sheet over a window of its own, with a proposal of five lines.
    void exportSheet()
    {
        QFETCH(QString, scheme);
        QFETCH(QString, state);
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_engine->rootContext()->setContextProperty(QStringLiteral("scheme"), scheme);
        m_engine->rootContext()->setContextProperty(QStringLiteral("proposal"), QVariant::fromValue(sampleProposal(5)));
        m_engine->loadData(R"(
            import QtQuick
            import Tessmark.Design
            import Tessmark.Features.Export
            Window {
                width: 720; height: 620; visible: true; color: AppTheme.background
                Component.onCompleted: AppTheme.preference = scheme
                ExportPDFSheet { objectName: "exportSheet"; input: proposal }
            })");
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        auto *sheet = m_window->findChild<QQuickItem *>(QStringLiteral("exportSheet"));
        QVERIFY(sheet);
        auto *model = sheet->property("viewModel").value<ExportPDFViewModel *>();
        QVERIFY(model);
        // Held until the shot is taken, so that the progress is what the sheet shows.
        auto hold = std::make_shared<QSemaphore>();
        if (state != QLatin1String("ready")) {
            const bool generating = state == QLatin1String("generating");
            model->setGenerator([hold, generating](const CommercialProposalInput &) -> std::optional<QString> {
                if (generating)
                    hold->acquire();
                return std::nullopt;
            });
        }
        QMetaObject::invokeMethod(sheet, "open");
        if (state == QLatin1String("ready"))
            QTRY_VERIFY_WITH_TIMEOUT(!model->pdfUrl().isEmpty(), 30000);
        else if (state == QLatin1String("failed"))
            QTRY_VERIFY(!model->errorMessage().isEmpty());
        else
            QVERIFY(model->isGenerating());
        shoot(QStringLiteral("export-sheet-%1-%2").arg(state, scheme));
        hold->release();
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
