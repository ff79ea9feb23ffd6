// Quick Tests of the settings screen and the migration sheet, against the test backend: each
// test file gets `testEnvironment` to reset the preferences, the device store and the backend,
// to sign services in and to make the backend fail or wait.
#include "FocusWatch.h"
#include "AccountQuickTestEnvironment.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "Await.h"
#include "DemoSeed.h"
#include "InMemoryTokenStore.h"
#include "TestBackend.h"

#include <QApplication>
#include <QHttpServerRequest>
#include <QPointer>
#include <QQmlEngineExtensionPlugin>
#include <QSignalSpy>
#include <QtQuickTest/quicktest.h>

#include "App/AppQmlPlugins.h"

// Answers the n-th project upload from now with 500, or (making nothing) with a project the
// account lists or one of an identity it does not know; every other request as usual.
class FlakyUploadBackend : public TestBackend
{
public:
    int failUploadAt = 0;
    QString failure;

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        const bool upload = request.method() == QHttpServerRequest::Method::Post
            && request.url().path().endsWith(QLatin1String("/api/projects"));
        if (!upload || failUploadAt <= 0 || --failUploadAt > 0)
            return TestBackend::handleRequest(request, socket);
        QJsonObject listed = data().projects.first();
        if (failure == QLatin1String("unknown"))
            listed.insert(QStringLiteral("id"), QStringLiteral("p-unknown"));
        setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                    failure == QLatin1String("refused") ? BackendReply::message(500, QStringLiteral("Сервер занят"))
                                                        : BackendReply::json(201, listed));
        const bool handled = TestBackend::handleRequest(request, socket);
        clearOverrides();
        return handled;
    }
};

class SettingsTestEnvironment : public AccountQuickTestEnvironment
{
    Q_OBJECT

public:
    SettingsTestEnvironment()
        : AccountQuickTestEnvironment(std::make_unique<FlakyUploadBackend>())
    {
    }

    Q_INVOKABLE void reset() override
    {
        // The shells first: they watch the services.
        while (!m_owned.isEmpty())
            delete m_owned.takeLast().data();
        AccountQuickTestEnvironment::reset();
        flakyBackend().failUploadAt = 0;
    }
    Q_INVOKABLE bool hasPreference(const QString &key) const { return Preferences::shared().contains(key); }
    Q_INVOKABLE int deviceProjectCount() const { return int(AppTestEnvironment::repository().fetchAllSorted().size()); }

    // A sign-in service of the window's kind on the test backend, kept until the next reset
    // (owned here: QML would otherwise collect it).
    Q_INVOKABLE AuthService *newAuth()
    {
        auto *auth = new AuthService(*m_account.api, m_account.tokens, this);
        m_owned.append(auth);
        return auth;
    }
    // An account with these names; undefined leaves a name out.
    Q_INVOKABLE void addAccount(const QString &email, const QVariant &firstName, const QVariant &lastName)
    {
        const auto name = [](const QVariant &v) { return v.isValid() ? std::optional(v.toString()) : std::nullopt; };
        if (!m_account.backend.data().accountByEmail(email))
            m_account.backend.data().addAccount(email, QStringLiteral("secret123"), true, name(firstName),
                                                name(lastName));
    }
    Q_INVOKABLE bool signIn(AuthService *auth, const QString &email)
    {
        const QString password = email == QLatin1String(DemoSeed::email) ? QString::fromUtf8(DemoSeed::password)
                                                                         : QStringLiteral("secret123");
        await(auth->login(email, password));
        return auth->hasUser();
    }
    Q_INVOKABLE QString demoEmail() const { return QString::fromUtf8(DemoSeed::email); }
    // A stored sign-in of the demo account whose profile answers only at release().
    Q_INVOKABLE void storeDemoToken()
    {
        BackendData::Account *account = m_account.backend.data().accountByEmail(demoEmail());
        m_account.tokens.token = m_account.backend.data().issueToken(account->id);
        m_account.backend.setOverride(QStringLiteral("GET"), QStringLiteral("users/profile"),
                                      BackendReply::json(200, BackendData::userJson(*account)));
        m_account.backend.hold(QStringLiteral("GET"), QStringLiteral("users/profile"));
    }
    Q_INVOKABLE bool hasToken() const { return m_account.tokens.load().has_value(); }
    // how: "refused", "listed" or "unknown" (see FlakyUploadBackend).
    Q_INVOKABLE void failUpload(int nth, const QString &how = QStringLiteral("refused"))
    {
        flakyBackend().failUploadAt = nth;
        flakyBackend().failure = how;
    }
    // Every upload is refused, as by a busy server.
    Q_INVOKABLE void refuseUploads()
    {
        m_account.backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                                      BackendReply::message(500, QStringLiteral("Сервер занят")));
    }
    // Whether an object handed to watch() still exists: QML's destroy() only deletes it later.
    Q_INVOKABLE void watch(QObject *object) { m_watched = object; }
    Q_INVOKABLE bool watchedExists() const { return !m_watched.isNull(); }

    // A signed-in main window's model past its look at the device projects: its offer is shown
    // when the device holds projects.
    Q_INVOKABLE MainShellViewModel *accountShell()
    {
        AuthService *auth = newAuth();
        if (!signIn(auth, demoEmail()))
            return nullptr;
        auto *shell = new MainShellViewModel(this);
        m_owned.append(shell);
        shell->setAuth(auth);
        shell->setGuest(false);
        QSignalSpy probed(shell->migration(), &LocalDataMigrationOffer::probeFinished);
        shell->start();
        if (!probed.wait(10000))
            return nullptr;
        return shell;
    }

private:
    FlakyUploadBackend &flakyBackend() { return static_cast<FlakyUploadBackend &>(m_account.backend); }

    QList<QPointer<QObject>> m_owned;
    QPointer<QObject> m_watched;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    SettingsTestEnvironment environment;
    if (!environment.start())
        return 1;
    return quick_test_main_with_setup(argc, argv, "SettingsQuick", TESSMARK_QUICK_TEST_DIR, &environment);
}

#include "tst_SettingsQuick.moc"
