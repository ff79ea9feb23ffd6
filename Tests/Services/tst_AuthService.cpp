#include "API/APIClient.h"
#include "Auth/AuthService.h"
#include "Await.h"
#include "InMemoryTokenStore.h"
#include "TestBackend.h"
#include "Utils/AccessToken.h"

#include <QJsonObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QSignalSpy>
#include <QTest>

namespace {
// What a person reads when an answer does not decode, whatever did not match.
const QString unreadAnswer =
    QStringLiteral("Ошибка разбора ответа: сервер прислал данные, которые приложение не может прочитать. Попробуйте "
                   "позже; если ошибка повторится, обратитесь в поддержку.");
const QString email = QStringLiteral("anna@example.test");
const QString password = QStringLiteral("secret-1");
const QString post = QStringLiteral("POST");
const QString logoutPath = QStringLiteral("auth/logout");
const QString profilePath = QStringLiteral("users/profile");
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
    std::unique_ptr<AuthService> signedIn()
    {
        auto service = makeService();
        await(service->login(email, password));
        return service;
    }
    int logoutCalls() const { return m_backend->requests(post, logoutPath).size(); }
    static void compareError(const AuthService &service, const QString &expected) // "~" prefix: starts with
    {
        QVERIFY(service.errorMessage());
        if (expected.startsWith(QLatin1Char('~')))
            QVERIFY2(service.errorMessage()->startsWith(expected.mid(1)), qPrintable(*service.errorMessage()));
        else
            QCOMPARE(*service.errorMessage(), expected);
    }

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

    // The session restored at start from the stored token.
    void restore_data()
    {
        QTest::addColumn<QString>("stored"); // "", "valid" or a token the backend does not know
        QTest::addColumn<int>("status"); // 0: the backend's own answer
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<bool>("tokenKept");
        QTest::newRow("first start, no token: no call") << "" << 0 << QByteArray() << false << false;
        QTest::newRow("valid token") << "valid" << 0 << QByteArray() << true << true;
        QTest::newRow("expired token: removed, no sign-out call") << "expired" << 0 << QByteArray() << false << false;
        QTest::newRow("profile is null: no user, token kept") << "valid" << 200 << QByteArray("null") << false << true;
        QTest::newRow("server error: token removed") << "valid" << 500 << QByteArray() << false << false;
        QTest::newRow("profile of the wrong shape: token removed")
            << "valid" << 200 << QByteArray(R"({"id":1})") << false << false;
    }
    void restore()
    {
        QFETCH(QString, stored);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, signedIn);
        QFETCH(bool, tokenKept);
        if (!stored.isEmpty())
            m_tokens.token = stored == QStringLiteral("valid") ? m_backend->data().issueToken(m_accountId) : stored;
        const std::optional<QString> token = m_tokens.token;
        if (status)
            m_backend->setOverride(QStringLiteral("GET"), profilePath, BackendReply::raw(status, body));
        auto service = makeService();
        QCOMPARE(service->isLoading(), token.has_value());
        QTRY_VERIFY(!service->isLoading());
        QTest::qWait(50); // a sign-out scheduled by a 401 has run
        QCOMPARE(service->user().has_value(), signedIn);
        if (signedIn)
            QCOMPARE(service->user()->email, email);
        QVERIFY(!service->errorMessage());
        QCOMPARE(m_tokens.token, tokenKept ? token : std::nullopt);
        QCOMPARE(m_backend->requests().size(), token ? 1 : 0);
        if (token)
            QCOMPARE(m_backend->requests().first().header("Authorization"), "Bearer " + token->toUtf8());
    }

    void login_data()
    {
        QTest::addColumn<QString>("withPassword");
        QTest::addColumn<int>("overrideStatus"); // 0: the backend's own answer
        QTest::addColumn<QByteArray>("overrideBody");
        QTest::addColumn<bool>("refuseSave");
        QTest::addColumn<QString>("error"); // empty: signed in

        QTest::newRow("signed in") << password << 0 << QByteArray() << false << "";
        QTest::newRow("wrong password, backend's message")
            << "nope-nope" << 0 << QByteArray() << false << "Неверный email или пароль";
        QTest::newRow("401 with empty body") << password << 401 << QByteArray() << false << "Неверный email или пароль";
        QTest::newRow("403 with message")
            << password << 403 << QByteArray(R"({"message":"Подтвердите email"})") << false << "Подтвердите email";
        QTest::newRow("token under another key")
            << password << 200 << QByteArray(R"({"accessToken":"t","user":{"id":"u","email":"e"}})") << false
            << unreadAnswer;
        QTest::newRow("token cannot be stored")
            << password << 0 << QByteArray() << true << "Keychain save failed (5) \u2014 The keyring is locked";
    }
    void login()
    {
        QFETCH(QString, withPassword);
        QFETCH(int, overrideStatus);
        QFETCH(QByteArray, overrideBody);
        QFETCH(bool, refuseSave);
        QFETCH(QString, error);
        auto service = makeService();
        await(service->registerAccount(QStringLiteral("other@example.test"), password, std::nullopt, std::nullopt));
        QVERIFY(service->registrationNotice());
        if (overrideStatus)
            m_backend->setOverride(post, QStringLiteral("auth/login"), BackendReply::raw(overrideStatus, overrideBody));
        m_tokens.refuseSaves = refuseSave;
        QSignalSpy loading(service.get(), &AuthService::isLoadingChanged);
        await(service->login(email, withPassword));

        QCOMPARE(loading.count(), 2);
        QVERIFY(!service->isLoading());
        QVERIFY(!service->registrationNotice());
        const RecordedRequest sent = m_backend->requests(post, QStringLiteral("auth/login")).first();
        QCOMPARE(sent.json().toObject(),
                 (QJsonObject{{QStringLiteral("email"), email}, {QStringLiteral("password"), withPassword}}));
        QVERIFY(!sent.hasHeader("Authorization"));
        if (error.isEmpty()) {
            QVERIFY(!service->errorMessage());
            QCOMPARE(service->user()->id, m_accountId);
            QVERIFY(m_backend->data().tokens.contains(*m_tokens.token));
        } else {
            QVERIFY(!service->user());
            QVERIFY(!m_tokens.token);
            compareError(*service, error);
        }
    }

    void registration_data()
    {
        QTest::addColumn<QString>("mail");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QByteArray>("overrideBody"); // empty: the backend's own answer
        QTest::addColumn<QString>("error"); // empty: registered

        QTest::newRow("registered") << "new@example.test"
                                    << "long-enough" << QByteArray() << "";
        QTest::newRow("answer without message") << "new@example.test"
                                                << "long-enough" << QByteArray("{}") << unreadAnswer;
        QTest::newRow("validation list joined")
            << "not-an-email"
            << "123" << QByteArray() << "email must be an email, password must be longer than or equal to 6 characters";
        QTest::newRow("address taken") << email << "long-enough" << QByteArray()
                                       << "Пользователь с таким email уже зарегистрирован";
    }
    void registration()
    {
        QFETCH(QString, mail);
        QFETCH(QString, pass);
        QFETCH(QByteArray, overrideBody);
        QFETCH(QString, error);
        auto service = makeService();
        if (!overrideBody.isEmpty())
            m_backend->setOverride(post, QStringLiteral("auth/register"), BackendReply::raw(201, overrideBody));
        await(service->registerAccount(mail, pass, std::nullopt, std::nullopt));
        QCOMPARE(m_backend->requests().first().json().toObject().keys(), (QStringList{"email", "password"}));
        QVERIFY(!service->user());
        QVERIFY(!m_tokens.token);
        QVERIFY(!service->isLoading());
        QCOMPARE(service->registrationNotice().has_value(), error.isEmpty());
        if (error.isEmpty()) {
            QVERIFY(!service->errorMessage());
            QVERIFY(service->registrationNotice()->startsWith(QStringLiteral("Регистрация прошла успешно")));
        } else {
            compareError(*service, error);
        }
    }

    // Register, verify and reset leave the session alone; a failed verification keeps the notice.
    void registerVerifyAndResetPassword()
    {
        auto service = makeService();
        const QString mail = QStringLiteral("ivan@example.test");
        await(service->registerAccount(mail, password, QStringLiteral("Иван"), QStringLiteral("Петров")));
        QCOMPARE(m_backend->requests().first().json().toObject().value(QStringLiteral("lastName")).toString(),
                 QStringLiteral("Петров"));
        const std::optional<QString> notice = service->registrationNotice();
        await(service->login(mail, password));
        QVERIFY(!service->user()); // not verified yet
        QVERIFY(!await(service->verifyEmail(QStringLiteral("unknown"))));
        QCOMPARE(service->errorMessage(),
                 std::optional<QString>(QStringLiteral("Ссылка подтверждения недействительна или устарела")));
        QVERIFY(!service->isLoading());
        QCOMPARE(await(service->verifyEmail(m_backend->data().verificationTokenFor(mail))),
                 std::optional<QString>(QStringLiteral("Email подтверждён. Теперь можно войти.")));
        QVERIFY(!service->errorMessage());

        QVERIFY(await(service->forgotPassword(mail)).has_value());
        QCOMPARE(m_backend->requests().last().json().toObject(), (QJsonObject{{QStringLiteral("email"), mail}}));
        QVERIFY(!await(service->resetPassword(QStringLiteral("wrong"), QStringLiteral("new-secret"))));
        QVERIFY(service->errorMessage());
        QCOMPARE(await(service->resetPassword(m_backend->data().resetTokenFor(mail), QStringLiteral("new-secret"))),
                 std::optional<QString>(QStringLiteral("Пароль изменён. Войдите с новым паролем.")));
        QVERIFY(!service->errorMessage());
        await(service->login(mail, QStringLiteral("new-secret")));
        QCOMPARE(service->user()->firstName, std::optional<QString>(QStringLiteral("Иван")));
    }

    void verificationTokenReachesTheBackendUnchanged_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("sentQuery");
        QTest::newRow("blank and plus") << "a b+c"
                                        << "token=a%20b%2Bc";
        QTest::newRow("ampersand, equals, hash") << "x&y=z#w"
                                                 << "token=x%26y%3Dz%23w";
        QTest::newRow("slash, question mark, percent") << "p/q?r%s"
                                                       << "token=p%2Fq%3Fr%25s";
        QTest::newRow("unreserved stay") << "Az09-._~"
                                         << "token=Az09-._~";
        QTest::newRow("non-ASCII as UTF-8") << "ключ"
                                            << "token=%D0%BA%D0%BB%D1%8E%D1%87";
    }
    void verificationTokenReachesTheBackendUnchanged()
    {
        QFETCH(QString, token);
        QFETCH(QString, sentQuery);
        m_backend->data().verificationTokens.insert(token, m_accountId);
        auto service = makeService();
        QVERIFY2(await(service->verifyEmail(token)), qPrintable(service->errorMessage().value_or(QString())));
        const RecordedRequest sent = m_backend->requests().first();
        QCOMPARE(sent.query, sentQuery);
        QVERIFY(sent.body.isEmpty());
        QVERIFY(!sent.hasHeader("Authorization"));
    }

    // Sign-out is at once; the token goes when the call ends, unless a newer sign-in replaced it.
    // A 401 from the sign-out call itself starts no further sign-out.
    void logout_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("signInDuringTheCall");
        QTest::newRow("accepted") << 200 << false;
        QTest::newRow("unauthorized") << 401 << false;
        QTest::newRow("accepted, signed in again meanwhile") << 200 << true;
        QTest::newRow("unauthorized, signed in again meanwhile") << 401 << true;
    }
    void logout()
    {
        QFETCH(int, status);
        QFETCH(bool, signInDuringTheCall);
        auto service = signedIn();
        const QString token = *m_tokens.token;
        m_backend->setOverride(post, logoutPath, BackendReply::message(status, QStringLiteral("ok")));
        m_backend->hold(post, logoutPath);
        service->setErrorMessage(QStringLiteral("old"));
        service->logout();
        QVERIFY(!service->user());
        QVERIFY(!service->errorMessage());
        QCOMPARE(m_tokens.token, std::optional<QString>(token));
        if (signInDuringTheCall)
            await(service->login(email, password));
        const std::optional<QString> expected = signInDuringTheCall ? m_tokens.token : std::nullopt;
        m_backend->release();
        QTest::qWait(500);
        QCOMPARE(m_tokens.token, expected);
        QCOMPARE(service->user().has_value(), signInDuringTheCall);
        QCOMPARE(logoutCalls(), 1);
        QCOMPARE(m_backend->requests(post, logoutPath).first().header("Authorization"), "Bearer " + token.toUtf8());
    }

    void sessionSurvivesAnUnfinishedSignOut()
    {
        auto service = signedIn();
        m_backend->setOverride(post, logoutPath, BackendReply::silence());
        service->logout();
        QTRY_COMPARE(logoutCalls(), 1);
        service.reset(); // the process ends here
        QVERIFY(m_tokens.token);
        m_backend->clearOverrides();
        auto nextStart = makeService();
        QTRY_VERIFY(nextStart->user().has_value());
    }

    // A restore answered late must not undo what the user did meanwhile.
    void lateRestore_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("signIn"); // else sign out
        QTest::newRow("fails after a sign-in") << 500 << true;
        QTest::newRow("unauthorized after a sign-in") << 401 << true;
        QTest::newRow("succeeds after a sign-out") << 200 << false;
    }
    void lateRestore()
    {
        QFETCH(int, status);
        QFETCH(bool, signIn);
        m_tokens.token = m_backend->data().issueToken(m_accountId);
        const QByteArray profile = Json::serialize(BackendData::userJson(m_backend->data().accounts.first()));
        m_backend->setOverride(QStringLiteral("GET"), profilePath,
                               BackendReply::raw(status, status == 200 ? profile : QByteArray()));
        m_backend->hold(QStringLiteral("GET"), profilePath);
        auto service = makeService();
        QVERIFY(service->isLoading());
        if (signIn)
            await(service->login(email, password));
        else
            service->logout();
        const std::optional<QString> token = m_tokens.token;
        m_backend->release();
        QTest::qWait(500);
        QCOMPARE(service->user().has_value(), signIn);
        QVERIFY(!service->isLoading());
        if (signIn)
            QCOMPARE(m_tokens.token, token);
    }

    void firstOperationToFinishClearsLoading()
    {
        auto service = makeService();
        m_backend->setOverride(post, QStringLiteral("auth/forgot-password"),
                               BackendReply::message(200, QStringLiteral("sent")));
        m_backend->hold(post, QStringLiteral("auth/forgot-password"));
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
        m_backend->release();
        QTRY_VERIFY(forgotDone);
    }

    // A token that could end its header and start others is refused at sign-in, never stored and
    // never sent; one read back from the store is forgotten.
    void tokenOutsideVisibleAsciiIsRefused_data()
    {
        QTest::addColumn<QString>("token");
        QTest::newRow("line feed and a header") << QStringLiteral("abc\r\nX-Injected: 1");
        QTest::newRow("bare line feed") << QStringLiteral("abc\nX-Injected: 1");
        QTest::newRow("blank") << QStringLiteral("abc def");
        QTest::newRow("tab") << QStringLiteral("abc\tdef");
        QTest::newRow("NUL") << QStringLiteral("abc") + QChar(0) + QStringLiteral("def");
        QTest::newRow("DEL") << QStringLiteral("abc\x7f");
        QTest::newRow("non-ASCII") << QStringLiteral("токен");
        QTest::newRow("empty") << QString();
        QTest::newRow("one above the bound") << QString(AccessToken::maxLength + 1, QLatin1Char('a'));
        QTest::newRow("100 KB") << QString(100 * 1024, QLatin1Char('a'));
    }
    void tokenOutsideVisibleAsciiIsRefused()
    {
        QFETCH(QString, token);
        const QJsonObject user{{QStringLiteral("id"), m_accountId}, {QStringLiteral("email"), email}};
        m_backend->setOverride(
            post, QStringLiteral("auth/login"),
            BackendReply::json(200,
                               QJsonObject{{QStringLiteral("access_token"), token}, {QStringLiteral("user"), user}}));
        auto service = makeService();
        await(service->login(email, password));
        QVERIFY(!service->user());
        QVERIFY(!m_tokens.token);
        compareError(
            *service,
            QStringLiteral("Сервер прислал недопустимый ключ входа. Вход не выполнен, попробуйте ещё раз позже."));

        // A request after it goes without a token; so does one whose provider holds such a token.
        m_backend->clearRequests();
        apiFailure(m_api->requestData(QStringLiteral("GET"), QStringLiteral("projects")));
        m_tokens.token = token;
        apiFailure(m_api->requestData(QStringLiteral("GET"), QStringLiteral("projects")));
        QCOMPARE(m_backend->requests().size(), 2);
        for (const RecordedRequest &sent : m_backend->requests()) {
            QVERIFY(!sent.hasHeader("Authorization"));
            QVERIFY(!sent.hasHeader("X-Injected"));
        }

        // Stored before: forgotten when the window starts, and no session is restored from it.
        m_backend->clearRequests();
        auto restarted = makeService();
        QVERIFY(!m_tokens.token);
        QVERIFY(!restarted->isLoading());
        QTest::qWait(20);
        QVERIFY(m_backend->requests().isEmpty());
    }

    // Up to the bound a token is kept and sent as it came.
    void tokenUpToTheBoundIsKept_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("short") << 40;
        QTest::newRow("at the bound") << int(AccessToken::maxLength);
    }
    void tokenUpToTheBoundIsKept()
    {
        QFETCH(int, length);
        const QString token(length, QLatin1Char('t'));
        const QJsonObject user{{QStringLiteral("id"), m_accountId}, {QStringLiteral("email"), email}};
        m_backend->setOverride(
            post, QStringLiteral("auth/login"),
            BackendReply::json(200,
                               QJsonObject{{QStringLiteral("access_token"), token}, {QStringLiteral("user"), user}}));
        auto service = makeService();
        await(service->login(email, password));
        QVERIFY(!service->errorMessage());
        QVERIFY(service->user());
        QCOMPARE(m_tokens.token, std::optional<QString>(token));
        m_backend->clearRequests();
        m_backend->setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::raw(200, "[]"));
        await(m_api->requestData(QStringLiteral("GET"), QStringLiteral("projects")));
        QCOMPARE(m_backend->requests().first().header("Authorization"), "Bearer " + token.toLatin1());
    }

    // The token of an e-mail or password link above the bound is not sent on.
    void linkTokenAboveTheBoundIsNotSent_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("sent");
        QTest::newRow("verification at the bound") << "verify" << int(AccessToken::maxLength) << true;
        QTest::newRow("verification above the bound") << "verify" << int(AccessToken::maxLength + 1) << false;
        QTest::newRow("reset at the bound") << "reset" << int(AccessToken::maxLength) << true;
        QTest::newRow("reset of 100 KB") << "reset" << 100 * 1024 << false;
    }
    void linkTokenAboveTheBoundIsNotSent()
    {
        QFETCH(QString, link);
        QFETCH(int, length);
        QFETCH(bool, sent);
        const QString token(length, QLatin1Char('k'));
        auto service = makeService();
        const std::optional<QString> message = link == QStringLiteral("verify")
            ? await(service->verifyEmail(token))
            : await(service->resetPassword(token, QStringLiteral("new-secret")));
        QVERIFY(!message);
        QVERIFY(!service->isLoading());
        QCOMPARE(m_backend->requests().size(), sent ? 1 : 0);
        if (!sent)
            compareError(*service, AccessToken::linkRefusedText());
    }

    void unauthorizedAnswerElsewhereSignsOut()
    {
        auto service = signedIn();
        m_backend->data().tokens.clear(); // the backend let the token expire
        const auto failure = apiFailure(m_api->requestData(QStringLiteral("GET"), QStringLiteral("projects")));
        QCOMPARE(failure->errorDescription(), QStringLiteral("Сессия истекла. Войдите снова."));
        QTRY_VERIFY(!service->user());
        QTRY_VERIFY(!m_tokens.token);
    }

    // However many answers refuse the token, and whoever ended the session first, the backend is
    // told of the sign-out once.
    void signOutIsSentOnce_data()
    {
        QTest::addColumn<QString>("order");
        QTest::newRow("two refusals at once") << "together";
        QTest::newRow("a refusal while the sign-out call runs") << "during the call";
        QTest::newRow("own sign-out, then a refusal of an earlier request") << "own sign-out";
    }
    void signOutIsSentOnce()
    {
        QFETCH(QString, order);
        auto service = signedIn();
        m_backend->data().tokens.clear(); // the backend let the token expire
        m_backend->setOverride(post, logoutPath, BackendReply::message(200, QStringLiteral("ok")).after(300));
        const QString get = QStringLiteral("GET");
        const QString projects = QStringLiteral("projects");
        if (order == QStringLiteral("together")) {
            QCoro::Task<QByteArray> first = m_api->requestData(get, projects);
            QCoro::Task<QByteArray> second = m_api->requestData(get, projects);
            QVERIFY(apiFailure(std::move(first)));
            QVERIFY(apiFailure(std::move(second)));
        } else if (order == QStringLiteral("during the call")) {
            QVERIFY(apiFailure(m_api->requestData(get, projects)));
            QTRY_COMPARE(logoutCalls(), 1);
            QVERIFY(m_tokens.token);
            QVERIFY(apiFailure(m_api->requestData(get, projects)));
        } else {
            m_backend->setDelay(get, projects, 100);
            QCoro::Task<QByteArray> earlier = m_api->requestData(get, projects);
            service->logout();
            QVERIFY(apiFailure(std::move(earlier)));
            QVERIFY(m_tokens.token); // the sign-out call still runs
        }
        QTRY_VERIFY(!m_tokens.token);
        QVERIFY(!service->user());
        QCOMPARE(logoutCalls(), 1);
    }

    // What the screens read: the account as a value, the error as a text whose absence is told
    // apart from an empty one, and the error cleared or set from QML.
    void qmlView_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("signed out: no user") << "signed out"
                                             << "auth.hasUser" << QVariant(false);
        QTest::newRow("signed out: blank user") << "signed out"
                                                << "auth.user.email" << QVariant(QString());
        QTest::newRow("signed out: no error") << "signed out"
                                              << "auth.hasErrorMessage" << QVariant(false);
        QTest::newRow("signed out: error text empty") << "signed out"
                                                      << "auth.errorMessage" << QVariant(QString());
        QTest::newRow("signed in: user") << "signed in"
                                         << "auth.hasUser" << QVariant(true);
        QTest::newRow("signed in: e-mail") << "signed in"
                                           << "auth.user.email" << QVariant(email);
        QTest::newRow("signed in: first name") << "signed in"
                                               << "auth.user.firstName" << QVariant(QStringLiteral("Анна"));
        QTest::newRow("signed in: absent last name") << "signed in"
                                                     << "auth.user.lastName" << QVariant(QString());
        QTest::newRow("empty message: an error") << "empty message"
                                                 << "auth.hasErrorMessage" << QVariant(true);
        QTest::newRow("empty message: its text") << "empty message"
                                                 << "auth.errorMessage" << QVariant(QString());
        QTest::newRow("failure, cleared")
            << "failure"
            << "auth.clearErrorMessage(), [auth.hasErrorMessage, auth.errorMessage].join('|')"
            << QVariant(QStringLiteral("false|"));
        QTest::newRow("failure, replaced")
            << "failure"
            << "auth.showErrorMessage('Своя'), [auth.hasErrorMessage, auth.errorMessage].join('|')"
            << QVariant(QStringLiteral("true|Своя"));
    }
    void qmlView()
    {
        QFETCH(QString, state);
        QFETCH(QString, expression);
        QFETCH(QVariant, expected);
        auto service = makeService();
        if (state == QStringLiteral("signed in")) {
            await(service->login(email, password));
        } else if (state == QStringLiteral("empty message") || state == QStringLiteral("failure")) {
            const QByteArray body = state == QStringLiteral("failure") ? R"({"message":"Нет"})" : R"({"message":""})";
            m_backend->setOverride(post, QStringLiteral("auth/login"), BackendReply::raw(403, body));
            await(service->login(email, password));
            QVERIFY(service->errorMessage());
        }
        QQmlEngine engine;
        engine.rootContext()->setContextProperty(QStringLiteral("auth"), service.get());
        QQmlExpression evaluated(engine.rootContext(), nullptr, expression);
        const QVariant value = evaluated.evaluate();
        QVERIFY2(!evaluated.hasError(), qPrintable(evaluated.error().toString()));
        QCOMPARE(value, expected);
    }
};

QTEST_GUILESS_MAIN(TestAuthService)
#include "tst_AuthService.moc"
