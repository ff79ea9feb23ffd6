// The settings screen's model: names, version and scroll rules, the stored choices it writes,
// the profile's state and the restore when the screen appears, on the test backend; signing out
// against the real credential store.
#include "API/APIClient.h"
#include "Auth/AuthService.h"
#include "Auth/KeychainTokenStore.h"
#include "Await.h"
#include "Features/Settings/SettingsViewModel.h"
#include "InMemoryTokenStore.h"
#include "Settings/Preferences.h"
#include "TestBackend.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString email = QStringLiteral("anna@example.test");
const QString password = QStringLiteral("secret-1");
const QString profilePath = QStringLiteral("users/profile");
const QString nonceKey = QStringLiteral("estimate.onboarding.replayRequestNonce");
const QString versionKey = QStringLiteral("estimate.onboarding.main.completedVersion");
const QString welcomeKey = QStringLiteral("estimate.onboarding.welcomeIntro.v1.done");
const QString themeKey = QStringLiteral("app.colorSchemePreference");

User user(std::optional<QString> first, std::optional<QString> last)
{
    User u;
    u.email = email;
    u.firstName = std::move(first);
    u.lastName = std::move(last);
    return u;
}
} // namespace

class TestSettingsViewModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<TestBackend> m_backend;
    std::unique_ptr<APIClient> m_api;
    InMemoryTokenStore m_tokens;
    QString m_accountId;
    int m_run = 0;

    std::unique_ptr<SettingsViewModel> makeModel(AuthService *auth, bool isGuest)
    {
        auto model = std::make_unique<SettingsViewModel>(m_preferences.get());
        model->setAuth(auth);
        model->setGuest(isGuest);
        return model;
    }
    std::unique_ptr<AuthService> signedIn()
    {
        auto auth = std::make_unique<AuthService>(*m_api, m_tokens);
        await(auth->login(email, password));
        return auth;
    }
    int profileRequests() const { return int(m_backend->requests(QStringLiteral("GET"), profilePath).size()); }

private Q_SLOTS:
    void init()
    {
        m_preferences = std::make_unique<Preferences>(m_dir.filePath(QStringLiteral("prefs-%1.ini").arg(++m_run)));
        m_backend = std::make_unique<TestBackend>();
        QVERIFY(m_backend->start() != 0);
        m_accountId = m_backend->data().addAccount(email, password).id;
        m_api = std::make_unique<APIClient>(m_backend->baseUrl());
        m_api->setTokenProvider([this] { return m_tokens.load(); });
        m_tokens = InMemoryTokenStore();
    }
    void cleanup()
    {
        m_api.reset();
        m_backend.reset();
        m_preferences.reset();
    }

    void displayName_data()
    {
        QTest::addColumn<std::optional<QString>>("first");
        QTest::addColumn<std::optional<QString>>("last");
        QTest::addColumn<std::optional<QString>>("expected");
        const std::optional<QString> none;
        QTest::newRow("both") << std::optional(QStringLiteral("Анна")) << std::optional(QStringLiteral("Петрова"))
                              << std::optional(QStringLiteral("Анна Петрова"));
        QTest::newRow("padded with blanks and tabs")
            << std::optional(QStringLiteral(" \tАнна  ")) << std::optional(QStringLiteral("\tПетрова "))
            << std::optional(QStringLiteral("Анна Петрова"));
        QTest::newRow("blank first, no last") << std::optional(QStringLiteral("  \t")) << none << none;
        QTest::newRow("neither") << none << none << none;
        QTest::newRow("last only") << none << std::optional(QStringLiteral("Петрова"))
                                   << std::optional(QStringLiteral("Петрова"));
        QTest::newRow("empty first, last")
            << std::optional(QString()) << std::optional(QStringLiteral("Ли")) << std::optional(QStringLiteral("Ли"));
        QTest::newRow("line breaks stay")
            << std::optional(QStringLiteral("Анна\n")) << none << std::optional(QStringLiteral("Анна\n"));
    }
    void displayName()
    {
        QFETCH(std::optional<QString>, first);
        QFETCH(std::optional<QString>, last);
        QFETCH(std::optional<QString>, expected);
        QCOMPARE(SettingsViewModel::displayName(user(first, last)), expected);
    }

    void versionText_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("build");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both") << "2.3"
                              << "45"
                              << "2.3 (45)";
        QTest::newRow("neither") << ""
                                 << ""
                                 << "0.1 (1)";
        QTest::newRow("no build") << "2.3"
                                  << ""
                                  << "2.3 (1)";
        QTest::newRow("no version") << ""
                                    << "45"
                                    << "0.1 (45)";
    }
    void versionText()
    {
        QFETCH(QString, version);
        QFETCH(QString, build);
        QFETCH(QString, expected);
        QCOMPARE(SettingsViewModel::versionText(version, build), expected);
    }

    void scrollToReveal_data()
    {
        QTest::addColumn<qreal>("top");
        QTest::addColumn<qreal>("height");
        QTest::addColumn<qreal>("current");
        QTest::addColumn<qreal>("expected");
        // A view 400 high over content 1200 high.
        QTest::newRow("already whole") << 100.0 << 200.0 << 0.0 << 0.0;
        QTest::newRow("below") << 900.0 << 200.0 << 0.0 << 720.0;
        QTest::newRow("above") << 100.0 << 200.0 << 500.0 << 80.0;
        QTest::newRow("taller than the view") << 300.0 << 500.0 << 0.0 << 280.0;
        QTest::newRow("at the very end") << 1100.0 << 100.0 << 0.0 << 800.0;
        QTest::newRow("at the very start") << 0.0 << 100.0 << 300.0 << 0.0;
    }
    void scrollToReveal()
    {
        QFETCH(qreal, top);
        QFETCH(qreal, height);
        QFETCH(qreal, current);
        QFETCH(qreal, expected);
        QCOMPARE(SettingsViewModel::scrollToReveal(top, height, 400, 1200, current), expected);
    }

    void theme_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing stored") << QVariant() << "system";
        QTest::newRow("light") << QVariant(QStringLiteral("light")) << "light";
        QTest::newRow("dark") << QVariant(QStringLiteral("dark")) << "dark";
        QTest::newRow("unknown text") << QVariant(QStringLiteral("auto")) << "system";
        QTest::newRow("other case") << QVariant(QStringLiteral("Dark")) << "system";
    }
    void theme()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        if (stored.isValid())
            m_preferences->setValue(themeKey, stored);
        auto model = makeModel(nullptr, true);
        QCOMPARE(model->theme(), shown);
        // Showing it never writes it back.
        QCOMPARE(m_preferences->value(themeKey), stored);

        QSignalSpy changed(model.get(), &SettingsViewModel::themeChanged);
        model->chooseTheme(QStringLiteral("nonsense"));
        QCOMPARE(m_preferences->value(themeKey), stored);
        model->chooseTheme(QStringLiteral("dark"));
        QCOMPARE(m_preferences->value(themeKey).toString(), QStringLiteral("dark"));
        QCOMPARE(model->theme(), QStringLiteral("dark"));
        QVERIFY(!changed.isEmpty());
        // Picking the segment already shown replaces an unknown text.
        m_preferences->setValue(themeKey, QStringLiteral("auto"));
        model->chooseTheme(QStringLiteral("system"));
        QCOMPARE(m_preferences->value(themeKey).toString(), QStringLiteral("system"));
    }

    void tourReplay_data()
    {
        QTest::addColumn<QVariant>("nonce");
        QTest::addColumn<int>("expected");
        QTest::newRow("from 5") << QVariant(5) << 6;
        QTest::newRow("nothing stored") << QVariant() << 1;
        QTest::newRow("stored as text") << QVariant(QStringLiteral("5")) << 6;
    }
    void tourReplay()
    {
        QFETCH(QVariant, nonce);
        QFETCH(int, expected);
        if (nonce.isValid())
            m_preferences->setValue(nonceKey, nonce);
        m_preferences->setValue(versionKey, 2);
        m_preferences->setValue(welcomeKey, true);
        auto model = makeModel(nullptr, true);
        // The counter first: the main window restarts the tour when it changes.
        QStringList order;
        connect(m_preferences.get(), &Preferences::valueChanged, this, [&](const QString &key) { order.append(key); });
        model->replayTour();
        QCOMPARE(order, (QStringList{nonceKey, versionKey, welcomeKey}));
        QCOMPARE(m_preferences->value(nonceKey).toInt(), expected);
        QCOMPARE(m_preferences->value(versionKey).toInt(), 0);
        QCOMPARE(m_preferences->value(welcomeKey).toBool(), false);
        model->replayTour();
        QCOMPARE(m_preferences->value(nonceKey).toInt(), expected + 1);
    }

    void profileState()
    {
        auto guestModel = makeModel(nullptr, true);
        QCOMPARE(guestModel->profileState(), SettingsViewModel::Guest);
        QCOMPARE(guestModel->tips().size(), 2);

        auto noAccount = makeModel(nullptr, false);
        QCOMPARE(noAccount->profileState(), SettingsViewModel::Unavailable);
        QCOMPARE(noAccount->tips().size(), 4);

        // A stored sign-in whose profile is slow: loading, then the account.
        m_tokens.token = m_backend->data().issueToken(m_accountId);
        m_backend->setOverride(
            QStringLiteral("GET"), profilePath,
            BackendReply::json(200, BackendData::userJson(*m_backend->data().account(m_accountId))).after(200));
        AuthService restoring(*m_api, m_tokens);
        auto model = makeModel(&restoring, false);
        QCOMPARE(model->profileState(), SettingsViewModel::Loading);
        QSignalSpy changed(model.get(), &SettingsViewModel::profileChanged);
        QTRY_COMPARE(model->profileState(), SettingsViewModel::Account);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(model->email(), email);

        // A request of the service while an account is present keeps the account's rows.
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/forgot-password"),
                               BackendReply::message(200, QStringLiteral("ok")).after(200));
        auto pending = restoring.forgotPassword(email);
        QVERIFY(restoring.isLoading());
        QCOMPARE(model->profileState(), SettingsViewModel::Account);
        await(std::move(pending));
    }

    // The restore when the screen appears starts only for a stored token with nobody signed in.
    void restoreOnAppear_data()
    {
        QTest::addColumn<bool>("isGuest");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<bool>("token");
        QTest::addColumn<int>("requests");
        QTest::newRow("guest with a token") << true << false << true << 0;
        QTest::newRow("account present") << false << true << true << 0;
        QTest::newRow("no token") << false << false << false << 0;
        QTest::newRow("token, nobody signed in") << false << false << true << 1;
    }
    void restoreOnAppear()
    {
        QFETCH(bool, isGuest);
        QFETCH(bool, signedIn);
        QFETCH(bool, token);
        QFETCH(int, requests);
        std::unique_ptr<AuthService> auth =
            signedIn ? this->signedIn() : std::make_unique<AuthService>(*m_api, m_tokens);
        if (token && !m_tokens.token)
            m_tokens.token = m_backend->data().issueToken(m_accountId);
        m_backend->clearRequests();
        auto model = makeModel(auth.get(), isGuest);
        QSignalSpy finished(model.get(), &SettingsViewModel::restoreFinished);
        model->restoreSession();
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(profileRequests(), requests);
        QCOMPARE(auth->hasUser(), signedIn || requests == 1);
    }

    // A restore that ends after the screen is gone signs the service in and touches nothing else.
    void restoreOutlivesTheScreen()
    {
        AuthService auth(*m_api, m_tokens);
        m_tokens.token = m_backend->data().issueToken(m_accountId);
        m_backend->setOverride(
            QStringLiteral("GET"), profilePath,
            BackendReply::json(200, BackendData::userJson(*m_backend->data().account(m_accountId))).after(150));
        auto model = makeModel(&auth, false);
        QSignalSpy finished(model.get(), &SettingsViewModel::restoreFinished);
        model->restoreSession();
        QVERIFY(auth.isLoading());
        model.reset();
        QTRY_VERIFY(!auth.isLoading());
        QVERIFY(auth.hasUser());
    }

    // "Выйти" against the Secret Service: a fresh store no longer finds the token.
    void signOutRemovesTheStoredToken()
    {
        if (qEnvironmentVariableIsEmpty("TESSMARK_IN_KEYRING_SESSION"))
            QSKIP("needs the throw-away keyring of scripts/with-keyring");
        const QString service =
            QStringLiteral("app.tessmark.desktop.settings-test-%1").arg(QCoreApplication::applicationPid());
        KeychainTokenStore keychain(service, 10000);
        m_api->setTokenProvider([&keychain] { return keychain.load(); });
        AuthService auth(*m_api, keychain);
        await(auth.login(email, password));
        QVERIFY(auth.hasUser());
        QVERIFY(KeychainTokenStore(service, 10000).load().has_value());

        auto model = makeModel(&auth, false);
        model->leave();
        QVERIFY(!auth.hasUser());
        QTRY_VERIFY(!keychain.load());
        QVERIFY(!KeychainTokenStore(service, 10000).load().has_value());
        KeychainTokenStore(service, 10000).remove();
    }
};

QTEST_GUILESS_MAIN(TestSettingsViewModel)
#include "tst_SettingsViewModel.moc"
