// Signing in through the sign-in screen with the real credential store: the token lands in the
// Secret Service, and the next window restores the session from it.
#include "API/APIClient.h"
#include "App/RootViewModel.h"
#include "AppTestEnvironment.h"
#include "Auth/KeychainTokenStore.h"
#include "DemoSeed.h"
#include "Features/Auth/LoginFormModel.h"
#include "TestBackend.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>
#include <memory>

#include "App/AppQmlPlugins.h"

class TestAccountKeyring : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_api;
    const QString m_service =
        QStringLiteral("app.tessmark.desktop.test-login-%1").arg(QCoreApplication::applicationPid());

    // A window whose sign-in service keeps its token in a store of its own on the keyring.
    std::unique_ptr<RootViewModel> window(std::shared_ptr<KeychainTokenStore> store)
    {
        m_api->setTokenProvider([store] { return store->load(); });
        RootViewModel::setAuthServiceFactory([this, store] { return new AuthService(*m_api, *store); });
        return std::make_unique<RootViewModel>();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("TESSMARK_IN_KEYRING_SESSION"))
            QSKIP("needs the throw-away keyring of scripts/with-keyring");
        DemoSeed::seed(m_backend);
        QVERIFY(m_backend.start() != 0);
        m_api = std::make_unique<APIClient>(m_backend.baseUrl());
        m_env.reset();
    }
    void cleanupTestCase()
    {
        if (m_api)
            KeychainTokenStore(m_service).remove();
    }

    void signInIsRestoredByTheNextWindow()
    {
        auto store = std::make_shared<KeychainTokenStore>(m_service);
        {
            auto root = window(store);
            QQmlEngine engine;
            engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
            QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Auth/LoginView.qml")));
            std::unique_ptr<QObject> view(
                component.createWithInitialProperties({{QStringLiteral("auth"), QVariant::fromValue(root->auth())}}));
            QVERIFY2(view, qPrintable(component.errorString()));
            auto *form = view->property("form").value<LoginFormModel *>();
            QVERIFY(form);
            form->setEmail(QString::fromUtf8(DemoSeed::email));
            form->setPassword(QString::fromUtf8(DemoSeed::password));
            QVERIFY(form->submit());
            QTRY_VERIFY(root->auth()->hasUser());
            QCOMPARE(root->screen(), RootViewModel::AccountShell);
        }
        // A store that reads the keyring anew, as a restart would.
        auto restarted = std::make_shared<KeychainTokenStore>(m_service);
        QVERIFY(restarted->load().has_value());
        auto next = window(restarted);
        QTRY_VERIFY(next->auth()->hasUser());
        QCOMPARE(next->auth()->userValue().email, QString::fromUtf8(DemoSeed::email));
        QCOMPARE(next->screen(), RootViewModel::AccountShell);
    }
};

QTEST_MAIN(TestAccountKeyring)
#include "tst_AccountKeyring.moc"
