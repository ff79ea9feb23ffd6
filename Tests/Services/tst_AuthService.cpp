#include "API/APIClient.h"
#include "Auth/AuthService.h"
#include "Await.h"
#include "DemoSeed.h"
#include "InMemoryTokenStore.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString email = QStringLiteral("anna@example.test");
const QString password = QStringLiteral("secret-1");
} // namespace

class TestAuthService : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestBackend> m_backend;
    std::unique_ptr<APIClient> m_api;
    InMemoryTokenStore m_tokens;
    QString m_accountId;

    std::unique_ptr<AuthService> makeService() { return std::make_unique<AuthService>(*m_api, m_tokens); }
    int count(const QString &method, const QString &path) const { return m_backend->requests(method, path).size(); }

private Q_SLOTS:
    void init()
    {
        m_backend = std::make_unique<TestBackend>();
        QVERIFY(m_backend->start() != 0);
        m_accountId = m_backend->data().addAccount(email, password, true, QStringLiteral("Анна")).id;
        m_api = std::make_unique<APIClient>(m_backend->baseUrl());
        m_api->setTokenProvider([this] { return m_tokens.token; });
        m_tokens = InMemoryTokenStore();
    }
    void cleanup()
    {
        m_api.reset();
        m_backend.reset();
    }

    void firstStartWithoutToken()
    {
        auto service = makeService();
        QVERIFY(!service->user());
        QVERIFY(!service->isLoading());
        QTest::qWait(50);
        QVERIFY(m_backend->requests().isEmpty());
    }

    void startWithValidToken()
    {
        m_tokens.token = m_backend->data().issueToken(m_accountId);
        auto service = makeService();
        QVERIFY(service->isLoading());
        QTRY_VERIFY(service->user().has_value());
        QCOMPARE(service->user()->email, email);
        QVERIFY(!service->isLoading());
        QCOMPARE(m_backend->requests().first().header("Authorization"), "Bearer " + m_tokens.token->toUtf8());
    }

    void startWithExpiredToken()
    {
        m_tokens.token = QStringLiteral("expired");
        auto service = makeService();
        QTRY_VERIFY(!service->isLoading());
        QTRY_VERIFY(!m_tokens.token.has_value());
        QTest::qWait(50); // the sign-out scheduled by the 401 has run
        QVERIFY(!service->user());
        QVERIFY(!service->errorMessage());
        QCOMPARE(count(QStringLiteral("POST"), QStringLiteral("auth/logout")), 0);
    }

    void restoreOutcomes_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("tokenKept");
        QTest::newRow("profile is null: no user, token kept") << 200 << QByteArray("null") << true;
        QTest::newRow("server error: token removed") << 500 << QByteArray() << false;
        QTest::newRow("profile of the wrong shape: token removed") << 200 << QByteArray(R"({"id":1})") << false;
    }
    void restoreOutcomes()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, tokenKept);
        m_tokens.token = m_backend->data().issueToken(m_accountId);
        m_backend->setOverride(QStringLiteral("GET"), QStringLiteral("users/profile"), BackendReply::raw(status, body));
        auto service = makeService();
        QTRY_VERIFY(!service->isLoading());
        QVERIFY(!service->user());
        QVERIFY(!service->errorMessage());
        QCOMPARE(m_tokens.token.has_value(), tokenKept);
    }

    void login_data()
    {
        QTest::addColumn<QString>("withPassword");
        QTest::addColumn<int>("overrideStatus"); // 0: the backend's own answer
        QTest::addColumn<QByteArray>("overrideBody");
        QTest::addColumn<QString>("error"); // empty: signed in; "~" prefix: starts with

        QTest::newRow("signed in") << password << 0 << QByteArray() << "";
        QTest::newRow("wrong password, backend's message") << "nope-nope" << 0 << QByteArray() << "Неверный email или пароль";
        QTest::newRow("401 with empty body") << password << 401 << QByteArray() << "Неверный email или пароль";
        QTest::newRow("403 with message") << password << 403 << QByteArray(R"({"message":"Подтвердите email"})") << "Подтвердите email";
        QTest::newRow("token under another key") << password << 200
                                                 << QByteArray(R"({"accessToken":"t","user":{"id":"u","email":"e"}})")
                                                 << "~Ошибка разбора ответа: keyNotFound";
    }
    void login()
    {
        QFETCH(QString, withPassword);
        QFETCH(int, overrideStatus);
        QFETCH(QByteArray, overrideBody);
        QFETCH(QString, error);
        auto service = makeService();
        await(service->registerAccount(QStringLiteral("other@example.test"), password, std::nullopt, std::nullopt));
        QVERIFY(service->registrationNotice());
        if (overrideStatus)
            m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/login"), BackendReply::raw(overrideStatus, overrideBody));
        QSignalSpy loading(service.get(), &AuthService::isLoadingChanged);
        await(service->login(email, withPassword));

        QCOMPARE(loading.count(), 2);
        QVERIFY(!service->isLoading());
        QVERIFY(!service->registrationNotice());
        const RecordedRequest sent = m_backend->requests(QStringLiteral("POST"), QStringLiteral("auth/login")).first();
        QCOMPARE(sent.json().toObject(), (QJsonObject{{QStringLiteral("email"), email}, {QStringLiteral("password"), withPassword}}));
        QVERIFY(!sent.hasHeader("Authorization"));
        if (error.isEmpty()) {
            QVERIFY(!service->errorMessage());
            QCOMPARE(service->user()->id, m_accountId);
            QVERIFY(m_backend->data().tokens.contains(*m_tokens.token));
        } else {
            QVERIFY(!service->user());
            QVERIFY(!m_tokens.token);
            QVERIFY(service->errorMessage());
            if (error.startsWith(QLatin1Char('~')))
                QVERIFY2(service->errorMessage()->startsWith(error.mid(1)), qPrintable(*service->errorMessage()));
            else
                QCOMPARE(*service->errorMessage(), error);
        }
    }

    void loginWhenTheTokenCannotBeStored()
    {
        auto service = makeService();
        m_tokens.refuseSaves = true;
        await(service->login(email, password));
        QCOMPARE(service->errorMessage(), std::optional<QString>(QStringLiteral("Keychain save failed (5) \u2014 The keyring is locked")));
        QVERIFY(!service->user());
        QVERIFY(!m_tokens.token);
        QVERIFY(!service->isLoading());
    }

    void registration_data()
    {
        QTest::addColumn<QString>("mail");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QByteArray>("overrideBody"); // empty: the backend's own answer
        QTest::addColumn<QString>("error");           // empty: registered

        QTest::newRow("registered") << "new@example.test" << "long-enough" << QByteArray() << "";
        QTest::newRow("answer without message") << "new@example.test" << "long-enough" << QByteArray("{}")
                                                << "Ошибка разбора ответа: keyNotFound";
        QTest::newRow("validation list joined") << "not-an-email" << "123" << QByteArray()
                                                << "email must be an email, password must be longer than or equal to 6 characters";
        QTest::newRow("address taken") << email << "long-enough" << QByteArray() << "Пользователь с таким email уже зарегистрирован";
    }
    void registration()
    {
        QFETCH(QString, mail);
        QFETCH(QString, pass);
        QFETCH(QByteArray, overrideBody);
        QFETCH(QString, error);
        auto service = makeService();
        if (!overrideBody.isEmpty())
            m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/register"), BackendReply::raw(201, overrideBody));
        await(service->registerAccount(mail, pass, std::nullopt, std::nullopt));
        const RecordedRequest sent = m_backend->requests().first();
        QCOMPARE(sent.json().toObject().keys(), (QStringList{QStringLiteral("email"), QStringLiteral("password")}));
        QVERIFY(!service->user());
        QVERIFY(!m_tokens.token);
        QVERIFY(!service->isLoading());
        if (error.isEmpty()) {
            QVERIFY(!service->errorMessage());
            QVERIFY(service->registrationNotice()->startsWith(QStringLiteral("Регистрация прошла успешно")));
        } else {
            QVERIFY(!service->registrationNotice());
            QVERIFY2(service->errorMessage()->startsWith(error), qPrintable(*service->errorMessage()));
        }
    }

    void registerVerifyAndSignIn()
    {
        auto service = makeService();
        const QString mail = QStringLiteral("ivan@example.test");
        await(service->registerAccount(mail, password, QStringLiteral("Иван"), QStringLiteral("Петров")));
        QCOMPARE(m_backend->requests().first().json().toObject().value(QStringLiteral("lastName")).toString(), QStringLiteral("Петров"));
        await(service->login(mail, password));
        QVERIFY(!service->user()); // not verified yet
        const std::optional<QString> message = await(service->verifyEmail(m_backend->data().verificationTokenFor(mail)));
        QCOMPARE(message, std::optional<QString>(QStringLiteral("Email подтверждён. Теперь можно войти.")));
        QVERIFY(!service->errorMessage());
        await(service->login(mail, password));
        QCOMPARE(service->user()->firstName, std::optional<QString>(QStringLiteral("Иван")));
    }

    void verificationTokenReachesTheBackendUnchanged_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("sentQuery");
        QTest::newRow("blank and plus") << "a b+c" << "token=a%20b%2Bc";
        QTest::newRow("ampersand, equals, hash") << "x&y=z#w" << "token=x%26y%3Dz%23w";
        QTest::newRow("slash, question mark, percent") << "p/q?r%s" << "token=p%2Fq%3Fr%25s";
        QTest::newRow("unreserved stay") << "Az09-._~" << "token=Az09-._~";
        QTest::newRow("non-ASCII as UTF-8") << "ключ" << "token=%D0%BA%D0%BB%D1%8E%D1%87";
    }
    void verificationTokenReachesTheBackendUnchanged()
    {
        QFETCH(QString, token);
        QFETCH(QString, sentQuery);
        m_backend->data().verificationTokens.insert(token, m_accountId);
        auto service = makeService();
        const std::optional<QString> message = await(service->verifyEmail(token));
        QVERIFY2(message, qPrintable(service->errorMessage().value_or(QString())));
        const RecordedRequest sent = m_backend->requests().first();
        QCOMPARE(sent.query, sentQuery);
        QVERIFY(sent.body.isEmpty());
        QVERIFY(!sent.hasHeader("Authorization"));
    }

    void messageOperationsLeaveSessionAlone()
    {
        auto service = makeService();
        await(service->registerAccount(QStringLiteral("x@example.test"), password, std::nullopt, std::nullopt));
        const std::optional<QString> notice = service->registrationNotice();
        const std::optional<QString> failed = await(service->verifyEmail(QStringLiteral("unknown")));
        QVERIFY(!failed);
        QCOMPARE(service->errorMessage(), std::optional<QString>(QStringLiteral("Ссылка подтверждения недействительна или устарела")));
        QCOMPARE(service->registrationNotice(), notice);
        QVERIFY(!service->isLoading());
    }

    void forgotAndResetPassword()
    {
        auto service = makeService();
        QVERIFY(await(service->forgotPassword(email)).has_value());
        QCOMPARE(m_backend->requests().last().json().toObject(), (QJsonObject{{QStringLiteral("email"), email}}));
        QVERIFY(!await(service->resetPassword(QStringLiteral("wrong"), QStringLiteral("new-secret"))));
        QVERIFY(service->errorMessage());
        const QString resetToken = m_backend->data().resetTokenFor(email);
        QCOMPARE(await(service->resetPassword(resetToken, QStringLiteral("new-secret"))),
                 std::optional<QString>(QStringLiteral("Пароль изменён. Войдите с новым паролем.")));
        QVERIFY(!service->errorMessage());
        await(service->login(email, QStringLiteral("new-secret")));
        QVERIFY(service->user());
    }

    void logoutSignsOutAtOnceAndTellsTheBackend()
    {
        auto service = makeService();
        await(service->login(email, password));
        const QString token = *m_tokens.token;
        service->setErrorMessage(QStringLiteral("old"));
        service->logout();
        QVERIFY(!service->user());
        QVERIFY(!service->errorMessage());
        QVERIFY(m_tokens.token); // removed when the call has ended
        QTRY_VERIFY(!m_tokens.token);
        const RecordedRequest sent = m_backend->requests(QStringLiteral("POST"), QStringLiteral("auth/logout")).first();
        QCOMPARE(sent.header("Authorization"), "Bearer " + token.toUtf8());
        QVERIFY(!m_backend->data().tokens.contains(token));
    }

    void signInDuringTheSignOutCallKeepsTheNewToken()
    {
        auto service = makeService();
        await(service->login(email, password));
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/logout"), BackendReply::message(200, QStringLiteral("ok")).after(300));
        service->logout();
        await(service->login(email, password));
        const QString newToken = *m_tokens.token;
        QTest::qWait(500);
        QCOMPARE(m_tokens.token, std::optional<QString>(newToken));
        QVERIFY(service->user());
    }

    void unauthorizedSignOutCallStartsNoFurtherSignOut()
    {
        auto service = makeService();
        await(service->login(email, password));
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/logout"), BackendReply::empty(401).after(300));
        service->logout();
        await(service->login(email, password));
        const QString newToken = *m_tokens.token;
        QTest::qWait(500);
        QCOMPARE(count(QStringLiteral("POST"), QStringLiteral("auth/logout")), 1);
        QVERIFY(service->user());
        QCOMPARE(m_tokens.token, std::optional<QString>(newToken));

        // Alone, it still ends with the token removed and one call.
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/logout"), BackendReply::empty(401));
        service->logout();
        QTRY_VERIFY(!m_tokens.token);
        QTest::qWait(50);
        QCOMPARE(count(QStringLiteral("POST"), QStringLiteral("auth/logout")), 2);
    }

    void sessionSurvivesAnUnfinishedSignOut()
    {
        auto service = makeService();
        await(service->login(email, password));
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/logout"), BackendReply::silence());
        service->logout();
        QTRY_COMPARE(count(QStringLiteral("POST"), QStringLiteral("auth/logout")), 1);
        service.reset(); // the process ends here
        QVERIFY(m_tokens.token);
        m_backend->clearOverrides();
        auto nextStart = makeService();
        QTRY_VERIFY(nextStart->user().has_value());
    }

    void restoreDoesNotUndoANewerSignIn_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("restore fails") << 500;
        QTest::newRow("restore unauthorized") << 401;
    }
    void restoreDoesNotUndoANewerSignIn()
    {
        QFETCH(int, status);
        m_tokens.token = QStringLiteral("left-from-last-run");
        m_backend->setOverride(QStringLiteral("GET"), QStringLiteral("users/profile"), BackendReply::empty(status).after(300));
        auto service = makeService();
        QVERIFY(service->isLoading());
        await(service->login(email, password));
        const QString newToken = *m_tokens.token;
        QTest::qWait(500);
        QCOMPARE(m_tokens.token, std::optional<QString>(newToken));
        QCOMPARE(service->user()->id, m_accountId);
        QVERIFY(!service->isLoading());
    }

    void restoreDoesNotUndoASignOut()
    {
        m_tokens.token = m_backend->data().issueToken(m_accountId);
        const QByteArray profile = Json::serialize(BackendData::userJson(m_backend->data().accounts.first()));
        m_backend->setOverride(QStringLiteral("GET"), QStringLiteral("users/profile"), BackendReply::raw(200, profile).after(300));
        auto service = makeService();
        service->logout();
        QTest::qWait(500);
        QVERIFY(!service->user());
        QVERIFY(!service->isLoading());
    }

    void firstOperationToFinishClearsLoading()
    {
        auto service = makeService();
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("auth/forgot-password"),
                               BackendReply::message(200, QStringLiteral("sent")).after(400));
        bool forgotDone = false;
        auto slow = [&]() -> QCoro::Task<> {
            QCoro::Task<std::optional<QString>> pending = service->forgotPassword(email);
            co_await std::move(pending);
            forgotDone = true;
        };
        QCoro::Task<> running = slow();
        await(service->login(email, password));
        QVERIFY(!service->isLoading());
        QVERIFY(!forgotDone);
        QTRY_VERIFY(forgotDone);
    }

    void unauthorizedAnswerElsewhereSignsOut()
    {
        auto service = makeService();
        await(service->login(email, password));
        m_backend->data().tokens.clear(); // the backend let the token expire
        const auto failure = apiFailure(m_api->requestData(QStringLiteral("GET"), QStringLiteral("projects")));
        QCOMPARE(failure->errorDescription(), QStringLiteral("Сессия истекла. Войдите снова."));
        QTRY_VERIFY(!service->user());
        QTRY_VERIFY(!m_tokens.token);
    }

    void qmlSeesOptionalsAsNull()
    {
        auto service = makeService();
        QVERIFY(service->property("user").isNull());
        QVERIFY(service->property("errorMessage").isNull());
        service->setProperty("errorMessage", QStringLiteral(""));
        QCOMPARE(service->errorMessage(), std::optional<QString>(QString()));
        service->setProperty("errorMessage", QVariant());
        QVERIFY(!service->errorMessage());
        await(service->login(email, password));
        QCOMPARE(service->property("user").toJsonObject().value(QStringLiteral("email")).toString(), email);
    }
};

QTEST_GUILESS_MAIN(TestAuthService)
#include "tst_AuthService.moc"
