#include "API/APIClient.h"
#include "API/RequestCancelled.h"
#include "Await.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryFile>
#include <QTest>

namespace {

// A record of the smallest shape, to see the decoding paths of the client.
struct Named
{
    QString name;
    static Named fromJson(const QJsonValue &value, const QString &path = {})
    {
        return Named{JsonReader(value, path).requiredString(QStringLiteral("name"))};
    }
};

const QString get = QStringLiteral("GET");
const QString thing = QStringLiteral("things/t-1");
// What a person reads when an answer does not decode, whatever did not match.
const QString unreadAnswer =
    QStringLiteral("Ошибка разбора ответа: сервер прислал данные, которые приложение не может прочитать. Попробуйте "
                   "позже; если ошибка повторится, обратитесь в поддержку.");

} // namespace

class TestAPIClient : public QObject
{
    Q_OBJECT

private:
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    int m_unauthorizedCalls = 0;

    void resetCallbacks()
    {
        m_client->setTokenProvider([this] { return m_token; });
        m_client->setOnUnauthorized([this](const QString &, const QString &) { ++m_unauthorizedCalls; });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
    }
    void init()
    {
        m_backend.clearRequests();
        m_backend.clearOverrides();
        m_token.reset();
        m_unauthorizedCalls = 0;
        resetCallbacks();
    }

    void joinsPaths_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected"); // empty: no URL

        QTest::newRow("plain") << "http://h/api"
                               << "projects"
                               << "http://h/api/projects";
        QTest::newRow("slashes on both sides") << "http://h/api/"
                                               << "/projects/"
                                               << "http://h/api/projects";
        QTest::newRow("many slashes") << "http://h/api///"
                                      << "///projects/p-1///"
                                      << "http://h/api/projects/p-1";
        QTest::newRow("query kept") << "http://h/api/"
                                    << "projects?view=full"
                                    << "http://h/api/projects?view=full";
        QTest::newRow("identifier with slash and ?") << "http://h/api"
                                                     << "projects/payments/a/b?c"
                                                     << "http://h/api/projects/payments/a/b?c";
        QTest::newRow("escaped query unchanged") << "http://h"
                                                 << "auth/verify-email?token=a%20b+c"
                                                 << "http://h/auth/verify-email?token=a%20b+c";
        QTest::newRow("empty path") << "http://h/api"
                                    << ""
                                    << "";
        QTest::newRow("slashes only") << "http://h/api"
                                      << "///"
                                      << "";
        QTest::newRow("blank in path") << "http://h/api"
                                       << "projects/a b"
                                       << "";
    }
    void joinsPaths()
    {
        QFETCH(QString, base);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = APIClient{QUrl(base)}.endpointURL(path);
        QCOMPARE(url ? url->toString(QUrl::FullyEncoded) : QString(), expected);
        if (!url) {
            const auto failure = apiFailure(m_client->requestData(get, path));
            QCOMPARE(failure->errorDescription(), QStringLiteral("Некорректный URL"));
            QVERIFY(m_backend.requests().isEmpty());
        }
    }

    void sendsHeadersAndBody_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<bool>("withBody");
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<QString>("storedToken"); // empty: none stored
        QTest::addColumn<QByteArray>("authorization"); // empty: no header

        QTest::newRow("GET with token") << "GET" << false << true << "tok-1" << QByteArray("Bearer tok-1");
        QTest::newRow("POST with body, not authorized") << "POST" << true << false << "tok-1" << QByteArray();
        QTest::newRow("PATCH with body") << "PATCH" << true << true << "tok-1" << QByteArray("Bearer tok-1");
        QTest::newRow("DELETE without body") << "DELETE" << false << true << "tok-1" << QByteArray("Bearer tok-1");
        QTest::newRow("authorized, nothing stored") << "GET" << false << true << "" << QByteArray();
        // Only visible ASCII may stand in a header: another token goes unsent.
        QTest::newRow("non-ASCII token is not sent") << "GET" << false << true << "ключ" << QByteArray();
        QTest::newRow("token with a line end is not sent")
            << "GET" << false << true << "tok\r\nX-Injected: 1" << QByteArray();
    }
    void sendsHeadersAndBody()
    {
        QFETCH(QString, method);
        QFETCH(bool, withBody);
        QFETCH(bool, authorized);
        QFETCH(QString, storedToken);
        QFETCH(QByteArray, authorization);
        if (!storedToken.isEmpty())
            m_token = storedToken;
        int providerCalls = 0;
        m_client->setTokenProvider([&] {
            ++providerCalls;
            return m_token;
        });
        m_backend.setOverride(method, QStringLiteral("echo/x"), BackendReply::json(200, QJsonObject{}));
        const QJsonObject body{{QStringLiteral("name"), QStringLiteral("Сайт")}, {QStringLiteral("rate"), 2.5}};
        await(m_client->requestData(method, QStringLiteral("echo/x"),
                                    withBody ? std::optional<QJsonValue>(body) : std::nullopt, authorized));

        QCOMPARE(m_backend.requests().size(), 1);
        const RecordedRequest &sent = m_backend.requests().first();
        QCOMPARE(sent.method, method);
        QCOMPARE(sent.header("Accept"), QByteArray("application/json"));
        QCOMPARE(sent.header("Content-Type"), withBody ? QByteArray("application/json") : QByteArray());
        QCOMPARE(sent.hasHeader("Content-Type"), withBody);
        QCOMPARE(sent.body.isEmpty(), !withBody);
        QCOMPARE(sent.json().toObject(), withBody ? body : QJsonObject());
        QCOMPARE(sent.header("Authorization"), authorization);
        QVERIFY(!sent.hasHeader("X-Injected"));
        QCOMPARE(providerCalls, authorized ? 1 : 0);
    }

    // A client of its own knows no credential store: it sends no token until given a provider,
    // so a 401 is the backend's answer about the request and ends no session.
    void freshClientSendsNoToken()
    {
        APIClient fresh(m_backend.baseUrl());
        int unauthorized = 0;
        fresh.setOnUnauthorized([&](const QString &, const QString &) { ++unauthorized; });
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("echo/x"), BackendReply::raw(401, QByteArray()));
        try {
            await(fresh.requestData(QStringLiteral("GET"), QStringLiteral("echo/x")));
            QFAIL("a 401 answer must fail");
        } catch (const APIError &error) {
            QCOMPARE(error.errorDescription(), QStringLiteral("Неверный email или пароль"));
        }
        QCOMPARE(m_backend.requests().size(), 1);
        QVERIFY(!m_backend.requests().first().hasHeader("Authorization"));
        QCOMPARE(unauthorized, 0);
    }

    // The status is kept as sent; only a 401 of a request that carried a token ends the session.
    void failureTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("withToken");
        QTest::addColumn<QString>("text");

        const QByteArray empty;
        QTest::newRow("404 without body") << 404 << empty << true << "Не найдено: %1/things/t-1";
        QTest::newRow("404 message null")
            << 404 << QByteArray(R"({"message":null})") << true << "Не найдено: %1/things/t-1";
        QTest::newRow("404 with message")
            << 404 << QByteArray(R"({"message":"Проект не найден"})") << true << "Проект не найден";
        QTest::newRow("500 without body") << 500 << empty << true << "Ошибка сервера (500)";
        QTest::newRow("500 with HTML") << 500 << QByteArray("<html><body>Bad gateway</body></html>") << true
                                       << "Ошибка сервера (500)";
        QTest::newRow("500 body null") << 500 << QByteArray("null") << true << "Ошибка сервера (500)";
        QTest::newRow("400 message list")
            << 400 << QByteArray(R"({"message":["email must be an email","password too short"]})") << true
            << "email must be an email, password too short";
        QTest::newRow("400 list with a number")
            << 400 << QByteArray(R"({"message":["a",1]})") << true << "Ошибка сервера (400)";
        QTest::newRow("400 message is a number")
            << 400 << QByteArray(R"({"message":5})") << true << "Ошибка сервера (400)";
        QTest::newRow("400 message is an object")
            << 400 << QByteArray(R"({"message":{"a":1}})") << true << "Ошибка сервера (400)";
        QTest::newRow("404 message is an object")
            << 404 << QByteArray(R"({"message":{"a":1}})") << true << "Не найдено: %1/things/t-1";
        QTest::newRow("401 without token, message is an object")
            << 401 << QByteArray(R"({"message":{"a":1}})") << false << "Неверный email или пароль";
        QTest::newRow("400 message is an empty text") << 400 << QByteArray(R"({"message":""})") << true << "";
        QTest::newRow("400 message null") << 400 << QByteArray(R"({"message":null})") << true << "Ошибка сервера (400)";
        QTest::newRow("400 no message key")
            << 400 << QByteArray(R"({"error":"Bad"})") << true << "Ошибка сервера (400)";
        QTest::newRow("401 with token, whatever the body")
            << 401 << QByteArray(R"({"message":"jwt expired"})") << true << "Сессия истекла. Войдите снова.";
        QTest::newRow("401 without token, empty body") << 401 << empty << false << "Неверный email или пароль";
        QTest::newRow("401 without token, message")
            << 401 << QByteArray(R"({"message":"Аккаунт заблокирован"})") << false << "Аккаунт заблокирован";
    }
    void failureTexts()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, withToken);
        QFETCH(QString, text);
        if (withToken)
            m_token = QStringLiteral("tok-1");
        m_backend.setOverride(get, thing, BackendReply::raw(status, body));
        // Without a token, as a sign-in goes.
        const auto failure = apiFailure(m_client->requestData(get, thing, std::nullopt, withToken));
        QVERIFY(failure);
        QCOMPARE(failure->errorDescription(), text.arg(m_backend.baseUrl().toString()));
        QCOMPARE(failure->status(), status);
        QCOMPARE(m_unauthorizedCalls, status == 401 && withToken ? 1 : 0);
    }

    // A call of the session that leaves once the session has ended (no token to send) is refused
    // as the ended session, whatever the backend says, and ends nothing more.
    void sessionCallWithoutAToken()
    {
        m_backend.setOverride(get, thing, BackendReply::message(401, QStringLiteral("Unauthorized")));
        const auto failure = apiFailure(m_client->requestData(get, thing));
        QVERIFY(failure);
        QCOMPARE(failure->errorDescription(), QStringLiteral("Сессия истекла. Войдите снова."));
        QCOMPARE(m_unauthorizedCalls, 0);
    }

    void unauthorizedCallbackRunsBeforeTheFailureArrives()
    {
        m_token = QStringLiteral("tok-1");
        bool failed = false;
        bool failureSeenInCallback = true;
        m_client->setOnUnauthorized([&](const QString &path, const QString &token) {
            failureSeenInCallback = failed;
            QCOMPARE(path, QStringLiteral("users/profile"));
            QCOMPARE(token, QStringLiteral("tok-1"));
        });
        m_backend.setOverride(get, QStringLiteral("users/profile"), BackendReply::empty(401));
        const auto failure = apiFailure(m_client->requestData(get, QStringLiteral("users/profile")));
        failed = true;
        QCOMPARE(failure->kind(), APIError::Kind::Unauthorized);
        QVERIFY(!failureSeenInCallback);
    }

    // The raw bytes come back unchanged; decoding takes a bare null as no value and fails a list
    // as a whole.
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("asList");
        // names joined by ",", "none", or "error:<part of the decoder's cause>"
        QTest::addColumn<QString>("outcome");

        QTest::newRow("record") << QByteArray(R"({"name":"Сайт","extra":1})") << false << "Сайт";
        QTest::newRow("bare null as no value") << QByteArray("null") << false << "none";
        QTest::newRow("null inside spaces") << QByteArray(" null\n") << false << "none";
        QTest::newRow("empty body") << QByteArray() << false << "error:dataCorrupted";
        QTest::newRow("missing key") << QByteArray(R"({"title":"x"})") << false << "error:keyNotFound";
        QTest::newRow("wrong kind") << QByteArray(R"({"name":5})") << false << "error:typeMismatch";
        QTest::newRow("HTML") << QByteArray("<html></html>") << false << "error:dataCorrupted";
        QTest::newRow("list") << QByteArray(" [{\"name\":\"a\"}, {\"name\":\"b\"}] ") << true << "a,b";
        QTest::newRow("list with one bad") << QByteArray(R"([{"name":"a"},{"name":1}])") << true << "error:[1].name";
        QTest::newRow("list with a malformed figure")
            << QByteArray(R"([{"name":"a"},{"name":1.5.2}])") << true << "error:not valid JSON";
        QTest::newRow("list answered null") << QByteArray("null") << true << "error:valueNotFound";
    }
    void decodes()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, asList);
        QFETCH(QString, outcome);
        m_backend.setOverride(get, thing, BackendReply::raw(200, body));
        QCOMPARE(await(m_client->requestData(get, thing)), body);
        QString got;
        try {
            if (asList) {
                QStringList names;
                for (const Named &named : await(m_client->request<QList<Named>>(get, thing)))
                    names.append(named.name);
                got = names.join(QLatin1Char(','));
            } else {
                const auto named = await(m_client->request<std::optional<Named>>(get, thing));
                got = named ? named->name : QStringLiteral("none");
            }
        } catch (const APIError &error) {
            QCOMPARE(error.kind(), APIError::Kind::Decoding);
            // The decoder's words stay with the error for the log; the screens show one Russian text.
            QVERIFY2(outcome.startsWith(QStringLiteral("error:")) && error.cause().contains(outcome.mid(6)),
                     qPrintable(error.cause()));
            QCOMPARE(error.errorDescription(), unreadAnswer);
            return;
        }
        QCOMPARE(got, outcome);
    }

    // Failures below HTTP: a closed port and silence past the timeout are "no connection"; an
    // answer that is not HTTP at all is a server error without a status.
    void transportFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        const QString noConnection =
            QStringLiteral("Нет связи с 127.0.0.1. Проверьте интернет и URL API (параметр CMake API_BASE_URL).");
        QTest::newRow("closed port") << "closed" << noConnection;
        QTest::newRow("silence beyond the timeout") << "silence" << noConnection;
        QTest::newRow("not HTTP") << "file"
                                  << "Ошибка сервера (-1)";
    }
    void transportFailures()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QUrl base = m_backend.baseUrl();
        QString path = QStringLiteral("projects");
        QTemporaryFile file;
        if (kind == QStringLiteral("closed")) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            base = QUrl(QStringLiteral("http://127.0.0.1:%1/api").arg(probe.serverPort()));
        } else if (kind == QStringLiteral("silence")) {
            m_backend.setOverride(get, path, BackendReply::silence());
        } else {
            QVERIFY(file.open());
            file.write("{}");
            file.close();
            base = QUrl::fromLocalFile(QFileInfo(file.fileName()).absolutePath());
            path = QFileInfo(file.fileName()).fileName();
        }
        APIClient client{base};
        QCOMPARE(client.transferTimeout(), 60000);
        client.setTransferTimeout(300);
        const auto failure = apiFailure(client.requestData(get, path, std::nullopt, false));
        QVERIFY(failure);
        QCOMPARE(failure->status(), -1);
        QCOMPARE(failure->errorDescription(), text);
    }

    // A request lives as long as its owner: once the owner goes the exchange is aborted (the
    // backend sees the connection closed unanswered) and the caller ends with RequestCancelled,
    // later, from the event loop, never inside the owner's destructor.
    void ownerGoneAbortsTheRequest_data()
    {
        QTest::addColumn<bool>("answers"); // the backend would answer at all
        QTest::addColumn<bool>("ownerGoes");
        QTest::newRow("late answer, owner gone") << true << true;
        QTest::newRow("no answer, owner gone") << false << true;
        QTest::newRow("owner stays") << true << false;
    }
    void ownerGoneAbortsTheRequest()
    {
        QFETCH(bool, answers);
        QFETCH(bool, ownerGoes);
        m_backend.setOverride(get, thing,
                              answers ? BackendReply::raw(200, R"({"name":"Готово"})").after(ownerGoes ? 10000 : 200)
                                      : BackendReply::silence());
        auto owner = std::make_unique<QObject>();
        enum class End { Running, Answer, Cancelled, Failure };
        End end = End::Running;
        auto call = [&]() -> QCoro::Task<> {
            try {
                QCoro::Task<Named> pending = m_client->request<Named>(get, thing, std::nullopt, true, owner.get());
                co_await std::move(pending);
                end = End::Answer;
            } catch (const RequestCancelled &) {
                end = End::Cancelled;
            } catch (const std::exception &) {
                end = End::Failure;
            }
        };
        QCoro::Task<> running = call();
        QTRY_COMPARE(m_backend.requests(get, thing).size(), 1);
        if (!ownerGoes) {
            QTRY_COMPARE(end, End::Answer);
            QVERIFY(m_backend.abandonedRequests().isEmpty());
            return;
        }
        owner.reset();
        QCOMPARE(end, End::Running);
        QTRY_COMPARE_WITH_TIMEOUT(end, End::Cancelled, 3000);
        QTRY_COMPARE(m_backend.abandonedRequests().size(), 1);
        QCOMPARE(m_backend.abandonedRequests().at(0).path, thing);
        // The client goes on serving others.
        m_backend.clearOverrides();
        m_backend.setOverride(get, thing, BackendReply::raw(200, R"({"name":"Снова"})"));
        QCOMPARE(await(m_client->request<Named>(get, thing)).name, QStringLiteral("Снова"));
    }
};

QTEST_GUILESS_MAIN(TestAPIClient)
#include "tst_APIClient.moc"
