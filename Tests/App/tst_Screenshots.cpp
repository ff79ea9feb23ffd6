// Renders the window as a person sees it, under a real X server, and writes PNGs to look at:
// welcome, the guest window in each section, the account window, the tour, light and dark.
#include "AccountTestBackend.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "AppTestEnvironment.h"
#include "Features/Editor/ProjectEditorScreenModel.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "SampleEstimates.h"

#include <QDir>
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
    // The editor of projects with 0, 5 and 60 lines in each group mode, as a guest and signed in;
    // then its save states (a three-line error among them), the open actions menu and the form.
    void editorScreens_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<bool>("guest");
        for (const char *scheme : {"light", "dark"}) {
            QTest::addRow("%s guest", scheme) << QString::fromLatin1(scheme) << true;
            QTest::addRow("%s account", scheme) << QString::fromLatin1(scheme) << false;
        }
    }
    void editorScreens()
    {
        QFETCH(QString, scheme);
        QFETCH(bool, guest);
        const QString session = guest ? QStringLiteral("guest") : QStringLiteral("account");
        QMap<int, QString> ids;
        for (int lines : {0, 5, 60}) {
            const QString id = QStringLiteral("editor-%1").arg(lines);
            if (guest) {
                m_env.repository().upsert(SampleEstimates::project(lines, QStringLiteral("one_time"), id));
                ids.insert(lines, id);
            } else {
                BackendData &data = m_account.backend.data();
                QJsonObject fields = SampleEstimates::project(lines, QStringLiteral("iterative")).toJson();
                fields.remove(QStringLiteral("id"));
                ids.insert(lines,
                           data.addProject(data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id, fields)
                               .value(QStringLiteral("id"))
                               .toString());
            }
        }
        open(scheme, true, guest);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        if (!guest) {
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            if (vm->migration()->shown()) {
                vm->migration()->skip();
                vm->migration()->close();
            }
        }
        const auto editorOf = [this](const QString &id) -> ProjectEditorScreenModel * {
            auto *view = m_window->findChild<QQuickItem *>(QStringLiteral("projectEditor"));
            if (!view)
                return nullptr;
            auto *screen = view->property("screen").value<ProjectEditorScreenModel *>();
            return screen && screen->editor()->projectId() == id ? screen : nullptr;
        };
        ProjectEditorScreenModel *screen = nullptr;
        for (int lines : {0, 5, 60}) {
            vm->setSelectedProjectId(ids.value(lines));
            QTRY_VERIFY((screen = editorOf(ids.value(lines))) != nullptr);
            QTRY_VERIFY(!screen->analyticsLoading() && !screen->iterationsLoading());
            const QStringList modes = lines == 0
                ? QStringList{QStringLiteral("category")}
                : QStringList{QStringLiteral("category"), QStringLiteral("costDesc"), QStringLiteral("hoursDesc")};
            shoot(QStringLiteral("editor-%1-%2-top-%3").arg(session).arg(lines).arg(scheme));
            if (lines == 0) {
                auto *list = m_window->findChild<QQuickItem *>(QStringLiteral("editorLines"));
                QVERIFY(list);
                // An empty list has no end to position at: scrolled by hand to the empty state.
                list->setProperty("contentY",
                                  list->property("originY").toReal() + list->property("contentHeight").toReal()
                                      - list->height());
                shoot(QStringLiteral("editor-%1-0-empty-%2").arg(session, scheme));
                continue;
            }
            for (const QString &mode : modes) {
                screen->editor()->setGroupModeRaw(mode);
                // Scrolled to the first line, as a user who looks at the lines.
                QTest::qWait(50);
                auto *list = m_window->findChild<QQuickItem *>(QStringLiteral("editorLines"));
                QVERIFY(list);
                QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, 0), Q_ARG(int, 0));
                shoot(QStringLiteral("editor-%1-%2-%3-%4").arg(session).arg(lines).arg(mode, scheme));
            }
        }

        // Save states, on the five-line project.
        vm->setSelectedProjectId(ids.value(5));
        QTRY_VERIFY((screen = editorOf(ids.value(5))) != nullptr);
        ProjectEditorViewModel *editor = screen->editor();
        editor->setName(editor->name() + QStringLiteral(" (черновик)"));
        shoot(QStringLiteral("editor-%1-status-dirty-%2").arg(session, scheme));
        if (!guest) {
            const QString patch = QStringLiteral("projects/") + ids.value(5);
            m_account.backend.setOverride(
                QStringLiteral("PATCH"), patch,
                BackendReply::message(422,
                                      QStringLiteral("Проект изменён на другом устройстве.\nОбновите список проектов "
                                                     "и повторите сохранение.\nИзменения не потеряны.")));
            editor->save();
            QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("error"));
            shoot(QStringLiteral("editor-account-status-error-") + scheme);
            m_account.backend.setOverride(QStringLiteral("PATCH"), patch,
                                          BackendReply::message(500, QStringLiteral("x")).after(3000));
            editor->save();
            QCOMPARE(editor->saveStateRaw(), QStringLiteral("saving"));
            shoot(QStringLiteral("editor-account-status-saving-") + scheme);
            m_account.backend.clearOverrides();
            QTRY_VERIFY_WITH_TIMEOUT(editor->saveStateRaw() != QStringLiteral("saving"), 10000);
        }
        editor->save();
        QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("saved"));
        shoot(QStringLiteral("editor-%1-status-saved-%2").arg(session, scheme));

        // The actions menu, opened as a user does.
        auto *menuButton = m_window->findChild<QQuickItem *>(QStringLiteral("actionsMenuButton"));
        QVERIFY(menuButton);
        QTest::mouseClick(m_window, Qt::LeftButton, {},
                          menuButton->mapToScene(QPointF(menuButton->width() / 2, menuButton->height() / 2)).toPoint());
        shoot(QStringLiteral("editor-%1-menu-%2").arg(session, scheme));
        QTest::keyClick(m_window, Qt::Key_Escape);

        // The form on the first line.
        screen->editLine(editor->items().first().id.toString(QUuid::WithoutBraces));
        shoot(QStringLiteral("editor-%1-form-%2").arg(session, scheme));
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_Screenshots.moc"
