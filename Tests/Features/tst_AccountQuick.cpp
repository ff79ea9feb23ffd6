// Quick Tests of the account screens against the test backend. Each test file gets `backend`:
// a fresh sign-in service per test, the backend's log, its overrides and its mailed tokens.
#include "FocusWatch.h"
#include "API/APIClient.h"
#include "Auth/AuthService.h"
#include "InMemoryTokenStore.h"
#include "TestBackend.h"

#include <QGuiApplication>
#include <QJsonObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest/quicktest.h>
#include <memory>

#include "App/AppQmlPlugins.h"

class QuickBackend : public QObject
{
    Q_OBJECT
    Q_PROPERTY(AuthService *auth READ auth NOTIFY authChanged)

public:
    AuthService *auth() const { return m_auth.get(); }

    // A fresh service over a backend with one verified account and one with a mailed, unused
    // verification link.
    Q_INVOKABLE void reset()
    {
        m_auth.reset();
        m_api.reset();
        m_backend = std::make_unique<TestBackend>();
        m_backend->start();
        m_backend->data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret-1"), true);
        const QString unverified =
            m_backend->data().addAccount(QStringLiteral("new@example.test"), QStringLiteral("secret-1"), false).id;
        m_backend->data().issueVerificationToken(unverified);
        m_api = std::make_unique<APIClient>(m_backend->baseUrl());
        m_api->setTokenProvider([this] { return m_tokens.token; });
        m_tokens = InMemoryTokenStore();
        m_auth = std::make_unique<AuthService>(*m_api, m_tokens);
        Q_EMIT authChanged();
    }
    Q_INVOKABLE int requestCount(const QString &path) const
    {
        return int(m_backend->requests(QStringLiteral("POST"), path).size());
    }
    Q_INVOKABLE QVariantMap lastBody(const QString &path) const
    {
        const QList<RecordedRequest> sent = m_backend->requests(QStringLiteral("POST"), path);
        return sent.isEmpty() ? QVariantMap() : sent.last().json().toObject().toVariantMap();
    }
    // The route answers this message with this status, after delayMs.
    Q_INVOKABLE void answer(const QString &path, int status, const QString &message, int delayMs)
    {
        m_backend->setOverride(QStringLiteral("POST"), path, BackendReply::message(status, message).after(delayMs));
    }
    // The route's answers wait until release().
    Q_INVOKABLE void hold(const QString &path) { m_backend->hold(QStringLiteral("POST"), path); }
    Q_INVOKABLE void release() { m_backend->release(); }
    Q_INVOKABLE QString resetTokenFor(const QString &email) const { return m_backend->data().resetTokenFor(email); }
    Q_INVOKABLE QString verificationTokenFor(const QString &email) const
    {
        return m_backend->data().verificationTokenFor(email);
    }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("backend"), this);
        reset();
    }

Q_SIGNALS:
    void authChanged();

private:
    std::unique_ptr<TestBackend> m_backend;
    std::unique_ptr<APIClient> m_api;
    InMemoryTokenStore m_tokens;
    std::unique_ptr<AuthService> m_auth;
};

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    FocusWatch focusWatch;
    QuickBackend backend;
    return quick_test_main_with_setup(argc, argv, "AccountQuick", TESSMARK_QUICK_TEST_DIR, &backend);
}

#include "tst_AccountQuick.moc"
