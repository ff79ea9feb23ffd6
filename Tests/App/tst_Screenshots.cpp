// Renders the window as a person sees it, under a real X server, and writes PNGs to look at:
// welcome, the account screens, the guest window in each section, the account window, the
// tour, light and dark.
#include "AccessibilityAudit.h"
#include "AccountTestBackend.h"
#include "App/AppStart.h"
#include "App/EndSignals.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "../Data/StoreProbe.h"
#include "../Export/ExportSamples.h"
#include "AppTestEnvironment.h"
#include "StoreWriteLock.h"
#include "FocusCheck.h"
#include "FocusWatch.h"
#include "LayoutCheck.h"
#include "Features/Analytics/AnalyticsDashboardModel.h"
#include "Features/Auth/ForgotPasswordModel.h"
#include "Features/Auth/LocalDataMigrationSheetModel.h"
#include "Features/Auth/LoginFormModel.h"
#include "Features/Auth/ResetPasswordModel.h"
#include "Features/Editor/AIGenerateSheetModel.h"
#include "Features/Editor/CreateIterationModel.h"
#include "Features/Editor/EstimateSectionsModel.h"
#include "Features/Editor/ProjectEditorScreenModel.h"
#include "Features/Editor/ProjectEditorViewModel.h"
#include "Features/Editor/ProjectIterationsModel.h"
#include "Export/CommercialProposalPDF.h"
#include "Features/Export/ExportPDFViewModel.h"
#include "Features/Export/LateSaveAnswers.h"
#include "Features/Finance/PaymentRowsModel.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Features/Onboarding/MainOnboardingController.h"
#include "Features/Projects/CreateProjectViewModel.h"
#include "Features/Projects/ProjectCardsModel.h"
#include "Features/Projects/ProjectTreeModel.h"
#include "Features/Projects/ProjectsListViewModel.h"
#include "Models/EstimateAnalytics.h"
#include "KeyboardFocusInView.h"
#include "QuickItemAccessible.h"
#include "QuickItemTree.h"
#include "SampleEstimates.h"
#include "Utils/Text.h"

#include <functional>
#include <tuple>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQmlEngineExtensionPlugin>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QScreen>
#include <QCursor>
#include <QDeadlineTimer>
#include <QTest>
#include <QThreadPool>
#include <qpa/qwindowsysteminterface.h>
#include <QtQuickTest/quicktest.h>
#include <algorithm>
#include <atomic>
#include <csignal>

#include "App/AppQmlPlugins.h"

class TestScreenshots : public QObject
{
    Q_OBJECT

    FocusWatch m_focusWatch;
    AppTestEnvironment m_env;
    AccountTestBackend m_account;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow *m_window = nullptr;
    std::unique_ptr<ProjectsService> m_sheetService;
    QPointer<QQuickItem> m_sheet;
    // Run as tst_Layout: every shot is checked at the smallest, the default and a large window
    // size instead of written once; what the check finds fails the test function.
    const bool m_layoutCheck = qEnvironmentVariableIsSet("TESSMARK_LAYOUT_CHECK");
    QMap<QString, QStringList> m_layoutFaults; // fault -> where seen

    static constexpr QSize minimumWindowSize{900, 600};
    // Text fields stay readable in a wide window: no wider than the column of the scrolling screens.
    static constexpr QSize wideWindowSize{1920, 1080};
    static constexpr qreal fieldWidthCap = 640;

    // The window at each checked size, written to layout/ to look at, its faults gathered;
    // `placed` brings what the shot is of into view again at each size.
    void checkLayout(QQuickWindow *window, const QString &name, const std::function<void()> &placed = {})
    {
        const QSize original = window->size();
        for (const QSize size : {minimumWindowSize, QSize(960, 640), QSize(1600, 1000)}) {
            window->resize(size);
            QTest::qWait(150); // layouts and loads follow the new size
            if (placed) {
                placed();
                QTest::qWait(50);
            }
            const QString where = QStringLiteral("%1-%2x%3").arg(name).arg(size.width()).arg(size.height());
            QStringList faults = LayoutCheck::faults(window);
            // A busy machine may still be laying out: what counts is what stays.
            if (!faults.isEmpty()) {
                QTest::qWait(600);
                faults = LayoutCheck::faults(window);
            }
            for (const QString &fault : faults)
                m_layoutFaults[fault].append(where);
            // The shot to look at where something was found, or every one on request.
            if (!faults.isEmpty() || qEnvironmentVariableIsSet("TESSMARK_LAYOUT_SHOTS")) {
                QDir().mkpath(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/layout"));
                window->grabWindow().save(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/layout/%1.png").arg(where));
            }
        }
        // A wide window: the layout alone is measured (the screen may be smaller than the window).
        window->resize(wideWindowSize);
        QTest::qWait(150);
        const QString where =
            QStringLiteral("%1-%2x%3").arg(name).arg(wideWindowSize.width()).arg(wideWindowSize.height());
        QStringList wide = LayoutCheck::wideFields(window, fieldWidthCap);
        if (!wide.isEmpty()) {
            QTest::qWait(600);
            wide = LayoutCheck::wideFields(window, fieldWidthCap);
        }
        for (const QString &fault : wide)
            m_layoutFaults[fault].append(where);
        if (qEnvironmentVariableIsSet("TESSMARK_LAYOUT_SHOTS"))
            window->grabWindow().save(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/layout/%1.png").arg(where));
        window->resize(original);
        QTest::qWait(50);
    }

    // Run as tst_Accessibility: each shot reads the window's accessibility tree instead.
    const bool m_audit = qEnvironmentVariableIsSet("TESSMARK_ACCESSIBILITY_AUDIT");

    // Fails, naming the items, when the windows shown tell a screen reader too little.
    static void audit(const QString &name)
    {
        if (qEnvironmentVariableIsSet("TESSMARK_ACCESSIBILITY_DUMP")) {
            qInfo() << "==== " << name;
            for (QWindow *w : QGuiApplication::topLevelWindows())
                if (w->isVisible())
                    AccessibilityAudit::dump(QAccessible::queryAccessibleInterface(w));
        }
        const QStringList found = AccessibilityAudit::problems();
        // The failure's message is cut short: the log has them all.
        for (const QString &problem : found)
            qInfo().noquote() << problem;
        QVERIFY2(found.isEmpty(), qPrintable(name + QStringLiteral(":\n  ") + found.join(QStringLiteral("\n  "))));
    }

    // Sets the appearance, the tour as finished or not and the guest flag, then opens the window.
    void open(const QString &scheme, bool tourFinished, bool guest)
    {
        Preferences::shared().setValue(QStringLiteral("app.colorSchemePreference"), scheme);
        if (tourFinished)
            Preferences::shared().setValue(GuidedOnboarding::completedVersionKey, 2);
        if (guest)
            Preferences::shared().setValue(QStringLiteral("guest_mode_active"), true);
        m_engine = std::make_unique<QQmlApplicationEngine>();
        AppStart::prepareEngine(*m_engine);
        m_engine->load(AppStart::window());
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
        QVERIFY(m_window);
        QCOMPARE(m_window->minimumSize(), minimumWindowSize);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    // The narrow shots show the compact layouts, below the window's smallest size.
    void resizeBelowMinimum(QSize size)
    {
        m_window->setMinimumSize(QSize(1, 1));
        m_window->resize(size);
    }

    QQuickItem *rootView() const { return m_window->findChild<QQuickItem *>(QStringLiteral("rootView")); }
    RootViewModel *root() const { return rootView()->property("viewModel").value<RootViewModel *>(); }

    MainShellViewModel *shell() const
    {
        auto *screen = rootView()->property("currentScreen").value<QQuickItem *>();
        return screen ? screen->property("viewModel").value<MainShellViewModel *>() : nullptr;
    }

    void shoot(const QString &name, const std::function<void()> &placed = {})
    {
        // The check waits at each of its sizes.
        if (m_layoutCheck) {
            QTest::qWait(100);
            checkLayout(m_window, name, placed);
            return;
        }
        QTest::qWait(400); // animations and loads settle
        if (m_audit)
            return audit(name);
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

    // The offer to move device projects into the account, declined when it is made.
    static void declineMigration(MainShellViewModel *vm)
    {
        if (vm->migration()->shown()) {
            vm->migration()->skip();
            vm->migration()->close();
        }
    }

    // The payments of a project, once its figures are in; null (and the test failed) otherwise.
    QObject *openPayments(MainShellViewModel *vm, const QString &projectId)
    {
        vm->openPayments(projectId);
        QObject *finance = nullptr;
        bool loaded = false;
        [&] {
            QTRY_VERIFY((finance = modelOf<QObject>(QStringLiteral("projectFinanceView"), "finance")) != nullptr);
            QTRY_VERIFY(!finance->property("isLoading").toBool());
            loaded = true;
        }();
        return loaded ? finance : nullptr;
    }
    // The project in the editor, once the editor shows it; null (and the test failed) otherwise.
    ProjectEditorScreenModel *openEditor(MainShellViewModel *vm, const QString &projectId)
    {
        vm->setSelectedProjectId(projectId);
        ProjectEditorScreenModel *screen = nullptr;
        bool shown = false;
        [&] {
            QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen"))
                        != nullptr);
            QTRY_COMPARE(screen->editor()->projectId(), projectId);
            shown = true;
        }();
        return shown ? screen : nullptr;
    }
    // The analytics section, once its figures are in; null (and the test failed) otherwise.
    AnalyticsDashboardModel *openAnalytics(MainShellViewModel *vm)
    {
        vm->setMainSection(QStringLiteral("analytics"));
        AnalyticsDashboardModel *model = nullptr;
        bool loaded = false;
        [&] {
            QQuickItem *dashboard = nullptr;
            QTRY_VERIFY((dashboard = item(QStringLiteral("analyticsDashboard"))) != nullptr);
            model = dashboard->property("model").value<AnalyticsDashboardModel *>();
            QVERIFY(model);
            QTRY_VERIFY(!model->isLoading());
            loaded = true;
        }();
        return loaded ? model : nullptr;
    }

    template<typename T>
    T *find(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qWarning("no %s", qPrintable(name));
        return found;
    }
    template<typename T>
    T *modelOf(const QString &viewName, const char *property) const
    {
        QQuickItem *view = nullptr;
        [&] { QTRY_VERIFY((view = find<QQuickItem>(viewName)) != nullptr); }();
        return view ? view->property(property).value<T *>() : nullptr;
    }
    // Every account call waits this long, so the busy look can be shot.
    void slowDown(const QString &path)
    {
        m_account.backend.setOverride(QStringLiteral("POST"), path,
                                      BackendReply::message(500, QStringLiteral("Ошибка сервера (500)")).after(1500));
    }
    void settle()
    {
        AuthService *auth = root()->auth();
        QTRY_VERIFY_WITH_TIMEOUT(!auth->isLoading(), 5000);
    }

    // One account screen in one state: the sign-in sheet or a link's sheet over the welcome screen.
    void showAccountScreen(const QString &screen, const QString &state)
    {
        AuthService *auth = root()->auth();
        if (screen == QLatin1String("welcome")) {
            if (state == QLatin1String("busy")) {
                slowDown(QStringLiteral("auth/forgot-password"));
                auth->forgotPassword(QStringLiteral("a@b.c"));
            }
            return;
        }
        if (screen == QLatin1String("reset") || screen == QLatin1String("verify")) {
            const bool verify = screen == QLatin1String("verify");
            if (state == QLatin1String("busy"))
                slowDown(verify ? QStringLiteral("auth/verify-email") : QStringLiteral("auth/reset-password"));
            // A verification succeeds with the token the backend mailed, and is refused otherwise.
            const QString token =
                verify && state == QLatin1String("success") ? QStringLiteral("mailed") : QStringLiteral("bogus");
            m_account.backend.data().verificationTokens.insert(QStringLiteral("mailed"), QString());
            root()->openUrl(verify ? QStringLiteral("tessmark://verify-email?token=") + token
                                   : QStringLiteral("tessmark://reset-password?token=abc"));
            root()->setShowLoginSheet(false);
            if (verify) {
                if (state != QLatin1String("busy"))
                    settle();
                return;
            }
            auto *model = modelOf<ResetPasswordModel>(QStringLiteral("resetPasswordView"), "model");
            QVERIFY(model);
            model->setPassword(QStringLiteral("secret-12"));
            model->setConfirm(state == QLatin1String("error") ? QStringLiteral("secret-13")
                                                              : QStringLiteral("secret-12"));
            if (state == QLatin1String("success"))
                m_account.backend.setOverride(
                    QStringLiteral("POST"), QStringLiteral("auth/reset-password"),
                    BackendReply::message(200, QStringLiteral("Пароль изменён. Войдите с новым паролем.")));
            if (state != QLatin1String("idle"))
                model->save();
            if (state == QLatin1String("success"))
                settle();
            return;
        }
        root()->setShowLoginSheet(true);
        auto *form = modelOf<LoginFormModel>(QStringLiteral("loginView"), "form");
        QVERIFY(form);
        if (screen == QLatin1String("forgot")) {
            auto *sheet = find<QQuickItem>(QStringLiteral("forgotPasswordSheet"));
            QVERIFY(sheet && QMetaObject::invokeMethod(sheet, "open"));
            auto *model = modelOf<ForgotPasswordModel>(QStringLiteral("forgotPasswordView"), "model");
            QVERIFY(model);
            model->setEmail(QStringLiteral("anna@example.test"));
            if (state == QLatin1String("busy"))
                slowDown(QStringLiteral("auth/forgot-password"));
            else if (state == QLatin1String("error"))
                m_account.backend.setOverride(QStringLiteral("POST"), QStringLiteral("auth/forgot-password"),
                                              BackendReply::message(429, QStringLiteral("Слишком много запросов")));
            if (state != QLatin1String("idle"))
                model->send();
            if (state != QLatin1String("busy"))
                settle();
            return;
        }
        form->setRegister(screen == QLatin1String("register"));
        if (state == QLatin1String("idle"))
            return;
        if (state == QLatin1String("fields")) {
            form->setEmail(QStringLiteral("anna@"));
            form->submit();
            return;
        }
        // A registration of an address not yet known answers with a notice.
        form->setEmail(screen == QLatin1String("register")
                           ? QStringLiteral("new-%1@example.test").arg(QString::fromLatin1(QTest::currentDataTag()))
                           : QString::fromUtf8(DemoSeed::email));
        form->setPassword(QStringLiteral("wrong-pass"));
        form->setFirstName(QStringLiteral("Анна"));
        if (state == QLatin1String("busy"))
            slowDown(screen == QLatin1String("register") ? QStringLiteral("auth/register")
                                                         : QStringLiteral("auth/login"));
        form->submit();
        if (state != QLatin1String("busy"))
            settle();
    }

    static void schemes()
    {
        QTest::addColumn<QString>("scheme");
        QTest::newRow("light") << "light";
        QTest::newRow("dark") << "dark";
    }

    // That many projects of one name and a number, on the device or in the demo account.
    void addListProjects(bool guest, int count)
    {
        if (guest) {
            m_env.addDeviceProjects(count, QStringLiteral("Лендинг студии"));
            return;
        }
        BackendData &data = m_account.backend.data();
        const QString owner = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        for (int i = 0; i < count; ++i)
            data.addProject(owner, {{QStringLiteral("name"), QStringLiteral("Лендинг студии %1").arg(i + 1)}});
    }

    // The backend's projects and payments come back as they were when the returned guard goes.
    auto keepBackendData()
    {
        BackendData &data = m_account.backend.data();
        return qScopeGuard([this, &data, projects = data.projects, payments = data.payments] {
            data.projects = projects;
            data.payments = payments;
            m_account.backend.clearOverrides();
        });
    }

    // The demo account's projects become `count` estimates in RUB and USD, the third one's lines
    // half done, with one iteration, the fifth one's analytics failing, and a few payments.
    // Returns the iteration's id, or none.
    QString seedAnalytics(int count)
    {
        BackendData &data = m_account.backend.data();
        const QString owner = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        data.projects.clear();
        data.payments.clear();
        const QStringList names{QStringLiteral("Интернет-магазин керамики"), QStringLiteral("Мобильное приложение"),
                                QStringLiteral("Лендинг студии"), QStringLiteral("CRM для клиники"),
                                QStringLiteral("Редизайн сайта")};
        QString iterationId;
        for (int i = 0; i < count; ++i) {
            const bool usd = i % 3 == 1;
            const double cost = 40000 + ((i * 7919) % 23) * 15000;
            const auto line = [](double hours, double rate, bool done) {
                return QJsonObject{{QStringLiteral("title"), QStringLiteral("Работа")},
                                   {QStringLiteral("category"), QStringLiteral("backend")},
                                   {QStringLiteral("hours"), hours},
                                   {QStringLiteral("rate"), rate},
                                   {QStringLiteral("isLocked"), false},
                                   {QStringLiteral("done"), done}};
            };
            const double rate = usd ? 50 : 2500;
            const double hours = (usd ? cost / 40 : cost) / rate;
            const QJsonArray items{line(hours / 2, rate, i % 3 == 2), line(hours / 2, rate, i % 4 == 0)};
            const QString name =
                names.at(i % names.size()) + (i < names.size() ? QString() : QStringLiteral(" %1").arg(i));
            const QString status = QStringList{"draft", "in_progress", "completed", "rejected"}.at(i % 4);
            QJsonObject fields{{QStringLiteral("name"), name},
                               {QStringLiteral("status"), status},
                               {QStringLiteral("currency"), usd ? QStringLiteral("USD") : QStringLiteral("RUB")},
                               {QStringLiteral("items"), items}};
            if (i % 2 == 0)
                fields.insert(QStringLiteral("clientName"), QStringLiteral("ООО «Глина»"));
            const QJsonObject &added = data.addProject(owner, fields);
            const QString id = added.value(QStringLiteral("id")).toString();
            const QString currency = added.value(QStringLiteral("currency")).toString();
            const auto pay = [&](double amount, const QString &state, const QString &paidAt) {
                data.addPayment(id, owner, amount, state,
                                {{QStringLiteral("currency"), currency}, {QStringLiteral("paidAt"), paidAt}});
            };
            if (i < 6) {
                pay(usd ? 300 : 15000, QStringLiteral("received"), QStringLiteral("2024-05-01"));
                pay(usd ? 120 : 8000, QStringLiteral("pending"), QStringLiteral("2024-06-01"));
            }
            if (i == 0 && count > 1) {
                iterationId = data.addProject(owner,
                                              {{QStringLiteral("name"), QStringLiteral("Каталог")},
                                               {QStringLiteral("parentProjectId"), id},
                                               {QStringLiteral("projectType"), QStringLiteral("iterative")},
                                               {QStringLiteral("iterationName"), QStringLiteral("Май")},
                                               {QStringLiteral("status"), QStringLiteral("in_progress")},
                                               {QStringLiteral("items"), QJsonArray{line(12.26, 2500, true)}}})
                                  .value(QStringLiteral("id"))
                                  .toString();
            }
            if (i == 4)
                m_account.backend.setOverride(QStringLiteral("GET"),
                                              QStringLiteral("projects/%1/estimate-analytics").arg(id),
                                              BackendReply::message(500, QStringLiteral("boom")));
        }
        return iterationId;
    }

    QQuickItem *item(const QString &name) const { return findItem(m_window->contentItem(), name); }

    // A left click on the middle of an item, in whichever window draws it.
    static QPointF centreOf(QQuickItem *target)
    {
        return target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    }
    // Clicks the named item once it shows and stands still (a popup's entrance, a panel's slide).
    bool clickWhenStill(const QString &name)
    {
        QQuickItem *target = nullptr;
        if (!QTest::qWaitFor([&] { return (target = item(name)) != nullptr && target->isVisible(); })
            || !waitForStill(m_window, [target] { return QList{target->mapRectToScene(target->boundingRect())}; }))
            return false;
        clickCentre(target);
        return true;
    }
    static void clickCentre(QQuickItem *target)
    {
        QTest::mouseClick(target->window(), Qt::LeftButton, {}, centreOf(target).toPoint());
    }

    // The frame of an open sheet (its title bar and content), in the window's overlay.
    static QQuickItem *sheetFrame(QQuickItem *sheet)
    {
        auto *body = sheet ? sheet->findChild<QQuickItem *>(QStringLiteral("sheetBody")) : nullptr;
        return body ? body->parentItem() : nullptr;
    }
    // Whether a modal popup dims the whole window: its dimmer stands over everything else.
    static bool dimmed(QQuickWindow *window)
    {
        const QList<QQuickItem *> all = window->contentItem()->childItems();
        for (QQuickItem *top : all) {
            if (!top->inherits("QQuickOverlay"))
                continue;
            for (QQuickItem *layer : top->childItems()) {
                if (!layer->inherits("QQuickPopupItem") && layer->isVisible() && layer->opacity() > 0
                    && layer->width() >= window->width() && layer->height() >= window->height())
                    return true;
            }
        }
        return false;
    }

    // Clicks "Создать" once the main window has that size; the create sheet, null when it never comes.
    QQuickItem *clickCreate(QSize size)
    {
        QQuickItem *create = nullptr;
        if (!QTest::qWaitFor([&] {
                create = item(QStringLiteral("createButton"));
                return create && create->isVisible() && m_window->size() == size;
            }))
            return nullptr;
        QTest::qWait(100);
        clickCentre(create);
        QQuickItem *sheet = nullptr;
        return QTest::qWaitFor([&] { return (sheet = item(QStringLiteral("createProjectSheet"))) != nullptr; })
            ? sheet
            : nullptr;
    }

    // A device project of that many lines, selected in a guest window (of that size, when given);
    // the window's shell, null when it never comes.
    MainShellViewModel *openDeviceProject(const QString &id, int lines = 5,
                                          const QString &scheme = QStringLiteral("light"), QSize size = {})
    {
        m_env.repository().upsert(SampleEstimates::project(lines, QStringLiteral("one_time"), id));
        open(scheme, true, true);
        if (size.isValid())
            m_window->resize(size);
        MainShellViewModel *vm = shell();
        if (vm)
            vm->setSelectedProjectId(id);
        return vm;
    }

    // Space on the focused "Создать"; the create sheet once it is open, null (and the test failed) otherwise.
    QQuickItem *pressCreate()
    {
        QQuickItem *sheet = nullptr;
        bool opened = false;
        [&] {
            QQuickItem *create = nullptr;
            QTRY_VERIFY((create = item(QStringLiteral("createButton"))) != nullptr);
            create->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY((sheet = item(QStringLiteral("createProjectSheet"))) != nullptr);
            QTRY_VERIFY(sheet->property("opened").toBool());
            opened = true;
        }();
        return opened ? sheet : nullptr;
    }

    // A payments screen on its own in a window of the given size, for the states the window
    // does not reach by itself.
    void shootAlone(const QByteArray &qml, const QString &scheme, QSize size, const QString &name,
                    const std::function<void(QObject *)> &prepare = {})
    {
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        QByteArray source = qml;
        source.replace("Window {",
                       "Window { Component.onCompleted: AppTheme.preference = \"" + scheme.toUtf8() + "\"\n");
        component.setData(source, QUrl(QStringLiteral("qrc:/screenshot.qml")));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(window);
        window->resize(size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (prepare)
            prepare(root.get());
        QTest::qWait(600); // loads and animations settle
        if (m_layoutCheck) {
            checkLayout(window, name);
            return;
        }
        if (m_audit)
            return audit(name);
        const QImage image = window->grabWindow();
        QVERIFY(!image.isNull());
        QDir().mkpath(QStringLiteral(TESSMARK_SCREENSHOT_DIR));
        QVERIFY(image.save(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/%1.png").arg(name)));
    }

    // Scrolls the finance view under root to its end once its load has ended.
    static void scrollFinanceToEnd(QObject *root)
    {
        // A view replaced by the shell's loader lingers until its deferred deletion.
        QTest::qWait(100);
        QTRY_COMPARE(root->findChildren<QObject *>(QStringLiteral("projectFinanceView")).size(), 1);
        QObject *view = root->findChild<QObject *>(QStringLiteral("projectFinanceView"));
        auto *model = view->property("finance").value<QObject *>();
        QTRY_VERIFY(!model->property("isLoading").toBool());
        QObject *scroll = view->findChild<QObject *>(QStringLiteral("financeScroll"));
        QVERIFY(scroll);
        // The list knows the heights of the rows it has made only: it places its end anew once
        // those on the way are made. Its content begins above 0, where its header stands.
        for (int i = 0; i < 3; ++i) {
            QVERIFY(QMetaObject::invokeMethod(scroll, "positionViewAtEnd"));
            QTest::qWait(50);
            const double top = scroll->property("originY").toDouble();
            scroll->setProperty(
                "contentY",
                std::max(top,
                         top + scroll->property("contentHeight").toDouble() - scroll->property("height").toDouble()));
        }
    }

    // An empty window of the appearance, with a signed-in projects service for the sheets.
    void openSheetHost(const QString &scheme)
    {
        BackendData &data = m_account.backend.data();
        m_account.tokens.token = data.issueToken(data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id);
        m_sheetService = std::make_unique<ProjectsService>(false, nullptr, m_account.api.get());
        m_engine = std::make_unique<QQmlApplicationEngine>();
        AppStart::prepareEngine(*m_engine);
        // Without the root view nothing applies the stored appearance: the window sets it itself.
        m_engine->loadData(QStringLiteral("import QtQuick\nimport QtQuick.Window\nimport Tessmark.Design\n"
                                          "Window { width: 900; height: 760; visible: true; color: AppTheme.background;"
                                          " Component.onCompleted: AppTheme.preference = \"%1\" }")
                               .arg(scheme)
                               .toUtf8());
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    // One of the editor's sheets, made directly in the host window and opened.
    QQuickItem *openSheet(const QString &type, const QVariantMap &properties)
    {
        QQmlComponent component(m_engine.get());
        component.setData(
            QStringLiteral("import Tessmark.Features.Editor\n%1 { anchors.fill: parent }").arg(type).toUtf8(), QUrl());
        auto *sheet =
            qobject_cast<QQuickItem *>(component.createWithInitialProperties(properties, m_engine->rootContext()));
        if (!sheet) {
            qWarning() << component.errors();
            return nullptr;
        }
        sheet->setParent(m_window->contentItem());
        sheet->setParentItem(m_window->contentItem());
        QMetaObject::invokeMethod(sheet, "open");
        m_sheet = sheet;
        return sheet;
    }

    QString addRootWithIterations(int iterations)
    {
        BackendData &data = m_account.backend.data();
        const QString accountId = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        const QJsonArray lines{
            QJsonObject{
                {"title", "Вёрстка"}, {"category", "frontend"}, {"hours", 24}, {"rate", 2500}, {"isLocked", false}},
            QJsonObject{
                {"title", "API"}, {"category", "backend"}, {"hours", 16.5}, {"rate", 3000}, {"isLocked", false}}};
        const QString root =
            data.addProject(accountId, {{"name", "Портал"}, {"items", lines}, {"projectType", "iterative"}})
                .value("id")
                .toString();
        const QStringList names{"Спринт 1: каталог", "", "Спринт 3: оплата"};
        const QStringList statuses{"completed", "in_progress", "draft"};
        for (int i = 0; i < iterations; ++i) {
            QJsonObject fields{{"name", "Портал"},      {"parentProjectId", root},
                               {"baseProjectId", root}, {"projectType", "iterative"},
                               {"version", i + 2},      {"status", statuses.at(i % 3)},
                               {"items", lines}};
            if (!names.at(i % 3).isEmpty())
                fields.insert("iterationName", names.at(i % 3));
            data.addProject(accountId, fields);
        }
        return root;
    }


    // One stop of a walk by Tab: the item that takes the focus there, and what a person types.
    struct Stop
    {
        QQuickItem *item = nullptr;
        QString typed;
    };
    // The field's text input, where the focus of a captioned field goes.
    QQuickItem *input(const QString &field) const
    {
        QQuickItem *found = item(field);
        return found ? found->property("input").value<QQuickItem *>() : nullptr;
    }
    // The select's button, where its focus goes.
    QQuickItem *selectField(const QString &select) const
    {
        QQuickItem *found = item(select);
        return found ? found->findChild<QQuickItem *>(QStringLiteral("field")) : nullptr;
    }
    // The checked choice of a group of choices (segments, chips, options).
    static QQuickItem *checkedChoice(QQuickItem *group)
    {
        if (!group)
            return nullptr;
        for (QQuickItem *child : group->childItems()) {
            if (child->inherits("QQuickRadioButton") && child->property("checked").toBool() && child->isVisible())
                return child;
            if (QQuickItem *found = checkedChoice(child))
                return found;
        }
        return nullptr;
    }
    // The group's choices in the order they are drawn.
    static QList<QQuickItem *> choicesOf(QQuickItem *group)
    {
        QList<QQuickItem *> found;
        const std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
            for (QQuickItem *child : item->childItems()) {
                if (child->inherits("QQuickRadioButton") && child->isVisible())
                    found.append(child);
                else
                    walk(child);
            }
        };
        walk(group);
        return found;
    }
    // Why the item cannot be seen: a Flickable around it shows none of it, or only a part though
    // it would fit; empty when every one shows it.
    static QString outOfView(QQuickItem *item)
    {
        // The item's box (a text input's bounding rectangle is its whole text); what a frame around
        // it clips away is not asked to show.
        QRectF rect = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
        for (QQuickItem *parent = item->parentItem(); parent; parent = parent->parentItem()) {
            if (!parent->inherits("QQuickFlickable")) {
                if (parent->clip())
                    rect = rect.intersected(parent->mapRectToScene(parent->boundingRect()));
                continue;
            }
            const QRectF view = parent->mapRectToScene(parent->boundingRect()).adjusted(-1, -1, 1, 1);
            const bool fits = rect.height() <= view.height() && rect.width() <= view.width();
            if (fits ? !view.contains(rect) : !view.intersects(rect))
                return AccessibilityAudit::describe(item) + QStringLiteral(" is out of view of ")
                    + AccessibilityAudit::describe(parent);
        }
        return {};
    }
    // The account's project gets `count` pending payments of growing amounts.
    void addPayments(const QString &projectId, int count)
    {
        BackendData &data = m_account.backend.data();
        const QString owner = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        for (int i = 0; i < count; ++i)
            data.addPayment(projectId, owner, 1000 * (i + 1), QStringLiteral("pending"), {});
    }
    // The identity of the payment at that row of the open payments screen's history.
    static QString paymentIdAt(QObject *finance, int row)
    {
        return finance->property("payments").value<PaymentRowsModel *>()->rows().at(row).id;
    }
    // The history row of the payment in the open payments screen, or null; a row the list keeps
    // undrawn (in its pool, or ready beyond its edges) is none.
    QQuickItem *paymentRow(const QString &paymentId) const
    {
        std::function<QQuickItem *(QQuickItem *)> find = [&](QQuickItem *at) -> QQuickItem * {
            if (ItemCulling::culled(at))
                return nullptr;
            if (at->objectName().startsWith(QLatin1String("paymentRow-"))
                && at->property("paymentId").toString() == paymentId)
                return at;
            for (QQuickItem *child : at->childItems()) {
                if (QQuickItem *found = find(child))
                    return found;
            }
            return nullptr;
        };
        return find(m_window->contentItem());
    }
    static bool readsAfter(const QQuickItem *before, const QQuickItem *after)
    {
        const QRectF a = before->mapRectToScene(before->boundingRect());
        const QRectF b = after->mapRectToScene(after->boundingRect());
        const bool sameLine = b.top() < a.bottom() && a.top() < b.bottom();
        return b.top() >= a.bottom() - 1 || (sameLine && b.left() >= a.right() - 1);
    }
    // Waits until the places stay the same over two frames in a row with no layout pending: a
    // running animation moves them at each frame, however slowly a busy machine draws the frames,
    // whereas a wait of fixed time may see no frame at all. False when they never settle.
    static bool waitForStill(QQuickWindow *window, const std::function<QList<QRectF>()> &places)
    {
        int frames = 0;
        QObject counter;
        connect(
            window, &QQuickWindow::frameSwapped, &counter, [&frames] { ++frames; }, Qt::QueuedConnection);
        QList<QRectF> before = places();
        for (int i = 0, still = 0; i < 200; ++i) {
            const int seen = frames;
            window->update();
            if (!QTest::qWaitFor([&] { return frames > seen; }, 5000))
                return false;
            const QList<QRectF> now = places();
            still = now == before && !QQuickTest::qIsPolishScheduled(window) ? still + 1 : 0;
            if (still == 2)
                return true;
            before = now;
        }
        return false;
    }

    // Clicks the first stop, then presses Tab once for each further one: each takes the focus in
    // turn, stands after the one before as the eye reads, and takes what is typed (over its old
    // text); Shift+Tab walks back.
    void walkByTab(const QList<Stop> &stops)
    {
        for (qsizetype i = 0; i < stops.size(); ++i)
            QVERIFY2(stops.at(i).item, qPrintable(QStringLiteral("stop %1 is missing").arg(i)));
        const auto type = [this](const QString &text) {
            if (text.isEmpty())
                return;
            QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        };
        // Animations (a fold opening, a sheet moving in) end before the walk.
        QVERIFY(waitForStill(m_window, [&stops] {
            QList<QRectF> rects;
            for (const Stop &stop : stops)
                rects.append(stop.item->mapRectToScene(stop.item->boundingRect()));
            return rects;
        }));
        QQuickItem *first = stops.first().item;
        clickCentre(first);
        QTRY_VERIFY(first->hasActiveFocus());
        type(stops.first().typed);
        for (qsizetype i = 1; i < stops.size(); ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            QQuickItem *focused = m_window->activeFocusItem();
            QVERIFY2(focused == stops.at(i).item,
                     qPrintable(QStringLiteral("Tab %1 went to %2, not to %3")
                                    .arg(i)
                                    .arg(focused ? AccessibilityAudit::describe(focused) : QStringLiteral("nothing"),
                                         AccessibilityAudit::describe(stops.at(i).item))));
            QVERIFY2(readsAfter(stops.at(i - 1).item, focused),
                     qPrintable(AccessibilityAudit::describe(focused) + QStringLiteral(" stands before ")
                                + AccessibilityAudit::describe(stops.at(i - 1).item)));
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
            type(stops.at(i).typed);
        }
        for (qsizetype i = stops.size() - 2; i >= 0; --i) {
            QTest::keyClick(m_window, Qt::Key_Backtab);
            QCOMPARE(m_window->activeFocusItem(), stops.at(i).item);
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        }
    }

    // Presses Tab until the focus comes back to where it started (at most `presses` times) and
    // gives what each stop lacks for a person to see it; the stops reached go to `reached`.
    QStringList unseenFocusStops(int presses, QList<QQuickItem *> *reached = nullptr)
    {
        QStringList faults;
        QQuickItem *first = nullptr;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            QQuickItem *focused = m_window->activeFocusItem();
            if (i > 0 && focused == first)
                break;
            first = i == 0 ? focused : first;
            const QString fault = FocusCheck::problem(m_window);
            if (!fault.isEmpty() && !faults.contains(fault))
                faults.append(fault);
            if (reached && focused)
                reached->append(focused);
        }
        return faults;
    }

    // The frames the window draws in a second while nothing happens: a view kept moving draws
    // each one (35 to 60); a busy machine may still draw a late load's or a fading ring's few.
    int framesInASecond()
    {
        int frames = 0;
        QObject counter;
        connect(
            m_window, &QQuickWindow::frameSwapped, &counter, [&frames] { ++frames; }, Qt::QueuedConnection);
        QTest::qWait(1000);
        return frames;
    }

    // Drags the scroll bar's handle by the pointer, in a few steps, until its top stands at that
    // fraction of the track (past its end for 1) and lets it go there; false when the handle never
    // shows under the pointer.
    bool dragBar(QQuickItem *bar, qreal fraction)
    {
        auto *handle = bar->property("contentItem").value<QQuickItem *>();
        const QRectF track = bar->mapRectToScene(bar->boundingRect());
        QTest::mouseMove(m_window, track.center().toPoint());
        if (!handle || !QTest::qWaitFor([&] { return bar->property("hovered").toBool() && handle->opacity() > 0.5; }))
            return false;
        const QPointF grip = handle->mapToScene(QPointF(handle->width() / 2, handle->height() / 2));
        const qreal travel =
            bar->height() - bar->property("topPadding").toReal() - bar->property("bottomPadding").toReal();
        const QPointF to = fraction >= 1 ? QPointF(grip.x(), track.bottom() + 40)
                                         : grip + QPointF(0, (fraction - bar->property("position").toReal()) * travel);
        QTest::mousePress(m_window, Qt::LeftButton, {}, grip.toPoint());
        for (int step = 1; step <= 6; ++step)
            QTest::mouseMove(m_window, (grip + (to - grip) * step / 6).toPoint());
        QTest::mouseRelease(m_window, Qt::LeftButton, {}, to.toPoint());
        return QTest::qWaitFor([bar] { return !bar->property("pressed").toBool(); });
    }

private Q_SLOTS:
    // The account window talks to the test backend.
    void initTestCase()
    {
        QVERIFY(m_account.start());
        // As the application starts: disabled controls read as disabled, the bundled fonts are
        // there before any window, Qt's own texts speak Russian.
        AppStart::prepare(*QCoreApplication::instance());
        if (m_audit)
            QVERIFY2(AccessibilityAudit::activate(), "no accessibility bus");
    }

    void init()
    {
        // The tree is the same in both appearances.
        if (m_audit && QByteArray(QTest::currentDataTag()).contains("dark"))
            QSKIP("read in light only");
        m_env.reset();
        m_account.tokens.remove();
        m_account.backend.clearOverrides();
    }
    void cleanup()
    {
        // The sheet hosts have no root view.
        if (m_window && rootView())
            settle();
        m_focusWatch.settle();
        // A sheet goes before its window, as QML's own destroy() would take it.
        if (m_sheet) {
            m_sheet->deleteLater();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        m_engine.reset();
        m_window = nullptr;
        m_sheetService.reset();
        m_account.backend.clearOverrides();
        QTest::qWait(50);
        if (!m_layoutFaults.isEmpty()) {
            QStringList lines;
            for (auto it = m_layoutFaults.cbegin(); it != m_layoutFaults.cend(); ++it)
                lines << QStringLiteral("%1 (in %2%3)")
                             .arg(it.key(), it.value().first(),
                                  it.value().size() > 1 ? QStringLiteral(" and %1 more").arg(it.value().size() - 1)
                                                        : QString());
            m_layoutFaults.clear();
            QFAIL(qPrintable(QStringLiteral("\n") + lines.join(QLatin1Char('\n'))));
        }
    }

    // Each screen idle, with its errors, busy (and the sign-in screen with a notice), in a wide
    // window, light and dark, and at rest in a narrow one; the sign-in screen once right to left.
    void accountScreens_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("rightToLeft");
        const QList<std::pair<const char *, QStringList>> screens = {
            {"welcome", {"idle", "busy"}},
            {"login", {"idle", "fields", "error", "busy"}},
            {"register", {"idle", "fields", "notice", "busy"}},
            {"forgot", {"idle", "error", "busy"}},
            {"reset", {"idle", "error", "busy", "success"}},
            {"verify", {"error", "busy", "success"}},
        };
        // The narrow window only in light and only at rest or with an error: the busy looks do
        // not change with the width, and each shot costs the suite time.
        for (const char *scheme : {"light", "dark"}) {
            for (const int width : {520, 900}) {
                const bool narrow = width == 520;
                if (narrow && QLatin1String(scheme) == QLatin1String("dark"))
                    continue;
                for (const auto &[screen, states] : screens) {
                    for (const QString &state : states) {
                        if (narrow && state != QLatin1String("idle") && state != QLatin1String("error"))
                            continue;
                        QTest::addRow("%s-%s-%s-%d", screen, qPrintable(state), scheme, width)
                            << QString::fromLatin1(screen) << state << QString::fromLatin1(scheme) << width << false;
                    }
                }
            }
        }
        QTest::newRow("login-error-light-900-rtl") << "login"
                                                   << "error"
                                                   << "light" << 900 << true;
    }
    void accountScreens()
    {
        QFETCH(QString, screen);
        QFETCH(QString, state);
        QFETCH(QString, scheme);
        QFETCH(int, width);
        QFETCH(bool, rightToLeft);
        if (rightToLeft) {
            QGuiApplication::setLayoutDirection(Qt::RightToLeft);
            QLocale::setDefault(QLocale(QLocale::Hebrew, QLocale::Israel));
        }
        open(scheme, true, false);
        if (rightToLeft) {
            QGuiApplication::setLayoutDirection(Qt::LeftToRight);
            QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        }
        if (width < minimumWindowSize.width() && m_layoutCheck)
            QSKIP("the layout check sizes the window itself");
        resizeBelowMinimum(QSize(width, 680));
        QTest::qWait(50);
        showAccountScreen(screen, state);
        // Errors and the busy button stand low in the sheets: show the end of each screen.
        if (state != QLatin1String("idle")) {
            QTest::qWait(250);
            for (QObject *scroller : m_window->findChildren<QObject *>(QStringLiteral("accountScroller"))) {
                const qreal end = scroller->property("contentHeight").toReal() - scroller->property("height").toReal();
                scroller->setProperty("contentY", std::max<qreal>(0, end));
            }
        }
        shoot(QString::fromLatin1(QTest::currentDataTag()));
    }

    // The backend ends the session over unsaved edits: the sign-in sheet says why over the kept
    // account window, and closing it asks about the edits.
    void endedSession_data() { schemes(); }
    void endedSession()
    {
        QFETCH(QString, scheme);
        const auto restore = keepBackendData();
        open(scheme, true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
        vm->setSelectedProjectId(vm->projectsService()->projects().first().id);
        ProjectEditorViewModel *editor = nullptr;
        QTRY_VERIFY((editor = vm->unsavedEdits()->editor()) != nullptr);
        editor->setName(editor->name() + QStringLiteral(" (правка)"));
        QTRY_VERIFY(editor->isDirty());
        // Closed while a save hangs: the window says it waits for the save.
        const QString path = QStringLiteral("projects/") + editor->projectId();
        m_account.backend.setDelay(QStringLiteral("PATCH"), path, 3000);
        editor->save();
        m_window->close();
        auto *waiting = find<QObject>(QStringLiteral("closeWaitDialog"));
        QVERIFY(waiting);
        QTRY_VERIFY(waiting->property("opened").toBool());
        shoot(QStringLiteral("close-wait-") + scheme);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!waiting->property("visible").toBool());
        m_account.backend.clearOverrides();
        QTRY_VERIFY_WITH_TIMEOUT(editor->saveStateRaw() != QLatin1String("saving"), 10000);
        editor->setName(editor->name() + QStringLiteral("!"));
        m_account.backend.data().tokens.clear();
        editor->save();
        QTRY_VERIFY(root()->keepsEndedSession());
        auto *sheet = find<QQuickItem>(QStringLiteral("loginSheet"));
        QVERIFY(sheet);
        QTRY_VERIFY(sheet->property("opened").toBool());
        shoot(QStringLiteral("ended-session-signin-") + scheme);
        QVERIFY(QMetaObject::invokeMethod(sheet, "close"));
        QTRY_COMPARE(root()->editsQuestion(), RootViewModel::SignInDismissed);
        shoot(QStringLiteral("ended-session-question-") + scheme);
        root()->answerEditsQuestion(false);
        QTRY_COMPARE(root()->screen(), RootViewModel::Welcome);
    }

    // The check itself: each kind of fault is named, and what is meant (an elided title, a list
    // scrolled past its end, a page under a modal sheet) is not.
    void layoutCheckFindsFaults()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import QtQuick.Controls
            Window {
                width: 400; height: 300; visible: true
                Text { objectName: "cutTitle"; width: 60; clip: true; text: "Очень длинный заголовок" }
                Text { objectName: "elidedTitle"; y: 20; width: 60; elide: Text.ElideRight; text: "Очень длинный заголовок" }
                Item {
                    y: 40; width: 80; height: 20; clip: true
                    Text { objectName: "cutByParent"; text: "Текст шире рамки" }
                }
                Button { objectName: "offEdge"; x: 360; y: 60; text: "Удалить" }
                Text { objectName: "first"; x: 10; y: 120; text: "Один" }
                Text { objectName: "second"; x: 20; y: 124; text: "Другой" }
                Button { objectName: "halfCovered"; x: 10; y: 170; width: 100; height: 40; text: "Ок" }
                Rectangle { x: 60; y: 160; width: 100; height: 60; color: "white" }
                ListView {
                    x: 200; y: 160; width: 150; height: 60; clip: true
                    model: 10
                    delegate: Button { objectName: "row"; width: 150; height: 30; text: "Строка " + index }
                }
                component Name: Text { width: 110; property string wrapsWordsOf: "Мобильное приложение" }
                Name { objectName: "wrappedAnywhere"; x: 130; width: 50; wrapMode: Text.WrapAnywhere; text: wrapsWordsOf }
                Name { objectName: "lastCut"; x: 130; y: 80; wrapsWordsOf: "Лендинг конференции дизайна"; text: "Лендинг\nконфер…" }
                Name { objectName: "cutInside"; x: 250; text: "Мобиль\nное приложение" }
                Name { objectName: "wordsWhole"; x: 250; y: 40; text: "Мобильное\nприложение" }
                Name { objectName: "afterHyphen"; x: 250; y: 80; wrapsWordsOf: "Интернет-магазин"; text: "Интернет-\nмагазин" }
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString found = LayoutCheck::faults(window).join(QLatin1Char('\n'));
        for (const char *expected :
             {"text cut without an ellipsis: cutTitle", "text cut without an ellipsis: cutByParent",
              "interactive item outside the window: offEdge", "texts overlap: first \"Один\" and second",
              "interactive item partly under another item: halfCovered", "text breaks inside a word: wrappedAnywhere",
              "text breaks inside a word: cutInside"}) {
            QVERIFY2(found.contains(QString::fromUtf8(expected)), qPrintable(found));
        }
        for (const char *meant : {"elidedTitle", "row", "lastCut", "wordsWhole", "afterHyphen"})
            QVERIFY2(!found.contains(QLatin1String(meant)), qPrintable(found));
    }

    // Text too faint against what the frame shows behind it is named, with the ratio measured;
    // a readable text, large text and symbols at 3:1, a disabled control and a text over a
    // picture are not.
    void layoutCheckFindsLowContrast()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import QtQuick.Controls.Basic
            Window {
                width: 420; height: 300; visible: true; color: "white"
                Text { objectName: "faint"; x: 10; y: 10; text: "Отказ"; color: "#999999"; font.pixelSize: 14 }
                Text { objectName: "readable"; x: 10; y: 30; text: "Завершён"; color: "#595959"; font.pixelSize: 14 }
                Text { objectName: "large"; x: 10; y: 50; text: "Итого"; color: "#888888"; font.pixelSize: 26 }
                Text { objectName: "faintLarge"; x: 150; y: 50; text: "Итого"; color: "#bbbbbb"; font.pixelSize: 26 }
                Text { objectName: "symbol"; x: 300; y: 50; text: "\ue5d5\ue5d5"; color: "#888888"; font.pixelSize: 14 }
                Text { objectName: "halfSeen"; x: 10; y: 90; text: "Удалить"; color: "black"; opacity: 0.3 }
                Rectangle {
                    x: 10; y: 120; width: 200; height: 30; color: "#14122A"
                    Text { objectName: "onFill"; anchors.centerIn: parent; text: "Сохранить"; color: "white" }
                }
                Rectangle {
                    x: 220; y: 120; width: 190; height: 30
                    gradient: Gradient {
                        orientation: Gradient.Horizontal
                        GradientStop { position: 0; color: "#14122A" }
                        GradientStop { position: 1; color: "#F5F5F7" }
                    }
                    Text { objectName: "overGradient"; anchors.fill: parent; anchors.leftMargin: 4
                           verticalAlignment: Text.AlignVCenter; text: "Войти и продолжить работу"; color: "white" }
                }
                Button { objectName: "disabledButton"; x: 10; y: 170; enabled: false; text: "Недоступно" }
                Grid {
                    x: 220; y: 170; columns: 40
                    Repeater {
                        model: 400
                        Rectangle { width: 4; height: 4; color: Qt.hsla((index * 37 % 100) / 100, 0.8, (index * 53 % 100) / 100, 1) }
                    }
                }
                Text { objectName: "overPicture"; x: 224; y: 175; text: "Подпись"; color: "#808080" }
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString found = LayoutCheck::faults(window).join(QLatin1Char('\n'));
        // #999 on white is 2.85:1; black at 30 % on white 2.1:1.
        for (const char *expected : {"low contrast 2.85:1 (needs 4.5:1): faint", "(needs 3.0:1): faintLarge",
                                     "(needs 4.5:1): halfSeen", "(needs 4.5:1): overGradient"}) {
            QVERIFY2(found.contains(QString::fromUtf8(expected)), qPrintable(found));
        }
        for (const char *meant :
             {"readable", "large \"", "symbol", "onFill", "disabledButton", "Недоступно", "overPicture"})
            QVERIFY2(!found.contains(QString::fromUtf8(meant)), qPrintable(found));
    }

    // A text field wider than the cap is named; a capped one, a read-only one and a text are not.
    void layoutCheckFindsWideFields()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            Window {
                width: 1000; height: 200; visible: true
                TextInput { objectName: "stretched"; width: 900; text: "Название" }
                TextInput { objectName: "capped"; y: 30; width: 600; text: "Клиент" }
                TextEdit { objectName: "notes"; y: 60; width: 700; text: "Заметка" }
                TextEdit { objectName: "shown"; y: 90; width: 900; readOnly: true; text: "Только для чтения" }
                Text { objectName: "caption"; y: 120; width: 900; text: "Подпись" }
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString found = LayoutCheck::wideFields(window, fieldWidthCap).join(QLatin1Char('\n'));
        for (const char *expected :
             {"text field 900 px wide (at most 640): stretched", "700 px wide (at most 640): notes"})
            QVERIFY2(found.contains(QString::fromUtf8(expected)), qPrintable(found));
        for (const char *meant : {"capped", "shown", "caption"})
            QVERIFY2(!found.contains(QLatin1String(meant)), qPrintable(found));
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
        AppStart::prepareEngine(*m_engine);
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

    // Keyboard alone, in the real window (run as tst_Accessibility_keyboard, not as shots): from
    // the first field of each form Tab reaches every field in the order they are drawn, and what
    // is typed there reaches the form's model.
    void tabThroughSignIn()
    {
        open(QStringLiteral("light"), true, false);
        root()->setShowLoginSheet(true);
        auto *form = modelOf<LoginFormModel>(QStringLiteral("loginView"), "form");
        QVERIFY(form);
        form->setRegister(true);
        QTest::qWait(300);
        walkByTab({{input(QStringLiteral("emailField")), QStringLiteral("anna@example.test")},
                   {input(QStringLiteral("passwordField")), QStringLiteral("secret-12")},
                   {findItem(item(QStringLiteral("passwordField")), QStringLiteral("revealButton")), {}},
                   {input(QStringLiteral("firstNameField")), QStringLiteral("Анна")},
                   {input(QStringLiteral("lastNameField")), QStringLiteral("Петрова")},
                   {item(QStringLiteral("submitButton")), {}},
                   {item(QStringLiteral("modeToggleButton")), {}}});
        QCOMPARE(form->email(), QStringLiteral("anna@example.test"));
        QCOMPARE(form->password(), QStringLiteral("secret-12"));
        QCOMPARE(form->firstName(), QStringLiteral("Анна"));
        QCOMPARE(form->lastName(), QStringLiteral("Петрова"));

        // Before the e-mail, the modes: Left and Right go to the one on that side and choose it,
        // as tabs do, and stop at the ends.
        QQuickItem *signIn = item(QStringLiteral("signInModeButton"));
        QQuickItem *registration = item(QStringLiteral("registerModeButton"));
        input(QStringLiteral("emailField"))->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QCOMPARE(m_window->activeFocusItem(), registration);
        for (const auto &[key, to] : {std::pair(Qt::Key_Left, signIn), std::pair(Qt::Key_Left, signIn),
                                      std::pair(Qt::Key_Right, registration), std::pair(Qt::Key_Right, registration)}) {
            QTest::keyClick(m_window, key);
            QCOMPARE(m_window->activeFocusItem(), to);
            QCOMPARE(form->isRegister(), to == registration);
            QTRY_VERIFY2(FocusCheck::problem(m_window).isEmpty(), qPrintable(FocusCheck::problem(m_window)));
        }
        QCOMPARE(form->email(), QStringLiteral("anna@example.test"));
    }

    void tabThroughCreateSheet()
    {
        open(QStringLiteral("light"), true, true);
        QQuickItem *list = nullptr;
        QTRY_VERIFY((list = item(QStringLiteral("projectsList"))) != nullptr);
        QQuickItem *sheet = clickCreate(m_window->size());
        QVERIFY(sheet);
        QTest::qWait(300);
        auto *model = sheet->parentItem() ? m_window->findChild<CreateProjectViewModel *>() : nullptr;
        QVERIFY(model);
        // The templates are one stop, at the first when none is chosen.
        walkByTab({{input(QStringLiteral("nameField")), QStringLiteral("Сайт пекарни")},
                   {input(QStringLiteral("clientField")), QStringLiteral("ИП Смирнова")},
                   {selectField(QStringLiteral("currencySelect")), {}},
                   {choicesOf(item(QStringLiteral("templateCards"))).value(0), {}}});
        QCOMPARE(model->name(), QStringLiteral("Сайт пекарни"));
        QCOMPARE(model->clientName(), QStringLiteral("ИП Смирнова"));
    }

    // The editor's fields, then the form of its first line, on a device project of five lines.
    void tabThroughEditor()
    {
        QVERIFY(openDeviceProject(QStringLiteral("tab-editor")));
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        ProjectEditorViewModel *editor = screen->editor();
        walkByTab({{input(QStringLiteral("nameField")), QStringLiteral("Сайт пекарни")},
                   {input(QStringLiteral("clientField")), QStringLiteral("ИП Смирнова")},
                   {selectField(QStringLiteral("typeSelect")), {}},
                   {selectField(QStringLiteral("statusSelect")), {}},
                   {selectField(QStringLiteral("currencySelect")), {}},
                   {input(QStringLiteral("defaultRateField")), QStringLiteral("2000")},
                   {item(QStringLiteral("applyRateButton")), {}}});
        QCOMPARE(editor->name(), QStringLiteral("Сайт пекарни"));
        QCOMPARE(editor->clientName(), QStringLiteral("ИП Смирнова"));
        QCOMPARE(editor->defaultRate(), 2000.0);

        // The line form, opened with Return on the focused first line.
        QQuickItem *line = nullptr;
        QTRY_VERIFY((line = item(QStringLiteral("lineCard-0"))) != nullptr);
        line->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(screen->showItemForm());
        EstimateItemFormModel *form = screen->form();
        walkByTab({{input(QStringLiteral("formTitle")), QStringLiteral("Макеты главной")},
                   {input(QStringLiteral("formDescription")), QStringLiteral("Три экрана")},
                   {selectField(QStringLiteral("formCategory")), {}},
                   {input(QStringLiteral("formHours")), QStringLiteral("12")},
                   {input(QStringLiteral("formRate")), QStringLiteral("3000")},
                   {item(QStringLiteral("formLock")), {}},
                   {item(QStringLiteral("formDefaultRate")), {}}});
        QCOMPARE(form->title(), QStringLiteral("Макеты главной"));
        QCOMPARE(form->description(), QStringLiteral("Три экрана"));
        QCOMPARE(form->hoursText(), QStringLiteral("12"));
        QCOMPARE(form->rateText(), QStringLiteral("3000"));
    }

    // The new payment's form, signed in, on the payments of the account's first project.
    void tabThroughPaymentForm()
    {
        open(QStringLiteral("light"), true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
        QObject *finance = openPayments(vm, vm->projectsService()->projects().first().id);
        QVERIFY(finance);
        QQuickItem *status = item(QStringLiteral("newPaymentStatus"));
        QVERIFY(status);
        // The status segments are one stop, at the chosen one.
        walkByTab({{input(QStringLiteral("amountField")), QStringLiteral("15000")},
                   {checkedChoice(status), {}},
                   {item(QStringLiteral("dateField")), {}},
                   {input(QStringLiteral("methodField")), QStringLiteral("Карта")},
                   {input(QStringLiteral("noteField")), QStringLiteral("Аванс")},
                   {item(QStringLiteral("addPaymentButton")), {}}});
        QCOMPARE(finance->property("amountText").toString(), QStringLiteral("15000"));
        QCOMPARE(finance->property("method").toString(), QStringLiteral("Карта"));
        QCOMPARE(finance->property("note").toString(), QStringLiteral("Аванс"));
    }

    // Tab or Shift+Tab into a field selects what it holds, so that typing replaces it; a click
    // still puts the caret where it points. A person first types the field's value (the long
    // client's name of 70,000 characters is there already, shown cut until the field is edited).
    void tabReplacesFieldText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("old");
        QTest::newRow("line hours") << "formHours"
                                    << "0.0";
        QTest::newRow("line rate") << "formRate"
                                   << "50.0";
        QTest::newRow("payment amount") << "amountField"
                                        << "50.0";
        QTest::newRow("sign-in e-mail") << "emailField"
                                        << "anna@example.test";
        QTest::newRow("project name") << "nameField"
                                      << "Сайт";
        QTest::newRow("long client") << "clientField" << QString();
    }
    void tabReplacesFieldText()
    {
        QFETCH(QString, field);
        QFETCH(QString, old);
        const bool typesOld = !old.isEmpty();
        const auto restore = keepBackendData();
        if (field.startsWith(QLatin1String("form"))) {
            QVERIFY(openDeviceProject(QStringLiteral("tab-select")));
            QQuickItem *line = nullptr;
            QTRY_VERIFY((line = item(QStringLiteral("lineCard-0"))) != nullptr);
            line->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window, Qt::Key_Return);
        } else if (field == QLatin1String("amountField")) {
            open(QStringLiteral("light"), true, false);
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            QVERIFY(openPayments(vm, vm->projectsService()->projects().first().id));
        } else if (field == QLatin1String("emailField")) {
            open(QStringLiteral("light"), true, false);
            root()->setShowLoginSheet(true);
        } else if (field == QLatin1String("nameField")) {
            open(QStringLiteral("light"), true, true);
            QVERIFY(pressCreate());
        } else {
            const Project project = extremeProject(QStringLiteral("tab-long"));
            m_env.repository().upsert(project);
            open(QStringLiteral("light"), true, true);
            shell()->setSelectedProjectId(project.id);
            old = *project.clientName;
        }
        QQuickItem *target = nullptr;
        QTRY_VERIFY((target = input(field)) != nullptr && target->isVisible());
        QVERIFY(waitForStill(m_window, [target] { return QList{target->mapRectToScene(target->boundingRect())}; }));
        // The field's whole value: a long one's input holds only a stretch of it.
        QQuickItem *control = item(field);
        const auto text = [control] { return control->property("wholeText").toString(); };
        clickCentre(target);
        QTRY_VERIFY(target->hasActiveFocus());
        if (typesOld) {
            QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
            typeText(old);
        }
        QCOMPARE(text(), old);
        // Out and back in from either side: what is typed replaces the whole value.
        const QList<std::pair<Qt::Key, QString>> ways{{Qt::Key_Backtab, QStringLiteral("12")},
                                                      {Qt::Key_Tab, QStringLiteral("40")}};
        for (const auto &[in, typed] : ways) {
            QTest::keyClick(m_window, in == Qt::Key_Tab ? Qt::Key_Backtab : Qt::Key_Tab);
            QVERIFY(!target->hasActiveFocus());
            QTest::keyClick(m_window, in);
            QCOMPARE(m_window->activeFocusItem(), target);
            typeText(typed);
            QCOMPARE(text(), typed);
        }
        // A click at the start puts the caret there.
        QTest::mouseClick(m_window, Qt::LeftButton, {}, target->mapToScene(QPointF(1, target->height() / 2)).toPoint());
        typeText(QStringLiteral("1"));
        QCOMPARE(text(), QStringLiteral("140"));
    }

    // Analytics rows by keyboard: Tab reaches the table's rows in order, Return selects the focused one.
    void tabThroughAnalyticsRows()
    {
        const auto restore = keepBackendData();
        seedAnalytics(3);
        open(QStringLiteral("light"), true, false);
        // The rows stand below the fold of the smallest window.
        m_window->resize(minimumWindowSize);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        AnalyticsDashboardModel *model = openAnalytics(vm);
        QVERIFY(model);
        // The table's cards in the order of its rows; those far below are made as they come in view.
        QStringList rows;
        for (const AnalyticsProjectRow &row : model->rows())
            rows.append(QStringLiteral("analyticsRow-") + row.id);
        QVERIFY(rows.size() >= 3);
        // From the scope switch above, Tab by Tab down to the last row.
        QQuickItem *scope = findItem(item(QStringLiteral("analyticsScope")), QStringLiteral("segment1"));
        QVERIFY(scope);
        scope->forceActiveFocus(Qt::TabFocusReason);
        QStringList reached;
        QQuickItem *focused = nullptr;
        for (int i = 0; i < 40 && reached.size() < rows.size(); ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            focused = m_window->activeFocusItem();
            QVERIFY(focused);
            QTRY_VERIFY2_WITH_TIMEOUT(outOfView(focused).isEmpty(), qPrintable(outOfView(focused)), 1000);
            if (focused->objectName().startsWith(QLatin1String("analyticsRow-")))
                reached.append(focused->objectName());
        }
        QCOMPARE(reached, rows);
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_COMPARE(model->selectedRow().id, rows.last().mid(QStringLiteral("analyticsRow-").size()));
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(focused);
        if (QAccessible::isActive()) {
            QCOMPARE(node->role(), QAccessible::ListItem);
            QVERIFY(node->state().selected);
        }
        // Back up the table, row by row, and on to the scope switch above it.
        QStringList back;
        for (int i = 0; i < 40 && focused->objectName().startsWith(QLatin1String("analyticsRow-")); ++i) {
            QTest::keyClick(m_window, Qt::Key_Backtab);
            focused = m_window->activeFocusItem();
            QVERIFY(focused);
            if (focused->objectName().startsWith(QLatin1String("analyticsRow-")))
                back.prepend(focused->objectName());
        }
        QCOMPARE(back, rows.mid(0, rows.size() - 1));
        QVERIFY2(item(QStringLiteral("analyticsScope"))->isAncestorOf(focused), qPrintable(focused->objectName()));
    }

    // Tab through a scrolled screen or sheet of the smallest window: the focused item always shows.
    void tabKeepsFocusInView_data()
    {
        QTest::addColumn<QString>("screen");
        for (const char *screen : {"payments", "payment form", "settings", "create sheet", "line form",
                                   "template library", "export sheet", "AI sheet"})
            QTest::newRow(screen) << QString::fromLatin1(screen);
    }
    void tabKeepsFocusInView()
    {
        QFETCH(QString, screen);
        const auto restore = keepBackendData();
        seedAnalytics(12);
        const bool editor = screen == QLatin1String("line form") || screen == QLatin1String("template library")
            || screen == QLatin1String("export sheet") || screen == QLatin1String("AI sheet");
        // The AI sheet is the account's.
        const bool guest = screen == QLatin1String("create sheet") || (editor && screen != QLatin1String("AI sheet"));
        if (editor)
            m_env.repository().upsert(
                SampleEstimates::project(5, QStringLiteral("one_time"), QStringLiteral("tab-sheet")));
        open(QStringLiteral("light"), true, guest);
        m_window->resize(minimumWindowSize);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        QQuickWindow *window = m_window;
        QQuickItem *start = nullptr;
        // The sheet's frame, which shows each focused item whole.
        QQuickItem *frame = nullptr;
        if (screen == QLatin1String("payments")) {
            vm->setMainSection(QStringLiteral("payments"));
            QTRY_VERIFY((start = item(QStringLiteral("paymentsHub"))) != nullptr);
        } else if (screen == QLatin1String("payment form")) {
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            vm->openPayments(vm->projectsService()->projects().first().id);
            QTRY_VERIFY((start = item(QStringLiteral("projectFinanceView"))) != nullptr);
        } else if (screen == QLatin1String("settings")) {
            vm->setMainSection(QStringLiteral("settings"));
            QTRY_VERIFY((start = item(QStringLiteral("settingsView"))) != nullptr);
        } else if (screen == QLatin1String("create sheet")) {
            QQuickItem *sheet = clickCreate(minimumWindowSize);
            QVERIFY(sheet);
            QTRY_VERIFY(sheet->property("opened").toBool());
            frame = sheetFrame(sheet);
            start = input(QStringLiteral("nameField"));
        } else {
            if (guest) {
                vm->setSelectedProjectId(QStringLiteral("tab-sheet"));
            } else {
                QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
                vm->setSelectedProjectId(vm->projectsService()->projects().first().id);
            }
            ProjectEditorScreenModel *editorScreen = nullptr;
            QTRY_VERIFY((editorScreen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen"))
                        != nullptr);
            QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
            QQuickItem *sheet = nullptr;
            if (screen == QLatin1String("line form")) {
                editorScreen->editLine(editorScreen->editor()->items().first().id.toString(QUuid::WithoutBraces));
                QTRY_VERIFY((start = input(QStringLiteral("formTitle"))) != nullptr);
                sheet = start;
            } else if (screen == QLatin1String("template library")) {
                editorScreen->setShowTemplateLibrary(true);
                QTRY_VERIFY((start = item(QStringLiteral("templateCards"))) != nullptr);
                sheet = start;
            } else if (screen == QLatin1String("AI sheet")) {
                editorScreen->setShowAI(true);
                QTRY_VERIFY((start = input(QStringLiteral("requirementsArea"))) != nullptr && start->isVisible());
                sheet = start;
            } else {
                editorScreen->setShowExportPDF(true);
                ExportPDFViewModel *exporter = nullptr;
                QTRY_VERIFY((exporter = m_window->findChild<ExportPDFViewModel *>()) != nullptr);
                QTRY_VERIFY_WITH_TIMEOUT(!exporter->pdfUrl().isEmpty(), 30000);
                QQuickItem *ready = item(QStringLiteral("readyContent"));
                QVERIFY(ready);
                QTRY_VERIFY((start = findItem(ready, QStringLiteral("saveButton"))) != nullptr && start->isVisible());
                sheet = start;
            }
            for (; sheet && !sheet->inherits("QQuickPopupItem"); sheet = sheet->parentItem()) {}
            QVERIFY(sheet);
            frame = sheet;
        }
        QVERIFY(start);
        QTest::qWait(300); // loads and layouts settle
        start->forceActiveFocus(Qt::TabFocusReason);
        QSet<QQuickItem *> reached;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(window, Qt::Key_Tab);
            QQuickItem *focused = window->activeFocusItem();
            QVERIFY(focused);
            reached.insert(focused);
            QTRY_VERIFY2_WITH_TIMEOUT(outOfView(focused).isEmpty(), qPrintable(outOfView(focused)), 1000);
            if (frame) {
                const QRectF shown = frame->mapRectToScene(frame->boundingRect()).adjusted(-1, -1, 1, 1);
                QVERIFY2(frame->isAncestorOf(focused), qPrintable(AccessibilityAudit::describe(focused)));
                QVERIFY2(
                    shown.contains(focused->mapRectToScene(QRectF(0, 0, focused->width(), focused->height()))),
                    qPrintable(AccessibilityAudit::describe(focused) + QStringLiteral(" stands outside the sheet")));
            }
        }
        // The library has three stops: "Закрыть", the spheres and the cards.
        const int stops = screen == QLatin1String("template library") ? 3 : 4;
        QVERIFY2(reached.size() >= stops, qPrintable(QString::number(reached.size())));
    }

    // What a reader hears of the editor's figures: each line's cost, hours and rate beside its
    // title, and the total sum.
    void readsEditorFigures()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        QVERIFY(openDeviceProject(QStringLiteral("read-figures")));
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        QQuickItem *line = nullptr;
        QTRY_VERIFY((line = item(QStringLiteral("lineCard-0"))) != nullptr);
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(line);
        QCOMPARE(node->text(QAccessible::Name), line->property("shownTitle").toString());
        const QString description = node->text(QAccessible::Description);
        for (const char *figure : {"costText", "hoursText", "rateText"})
            QVERIFY2(description.contains(line->property(figure).toString()), qPrintable(description));
        QQuickItem *total = item(QStringLiteral("totalCost"));
        QVERIFY(total);
        QAccessibleInterface *totalNode = QAccessible::queryAccessibleInterface(total->parentItem());
        QCOMPARE(totalNode->text(QAccessible::Name), QStringLiteral("Сумма"));
        QCOMPARE(totalNode->text(QAccessible::Description), screen->editor()->totalCostText());
    }

    // The tour's card keeps Tab: from its main button, round its own controls and back, never to
    // the window under the scrim.
    void tabStaysInTourCard()
    {
        m_env.addDeviceProjects(3, QStringLiteral("Мобильное приложение"));
        open(QStringLiteral("light"), false, true);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        QTRY_VERIFY(vm->tour()->hasDemoProject());
        vm->tour()->setStep(1);
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = item(QStringLiteral("onboardingCard"))) != nullptr && card->isVisible());
        QQuickItem *next = item(QStringLiteral("onboardingNext"));
        QTRY_VERIFY(next->hasActiveFocus());
        QSet<QQuickItem *> reached;
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            for (int i = 0; i < 20; ++i) {
                QTest::keyClick(m_window, key);
                QQuickItem *focused = m_window->activeFocusItem();
                QVERIFY2(focused && card->isAncestorOf(focused),
                         qPrintable(QStringLiteral("Tab left the card for ")
                                    + (focused ? AccessibilityAudit::describe(focused) : QStringLiteral("nothing"))));
                const QString unseen = FocusCheck::problem(m_window);
                QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
                reached.insert(focused);
            }
        }
        QVERIFY(reached.contains(next));
        QVERIFY(reached.size() >= 4);
    }

    // A sheet keeps Tab inside and gives the focus back where it was when it closes.
    void sheetKeepsAndReturnsFocus()
    {
        open(QStringLiteral("light"), true, true);
        // Escape is the sheet's shortcut, and shortcuts go to the active window.
        activate();
        QQuickItem *sheet = pressCreate();
        QVERIFY(sheet);
        QQuickItem *create = item(QStringLiteral("createButton"));
        QQuickItem *name = input(QStringLiteral("nameField"));
        QVERIFY(name);
        QQuickItem *popup = name;
        while (popup->parentItem() && !popup->inherits("QQuickPopupItem"))
            popup = popup->parentItem();
        QVERIFY(popup->inherits("QQuickPopupItem"));
        name->forceActiveFocus(Qt::TabFocusReason);
        for (int i = 0; i < 25; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            QQuickItem *focused = m_window->activeFocusItem();
            QVERIFY2(focused && popup->isAncestorOf(focused),
                     qPrintable(QStringLiteral("Tab left the sheet for ")
                                + (focused ? AccessibilityAudit::describe(focused) : QStringLiteral("nothing"))));
        }
        if (QAccessible::isActive()) {
            QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(popup);
            QCOMPARE(dialog->role(), QAccessible::Dialog);
            QCOMPARE(dialog->text(QAccessible::Name), sheet->property("title").toString());
        }
        // The list drops the closed sheet.
        const QPointer<QQuickItem> open = sheet;
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!open || !open->property("opened").toBool());
        QTRY_VERIFY(create->hasActiveFocus());
    }

    // The reader's check names a disabled control that reads as enabled (as every one does with
    // Qt's own reading), a button scrolled out of its view (or all but a pixel of it) that reads as
    // shown, a scroll bar unnamed and focusable where nothing is to scroll, anything read as shown
    // under a modal popup, and a hidden window; with the app's reading the control reads as
    // disabled, and as enabled again once it is, the buttons as not shown, only the bar drawn, named
    // after what it scrolls, and the popup alone while it is open.
    void accessibilityAuditFindsFaults()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        const auto make = [](QQmlEngine &engine) {
            QQmlComponent component(&engine);
            component.setData(R"(
                import QtQuick
                import QtQuick.Templates as T
                Window {
                    width: 300; height: 200; visible: true; title: "Проверка"
                    T.AbstractButton { objectName: "save"; width: 100; height: 40; text: "Сохранить"; enabled: false }
                    TextInput {
                        objectName: "password"; y: 50; width: 100; height: 30; text: "secret-1"
                        echoMode: TextInput.Password
                        Accessible.role: Accessible.EditableText; Accessible.name: "Пароль"
                    }
                    T.Menu { objectName: "menu"; y: 90; width: 100; height: 60; visible: true }
                    Flickable {
                        y: 160; width: 100; height: 30; clip: true; contentHeight: 100; contentY: 40
                        T.AbstractButton { objectName: "scrolledAway"; width: 100; height: 30; text: "Вверху" }
                    }
                    Flickable {
                        x: 120; y: 160; width: 100; height: 30; clip: true; contentHeight: 100; contentY: 29
                        T.AbstractButton { objectName: "sliverLeft"; width: 100; height: 30; text: "Выше" }
                    }
                    Flickable {
                        x: 220; width: 80; height: 60; contentHeight: 40
                        T.ScrollBar.vertical: T.ScrollBar { objectName: "nothingToScroll"; width: 6 }
                    }
                    Flickable {
                        x: 220; y: 70; width: 80; height: 60; contentHeight: 200
                        T.ScrollBar.vertical: T.ScrollBar { objectName: "drawnBar"; width: 6 }
                    }
                    T.Popup { objectName: "modal"; x: 150; width: 150; height: 100; modal: true }
                    Window { title: "Скрытое" }
                })",
                              QUrl());
            std::unique_ptr<QObject> root(component.create());
            if (!root)
                qWarning() << component.errors();
            return root;
        };
        QQmlEngine engine;
        QuickItemAccessible::uninstall();
        const auto reinstall = qScopeGuard([] { QuickItemAccessible::install(); });
        std::unique_ptr<QObject> broken = make(engine);
        QVERIFY(broken);
        auto *window = qobject_cast<QQuickWindow *>(broken.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QString found = AccessibilityAudit::problems().join(QLatin1Char('\n'));
        QVERIFY2(found.contains(QStringLiteral("not read as disabled: QQuickRootItem > QQuickAbstractButton \"save\"")),
                 qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("hidden window: QQuickWindowQmlImpl \"Скрытое\"")), qPrintable(found));
        QVERIFY2(
            found.contains(QStringLiteral("password read as its text: QQuickRootItem > QQuickTextInput \"password\"")),
            qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("menu without a name")), qPrintable(found));
        QVERIFY2(found.contains(
                     QStringLiteral("read as shown, out of sight: QQuickRootItem > QQuickFlickable > QQuickItem > "
                                    "QQuickAbstractButton \"scrolledAway\"")),
                 qPrintable(found));
        QVERIFY2(found.contains(
                     QStringLiteral("read as shown, out of sight: QQuickRootItem > QQuickFlickable > QQuickItem > "
                                    "QQuickAbstractButton \"sliverLeft\"")),
                 qPrintable(found));
        const QString bar = QStringLiteral("QQuickRootItem > QQuickFlickable > QQuickScrollBar \"nothingToScroll\"");
        QVERIFY2(found.contains(QStringLiteral("no name: ") + bar), qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("focusable, never reached by Tab: ") + bar), qPrintable(found));
        const auto underModal = [&window] {
            QMetaObject::invokeMethod(window->findChild<QObject *>(QStringLiteral("modal")), "open");
            [&] { QTRY_VERIFY(window->findChild<QObject *>(QStringLiteral("modal"))->property("opened").toBool()); }();
            return AccessibilityAudit::problems().filter(QStringLiteral("under a modal popup")).join(QLatin1Char('\n'));
        };
        found = underModal();
        QVERIFY2(found.contains(QStringLiteral("read as shown under a modal popup: QQuickRootItem > "
                                               "QQuickAbstractButton \"save\"")),
                 qPrintable(found));
        broken.reset();

        QuickItemAccessible::install();
        std::unique_ptr<QObject> mended = make(engine);
        QVERIFY(mended);
        window = qobject_cast<QQuickWindow *>(mended.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        found = AccessibilityAudit::problems().join(QLatin1Char('\n'));
        QVERIFY2(!found.contains(QStringLiteral("not read as disabled")), qPrintable(found));
        QVERIFY2(!found.contains(QStringLiteral("password read as its text")), qPrintable(found));
        QVERIFY2(!found.contains(QStringLiteral("out of sight")), qPrintable(found));
        QVERIFY2(!found.contains(QStringLiteral("no name")) && !found.contains(QStringLiteral("focusable")),
                 qPrintable(found));
        auto *save = window->findChild<QQuickItem *>(QStringLiteral("save"));
        QVERIFY(save);
        QVERIFY(QAccessible::queryAccessibleInterface(save)->state().disabled);
        save->setEnabled(true);
        QVERIFY(!QAccessible::queryAccessibleInterface(save)->state().disabled);
        const auto readsBar = [&window](const char *name) {
            QAccessibleInterface *content = QAccessible::queryAccessibleInterface(window);
            for (int i = 0; i < content->childCount(); ++i) {
                if (content->child(i)->object()->objectName() == QLatin1String(name))
                    return content->child(i)->text(QAccessible::Name);
            }
            return QString();
        };
        QCOMPARE(readsBar("nothingToScroll"), QString());
        QCOMPARE(readsBar("drawnBar"), QStringLiteral("Прокрутка: Проверка"));
        // Under the popup nothing else is read, nor shows to a reader that asks it; once it
        // closes, all of it is back.
        found = underModal();
        QVERIFY2(found.isEmpty(), qPrintable(found));
        QCOMPARE(QAccessible::queryAccessibleInterface(window)->childCount(), 1);
        QVERIFY(QAccessible::queryAccessibleInterface(save)->state().invisible);
        QMetaObject::invokeMethod(window->findChild<QObject *>(QStringLiteral("modal")), "close");
        QTRY_VERIFY(!QAccessible::queryAccessibleInterface(save)->state().invisible);
        QCOMPARE(readsBar("save"), QStringLiteral("Сохранить"));
    }

    // A sheet opens over the dimmed main window at every size the window allows (the smallest
    // window is lower than the create sheet asks), inside it, and leaves no window behind: none
    // while it is open nor once it is closed with its cancel button.
    void closedSheetLeavesNoWindow()
    {
        open(QStringLiteral("light"), true, true);
        QCOMPARE(AccessibilityAudit::hiddenWindows(), QStringList());
        QCOMPARE(QGuiApplication::topLevelWindows().size(), 1);
        for (const QSize size : {minimumWindowSize, QSize(1200, 800)}) {
            m_window->resize(size);
            QQuickItem *sheet = clickCreate(size);
            QVERIFY(sheet);
            QTRY_VERIFY(sheet->property("opened").toBool());
            QCOMPARE(QGuiApplication::topLevelWindows().size(), 1);
            QCOMPARE(AccessibilityAudit::hiddenWindows(), QStringList());
            QQuickItem *frame = sheetFrame(sheet);
            QVERIFY(frame);
            QCOMPARE(frame->window(), m_window);
            const QRectF box = frame->mapRectToScene(frame->boundingRect());
            QVERIFY2(
                QRectF(16, 16, size.width() - 32, size.height() - 32).adjusted(-1, -1, 1, 1).contains(box),
                qPrintable(QStringLiteral("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
            QVERIFY(dimmed(m_window));
            // Closed with its cancel button.
            QQuickItem *cancel = findItem(frame, QStringLiteral("cancelButton"));
            QVERIFY(cancel);
            const QPointer<QQuickItem> opened = sheet;
            clickCentre(cancel);
            QTRY_VERIFY(!opened || !opened->property("opened").toBool());
            QTRY_VERIFY(!dimmed(m_window));
            QCOMPARE(QGuiApplication::topLevelWindows().size(), 1);
            QCOMPARE(AccessibilityAudit::hiddenWindows(), QStringList());
        }
    }

    // Tab from line to line down a long estimate: each focused line is scrolled into view.
    void focusedLineScrollsIntoView()
    {
        QVERIFY(openDeviceProject(QStringLiteral("tab-lines"), 60));
        QQuickItem *list = nullptr;
        QTRY_VERIFY((list = item(QStringLiteral("editorLines"))) != nullptr);
        QQuickItem *first = nullptr;
        QTRY_VERIFY((first = findItem(list, QStringLiteral("lineCard-0"))) != nullptr);
        // The header settles first: while it grows at the top, the list keeps to the top.
        auto *header = list->property("headerItem").value<QQuickItem *>();
        QVERIFY(header);
        qreal height = -1;
        for (int i = 0; i < 30 && header->height() != height; ++i) {
            height = header->height();
            QTest::qWait(200);
        }
        first->forceActiveFocus(Qt::TabFocusReason);
        const QRectF view = list->mapRectToScene(list->boundingRect());
        int lines = 0;
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            QQuickItem *focused = m_window->activeFocusItem();
            QVERIFY(focused);
            if (!focused->objectName().startsWith(QLatin1String("lineCard-")))
                continue;
            ++lines;
            QTRY_VERIFY2(view.contains(focused->mapRectToScene(focused->boundingRect())),
                         qPrintable(AccessibilityAudit::describe(focused) + QStringLiteral(" is out of view")));
        }
        QVERIFY2(lines >= 5, qPrintable(QString::number(lines)));
    }

    // Tab runs down the estimate's lines in their order and then leaves the list; Shift+Tab runs
    // back up to the grouping segments above them.
    void tabWalksLinesInOrder()
    {
        QVERIFY(openDeviceProject(QStringLiteral("line-order"), 8));
        QQuickItem *list = nullptr;
        QTRY_VERIFY((list = item(QStringLiteral("editorLines"))) != nullptr);
        QQuickItem *first = nullptr;
        QTRY_VERIFY((first = findItem(list, QStringLiteral("lineCard-0"))) != nullptr);
        QTest::qWait(400);
        const int count = list->property("count").toInt();
        QVERIFY(count >= 8);
        first->forceActiveFocus(Qt::TabFocusReason);
        const auto focusedName = [this] {
            QQuickItem *focused = m_window->activeFocusItem();
            return focused ? focused->objectName() : QString();
        };
        for (int i = 1; i < count; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            QCOMPARE(focusedName(), QStringLiteral("lineCard-%1").arg(i));
        }
        QTest::keyClick(m_window, Qt::Key_Tab);
        QVERIFY2(!focusedName().startsWith(QLatin1String("lineCard-")), qPrintable(focusedName()));
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QCOMPARE(focusedName(), QStringLiteral("lineCard-%1").arg(count - 1));
        for (int i = count - 2; i >= 0; --i) {
            QTest::keyClick(m_window, Qt::Key_Backtab);
            QCOMPARE(focusedName(), QStringLiteral("lineCard-%1").arg(i));
        }
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QCOMPARE(m_window->activeFocusItem(), checkedChoice(item(QStringLiteral("groupModeControl"))));
    }

    // Every stop Tab reaches in a part of the window shows its focus ring, whole.
    void focusRingOnEveryStop_data()
    {
        QTest::addColumn<QString>("where");
        for (const char *where : {"guest-editor", "guest-settings", "account-projects", "account-payments",
                                  "account-analytics", "tour", "create-sheet", "line-form"})
            QTest::newRow(where) << QString::fromLatin1(where);
    }
    void focusRingOnEveryStop()
    {
        QFETCH(QString, where);
        const bool account = where.startsWith(QLatin1String("account"));
        BackendData &data = m_account.backend.data();
        const QList<QJsonObject> projects = data.projects;
        const QList<QJsonObject> payments = data.payments;
        const auto restore = qScopeGuard([&] {
            data.projects = projects;
            data.payments = payments;
        });
        if (where == QLatin1String("account-analytics"))
            seedAnalytics(3);
        if (where == QLatin1String("tour"))
            m_env.addDeviceProjects(3, QStringLiteral("Мобильное приложение"));
        else if (!account)
            m_env.repository().upsert(
                SampleEstimates::project(5, QStringLiteral("one_time"), QStringLiteral("ring-editor")));
        open(QStringLiteral("light"), where != QLatin1String("tour"), !account);
        MainShellViewModel *vm = account ? signedInShell() : shell();
        QVERIFY(vm);
        if (account) {
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            vm->setSelectedProjectId(vm->projectsService()->projects().first().id);
        }
        if (where == QLatin1String("guest-editor") || where == QLatin1String("line-form")) {
            vm->setSelectedProjectId(QStringLiteral("ring-editor"));
            QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
        } else if (where == QLatin1String("guest-settings")) {
            vm->setMainSection(QStringLiteral("settings"));
        } else if (where == QLatin1String("account-payments")) {
            QVERIFY(openPayments(vm, vm->projectsService()->projects().first().id));
        } else if (where == QLatin1String("account-analytics")) {
            QVERIFY(openAnalytics(vm));
        } else if (where == QLatin1String("tour")) {
            QTRY_VERIFY(vm->tour()->hasDemoProject());
            vm->tour()->setStep(1);
            QTRY_VERIFY(item(QStringLiteral("onboardingNext"))
                        && item(QStringLiteral("onboardingNext"))->hasActiveFocus());
        } else if (where == QLatin1String("create-sheet")) {
            QVERIFY(pressCreate());
        }
        if (where == QLatin1String("line-form")) {
            item(QStringLiteral("lineCard-0"))->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_VERIFY(input(QStringLiteral("formTitle")) && input(QStringLiteral("formTitle"))->hasActiveFocus());
        }
        QTest::qWait(400); // loads, sheets and the tour's card settle
        if (!m_window->activeFocusItem())
            focusFirstStop();
        QList<QQuickItem *> reached;
        const QStringList faults = unseenFocusStops(150, &reached);
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("\n  ") + faults.join(QStringLiteral("\n  "))));
        QVERIFY2(reached.size() >= 4, qPrintable(QString::number(reached.size())));
    }

    // The ring is the keyboard's: a click on a control leaves none.
    void noFocusRingAfterClick()
    {
        // A window wide enough for the group control to stand in view without scrolling.
        QVERIFY(openDeviceProject(QStringLiteral("ring-click"), 5, QStringLiteral("light"), QSize(1400, 1000)));
        QQuickItem *segments = nullptr;
        QTRY_VERIFY((segments = item(QStringLiteral("groupModeControl"))) != nullptr && segments->isVisible());
        QTest::qWait(300);
        const auto click = [this](QQuickItem *target) {
            QVERIFY(target);
            QVERIFY2(m_window->contentItem()->contains(centreOf(target)),
                     qPrintable(AccessibilityAudit::describe(target)));
            clickCentre(target);
            QTest::qWait(50);
            const QStringList rings = FocusCheck::shownRings(m_window);
            QVERIFY2(rings.isEmpty(),
                     qPrintable(AccessibilityAudit::describe(target) + QStringLiteral(" clicked: ")
                                + rings.join(QStringLiteral("; "))));
        };
        // Each took the focus from a Tab first, so that the click has a ring to take away.
        const QList<QQuickItem *> choices = choicesOf(segments);
        QVERIFY(choices.size() >= 2);
        choices.first()->forceActiveFocus(Qt::TabFocusReason);
        QVERIFY(!FocusCheck::shownRings(m_window).isEmpty());
        click(choices.last());
        click(item(QStringLiteral("saveButton")));
        click(selectField(QStringLiteral("statusSelect")));
        click(selectField(QStringLiteral("statusSelect")));
        QQuickItem *menu = item(QStringLiteral("actionsMenuButton"));
        click(menu);
        QTest::keyClick(m_window, Qt::Key_Escape);
        // The project grid takes the focus from a press on a card: the selection shows, no ring.
        QQuickItem *cards = item(QStringLiteral("projectCards"));
        QVERIFY(cards);
        cards->forceActiveFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!FocusCheck::shownRings(m_window).isEmpty());
        item(QStringLiteral("sidebarRow-projects"))->forceActiveFocus(Qt::TabFocusReason);
        QQuickItem *card = findItem(cards, QStringLiteral("projectRow-ring-click"));
        click(card);
        QVERIFY(cards->hasActiveFocus());
    }

    // A menu opened from the keyboard: the entry the arrows reach shows the ring.
    void menuEntriesShowFocus()
    {
        QVERIFY(openDeviceProject(QStringLiteral("ring-menu")));
        QQuickItem *button = nullptr;
        QTRY_VERIFY((button = item(QStringLiteral("actionsMenuButton"))) != nullptr);
        focusFirstStop();
        QVERIFY(tabTo(button));
        QTest::keyClick(m_window, Qt::Key_Space);
        auto *menu = m_window->findChild<QObject *>(QStringLiteral("editorActionsMenu"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->property("opened").toBool());
        // Opened by a key: the first entry has the focus, with its ring.
        QTRY_VERIFY(m_window->activeFocusItem()
                    && m_window->activeFocusItem()->objectName().startsWith(QLatin1String("menuEntry-")));
        QCOMPARE(menu->property("currentIndex").toInt(), 0);
        QVERIFY(m_window->activeFocusItem()->property("highlighted").toBool());
        QVERIFY2(FocusCheck::problem(m_window).isEmpty(), qPrintable(FocusCheck::problem(m_window)));
        QSet<QQuickItem *> entries;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(m_window, Qt::Key_Down);
            QQuickItem *focused = m_window->activeFocusItem();
            QVERIFY(focused && focused->objectName().startsWith(QLatin1String("menuEntry-")));
            entries.insert(focused);
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        }
        QVERIFY(entries.size() >= 2);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!menu->property("visible").toBool());
    }

    // A group of choices is one Tab stop: Tab enters at the chosen one, the arrows choose the
    // next or the previous one, and Tab leaves the group.
    void arrowsMoveChoice_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("property");
        QTest::newRow("segments") << "groupModeControl"
                                  << "groupMode";
        QTest::newRow("sphere chips") << "sphereChips"
                                      << "activeSphereId";
    }
    void arrowsMoveChoice()
    {
        QFETCH(QString, group);
        QFETCH(QString, property);
        QVERIFY(openDeviceProject(QStringLiteral("arrow-choice")));
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        QObject *model = property == QLatin1String("groupMode") ? static_cast<QObject *>(screen->editor()) : screen;
        QQuickItem *choices = nullptr;
        QTRY_VERIFY((choices = item(group)) != nullptr && choices->isVisible());
        QTest::qWait(300);
        const QList<QQuickItem *> all = choicesOf(choices);
        QVERIFY(all.size() >= 3);
        QQuickItem *chosen = checkedChoice(choices);
        QVERIFY(chosen);
        const qsizetype at = all.indexOf(chosen);
        // The stop before the group, then Tab into it.
        chosen->nextItemInFocusChain(false)->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Tab);
        QCOMPARE(m_window->activeFocusItem(), chosen);
        const QString before = model->property(qPrintable(property)).toString();
        // Right moves on unless the chosen one is the last; then Left moves back.
        const bool forward = at + 1 < all.size();
        QQuickItem *next = all.at(forward ? at + 1 : at - 1);
        QTest::keyClick(m_window, forward ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(m_window->activeFocusItem(), next);
        QTRY_VERIFY(model->property(qPrintable(property)).toString() != before);
        QTRY_VERIFY(next->property("checked").toBool());
        QVERIFY(!chosen->property("checked").toBool());
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        // Tab leaves the group, Shift+Tab comes back to the new choice.
        QTest::keyClick(m_window, Qt::Key_Tab);
        QVERIFY(!all.contains(m_window->activeFocusItem()));
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QCOMPARE(m_window->activeFocusItem(), next);
        // The other way back to the first choice.
        QTest::keyClick(m_window, forward ? Qt::Key_Left : Qt::Key_Right);
        QCOMPARE(m_window->activeFocusItem(), chosen);
        QTRY_COMPARE(model->property(qPrintable(property)).toString(), before);
    }

    // Puts the keyboard focus on the window's first Tab stop, as a Tab press into a fresh window
    // does. The window is not activated: other tests' windows on the same display would take it away.
    void focusFirstStop()
    {
        QQuickItem *first = m_window->contentItem()->nextItemInFocusChain(true);
        QVERIFY(first);
        first->forceActiveFocus(Qt::TabFocusReason);
    }

    // Presses Tab from the window's start until the target has the focus.
    bool tabTo(QQuickItem *target, int presses = 120)
    {
        if (!target)
            return false;
        for (int i = 0; i < presses && !target->hasActiveFocus(); ++i)
            QTest::keyClick(m_window, Qt::Key_Tab);
        return target->hasActiveFocus();
    }
    // Tab until the keyboard reaches a control that is made only as it comes into sight.
    bool tabUntil(const std::function<bool()> &reached, int presses = 120)
    {
        for (int i = 0; i < presses && !reached(); ++i)
            QTest::keyClick(m_window, Qt::Key_Tab);
        return reached();
    }

    // Keyboard focus as a person sees it: a field, a primary button, a segment, a sidebar row, a
    // toolbar button and a tour button, each reached by Tab, at the default and the smallest
    // window size.
    void focusShots_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QSize>("size");
        for (const char *scheme : {"light", "dark"}) {
            QTest::addRow("%s default", scheme) << QString::fromLatin1(scheme) << QSize(960, 640);
            QTest::addRow("%s minimum", scheme) << QString::fromLatin1(scheme) << minimumWindowSize;
        }
    }
    void focusShots()
    {
        QFETCH(QString, scheme);
        QFETCH(QSize, size);
        const QString suffix = QStringLiteral("%1-%2x%3").arg(scheme).arg(size.width()).arg(size.height());
        QVERIFY(openDeviceProject(QStringLiteral("focus-shots"), 5, scheme, size));
        QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
        QTest::qWait(400);
        focusFirstStop();
        const QList<std::pair<const char *, QQuickItem *>> targets{
            {"sidebar-row", item(QStringLiteral("sidebarRow-settings"))},
            {"toolbar-button", item(QStringLiteral("actionsMenuButton"))},
            {"primary-button", item(QStringLiteral("saveButton"))},
            {"field", input(QStringLiteral("nameField"))},
            {"line", item(QStringLiteral("lineCard-0"))}};
        for (const auto &[name, target] : targets) {
            QVERIFY2(tabTo(target), name);
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
            shoot(QStringLiteral("focus-%1-%2").arg(QLatin1String(name), suffix));
        }
        // The grouping segments stand just above the first line, which brought them into view.
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QCOMPARE(m_window->activeFocusItem(), checkedChoice(item(QStringLiteral("groupModeControl"))));
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        shoot(QStringLiteral("focus-segment-") + suffix);
    }

    // The tour's card: Tab from its main button to a bordered one and to the switch.
    void focusShotsTour_data() { focusShots_data(); }
    void focusShotsTour()
    {
        QFETCH(QString, scheme);
        QFETCH(QSize, size);
        const QString suffix = QStringLiteral("%1-%2x%3").arg(scheme).arg(size.width()).arg(size.height());
        m_env.addDeviceProjects(2, QStringLiteral("Мобильное приложение"));
        open(scheme, false, true);
        m_window->resize(size);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        QTRY_VERIFY(vm->tour()->hasDemoProject());
        vm->tour()->setStep(1);
        QQuickItem *skip = nullptr;
        QTRY_VERIFY((skip = item(QStringLiteral("onboardingSkip"))) != nullptr && skip->isVisible());
        QTRY_VERIFY(item(QStringLiteral("onboardingNext"))->hasActiveFocus());
        QTest::qWait(400);
        QVERIFY(tabTo(skip, 20));
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        shoot(QStringLiteral("focus-tour-button-") + suffix);
        QVERIFY(tabTo(item(QStringLiteral("onboardingDontShowAgain")), 20));
        shoot(QStringLiteral("focus-tour-toggle-") + suffix);
    }

    // The choices in sheets: the migration's policies, one under another, move with Down; the
    // create sheet's templates, side by side, with Right.
    void arrowsMoveInSheets_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::newRow("policies") << "migration";
        QTest::newRow("templates") << "create";
    }
    void arrowsMoveInSheets()
    {
        QFETCH(QString, sheet);
        const bool migration = sheet == QLatin1String("migration");
        QObject *model = nullptr;
        QQuickItem *group = nullptr;
        if (migration) {
            m_env.addDeviceProjects(2, QStringLiteral("Черновик"));
            m_account.backend.clearRequests();
            open(QStringLiteral("light"), true, false);
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(vm->migration()->shown());
            QQuickItem *view = nullptr;
            QTRY_VERIFY((view = item(QStringLiteral("localDataMigrationSheet"))) != nullptr);
            model = view->property("model").value<QObject *>();
            QTRY_VERIFY((group = item(QStringLiteral("policyPicker"))) != nullptr && group->isVisible());
        } else {
            open(QStringLiteral("light"), true, true);
            QVERIFY(pressCreate());
            model = m_window->findChild<CreateProjectViewModel *>();
            QTRY_VERIFY((group = item(QStringLiteral("templateCards"))) != nullptr && group->isVisible());
        }
        QVERIFY(model);
        QTest::qWait(400); // the sheet settles
        const QList<QQuickItem *> all = choicesOf(group);
        QVERIFY(all.size() >= 3);
        // Entered at the chosen policy; at the first template, none being chosen.
        QQuickItem *entry = migration ? checkedChoice(group) : all.first();
        QVERIFY(entry);
        QVERIFY(!migration || !checkedChoice(group) || checkedChoice(group) == entry);
        entry->nextItemInFocusChain(false)->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Tab);
        QCOMPARE(m_window->activeFocusItem(), entry);
        const char *property = migration ? "policy" : "hasSelectedTemplate";
        const QVariant before = model->property(property);
        const qsizetype at = all.indexOf(entry);
        const bool forward = at + 1 < all.size();
        QTest::keyClick(m_window,
                        forward ? (migration ? Qt::Key_Down : Qt::Key_Right) : (migration ? Qt::Key_Up : Qt::Key_Left));
        QQuickItem *next = all.at(forward ? at + 1 : at - 1);
        QCOMPARE(m_window->activeFocusItem(), next);
        QTRY_VERIFY(model->property(property) != before);
        QTRY_VERIFY(next->property("checked").toBool());
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        QTest::keyClick(m_window, Qt::Key_Tab);
        QVERIFY(!all.contains(m_window->activeFocusItem()));
    }

    // The options of an open select: Space opens it with the focus on the chosen option; the
    // arrows move the focus at once without choosing, Return chooses.
    void arrowsMoveInSelect()
    {
        QVERIFY(openDeviceProject(QStringLiteral("arrow-select")));
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        ProjectEditorViewModel *editor = screen->editor();
        QQuickItem *select = item(QStringLiteral("statusSelect"));
        QQuickItem *field = selectField(QStringLiteral("statusSelect"));
        QVERIFY(select && field);
        QTest::qWait(300);
        field->nextItemInFocusChain(false)->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Tab);
        QCOMPARE(m_window->activeFocusItem(), field);
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_VERIFY(select->property("isOpen").toBool());
        QTest::qWait(250);
        const QList<QQuickItem *> options = choicesOf(select);
        QVERIFY(options.size() >= 3);
        QQuickItem *chosen = checkedChoice(select);
        QVERIFY(chosen);
        QCOMPARE(m_window->activeFocusItem(), chosen);
        const QString before = editor->property("status").toString();
        const qsizetype at = options.indexOf(chosen);
        const bool forward = at + 1 < options.size();
        QQuickItem *next = options.at(forward ? at + 1 : at - 1);
        QTest::keyClick(m_window, forward ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(m_window->activeFocusItem(), next);
        QCOMPARE(editor->property("status").toString(), before);
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(editor->property("status").toString() != before);
        QTRY_VERIFY(!select->property("isOpen").toBool());
        // The keyboard goes on from the select's field.
        QCOMPARE(m_window->activeFocusItem(), field);
        const QString back = FocusCheck::problem(m_window);
        QVERIFY2(back.isEmpty(), qPrintable(back));
    }

    // The projects list in each of its states, signed in (tree) and as a guest (cards).
    void projectsList_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("state");
        for (const char *scheme : {"light", "dark"}) {
            for (const char *state :
                 {"tree", "menu", "guest-600", "guest-1200", "empty", "error", "loading", "noResults", "dialog-root",
                  "dialog-iteration", "dialog-guest", "create", "create-unsettled"})
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
            resizeBelowMinimum(QSize(600, 640));
        if (state == QLatin1String("guest-1200"))
            m_window->resize(1200, 760);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        declineMigration(vm);
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
            QTRY_VERIFY((row = findItem(list, QStringLiteral("projectRow-") + iteration)) != nullptr);
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
        } else if (state == QLatin1String("create-unsettled")) {
            // The answer names a listed project: the sheet says so and only closes.
            QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("tree"));
            backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                                BackendReply::json(201, *backend.data().project(shop)));
            list->setProperty("showCreateSheet", true);
            CreateProjectViewModel *model = nullptr;
            QTRY_VERIFY((model = m_window->findChild<CreateProjectViewModel *>()) != nullptr);
            model->setName(QStringLiteral("Сайт пекарни"));
            model->submit();
            QTRY_VERIFY(model->isUnsettled());
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

    // A new project, made by keys in the create sheet over a list scrolled far down, is the one
    // selected, and its card (a guest's) or row (signed in) stands wholly in the list's view, at
    // the smallest and a roomy window; where the editor folds the list away, once its rail's
    // button shows it again.
    void newProjectInView_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("guest");
        QTest::addColumn<QString>("scheme");
        for (const QSize size : {minimumWindowSize, QSize(1280, 800)}) {
            QTest::addRow("guest %dx%d", size.width(), size.height()) << size << true << "light";
            QTest::addRow("account %dx%d", size.width(), size.height()) << size << false << "dark";
        }
    }
    void newProjectInView()
    {
        QFETCH(QSize, size);
        QFETCH(bool, guest);
        QFETCH(QString, scheme);
        const auto restore = keepBackendData();
        addListProjects(guest, 30);
        open(scheme, true, guest);
        m_window->resize(size);
        QTRY_COMPARE(m_window->size(), size);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        declineMigration(vm);
        const QString viewName = guest ? QStringLiteral("projectCards") : QStringLiteral("projectTree");
        const auto shownView = [&]() -> QQuickItem * {
            for (QQuickItem *found : m_window->findChildren<QQuickItem *>(viewName)) {
                if (found->isVisible())
                    return found;
            }
            return nullptr;
        };
        QQuickItem *view = nullptr;
        QTRY_VERIFY((view = shownView()) != nullptr);
        QTRY_VERIFY(view->property("contentHeight").toReal() > 2 * view->height());
        QTest::qWait(100); // the list settles
        wheelDown(view, view->property("contentHeight").toReal());
        QVERIFY(view->property("contentY").toReal() > view->height());

        QVERIFY(pressCreate());
        QQuickItem *name = nullptr;
        QTRY_VERIFY((name = input(QStringLiteral("nameField"))) != nullptr && name->hasActiveFocus());
        const QString title = QStringLiteral("Сайт пекарни");
        typeText(title);
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(!item(QStringLiteral("createProjectSheet")));
        QString made;
        QTRY_VERIFY(!(made = vm->selectedProjectId()).isEmpty());
        const QList<Project> projects = vm->projectsService()->projects();
        QVERIFY(std::any_of(projects.cbegin(), projects.cend(),
                            [&](const Project &project) { return project.id == made && project.name == title; }));
        QQuickItem *rail = item(QStringLiteral("showProjectsButton"));
        if (rail && rail->isVisible()) {
            QTest::qWait(100); // the editor settles
            clickCentre(rail);
        }
        QTRY_VERIFY((view = shownView()) != nullptr);
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = findItem(view, QStringLiteral("projectRow-") + made)) != nullptr && card->isVisible());
        QVERIFY(card->property("isSelected").toBool());
        const auto outside = [&]() -> QString {
            const QRectF box = card->mapRectToScene(QRectF(0, 0, card->width(), card->height()));
            const QRectF shown = view->mapRectToScene(QRectF(0, 0, view->width(), view->height()));
            if (shown.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box))
                return {};
            return QStringLiteral("card %1,%2 %3x%4 in view %5,%6 %7x%8")
                .arg(box.x())
                .arg(box.y())
                .arg(box.width())
                .arg(box.height())
                .arg(shown.x())
                .arg(shown.y())
                .arg(shown.width())
                .arg(shown.height());
        };
        QTRY_COMPARE(outside(), QString());
        // And there it stays once the rows around it have settled.
        QVERIFY(waitForStill(m_window, [&] { return QList<QRectF>{card->mapRectToScene(card->boundingRect())}; }));
        QCOMPARE(outside(), QString());
        QDir().mkpath(QStringLiteral(TESSMARK_SCREENSHOT_DIR));
        m_window->grabWindow().save(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/projects-created-%1-%2-%3x%4.png")
                                        .arg(guest ? QStringLiteral("guest") : QStringLiteral("account"), scheme)
                                        .arg(size.width())
                                        .arg(size.height()));
    }

    // Signed in with thousands of projects and one open beside the tree, a run of Down keys ends
    // on its row; once the input has settled the window draws no more frames (a bar that fades may
    // draw one or two).
    void treeGoesIdleAfterKeys()
    {
        const auto restore = keepBackendData();
        addListProjects(false, 5000);
        open(QStringLiteral("light"), true, false);
        m_window->resize(1280, 800);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        declineMigration(vm);
        auto *list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel");
        QVERIFY(list);
        QTRY_VERIFY_WITH_TIMEOUT(list->treeModel()->rowCount() > 5000, 20000);
        const QString opened = list->treeModel()->rows().at(2).projectId;
        QVERIFY(clickWhenStill(QStringLiteral("projectRow-") + opened));
        QTRY_COMPARE(vm->selectedProjectId(), opened);
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        QTRY_VERIFY(screen->editor()->projectId() == opened && !screen->analyticsLoading()
                    && !screen->iterationsLoading());
        QTRY_VERIFY(item(QStringLiteral("projectTree"))->hasActiveFocus());
        // The pointer rests on the sidebar, away from the rows that pass.
        QTest::mouseMove(m_window, QPoint(100, m_window->height() - 20));
        for (int i = 0; i < 100; ++i)
            QTest::keyClick(m_window, Qt::Key_Down);
        const QString reached = list->treeModel()->rows().at(102).projectId;
        QTRY_COMPARE(list->currentProjectId(), reached);
        QQuickItem *row = nullptr;
        QTRY_VERIFY((row = item(QStringLiteral("projectRow-") + reached)) != nullptr && row->hasActiveFocus());
        QVERIFY(waitForStill(m_window, [row] { return QList{row->mapRectToScene(row->boundingRect())}; }));
        const int frames = framesInASecond();
        QVERIFY2(frames <= 5, qPrintable(QStringLiteral("%1 frames drawn while idle").arg(frames)));
        QVERIFY2(outOfView(row).isEmpty(), qPrintable(outOfView(row)));
        QCOMPARE(vm->selectedProjectId(), opened);

        // End and Home take the keys to the last row and back to the first, each shown whole, and
        // the window comes to rest at each.
        const QList<ProjectTreeRow> rows = list->treeModel()->rows();
        for (const auto &[key, at] : {std::pair{Qt::Key_End, rows.size() - 1}, std::pair{Qt::Key_Home, qsizetype(0)}}) {
            QTest::keyClick(m_window, key);
            const QString id = rows.at(at).projectId;
            QTRY_COMPARE(list->currentProjectId(), id);
            QTRY_VERIFY((row = item(QStringLiteral("projectRow-") + id)) != nullptr && row->hasActiveFocus());
            QVERIFY(waitForStill(m_window, [row] { return QList{row->mapRectToScene(row->boundingRect())}; }));
            QVERIFY2(outOfView(row).isEmpty(), qPrintable(outOfView(row)));
            const int shown = framesInASecond();
            QVERIFY2(shown <= 5, qPrintable(QStringLiteral("%1 frames drawn while idle").arg(shown)));
        }
        QCOMPARE(vm->selectedProjectId(), opened);
    }

    // The list's scroll bar worked by the pointer, with a project open beside the list: it shows
    // under the pointer, its handle follows a drag, a click in its track moves the list a page,
    // and the list stays where the bar put it.
    void listScrollBarByPointer_data()
    {
        QTest::addColumn<bool>("guest");
        QTest::addColumn<int>("count");
        // The first drag takes the handle to the track's end, before the list has made its last rows.
        QTest::addColumn<bool>("firstToEnd");
        QTest::newRow("cards") << true << 30 << false;
        QTest::newRow("tree") << false << 30 << false;
        QTest::newRow("cards to the end") << true << 2000 << true;
        QTest::newRow("tree to the end") << false << 1000 << true;
    }
    void listScrollBarByPointer()
    {
        QFETCH(bool, guest);
        QFETCH(int, count);
        QFETCH(bool, firstToEnd);
        const auto restore = keepBackendData();
        addListProjects(guest, count);
        open(QStringLiteral("light"), true, guest);
        m_window->resize(1280, 800);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        declineMigration(vm);
        const QString name = guest ? QStringLiteral("projectCards") : QStringLiteral("projectTree");
        auto *list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel");
        QVERIFY(list);
        QTRY_VERIFY_WITH_TIMEOUT(
            guest ? list->cardsModel()->rowCount() >= count : list->treeModel()->rowCount() >= count, 20000);
        const QString opened =
            guest ? list->cardsModel()->rows().at(1).projectId : list->treeModel()->rows().at(1).projectId;
        QVERIFY(clickWhenStill(QStringLiteral("projectRow-") + opened));
        QTRY_COMPARE(vm->selectedProjectId(), opened);
        QTRY_VERIFY(item(QStringLiteral("projectEditor")));
        QQuickItem *view = item(name);
        QQuickItem *bar = item(name + QStringLiteral("ScrollBar"));
        QVERIFY(view && bar && view->isVisible());
        QVERIFY(waitForStill(m_window, [view] { return QList{view->mapRectToScene(view->boundingRect())}; }));
        const qreal start = bar->property("position").toReal();
        QVERIFY(start < 0.1 && bar->property("size").toReal() < 0.5);
        const auto place = [view] { return view->property("contentY").toReal(); };
        const auto end = [view] {
            return view->property("originY").toReal() + view->property("contentHeight").toReal()
                + view->property("bottomMargin").toReal() - view->height();
        };

        // A first drag to the track's end shows the list's end, its last project whole.
        if (firstToEnd) {
            QVERIFY(dragBar(bar, 1));
            QVERIFY(waitForStill(m_window, [&] { return QList{QRectF(0, place(), 1, 1)}; }));
            QCOMPARE(place(), end());
            const QString last =
                guest ? list->cardsModel()->rows().last().projectId : list->treeModel()->rows().last().projectId;
            QQuickItem *row = item(QStringLiteral("projectRow-") + last);
            QVERIFY(row);
            QVERIFY2(outOfView(row).isEmpty(), qPrintable(outOfView(row)));
            return;
        }

        // Under the pointer its handle shows, as the editor's does.
        const QRectF track = bar->mapRectToScene(bar->boundingRect());
        auto *handle = bar->property("contentItem").value<QQuickItem *>();
        QVERIFY(handle);
        QTest::mouseMove(m_window, track.center().toPoint());
        QTRY_VERIFY(bar->property("hovered").toBool());
        QTRY_VERIFY(handle->opacity() > 0.5);
        const QPointF grip = handle->mapToScene(QPointF(handle->width() / 2, handle->height() / 2));
        QVERIFY(track.contains(grip));

        // A drag of the handle by a third of the track.
        QVERIFY(dragBar(bar, start + 1.0 / 3));
        const qreal dragged = bar->property("position").toReal();
        QVERIFY2(qAbs(dragged - start - 1.0 / 3) < 0.05,
                 qPrintable(QStringLiteral("%1 -> %2").arg(start).arg(dragged)));
        QVERIFY(waitForStill(m_window, [&] { return QList{QRectF(0, place(), 1, 1)}; }));
        const qreal afterDrag = place();
        QVERIFY(afterDrag > view->height());

        // A click in the track below the handle: one page on, where the list stays.
        const qreal size = bar->property("size").toReal();
        const qreal below = handle->mapToScene(QPointF(0, handle->height())).y();
        QVERIFY(below + 20 < track.bottom());
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(int(grip.x()), int(below + 20)));
        // The list measures the rows it makes on the way, which may move the bar's figures a little:
        // the page itself is checked on the list's content.
        QTRY_VERIFY(bar->property("position").toReal() > dragged + size / 2);
        QVERIFY(waitForStill(m_window, [&] { return QList{QRectF(0, place(), 1, 1)}; }));
        QVERIFY2(qAbs(place() - afterDrag - view->height()) < view->height() / 4,
                 qPrintable(QStringLiteral("%1 -> %2").arg(afterDrag).arg(place())));
        const qreal paged = place();
        QTest::qWait(300);
        QCOMPARE(place(), paged);
        QCOMPARE(vm->selectedProjectId(), opened);
        QQuickItem *current = item(QStringLiteral("projectRow-") + opened);
        QVERIFY(!current || !outOfView(current).isEmpty());

        // Clicks at the track's foot page on to the list's end (which the list may still measure
        // on the way), and no further.
        for (int i = 0; i < 20 && place() < end() - 0.5; ++i) {
            QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(int(grip.x()), int(track.bottom() - 3)));
            QVERIFY(waitForStill(m_window, [&] { return QList{QRectF(0, place(), 1, 1)}; }));
        }
        QCOMPARE(place(), end());
    }

    // A large estimate at rest after its scroll bar is dragged to three quarters of its track and
    // to its end, its wheel turned and its keys pressed: the window draws no more frames, and a
    // drag further down shows lines further down.
    void editorGoesIdleAfterBar()
    {
        const int count = 2000;
        QVERIFY(openDeviceProject(QStringLiteral("idle-editor"), count, QStringLiteral("light"), QSize(1280, 800)));
        QQuickItem *lines = nullptr;
        QTRY_VERIFY((lines = item(QStringLiteral("editorLines"))) != nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(lines->property("count").toInt(), count, 20000);
        QQuickItem *bar = item(QStringLiteral("editorScrollBar"));
        QVERIFY(bar);
        const auto place = [lines] { return lines->property("contentY").toReal(); };
        const auto still = [&] { return waitForStill(m_window, [&] { return QList{QRectF(0, place(), 1, 1)}; }); };
        QVERIFY(still());
        // The line at the middle of the view, or the first below it (between two cards is none).
        const auto middleLine = [lines] {
            int row = -1;
            const qreal top = lines->property("contentY").toReal();
            for (qreal y = lines->height() / 2; row < 0 && y < lines->height(); y += 4)
                QMetaObject::invokeMethod(lines, "indexAt", Q_RETURN_ARG(int, row), Q_ARG(qreal, lines->width() / 2),
                                          Q_ARG(qreal, top + y));
            return row;
        };
        const auto rests = [&](const QString &after) {
            // The pointer rests on the sidebar, and the bar fades away.
            QTest::mouseMove(m_window, QPoint(100, m_window->height() - 20));
            QVERIFY2(still(), qPrintable(after + QStringLiteral(": the list never stood still")));
            QTest::qWait(1000);
            const qreal at = place();
            const int frames = framesInASecond();
            QVERIFY2(frames <= 5,
                     qPrintable(QStringLiteral("%1 frames drawn at rest after %2").arg(frames).arg(after)));
            QCOMPARE(place(), at);
        };

        QVERIFY(dragBar(bar, 0.75));
        rests(QStringLiteral("a drag to 75 %"));
        if (QTest::currentTestFailed())
            return;
        const int atThreeQuarters = middleLine();
        QVERIFY2(atThreeQuarters > count / 2, qPrintable(QString::number(atThreeQuarters)));

        QVERIFY(dragBar(bar, 1));
        rests(QStringLiteral("a drag to the end"));
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(middleLine() > atThreeQuarters,
                 qPrintable(QStringLiteral("%1 -> %2").arg(atThreeQuarters).arg(middleLine())));

        // Ten notches up, one at a time.
        for (int i = 0; i < 10; ++i)
            turnWheel(lines->mapToScene(QPointF(lines->width() / 2, lines->height() / 2)), 1);
        rests(QStringLiteral("the wheel"));
        if (QTest::currentTestFailed())
            return;

        // The keys walk up the lines from one in view.
        QQuickItem *card = findItem(lines, QStringLiteral("lineCard-%1").arg(middleLine()));
        QVERIFY(card);
        card->forceActiveFocus(Qt::TabFocusReason);
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(m_window, Qt::Key_Backtab);
        QQuickItem *focused = m_window->activeFocusItem();
        QVERIFY(focused && focused->objectName().startsWith(QLatin1String("lineCard-")));
        rests(QStringLiteral("the keys"));
        QVERIFY2(outOfView(focused).isEmpty(), qPrintable(outOfView(focused)));
    }

    void exportSheet_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("state");
        for (const char *scheme : {"light", "dark"}) {
            for (const char *state :
                 {"generating", "ready", "failed", "save-dialog", "save-dialog-folders", "place-not-used"})
                QTest::addRow("%s %s", scheme, state) << QString::fromLatin1(scheme) << QString::fromLatin1(state);
        }
    }

    // The export sheet over a window of its own, with a proposal of five lines.
    void exportSheet()
    {
        QFETCH(QString, scheme);
        QFETCH(QString, state);
        // The save dialog shows a home folder of its own, with a folder and an earlier proposal.
        QTemporaryDir home;
        const QByteArray realHome = qgetenv("HOME");
        const QByteArray realConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restoreHome = qScopeGuard([&] {
            qputenv("HOME", realHome);
            if (realConfig.isEmpty())
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", realConfig);
        });
        const bool saveDialog = state.startsWith(QLatin1String("save-dialog"));
        // A folder of thirty clients: the list scrolls, a new folder is asked for, a save fails.
        const bool manyFolders = state == QLatin1String("save-dialog-folders");
        // Sizes and dates in the dialog as the application formats them.
        const auto restoreLocale = qScopeGuard([previous = QLocale()] { QLocale::setDefault(previous); });
        if (saveDialog) {
            QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
            QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents/Клиенты")));
            QFile earlier(home.filePath(QStringLiteral("Documents/Смета.pdf")));
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write(QByteArray(20480, 'x'));
            earlier.close();
            for (int i = 1; manyFolders && i <= 30; ++i) {
                const QString client = QStringLiteral("Documents/Клиент %1").arg(i, 2, 10, QLatin1Char('0'));
                QVERIFY(QDir(home.path()).mkpath(client));
            }
            qputenv("HOME", QFile::encodeName(home.path()));
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        }
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
                LateSaveAnswerAlert {}
            })");
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        auto *sheet = m_window->findChild<QQuickItem *>(QStringLiteral("exportSheet"));
        QVERIFY(sheet);
        auto *model = sheet->property("viewModel").value<ExportPDFViewModel *>();
        QVERIFY(model);
        // A place chosen in the desktop's dialog after the save ended, told over the sheet.
        const bool placeNotUsed = state == QLatin1String("place-not-used");
        // The progress is shot while a large proposal is drawn, over and over until the shot is
        // taken (at most 20 s), on one render thread and with Qt's own pool of one thread, as on a
        // machine of one CPU: the window draws its progress all the same, without waiting for it.
        const bool generating = state == QLatin1String("generating");
        QThreadPool renders;
        renders.setMaxThreadCount(1);
        model->setWorkPool(&renders);
        const int qtThreads = QThreadPool::globalInstance()->maxThreadCount();
        auto shot = std::make_shared<std::atomic_bool>(false);
        auto drawingEnded = std::make_shared<std::atomic_bool>(false);
        const auto renderEnds = qScopeGuard([&] {
            shot->store(true);
            model->discard();
            QThreadPool::globalInstance()->setMaxThreadCount(qtThreads);
        });
        if (generating) {
            QThreadPool::globalInstance()->setMaxThreadCount(1);
            model->setGenerator([shot, drawingEnded](const CommercialProposalInput &,
                                                     std::stop_token stop) -> std::optional<QString> {
                const CommercialProposalInput large = sampleProposal(2000);
                for (QDeadlineTimer drawing(20000); !shot->load() && !stop.stop_requested() && !drawing.hasExpired();)
                    CommercialProposalPDF::render(large, QDate::currentDate(), stop);
                drawingEnded->store(true);
                return std::nullopt;
            });
        } else if (state == QLatin1String("failed")) {
            model->setGenerator(
                [](const CommercialProposalInput &, std::stop_token) { return std::optional<QString>(); });
        }
        QMetaObject::invokeMethod(sheet, "open");
        if (saveDialog) {
            // Opened with the sheet's button, then a name of a file that is there, and Return.
            QTRY_VERIFY_WITH_TIMEOUT(!model->pdfUrl().isEmpty(), 30000);
            QQuickItem *button = nullptr;
            QTRY_VERIFY((button = item(QStringLiteral("saveButton"))) && button->isVisible() && button->height() > 0);
            clickCentre(button);
            QObject *dialog = nullptr;
            QTRY_VERIFY((dialog = button->findChild<QObject *>(QStringLiteral("saveFileDialog")))
                        && dialog->property("opened").toBool());
            QQuickItem *rows = nullptr;
            QTRY_VERIFY((rows = item(QStringLiteral("folderRows")))
                        && rows->property("count").toInt() == (manyFolders ? 32 : 2));
            QTest::qWait(100);
            if (manyFolders) {
                shootFolderDialog(scheme, rows);
                QTRY_VERIFY(!model->isSaving());
                return;
            }
            shoot(QStringLiteral("export-save-dialog-") + scheme);
            // Typed once the name field shows its cursor, as a person does.
            QQuickItem *name = input(QStringLiteral("fileNameField"));
            QVERIFY(name);
            activate();
            QTRY_VERIFY(name->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
            for (const QChar c : QStringLiteral("Смета")) {
                QTest::sendKeyEvent(QTest::Press, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
            QTRY_COMPARE(name->property("text").toString(), QStringLiteral("Смета"));
            QTest::keyClick(m_window, Qt::Key_Return);
            QObject *replace = dialog->findChild<QObject *>(QStringLiteral("replaceFileAlert"));
            QVERIFY(replace);
            QCOMPARE(safeButton(QStringLiteral("replaceFileAlert")), item(QStringLiteral("dialogButton1")));
            QTest::qWait(100);
            shoot(QStringLiteral("export-replace-") + scheme);
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY(!replace->property("opened").toBool());
            QVERIFY(model->isSaving());
            clickCentre(item(QStringLiteral("saveDialogCancel")));
            QTRY_VERIFY(!model->isSaving());
            return;
        }
        if (state == QLatin1String("ready") || placeNotUsed)
            QTRY_VERIFY_WITH_TIMEOUT(!model->pdfUrl().isEmpty(), 30000);
        else if (state == QLatin1String("failed"))
            QTRY_VERIFY(!model->errorMessage().isEmpty());
        else
            QVERIFY(model->isGenerating());
        if (placeNotUsed) {
            tellPlaceNotUsed();
            QVERIFY(safeButton(QStringLiteral("placeNotUsedAlert")));
            QTest::qWait(100); // the alert's opening
        }
        shoot(QStringLiteral("export-sheet-%1-%2").arg(state, scheme));
        if (generating) {
            // A grab while the render runs shows the progress's text.
            QQuickItem *progress = item(QStringLiteral("progressText"));
            QVERIFY(progress && progress->isVisible());
            const QImage drawn = m_window->grabWindow().convertToFormat(QImage::Format_RGB32);
            QVERIFY2(!drawingEnded->load(), "the window waited for the render");
            const qreal ratio = drawn.width() / qreal(m_window->width());
            const QRect area = QRectF(progress->mapRectToScene(progress->boundingRect()).topLeft() * ratio,
                                      progress->mapRectToScene(progress->boundingRect()).bottomRight() * ratio)
                                   .toRect()
                                   .intersected(drawn.rect());
            // The text stands centred in a row as wide as the sheet: its left end is background.
            const QColor background(drawn.pixel(area.left(), area.center().y()));
            int inked = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QColor seen(drawn.pixel(x, y));
                    inked += std::abs(seen.lightness() - background.lightness()) > 40;
                }
            }
            QVERIFY2(inked > 40, qPrintable(QStringLiteral("%1 pixels of text drawn").arg(inked)));
        }
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

    // The analytics section: the dashboard and its detail panel, in a larger window; and with
    // figures near the largest a double holds, every one inside its box.
    void analytics_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("huge");
        for (const char *scheme : {"light", "dark"}) {
            // Two groups: their names stand straight, broken between words, even at the smallest window.
            for (int count : {0, 1, 2, 12, 40})
                QTest::addRow("%s %d", scheme, count) << QString::fromLatin1(scheme) << count << false;
            QTest::addRow("%s huge", scheme) << QString::fromLatin1(scheme) << 3 << true;
        }
    }
    void analytics()
    {
        QFETCH(QString, scheme);
        QFETCH(int, count);
        QFETCH(bool, huge);
        const auto restore = keepBackendData();
        const QString iteration = seedAnalytics(count);
        if (huge)
            makeFiguresHuge();

        open(scheme, true, false);
        m_window->resize(1400, 1000);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        AnalyticsDashboardModel *model = openAnalytics(vm);
        QVERIFY(model);
        const QString name = huge ? QStringLiteral("analytics-huge-%1").arg(scheme)
                                  : QStringLiteral("analytics-%1-%2").arg(count).arg(scheme);
        shoot(name);
        if (count == 0)
            return;
        // A reader hears the cards' and the detail's figures as the page shows them.
        if (m_audit && QAccessible::isActive()) {
            QQuickItem *remaining = nullptr;
            QTRY_VERIFY((remaining = item(QStringLiteral("remainingRow"))) != nullptr);
            QAccessibleInterface *line = QAccessible::queryAccessibleInterface(remaining);
            QVERIFY(line);
            QCOMPARE(line->role(), QAccessible::StaticText);
            QCOMPARE(line->text(QAccessible::Name), vm->selectedAnalyticsRow().figures().at(3).spokenLine());
            QQuickItem *plan = item(QStringLiteral("kpiGrid"))->childItems().value(1);
            QVERIFY(plan);
            QAccessibleInterface *card = QAccessible::queryAccessibleInterface(plan);
            QCOMPARE(card->text(QAccessible::Name), QStringLiteral("План"));
            QCOMPARE(card->text(QAccessible::Description), model->kpiFigures().at(1).spokenValue());
        }
        // Down to the charts and the table.
        auto *flick = qobject_cast<QQuickItem *>(item(QStringLiteral("analyticsScroll")));
        const QQuickItem *charts = item(QStringLiteral("analyticsCharts"));
        QVERIFY(flick && charts);
        const auto showFrom = [&](const QQuickItem *target) {
            const QPointF top = target->mapToItem(flick->property("contentItem").value<QQuickItem *>(), QPointF(0, 0));
            flick->setProperty("contentY", top.y() - 20);
        };
        const auto showCharts = [&] { showFrom(charts); };
        showCharts();
        // At each size of the check, once the page has flowed to its new width.
        const auto placeCharts = [&] {
            const auto chartsAt = [&] { return QList<QRectF>{charts->mapRectToScene(charts->boundingRect())}; };
            for (int i = 0; i < 5; ++i) {
                QVERIFY(waitForStill(m_window, chartsAt));
                const qreal top = flick->mapToScene(QPointF(0, 0)).y() + 20;
                if (std::abs(chartsAt().first().top() - top) < 1)
                    return;
                showCharts();
            }
        };
        shoot(name + QStringLiteral("-charts"), placeCharts);
        if (huge) {
            // The detail's figures wrap inside the pane, its button in view below them.
            QQuickItem *payments = nullptr;
            QTRY_VERIFY((payments = item(QStringLiteral("analyticsDetailPayments"))) != nullptr);
            const auto button = [&] {
                return payments->mapRectToScene(QRectF(0, 0, payments->width(), payments->height()));
            };
            // Once the pane has flowed to the window's size again after the shots' sizes.
            QTRY_VERIFY2(QRectF(0, 0, m_window->width(), m_window->height()).contains(button()),
                         qPrintable(QStringLiteral("%1,%2 %3x%4").arg(button().x()).arg(button().y())
                                        .arg(button().width()).arg(button().height())));
        }
        if (!iteration.isEmpty() && !huge) {
            const QList<AnalyticsProjectRow> &rows = model->rows();
            const auto at = std::find_if(rows.cbegin(), rows.cend(),
                                         [&](const AnalyticsProjectRow &row) { return row.id == iteration; });
            QVERIFY(at != rows.cend());
            model->select(int(at - rows.cbegin()));
            QTRY_COMPARE(vm->selectedAnalyticsRow().id, iteration);
            shoot(name + QStringLiteral("-iteration"));
        }
        // The page at the window's smallest, its default, a roomy and a wide size: the names under
        // the bars, the legends and the charts' width at each (the layout check has its own sizes).
        if ((count == 2 || count == 12) && !huge && !m_layoutCheck && !m_audit) {
            for (const QSize size : {minimumWindowSize, QSize(960, 640), QSize(1280, 800), QSize(1920, 1080)}) {
                m_window->resize(size);
                QTRY_COMPARE(m_window->size(), size);
                flick->setProperty("contentY", flick->property("originY"));
                const QString sized = QStringLiteral("%1-%2x%3").arg(name).arg(size.width()).arg(size.height());
                shoot(sized);
                showCharts();
                shoot(sized + QStringLiteral("-charts"));
                showFrom(item(QStringLiteral("statusChart")));
                shoot(sized + QStringLiteral("-statuses"));
            }
        }
    }

    // Every project's planned, done and paid money and planned hours near the largest a double
    // holds, as are its payments (one received and one pending each, so that no sum overflows
    // within a project).
    void makeFiguresHuge()
    {
        const double huge = 1.7e308;
        BackendData &data = m_account.backend.data();
        for (QJsonObject &project : data.projects) {
            project.insert(QStringLiteral("items"),
                           QJsonArray{QJsonObject{{QStringLiteral("title"), QStringLiteral("Работа")},
                                                  {QStringLiteral("category"), QStringLiteral("backend")},
                                                  {QStringLiteral("hours"), 1},
                                                  {QStringLiteral("rate"), huge},
                                                  {QStringLiteral("isLocked"), false},
                                                  {QStringLiteral("done"), true}}});
            project.insert(QStringLiteral("totalCost"), huge);
            project.insert(QStringLiteral("totalHours"), huge);
        }
        for (QJsonObject &payment : data.payments)
            payment.insert(QStringLiteral("amount"), huge);
    }

    // The payments hub, the finance view in its states, the sheet and the editor's strip.
    void payments_data() { schemes(); }
    void payments()
    {
        QFETCH(QString, scheme);
        BackendData &data = m_account.backend.data();
        const BackendData saved = data;
        const auto restore = qScopeGuard([&] {
            m_account.backend.clearOverrides();
            m_account.backend.data() = saved;
        });
        const QString owner = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        data.projects.clear();
        data.payments.clear();
        // Totals are counted from lines by the backend; these projects carry theirs as given.
        const auto add = [&](const QJsonObject &fields) {
            QJsonObject &added = data.addProject(owner, fields);
            for (const QString &key : {QStringLiteral("totalCost"), QStringLiteral("totalHours")}) {
                if (fields.contains(key))
                    added.insert(key, fields.value(key));
            }
            return added.value(QStringLiteral("id")).toString();
        };
        const QString shop = add({{"name", "Интернет-магазин"},
                                  {"clientName", "ООО «Ромашка»"},
                                  {"totalCost", 480000},
                                  {"totalHours", 160},
                                  {"projectType", "iterative"},
                                  {"status", "in_progress"}});
        const QString app =
            add({{"name", "Мобильное приложение"}, {"totalCost", 1250000}, {"projectType", "iterative"}});
        const QString landing = add({{"name", "Лендинг студии"},
                                     {"clientName", "Студия «Лён»"},
                                     {"totalCost", 64000},
                                     {"status", "completed"}});
        for (int v = 1; v <= 3; ++v)
            add({{"name", "Магазин"},
                 {"parentProjectId", shop},
                 {"version", v},
                 {"iterationName", QStringList{"MVP", "Каталог и корзина", "Оплата онлайн"}.at(v - 1)},
                 {"totalCost", 120000.0 * v},
                 {"status", v == 3 ? "draft" : "completed"}});
        for (int v = 1; v <= 2; ++v)
            add({{"name", "Приложение"}, {"parentProjectId", app}, {"version", v}, {"totalCost", 400000.0 * v}});
        const QStringList statuses{"received", "pending", "cancelled"};
        for (int i = 0; i < 6; ++i) {
            const QJsonValue note = i % 2 ? QJsonValue("Аванс по договору №12, второй этап работ") : QJsonValue();
            data.addPayment(shop, owner, 40000 + 15000 * i, statuses.at(i % 3), {{"note", note}});
        }
        data.aiSnapshots.insert(shop,
                                QJsonObject{{"id", "snap-1"},
                                            {"createdAt", BackendData::now()},
                                            {"totalHours", 150},
                                            {"totalCost", 455000},
                                            {"requirementsPreview",
                                             "Интернет-магазин одежды: каталог, корзина, оплата картой, личный "
                                             "кабинет, интеграция с 1С и службами доставки, админка"}});

        open(scheme, true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        vm->setMainSection(QStringLiteral("payments"));
        QTRY_COMPARE(vm->projectsService()->projects().size(), 8);
        vm->setSelectedFinanceProjectId(shop);
        QTRY_VERIFY(vm->hasFinanceProject());
        shoot(QStringLiteral("payments-history-") + scheme);
        // The snapshot's title, sum, preview and difference from the plan are read as they show.
        for (const char *name : {"aiTitle", "aiCost", "aiPreview", "aiDelta"}) {
            QQuickItem *text = item(QString::fromLatin1(name));
            QAccessibleInterface *node = m_audit && text ? QAccessible::queryAccessibleInterface(text) : nullptr;
            QVERIFY2(!m_audit
                         || (node && AccessibilityAudit::shown(text) && node->role() == QAccessible::StaticText
                             && node->text(QAccessible::Name) == text->property("text").toString()),
                     name);
        }
        scrollFinanceToEnd(m_window);
        shoot(QStringLiteral("payments-history-list-") + scheme);

        auto *search = m_window->findChild<QQuickItem *>(QStringLiteral("hubSearch"));
        QVERIFY(search);
        search->setProperty("text", QStringLiteral("магазин"));
        vm->setSelectedFinanceProjectId(landing);
        shoot(QStringLiteral("payments-search-empty-history-") + scheme);
        search->setProperty("text", QString());

        m_account.backend.setOverride("GET", QStringLiteral("projects/%1/payments").arg(app),
                                      BackendReply::message(500, "Сервис платежей временно недоступен"));
        vm->setSelectedFinanceProjectId(app);
        scrollFinanceToEnd(m_window);
        shoot(QStringLiteral("payments-error-") + scheme);
        m_account.backend.setOverride("GET", QStringLiteral("projects/%1/payments").arg(shop),
                                      BackendReply::json(200, QJsonArray()).after(5000));
        vm->setSelectedFinanceProjectId(shop);
        shoot(QStringLiteral("payments-loading-") + scheme);
        m_account.backend.clearOverrides();

        // The sheet over a 600-wide window, on the project with history and a snapshot.
        ProjectsService projects(false, {}, m_account.api.get());
        shootAlone(
            QByteArrayLiteral("import QtQuick\nimport Tessmark.Design\nimport Tessmark.Features.Finance\n"
                              "Window { color: AppTheme.background\n"
                              "  property alias sheet: sheet\n"
                              "  ProjectFinanceSheet { id: sheet; anchors.fill: parent;"
                              "    projectName: \"Интернет-магазин одежды и аксессуаров\"; currency: \"RUB\" } }"),
            scheme, QSize(600, 720), QStringLiteral("payments-sheet-") + scheme, [&](QObject *root) {
                QObject *sheet = root->property("sheet").value<QObject *>();
                sheet->setProperty("projectsService", QVariant::fromValue(&projects));
                sheet->setProperty("projectId", shop);
                QMetaObject::invokeMethod(sheet, "open");
            });

        EstimateAnalytics withDelta;
        withDelta.currency = QStringLiteral("USD");
        withDelta.planned.totalCost = 480000;
        withDelta.paid.receivedTotal = 180000;
        withDelta.lastAiSnapshot = EstimateAnalytics::AiSnapshotSummary{};
        withDelta.deltaFromAi = EstimateAnalytics::DeltaTotals{10, 25000};
        shootAlone(
            QByteArrayLiteral("import QtQuick\nimport Tessmark.Design\nimport Tessmark.Features.Finance\n"
                              "Window { color: AppTheme.background\n"
                              "  property alias last: last\n"
                              "  Column { x: 20; y: 20; width: parent.width - 40; spacing: 16\n"
                              "    ProjectFinanceBanner { width: parent.width; currency: \"RUB\"; isLoading: true }\n"
                              "    ProjectFinanceBanner { width: parent.width; currency: \"RUB\" }\n"
                              "    ProjectFinanceBanner { id: last; width: parent.width; currency: \"RUB\" } } }"),
            scheme, QSize(560, 380), QStringLiteral("payments-banner-") + scheme, [&](QObject *root) {
                root->property("last").value<QObject *>()->setProperty("analytics", QVariant::fromValue(withDelta));
            });

        data.projects.clear();
        QMetaObject::invokeMethod(m_window->findChild<QObject *>(QStringLiteral("hubRefreshButton")), "clicked");
        QTRY_VERIFY(vm->projectsService()->projects().isEmpty());
        shoot(QStringLiteral("payments-hub-empty-") + scheme);
    }

    // The sheets the editor opens, made directly: AI, template library, iterations, new iteration.
    void editorSheets_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("state");
        for (const char *scheme : {"light", "dark"}) {
            for (const char *state :
                 {"ai-idle", "ai-generating", "ai-error", "library-templates", "library-empty", "library-dialog",
                  "iterations-summary", "iterations-empty", "iterations-error", "new-iteration-server",
                  "new-iteration-form", "new-iteration-empty", "new-iteration-unsettled"})
                QTest::addRow("%s %s", state, scheme) << QString::fromLatin1(scheme) << QString::fromLatin1(state);
        }
    }
    void editorSheets()
    {
        QFETCH(QString, scheme);
        QFETCH(QString, state);
        openSheetHost(scheme);
        Project project;
        project.id = QStringLiteral("p-shot");
        project.name = QStringLiteral("Интернет-магазин");
        project.clientName = QStringLiteral("ООО «Ромашка»");
        project.currency = QStringLiteral("RUB");
        project.defaultRate = 2500;
        project.items = {
            ProjectItem{QStringLiteral("Вёрстка"), std::nullopt, QStringLiteral("frontend"), 24, 2500, false,
                        std::nullopt},
            ProjectItem{QStringLiteral("API"), std::nullopt, QStringLiteral("backend"), 16, 3000, false, std::nullopt}};
        auto *editor = new ProjectEditorViewModel(project, m_sheetService.get(), m_window);
        QVariantMap properties{{"projectsService", QVariant::fromValue(m_sheetService.get())}};

        if (state.startsWith(QLatin1String("ai-"))) {
            properties.insert("editor", QVariant::fromValue(editor));
            QQuickItem *sheet = openSheet(QStringLiteral("AIGenerateSheet"), properties);
            QVERIFY(sheet);
            auto *model = sheet->property("model").value<AIGenerateSheetModel *>();
            QVERIFY(model);
            if (state != QLatin1String("ai-idle")) {
                model->setRequirements(QStringLiteral("Каталог товаров с фильтрами, корзина, оплата картой и "
                                                      "личный кабинет покупателя."));
                model->setAdditionalContext(QStringLiteral("Интеграция с 1С"));
                model->setUseBudgetCap(true);
                model->setBudgetCapText(QStringLiteral("450000"));
                m_account.backend.setOverride(
                    QStringLiteral("POST"), QStringLiteral("ai/generate"),
                    state == QLatin1String("ai-error")
                        ? BackendReply::message(503, QStringLiteral("Сервис ИИ временно недоступен. Попробуйте позже."))
                        : BackendReply::raw(200, R"({"items":[]})").after(20000));
                model->generate();
                if (state == QLatin1String("ai-error"))
                    QTRY_VERIFY(model->hasError());
            }
        } else if (state.startsWith(QLatin1String("library-"))) {
            QQuickItem *sheet = openSheet(
                QStringLiteral("TemplateLibrarySheet"),
                {{"selectedSphereId", state == QLatin1String("library-empty") ? "no-such-sphere" : "software"}});
            QVERIFY(sheet);
            if (state == QLatin1String("library-dialog"))
                QMetaObject::invokeMethod(sheet, "ask", Q_ARG(QVariant, 1));
        } else if (state.startsWith(QLatin1String("iterations-"))) {
            const QString root = addRootWithIterations(state == QLatin1String("iterations-empty") ? 0 : 3);
            properties.insert("rootProjectId", root);
            if (state == QLatin1String("iterations-error"))
                m_account.backend.setOverride(
                    QStringLiteral("GET"), QStringLiteral("projects/%1/iterations").arg(root),
                    BackendReply::message(500, QStringLiteral("Сервер временно недоступен. Попробуйте позже.")));
            QQuickItem *sheet = openSheet(QStringLiteral("ProjectIterationsSheet"), properties);
            QVERIFY(sheet);
            if (state == QLatin1String("iterations-error"))
                QTRY_VERIFY(sheet->property("model").value<ProjectIterationsModel *>()->hasLoadError());
        } else {
            const QString root = addRootWithIterations(0);
            properties.insert("rootProjectId", root);
            properties.insert("copyFromCurrentItems",
                              QVariant::fromValue(ProjectEditorViewModel::projectItems(editor->items())));
            QQuickItem *sheet = openSheet(QStringLiteral("CreateIterationSheet"), properties);
            QVERIFY(sheet);
            auto *model = sheet->property("model").value<CreateIterationModel *>();
            QVERIFY(model);
            model->setName(QStringLiteral("Спринт 4"));
            model->setSourceRaw(state.mid(QStringLiteral("new-iteration-").size()));
            if (state == QLatin1String("new-iteration-unsettled")) {
                // The answer names the root itself.
                m_account.backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects/%1/iterate").arg(root),
                                              BackendReply::json(201, *m_account.backend.data().project(root)));
                model->submit();
                QTRY_VERIFY(model->isUnsettled());
            }
        }
        shoot(QStringLiteral("sheet-%1-%2").arg(state, scheme));
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
            declineMigration(vm);
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
        clickCentre(menuButton);
        shoot(QStringLiteral("editor-%1-menu-%2").arg(session, scheme));
        QTest::keyClick(m_window, Qt::Key_Escape);

        // The form on the first line.
        screen->editLine(editor->items().first().id.toString(QUuid::WithoutBraces));
        shoot(QStringLiteral("editor-%1-form-%2").arg(session, scheme));
    }
    // The editor's own checks: its width beside the list, its place across a save, its drag and
    // its lines by keys.
private:
    // A project of that many lines, in one section when oneSection, on the device for a guest or
    // in the demo account; its identity.
    QString addLongProject(bool guest, int lines, bool oneSection = false)
    {
        Project project = SampleEstimates::project(lines, QStringLiteral("one_time"),
                                                   QStringLiteral("long-%1").arg(lines));
        if (oneSection) {
            for (ProjectItem &item : project.items)
                item.category = QStringLiteral("backend");
        }
        if (guest) {
            m_env.repository().upsert(project.recalculatedTotals());
            return project.id;
        }
        BackendData &data = m_account.backend.data();
        QJsonObject fields = project.toJson();
        fields.remove(QStringLiteral("id"));
        return data.addProject(data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id, fields)
            .value(QStringLiteral("id"))
            .toString();
    }

    // Opens the window (signed in unless guest) on that project; its editor once its lines are
    // drawn and its loads are over, null (and the test failed) otherwise.
    ProjectEditorScreenModel *openEditorOn(bool guest, const QString &id,
                                           const QString &scheme = QStringLiteral("light"))
    {
        ProjectEditorScreenModel *screen = nullptr;
        [&] {
            open(scheme, true, guest);
            MainShellViewModel *vm = guest ? shell() : signedInShell();
            QVERIFY(vm);
            if (!guest) {
                QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
                declineMigration(vm);
            }
            vm->setSelectedProjectId(id);
            QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen"))
                        != nullptr);
            QTRY_COMPARE(screen->editor()->projectId(), id);
            QTRY_VERIFY(!screen->analyticsLoading() && !screen->iterationsLoading());
            QQuickItem *list = nullptr;
            QTRY_VERIFY((list = item(QStringLiteral("editorLines"))) != nullptr);
            QTRY_VERIFY(findItem(list, QStringLiteral("lineCard-0")) != nullptr);
            // The header settles first: while it grows at the top, the list keeps to the top.
            auto *header = list->property("headerItem").value<QQuickItem *>();
            QVERIFY(header);
            qreal height = -1;
            for (int i = 0; i < 30 && header->height() != height; ++i) {
                height = header->height();
                QTest::qWait(100);
            }
        }();
        return screen;
    }

    // Turns the mouse wheel at that point of the window by that many notches (up when positive).
    void turnWheel(QPointF at, int notches)
    {
        QWheelEvent wheel(at, m_window->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        // On the clock the simulated clicks run on: a list measures the wheel's speed from the
        // last press it saw, and drops a turn that seems to come before it.
        QTest::lastMouseTimestamp += 100;
        wheel.setTimestamp(QTest::lastMouseTimestamp);
        QCoreApplication::sendEvent(m_window, &wheel);
    }

    // Turns the mouse wheel over the middle of the item, notch by notch, until it has scrolled
    // that far down (or as far as it goes).
    void wheelDown(QQuickItem *flickable, qreal by)
    {
        const QPointF at = flickable->mapToScene(QPointF(flickable->width() / 2, flickable->height() / 2));
        const qreal start = flickable->property("contentY").toReal();
        // Notch by notch for a short way, four at a time for a long one.
        const int notches = by < 1000 ? 1 : 4;
        for (int i = 0; i < 60 && flickable->property("contentY").toReal() - start < by; ++i) {
            turnWheel(at, -notches);
            // A busy machine draws the flick slowly.
            QTRY_VERIFY_WITH_TIMEOUT(!flickable->property("moving").toBool(), 20000);
        }
    }

    // Wheels to the end until `shown` holds: cards that settle their heights a frame or more after
    // they are made can leave a first scroll short of the end, and a person wheels again.
    bool wheelDownUntil(QQuickItem *flickable, const std::function<bool()> &shown)
    {
        for (int round = 0; round < 10 && !shown(); ++round) {
            wheelDown(flickable, 5000);
            QTest::qWait(100);
        }
        return shown();
    }

    // The line card drawn first from the list's middle down.
    static QQuickItem *cardInMiddle(QQuickItem *list)
    {
        for (qreal y = list->height() / 2; y < list->height(); y += 8) {
            QQuickItem *card = nullptr;
            QMetaObject::invokeMethod(list, "itemAt", Q_RETURN_ARG(QQuickItem *, card), Q_ARG(qreal, list->width() / 2),
                                      Q_ARG(qreal, list->property("contentY").toReal() + y));
            if (card && card->objectName().startsWith(QLatin1String("lineCard-")))
                return card;
        }
        return nullptr;
    }
    static QQuickItem *cardAt(QQuickItem *list, int row)
    {
        QQuickItem *card = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, card), Q_ARG(int, row));
        return card;
    }

    // How many objects of the window a screen reader reads as focused; -1 while none reads it.
    int focusedObjects() const
    {
        if (!QAccessible::isActive())
            return -1;
        int count = 0;
        const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (!node || !node->isValid())
                return;
            if (node->state().focused)
                ++count;
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(m_window));
        return count;
    }

    // The keyboard is on the line card showing that line, its ring shows, and it alone reads as focused.
    void verifyFocusOnLine(const QString &lineId)
    {
        QTRY_VERIFY2(m_window->activeFocusItem()
                         && m_window->activeFocusItem()->property("lineId").toString() == lineId,
                     qPrintable(AccessibilityAudit::describe(m_window->activeFocusItem())));
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        const int focused = focusedObjects();
        QVERIFY2(focused == 1 || focused == -1, qPrintable(QString::number(focused)));
    }

    QList<qreal> m_places;
    QPointer<QQuickItem> m_watchedList;

public Q_SLOTS:
    // Notes where the watched list stands now.
    void notePlace()
    {
        if (m_watchedList)
            m_places.append(m_watchedList->property("contentY").toReal());
    }

private:
    // Shortcuts (Ctrl+S, Ctrl+F) go only to the focused window. Other tests' windows on the
    // same display take the display's focus now and then: the application is told that this
    // window has it, as the display would tell it.
    void activate(QQuickWindow *window = nullptr)
    {
        if (!window)
            window = m_window;
        QWindowSystemInterface::handleWindowActivated(window, Qt::ActiveWindowFocusReason);
        QTRY_COMPARE(QGuiApplication::focusWindow(), window);
    }

private Q_SLOTS:
    // At the smallest and the default size, the sections keep their columns usable: the sidebar
    // within its widths, the list at its minimum, the detail at its own; beside the editor the
    // list folds into a rail, so that the editor keeps its 520 points with its section titles
    // whole, and the rail's button shows the list over the editor, where a project is chosen.
    void editorColumns_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<bool>("guest");
        QTest::newRow("light guest") << "light" << true;
        QTest::newRow("dark account") << "dark" << false;
    }
    void editorColumns()
    {
        QFETCH(QString, scheme);
        QFETCH(bool, guest);
        const QString other = addLongProject(guest, 2);
        const QString id = addLongProject(guest, 24);
        ProjectEditorScreenModel *screen = openEditorOn(guest, id, scheme);
        QVERIFY(screen);
        MainShellViewModel *vm = shell();
        const auto width = [this](const char *name) {
            const QRectF rect = item(QLatin1String(name))->mapRectToScene(item(QLatin1String(name))->boundingRect());
            return rect.left() >= 0 && rect.right() <= m_window->width() + 0.5 ? rect.width() : -1;
        };
        for (const QSize size : {minimumWindowSize, QSize(960, 640)}) {
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);
            for (const char *section : {"projects", "editor", "payments", "analytics", "settings"}) {
                const bool editor = section == QByteArray("editor");
                vm->setMainSection(editor ? QStringLiteral("projects") : QString::fromLatin1(section));
                vm->setSelectedProjectId(editor ? id : QString());
                // The account's analytics page takes the width from the detail column.
                const qreal detailMin = editor ? 520 : !guest && section == QByteArray("analytics") ? 0 : 360;
                const auto fault = [&]() -> QString {
                    const qreal sidebar = width("sidebar");
                    const qreal content = width("contentColumn");
                    const qreal detail = width("detailColumn");
                    const bool fits = sidebar >= 200 && sidebar <= 260 && (editor ? content == 48 : content >= 300)
                        && detail >= detailMin;
                    if (!fits)
                        return QStringLiteral("%1 at %2: %3 %4 %5")
                            .arg(section)
                            .arg(size.width())
                            .arg(sidebar)
                            .arg(content)
                            .arg(detail);
                    return {};
                };
                QTRY_COMPARE(fault(), QString());
            }
            // Beside the editor, the list folded: its lines, every section's title whole.
            vm->setMainSection(QStringLiteral("projects"));
            vm->setSelectedProjectId(id);
            QTRY_VERIFY(item(QStringLiteral("projectEditor")) && !item(QStringLiteral("projectsList"))->isVisible());
            QQuickItem *list = item(QStringLiteral("editorLines"));
            for (int row = 0; row < 24; row += 6) {
                QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, row), Q_ARG(int, 1)); // Beginning
                QTest::qWait(20);
                const std::function<void(QQuickItem *)> whole = [&](QQuickItem *at) {
                    if (at->objectName() == QLatin1String("sectionTitle") && at->isVisible())
                        QVERIFY2(!at->property("truncated").toBool(), qPrintable(at->property("text").toString()));
                    for (QQuickItem *child : at->childItems())
                        whole(child);
                };
                whole(list);
            }
            if (size == minimumWindowSize)
                shoot(QStringLiteral("shell-folded-editor-") + scheme);
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);

            // The rail's button shows the list over the editor, whole; a project picked there
            // opens and the list folds away.
            QQuickItem *button = item(QStringLiteral("showProjectsButton"));
            QQuickItem *panel = item(QStringLiteral("projectsPanel"));
            QTRY_VERIFY(button && button->isVisible());
            clickCentre(button);
            QTRY_VERIFY(panel->isVisible());
            QVERIFY2(width("projectsList") >= 300, qPrintable(QString::number(width("projectsList"))));
            if (size == minimumWindowSize) {
                shoot(QStringLiteral("shell-folded-list-") + scheme);
                // The checks at other sizes fold it away.
                m_window->resize(size);
                QTRY_VERIFY(button->isVisible());
                if (!panel->isVisible())
                    clickCentre(button);
                QTRY_VERIFY(panel->isVisible());
            }
            QQuickItem *row = nullptr;
            QTRY_VERIFY((row = findItem(panel, QStringLiteral("projectRow-") + other)) && row->isVisible());
            QTest::qWait(50);
            clickCentre(row);
            QTRY_COMPARE(vm->selectedProjectId(), other);
            QTRY_VERIFY(!panel->isVisible());

            // By keys: Tab from the sidebar to the button, which shows it with the focus inside;
            // Escape folds it back to the button; Ctrl+F shows it with its search field.
            item(QStringLiteral("sidebarRow-settings"))->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window, Qt::Key_Tab);
            QCOMPARE(m_window->activeFocusItem(), button);
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY(panel->isVisible() && panel->isAncestorOf(m_window->activeFocusItem()));
            QCOMPARE(FocusCheck::problem(m_window), QString());
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!panel->isVisible());
            QCOMPARE(m_window->activeFocusItem(), button);
            QCOMPARE(FocusCheck::problem(m_window), QString());
            activate();
            QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
            QTRY_VERIFY(panel->isVisible());
            QCOMPARE(m_window->activeFocusItem(), item(QStringLiteral("projectsSearchInput")));
            QTest::keyClick(m_window, Qt::Key_Escape); // clears the search
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!panel->isVisible());
            vm->setSelectedProjectId(id);
        }
    }

    // Every way to save keeps the list where it was, on the same lines, and the focus where it
    // was: Ctrl+S typed in a field, the button clicked or pressed by key (among the lines, and
    // signed in also among the fields, under the finance figures that reload after a save), and
    // "Сохранить" asked on leaving, until the editor goes.
    void saveKeepsThePlace_data()
    {
        QTest::addColumn<bool>("guest");
        QTest::newRow("guest") << true;
        QTest::newRow("account") << false;
    }
    void saveKeepsThePlace()
    {
        QFETCH(bool, guest);
        ProjectEditorScreenModel *screen = openEditorOn(guest, addLongProject(guest, 30));
        QVERIFY(screen);
        ProjectEditorViewModel *editor = screen->editor();
        QQuickItem *list = item(QStringLiteral("editorLines"));
        m_watchedList = list;
        QObject::connect(list, SIGNAL(contentYChanged()), this, SLOT(notePlace()));
        QList<std::pair<QString, int>> paths{{QStringLiteral("ctrl+s"), 1500}, {QStringLiteral("click"), 1500},
                                             {QStringLiteral("space"), 1500}};
        if (!guest)
            paths.append({QStringLiteral("ctrl+s"), 300});
        paths.append({QStringLiteral("question"), 1500});
        for (const auto &[path, scrolled] : std::as_const(paths)) {
            const QString where = path + QLatin1Char(' ') + QString::number(scrolled);
            // An edit typed in the name field, then the list scrolled down.
            QMetaObject::invokeMethod(list, "positionViewAtBeginning");
            QQuickItem *name = input(QStringLiteral("nameField"));
            QTest::qWait(50);
            clickCentre(name);
            QTRY_VERIFY(name->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_End);
            QTest::keyClick(m_window, Qt::Key_1);
            QTRY_VERIFY(editor->isDirty());
            wheelDown(list, scrolled);
            QTest::qWait(100);
            // The line in the middle, when the lines reach there.
            QQuickItem *anchor = cardInMiddle(list);
            const int row = anchor ? anchor->property("index").toInt() : -1;
            const QString title = anchor ? anchor->property("shownTitle").toString() : QString();
            const qreal anchorY = anchor ? anchor->mapToItem(list, QPointF()).y() : 0;
            const qreal contentY = list->property("contentY").toReal();
            QQuickItem *focused = m_window->activeFocusItem();
            m_places.clear();
            QQuickItem *button = item(QStringLiteral("saveButton"));
            if (path == QLatin1String("question")) {
                QPointer<ProjectEditorScreenModel> shown = screen;
                clickCentre(item(QStringLiteral("sidebarRow-settings")));
                QQuickItem *save = safeButton(QStringLiteral("unsavedEditsDialog"));
                QVERIFY(save);
                QCOMPARE(save->property("text").toString(), QStringLiteral("Сохранить"));
                QTest::keyClick(m_window, Qt::Key_Return);
                QTRY_VERIFY(!shown);
                QCOMPARE(shell()->mainSection(), QStringLiteral("settings"));
            } else if (path == QLatin1String("ctrl+s")) {
                for (int i = 0; i < 3 && editor->isDirty(); ++i) {
                    activate();
                    QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
                    if (QTest::qWaitFor([editor] { return !editor->isDirty(); }, 3000))
                        break;
                }
            } else if (path == QLatin1String("click")) {
                clickCentre(button);
                focused = nullptr; // where a click leaves the focus is the button's own affair
            } else {
                button->forceActiveFocus(Qt::TabFocusReason);
                focused = button;
                QTest::keyClick(m_window, Qt::Key_Space);
            }
            if (path != QLatin1String("question")) {
                QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("saved"));
                QVERIFY(!editor->isDirty());
                QTest::qWait(200); // the finance figures reload after a save
                QTRY_VERIFY(!screen->analyticsLoading());
            }
            for (const qreal place : std::as_const(m_places))
                QVERIFY2(place == contentY, qPrintable(where + QStringLiteral(": ") + QString::number(place)));
            if (path == QLatin1String("question"))
                break;
            QCOMPARE(list->property("contentY").toReal(), contentY);
            if (row >= 0) {
                QQuickItem *same = cardAt(list, row);
                QVERIFY2(same && same->property("shownTitle").toString() == title, qPrintable(where));
                QCOMPARE(same->mapToItem(list, QPointF()).y(), anchorY);
            }
            if (focused)
                QCOMPARE(m_window->activeFocusItem(), focused);
        }
        m_watchedList = nullptr;
    }

    // A line dragged by its grip opens a gap where it will land: the lines it passes step aside
    // by its height, the others stay; dropped, it takes that place. In a sorted mode nothing
    // steps aside and the line goes back. At the smallest and the default window, in one section
    // and among several, after the list was scrolled away and back (its cards built anew).
    void dragShowsLandingGap_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("oneSection");
        QTest::addColumn<QString>("scheme");
        for (const QSize size : {minimumWindowSize, QSize(960, 640)}) {
            QTest::addRow("%dx%d flat", size.width(), size.height()) << size << true << "light";
            QTest::addRow("%dx%d grouped", size.width(), size.height()) << size << false << "light";
        }
        QTest::addRow("1280x800 grouped dark") << QSize(1280, 800) << false << "dark";
    }
    void dragShowsLandingGap()
    {
        QFETCH(QSize, size);
        QFETCH(bool, oneSection);
        QFETCH(QString, scheme);
        // Four categories in turn: sixteen lines give each section four.
        ProjectEditorScreenModel *screen = openEditorOn(true, addLongProject(true, 16, oneSection), scheme);
        QVERIFY(screen);
        m_window->resize(size);
        QTRY_COMPARE(m_window->size(), size);
        QQuickItem *list = item(QStringLiteral("editorLines"));
        EstimateSectionsModel *sections = screen->editor()->sections();
        QCOMPARE(sections->sectionRows(0).second, oneSection ? 15 : 3);
        auto *content = list->property("contentItem").value<QQuickItem *>();
        const auto placeRows = [&] {
            // Down by the wheel until the first lines are long gone from the list, and back.
            wheelDown(list, list->height() * 3);
            QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, 1), Q_ARG(int, 1)); // Center
            QTest::qWait(100);
        };
        placeRows();
        const qreal spacing = list->property("spacing").toReal();
        // Where a card is drawn, in the list's content: the list may scroll under the pointer.
        const auto drawn = [content](QQuickItem *card) {
            auto *body = card->property("contentItem").value<QQuickItem *>();
            return body->mapRectToItem(content, body->boundingRect());
        };
        const auto titleAt = [sections](int row) {
            return sections->index(row).data(EstimateSectionsModel::ShownTitleRole).toString();
        };
        const auto drag = [&](bool expectGap) {
            QList<QQuickItem *> cards;
            for (int row = 0; row < 4; ++row)
                cards.append(cardAt(list, row));
            for (QQuickItem *card : cards)
                QVERIFY(card);
            QList<QRectF> places;
            for (QQuickItem *card : cards)
                places.append(drawn(card));
            const QString moving = titleAt(0);
            QQuickItem *grip = findItem(cards.at(0), QStringLiteral("lineGrip"));
            QVERIFY(grip);
            const QPoint start = centreOf(grip).toPoint();
            QVERIFY2(m_window->contentItem()->contains(start), qPrintable(QStringLiteral("grip out of the window")));
            // Down until the dragged line's middle is over the third line's place.
            const int by = int(places.at(2).center().y() - places.at(0).center().y());
            QTest::mousePress(m_window, Qt::LeftButton, {}, start);
            for (int dy = 8; dy < by; dy += 8)
                QTest::mouseMove(m_window, start + QPoint(0, dy));
            QTest::mouseMove(m_window, start + QPoint(0, by));
            const qreal extent = places.at(0).height() + spacing;
            if (expectGap) {
                // The two lines passed step up by the dragged one's room; the next one stays.
                QTRY_COMPARE(drawn(cards.at(1)).top(), places.at(1).top() - extent);
                QTRY_COMPARE(drawn(cards.at(2)).top(), places.at(2).top() - extent);
                QCOMPARE(drawn(cards.at(3)).top(), places.at(3).top());
                // The gap is as high as the dragged line, and that line is over it.
                const qreal gapTop = drawn(cards.at(2)).bottom();
                const qreal gapBottom = drawn(cards.at(3)).top();
                QVERIFY2(gapBottom - gapTop >= places.at(0).height(), qPrintable(QString::number(gapBottom - gapTop)));
                const qreal middle = drawn(cards.at(0)).center().y();
                QVERIFY2(middle > gapTop && middle < gapBottom, qPrintable(QString::number(middle)));
                QDir().mkpath(QStringLiteral(TESSMARK_SCREENSHOT_DIR));
                m_window->grabWindow().save(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/editor-drag-gap-%1-%2-%3x%4.png")
                                                .arg(oneSection ? QStringLiteral("flat") : QStringLiteral("grouped"))
                                                .arg(scheme)
                                                .arg(size.width())
                                                .arg(size.height()));
            } else {
                QTest::qWait(200);
                for (int row = 1; row < 4; ++row)
                    QCOMPARE(drawn(cards.at(row)).top(), places.at(row).top());
            }
            QTest::mouseRelease(m_window, Qt::LeftButton, {}, start + QPoint(0, by));
            QTRY_COMPARE(titleAt(expectGap ? 2 : 0), moving);
            // Nothing stays aside once the line is down.
            QTest::qWait(50);
            for (int row = 0; row < 4; ++row)
                QCOMPARE(cardAt(list, row)->property("gapShift").toReal(), 0.0);
        };
        drag(true);
        QVERIFY(screen->editor()->isDirty());
        // Once more, over cards that have been dragged past and scrolled away since.
        placeRows();
        drag(true);
        screen->editor()->setGroupModeRaw(QStringLiteral("hoursDesc"));
        QTest::qWait(100);
        placeRows();
        drag(false);
    }

    // The Menu key and Shift+F10 open the focused line's menu, the one its right-click opens,
    // with the focus on its first entry; Escape closes only the menu and the focus goes back to
    // the line; its "Удалить" by key hands the focus on to the next line.
    void lineMenuByKeys()
    {
        ProjectEditorScreenModel *screen = openEditorOn(true, addLongProject(true, 6));
        QVERIFY(screen);
        QQuickItem *list = item(QStringLiteral("editorLines"));
        QObject *menu = m_window->findChild<QObject *>(QStringLiteral("lineMenu"));
        QVERIFY(menu);
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, 2), Q_ARG(int, 2)); // Center
        QTest::qWait(50);
        QQuickItem *card = cardAt(list, 2);
        QVERIFY(card);
        const QString lineId = card->property("lineId").toString();
        const QString nextId = cardAt(list, 3)->property("lineId").toString();
        const int count = screen->editor()->itemCount();
        // Read as a menu named after the line, the focus on its entry alone.
        const auto opensWithFocusOnFirstEntry = [&] {
            QTRY_VERIFY(menu->property("opened").toBool());
            QTRY_VERIFY(m_window->activeFocusItem());
            QCOMPARE(m_window->activeFocusItem()->objectName(), QStringLiteral("lineMenuDelete"));
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
            if (QAccessible::isActive()) {
                QAccessibleInterface *read = QAccessible::queryAccessibleInterface(m_window->activeFocusItem());
                for (; read && read->role() != QAccessible::PopupMenu; read = read->parent()) {}
                QVERIFY(read);
                QCOMPARE(read->text(QAccessible::Name), card->property("shownTitle").toString());
                QCOMPARE(focusedObjects(), 1);
            }
        };
        card->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Menu);
        opensWithFocusOnFirstEntry();
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!menu->property("visible").toBool());
        verifyFocusOnLine(lineId);
        QVERIFY(item(QStringLiteral("projectEditor")));
        QCOMPARE(screen->editor()->itemCount(), count);

        QTest::keyClick(m_window, Qt::Key_F10, Qt::ShiftModifier);
        opensWithFocusOnFirstEntry();
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_COMPARE(screen->editor()->itemCount(), count - 1);
        QCOMPARE(screen->editor()->sections()->rowOfLine(lineId), -1);
        QTRY_VERIFY(!menu->property("visible").toBool());
        verifyFocusOnLine(nextId);
    }

    // Delete on a focused line hands the focus on, with its ring, to the next line, else the one
    // before, else the button that adds a line; one object alone reads as focused.
    void deletionMovesFocus()
    {
        ProjectEditorScreenModel *screen = openEditorOn(true, addLongProject(true, 3));
        QVERIFY(screen);
        QQuickItem *list = item(QStringLiteral("editorLines"));
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, 0), Q_ARG(int, 1)); // Beginning
        QTRY_VERIFY(cardAt(list, 2));
        const auto idAt = [list](int row) {
            const QQuickItem *card = cardAt(list, row);
            return card ? card->property("lineId").toString() : QString();
        };
        const QString second = idAt(1);
        const QString third = idAt(2);
        cardAt(list, 0)->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Delete);
        QTRY_COMPARE(screen->editor()->itemCount(), 2);
        verifyFocusOnLine(second);
        // The last line: the one before. The list takes in the removal as it lays out.
        QTRY_COMPARE(idAt(1), third);
        cardAt(list, 1)->forceActiveFocus(Qt::TabFocusReason);
        QCOMPARE(m_window->activeFocusItem()->property("lineId").toString(), third);
        QTest::keyClick(m_window, Qt::Key_Delete);
        QTRY_COMPARE(screen->editor()->itemCount(), 1);
        verifyFocusOnLine(second);
        // None left: "Добавить строку".
        QTest::keyClick(m_window, Qt::Key_Delete);
        QTRY_COMPARE(screen->editor()->itemCount(), 0);
        QQuickItem *add = item(QStringLiteral("emptyAddLine"));
        QVERIFY(add);
        QTRY_COMPARE(m_window->activeFocusItem(), add);
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        const int focused = focusedObjects();
        QVERIFY2(focused == 1 || focused == -1, qPrintable(QString::number(focused)));
    }

    // Texts and figures at their limits, where a person sees them: a device project whose name has
    // no break, whose client, line title and description run to 70,000 characters, and whose
    // figures come near the largest double; the line form on that line; a save whose total would
    // overflow. The layout check runs over each shot.
    static QString repeated(const QString &piece, qsizetype length)
    {
        QString text;
        text.reserve(length + piece.size());
        while (text.size() < length)
            text += piece;
        text.truncate(length);
        return text;
    }
    static Project extremeProject(const QString &id)
    {
        Project project = SampleEstimates::project(3, QStringLiteral("one_time"), id);
        project.name = repeated(QStringLiteral("Суперпроект"), 70000);
        project.clientName = repeated(QStringLiteral("ООО «Очень длинное название клиента» "), 70000);
        ProjectItem &first = project.items[0];
        first.title = repeated(QStringLiteral("Разработка"), 70000);
        first.description = repeated(QStringLiteral("Подробное описание работ "), 70000);
        first.hours = 1e154;
        first.rate = 1.7e154;
        project.items[1].hours = 1.5e300;
        project.items[1].rate = 1e-300;
        return project.recalculatedTotals();
    }

    void extremeGuest_data() { schemes(); }
    void extremeGuest()
    {
        QFETCH(QString, scheme);
        const Project project = extremeProject(QStringLiteral("extreme"));
        m_env.repository().upsert(project);
        m_env.addDeviceProjects(2, QStringLiteral("Лендинг студии"));
        open(scheme, true, true);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        ProjectEditorScreenModel *screen = openEditor(vm, project.id);
        QVERIFY(screen);
        shoot(QStringLiteral("extreme-guest-editor-") + scheme);
        // Scrolled to the lines, as a person who looks at them.
        auto *lines = m_window->findChild<QQuickItem *>(QStringLiteral("editorLines"));
        QVERIFY(lines);
        QMetaObject::invokeMethod(lines, "positionViewAtIndex", Q_ARG(int, 0), Q_ARG(int, 0));
        shoot(QStringLiteral("extreme-guest-lines-") + scheme);

        screen->editLine(screen->editor()->items().first().id.toString(QUuid::WithoutBraces));
        QQuickItem *form = nullptr;
        QTRY_VERIFY((form = item(QStringLiteral("formHours"))) != nullptr && form->isVisible());
        shoot(QStringLiteral("extreme-guest-form-") + scheme);
        screen->setShowItemForm(false);

        // A third line whose cost overflows: the save says what to change and stores nothing.
        ProjectEditorViewModel *editor = screen->editor();
        editor->updateItem(editor->items().last().id, [](EditableEstimateItem &line) {
            line.hours = 1e308;
            line.rate = 10;
        });
        editor->save();
        QCOMPARE(editor->saveStateRaw(), QStringLiteral("error"));
        QVERIFY(editor->saveErrorText().startsWith(QStringLiteral("Итог слишком велик: уменьшите часы или ставку")));
        QVERIFY(m_env.repository().fetch(project.id) == project);
        shoot(QStringLiteral("extreme-guest-overflow-") + scheme);

        // The disk fills up under the save: the status says so and what to do; the edits stay.
        editor->updateItem(editor->items().last().id, [](EditableEstimateItem &line) { line.hours = 1; });
        editor->markDirty();
        const QString storeFile = PersistenceController::shared()->filePath();
        QVERIFY(limitStoreSize(storeFile, 1, true));
        editor->save();
        QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("error"));
        QVERIFY(limitStoreSize(storeFile, std::numeric_limits<int>::max()));
        QCOMPARE(editor->saveErrorText(),
                 QStringLiteral("Диск заполнен: данные не записаны. Освободите место на диске и повторите."));
        QVERIFY(editor->isDirty());
        shoot(QStringLiteral("extreme-guest-full-disk-") + scheme);
    }

    // Signed in: the projects list under a 500 whose message is one word of 61,440 letters, then
    // the payments and the editor of a project whose figures come near the largest double.
    void extremeAccount_data() { schemes(); }
    void extremeAccount()
    {
        QFETCH(QString, scheme);
        BackendData &data = m_account.backend.data();
        const BackendData saved = data;
        const auto restore = qScopeGuard([&] {
            m_account.backend.clearOverrides();
            m_account.backend.data() = saved;
        });
        const QString owner = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        QJsonObject fields = extremeProject(QStringLiteral("x")).toJson();
        fields.remove(QStringLiteral("id"));
        QJsonObject &added = data.addProject(owner, fields);
        added.insert(QStringLiteral("totalHours"), 1.7e308);
        added.insert(QStringLiteral("totalCost"), 1.7e308);
        const QString id = added.value(QStringLiteral("id")).toString();
        data.addPayment(id, owner, 1.6e308, QStringLiteral("received"),
                        {{QStringLiteral("note"), repeated(QStringLiteral("Предоплата"), 70000)}});
        data.aiSnapshots.insert(
            id,
            QJsonObject{{QStringLiteral("id"), QStringLiteral("snap-x")},
                        {QStringLiteral("createdAt"), BackendData::now()},
                        {QStringLiteral("totalHours"), 1e307},
                        {QStringLiteral("totalCost"), 1e307},
                        {QStringLiteral("requirementsPreview"), repeated(QStringLiteral("Требования"), 70000)}});
        m_account.backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                                      BackendReply::message(500, QString(61440, QLatin1Char('W'))));
        open(scheme, true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        declineMigration(vm);
        QObject *listModel = modelOf<QObject>(QStringLiteral("projectsList"), "viewModel");
        QVERIFY(listModel);
        QTRY_COMPARE(listModel->property("contentState").toString(), QStringLiteral("error"));
        shoot(QStringLiteral("extreme-projects-error-") + scheme);

        m_account.backend.clearOverrides();
        QMetaObject::invokeMethod(listModel, "refresh");
        QTRY_VERIFY(std::any_of(vm->projectsService()->projects().cbegin(), vm->projectsService()->projects().cend(),
                                [&](const Project &p) { return p.id == id; }));
        QVERIFY(openPayments(vm, id));
        shoot(QStringLiteral("extreme-finance-") + scheme);

        vm->setMainSection(QStringLiteral("projects"));
        ProjectEditorScreenModel *screen = openEditor(vm, id);
        QVERIFY(screen);
        QTRY_VERIFY(!screen->analyticsLoading() && !screen->iterationsLoading());
        shoot(QStringLiteral("extreme-account-editor-") + scheme);
        auto *lines = m_window->findChild<QQuickItem *>(QStringLiteral("editorLines"));
        QVERIFY(lines);
        QMetaObject::invokeMethod(lines, "positionViewAtIndex", Q_ARG(int, 0), Q_ARG(int, 0));
        shoot(QStringLiteral("extreme-account-lines-") + scheme);
    }

    // The iterations sheet over a line whose iteration has a name of 70,000 letters and figures
    // near the largest double.
    void extremeIterations_data() { schemes(); }
    void extremeIterations()
    {
        QFETCH(QString, scheme);
        BackendData &data = m_account.backend.data();
        const BackendData saved = data;
        const auto restore = qScopeGuard([&] { m_account.backend.data() = saved; });
        openSheetHost(scheme);
        const QString owner = data.accountByEmail(QString::fromUtf8(DemoSeed::email))->id;
        const QString root =
            data.addProject(owner, {{"name", "Портал"}, {"projectType", "iterative"}}).value("id").toString();
        const QJsonArray huge{QJsonObject{
            {"title", "API"}, {"category", "backend"}, {"hours", 1e154}, {"rate", 1.7e154}, {"isLocked", false}}};
        data.addProject(owner,
                        {{"name", "Портал"},
                         {"parentProjectId", root},
                         {"baseProjectId", root},
                         {"projectType", "iterative"},
                         {"version", 2},
                         {"iterationName", repeated(QStringLiteral("Спринт"), 70000)},
                         {"items", huge}});
        QVERIFY(openSheet(QStringLiteral("ProjectIterationsSheet"),
                          {{"projectsService", QVariant::fromValue(m_sheetService.get())}, {"rootProjectId", root}}));
        shoot(QStringLiteral("extreme-iterations-") + scheme);
    }

    // A person edits fields of 70,000 characters in the real window: the press puts the caret
    // where it points and the typing lands there; once left, the field shows its text cut again;
    // "Сохранить" stores every character, of the edited fields and of the others. The line form keeps
    // out hours a double would hold as another number, saying why, until they are put right.
    void editsLongTextsWhole()
    {
        const Project project = extremeProject(QStringLiteral("long-edit"));
        m_env.repository().upsert(project);
        open(QStringLiteral("light"), true, true);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        ProjectEditorScreenModel *screen = openEditor(vm, project.id);
        QVERIFY(screen);
        ProjectEditorViewModel *editor = screen->editor();
        const auto typeText = [this](const QString &text) {
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        };

        QQuickItem *client = input(QStringLiteral("clientField"));
        QVERIFY(client);
        QCOMPARE(client->property("text").toString(), editor->shownClientName());
        QTest::mouseClick(m_window, Qt::LeftButton, {}, client->mapToScene(QPointF(1, client->height() / 2)).toPoint());
        QTRY_VERIFY(client->hasActiveFocus());
        // The field edits the whole text; its input lays out a stretch of it, here from the start.
        QCOMPARE(item(QStringLiteral("clientField"))->property("wholeText").toString(), *project.clientName);
        QVERIFY(project.clientName->startsWith(client->property("text").toString()));
        typeText(QStringLiteral("Новый "));
        QCOMPARE(editor->clientName(), QStringLiteral("Новый ") + *project.clientName);
        QTest::keyClick(m_window, Qt::Key_Tab);
        QTRY_VERIFY(!client->hasActiveFocus());
        QCOMPARE(client->property("text").toString(), editor->shownClientName());
        QVERIFY(editor->shownClientName().startsWith(QStringLiteral("Новый ООО")));

        clickCentre(item(QStringLiteral("saveButton")));
        QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("saved"));
        std::optional<Project> stored = m_env.repository().fetch(project.id);
        QVERIFY(stored);
        QCOMPARE(stored->clientName, Text::trimmedSpacesAndTabs(QStringLiteral("Новый ") + *project.clientName));
        QCOMPARE(stored->name, project.name);
        QCOMPARE(stored->items.first().title, project.items.first().title);
        QCOMPARE(stored->items.first().description, project.items.first().description);

        // The line form on the long line, opened with Return on its card; its title has the focus.
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = item(QStringLiteral("lineCard-0"))) != nullptr);
        card->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(screen->showItemForm());
        EstimateItemFormModel *form = screen->form();
        QQuickItem *title = input(QStringLiteral("formTitle"));
        QTRY_VERIFY(title && title->hasActiveFocus());
        QCOMPARE(item(QStringLiteral("formTitle"))->property("wholeText").toString(), project.items.first().title);
        QVERIFY(project.items.first().title.startsWith(title->property("text").toString()));
        QTest::keyClick(m_window, Qt::Key_End);
        typeText(QStringLiteral("!"));
        QCOMPARE(form->title(), project.items.first().title + QStringLiteral("!"));

        QQuickItem *hours = input(QStringLiteral("formHours"));
        clickCentre(hours);
        QTRY_VERIFY(hours->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
        typeText(QStringLiteral("12345678901234567890"));
        QQuickItem *errorLine = findItem(item(QStringLiteral("formHours")), QStringLiteral("errorLine"));
        QVERIFY(errorLine && errorLine->isVisible());
        QVERIFY(errorLine->property("text").toString().contains(QStringLiteral("сохранится неточно")));
        QVERIFY(!form->canSave());
        QTest::keyClick(m_window, Qt::Key_Return);
        QVERIFY(screen->showItemForm());
        QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
        typeText(QStringLiteral("12"));
        QVERIFY(!errorLine->isVisible());
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(!screen->showItemForm());
        QCOMPARE(editor->items().first().title, project.items.first().title + QStringLiteral("!"));
        QCOMPARE(editor->items().first().hours, 12.0);
        QCOMPARE(editor->items().first().description, project.items.first().description);
    }

    // Saving goes on beside the window: Ctrl+S in the long client field, then typing on while
    // the device store is held busy; the typing stays, unsaved, over what was stored, and the next
    // Ctrl+S stores it.
    void typingGoesOnWhileSaving()
    {
        const Project project = extremeProject(QStringLiteral("long-save"));
        m_env.repository().upsert(project);
        open(QStringLiteral("light"), true, true);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        ProjectEditorScreenModel *screen = openEditor(vm, project.id);
        QVERIFY(screen);
        ProjectEditorViewModel *editor = screen->editor();
        QQuickItem *client = input(QStringLiteral("clientField"));
        QVERIFY(client);
        clickCentre(client);
        QTRY_VERIFY(client->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_End);
        QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QStringLiteral("1"), Qt::NoModifier);
        const auto saveByKeys = [&] {
            for (int i = 0; i < 3 && editor->saveState().kind != EditorSaveState::Kind::Saving; ++i) {
                activate();
                QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
                (void)QTest::qWaitFor([editor] { return editor->saveState().kind != EditorSaveState::Kind::Idle; }, 3000);
            }
        };
        QSignalSpy finished(editor, &ProjectEditorViewModel::finished);
        {
            StoreWriteLock lock(PersistenceController::shared()->filePath());
            QVERIFY(lock.locked());
            saveByKeys();
            QCOMPARE(editor->saveStateRaw(), QStringLiteral("saving"));
            QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QStringLiteral("2"), Qt::NoModifier);
            QCOMPARE(editor->clientName(), *project.clientName + QStringLiteral("12"));
        }
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(finished.first().first().toBool());
        QCOMPARE(editor->clientName(), *project.clientName + QStringLiteral("12"));
        QVERIFY(editor->isDirty());
        QCOMPARE(m_env.repository().fetch(project.id)->clientName, *project.clientName + QStringLiteral("1"));

        saveByKeys();
        QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("saved"));
        QCOMPARE(m_env.repository().fetch(project.id)->clientName, *project.clientName + QStringLiteral("12"));
        QVERIFY(client->hasActiveFocus());
    }

    // Sheets, their questions and alerts, menus and buttons, driven as a person drives them.

    // The editor's sheet of that kind, opened from its "⋯" menu by clicks; the sheet's popup.
    QQuickItem *openFromEditorMenu(const QString &entry)
    {
        QQuickItem *button = nullptr;
        QQuickItem *popup = nullptr;
        [&] {
            QTRY_VERIFY((button = item(QStringLiteral("actionsMenuButton"))) != nullptr && button->isVisible());
            QTest::qWait(200); // the editor settles
            clickCentre(button);
            QQuickItem *menuEntry = nullptr;
            QTRY_VERIFY((menuEntry = item(QStringLiteral("menuEntry-") + entry)) != nullptr && menuEntry->isVisible());
            QTest::qWait(100); // the menu's opening
            clickCentre(menuEntry);
            QTRY_VERIFY((popup = openSheetPopup()) != nullptr);
        }();
        return popup;
    }
    // The popup of the sheet open in the window, null when none is.
    QQuickItem *openSheetPopup() const
    {
        const std::function<QQuickItem *(QQuickItem *)> walk = [&](QQuickItem *at) -> QQuickItem * {
            if (!at->isVisible())
                return nullptr;
            if (at->objectName() == QLatin1String("sheetBody"))
                return at->parentItem() ? at->parentItem()->parentItem() : nullptr;
            for (QQuickItem *child : at->childItems()) {
                if (QQuickItem *found = walk(child))
                    return found;
            }
            return nullptr;
        };
        return walk(m_window->contentItem());
    }
    // The open question's safe button once it has the keys with its ring, whatever opened the
    // question; null if it never has.
    QQuickItem *safeButton(const QString &dialog)
    {
        QObject *popup = m_window->findChild<QObject *>(dialog);
        QVariant safe;
        const auto landed = [&] {
            return popup->property("opened").toBool()
                && QMetaObject::invokeMethod(popup, "safeButton", Q_RETURN_ARG(QVariant, safe))
                && safe.value<QQuickItem *>() && safe.value<QQuickItem *>()->hasActiveFocus();
        };
        const bool shown = popup && QTest::qWaitFor(landed) && FocusCheck::problem(m_window).isEmpty();
        return shown ? safe.value<QQuickItem *>() : nullptr;
    }

    // As the desktop's save dialog does when a place is chosen in it after its save ended.
    void tellPlaceNotUsed()
    {
        auto *answers = m_engine->singletonInstance<LateSaveAnswers *>(
            qmlTypeId("Tessmark.Features.Export", 1, 0, "LateSaveAnswers"));
        QVERIFY(answers);
        answers->tellNotUsed({PortalAnswer::Kind::Chosen,
                              QUrl::fromLocalFile(QStringLiteral("/home/user/Загрузки/КП для клиента.pdf")), QString()},
                             QStringLiteral("/home/user/Документы/KP-Сайт-студии.pdf"));
    }

    // A button of an open question or alert, found by the dialog's name.
    QQuickItem *dialogButton(const QString &dialog, int index) const
    {
        auto *popup = m_window->findChild<QObject *>(dialog);
        if (!popup || !popup->property("opened").toBool())
            return nullptr;
        auto *content = popup->property("contentItem").value<QQuickItem *>();
        return content ? findItem(content, QStringLiteral("dialogButton%1").arg(index)) : nullptr;
    }

    // The payments sheet over the editor of an iteration, its history at the sheet's bottom: with
    // the editor's client text moved across the sheet's lowest band, the band reads the same as
    // with that text gone. The sheet is opaque to its edge.
    void financeSheetOpaqueToItsEdge_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << minimumWindowSize;
        QTest::newRow("1280x800") << QSize(1280, 800);
    }
    void financeSheetOpaqueToItsEdge()
    {
        QFETCH(QSize, size);
        const auto restore = keepBackendData();
        open(QStringLiteral("light"), true, false);
        m_window->resize(size);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
        QString iteration;
        for (const Project &project : vm->projectsService()->projects()) {
            if (project.parentProjectId && *project.parentProjectId != project.id)
                iteration = project.id;
        }
        QVERIFY(!iteration.isEmpty());
        addPayments(iteration, 3);
        ProjectEditorScreenModel *screen = openEditor(vm, iteration);
        QVERIFY(screen);
        QQuickItem *client = nullptr;
        QTRY_VERIFY((client = input(QStringLiteral("clientField"))) != nullptr && client->isVisible());
        QTRY_COMPARE(m_window->size(), size);
        screen->setShowFinance(true);
        QQuickItem *sheet = nullptr;
        QTRY_VERIFY((sheet = item(QStringLiteral("financeSheet"))) != nullptr && sheet->property("opened").toBool());
        QObject *finance = nullptr;
        QTRY_VERIFY((finance = sheet->findChild<QQuickItem *>(QStringLiteral("projectFinanceView"))
                                   ->property("finance")
                                   .value<QObject *>())
                    != nullptr);
        QTRY_VERIFY(!finance->property("isLoading").toBool());
        // The history's last rows, status segments and all, down at the sheet's bottom.
        QObject *scroll = sheet->findChild<QObject *>(QStringLiteral("financeScroll"));
        QVERIFY(scroll);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(QMetaObject::invokeMethod(scroll, "positionViewAtEnd"));
            QTest::qWait(50);
        }
        auto *body = sheet->findChild<QQuickItem *>(QStringLiteral("sheetBody"));
        QVERIFY(body);
        const QRectF frame = body->mapRectToScene(body->boundingRect());
        QQuickItem *lines = item(QStringLiteral("editorLines"));
        QVERIFY(lines);
        const QString text = client->property("text").toString();
        QVERIFY(!text.isEmpty());
        // The band the rounded corners leave square, along the whole bottom.
        const qreal inset = AppTheme::CornerRadiusMedium + 2;
        for (const qreal above : {2.0, 5.0, 8.0}) {
            const QRectF field = client->mapRectToScene(client->boundingRect());
            lines->setProperty("contentY",
                               lines->property("contentY").toReal() + field.center().y() - (frame.bottom() - above));
            QTest::qWait(100);
            const QRectF placed = client->mapRectToScene(client->boundingRect());
            QVERIFY(placed.top() < frame.bottom() - 2 && placed.bottom() > frame.bottom() - 8);
            const QImage with = m_window->grabWindow().convertToFormat(QImage::Format_RGB32);
            client->setProperty("text", QString());
            QTest::qWait(100);
            const QImage without = m_window->grabWindow().convertToFormat(QImage::Format_RGB32);
            client->setProperty("text", text);
            const qreal ratio = with.width() / qreal(m_window->width());
            const QRect band = QRectF(QPointF(frame.left() + inset, frame.bottom() - 8) * ratio,
                                      QPointF(frame.right() - inset, frame.bottom()) * ratio)
                                   .toRect();
            QStringList seen;
            for (int y = band.top(); y < band.bottom() && seen.size() < 5; ++y) {
                for (int x = band.left(); x < band.right() && seen.size() < 5; ++x) {
                    if (with.pixel(x, y) != without.pixel(x, y))
                        seen << QStringLiteral("%1,%2").arg(x).arg(y);
                }
            }
            QVERIFY2(seen.isEmpty(),
                     qPrintable(QStringLiteral("the editor's text %1 px above the sheet's bottom shows "
                                               "through at %2")
                                    .arg(above)
                                    .arg(seen.join(QStringLiteral("; ")))));
        }
    }

    // A sheet's four corners are round, whatever its content fills its body with: just inside
    // each corner of its frame, outside the corner's radius, the grab shows what is behind the
    // sheet (the dimmed window and the sheet's shadow), as just outside the frame.
    void sheetCornersRound_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("sheet");
        for (const char *scheme : {"light", "dark"}) {
            for (const QSize size : {minimumWindowSize, QSize(1280, 800)}) {
                for (const char *sheet : {"create", "export", "templates", "login"})
                    QTest::addRow("%s %s %dx%d", sheet, scheme, size.width(), size.height())
                        << QString::fromLatin1(scheme) << size << QString::fromLatin1(sheet);
            }
        }
    }
    void sheetCornersRound()
    {
        QFETCH(QString, scheme);
        QFETCH(QSize, size);
        QFETCH(QString, sheet);
        QQuickItem *popup = nullptr;
        if (sheet == QLatin1String("login")) {
            open(scheme, true, false);
            m_window->resize(size);
            QQuickItem *signIn = nullptr;
            QTRY_VERIFY((signIn = item(QStringLiteral("signInButton"))) != nullptr && signIn->isVisible());
            QTRY_COMPARE(m_window->size(), size);
            QTest::qWait(100); // the welcome screen settles
            clickCentre(signIn);
            QTRY_VERIFY((popup = openSheetPopup()) != nullptr);
        } else if (sheet == QLatin1String("create")) {
            m_env.addDeviceProjects(2, QStringLiteral("Лендинг студии"));
            open(scheme, true, true);
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);
            QVERIFY(pressCreate());
            QTRY_VERIFY((popup = openSheetPopup()) != nullptr);
        } else {
            QVERIFY(openDeviceProject(QStringLiteral("corners"), 3, scheme, size));
            QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
            QTRY_COMPARE(m_window->size(), size);
            QVERIFY((popup = openFromEditorMenu(sheet)) != nullptr);
        }
        const auto frame = [&] { return popup->mapRectToScene(QRectF(0, 0, popup->width(), popup->height())); };
        QVERIFY(waitForStill(m_window, [&] { return QList<QRectF>{frame()}; }));
        const QRectF box = frame();
        // Not the whole window: a sheet keeps clear of its edges.
        QVERIFY(box.left() > 2 && box.top() > 2 && box.right() < m_window->width() - 2
                && box.bottom() < m_window->height() - 2);
        const QImage shot = m_window->grabWindow().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = shot.width() / qreal(m_window->width());
        const auto pixel = [&](QPointF at) { return QColor(shot.pixel((at * ratio).toPoint())); };
        const auto apart = [](const QColor &a, const QColor &b) {
            return std::max(
                {std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
        };
        struct Corner
        {
            const char *name;
            QPointF at;
            QPointF inward;
        };
        const Corner corners[] = {{"top left", box.topLeft(), {1, 1}},
                                  {"top right", box.topRight(), {-1, 1}},
                                  {"bottom left", box.bottomLeft(), {1, -1}},
                                  {"bottom right", box.bottomRight(), {-1, -1}}};
        QStringList square;
        for (const Corner &corner : corners) {
            const QColor inside = pixel(corner.at + corner.inward * 1.5);
            const QColor behind = pixel(corner.at - corner.inward * 2.5);
            if (apart(inside, behind) > 16)
                square << QStringLiteral("%1: %2 inside, %3 behind")
                              .arg(QLatin1String(corner.name), inside.name(), behind.name());
        }
        QDir().mkpath(QStringLiteral(TESSMARK_SCREENSHOT_DIR));
        shot.save(QStringLiteral(TESSMARK_SCREENSHOT_DIR "/sheet-corners-%1-%2-%3x%4.png")
                      .arg(sheet, scheme)
                      .arg(size.width())
                      .arg(size.height()));
        QVERIFY2(square.isEmpty(), qPrintable(square.join(QStringLiteral("; "))));
    }

    // At the smallest window the library's question stands over the library and takes the click:
    // the template's lines arrive in the estimate and the library closes.
    void templateAppliedAtMinimum()
    {
        QVERIFY(openDeviceProject(QStringLiteral("template-min"), 2, QStringLiteral("light"), minimumWindowSize));
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
        QCOMPARE(m_window->size(), minimumWindowSize);
        const qsizetype before = screen->editor()->items().size();
        QQuickItem *library = openFromEditorMenu(QStringLiteral("templates"));
        QVERIFY(library);
        QVERIFY(dimmed(m_window));
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = findItem(library, QStringLiteral("templateCard-0"))) != nullptr && card->isVisible());
        QTest::qWait(200); // the list settles
        clickCentre(card);
        QQuickItem *add = nullptr;
        QTRY_VERIFY((add = dialogButton(QStringLiteral("templateConfirmation"), 1)) != nullptr && add->isVisible());
        QCOMPARE(safeButton(QStringLiteral("templateConfirmation")),
                 dialogButton(QStringLiteral("templateConfirmation"), 2));
        QCOMPARE(add->property("text").toString(), QStringLiteral("Добавить к смете"));
        QCOMPARE(add->window(), m_window);
        QTest::qWait(100); // the question's opening
        clickCentre(add);
        QTRY_VERIFY(screen->editor()->items().size() > before);
        QTRY_VERIFY(!openSheetPopup());
        QVERIFY(!screen->showTemplateLibrary());
    }

    // Proposals of thousands of lines in three scripts, one after another: the window's fonts stay
    // as they were, its sections and the editor's lines lay their text out anew, and the window is
    // torn down whole (the sanitizers' pass runs this too).
    void largeExportLeavesTheWindowWhole()
    {
        Project project = SampleEstimates::project(5000, QStringLiteral("one_time"), QStringLiteral("large-export"));
        const QString titles[] = {QStringLiteral("Разработка модуля %1"), QStringLiteral("مرحبا بالعالم %1"),
                                  QStringLiteral("Задача 😀🎉 %1")};
        for (int i = 0; i < project.items.size(); ++i) {
            project.items[i].title = titles[i % 3].arg(i + 1);
            project.items[i].description = QStringLiteral("Описание שלום 🚀 %1").arg(i + 1);
        }
        m_env.repository().upsert(project.recalculatedTotals());
        open(QStringLiteral("light"), true, true);
        MainShellViewModel *vm = shell();
        QVERIFY(vm);
        vm->setSelectedProjectId(project.id);
        QSignalSpy fontsChanged(qApp, &QGuiApplication::fontDatabaseChanged);
        for (int round = 0; round < 2; ++round) {
            QQuickItem *sheet = openFromEditorMenu(QStringLiteral("export"));
            QVERIFY(sheet);
            ExportPDFViewModel *exporter = nullptr;
            QTRY_VERIFY((exporter = m_window->findChild<ExportPDFViewModel *>()) != nullptr);
            QTRY_VERIFY_WITH_TIMEOUT(!exporter->pdfUrl().isEmpty(), 180000);
            QVERIFY(clickWhenStill(QStringLiteral("cancelButton")));
            QTRY_VERIFY(openSheetPopup() == nullptr);
            for (const char *section : {"settings", "analytics", "projects"})
                QVERIFY(clickWhenStill(QStringLiteral("sidebarRow-") + QLatin1String(section)));
            auto *lines = m_window->findChild<QQuickItem *>(QStringLiteral("editorLines"));
            QTRY_VERIFY(lines && lines->isVisible());
            QMetaObject::invokeMethod(lines, "positionViewAtIndex", Q_ARG(int, 3 * round), Q_ARG(int, 0));
            QTRY_VERIFY(item(QStringLiteral("lineCard-%1").arg(3 * round + 1)) != nullptr);
        }
        QCOMPARE(fontsChanged.count(), 0);
    }

    // At the smallest window the PDF sheet's alert (here: the viewer did not open) stands over the
    // sheet and its "OK" takes the click; the sheet stays. A place chosen in the desktop's dialog
    // once the sheet has closed is told over the window, and Return on its "OK" closes it.
    void pdfAlertClosedAtMinimum()
    {
        QVERIFY(openDeviceProject(QStringLiteral("alert-min"), 3, QStringLiteral("light"), minimumWindowSize));
        QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
        QQuickItem *sheet = openFromEditorMenu(QStringLiteral("export"));
        QVERIFY(sheet);
        ExportPDFViewModel *exporter = nullptr;
        QTRY_VERIFY((exporter = m_window->findChild<ExportPDFViewModel *>()) != nullptr);
        exporter->setUrlOpener([](const QUrl &) { return false; });
        QTRY_VERIFY_WITH_TIMEOUT(!exporter->pdfUrl().isEmpty(), 30000);
        QQuickItem *openButton = nullptr;
        QTRY_VERIFY((openButton = findItem(sheet, QStringLiteral("openButton"))) != nullptr && openButton->isVisible());
        QTest::qWait(200); // the page's preview settles
        // Below the fold of the short sheet: scrolled to as a person does, by keyboard.
        openButton->forceActiveFocus(Qt::TabFocusReason);
        KeyboardFocusInView::reveal(openButton);
        QTRY_VERIFY(outOfView(openButton).isEmpty());
        clickCentre(openButton);
        QQuickItem *ok = nullptr;
        QTRY_VERIFY((ok = dialogButton(QStringLiteral("actionFailedAlert"), 0)) != nullptr && ok->isVisible());
        QCOMPARE(safeButton(QStringLiteral("actionFailedAlert")), ok);
        QCOMPARE(ok->property("text").toString(), QStringLiteral("OK"));
        QCOMPARE(ok->window(), m_window);
        QVERIFY(!exporter->actionError().isEmpty());
        QTest::qWait(100); // the alert's opening
        clickCentre(ok);
        QTRY_VERIFY(!m_window->findChild<QObject *>(QStringLiteral("actionFailedAlert"))->property("opened").toBool());
        QVERIFY(exporter->actionError().isEmpty());
        QCOMPARE(openSheetPopup(), sheet);

        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!openSheetPopup());
        QTRY_VERIFY(!m_window->findChild<ExportPDFViewModel *>());
        tellPlaceNotUsed();
        QQuickItem *late = nullptr;
        QVERIFY((late = safeButton(QStringLiteral("placeNotUsedAlert"))) != nullptr);
        QCOMPARE(late->property("text").toString(), QStringLiteral("OK"));
        QCOMPARE(late->window(), m_window);
        QTest::qWait(100); // the alert's opening
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(!m_window->findChild<QObject *>(QStringLiteral("placeNotUsedAlert"))->property("opened").toBool());
        QTRY_VERIFY(FocusCheck::problem(m_window).isEmpty());
    }

    // Return and Enter press the focused button of every kind, as Space does.
    void returnPressesFocusedButton_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("key");
        for (const char *kind : {"primary", "secondary", "toolbar", "sheet header", "confirmation", "menu entry",
                                 "tour", "tour bordered"}) {
            QTest::addRow("%s return", kind) << QString::fromLatin1(kind) << int(Qt::Key_Return);
            QTest::addRow("%s enter", kind) << QString::fromLatin1(kind) << int(Qt::Key_Enter);
        }
    }
    void returnPressesFocusedButton()
    {
        QFETCH(QString, kind);
        QFETCH(int, key);
        const bool tour = kind.startsWith(QLatin1String("tour"));
        const bool editor = kind == QLatin1String("toolbar") || kind == QLatin1String("confirmation")
            || kind == QLatin1String("menu entry");
        if (tour)
            m_env.addDeviceProjects(2, QStringLiteral("Мобильное приложение"));
        if (editor)
            m_env.repository().upsert(
                SampleEstimates::project(2, QStringLiteral("one_time"), QStringLiteral("return")));
        open(QStringLiteral("light"), !tour, kind != QLatin1String("primary"));
        QQuickItem *target = nullptr;
        std::function<bool()> pressed;
        if (kind == QLatin1String("primary")) {
            QTRY_VERIFY((target = item(QStringLiteral("guestButton"))) != nullptr);
            pressed = [this] { return root()->screen() == RootViewModel::GuestShell; };
        } else if (kind == QLatin1String("secondary")) {
            QTRY_VERIFY((target = item(QStringLiteral("createButton"))) != nullptr);
            pressed = [this] { return item(QStringLiteral("createProjectSheet")) != nullptr; };
        } else if (kind == QLatin1String("sheet header")) {
            QQuickItem *sheet = pressCreate();
            QVERIFY(sheet);
            target = findItem(sheetFrame(sheet), QStringLiteral("cancelButton"));
            const QPointer<QQuickItem> shown = sheet;
            pressed = [shown] { return !shown || !shown->property("opened").toBool(); };
        } else if (tour) {
            MainShellViewModel *vm = shell();
            QVERIFY(vm);
            QTRY_VERIFY(vm->tour()->hasDemoProject());
            vm->tour()->setStep(1);
            const QString name =
                kind == QLatin1String("tour") ? QStringLiteral("onboardingNext") : QStringLiteral("onboardingSkip");
            QTRY_VERIFY((target = item(name)) != nullptr && target->isVisible());
            // The step's opening gives "Далее" the focus first.
            QTRY_VERIFY(item(QStringLiteral("onboardingNext"))->hasActiveFocus());
            MainOnboardingController *steps = vm->tour();
            // The card goes with the tour.
            const QPointer<QQuickItem> card = item(QStringLiteral("onboardingCard"));
            QVERIFY(card);
            if (kind == QLatin1String("tour"))
                pressed = [steps] { return steps->step() == 2; };
            else
                pressed = [card] { return !card || !card->isVisible(); };
        } else {
            shell()->setSelectedProjectId(QStringLiteral("return"));
            QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
            QQuickItem *menuButton = item(QStringLiteral("actionsMenuButton"));
            QVERIFY(menuButton);
            auto *menu = m_window->findChild<QObject *>(QStringLiteral("editorActionsMenu"));
            QVERIFY(menu);
            if (kind == QLatin1String("toolbar")) {
                target = menuButton;
                pressed = [menu] { return menu->property("opened").toBool(); };
            } else if (kind == QLatin1String("menu entry")) {
                menuButton->forceActiveFocus(Qt::TabFocusReason);
                QTest::keyClick(m_window, Qt::Key_Space);
                QTRY_VERIFY(menu->property("opened").toBool());
                for (int i = 0; i < 6 && !(target && target->objectName() == QLatin1String("menuEntry-templates"));
                     ++i) {
                    QTest::keyClick(m_window, Qt::Key_Down);
                    target = m_window->activeFocusItem();
                }
                QVERIFY(target && target->objectName() == QLatin1String("menuEntry-templates"));
                auto *screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen");
                QVERIFY(screen);
                pressed = [screen] { return screen->showTemplateLibrary(); };
            } else {
                QQuickItem *remove = item(QStringLiteral("deleteButton"));
                QVERIFY(remove && remove->isVisible());
                clickCentre(remove);
                QTRY_VERIFY((target = dialogButton(QStringLiteral("deleteConfirmation"), 1)) != nullptr);
                QObject *dialog = m_window->findChild<QObject *>(QStringLiteral("deleteConfirmation"));
                pressed = [dialog] { return !dialog->property("opened").toBool(); };
            }
        }
        QVERIFY(target);
        QTest::qWait(200); // the screen settles
        if (kind == QLatin1String("confirmation"))
            QCOMPARE(safeButton(QStringLiteral("deleteConfirmation")), target);
        else
            target->forceActiveFocus(Qt::TabFocusReason);
        QVERIFY(target->hasActiveFocus());
        QVERIFY(!pressed());
        const QString pressedButton = AccessibilityAudit::describe(target); // it may go when pressed
        QTest::keyClick(m_window, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QTRY_VERIFY2(pressed(), qPrintable(pressedButton));
    }

    // Escape in an open drop-down of a sheet closes the list only: the sheet and what was typed
    // stay; the next Escape closes the sheet.
    void escapeInSelectKeepsSheet_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::newRow("line form") << "line form";
        QTest::newRow("create sheet") << "create sheet";
    }
    void escapeInSelectKeepsSheet()
    {
        QFETCH(QString, sheet);
        const bool form = sheet == QLatin1String("line form");
        QQuickItem *typedInto = nullptr;
        QQuickItem *select = nullptr;
        QQuickItem *popup = nullptr;
        if (form) {
            QVERIFY(openDeviceProject(QStringLiteral("escape-select"), 2));
            QQuickItem *line = nullptr;
            QTRY_VERIFY((line = item(QStringLiteral("lineCard-0"))) != nullptr);
            line->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_VERIFY((typedInto = input(QStringLiteral("formTitle"))) != nullptr && typedInto->hasActiveFocus());
            select = item(QStringLiteral("formCategory"));
        } else {
            open(QStringLiteral("light"), true, true);
            QVERIFY(pressCreate());
            QTRY_VERIFY((typedInto = input(QStringLiteral("nameField"))) != nullptr && typedInto->hasActiveFocus());
            select = item(QStringLiteral("currencySelect"));
        }
        QVERIFY(select);
        popup = openSheetPopup();
        QVERIFY(popup);
        QTest::qWait(200); // the sheet settles
        QTest::keyClick(m_window, Qt::Key_End);
        for (const QChar c : QStringLiteral(" черновик"))
            QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        const QString typed = typedInto->property("text").toString();
        QVERIFY(typed.endsWith(QStringLiteral(" черновик")));
        const QVariant chosen = select->property("selection");
        QQuickItem *field = selectField(select->objectName());
        QVERIFY(tabTo(field, 20));
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_VERIFY(select->property("isOpen").toBool());
        QTest::keyClick(m_window, Qt::Key_Down);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!select->property("isOpen").toBool());
        QCOMPARE(openSheetPopup(), popup);
        QCOMPARE(typedInto->property("text").toString(), typed);
        QCOMPARE(select->property("selection"), chosen);
        QCOMPARE(m_window->activeFocusItem(), field);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!openSheetPopup());
    }

    // A drop-down reads as a combo box that says whether it is open, with its options as a list
    // inside it, each saying whether it is the chosen one.
    void selectReadsAsComboBox()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        open(QStringLiteral("light"), true, true);
        QVERIFY(pressCreate());
        QQuickItem *select = item(QStringLiteral("currencySelect"));
        QQuickItem *field = selectField(QStringLiteral("currencySelect"));
        QVERIFY(select && field);
        QAccessibleInterface *combo = QAccessible::queryAccessibleInterface(field);
        QCOMPARE(combo->role(), QAccessible::ComboBox);
        QCOMPARE(combo->text(QAccessible::Name), QStringLiteral("Валюта"));
        QVERIFY(combo->state().expandable);
        QVERIFY(!combo->state().expanded);
        QVERIFY(combo->state().collapsed);
        field->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_VERIFY(select->property("isOpen").toBool());
        QVERIFY(combo->state().expanded);
        QAccessibleInterface *list = nullptr;
        for (int i = 0; i < combo->childCount() && !list; ++i) {
            if (combo->child(i)->role() == QAccessible::List)
                list = combo->child(i);
        }
        QVERIFY2(list, "no list inside the combo box");
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Валюта"));
        QVERIFY(list->childCount() >= 3);
        int selected = 0;
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface *option = list->child(i);
            QCOMPARE(option->role(), QAccessible::ListItem);
            QVERIFY(!option->text(QAccessible::Name).isEmpty());
            selected += option->state().selected ? 1 : 0;
        }
        QCOMPARE(selected, 1);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!select->property("isOpen").toBool());
        QVERIFY(!combo->state().expanded);
    }

    // The reader's check names a shown dialog without a name and one that does not read as modal;
    // the sheets and questions of the design system read as named modal dialogs.
    void accessibilityAuditFindsUnnamedDialogs()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import QtQuick.Templates as T
            import Tessmark.Design
            Window {
                width: 700; height: 500; visible: true
                property alias bare: bare
                property alias sheet: sheet
                property alias question: question
                T.Popup { id: bare; objectName: "bare"; width: 200; height: 100; modal: false }
                AppSheet { id: sheet; title: "Новая итерация"; cancelText: "Отмена"; minimumWidth: 400; minimumHeight: 300 }
                AppConfirmationDialog {
                    id: question; title: "Загрузить шаблон?"; message: "«Лендинг» — 6 поз."
                    buttons: [{ text: "Отмена", role: "cancel" }]
                }
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *bare = root->property("bare").value<QObject *>();
        QMetaObject::invokeMethod(bare, "open");
        QTRY_VERIFY(bare->property("opened").toBool());
        QString found = AccessibilityAudit::problems(window).join(QLatin1Char('\n'));
        QVERIFY2(
            found.contains(QStringLiteral("dialog without a name: QQuickRootItem > QQuickOverlay > QQuickPopupItem")),
            qPrintable(found));
        QVERIFY2(found.contains(
                     QStringLiteral("dialog not read as modal: QQuickRootItem > QQuickOverlay > QQuickPopupItem")),
                 qPrintable(found));
        QMetaObject::invokeMethod(bare, "close");
        QTRY_VERIFY(!bare->property("visible").toBool());
        for (const char *name : {"sheet", "question"}) {
            auto *dialog = root->property(name).value<QObject *>();
            QMetaObject::invokeMethod(dialog, "open");
            QTRY_VERIFY(dialog->property("opened").toBool());
            found = AccessibilityAudit::problems(window).join(QLatin1Char('\n'));
            QVERIFY2(!found.contains(QStringLiteral("dialog")), qPrintable(found));
            // A question reads as an alert with its text.
            if (qstrcmp(name, "question") == 0) {
                QQuickItem *popup = dialog->property("contentItem").value<QQuickItem *>()->parentItem();
                QAccessibleInterface *node = QAccessible::queryAccessibleInterface(popup);
                QCOMPARE(node->role(), QAccessible::AlertMessage);
                QCOMPARE(QStringList({node->text(QAccessible::Name), node->text(QAccessible::Description)}),
                         QStringList({QStringLiteral("Загрузить шаблон?"), QStringLiteral("«Лендинг» — 6 поз.")}));
            }
            QMetaObject::invokeMethod(dialog, "close");
            QTRY_VERIFY(!dialog->property("opened").toBool());
        }
    }

    // A close, the way the window manager asks for it, after each route through the window ends in
    // something a person sees: the window goes, a question is up with the keys on its safe button,
    // or the wait of a running save or upload is up (and the window goes once that work is over).
    void closeEndsInSight_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("guest");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("seen");
        const QList<std::tuple<const char *, bool, const char *>> routes{
            {"held save", false, "wait"},
            {"after save", false, "exit"},
            {"after failed save", false, "question"},
            {"payments sheet opened and closed", false, "exit"},
            {"list folded and unfolded", false, "exit"},
            {"editor replaced while waiting", false, "exit"},
            {"held upload", false, "upload"},
        };
        for (const QSize size : {QSize(1280, 800), minimumWindowSize}) {
            for (const auto &[route, guest, seen] : routes)
                QTest::addRow("%s %dx%d", route, size.width(), size.height())
                    << QString::fromLatin1(route) << guest << size << QString::fromLatin1(seen);
        }
        QTest::newRow("question answered Отмена, closed again")
            << "question cancelled" << false << QSize(1280, 800) << "question";
        QTest::newRow("wait answered Отмена, closed again") << "wait cancelled" << false << minimumWindowSize << "wait";
        QTest::newRow("held upload, end signal") << "held upload by signal" << false << minimumWindowSize << "upload";
        QTest::newRow("guest held save") << "held save" << true << QSize(1280, 800) << "wait";
        QTest::newRow("guest after save") << "after save" << true << minimumWindowSize << "exit";
    }
    void closeEndsInSight()
    {
        QFETCH(QString, route);
        QFETCH(bool, guest);
        QFETCH(QSize, size);
        QFETCH(QString, seen);
        const auto restore = keepBackendData();
        // What the window shows a moment after the close: "exit", "question", "wait" or "upload".
        const auto closeAndLook = [this](const std::function<void()> &close = {}) {
            if (close)
                close();
            else
                QWindowSystemInterface::handleCloseEvent(m_window);
            // A question shown, its safe button holding the keys.
            const auto asks = [this](const char *name) {
                auto *dialog = m_window->findChild<QObject *>(QLatin1String(name));
                QVariant safe;
                return dialog && dialog->property("opened").toBool()
                    && QMetaObject::invokeMethod(dialog, "safeButton", Q_RETURN_ARG(QVariant, safe))
                    && safe.value<QQuickItem *>() && safe.value<QQuickItem *>()->hasActiveFocus()
                    && FocusCheck::problem(m_window).isEmpty();
            };
            QString shown;
            (void)QTest::qWaitFor(
                [&] {
                    if (!m_window->isVisible())
                        shown = QStringLiteral("exit");
                    else if (asks("unsavedEditsDialog"))
                        shown = QStringLiteral("question");
                    else if (asks("closeWaitDialog"))
                        shown = m_window->findChild<QObject *>(QStringLiteral("closeWaitDialog"))
                                    ->property("title")
                                    .toString()
                                == QStringLiteral("Идёт сохранение")
                            ? QStringLiteral("wait")
                            : QStringLiteral("upload");
                    return !shown.isEmpty();
                },
                2000);
            return shown;
        };
        if (route.startsWith(QLatin1String("held upload"))) {
            // Two device projects: the first upload is held, the second one then fails.
            m_env.addDeviceProjects(2, QStringLiteral("Черновик"));
            m_account.backend.clearRequests();
            open(QStringLiteral("light"), true, false);
            m_window->resize(size);
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(vm->migration()->shown());
            const QString post = QStringLiteral("POST");
            const QString projects = QStringLiteral("projects");
            m_account.backend.hold(post, projects);
            m_account.backend.setOnAnswer([&](const RecordedRequest &request) {
                if (request.method == post && request.path.endsWith(projects))
                    m_account.backend.setOverride(post, projects, BackendReply::message(500, QStringLiteral("boom")));
            });
            const auto noWatcher = qScopeGuard([&] { m_account.backend.setOnAnswer({}); });
            QVERIFY(clickWhenStill(QStringLiteral("confirmButton")));
            QTRY_COMPARE(m_account.backend.requests(post, projects).size(), 1);
            // An end signal closes the window as the window manager does.
            std::optional<EndSignals> endSignals;
            const auto endBySignal = [&] {
                endSignals.emplace(m_window);
                ::raise(SIGTERM);
            };
            QCOMPARE(closeAndLook(route.endsWith(QLatin1String("signal")) ? endBySignal : std::function<void()>()),
                     seen);
            QVERIFY(m_window->isVisible());
            m_account.backend.release();
            QTRY_VERIFY(!m_window->isVisible());
            // The uploaded project left the device; the one that failed stays for a later offer.
            const QList<Project> left = m_env.repository().fetchAllSorted();
            QCOMPARE(left.size(), 1);
            QCOMPARE(m_account.backend.requests(post, projects).size(), 2);
            return;
        }
        const QString id = addLongProject(guest, 6);
        ProjectEditorScreenModel *screen = openEditorOn(guest, id);
        QVERIFY(screen);
        m_window->resize(size);
        QTRY_COMPARE(m_window->size(), size);
        MainShellViewModel *vm = shell();
        QPointer<ProjectEditorViewModel> editor = screen->editor();
        const auto edit = [&] {
            QQuickItem *client = input(QStringLiteral("clientField"));
            QVERIFY(client);
            // Clicked once it stands still: the editor's head settles after the resize.
            for (int i = 0; i < 3 && !client->hasActiveFocus(); ++i) {
                QVERIFY(waitForStill(m_window, [client] { return QList{client->mapRectToScene(client->boundingRect())}; }));
                clickCentre(client);
                (void)QTest::qWaitFor([client] { return client->hasActiveFocus(); }, 1000);
            }
            QVERIFY(client->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_End);
            QTest::keyClick(m_window, Qt::Key_1);
            QTRY_VERIFY(editor->isDirty());
        };
        const auto saveByKeys = [&] {
            activate();
            QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        };
        const QString patch = QStringLiteral("projects/") + id;
        std::unique_ptr<StoreWriteLock> storeHeld;
        QTest::qWait(200); // the editor settles
        if (route.startsWith(QLatin1String("held save")) || route.startsWith(QLatin1String("wait"))
            || route.startsWith(QLatin1String("editor replaced"))) {
            edit();
            if (guest)
                storeHeld = std::make_unique<StoreWriteLock>(PersistenceController::shared()->filePath());
            else
                m_account.backend.hold(QStringLiteral("PATCH"), patch);
            saveByKeys();
            QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("saving"));
            QTest::qWait(600);
        } else if (route == QLatin1String("after save")) {
            edit();
            saveByKeys();
            QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("saved"));
        } else if (route == QLatin1String("after failed save")) {
            edit();
            m_account.backend.setOverride(QStringLiteral("PATCH"), patch,
                                          BackendReply::message(500, QStringLiteral("Ошибка сервера (500)")));
            saveByKeys();
            QTRY_COMPARE(editor->saveStateRaw(), QStringLiteral("error"));
        } else if (route.startsWith(QLatin1String("payments sheet"))) {
            QVERIFY(clickWhenStill(QStringLiteral("paymentsButton")));
            QTRY_VERIFY(openSheetPopup());
            QTest::qWait(300); // the sheet's opening
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!openSheetPopup());
        } else if (route.startsWith(QLatin1String("list folded"))) {
            // Across the size where the list folds beside the editor, its panel shown there and
            // folded away again by Escape, and back.
            m_window->resize(minimumWindowSize);
            QTRY_COMPARE(m_window->size(), minimumWindowSize);
            QVERIFY(clickWhenStill(QStringLiteral("showProjectsButton")));
            QTRY_VERIFY(item(QStringLiteral("projectsPanel"))->isVisible());
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!item(QStringLiteral("projectsPanel"))->isVisible());
            m_window->resize(QSize(1280, 800));
            QTest::qWait(300);
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);
            QTest::qWait(200);
        } else if (route == QLatin1String("question cancelled")) {
            edit();
            QCOMPARE(closeAndLook(), QStringLiteral("question"));
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(
                !m_window->findChild<QObject *>(QStringLiteral("unsavedEditsDialog"))->property("visible").toBool());
        }
        if (route == QLatin1String("wait cancelled")) {
            QCOMPARE(closeAndLook(), QStringLiteral("wait"));
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(
                !m_window->findChild<QObject *>(QStringLiteral("closeWaitDialog"))->property("visible").toBool());
        }
        if (route.startsWith(QLatin1String("editor replaced"))) {
            // The project on screen goes while the close waits for its save (as a deletion or the
            // tour take it): the close goes on about what is left.
            QCOMPARE(closeAndLook(), QStringLiteral("wait"));
            vm->selectProject({});
            QTRY_VERIFY(vm->unsavedEdits()->editor() == nullptr);
            QTRY_VERIFY(!m_window->isVisible());
            m_account.backend.release();
            return;
        }
        QCOMPARE(closeAndLook(), seen);
        if (seen == QLatin1String("wait")) {
            // The window goes once the save is over.
            m_account.backend.release();
            storeHeld.reset();
            QTRY_VERIFY_WITH_TIMEOUT(!m_window->isVisible(), 10000);
            QCOMPARE(editor ? editor->saveStateRaw() : QStringLiteral("saved"), QStringLiteral("saved"));
        } else if (seen == QLatin1String("question")) {
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTest::qWait(100);
            QVERIFY(m_window->isVisible());
        }
    }

    // Each sheet and question reads as a modal dialog with its name from every place that opens
    // it: the sign-in sheet from the welcome screen and from the settings (named by its mode), a
    // new iteration asked from the iterations sheet. The window closed during a save asks as an
    // alert, as every question does, with nothing unnamed in it; its "Отмена", pressed by Return
    // as the save ends, keeps the window.
    void dialogsReadNamedAndModal_data()
    {
        QTest::addColumn<QString>("from");
        for (const char *from : {"welcome", "settings", "iterations sheet", "closing during a save"})
            QTest::newRow(from) << QString::fromLatin1(from);
    }
    void dialogsReadNamedAndModal()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        QFETCH(QString, from);
        const auto readAs = [](QQuickItem *inside, const QString &name, QAccessible::Role role = QAccessible::Dialog) {
            QQuickItem *popup = inside;
            while (popup && !popup->inherits("QQuickPopupItem"))
                popup = popup->parentItem();
            QVERIFY(popup);
            QAccessibleInterface *node = QAccessible::queryAccessibleInterface(popup);
            QVERIFY(node);
            QCOMPARE(node->role(), role);
            QCOMPARE(node->text(QAccessible::Name), name);
            QVERIFY(node->state().modal);
        };
        if (from == QLatin1String("closing during a save")) {
            open(QStringLiteral("light"), true, false);
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            vm->setSelectedProjectId(vm->projectsService()->projects().first().id);
            UnsavedEditsGuard *guard = vm->unsavedEdits();
            ProjectEditorViewModel *editor = nullptr;
            QTRY_VERIFY((editor = guard->editor()) != nullptr);
            editor->setName(editor->name() + QStringLiteral(" (правка)"));
            QTRY_VERIFY(editor->isDirty());
            m_account.backend.hold(QStringLiteral("PATCH"), QStringLiteral("projects/") + editor->projectId());
            editor->save();
            m_window->close();
            auto *question = find<QObject>(QStringLiteral("closeWaitDialog"));
            QVERIFY(question);
            QTRY_VERIFY(question->property("opened").toBool());
            QQuickItem *stay = item(QStringLiteral("dialogButton1"));
            QTRY_VERIFY(stay && stay->hasActiveFocus());
            QCOMPARE(stay->property("text").toString(), QStringLiteral("Отмена"));
            readAs(stay, QStringLiteral("Идёт сохранение"), QAccessible::AlertMessage);
            const std::function<void(QAccessibleInterface *)> allNamed = [&](QAccessibleInterface *node) {
                for (int i = 0; i < node->childCount(); ++i) {
                    QAccessibleInterface *child = node->child(i);
                    QVERIFY2(!child->text(QAccessible::Name).isEmpty(), qPrintable(QString::number(child->role())));
                    allNamed(child);
                }
            };
            QQuickItem *popup = stay;
            while (popup && !popup->inherits("QQuickPopupItem"))
                popup = popup->parentItem();
            QVERIFY(popup);
            allNamed(QAccessible::queryAccessibleInterface(popup));
            // Return held on "Отмена" while the save ends: the question waits for the key's release.
            QTest::keyPress(m_window, Qt::Key_Return);
            QTRY_VERIFY(stay->property("pressed").toBool());
            m_account.backend.release();
            QTRY_VERIFY(editor->saveStateRaw() != QLatin1String("saving"));
            QVERIFY(question->property("opened").toBool());
            QTest::keyRelease(m_window, Qt::Key_Return);
            QTRY_VERIFY(!question->property("opened").toBool());
            QVERIFY(!guard->isWaitingToClose());
            QTest::qWait(100); // whatever the release queued has run
            QVERIFY(m_window->isVisible());
            QCOMPARE(editor->saveStateRaw(), QStringLiteral("saved"));
            return;
        }
        if (from == QLatin1String("iterations sheet")) {
            openSheetHost(QStringLiteral("light"));
            QQuickItem *sheet = openSheet(QStringLiteral("ProjectIterationsSheet"),
                                          {{"projectsService", QVariant::fromValue(m_sheetService.get())},
                                           {"rootProjectId", addRootWithIterations(1)}});
            QVERIFY(sheet);
            QQuickItem *popup = nullptr;
            QTRY_VERIFY((popup = openSheetPopup()) != nullptr);
            readAs(popup, QStringLiteral("Итерации"));
            // The list's heading is read, though the sheet bears its words.
            QQuickItem *heading = nullptr;
            QTRY_VERIFY((heading = findItem(popup, QStringLiteral("iterationsHeading"))) != nullptr
                        && heading->isVisible());
            QStringList headings;
            const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
                if (node->role() == QAccessible::Heading && !node->state().invisible)
                    headings << node->text(QAccessible::Name);
                for (int i = 0; i < node->childCount(); ++i)
                    walk(node->child(i));
            };
            walk(QAccessible::queryAccessibleInterface(popup));
            QCOMPARE(headings, QStringList{QStringLiteral("Итерации")});
            QQuickItem *confirm = findItem(popup, QStringLiteral("confirmButton"));
            QVERIFY(confirm);
            QTRY_VERIFY(confirm->isEnabled());
            QTest::qWait(100); // the sheet's opening
            clickCentre(confirm);
            QQuickItem *name = nullptr;
            QTRY_VERIFY((name = input(QStringLiteral("iterationNameField"))) != nullptr && name->isVisible());
            readAs(name, QStringLiteral("Новая итерация"));
            return;
        }
        const bool welcome = from == QLatin1String("welcome");
        open(QStringLiteral("light"), true, !welcome);
        if (!welcome) {
            shell()->setMainSection(QStringLiteral("settings"));
            QTRY_VERIFY(item(QStringLiteral("settingsSignInButton")) != nullptr);
        }
        QQuickItem *button = nullptr;
        QTRY_VERIFY((button = item(welcome ? QStringLiteral("signInButton") : QStringLiteral("settingsSignInButton")))
                        != nullptr
                    && button->isVisible());
        QTest::qWait(200); // the screen settles
        clickCentre(button);
        QQuickItem *email = nullptr;
        QTRY_VERIFY((email = input(QStringLiteral("emailField"))) != nullptr && email->isVisible());
        readAs(email, QStringLiteral("Вход"));
        QQuickItem *registerMode = item(QStringLiteral("registerModeButton"));
        QVERIFY(registerMode);
        clickCentre(registerMode);
        readAs(email, QStringLiteral("Регистрация"));
        if (!welcome)
            return;
        // The recovery sheet over the sign-in sheet reads as the one dialog shown; so does a reset
        // link's sheet opened over both, and once it closes the sign-in sheet.
        clickCentre(item(QStringLiteral("signInModeButton")));
        QQuickItem *forgot = nullptr;
        QTRY_VERIFY((forgot = item(QStringLiteral("forgotPasswordButton"))) != nullptr && forgot->isVisible());
        // The sheet changes its height with the mode: the link is clicked where it comes to rest.
        QVERIFY(waitForStill(m_window, [forgot] { return QList{forgot->mapRectToScene(forgot->boundingRect())}; }));
        clickCentre(forgot);
        QTRY_COMPARE(shownDialogs(), QStringList{QStringLiteral("Забыли пароль?")});
        root()->openUrl(QStringLiteral("tessmark://reset-password?token=abc"));
        QTRY_COMPARE(shownDialogs(), QStringList{QStringLiteral("Сброс пароля")});
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_COMPARE(shownDialogs(), QStringList{QStringLiteral("Вход")});
    }

    // Menus as they are read: the editor's "⋯" menu with the entry under the pointer and the
    // entry reached by the arrows, the share menu of the PDF sheet, and the tree's menu.
    void menus_data() { schemes(); }
    void menus()
    {
        QFETCH(QString, scheme);
        QVERIFY(openDeviceProject(QStringLiteral("menus"), 3, scheme, QSize(960, 640)));
        QTRY_VERIFY(item(QStringLiteral("lineCard-0")) != nullptr);
        QQuickItem *button = item(QStringLiteral("actionsMenuButton"));
        QVERIFY(button);
        auto *menu = m_window->findChild<QObject *>(QStringLiteral("editorActionsMenu"));
        QVERIFY(menu);
        QTest::qWait(200); // the editor settles
        clickCentre(button);
        QQuickItem *entry = nullptr;
        QTRY_VERIFY((entry = item(QStringLiteral("menuEntry-templates"))) != nullptr && entry->isVisible());
        QTest::qWait(250); // the menu's opening
        QVERIFY(hoverUntil(centreOf(entry).toPoint(), [entry] { return entry->property("highlighted").toBool(); }));
        shoot(QStringLiteral("menu-hovered-") + scheme);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!menu->property("visible").toBool());
        // Away from the menu, so that the arrows alone highlight.
        QTest::mouseMove(m_window, QPoint(10, m_window->height() - 10));
        button->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_VERIFY(menu->property("opened").toBool());
        QTest::keyClick(m_window, Qt::Key_Down);
        QTest::keyClick(m_window, Qt::Key_Down);
        QQuickItem *focused = m_window->activeFocusItem();
        QVERIFY(focused && focused->objectName().startsWith(QLatin1String("menuEntry-")));
        QVERIFY(focused->property("highlighted").toBool());
        shoot(QStringLiteral("menu-arrow-") + scheme);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!menu->property("visible").toBool());

        // The PDF sheet's share menu, over the smallest window.
        m_window->resize(minimumWindowSize);
        QQuickItem *sheet = openFromEditorMenu(QStringLiteral("export"));
        QVERIFY(sheet);
        ExportPDFViewModel *exporter = nullptr;
        QTRY_VERIFY((exporter = m_window->findChild<ExportPDFViewModel *>()) != nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(!exporter->pdfUrl().isEmpty(), 30000);
        QQuickItem *share = nullptr;
        QTRY_VERIFY((share = findItem(sheet, QStringLiteral("shareButton"))) != nullptr && share->isVisible());
        QQuickItem *openButton = findItem(sheet, QStringLiteral("openButton"));
        QVERIFY(openButton);
        QTest::qWait(200); // the preview settles
        KeyboardFocusInView::reveal(openButton);
        QTRY_VERIFY(outOfView(openButton).isEmpty());
        clickCentre(share);
        auto *shareMenu = m_window->findChild<QObject *>(QStringLiteral("shareMenu"));
        QVERIFY(shareMenu);
        QTRY_VERIFY(shareMenu->property("opened").toBool());
        QQuickItem *copy = item(QStringLiteral("copyFileItem"));
        QVERIFY(copy);
        QTest::qWait(250); // the menu's opening
        shoot(QStringLiteral("menu-share-") + scheme);
        // The menu leaves the sheet's other actions in sight.
        auto *shareList = shareMenu->property("contentItem").value<QQuickItem *>();
        QVERIFY(shareList);
        QQuickItem *menuBox = shareList->parentItem();
        const QRectF drawn = menuBox->mapRectToScene(QRectF(0, 0, menuBox->width(), menuBox->height()));
        for (const char *other : {"openButton", "saveButton"}) {
            QQuickItem *action = findItem(sheet, QString::fromLatin1(other));
            QVERIFY(action);
            const QRectF at = action->mapRectToScene(QRectF(0, 0, action->width(), action->height()));
            QVERIFY2(!drawn.intersects(at), other);
        }
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!shareMenu->property("visible").toBool());
        QCOMPARE(openSheetPopup(), sheet);
    }

    // Rests the pointer on `at`, then moves it on a point at a time, until `done` holds: other
    // windows on the same display may take the hover away meanwhile, as a person's hand would
    // move on.
    bool hoverUntil(QPoint at, const std::function<bool()> &done)
    {
        // The display's own pointer stands off every window these tests open, so that windows
        // coming and going under it send this one no crossings of their own.
        if (QScreen *screen = m_window->screen())
            QCursor::setPos(screen, screen->geometry().bottomRight());
        QTest::mouseMove(m_window, at);
        // A pause longer than a tooltip's delay between moves, as each move starts it anew.
        for (int step = 1; step <= 8; ++step) {
            if (QTest::qWaitFor(done, 1200))
                return true;
            QTest::mouseMove(m_window, at + QPoint(step, 0));
        }
        return done();
    }

    // The tooltips shown in the window now, by their texts.
    QStringList shownToolTips() const
    {
        QStringList found;
        const std::function<void(QQuickItem *)> walk = [&](QQuickItem *at) {
            if (!at->isVisible())
                return;
            if (at->inherits("QQuickPopupItem") && at->parent() && at->parent()->inherits("QQuickToolTip"))
                found << at->parent()->property("text").toString();
            for (QQuickItem *child : at->childItems())
                walk(child);
        };
        walk(m_window->contentItem());
        return found;
    }

    // At the smallest window the pointer on a group's bars, or on its name under them, shows
    // the group's whole names.
    void barNamesWholeOnHover()
    {
        const auto restore = keepBackendData();
        seedAnalytics(2);
        open(QStringLiteral("light"), true, false);
        m_window->resize(minimumWindowSize);
        QTRY_COMPARE(m_window->size(), minimumWindowSize);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        AnalyticsDashboardModel *model = openAnalytics(vm);
        QVERIFY(model);
        QCOMPARE(model->barNames().size(), 2);
        auto *flick = item(QStringLiteral("analyticsScroll"));
        auto *chart = item(QStringLiteral("barChart"));
        QVERIFY(flick && chart);
        // Down to the chart, its names in view.
        QQuickItem *name = nullptr;
        QTRY_VERIFY((name = item(QStringLiteral("barLabel-1"))) != nullptr);
        const auto nameAt = [&] { return QList<QRectF>{name->mapRectToScene(name->boundingRect())}; };
        QVERIFY(waitForStill(m_window, nameAt));
        flick->setProperty("contentY",
                           flick->property("contentY").toReal() + name->mapToItem(flick, QPointF(0, name->height())).y()
                               + 40 - flick->height());
        QVERIFY(waitForStill(m_window, nameAt));
        QCOMPARE(outOfView(name), QString());
        const QRectF plot = chart->property("plotArea").toRectF();
        const QPoint onBars =
            chart->mapToScene(QPointF(plot.x() + plot.width() / 4, plot.y() + plot.height() * 0.9)).toPoint();
        QVERIFY(hoverUntil(onBars, [&] { return shownToolTips() == QStringList{model->barNames().at(0)}; }));
        QVERIFY(model->barNames().at(0).contains(QStringLiteral("Интернет-магазин керамики")));
        QVERIFY(hoverUntil(centreOf(name).toPoint(),
                           [&] { return shownToolTips() == QStringList{model->barNames().at(1)}; }));
    }

    // The editor's tooltip on "Платежи" comes when the pointer moves onto the button, and not when
    // a sheet closing leaves the pointer there (the line form's "Готово" stands over it), nor
    // when the pointer went on elsewhere meanwhile.
    void toolTipOnlyWherePointerMoves_data()
    {
        QTest::addColumn<bool>("pressOverButton");
        QTest::newRow("pointer moved on") << false;
        QTest::newRow("sheet's button over it") << true;
    }
    void toolTipOnlyWherePointerMoves()
    {
        QFETCH(bool, pressOverButton);
        QVERIFY(openDeviceProject(QStringLiteral("tooltip"), 3));
        QQuickItem *line = nullptr;
        QTRY_VERIFY((line = item(QStringLiteral("lineCard-0"))) != nullptr);
        QQuickItem *payments = item(QStringLiteral("paymentsButton"));
        QVERIFY(payments);
        const QString tip = QStringLiteral("Платежи и аналитика проекта");
        const QPoint onPayments = centreOf(payments).toPoint();
        QTest::qWait(300); // the editor settles
        QTest::mouseMove(m_window, onPayments - QPoint(4, 0));
        QVERIFY(hoverUntil(onPayments, [&] { return shownToolTips() == QStringList{tip}; }));
        // The line form by keyboard; the pointer goes on to the form.
        line->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Return);
        QQuickItem *title = nullptr;
        QTRY_VERIFY((title = input(QStringLiteral("formTitle"))) != nullptr && title->hasActiveFocus());
        QTest::qWait(200); // the form's opening
        const QPoint inForm = centreOf(title).toPoint(); // the form goes when it closes
        QTest::mouseMove(m_window, inForm);
        QTest::mouseMove(m_window, inForm + QPoint(5, 5));
        if (pressOverButton) {
            QQuickItem *done = findItem(openSheetPopup(), QStringLiteral("confirmButton"));
            QVERIFY(done);
            const QRectF doneBox = done->mapRectToScene(QRectF(0, 0, done->width(), done->height()));
            QVERIFY(doneBox.intersects(payments->mapRectToScene(QRectF(0, 0, payments->width(), payments->height()))));
            clickCentre(done);
        } else {
            QTest::keyClick(m_window, Qt::Key_Escape);
        }
        QTRY_VERIFY(!openSheetPopup());
        QTest::qWait(1000); // longer than the tooltip's delay
        QCOMPARE(shownToolTips(), QStringList());
        // A move onto the button brings it again.
        QTest::mouseMove(m_window, onPayments + QPoint(4, 0));
        QVERIFY(hoverUntil(onPayments, [&] { return shownToolTips() == QStringList{tip}; }));
    }

    // The payment's date by keys alone in the real form: Space opens the month at the chosen
    // day, the arrows move it by a day and a week and the page keys by a month, each day reads as
    // a named item with its selected state and the focused one shows the ring; Return picks and
    // the field has the focus back. In the editor's payments sheet Escape closes the month alone.
    void pickPaymentDateByKeys()
    {
        const auto restore = keepBackendData();
        open(QStringLiteral("light"), true, false);
        m_window->resize(1280, 900);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
        const QString projectId = vm->projectsService()->projects().first().id;
        QObject *finance = openPayments(vm, projectId);
        QVERIFY(finance);
        const auto paidDate = [](QObject *model) {
            return QDate(model->property("paidYear").toInt(), model->property("paidMonthIndex").toInt() + 1,
                         model->property("paidDay").toInt());
        };
        const auto focusedDay = [this] {
            QQuickItem *focused = m_window->activeFocusItem();
            return focused && focused->property("isDay").toBool()
                ? QDate(focused->property("year").toInt(), focused->property("month").toInt() + 1,
                        focused->property("day").toInt())
                : QDate();
        };
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        QQuickItem *field = item(QStringLiteral("dateField"));
        QVERIFY(field);
        auto *popup = m_window->findChild<QObject *>(QStringLiteral("datePopup"));
        QVERIFY(popup);
        const QDate start = paidDate(finance);
        QVERIFY(start.isValid());

        field->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_VERIFY(popup->property("opened").toBool());
        QTRY_COMPARE(focusedDay(), start);
        QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        if (QAccessible::isActive()) {
            QQuickItem *popupItem = m_window->activeFocusItem();
            while (popupItem && !popupItem->inherits("QQuickPopupItem"))
                popupItem = popupItem->parentItem();
            QVERIFY(popupItem);
            QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(popupItem);
            QCOMPARE(dialog->role(), QAccessible::Dialog);
            QCOMPARE(dialog->text(QAccessible::Name), QStringLiteral("Дата"));
            QVERIFY(dialog->state().modal);
            QAccessibleInterface *day = QAccessible::queryAccessibleInterface(m_window->activeFocusItem());
            QCOMPARE(day->role(), QAccessible::ListItem);
            QCOMPARE(day->text(QAccessible::Name), russian.toString(start, QStringLiteral("d MMMM yyyy")));
            QVERIFY(day->state().selected);
            QVERIFY(day->state().focused);
        }

        QDate expected = start;
        const QList<std::pair<Qt::Key, std::function<QDate(QDate)>>> moves{{Qt::Key_Right, [](QDate d) { return d.addDays(1); }},
                                                                           {Qt::Key_Down, [](QDate d) { return d.addDays(7); }},
                                                                           {Qt::Key_PageDown, [](QDate d) { return d.addMonths(1); }},
                                                                           {Qt::Key_Left, [](QDate d) { return d.addDays(-1); }},
                                                                           {Qt::Key_Up, [](QDate d) { return d.addDays(-7); }},
                                                                           {Qt::Key_PageUp, [](QDate d) { return d.addMonths(-1); }},
                                                                           {Qt::Key_PageUp, [](QDate d) { return d.addMonths(-1); }}};
        for (const auto &[key, move] : moves) {
            QTest::keyClick(m_window, key);
            expected = move(expected);
            QCOMPARE(focusedDay(), expected);
            unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        }
        if (QAccessible::isActive()) {
            QAccessibleInterface *day = QAccessible::queryAccessibleInterface(m_window->activeFocusItem());
            QCOMPARE(day->text(QAccessible::Name), russian.toString(expected, QStringLiteral("d MMMM yyyy")));
            QVERIFY(!day->state().selected);
        }
        QCOMPARE(paidDate(finance), start);
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(!popup->property("opened").toBool());
        QCOMPARE(paidDate(finance), expected);
        QTRY_VERIFY(field->hasActiveFocus());
        unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));

        // The same form in the editor's sheet: Escape leaves the sheet open and the date as it was.
        vm->setSelectedProjectId(projectId);
        vm->setMainSection(QStringLiteral("projects"));
        ProjectEditorScreenModel *screen = nullptr;
        QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")) != nullptr);
        screen->setShowFinance(true);
        QQuickItem *sheet = nullptr;
        QTRY_VERIFY((sheet = item(QStringLiteral("financeSheet"))) != nullptr && sheet->property("opened").toBool());
        QQuickItem *sheetField = nullptr;
        // The sheet's content is drawn in its popup: found by ownership, not among the drawn items.
        QTRY_VERIFY((sheetField = sheet->findChild<QQuickItem *>(QStringLiteral("dateField"))) != nullptr
                    && sheetField->isVisible());
        QObject *sheetFinance = nullptr;
        QTRY_VERIFY((sheetFinance = sheet->findChild<QQuickItem *>(QStringLiteral("projectFinanceView"))
                                        ->property("finance")
                                        .value<QObject *>())
                    != nullptr);
        QTRY_VERIFY(!sheetFinance->property("isLoading").toBool());
        const QDate before = paidDate(sheetFinance);
        // Escape is also the sheet's shortcut, and shortcuts go to the active window.
        QQuickWindow *window = sheetField->window();
        activate(window);
        sheetField->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(window, Qt::Key_Space);
        auto *sheetPopup = sheet->findChild<QObject *>(QStringLiteral("datePopup"));
        QVERIFY(sheetPopup);
        QTRY_VERIFY(sheetPopup->property("opened").toBool());
        QTest::keyClick(window, Qt::Key_Right);
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!sheetPopup->property("opened").toBool());
        QTest::qWait(100);
        QVERIFY(sheet->property("opened").toBool());
        QCOMPARE(paidDate(sheetFinance), before);
        QTRY_VERIFY(sheetField->hasActiveFocus());
        unseen = FocusCheck::problem(window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        // The next Escape is the sheet's.
        const QPointer<QQuickItem> openSheet = sheet;
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!openSheet || !openSheet->property("opened").toBool());
    }

    // Signed in, the tour starts at its first step, lighting the demo project's row in the tree;
    // the card reads as a dialog named by the step's title with its text and place; "Далее" has
    // the focus with its ring on every step, Tab skips the dots, "Назад" and the dots go back
    // to the first step, and Escape ends the tour as "Пропустить" does.
    void tourByKeysSignedIn()
    {
        const auto restore = keepBackendData();
        open(QStringLiteral("light"), false, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        MainOnboardingController *tour = vm->tour();
        QTRY_VERIFY_WITH_TIMEOUT(tour->hasDemoProject(), 10000);
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = item(QStringLiteral("onboardingCard"))) != nullptr && card->isVisible());
        QCOMPARE(tour->step(), 0);
        QCOMPARE(tour->currentHighlight(), QStringLiteral("demoProjectRow:") + tour->demoProjectIdText());
        QQuickItem *demoRow = nullptr;
        QTRY_VERIFY((demoRow = item(QStringLiteral("projectRow-") + tour->demoProjectIdText())) != nullptr);
        QTRY_VERIFY(tour->hasHighlightRect());
        QCOMPARE(tour->highlightRect().value(), demoRow->mapRectToScene(demoRow->boundingRect()));

        QQuickItem *next = item(QStringLiteral("onboardingNext"));
        QQuickItem *back = item(QStringLiteral("onboardingBack"));
        QVERIFY(next && back);
        const auto checkStep = [&](int step) {
            QTRY_COMPARE(tour->step(), step);
            QTRY_VERIFY(next->hasActiveFocus());
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
            if (!QAccessible::isActive())
                return;
            const GuidedOnboardingStepModel &model = GuidedOnboarding::steps().at(step);
            QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(card);
            QCOMPARE(dialog->role(), QAccessible::Dialog);
            QCOMPARE(dialog->text(QAccessible::Name), model.title);
            const QString description = dialog->text(QAccessible::Description);
            QVERIFY2(description.startsWith(model.body), qPrintable(description));
            QVERIFY2(description.endsWith(QStringLiteral("Шаг %1 из 10").arg(step + 1)), qPrintable(description));
            QVERIFY(dialog->state().modal);
        };
        checkStep(0);
        // Round the card: the switch, "Пропустить" ("Назад" is off on the first step), "Далее".
        QList<QQuickItem *> stops;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            stops.append(m_window->activeFocusItem());
        }
        QCOMPARE(stops,
                 (QList<QQuickItem *>{item(QStringLiteral("onboardingDontShowAgain")),
                                      item(QStringLiteral("onboardingSkip")), next}));
        QTest::keyClick(m_window, Qt::Key_Space);
        checkStep(1);
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QTest::keyClick(m_window, Qt::Key_Backtab);
        QCOMPARE(m_window->activeFocusItem(), back);
        QTest::keyClick(m_window, Qt::Key_Space);
        checkStep(0);
        // The dots, by the pointer: the third, then the first.
        QTest::keyClick(m_window, Qt::Key_Space);
        checkStep(1);
        clickCentre(item(QStringLiteral("onboardingDot-2")));
        QTRY_COMPARE(tour->step(), 2);
        clickCentre(item(QStringLiteral("onboardingDot-0")));
        QTRY_COMPARE(tour->step(), 0);
        QTRY_VERIFY(next->hasActiveFocus());

        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!tour->running());
        QCOMPARE(Preferences::shared().value(GuidedOnboarding::completedVersionKey).toInt(), 2);
        QTRY_VERIFY(!item(QStringLiteral("onboardingCard")));
        QTRY_VERIFY(m_window->activeFocusItem() && m_window->activeFocusItem() != m_window->contentItem());
    }

    // From the search field, Down or Tab reaches the first result with its ring (the selection
    // being hidden by the search), and Return opens it; in the tree and in the cards.
    void searchLeadsToFirstResult_data()
    {
        QTest::addColumn<bool>("guest");
        QTest::addColumn<bool>("byTab");
        QTest::newRow("tree, Down") << false << false;
        QTest::newRow("tree, Tab") << false << true;
        QTest::newRow("cards, Down") << true << false;
        QTest::newRow("cards, Tab") << true << true;
    }
    void searchLeadsToFirstResult()
    {
        QFETCH(bool, guest);
        QFETCH(bool, byTab);
        if (guest) {
            m_env.addDeviceProjects(2, QStringLiteral("Лендинг студии"));
            m_env.addDeviceProjects(2, QStringLiteral("Интернет-магазин"));
        }
        open(QStringLiteral("light"), true, guest);
        // Wide enough that the open project leaves the list in its column.
        m_window->resize(1280, 800);
        QTRY_COMPARE(m_window->width(), 1280);
        MainShellViewModel *vm = guest ? shell() : signedInShell();
        QVERIFY(vm);
        QQuickItem *list = nullptr;
        QTRY_VERIFY((list = item(QStringLiteral("projectsList"))) != nullptr);
        auto *listModel = list->property("viewModel").value<ProjectsListViewModel *>();
        QVERIFY(listModel);
        QTRY_COMPARE(listModel->contentState(), guest ? QStringLiteral("cards") : QStringLiteral("tree"));
        const QString query = guest ? QStringLiteral("интернет") : QStringLiteral("лендинг");
        QString hidden;
        for (const Project &project : vm->projectsService()->projects()) {
            if (!project.name.toLower().contains(query))
                hidden = project.id;
        }
        vm->setSelectedProjectId(hidden);

        // Into the field by a click: Ctrl+F, a shortcut, needs the active window, which other
        // tests' windows on the same display may take (tst_ProjectsList presses it).
        QQuickItem *search = item(QStringLiteral("projectsSearchInput"));
        QVERIFY(search);
        clickCentre(search);
        QTRY_VERIFY(search->hasActiveFocus());
        for (const QChar c : query)
            QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTRY_COMPARE(listModel->searchText(), query);
        QAbstractItemModel *shown = guest ? static_cast<QAbstractItemModel *>(listModel->cardsModel())
                                          : static_cast<QAbstractItemModel *>(listModel->treeModel());
        QVERIFY(shown->rowCount() >= 1);
        const QString first =
            shown->index(0, 0)
                .data(guest ? int(ProjectCardsModel::ProjectIdRole) : int(ProjectTreeModel::ProjectIdRole))
                .toString();
        QVERIFY(first != hidden);
        QTest::keyClick(m_window, byTab ? Qt::Key_Tab : Qt::Key_Down);
        QQuickItem *focused = m_window->activeFocusItem();
        QVERIFY(focused);
        if (guest) {
            QCOMPARE(focused, item(QStringLiteral("projectCards")));
            QQuickItem *card = findItem(focused, QStringLiteral("projectRow-") + first);
            QVERIFY(card);
            QTRY_VERIFY(!FocusCheck::shownRings(m_window).isEmpty());
            QVERIFY2(FocusCheck::shownRings(m_window).first().contains(QStringLiteral("projectCard")),
                     qPrintable(FocusCheck::shownRings(m_window).join(QLatin1Char(';'))));
        } else {
            QCOMPARE(focused->objectName(), QStringLiteral("projectRow-") + first);
        }
        // One ring, the row's: none around the list as well.
        QTRY_VERIFY(!FocusCheck::shownRings(m_window).isEmpty());
        QVERIFY2(FocusCheck::shownRings(m_window).size() == 1,
                 qPrintable(FocusCheck::shownRings(m_window).join(QLatin1Char(';'))));
        const QString unseen = FocusCheck::problem(m_window);
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        QCOMPARE(vm->selectedProjectId(), hidden);
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_COMPARE(vm->selectedProjectId(), first);
    }

    // The tree as a reader gets it: rows of a tree with their level, a root that unfolds says
    // whether it is unfolded, and only the row the keyboard stands on reads as focused.
    void treeRowsReadAsTree()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        const auto restore = keepBackendData();
        const QString root = addRootWithIterations(2);
        open(QStringLiteral("light"), true, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QQuickItem *tree = nullptr;
        QTRY_VERIFY((tree = item(QStringLiteral("projectTree"))) != nullptr && tree->isVisible());
        QQuickItem *rootRow = nullptr;
        QTRY_VERIFY((rootRow = findItem(tree, QStringLiteral("projectRow-") + root)) != nullptr);
        QCOMPARE(QAccessible::queryAccessibleInterface(tree)->role(), QAccessible::Tree);
        QAccessibleInterface *rootNode = QAccessible::queryAccessibleInterface(rootRow);
        QCOMPARE(rootNode->role(), QAccessible::TreeItem);
        QTRY_VERIFY(rootNode->state().expanded);
        QVERIFY(rootNode->state().expandable);
        QVERIFY(!rootNode->state().collapsed);
        QVERIFY2(rootNode->text(QAccessible::Description).endsWith(QStringLiteral("итераций: 2, уровень 1")),
                 qPrintable(rootNode->text(QAccessible::Description)));
        QString iteration;
        for (const Project &project : vm->projectsService()->projects()) {
            if (project.parentProjectId == root)
                iteration = project.id;
        }
        QQuickItem *iterationRow = nullptr;
        QTRY_VERIFY((iterationRow = findItem(tree, QStringLiteral("projectRow-") + iteration)) != nullptr);
        QAccessibleInterface *iterationNode = QAccessible::queryAccessibleInterface(iterationRow);
        QVERIFY(!iterationNode->state().expandable);
        QVERIFY(iterationNode->text(QAccessible::Description).endsWith(QStringLiteral("уровень 2")));

        // Rows focused, as a reader hears them: never more than the row the keyboard stands on.
        const auto focusedRows = [tree] {
            QStringList found;
            for (QQuickItem *row : tree->property("contentItem").value<QQuickItem *>()->childItems()) {
                if (!row->objectName().startsWith(QLatin1String("projectRow-")) || !row->isVisible())
                    continue;
                if (QAccessible::queryAccessibleInterface(row)->state().focused)
                    found << row->objectName();
            }
            return found;
        };
        vm->setSelectedProjectId(root);
        tree->forceActiveFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focusedRows(), QStringList{rootRow->objectName()});
        QTest::keyClick(m_window, Qt::Key_Left);
        QTRY_VERIFY(rootNode->state().collapsed);
        QVERIFY(!rootNode->state().expanded);
        QTest::keyClick(m_window, Qt::Key_Right);
        QTRY_VERIFY(rootNode->state().expanded);
        auto *list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel");
        QVERIFY(list);
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(m_window, Qt::Key_Down);
            QTRY_COMPARE(focusedRows(), QStringList{QStringLiteral("projectRow-") + list->currentProjectId()});
        }
        QVERIFY(list->currentProjectId() != root);
        QCOMPARE(vm->selectedProjectId(), root);
    }

    // Where the keyboard stands, signed in: the tour's first step lighting the demo row, the
    // first search result reached from the search field, the date popup's focused day.
    void keyboardShots_data() { schemes(); }
    void keyboardShots()
    {
        QFETCH(QString, scheme);
        const auto restore = keepBackendData();
        open(scheme, false, false);
        MainShellViewModel *vm = signedInShell();
        QVERIFY(vm);
        QTRY_VERIFY_WITH_TIMEOUT(vm->tour()->hasDemoProject(), 10000);
        QTRY_VERIFY(vm->tour()->hasHighlightRect());
        QTRY_VERIFY(item(QStringLiteral("onboardingNext")) && item(QStringLiteral("onboardingNext"))->hasActiveFocus());
        shoot(QStringLiteral("keyboard-tour-account-step0-") + scheme);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!item(QStringLiteral("onboardingCard")));

        QQuickItem *search = item(QStringLiteral("projectsSearchInput"));
        QVERIFY(search);
        search->forceActiveFocus(Qt::TabFocusReason);
        for (const QChar c : QStringLiteral("лендинг"))
            QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(m_window, Qt::Key_Down);
        QTRY_VERIFY(m_window->activeFocusItem()
                    && m_window->activeFocusItem()->objectName().startsWith(QLatin1String("projectRow-")));
        shoot(QStringLiteral("keyboard-search-result-") + scheme);

        QObject *finance = openPayments(vm, vm->projectsService()->projects().first().id);
        QVERIFY(finance);
        QQuickItem *field = item(QStringLiteral("dateField"));
        QVERIFY(field);
        field->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QTRY_VERIFY(m_window->activeFocusItem() && m_window->activeFocusItem()->property("isDay").toBool());
        QTest::keyClick(m_window, Qt::Key_Right);
        shoot(QStringLiteral("keyboard-date-popup-") + scheme);
    }

    // Where the keyboard lands after each action, done in the real window by keys and clicks:
    // exactly one visible item has the focus (and exactly one object reads as focused to a screen
    // reader), the expected one, with its ring after a key and none after a click. Run in parts as
    // tst_Accessibility_landing1 to 4.
    void focusLandsAfterAction_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QSize>("size");
        const QSize defaultSize(960, 640);
        QList<std::tuple<QString, QString, QSize>> rows;
        const QStringList actions =
            QStringLiteral("start sign-in sign-in-refused sign-in-field-error sign-in-closed sign-out "
                           "skip-tour create-project create-project-closed create-iteration pdf-sheet "
                           "save-dialog migration-sheet migration-applied context-delete save-refused "
                           "save-refused-line line-form-closed new-line-closed delete-line "
                           "delete-last-line-menu delete-only-line-menu delete-only-line-key "
                           "payments-sheet payments-sheet-closed payment-added payment-deleted "
                           "hub-payment-restated hub-payment-deleted-click hub-payment-refreshed "
                           "analytics-scope analytics-refreshed")
                .split(QLatin1Char(' '));
        for (const QString &action : actions) {
            rows.append({action, QStringLiteral("default"), defaultSize});
            rows.append({action, QStringLiteral("minimum"), minimumWindowSize});
        }
        // Routes to a section, removals and things made, at the size where each went astray.
        for (const QString &action : QStringLiteral("row-menu-payments detail-payments editor-delete verify-link "
                                                    "first-line")
                                         .split(QLatin1Char(' ')))
            rows.append({action, QStringLiteral("default"), defaultSize});
        for (const QString &action : {QStringLiteral("switch-save"), QStringLiteral("create-signed-in")})
            rows.append({action, QStringLiteral("minimum"), minimumWindowSize});
        // The tree after a deletion under folded groups and back from another section; the folded
        // list in the Tab order, where it stands on screen.
        rows.append({QStringLiteral("editor-delete-folded"), QStringLiteral("default"), defaultSize});
        rows.append({QStringLiteral("back-from-payments"), QStringLiteral("wide"), QSize(1280, 800)});
        for (const QString &action : {QStringLiteral("folded-list-tab"), QStringLiteral("folded-list-backtab")})
            rows.append({action, QStringLiteral("minimum"), minimumWindowSize});
        // A reset link's new password saved by keys: the save button stays disabled.
        rows.append({QStringLiteral("reset-success"), QStringLiteral("default"), defaultSize});
        rows.append({QStringLiteral("reset-success"), QStringLiteral("minimum"), minimumWindowSize});
        // Each account link opened twice in a session, over analytics or the sign-in sheet, and a
        // reset whose request the backend holds.
        for (const QString &action :
             QStringLiteral("verify-twice verify-refused-twice reset-twice reset-in-flight").split(QLatin1Char(' '))) {
            rows.append({action, QStringLiteral("default"), defaultSize});
            rows.append({action, QStringLiteral("minimum"), minimumWindowSize});
        }

        // The table runs as several tests side by side ("k/n": the k-th of n parts), each route's
        // rows together, the routes dealt in turn so that the parts take about as long.
        int part = 0;
        int parts = 1;
        if (const QStringList given = qEnvironmentVariable("TESSMARK_LANDING_PART").split(QLatin1Char('/'));
            given.size() == 2) {
            part = given.at(0).toInt() - 1;
            parts = qMax(1, given.at(1).toInt());
        }
        QStringList routes;
        for (const auto &[action, sizeName, size] : rows) {
            if (!routes.contains(action))
                routes.append(action);
            if (routes.indexOf(action) % parts == part)
                QTest::addRow("%s %s", qPrintable(action), qPrintable(sizeName)) << action << size;
        }
    }
    void focusLandsAfterAction()
    {
        QFETCH(QString, action);
        QFETCH(QSize, size);
        const auto restore = keepBackendData();
        QQuickItem *expected = nullptr;
        bool byKeyboard = true;
        // The window's size once it is open, before anything is pressed.
        const auto sized = [this, size] {
            if (m_window && m_window->size() != size)
                m_window->resize(size);
            return m_window != nullptr;
        };
        // The display takes the window's focus away and gives it back, as another window does.
        const auto awayAndBack = [this] {
            activate();
            QWindowSystemInterface::handleWindowActivated(nullptr, Qt::ActiveWindowFocusReason);
            QTRY_VERIFY(!QGuiApplication::focusWindow());
            activate();
        };
        if (action == QLatin1String("start")) {
            // Nothing pressed yet: the keyboard works the window, so the focus shows its ring, also
            // after the display has made the window active, or another one for a while.
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            expected = item(QStringLiteral("guestButton"));
            QTRY_VERIFY(expected->hasActiveFocus());
            awayAndBack();
        } else if (action == QLatin1String("sign-in-closed")) {
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            QTRY_VERIFY(item(QStringLiteral("guestButton")) && item(QStringLiteral("guestButton"))->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_Tab);
            expected = item(QStringLiteral("signInButton"));
            QCOMPARE(m_window->activeFocusItem(), expected);
            QTest::keyClick(m_window, Qt::Key_Space);
            QQuickItem *email = nullptr;
            QTRY_VERIFY((email = input(QStringLiteral("emailField"))) != nullptr && email->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!item(QStringLiteral("emailField")));
        } else if (action == QLatin1String("sign-out")) {
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            vm->setMainSection(QStringLiteral("settings"));
            QQuickItem *leave = nullptr;
            QTRY_VERIFY((leave = item(QStringLiteral("leaveButton"))) != nullptr && leave->isVisible());
            QVERIFY(tabTo(leave));
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_COMPARE(root()->screen(), RootViewModel::Welcome);
            QTRY_VERIFY((expected = item(QStringLiteral("guestButton"))) != nullptr);
        } else if (action == QLatin1String("create-project-closed")) {
            open(QStringLiteral("light"), true, true);
            QVERIFY(sized());
            QVERIFY(pressCreate());
            QQuickItem *name = nullptr;
            QTRY_VERIFY((name = input(QStringLiteral("nameField"))) != nullptr && name->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!item(QStringLiteral("createProjectSheet")));
            expected = item(QStringLiteral("createButton"));
        } else if (action == QLatin1String("migration-applied")) {
            m_env.addDeviceProjects(2, QStringLiteral("Черновик"));
            m_account.backend.clearRequests();
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(vm->migration()->shown());
            auto *sheet = m_window->findChild<QQuickItem *>(QStringLiteral("localDataMigrationSheet"));
            QVERIFY(sheet);
            QQuickItem *apply = findItem(sheetFrame(sheet), QStringLiteral("confirmButton"));
            QTRY_VERIFY(apply && apply->isVisible() && sheet->property("opened").toBool());
            QVERIFY(tabTo(apply, 10));
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY(!vm->migration()->shown());
            QTRY_VERIFY((expected = item(QStringLiteral("projectTree"))) != nullptr && expected->isVisible());
        } else if (action == QLatin1String("line-form-closed") || action == QLatin1String("new-line-closed")) {
            QVERIFY(openDeviceProject(QStringLiteral("landing-form"), 3, QStringLiteral("light"), size));
            if (action == QLatin1String("line-form-closed")) {
                QTRY_VERIFY((expected = item(QStringLiteral("lineCard-0"))) != nullptr);
                QTest::qWait(300);
                expected->forceActiveFocus(Qt::TabFocusReason);
                QTest::keyClick(m_window, Qt::Key_Return);
            } else {
                QVERIFY(chooseMenuEntry(QStringLiteral("addLine")));
                expected = item(QStringLiteral("actionsMenuButton"));
            }
            QQuickItem *title = nullptr;
            QTRY_VERIFY((title = input(QStringLiteral("formTitle"))) != nullptr && title->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_Escape);
            QTRY_VERIFY(!item(QStringLiteral("formTitle")));
        } else if (action == QLatin1String("delete-line")) {
            QVERIFY(openDeviceProject(QStringLiteral("landing-delete"), 3, QStringLiteral("light"), size));
            QQuickItem *list = nullptr;
            QTRY_VERIFY((list = item(QStringLiteral("editorLines"))) != nullptr);
            QTest::qWait(300);
            QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, 1), Q_ARG(int, 1)); // Beginning
            QTRY_VERIFY(cardAt(list, 1));
            QVERIFY(tabTo(cardAt(list, 0)));
            const QString next = cardAt(list, 1)->property("lineId").toString();
            QTest::keyClick(m_window, Qt::Key_Delete);
            QTRY_VERIFY((expected = m_window->activeFocusItem()) != nullptr
                        && expected->property("lineId").toString() == next);
            awayAndBack();
        } else if (action.startsWith(QLatin1String("delete-last-line"))
                   || action.startsWith(QLatin1String("delete-only-line"))) {
            // The last line, scrolled to with the wheel, deleted through its menu opened by a
            // right-click, or the only one by Delete: the new last line, else "Добавить строку".
            const bool only = action.startsWith(QLatin1String("delete-only"));
            const int lines = only ? 1 : 6;
            QVERIFY(openDeviceProject(QStringLiteral("landing-menu"), lines, QStringLiteral("light"), size));
            QQuickItem *list = nullptr;
            QTRY_VERIFY((list = item(QStringLiteral("editorLines"))) != nullptr);
            ProjectEditorScreenModel *screen = nullptr;
            QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen"))
                        != nullptr);
            QTRY_COMPARE(screen->editor()->itemCount(), lines);
            QTest::qWait(300);
            QQuickItem *card = nullptr;
            QVERIFY(wheelDownUntil(list, [&] { return (card = cardAt(list, lines - 1)) && outOfView(card).isEmpty(); }));
            const QString before = only ? QString() : cardAt(list, lines - 2)->property("lineId").toString();
            if (action.endsWith(QLatin1String("-key"))) {
                QVERIFY(tabTo(card));
                QTest::keyClick(m_window, Qt::Key_Delete);
            } else {
                QTest::mouseClick(m_window, Qt::RightButton, {}, centreOf(card).toPoint());
                QQuickItem *entry = nullptr;
                QTRY_VERIFY((entry = item(QStringLiteral("lineMenuDelete"))) != nullptr && entry->isVisible());
                QTest::qWait(200); // the menu stands still
                clickCentre(entry);
                byKeyboard = false;
            }
            QTRY_COMPARE(screen->editor()->itemCount(), lines - 1);
            if (only) {
                expected = item(QStringLiteral("emptyAddLine"));
            } else {
                QTRY_VERIFY((expected = m_window->activeFocusItem()) != nullptr
                            && expected->property("lineId").toString() == before);
            }
            QVERIFY(expected);
            QTRY_VERIFY2(outOfView(expected).isEmpty(), qPrintable(outOfView(expected)));
            // The list moved no further than its shortened end.
            if (!only) {
                const qreal end = list->property("originY").toReal() + list->property("contentHeight").toReal()
                    + list->property("bottomMargin").toReal() - list->height();
                QTRY_COMPARE(list->property("contentY").toReal(), end);
            }
        } else if (action.startsWith(QLatin1String("analytics"))) {
            // By keys: the scope switch's next choice, or F5 on the second row of the table; the
            // cards give way to the indicator while the figures reload.
            seedAnalytics(4);
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            AnalyticsDashboardModel *model = openAnalytics(vm);
            QVERIFY(model);
            QSignalSpy loads(model, &AnalyticsDashboardModel::stateChanged);
            if (action == QLatin1String("analytics-scope")) {
                QQuickItem *scope = item(QStringLiteral("analyticsScope"));
                QQuickItem *checked = checkedChoice(scope);
                QVERIFY(tabTo(checked, 60));
                const bool first = checked->objectName() == QLatin1String("segment0");
                QTest::keyClick(m_window, first ? Qt::Key_Right : Qt::Key_Left);
                QTRY_VERIFY(loads.size() >= 2 && model->state() == AnalyticsDashboardModel::State::Content);
                QTRY_VERIFY((expected = checkedChoice(item(QStringLiteral("analyticsScope")))) != nullptr);
                QCOMPARE(expected->objectName(), first ? QStringLiteral("segment1") : QStringLiteral("segment0"));
            } else {
                const QString rowName = QStringLiteral("analyticsRow-") + model->rows().at(1).id;
                QQuickItem *row = nullptr;
                QTRY_VERIFY((row = item(QStringLiteral("analyticsRow-") + model->rows().at(0).id)) != nullptr);
                QVERIFY(tabTo(row, 60));
                QTest::keyClick(m_window, Qt::Key_Tab);
                QTRY_COMPARE(m_window->activeFocusItem()->objectName(), rowName);
                activate(); // a shortcut goes to the active window alone
                QTest::keyClick(m_window, Qt::Key_F5);
                QTRY_VERIFY(loads.size() >= 2 && model->state() == AnalyticsDashboardModel::State::Content);
                QTRY_VERIFY((expected = item(rowName)) != nullptr);
            }
            QTRY_VERIFY2(outOfView(expected).isEmpty(), qPrintable(outOfView(expected)));
        } else if (action.startsWith(QLatin1String("hub-payment"))) {
            // In the payments section, with the history longer than the view.
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            const QString project = vm->projectsService()->projects().first().id;
            addPayments(project, 6);
            QObject *finance = openPayments(vm, project);
            QVERIFY(finance);
            auto *scroll = m_window->findChild<QQuickItem *>(QStringLiteral("financeScroll"));
            QVERIFY(scroll);
            const bool refreshed = action == QLatin1String("hub-payment-refreshed");
            const bool restated = refreshed || action == QLatin1String("hub-payment-restated");
            // By keys: Tab to the fourth payment's status, the arrow chooses the next one (or F5
            // reloads the history). By a click: the last payment's "Удалить", scrolled to with the wheel.
            // The history makes its rows as they come into sight: they are found by payment.
            const int last = finance->property("payments").value<QAbstractItemModel *>()->rowCount() - 1;
            const QString paymentId = paymentIdAt(finance, restated ? 3 : last);
            const QString next = restated ? paymentId : paymentIdAt(finance, last - 1);
            const auto controlOf = [this, restated](const QString &id) -> QQuickItem * {
                QQuickItem *row = paymentRow(id);
                return !row    ? nullptr
                    : restated ? findItem(findItem(row, QStringLiteral("rowStatus")), QStringLiteral("segment0"))
                               : findItem(row, QStringLiteral("deleteButton"));
            };
            // The cards are laid out a frame or more after the history arrives.
            QQuickItem *add = item(QStringLiteral("addPaymentButton"));
            QVERIFY(add);
            QVERIFY(waitForStill(m_window, [add] { return QList{add->mapRectToScene(add->boundingRect())}; }));
            QQuickItem *control = nullptr;
            if (restated) {
                QVERIFY(tabUntil([&] { return (control = controlOf(paymentId)) && control->hasActiveFocus(); }));
            } else {
                QVERIFY(wheelDownUntil(
                    scroll, [&] { return (control = controlOf(paymentId)) && outOfView(control).isEmpty(); }));
                byKeyboard = false;
            }
            const auto controlAt = [control] { return QList{control->mapRectToScene(control->boundingRect())}; };
            // The view follows the keyboard or the wheel a moment later: it stands still first.
            QTRY_VERIFY(scroll->property("contentY").toReal() > scroll->property("originY").toReal());
            QVERIFY(waitForStill(m_window, controlAt));
            const qreal shownAt = scroll->property("contentY").toReal();
            QSignalSpy moved(scroll, SIGNAL(contentYChanged()));
            QSignalSpy changed(finance, SIGNAL(paymentsChanged()));
            QSignalSpy loading(finance, SIGNAL(isLoadingChanged()));
            if (refreshed) {
                activate(); // a shortcut goes to the active window alone
                QTest::keyClick(m_window, Qt::Key_F5);
            } else if (restated) {
                QTest::keyClick(m_window, Qt::Key_Right);
            } else {
                clickCentre(control);
            }
            if (refreshed)
                QTRY_VERIFY(loading.size() >= 2 && !finance->property("isLoading").toBool());
            else
                QTRY_COMPARE(changed.size(), 1);
            QQuickItem *row = nullptr;
            QTRY_VERIFY((row = paymentRow(next)) != nullptr);
            expected = restated ? findItem(findItem(row, QStringLiteral("rowStatus")),
                                           refreshed ? QStringLiteral("segment0") : QStringLiteral("segment1"))
                                : findItem(row, QStringLiteral("deleteButton"));
            QTRY_COMPARE(m_window->activeFocusItem(), expected);
            QTRY_VERIFY2(outOfView(expected).isEmpty(), qPrintable(outOfView(expected)));
            QCOMPARE(paymentRow(paymentId) != nullptr, restated);
            // The view stayed where it was while the cards reloaded; the last one's deletion
            // only shortens the content below it.
            if (restated) {
                QCOMPARE(moved.size(), 0);
            } else {
                // The list's content begins above 0, where its header stands.
                const qreal end = scroll->property("originY").toReal() + scroll->property("contentHeight").toReal()
                    - scroll->height();
                QCOMPARE(scroll->property("contentY").toReal(), std::min(shownAt, end));
            }
        } else if (action.startsWith(QLatin1String("payment"))) {
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            if (action == QLatin1String("payment-deleted"))
                addPayments(vm->projectsService()->projects().first().id, 4);
            vm->setSelectedProjectId(vm->projectsService()->projects().first().id);
            QQuickItem *payments = nullptr;
            QTRY_VERIFY((payments = item(QStringLiteral("paymentsButton"))) != nullptr && payments->isVisible()
                        && payments->isEnabled());
            QTest::qWait(300);
            QVERIFY(tabTo(payments));
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY((expected = input(QStringLiteral("amountField"))) != nullptr && expected->isVisible());
            if (action == QLatin1String("payments-sheet-closed")) {
                QTRY_VERIFY(expected->hasActiveFocus());
                QTest::keyClick(m_window, Qt::Key_Escape);
                QTRY_VERIFY(!item(QStringLiteral("amountField")));
                expected = payments;
            } else if (action == QLatin1String("payment-added")) {
                QTRY_VERIFY(expected->hasActiveFocus());
                auto *finance = modelOf<QObject>(QStringLiteral("projectFinanceView"), "finance");
                QVERIFY(finance);
                QTRY_VERIFY(!finance->property("isLoading").toBool());
                const int before = finance->property("payments").value<QAbstractItemModel *>()->rowCount();
                typeText(QStringLiteral("100"));
                QVERIFY(tabTo(item(QStringLiteral("addPaymentButton")), 10));
                QTest::keyClick(m_window, Qt::Key_Space);
                QTRY_COMPARE(finance->property("payments").value<QAbstractItemModel *>()->rowCount(), before + 1);
                QTRY_VERIFY(!finance->property("isLoading").toBool());
                // What the sheet scrolled under its bar reads as not showing, once the view rests.
                QTRY_VERIFY(expected->hasActiveFocus());
                QVERIFY(
                    waitForStill(m_window, [&] { return QList{expected->mapRectToScene(expected->boundingRect())}; }));
                if (QAccessible::isActive()) {
                    const QStringList unseen =
                        AccessibilityAudit::problems(m_window).filter(QStringLiteral("out of sight"));
                    QVERIFY2(unseen.isEmpty(), qPrintable(unseen.join(QLatin1Char('\n'))));
                }
            } else if (action == QLatin1String("payment-deleted")) {
                // In the sheet by keys: Tab to the third payment's "Удалить", Return; the keyboard
                // goes on to the payment that followed it.
                QTRY_VERIFY(expected->hasActiveFocus());
                auto *finance = modelOf<QObject>(QStringLiteral("projectFinanceView"), "finance");
                QVERIFY(finance);
                QTRY_VERIFY(!finance->property("isLoading").toBool());
                const int before = finance->property("payments").value<QAbstractItemModel *>()->rowCount();
                // The history makes its rows as they come into sight: they are found by payment.
                const QString deleted = paymentIdAt(finance, 2);
                const QString next = paymentIdAt(finance, 3);
                QQuickItem *row = nullptr;
                QVERIFY(tabUntil(
                    [&] {
                        return (row = paymentRow(deleted))
                            && findItem(row, QStringLiteral("deleteButton"))->hasActiveFocus();
                    },
                    40));
                QTest::keyClick(m_window, Qt::Key_Return);
                QTRY_COMPARE(finance->property("payments").value<QAbstractItemModel *>()->rowCount(), before - 1);
                QTRY_VERIFY(!finance->property("isLoading").toBool());
                QTRY_VERIFY((row = paymentRow(next)) != nullptr);
                expected = findItem(row, QStringLiteral("deleteButton"));
                QTRY_COMPARE(m_window->activeFocusItem(), expected);
                QTRY_VERIFY2(outOfView(expected).isEmpty(), qPrintable(outOfView(expected)));
            }
        } else if (action.startsWith(QLatin1String("sign-in"))) {
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            QTRY_VERIFY(item(QStringLiteral("guestButton")) && item(QStringLiteral("guestButton"))->hasActiveFocus());
            // From the first way on to the second, which opens the sign-in sheet.
            QTest::keyClick(m_window, Qt::Key_Tab);
            QCOMPARE(m_window->activeFocusItem(), item(QStringLiteral("signInButton")));
            QTest::keyClick(m_window, Qt::Key_Space);
            QQuickItem *email = nullptr;
            QTRY_VERIFY((email = input(QStringLiteral("emailField"))) != nullptr && email->hasActiveFocus());
            const bool fieldError = action == QLatin1String("sign-in-field-error");
            typeText(fieldError ? QStringLiteral("anna@") : QString::fromUtf8(DemoSeed::email));
            QTest::keyClick(m_window, Qt::Key_Tab);
            typeText(action == QLatin1String("sign-in") ? QString::fromUtf8(DemoSeed::password)
                                                        : QStringLiteral("wrong-pass-1"));
            QTest::keyClick(m_window, Qt::Key_Return);
            if (action == QLatin1String("sign-in")) {
                QTRY_COMPARE(root()->screen(), RootViewModel::AccountShell);
                QTRY_VERIFY((expected = item(QStringLiteral("projectTree"))) != nullptr && expected->isVisible());
            } else if (fieldError) {
                expected = email;
                QTRY_VERIFY(item(QStringLiteral("emailField"))->property("hasError").toBool());
            } else {
                // Refused by the backend: read as an alert, the keyboard back in the password field.
                QQuickItem *banner = nullptr;
                QTRY_VERIFY((banner = item(QStringLiteral("errorBanner"))) != nullptr && banner->isVisible());
                expected = input(QStringLiteral("passwordField"));
                verifyAlert(banner, QStringLiteral("Неверный email или пароль"));
                QTRY_COMPARE(m_window->activeFocusItem(), expected);
                verifyLanding(expected, true);
                // Pressed with the mouse, the button keeps the focus, without a ring.
                expected = item(QStringLiteral("submitButton"));
                // The banner pushed the button down: scrolled to, as a person does.
                for (QObject *scroller : m_window->findChildren<QObject *>(QStringLiteral("accountScroller"))) {
                    const qreal end =
                        scroller->property("contentHeight").toReal() - scroller->property("height").toReal();
                    scroller->setProperty("contentY", std::max<qreal>(0, end));
                }
                QTRY_VERIFY(m_window->contentItem()->contains(centreOf(expected)));
                QSignalSpy request(root()->auth(), &AuthService::isLoadingChanged);
                clickCentre(expected);
                QTRY_VERIFY(request.size() >= 2 && !root()->auth()->isLoading());
                QVERIFY(banner->isVisible());
                byKeyboard = false;
            }
        } else if (action == QLatin1String("skip-tour")) {
            m_env.addDeviceProjects(3, QStringLiteral("Мобильное приложение"));
            open(QStringLiteral("light"), false, true);
            QVERIFY(sized());
            QQuickItem *skip = nullptr;
            QTRY_VERIFY((skip = item(QStringLiteral("onboardingSkip"))) != nullptr && skip->isVisible());
            QTRY_VERIFY(item(QStringLiteral("onboardingNext"))->hasActiveFocus());
            QVERIFY(tabTo(skip, 20));
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY(!shell()->tour()->running());
            expected = item(QStringLiteral("projectCards"));
        } else if (action == QLatin1String("create-project")) {
            const QList<Project> before = m_env.addDeviceProjects(2, QStringLiteral("Лендинг студии"));
            open(QStringLiteral("light"), true, true);
            QVERIFY(sized());
            QVERIFY(pressCreate());
            QQuickItem *name = nullptr;
            QTRY_VERIFY((name = input(QStringLiteral("nameField"))) != nullptr && name->hasActiveFocus());
            typeText(QStringLiteral("Сайт пекарни"));
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_VERIFY(!item(QStringLiteral("createProjectSheet")));
            // The new project is the one selected under the focus; where the open editor folds
            // the list into its rail, the focus is on the rail's button, which opens the list.
            QTRY_VERIFY(!shell()->selectedProjectId().isEmpty());
            QQuickItem *rail = item(QStringLiteral("showProjectsButton"));
            expected = rail && rail->isVisible() ? rail : item(QStringLiteral("projectCards"));
            for (const Project &old : before)
                QVERIFY(shell()->selectedProjectId() != old.id);
        } else if (action == QLatin1String("row-menu-payments") || action == QLatin1String("detail-payments")
                   || action == QLatin1String("editor-delete")) {
            // "Платежи" in an iteration's menu or the analytics pane: the payments' first control;
            // "Удалить" in the editor of a project without iterations: the list.
            seedAnalytics(2);
            const QString rootId = addRootWithIterations(1);
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QString id;
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            const QList<Project> &projects = vm->projectsService()->projects();
            for (const Project &project : projects) {
                const bool plain = !project.isIteration()
                    && std::none_of(projects.cbegin(), projects.cend(),
                                    [&project](const Project &other) { return other.parentProjectId == project.id; });
                if (action == QLatin1String("editor-delete") ? plain : project.parentProjectId == rootId)
                    id = project.id;
            }
            QVERIFY(!id.isEmpty());
            if (action == QLatin1String("row-menu-payments")) {
                QQuickItem *row = nullptr;
                QTRY_VERIFY((row = item(QStringLiteral("projectRow-") + id)) != nullptr && row->isVisible());
                QTest::mouseClick(m_window, Qt::RightButton, {}, centreOf(row).toPoint());
                QVERIFY(clickWhenStill(QStringLiteral("rowMenuEntry-finance")));
                byKeyboard = false;
            } else if (action == QLatin1String("detail-payments")) {
                AnalyticsDashboardModel *model = openAnalytics(vm);
                QVERIFY(model && !model->rows().isEmpty());
                vm->setSelectedAnalyticsRow(model->rows().first());
                QQuickItem *payments = nullptr;
                QTRY_VERIFY((payments = item(QStringLiteral("analyticsDetailPayments"))) != nullptr);
                QVERIFY(tabTo(payments, 80));
                QTest::keyClick(m_window, Qt::Key_Space);
            } else {
                vm->setSelectedProjectId(id);
                auto *list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel");
                QVERIFY(list);
                QTRY_COMPARE(list->currentProjectId(), id);
                // The row that comes into the deleted one's place.
                const qsizetype at = list->currentIndex();
                QQuickItem *remove = nullptr;
                QTRY_VERIFY((remove = item(QStringLiteral("deleteButton"))) != nullptr && remove->isVisible());
                QVERIFY(tabTo(remove, 80));
                QTest::keyClick(m_window, Qt::Key_Space);
                QVERIFY(clickWhenStill(QStringLiteral("dialogButton0")));
                QTRY_VERIFY(vm->selectedProjectId().isEmpty());
                QTRY_VERIFY(list->currentProjectId() != id && !list->currentProjectId().isEmpty());
                QCOMPARE(list->currentIndex(), std::min<qsizetype>(at, list->treeModel()->rowCount() - 1));
                expected = item(QStringLiteral("projectTree"));
                byKeyboard = false;
            }
            if (!expected) {
                QTRY_COMPARE(vm->mainSection(), QStringLiteral("payments"));
                QTRY_VERIFY((expected = item(QStringLiteral("hubRefreshButton"))) != nullptr);
            }
        } else if (action == QLatin1String("editor-delete-folded") || action == QLatin1String("back-from-payments")) {
            // "Удалить" in the editor of a project below groups the person folded: the groups unfold
            // again (there is one project less) and the keys go to the project that followed the
            // deleted one. Or an iteration opened, "Платежи" and back to "Проекты" in the sidebar:
            // its group unfolds, the keys on its row.
            addRootWithIterations(1);
            addListProjects(false, 2);
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            auto *list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel");
            QVERIFY(list);
            QTRY_VERIFY(!list->expandedRoots().isEmpty());
            const auto shows = [&list](const QString &id) {
                const QList<ProjectTreeRow> &rows = list->treeModel()->rows();
                return std::any_of(rows.cbegin(), rows.cend(),
                                   [&id](const ProjectTreeRow &row) { return row.projectId == id; });
            };
            expected = item(QStringLiteral("projectTree"));
            byKeyboard = false;
            if (action == QLatin1String("back-from-payments")) {
                QString iteration;
                for (const ProjectTreeRow &row : list->treeModel()->rows()) {
                    if (row.isIteration)
                        iteration = row.projectId;
                }
                QVERIFY(shows(iteration));
                QVERIFY(clickWhenStill(QStringLiteral("projectRow-") + iteration));
                QTRY_COMPARE(vm->selectedProjectId(), iteration);
                QTRY_VERIFY(item(QStringLiteral("projectEditor")));
                QVERIFY(clickWhenStill(QStringLiteral("sidebarRow-payments")));
                QTRY_COMPARE(vm->mainSection(), QStringLiteral("payments"));
                QVERIFY(clickWhenStill(QStringLiteral("sidebarRow-projects")));
                QTRY_VERIFY((list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel"))
                                != nullptr
                            && list->contentState() == QLatin1String("tree"));
                QTRY_COMPARE(list->currentProjectId(), iteration);
                QTRY_VERIFY((expected = item(QStringLiteral("projectTree"))) != nullptr);
                QQuickItem *row = nullptr;
                QTRY_VERIFY((row = item(QStringLiteral("projectRow-") + iteration)) != nullptr
                            && row->hasActiveFocus());
                QTRY_VERIFY2(outOfView(row).isEmpty(), qPrintable(outOfView(row)));
            } else {
                // Every group folded by its toggle, as a person does.
                while (!list->expandedRoots().isEmpty()) {
                    const QString root = *list->expandedRoots().cbegin();
                    QQuickItem *row = item(QStringLiteral("projectRow-") + root);
                    QQuickItem *toggle = row ? findItem(row, QStringLiteral("expandToggle")) : nullptr;
                    QVERIFY(toggle && waitForStill(m_window, [toggle] {
                                return QList{toggle->mapRectToScene(toggle->boundingRect())};
                            }));
                    clickCentre(toggle);
                    QTRY_VERIFY(!list->expandedRoots().contains(root));
                }
                // A plain project below a folded group, with one after it.
                const QList<ProjectTreeRow> rows = list->treeModel()->rows();
                qsizetype at = 1;
                while (at + 1 < rows.size() && (rows.at(at).hasChildren || !rows.at(at - 1).hasChildren))
                    ++at;
                QVERIFY(at + 1 < rows.size());
                const QString id = rows.at(at).projectId;
                const QString next = rows.at(at + 1).projectId;
                vm->setSelectedProjectId(id);
                QQuickItem *remove = nullptr;
                QTRY_VERIFY((remove = item(QStringLiteral("deleteButton"))) != nullptr && remove->isVisible());
                QVERIFY(tabTo(remove, 80));
                QTest::keyClick(m_window, Qt::Key_Space);
                QVERIFY(clickWhenStill(QStringLiteral("dialogButton0")));
                QTRY_VERIFY(vm->selectedProjectId().isEmpty());
                QTRY_VERIFY(!shows(id));
                QVERIFY(!list->expandedRoots().isEmpty());
                QTRY_COMPARE(list->currentProjectId(), next);
                QQuickItem *row = nullptr;
                QTRY_VERIFY((row = item(QStringLiteral("projectRow-") + next)) != nullptr && row->hasActiveFocus());
            }
        } else if (action.startsWith(QLatin1String("folded-list"))) {
            // With a project open at the smallest size, "Список проектов" by keys shows the list over
            // the editor with the keys in it; Tab from its last stop goes on to the editor, Shift+Tab
            // from its first back to the rail's button, as the columns stand on screen.
            m_env.addDeviceProjects(3, QStringLiteral("Лендинг студии"));
            QVERIFY(openDeviceProject(QStringLiteral("landing-folded"), 3, QStringLiteral("light"), size));
            QQuickItem *rail = nullptr;
            QTRY_VERIFY((rail = item(QStringLiteral("showProjectsButton"))) != nullptr && rail->isVisible());
            QTRY_VERIFY(item(QStringLiteral("projectEditor")));
            QVERIFY(tabTo(rail, 80));
            QTest::keyClick(m_window, Qt::Key_Space);
            QQuickItem *panel = item(QStringLiteral("projectsPanel"));
            QVERIFY(panel);
            QTRY_VERIFY(panel->isVisible() && panel->isAncestorOf(m_window->activeFocusItem()));
            const bool back = action.endsWith(QLatin1String("backtab"));
            if (back) {
                expected = rail;
            } else {
                QQuickItem *detail = item(QStringLiteral("detailColumn"));
                expected = detail->nextItemInFocusChain(true);
                QVERIFY(expected && detail->isAncestorOf(expected));
            }
            // Stop by stop, each shown with its ring before the next key, until the keys leave it.
            for (int i = 0; i < 20 && panel->isAncestorOf(m_window->activeFocusItem()); ++i) {
                QTRY_VERIFY2(FocusCheck::problem(m_window).isEmpty(), qPrintable(FocusCheck::problem(m_window)));
                QTest::keyClick(m_window, back ? Qt::Key_Backtab : Qt::Key_Tab);
            }
            QTRY_VERIFY(!panel->isVisible());
        } else if (action == QLatin1String("switch-save")) {
            // An edit, another project picked in the folded list, "Сохранить": the list it was picked in.
            const QString other = m_env.addDeviceProjects(1, QStringLiteral("Другой")).first().id;
            MainShellViewModel *vm =
                openDeviceProject(QStringLiteral("landing-switch"), 2, QStringLiteral("light"), size);
            QVERIFY(vm);
            QTRY_VERIFY(input(QStringLiteral("nameField")) && input(QStringLiteral("nameField"))->isVisible());
            clickCentre(input(QStringLiteral("nameField")));
            QTest::keyClick(m_window, Qt::Key_1);
            QVERIFY(clickWhenStill(QStringLiteral("showProjectsButton")));
            QVERIFY(clickWhenStill(QStringLiteral("projectRow-") + other));
            QVERIFY(clickWhenStill(QStringLiteral("dialogButton0")));
            QTRY_COMPARE(vm->selectedProjectId(), other);
            expected = item(QStringLiteral("projectCards"));
            byKeyboard = false;
        } else if (action == QLatin1String("create-signed-in")) {
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            QVERIFY(pressCreate());
            QTRY_VERIFY(input(QStringLiteral("nameField")) && input(QStringLiteral("nameField"))->hasActiveFocus());
            typeText(QStringLiteral("Сайт пекарни"));
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_COMPARE(vm->projectsService()->projects().first().name, QStringLiteral("Сайт пекарни"));
            // Its editor folds the list into the rail, whose button has the keys.
            QTRY_VERIFY((expected = item(QStringLiteral("showProjectsButton"))) != nullptr && expected->isVisible());
        } else if (action == QLatin1String("reset-success")) {
            // The new password twice, Return on "Сохранить пароль", which stays disabled: the
            // outcome read as an alert, the keys on "Закрыть".
            const QString changed = QStringLiteral("Пароль изменён. Войдите с новым паролем.");
            m_account.backend.setOverride(QStringLiteral("POST"), QStringLiteral("auth/reset-password"),
                                          BackendReply::message(200, changed).after(300));
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            root()->openUrl(QStringLiteral("tessmark://reset-password?token=abc"));
            QQuickItem *password = nullptr;
            QTRY_VERIFY((password = input(QStringLiteral("passwordField"))) != nullptr && password->hasActiveFocus());
            typeText(QStringLiteral("secret-12"));
            QVERIFY(tabTo(input(QStringLiteral("confirmField")), 4));
            typeText(QStringLiteral("secret-12"));
            QVERIFY(tabTo(item(QStringLiteral("saveButton")), 4));
            QTest::keyClick(m_window, Qt::Key_Return);
            QQuickItem *outcome = nullptr;
            QTRY_VERIFY((outcome = item(QStringLiteral("successLine"))) != nullptr && outcome->isVisible());
            verifyAlert(outcome, changed);
            QVERIFY(!item(QStringLiteral("saveButton"))->isEnabled());
            expected = findItem(sheetFrame(item(QStringLiteral("deepLinkSheet"))), QStringLiteral("cancelButton"));
            QVERIFY(expected);
            QCOMPARE(expected->property("text").toString(), QStringLiteral("Закрыть"));
        } else if (action.endsWith(QLatin1String("-twice")) || action == QLatin1String("reset-in-flight")) {
            // A link's sheet closed with "Закрыть" and the next one opened: each starts on its first
            // control with its ring, the outcome read as an alert.
            const bool reset = action.startsWith(QLatin1String("reset"));
            const bool refused = action == QLatin1String("verify-refused-twice");
            const bool inFlight = action == QLatin1String("reset-in-flight");
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            if (refused || reset) {
                // Signed out, over the sign-in sheet, which comes back as each link's sheet closes.
                QTRY_VERIFY(item(QStringLiteral("guestButton"))
                            && item(QStringLiteral("guestButton"))->hasActiveFocus());
                QTest::keyClick(m_window, Qt::Key_Tab);
                QTest::keyClick(m_window, Qt::Key_Space);
                QTRY_VERIFY(input(QStringLiteral("emailField"))
                            && input(QStringLiteral("emailField"))->hasActiveFocus());
            } else {
                MainShellViewModel *vm = signedInShell();
                QVERIFY(vm);
                QVERIFY(openAnalytics(vm));
            }
            if (inFlight)
                m_account.backend.hold(QStringLiteral("POST"), QStringLiteral("auth/reset-password"));
            for (int showing = 0; showing < (inFlight ? 1 : 2); ++showing) {
                const QString token = QStringLiteral("token-%1").arg(showing);
                if (reset) {
                    root()->openUrl(QStringLiteral("tessmark://reset-password?token=") + token);
                    QTRY_VERIFY((expected = input(QStringLiteral("passwordField"))) != nullptr
                                && expected->hasActiveFocus());
                } else {
                    if (!refused)
                        m_account.backend.data().verificationTokens.insert(token, QString());
                    root()->openUrl(QStringLiteral("tessmark://verify-email?token=") + token);
                    QQuickItem *view = nullptr;
                    QTRY_VERIFY((view = item(QStringLiteral("verifyEmailView"))) != nullptr);
                    QQuickItem *outcome = findItem(view, QStringLiteral("outcomeText"));
                    QTRY_VERIFY(outcome->isVisible());
                    verifyAlert(outcome,
                                refused ? QStringLiteral("Ссылка подтверждения недействительна или устарела")
                                        : QStringLiteral("Email подтверждён. Теперь можно войти."));
                    expected = findItem(view, QStringLiteral("closeButton"));
                }
                QTRY_COMPARE(m_window->activeFocusItem(), expected);
                verifyLanding(expected, true);
                if (inFlight || showing > 0)
                    break;
                // "Закрыть": the verification's has the keys; the reset's stands in the sheet's bar.
                if (reset) {
                    QVERIFY(tabTo(
                        findItem(sheetFrame(item(QStringLiteral("deepLinkSheet"))), QStringLiteral("cancelButton")),
                        10));
                    QTest::keyClick(m_window, Qt::Key_Space);
                } else {
                    QTest::keyClick(m_window, Qt::Key_Return);
                }
                QTRY_VERIFY(!item(QStringLiteral("verifyEmailView")) && !item(QStringLiteral("resetPasswordView")));
                if (refused || reset)
                    QTRY_VERIFY(input(QStringLiteral("emailField"))
                                && input(QStringLiteral("emailField"))->hasActiveFocus());
            }
            if (inFlight) {
                // The new password sent by Return on "Сохранить пароль": the keys stay on the busy
                // button while the backend holds its answer.
                typeText(QStringLiteral("secret-12"));
                QVERIFY(tabTo(input(QStringLiteral("confirmField")), 4));
                typeText(QStringLiteral("secret-12"));
                QVERIFY(tabTo(item(QStringLiteral("saveButton")), 4));
                QTest::keyClick(m_window, Qt::Key_Return);
                QTRY_VERIFY(root()->auth()->isLoading());
                expected = item(QStringLiteral("saveButton"));
                QVERIFY(expected->property("busy").toBool());
                QTest::qWait(100);
            }
        } else if (action == QLatin1String("verify-link")) {
            // A verification link while a project is open: the sheet's own control.
            QVERIFY(openDeviceProject(QStringLiteral("landing-link"), 2, QStringLiteral("light"), size));
            QTRY_VERIFY(item(QStringLiteral("projectEditor")));
            root()->openUrl(QStringLiteral("tessmark://verify-email?token=abc"));
            QQuickItem *view = nullptr;
            QTRY_VERIFY((view = item(QStringLiteral("verifyEmailView"))) != nullptr);
            expected = findItem(view, QStringLiteral("closeButton"));
        } else if (action == QLatin1String("first-line")) {
            // The first line of an empty project, added by keys: its card, with the ring.
            QVERIFY(openDeviceProject(QStringLiteral("landing-first"), 0, QStringLiteral("light"), size));
            QQuickItem *add = nullptr;
            QTRY_VERIFY((add = item(QStringLiteral("emptyAddLine"))) != nullptr && add->isVisible());
            QVERIFY(tabTo(add, 80));
            QTest::keyClick(m_window, Qt::Key_Space);
            QTRY_VERIFY(input(QStringLiteral("formTitle")) && input(QStringLiteral("formTitle"))->hasActiveFocus());
            typeText(QStringLiteral("Дизайн"));
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_VERIFY((expected = item(QStringLiteral("lineCard-0"))) != nullptr);
        } else if (action == QLatin1String("create-iteration")) {
            const QString rootId = addRootWithIterations(1);
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(!vm->projectsService()->projects().isEmpty());
            vm->setSelectedProjectId(rootId);
            QVERIFY(chooseMenuEntry(QStringLiteral("newIteration")));
            QQuickItem *name = nullptr;
            QTRY_VERIFY((name = input(QStringLiteral("iterationNameField"))) != nullptr && name->hasActiveFocus());
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_VERIFY(vm->selectedProjectId() != rootId && !vm->selectedProjectId().isEmpty());
            // The new iteration's editor, at its actions: its filled name is not typed over.
            QTRY_VERIFY((expected = item(QStringLiteral("actionsMenuButton"))) != nullptr && expected->isVisible());
            QTRY_COMPARE(
                modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen")->editor()->projectId(),
                vm->selectedProjectId());
        } else if (action == QLatin1String("pdf-sheet") || action == QLatin1String("save-dialog")) {
            QVERIFY(openDeviceProject(QStringLiteral("landing-pdf"), 5, QStringLiteral("light"), size));
            QVERIFY(chooseMenuEntry(QStringLiteral("export")));
            // Once the file is made, its first action has the keyboard.
            QTRY_VERIFY_WITH_TIMEOUT((expected = findSaveButton()) != nullptr && expected->isVisible(), 15000);
            QTRY_COMPARE(m_window->activeFocusItem(), expected);
            if (action == QLatin1String("save-dialog")) {
                QTest::keyClick(m_window, Qt::Key_Space);
                QObject *dialog = nullptr;
                QTRY_VERIFY((dialog = m_window->findChild<QObject *>(QStringLiteral("saveFileDialog"))) != nullptr);
                QTRY_VERIFY(dialog->property("opened").toBool());
                QTRY_VERIFY(input(QStringLiteral("fileNameField"))
                            && input(QStringLiteral("fileNameField"))->hasActiveFocus());
                const QPointer<QObject> closing = dialog;
                QTest::keyClick(m_window, Qt::Key_Escape);
                QTRY_VERIFY(!closing || !closing->property("visible").toBool());
            }
        } else if (action == QLatin1String("migration-sheet")) {
            m_env.addDeviceProjects(2, QStringLiteral("Черновик"));
            m_account.backend.clearRequests();
            open(QStringLiteral("light"), true, false);
            QVERIFY(sized());
            MainShellViewModel *vm = signedInShell();
            QVERIFY(vm);
            QTRY_VERIFY(vm->migration()->shown());
            QQuickItem *policies = nullptr;
            QTRY_VERIFY((policies = item(QStringLiteral("policyPicker"))) != nullptr && policies->isVisible());
            QTRY_VERIFY((expected = checkedChoice(policies)) != nullptr);
        } else if (action == QLatin1String("context-delete")) {
            const QList<Project> projects = m_env.addDeviceProjects(3, QStringLiteral("Лендинг студии"));
            open(QStringLiteral("light"), true, true);
            QVERIFY(sized());
            QQuickItem *cards = nullptr;
            QQuickItem *card = nullptr;
            QTRY_VERIFY((cards = item(QStringLiteral("projectCards"))) != nullptr
                        && (card = findItem(cards, QStringLiteral("projectRow-") + projects.at(1).id)) != nullptr);
            QTest::qWait(300);
            QTest::mouseClick(m_window, Qt::RightButton, {}, centreOf(card).toPoint());
            QQuickItem *entry = nullptr;
            QTRY_VERIFY((entry = item(QStringLiteral("rowMenuEntry-delete"))) != nullptr && entry->isVisible());
            QTest::qWait(200); // the menu stands still
            clickCentre(entry);
            QQuickItem *confirm = nullptr;
            QTRY_VERIFY((confirm = item(QStringLiteral("dialogButton0"))) != nullptr && confirm->isVisible());
            QCOMPARE(safeButton(QStringLiteral("deleteDialog")), item(QStringLiteral("dialogButton1")));
            QTest::qWait(200);
            clickCentre(confirm);
            QTRY_COMPARE(m_env.repository().fetchAllSorted().size(), 2);
            expected = cards;
            byKeyboard = false;
        } else if (action == QLatin1String("save-refused")) {
            QVERIFY(openDeviceProject(QStringLiteral("landing-save"), 5, QStringLiteral("light"), size));
            QQuickItem *name = nullptr;
            QTRY_VERIFY((name = input(QStringLiteral("nameField"))) != nullptr && name->isVisible());
            QTest::qWait(300);
            clickCentre(name);
            QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(m_window, Qt::Key_Delete);
            QQuickItem *save = item(QStringLiteral("saveButton"));
            QVERIFY(tabTo(save));
            QTest::keyClick(m_window, Qt::Key_Space);
            // Told as an alert; the keyboard in the field that stopped the save.
            QQuickItem *status = nullptr;
            QTRY_VERIFY((status = item(QStringLiteral("saveStatusText"))) != nullptr && status->isVisible());
            verifyAlert(status, QStringLiteral("Укажите название проекта"));
            expected = name;
        } else if (action == QLatin1String("save-refused-line")) {
            QVERIFY(openDeviceProject(QStringLiteral("landing-line"), 8, QStringLiteral("light"), size));
            ProjectEditorScreenModel *screen = nullptr;
            QTRY_VERIFY((screen = modelOf<ProjectEditorScreenModel>(QStringLiteral("projectEditor"), "screen"))
                        != nullptr);
            ProjectEditorViewModel *editor = screen->editor();
            const QUuid line = editor->items().at(6).id;
            editor->updateItem(line, [](EditableEstimateItem &edited) { edited.title.clear(); });
            QQuickItem *save = nullptr;
            QTRY_VERIFY((save = item(QStringLiteral("saveButton"))) != nullptr && save->isVisible());
            QTest::qWait(300);
            QVERIFY(tabTo(save));
            QTest::keyClick(m_window, Qt::Key_Space);
            // The line that stopped the save, scrolled into view.
            const int row = editor->sections()->rowOfLine(line.toString(QUuid::WithoutBraces));
            QVERIFY(row >= 0);
            QTRY_VERIFY((expected = item(QStringLiteral("lineCard-%1").arg(row))) != nullptr);
            QTRY_VERIFY(outOfView(expected).isEmpty());
        }
        QVERIFY(expected);
        QTRY_VERIFY2(
            m_window->activeFocusItem()
                && (m_window->activeFocusItem() == expected || expected->isAncestorOf(m_window->activeFocusItem())),
            qPrintable(QStringLiteral("the focus on ") + (m_window->activeFocusItem() ? LayoutCheck::detail::describe(m_window->activeFocusItem()) : QStringLiteral("nothing"))));
        verifyLanding(expected, byKeyboard);
        if (action == QLatin1String("reset-in-flight")) {
            // Refused in the end: the keys are still there, on the button enabled again.
            m_account.backend.release();
            QTRY_VERIFY(!root()->auth()->isLoading());
            QObject *reset = item(QStringLiteral("resetPasswordView"))->property("model").value<QObject *>();
            QTRY_VERIFY(reset->property("hasError").toBool());
            verifyLanding(expected, true);
        } else if (action.startsWith(QLatin1String("verify")) && action.endsWith(QLatin1String("-twice"))) {
            // Return presses the second sheet's "Закрыть" too.
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_VERIFY(!item(QStringLiteral("verifyEmailView")));
        }
        if (action == QLatin1String("sign-in") || action == QLatin1String("migration-applied")) {
            // On the tree's first row: Down goes on to the second, opening nothing; Return opens it.
            auto *list = modelOf<ProjectsListViewModel>(QStringLiteral("projectsList"), "viewModel");
            const QString second = list->treeModel()->rows().value(1).projectId;
            QVERIFY(!second.isEmpty());
            QTest::keyClick(m_window, Qt::Key_Down);
            QTRY_COMPARE(m_window->activeFocusItem()->property("projectId").toString(), second);
            verifyLanding(expected, true);
            QCOMPARE(shell()->selectedProjectId(), QString());
            QTest::keyClick(m_window, Qt::Key_Return);
            QTRY_COMPARE(shell()->selectedProjectId(), second);
        }
    }

    // The window tests' check of the keys' place names a window where none has them, a scope
    // holding them, a control without its ring after a key, one left beneath an open popup, and
    // a disabled control the keys wait for.
    void focusWatchFindsFaults()
    {
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import QtQuick.Templates as T
            import Tessmark.Design
            Window {
                width: 400; height: 300; visible: true
                FocusKeeper {}
                Item { objectName: "scope"; width: 10; height: 10 }
                SecondaryButton { objectName: "button"; y: 40; text: "Кнопка" }
                T.Popup { objectName: "popup"; focus: true; width: 100; height: 100
                          contentItem: Item { SecondaryButton { objectName: "inside"; text: "Внутри" } } }
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        activate(window);
        auto *button = window->findChild<QQuickItem *>(QStringLiteral("button"));
        QCOMPARE(FocusWatch::problem(window, false), QStringLiteral("nothing has the focus"));
        auto *scope = window->findChild<QQuickItem *>(QStringLiteral("scope"));
        scope->forceActiveFocus();
        QVERIFY(FocusWatch::problem(window, false).endsWith(QStringLiteral("no control")));
        button->forceActiveFocus(Qt::TabFocusReason);
        QCOMPARE(FocusWatch::problem(window, true), QString());
        scope->forceActiveFocus();
        button->forceActiveFocus(Qt::MouseFocusReason);
        QCOMPARE(FocusWatch::problem(window, false), QString());
        QVERIFY(FocusWatch::problem(window, true).startsWith(QStringLiteral("no focus ring")));
        button->setEnabled(false);
        const QString stuck = FocusWatch::problem(window, false);
        QVERIFY2(stuck.startsWith(QStringLiteral("nothing has the focus: they wait on the disabled "))
                     && stuck.contains(QStringLiteral("SecondaryButton \"button\"")),
                 qPrintable(stuck));
        button->setEnabled(true);
        QTRY_COMPARE(window->activeFocusItem(), button);
        QObject *popup = window->findChild<QObject *>(QStringLiteral("popup"));
        QMetaObject::invokeMethod(popup, "open");
        QTRY_VERIFY(popup->property("opened").toBool());
        button->forceActiveFocus(Qt::TabFocusReason);
        QVERIFY(FocusWatch::problem(window, true).contains(QStringLiteral("outside the open popup")));
        // The keys left on a view in the popup, the last control beneath it: the keeper takes them
        // to the popup's first control, as the one beneath is out of reach while the popup stands.
        auto *inside = window->findChild<QQuickItem *>(QStringLiteral("inside"));
        inside->parentItem()->forceActiveFocus();
        QTRY_COMPARE(window->activeFocusItem(), inside);
    }

    // The reader's check names an error shown that is not read as an alert, a state's text that
    // is not read at all, any other text drawn that a reader never reaches, a label read as
    // focusable that Tab never reaches, and a text read twice: as a label inside a card that reads
    // it already, or beside a control of its name. An alert, an empty state, a destructive
    // button's label and a field's caption (its input's name) pass. With the app's reading every
    // text drawn is read once, a text kept from a reader on purpose excepted, no label is
    // focusable, and an error still has to be an alert and a caption drawn as a label is still
    // read twice.
    void auditFindsUnreadTexts()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        const auto make = [](QQmlEngine &engine) {
            QQmlComponent component(&engine);
            component.setData(R"(
                import QtQuick
                import Tessmark.Design
                Window {
                    width: 400; height: 600; visible: true
                    Column {
                        width: parent.width
                        Text { objectName: "silentError"; text: "Сервер недоступен"; color: AppTheme.error }
                        AlertText { objectName: "alert"; width: parent.width; text: "Неверный email или пароль" }
                        Text { objectName: "silentState"; text: "Сохранено"; color: AppTheme.success }
                        Text {
                            objectName: "readState"; text: "Есть изменения"; color: AppTheme.warning
                            Accessible.role: Accessible.StaticText; Accessible.name: text
                        }
                        SecondaryButton { text: "Удалить"; color: AppTheme.error }
                        EmptyStateView { width: 300; title: "Нет проектов"; description: "Создайте первый проект" }
                        Text { objectName: "heading"; text: "Новый <b>пароль</b>" }
                        Text { objectName: "keptAway"; text: "Проекты синхронизируются"; Accessible.ignored: true }
                        AppTextField { width: 300; title: "Подтверждение" }
                        AppCard {
                            objectName: "sumCard"; width: 300; inset: 14
                            Accessible.name: "Оплачено"; Accessible.description: "70 650 ₽, 3 625 $"
                            Text {
                                objectName: "sumLabel"; text: "70 650 ₽\n3 625 $"
                                Accessible.role: Accessible.StaticText; Accessible.name: text
                            }
                            Text { objectName: "sumLines"; text: "70 650 ₽\n3 625 $" }
                        }
                        Text { objectName: "dateCaption"; text: "Дата"; Accessible.role: Accessible.StaticText; Accessible.name: text }
                        SecondaryButton { text: "Дата"; Accessible.description: "9 декабря 2026" }
                        // A field at a view's edge: its caption in sight, the field under the edge.
                        Flickable {
                            width: 300; height: edgeField.children[0].height + 3; clip: true; contentHeight: 200
                            AppTextField { id: edgeField; objectName: "edgeField"; width: 300; title: "Валюта" }
                        }
                    }
                })",
                              QUrl());
            std::unique_ptr<QObject> root(component.create());
            if (!root)
                qWarning() << component.errors();
            return root;
        };
        const QString column = QStringLiteral("QQuickRootItem > QQuickColumn > ");
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QuickItemAccessible::uninstall();
        const auto reinstall = qScopeGuard([] { QuickItemAccessible::install(); });
        std::unique_ptr<QObject> qtReading = make(engine);
        QVERIFY(qtReading);
        auto *window = qobject_cast<QQuickWindow *>(qtReading.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QString found = AccessibilityAudit::problems(window).join(QLatin1Char('\n'));
        QVERIFY2(found.contains(QStringLiteral("error text not read as an alert: ") + column
                                + QStringLiteral("QQuickText \"silentError\"")),
                 qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("status text not exposed: ") + column
                                + QStringLiteral("QQuickText \"silentState\"")),
                 qPrintable(found));
        // Named with the words drawn, without their markup.
        const QStringList lines = found.split(QLatin1Char('\n'));
        const auto neverRead = [&lines, &column](const QString &name, const QString &words) {
            return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &line) {
                return line.startsWith(QStringLiteral("text never read: ") + column + QStringLiteral("QQuickText \"")
                                       + name + QLatin1Char('"'))
                    && line.endsWith(QLatin1Char('"') + words + QLatin1Char('"'));
            });
        };
        QVERIFY2(neverRead(QStringLiteral("heading"), QStringLiteral("Новый пароль")), qPrintable(found));
        QVERIFY2(neverRead(QStringLiteral("keptAway"), QStringLiteral("Проекты синхронизируются")), qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("focusable, never reached by Tab: ") + column
                                + QStringLiteral("QQuickText \"readState\"")),
                 qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("text read twice, also by ") + column + QStringLiteral("AppCard")),
                 qPrintable(found));
        QVERIFY2(found.contains(QStringLiteral("text read twice, also as the name of the control beside it: ") + column
                                + QStringLiteral("QQuickText \"dateCaption\"")),
                 qPrintable(found));
        const QString unread =
            lines.filter(QRegularExpression(QStringLiteral("^(text never|status|error)"))).join(QLatin1Char('\n'));
        for (const char *fine : {"Неверный", "readState", "Удалить", "Нет проектов", "Создайте", "Подтверждение"})
            QVERIFY2(!unread.contains(QString::fromUtf8(fine)), qPrintable(found));
        qtReading.reset();

        QuickItemAccessible::install();
        std::unique_ptr<QObject> ours = make(engine);
        QVERIFY(ours);
        window = qobject_cast<QQuickWindow *>(ours.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        found = AccessibilityAudit::problems(window).join(QLatin1Char('\n'));
        QVERIFY2(found.contains(QStringLiteral("error text not read as an alert: ") + column
                                + QStringLiteral("QQuickText \"silentError\"")),
                 qPrintable(found));
        QVERIFY2(
            found.contains(QStringLiteral("text never read: ") + column + QStringLiteral("QQuickText \"keptAway\"")),
            qPrintable(found));
        for (const char *fine : {"silentState", "heading", "Подтверждение", "Неверный", "readState", "Удалить",
                                 "focusable", "also by", "sumLines", "Валюта"})
            QVERIFY2(!found.contains(QString::fromUtf8(fine)), qPrintable(found));
        // Who sees the caption finds the field there.
        auto *edgeField = window->findChild<QQuickItem *>(QStringLiteral("edgeField"));
        auto *edge = edgeField->property("input").value<QQuickItem *>();
        QQuickItem *view = edgeField->parentItem()->parentItem();
        QVERIFY(edge->mapToItem(view, QPointF()).y() >= view->height());
        QVERIFY(!QAccessible::queryAccessibleInterface(edge)->state().invisible);
        QVERIFY2(found.contains(QStringLiteral("also as the name of the control beside it: ") + column
                                + QStringLiteral("QQuickText \"dateCaption\"")),
                 qPrintable(found));
        auto *heading = window->findChild<QQuickItem *>(QStringLiteral("heading"));
        QVERIFY(heading);
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(heading);
        QVERIFY(node);
        QCOMPARE(node->role(), QAccessible::StaticText);
        QCOMPARE(node->text(QAccessible::Name), QStringLiteral("Новый пароль"));
    }

    // With Qt's own reading a sheet, a list and the field in it all read as focused, and a
    // reader's press does nothing; with the app's reading only the field reads as focused (or the
    // row that says it stands for the list's focus), and a press clicks.
    void readerSeesOneFocusAndPresses()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        const auto make = [](QQmlEngine &engine) {
            QQmlComponent component(&engine);
            component.setData(R"(
                import QtQuick
                import QtQuick.Templates as T
                Window {
                    property int clicks: 0
                    width: 300; height: 300; visible: true
                    FocusScope {
                        objectName: "sheet"; width: 300; height: 200
                        Accessible.role: Accessible.Dialog; Accessible.name: "Лист"
                        TextInput {
                            objectName: "field"; width: 200; height: 30; focus: true
                            Accessible.role: Accessible.EditableText; Accessible.name: "Название"
                        }
                        ListView {
                            objectName: "list"; y: 40; width: 200; height: 120; model: 3
                            Accessible.role: Accessible.List; Accessible.name: "Строки"
                            delegate: Item {
                                objectName: "row" + index; width: 200; height: 30
                                Accessible.role: Accessible.ListItem; Accessible.name: "Строка " + index
                                Accessible.focused: ListView.view.activeFocus && index === 2
                            }
                        }
                    }
                    T.AbstractButton {
                        objectName: "press"; y: 220; width: 100; height: 40; text: "Нажать"
                        onClicked: clicks += 1
                    }
                })",
                              QUrl());
            std::unique_ptr<QObject> root(component.create());
            if (!root)
                qWarning() << component.errors();
            return root;
        };
        const auto readFocused = [](QQuickWindow *window) {
            QStringList found;
            const std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
                QAccessibleInterface *node = QAccessible::queryAccessibleInterface(item);
                if (node && !item->objectName().isEmpty() && node->state().focused)
                    found << item->objectName();
                for (QQuickItem *child : item->childItems())
                    walk(child);
            };
            walk(window->contentItem());
            found.sort();
            return found;
        };
        const auto pressButton = [](QQuickWindow *window) {
            auto *button = window->findChild<QQuickItem *>(QStringLiteral("press"));
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            return window->property("clicks").toInt();
        };
        QQmlEngine engine;
        QuickItemAccessible::uninstall();
        const auto reinstall = qScopeGuard([] { QuickItemAccessible::install(); });
        std::unique_ptr<QObject> qtReading = make(engine);
        QVERIFY(qtReading);
        auto *window = qobject_cast<QQuickWindow *>(qtReading.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->findChild<QQuickItem *>(QStringLiteral("field"))->forceActiveFocus();
        QCOMPARE(readFocused(window), (QStringList{"field", "sheet"}));
        QCOMPARE(pressButton(window), 0);
        qtReading.reset();

        QuickItemAccessible::install();
        std::unique_ptr<QObject> ours = make(engine);
        QVERIFY(ours);
        window = qobject_cast<QQuickWindow *>(ours.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->findChild<QQuickItem *>(QStringLiteral("field"))->forceActiveFocus();
        QCOMPARE(readFocused(window), QStringList{"field"});
        QVERIFY2(!AccessibilityAudit::problems(window).join(QLatin1Char('\n')).contains(QLatin1String("at once")),
                 qPrintable(AccessibilityAudit::problems(window).join(QLatin1Char('\n'))));
        // The list has the keys, its first row the item focus, its third row says it stands for it.
        auto *list = window->findChild<QQuickItem *>(QStringLiteral("list"));
        list->forceActiveFocus();
        QCOMPARE(readFocused(window), QStringList{"row2"});
        QCOMPARE(pressButton(window), 1);
    }

    // A password field reads its bullets alone (its text once revealed); a list that made its rows
    // out of order (back from its pool after a scroll) reads them top to bottom, and a removed row,
    // kept in the pool where it stood, is gone.
    void readerGetsBulletsAndRowsAsDrawn()
    {
        if (!QAccessible::isActive())
            QSKIP("the accessibility tree is off");
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            Window {
                width: 300; height: 300; visible: true
                function removeFirst() { rows.remove(0) }
                TextInput {
                    objectName: "password"; width: 200; height: 30; text: "secret-1"
                    echoMode: TextInput.Password; passwordCharacter: "\u2022"
                    Accessible.role: Accessible.EditableText; Accessible.name: "Пароль"
                }
                ListView {
                    objectName: "list"; y: 40; width: 300; height: 150; reuseItems: true; cacheBuffer: 0
                    Accessible.role: Accessible.List; Accessible.name: "Строки"
                    model: ListModel {
                        id: rows
                        Component.onCompleted: { for (let i = 0; i < 30; ++i) append({ title: "Строка " + i }) }
                    }
                    delegate: Item {
                        required property string title
                        width: 300; height: 30
                        Accessible.role: Accessible.ListItem; Accessible.name: title
                    }
                }
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QAccessibleInterface *field =
            QAccessible::queryAccessibleInterface(window->findChild<QQuickItem *>(QStringLiteral("password")));
        const auto readPassword = [field] {
            QAccessibleTextInterface *text = field->textInterface();
            int start = 0, end = 0;
            return QStringList{field->text(QAccessible::Value), text->text(0, text->characterCount()),
                               text->textAtOffset(2, QAccessible::WordBoundary, &start, &end),
                               field->text(QAccessible::Name)};
        };
        const QString bullets(8, QChar(0x2022));
        QVERIFY(field->state().passwordEdit);
        QCOMPARE(readPassword(), (QStringList{bullets, bullets, bullets, QStringLiteral("Пароль")}));
        field->object()->setProperty("echoMode", 0); // Normal: revealed
        QCOMPARE(readPassword().first(), QStringLiteral("secret-1"));
        QVERIFY(!field->state().passwordEdit);

        auto *list = window->findChild<QQuickItem *>(QStringLiteral("list"));
        for (const char *step : {"positionViewAtEnd", "positionViewAtBeginning"}) {
            QMetaObject::invokeMethod(list, step);
            QMetaObject::invokeMethod(list, "forceLayout");
        }
        QMetaObject::invokeMethod(window, "removeFirst");
        QMetaObject::invokeMethod(list, "forceLayout");
        // Every row read shows, "Строка 1" first, each the one after the row before.
        QAccessibleInterface *rows = QAccessible::queryAccessibleInterface(list);
        QStringList read;
        for (int i = 0; i < rows->childCount(); ++i) {
            QVERIFY(!rows->child(i)->state().invisible);
            read << rows->child(i)->text(QAccessible::Name);
        }
        QVERIFY2(read.size() >= 4, qPrintable(read.join(QStringLiteral(", "))));
        for (int i = 0; i < read.size(); ++i)
            QCOMPARE(read.at(i), QStringLiteral("Строка %1").arg(i + 1));
    }

private:
    // Types the text into whatever has the focus.
    // The save dialog over thirty folders: the list scrolled to its end with a row chosen, the
    // new-folder prompt telling of a taken name, and a save that failed on a name too long.
    void shootFolderDialog(const QString &scheme, QQuickItem *rows)
    {
        activate();
        QQuickItem *first = findItem(rows, QStringLiteral("folderRow-Клиент 01"));
        QVERIFY(first);
        clickCentre(first);
        QTRY_VERIFY(rows->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_End);
        QTest::keyClick(m_window, Qt::Key_Up);
        QTRY_VERIFY(rows->property("atYEnd").toBool());
        shoot(QStringLiteral("export-save-dialog-folders-") + scheme);

        clickCentre(item(QStringLiteral("newFolderButton")));
        QQuickItem *name = nullptr;
        QTRY_VERIFY((name = input(QStringLiteral("newFolderName"))) && name->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
        typeText(QStringLiteral("Клиенты"));
        QTest::keyClick(m_window, Qt::Key_Return);
        QQuickItem *taken = nullptr;
        QTRY_VERIFY((taken = findItem(item(QStringLiteral("newFolderName")), QStringLiteral("errorLine")))
                    && taken->isVisible());
        verifyAlert(taken, QStringLiteral("Здесь уже есть папка или файл с таким именем."));
        shoot(QStringLiteral("export-new-folder-") + scheme);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!name->isVisible());

        QQuickItem *field = input(QStringLiteral("fileNameField"));
        QVERIFY(field);
        clickCentre(field);
        QTRY_VERIFY(field->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_A, Qt::ControlModifier);
        typeText(QString(300, QChar(u'К')));
        QTest::keyClick(m_window, Qt::Key_Return);
        QQuickItem *failure = nullptr;
        QTRY_VERIFY((failure = item(QStringLiteral("saveDialogError"))) && failure->isVisible());
        QVERIFY(failure->property("text").toString().startsWith(
            QStringLiteral("Не удалось сохранить файл: имя файла слишком длинное")));
        verifyAlert(failure, failure->property("text").toString());
        shoot(QStringLiteral("export-save-failed-") + scheme);
        clickCentre(item(QStringLiteral("saveDialogCancel")));
    }

    void typeText(const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, m_window, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // The "Сохранить PDF…" of the export sheet (the editor's toolbar has a "saveButton" too).
    QQuickItem *findSaveButton() const
    {
        for (QQuickItem *found : m_window->findChildren<QQuickItem *>(QStringLiteral("saveButton"))) {
            if (found->inherits("QQuickAbstractButton") && found->metaObject()->indexOfProperty("viewModel") >= 0)
                return found;
        }
        return nullptr;
    }

    // Opens the editor's actions menu from the keyboard and chooses the entry with Space.
    bool chooseMenuEntry(const QString &entry)
    {
        QQuickItem *button = nullptr;
        if (!QTest::qWaitFor(
                [&] { return (button = item(QStringLiteral("actionsMenuButton"))) && button->isVisible(); }))
            return false;
        QTest::qWait(300);
        button->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        auto *menu = m_window->findChild<QObject *>(QStringLiteral("editorActionsMenu"));
        if (!menu || !QTest::qWaitFor([menu] { return menu->property("opened").toBool(); }))
            return false;
        // The menu opens on its first entry; Down goes on from there.
        const QString wanted = QStringLiteral("menuEntry-") + entry;
        for (int i = 0; i < 12; ++i) {
            QQuickItem *focused = m_window->activeFocusItem();
            if (focused && focused->objectName() == wanted) {
                QTest::keyClick(m_window, Qt::Key_Space);
                return true;
            }
            QTest::keyClick(m_window, Qt::Key_Down);
        }
        return false;
    }

    // The item is read as an alert whose name is the text.
    void verifyAlert(QQuickItem *shownText, const QString &text)
    {
        QTRY_COMPARE(shownText->property("text").toString(), text);
        if (!QAccessible::isActive())
            return;
        QQuickItem *alert = nullptr;
        for (QQuickItem *i = shownText; i && !alert; i = i->parentItem()) {
            QAccessibleInterface *node = QAccessible::queryAccessibleInterface(i);
            if (node && node->role() == QAccessible::AlertMessage)
                alert = i;
        }
        if (!alert) {
            const QList<QQuickItem *> inside = shownText->findChildren<QQuickItem *>();
            for (QQuickItem *i : inside) {
                QAccessibleInterface *node = QAccessible::queryAccessibleInterface(i);
                if (node && node->role() == QAccessible::AlertMessage && i->isVisible())
                    alert = i;
            }
        }
        QVERIFY2(alert,
                 qPrintable(AccessibilityAudit::describe(shownText) + QStringLiteral(" is not read as an alert")));
        QCOMPARE(QAccessible::queryAccessibleInterface(alert)->text(QAccessible::Name), text);
    }

    // The names of the dialogs a screen reader reads as shown, in the order it meets them.
    QStringList shownDialogs() const
    {
        QStringList found;
        const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (!node || !node->isValid() || node->state().invisible)
                return;
            if (node->role() == QAccessible::Dialog)
                found << node->text(QAccessible::Name);
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(m_window));
        return found;
    }

    // The objects a screen reader reads as focused, in every window shown.
    static QList<QQuickItem *> readAsFocused()
    {
        QList<QQuickItem *> found;
        const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (!node || !node->isValid())
                return;
            auto *quick = qobject_cast<QQuickItem *>(node->object());
            if (quick && AccessibilityAudit::hidden(quick))
                return;
            if (quick && node->state().focused && !found.contains(quick))
                found.append(quick);
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        for (QWindow *window : QGuiApplication::topLevelWindows()) {
            if (window->isVisible())
                walk(QAccessible::queryAccessibleInterface(window));
        }
        return found;
    }

    // The expected item alone has the focus, shows, reads as the one focused object, and shows
    // its ring after a key and none after a click.
    void verifyLanding(QQuickItem *expected, bool byKeyboard)
    {
        // A list gives the keyboard to its current row.
        QQuickItem *focused = m_window->activeFocusItem();
        QVERIFY2(focused && (focused == expected || expected->isAncestorOf(focused)),
                 qPrintable(QStringLiteral("the focus is on %1, not on %2")
                                .arg(focused ? AccessibilityAudit::describe(focused) : QStringLiteral("nothing"),
                                     AccessibilityAudit::describe(expected))));
        QVERIFY2(AccessibilityAudit::shown(expected), qPrintable(AccessibilityAudit::describe(expected)));
        if (QAccessible::isActive()) {
            // Rows a list has just replaced are gone once their deletion has run.
            const auto readOnce = [&] {
                const QList<QQuickItem *> read = readAsFocused();
                return read.size() == 1 && (read.first() == expected || expected->isAncestorOf(read.first()));
            };
            if (!QTest::qWaitFor(readOnce, 2000)) {
                QStringList names;
                for (QQuickItem *object : readAsFocused())
                    names << AccessibilityAudit::describe(object);
                QFAIL(qPrintable(QStringLiteral("read as focused: ") + names.join(QStringLiteral("; "))));
            }
        }
        if (byKeyboard) {
            const QString unseen = FocusCheck::problem(m_window);
            QVERIFY2(unseen.isEmpty(), qPrintable(unseen));
        } else {
            const QStringList rings = FocusCheck::shownRings(m_window);
            QVERIFY2(rings.isEmpty(),
                     qPrintable(QStringLiteral("a ring after a click: ") + rings.join(QStringLiteral("; "))));
        }
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_Screenshots.moc"
