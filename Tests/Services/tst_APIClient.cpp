#include "API/APIClient.h"
#include "Await.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryFile>
#include <QTest>

namespace {

// A record of the smallest shape, to see the decoding paths of the client.
struct Named {
    QString name;
    static Named fromJson(const QJsonValue &value, const QString &path = {})
    {
        return Named{JsonReader(value, path).requiredString(QStringLiteral("name"))};
    }
};

const QString noConnectionTail = QStringLiteral(". Проверьте интернет и URL API (параметр CMake API_BASE_URL).");

} // namespace

class TestAPIClient : public QObject
{
    Q_OBJECT

private:
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    int m_unauthorizedCalls = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_client->setTokenProvider([this] { return m_token; });
        m_client->setOnUnauthorized([this](const QString &, const QString &) { ++m_unauthorizedCalls; });
    }
    void init()
    {
        m_backend.clearRequests();
        m_backend.clearOverrides();
        m_token.reset();
        m_unauthorizedCalls = 0;
    }

    void joinsPaths_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected"); // empty: no URL

        QTest::newRow("plain") << "http://h/api" << "projects" << "http://h/api/projects";
        QTest::newRow("slashes on both sides") << "http://h/api/" << "/projects/" << "http://h/api/projects";
        QTest::newRow("many slashes") << "http://h/api///" << "///projects/p-1///" << "http://h/api/projects/p-1";
        QTest::newRow("query kept") << "http://h/api/" << "projects?view=full" << "http://h/api/projects?view=full";
        QTest::newRow("identifier with slash and question mark") << "http://h/api" << "projects/payments/a/b?c"
                                                                 << "http://h/api/projects/payments/a/b?c";
        QTest::newRow("escaped query value unchanged") << "http://h" << "auth/verify-email?token=a%20b+c"
                                                       << "http://h/auth/verify-email?token=a%20b+c";
        QTest::newRow("empty path") << "http://h/api" << "" << "";
        QTest::newRow("slashes only") << "http://h/api" << "///" << "";
        QTest::newRow("blank in path") << "http://h/api" << "projects/a b" << "";
    }
    void joinsPaths()
    {
        QFETCH(QString, base);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        APIClient client{QUrl(base)};
        const std::optional<QUrl> url = client.endpointURL(path);
        QCOMPARE(url.has_value(), !expected.isEmpty());
        if (url)
            QCOMPARE(url->toString(QUrl::FullyEncoded), expected);
    }

    void invalidPathSendsNothing()
    {
        const auto failure = apiFailure(m_client->requestData(QStringLiteral("GET"), QStringLiteral("//")));
        QVERIFY(failure);
        QCOMPARE(failure->errorDescription(), QStringLiteral("Некорректный URL"));
        QVERIFY(m_backend.requests().isEmpty());
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
        QTest::newRow("POST without body") << "POST" << false << true << "tok-1" << QByteArray("Bearer tok-1");
        QTest::newRow("PATCH with body") << "PATCH" << true << true << "tok-1" << QByteArray("Bearer tok-1");
        QTest::newRow("DELETE without body") << "DELETE" << false << true << "tok-1" << QByteArray("Bearer tok-1");
        QTest::newRow("authorized, nothing stored") << "GET" << false << true << "" << QByteArray();
        QTest::newRow("non-ASCII token as UTF-8") << "GET" << false << true << "ключ" << QByteArray("Bearer ключ");
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
        m_client->setTokenProvider([&] { ++providerCalls; return m_token; });
        m_backend.setOverride(method, QStringLiteral("echo/x"), BackendReply::json(200, QJsonObject{}));
        const QJsonObject body{{QStringLiteral("name"), QStringLiteral("Сайт")}, {QStringLiteral("rate"), 2.5}};
        await(m_client->requestData(method, QStringLiteral("echo/x"), withBody ? std::optional<QJsonValue>(body) : std::nullopt,
                                    authorized));
        m_client->setTokenProvider([this] { return m_token; });

        QCOMPARE(m_backend.requests().size(), 1);
        const RecordedRequest &sent = m_backend.requests().first();
        QCOMPARE(sent.method, method);
        QCOMPARE(sent.header("Accept"), QByteArray("application/json"));
        QCOMPARE(sent.hasHeader("Content-Type"), withBody);
        if (withBody) {
            QCOMPARE(sent.header("Content-Type"), QByteArray("application/json"));
            QCOMPARE(sent.json().toObject(), body);
        } else {
            QVERIFY(sent.body.isEmpty());
        }
        QCOMPARE(sent.header("Authorization"), authorization);
        QCOMPARE(providerCalls, authorized ? 1 : 0);
    }

    void failureTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("withToken");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expectedStatus");
        QTest::addColumn<int>("unauthorizedCalls");

        const QByteArray empty;
        QTest::newRow("404 without body") << 404 << empty << true << "Не найдено: %1/things/t-1" << 404 << 0;
        QTest::newRow("404 with message") << 404 << QByteArray(R"({"message":"Проект не найден"})") << true << "Проект не найден" << 404 << 0;
        QTest::newRow("500 without body") << 500 << empty << true << "Ошибка сервера (500)" << 500 << 0;
        QTest::newRow("500 with HTML") << 500 << QByteArray("<html><body>Bad gateway</body></html>") << true << "Ошибка сервера (500)" << 500 << 0;
        QTest::newRow("500 malformed JSON") << 500 << QByteArray(R"({"message":)") << true << "Ошибка сервера (500)" << 500 << 0;
        QTest::newRow("500 body null") << 500 << QByteArray("null") << true << "Ошибка сервера (500)" << 500 << 0;
        QTest::newRow("400 message list") << 400 << QByteArray(R"({"message":["email must be an email","password too short"]})") << true
                                          << "email must be an email, password too short" << 400 << 0;
        QTest::newRow("400 empty list") << 400 << QByteArray(R"({"message":[]})") << true << "" << 400 << 0;
        QTest::newRow("400 list with a number") << 400 << QByteArray(R"({"message":["a",1]})") << true << "" << 400 << 0;
        QTest::newRow("400 message is a number") << 400 << QByteArray(R"({"message":5})") << true << "" << 400 << 0;
        QTest::newRow("400 message is an empty text") << 400 << QByteArray(R"({"message":""})") << true << "" << 400 << 0;
        QTest::newRow("400 message null") << 400 << QByteArray(R"({"message":null})") << true << "Ошибка сервера (400)" << 400 << 0;
        QTest::newRow("400 no message key") << 400 << QByteArray(R"({"error":"Bad"})") << true << "Ошибка сервера (400)" << 400 << 0;
        QTest::newRow("404 message null") << 404 << QByteArray(R"({"message":null})") << true << "Не найдено: %1/things/t-1" << 404 << 0;
        QTest::newRow("401 with token, whatever the body") << 401 << QByteArray(R"({"message":"jwt expired"})") << true
                                                           << "Сессия истекла. Войдите снова." << 401 << 1;
        QTest::newRow("401 without token, empty body") << 401 << empty << false << "Неверный email или пароль" << 401 << 0;
        QTest::newRow("401 without token, message") << 401 << QByteArray(R"({"message":"Аккаунт заблокирован"})") << false
                                                    << "Аккаунт заблокирован" << 401 << 0;
    }
    void failureTexts()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, withToken);
        QFETCH(QString, text);
        QFETCH(int, expectedStatus);
        QFETCH(int, unauthorizedCalls);
        if (withToken)
            m_token = QStringLiteral("tok-1");
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("things/t-1"), BackendReply::raw(status, body));
        const auto failure = apiFailure(m_client->requestData(QStringLiteral("GET"), QStringLiteral("things/t-1")));
        QVERIFY(failure);
        QCOMPARE(failure->errorDescription(), text.arg(m_backend.baseUrl().toString()));
        QCOMPARE(failure->status(), expectedStatus);
        QCOMPARE(m_unauthorizedCalls, unauthorizedCalls);
    }

    void unauthorizedCallbackRunsBeforeTheFailureArrives()
    {
        m_token = QStringLiteral("tok-1");
        bool failureSeenInCallback = true;
        bool failed = false;
        m_client->setOnUnauthorized([&](const QString &path, const QString &token) {
            failureSeenInCallback = failed;
            QCOMPARE(path, QStringLiteral("users/profile"));
            QCOMPARE(token, QStringLiteral("tok-1"));
        });
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("users/profile"), BackendReply::empty(401));
        try {
            await(m_client->requestData(QStringLiteral("GET"), QStringLiteral("users/profile")));
        } catch (const APIError &error) {
            failed = true;
            QCOMPARE(error.kind(), APIError::Kind::Unauthorized);
        }
        QVERIFY(failed);
        QVERIFY(!failureSeenInCallback);
        m_client->setOnUnauthorized([this](const QString &, const QString &) { ++m_unauthorizedCalls; });
    }

    void successReturnsBodyUnchanged()
    {
        m_backend.setOverride(QStringLiteral("DELETE"), QStringLiteral("things/t-1"), BackendReply::empty(204));
        QCOMPARE(await(m_client->requestData(QStringLiteral("DELETE"), QStringLiteral("things/t-1"))), QByteArray());
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("things/t-1"), BackendReply::raw(200, "  [1, 2] "));
        QCOMPARE(await(m_client->requestData(QStringLiteral("GET"), QStringLiteral("things/t-1"))), QByteArray("  [1, 2] "));
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("outcome"); // "name:<text>", "none", or "error:<prefix>"

        QTest::newRow("record") << QByteArray(R"({"name":"Сайт","extra":1})") << "name:Сайт";
        QTest::newRow("bare null as no value") << QByteArray("null") << "none";
        QTest::newRow("null inside spaces") << QByteArray(" null\n") << "none";
        QTest::newRow("empty body") << QByteArray() << "error:Ошибка разбора ответа: dataCorrupted";
        QTest::newRow("missing key") << QByteArray(R"({"title":"x"})") << "error:Ошибка разбора ответа: keyNotFound";
        QTest::newRow("wrong kind") << QByteArray(R"({"name":5})") << "error:Ошибка разбора ответа: typeMismatch";
        QTest::newRow("HTML") << QByteArray("<html></html>") << "error:Ошибка разбора ответа: dataCorrupted";
    }
    void decodes()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, outcome);
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("things/t-1"), BackendReply::raw(200, body));
        try {
            const std::optional<Named> named =
                await(m_client->request<std::optional<Named>>(QStringLiteral("GET"), QStringLiteral("things/t-1")));
            QCOMPARE(named ? QStringLiteral("name:") + named->name : QStringLiteral("none"), outcome);
        } catch (const APIError &error) {
            QCOMPARE(error.kind(), APIError::Kind::Decoding);
            QVERIFY2(outcome.startsWith(QStringLiteral("error:")), qPrintable(error.errorDescription()));
            QVERIFY2(error.errorDescription().startsWith(outcome.mid(6)), qPrintable(error.errorDescription()));
        }
    }

    void listFailsAsAWhole()
    {
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("things"), BackendReply::raw(200, R"([{"name":"a"},{"name":1}])"));
        const auto failure = apiFailure(m_client->request<QList<Named>>(QStringLiteral("GET"), QStringLiteral("things")));
        QVERIFY(failure);
        QVERIFY(failure->errorDescription().contains(QStringLiteral("[1].name")));
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("things"), BackendReply::raw(200, "null"));
        QVERIFY(apiFailure(m_client->request<QList<Named>>(QStringLiteral("GET"), QStringLiteral("things"))));
    }

    void closedPortIsNoConnection()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        APIClient client{QUrl(QStringLiteral("http://127.0.0.1:%1/api").arg(port))};
        const auto failure = apiFailure(client.requestData(QStringLiteral("GET"), QStringLiteral("projects"), std::nullopt, false));
        QVERIFY(failure);
        QCOMPARE(failure->status(), -1);
        QCOMPARE(failure->errorDescription(), QStringLiteral("Нет связи с 127.0.0.1") + noConnectionTail);
    }

    void silenceBeyondTheTimeoutIsNoConnection()
    {
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::silence());
        APIClient client{m_backend.baseUrl()};
        QCOMPARE(client.transferTimeout(), 60000);
        client.setTransferTimeout(300);
        const auto failure = apiFailure(client.requestData(QStringLiteral("GET"), QStringLiteral("projects"), std::nullopt, false));
        QVERIFY(failure);
        QCOMPARE(failure->status(), -1);
        QCOMPARE(failure->errorDescription(), QStringLiteral("Нет связи с 127.0.0.1") + noConnectionTail);
    }

    void answerThatIsNotHttp()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("{}");
        file.close();
        const QFileInfo info(file.fileName());
        APIClient client{QUrl::fromLocalFile(info.absolutePath())};
        const auto failure = apiFailure(client.requestData(QStringLiteral("GET"), info.fileName(), std::nullopt, false));
        QVERIFY(failure);
        QCOMPARE(failure->status(), -1);
        QCOMPARE(failure->errorDescription(), QStringLiteral("Ошибка сервера (-1)"));
    }
};

QTEST_GUILESS_MAIN(TestAPIClient)
#include "tst_APIClient.moc"
