#include "API/AIService.h"
#include "API/APIClient.h"
#include "Await.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>


// What a person reads when an answer does not decode, whatever did not match.
static const QString unreadAnswer =
    QStringLiteral("Ошибка разбора ответа: сервер прислал данные, которые приложение не может прочитать. Попробуйте "
                   "позже; если ошибка повторится, обратитесь в поддержку.");
class TestAIService : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestBackend> m_backend;
    std::unique_ptr<APIClient> m_api;
    std::optional<QString> m_token;

    static GenerateEstimateRequest request(const QString &mode = QStringLiteral("quick"))
    {
        return GenerateEstimateRequest{QStringLiteral("Магазин"), QStringLiteral("Каталог, корзина, оплата"), mode};
    }
    void answer(BackendReply reply)
    {
        m_backend->setOverride(QStringLiteral("POST"), QStringLiteral("ai/generate"), std::move(reply));
    }

private Q_SLOTS:
    void init()
    {
        m_backend = std::make_unique<TestBackend>();
        QVERIFY(m_backend->start() != 0);
        const QString owner =
            m_backend->data().addAccount(QStringLiteral("ai@example.test"), QStringLiteral("secret-1")).id;
        m_token = m_backend->data().issueToken(owner);
        m_api = std::make_unique<APIClient>(m_backend->baseUrl());
        m_api->setTokenProvider([this] { return m_token; });
    }
    void cleanup()
    {
        m_api.reset();
        m_backend.reset();
    }

    void generatesLinesInOrder()
    {
        AIService service(*m_api);
        GenerateEstimateRequest body = request(QStringLiteral("detailed"));
        body.defaultRate = 3000;
        body.projectId = QStringLiteral("p-7");
        const auto items = await(service.generate(body));
        QCOMPARE(items->size(), 5);
        QCOMPARE(items->first().title, QStringLiteral("Анализ требований"));
        QCOMPARE(items->first().rate, 3000.0);
        const RecordedRequest sent = m_backend->requests().first();
        QCOMPARE(sent.target, QStringLiteral("ai/generate"));
        QCOMPARE(sent.json().toObject().value(QStringLiteral("defaultRate")).toDouble(), 3000.0);
        QCOMPARE(sent.json().toObject().value(QStringLiteral("projectId")).toString(), QStringLiteral("p-7"));
        QVERIFY(sent.header("Authorization").startsWith("Bearer "));
    }

    void answers_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("lines"); // -1: no value
        QTest::addColumn<QString>("error"); // empty: none; "~" prefix: starts with

        QTest::newRow("empty list") << 200 << QByteArray(R"({"items":[]})") << 0 << "";
        QTest::newRow("line missing rate")
            << 200 << QByteArray(R"({"items":[{"title":"a","description":"b","category":"c","hours":1}]})") << -1
            << unreadAnswer;
        QTest::newRow("no items key") << 200 << QByteArray("{}") << -1 << unreadAnswer;
        QTest::newRow("validation list") << 400 << QByteArray(R"({"message":["requirements should not be empty"]})")
                                         << -1 << "requirements should not be empty";
        QTest::newRow("server error") << 502 << QByteArray() << -1 << "Ошибка сервера (502)";
        QTest::newRow("unauthorized") << 401 << QByteArray() << -1 << "Сессия истекла. Войдите снова.";
    }
    void answers()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, lines);
        QFETCH(QString, error);
        AIService service(*m_api);
        answer(BackendReply::raw(status, body));
        const auto items = await(service.generate(request()));
        QCOMPARE(items ? int(items->size()) : -1, lines);
        QVERIFY(!service.isGenerating());
        if (error.isEmpty())
            QVERIFY(!service.errorMessage());
        else if (error.startsWith(QLatin1Char('~')))
            QVERIFY2(service.errorMessage()->startsWith(error.mid(1)), qPrintable(*service.errorMessage()));
        else
            QCOMPARE(*service.errorMessage(), error);
    }

    // A new run clears the earlier failure as it starts.
    void inFlightState()
    {
        AIService service(*m_api);
        answer(BackendReply::empty(500));
        await(service.generate(request()));
        QVERIFY(service.errorMessage());
        answer(BackendReply::raw(200, R"({"items":[]})").after(200));
        QSignalSpy generating(&service, &AIService::isGeneratingChanged);
        bool done = false;
        auto run = [&]() -> QCoro::Task<> {
            QCoro::Task<std::optional<QList<AIGeneratedItem>>> pending = service.generate(request());
            co_await std::move(pending);
            done = true;
        };
        QCoro::Task<> running = run();
        QVERIFY(service.isGenerating());
        QVERIFY(!service.errorMessage());
        QTRY_VERIFY(done);
        QVERIFY(!service.isGenerating());
        QVERIFY(!service.errorMessage());
        QCOMPARE(generating.count(), 2);
    }

    // The generation sheet closed before the answer: nothing comes back and nothing is touched.
    void serviceGoneBeforeTheAnswer_data()
    {
        QTest::addColumn<int>("status"); // 0: the backend's own lines
        QTest::newRow("lines") << 0;
        QTest::newRow("server error") << 500;
    }
    void serviceGoneBeforeTheAnswer()
    {
        QFETCH(int, status);
        if (status)
            answer(BackendReply::empty(status));
        auto service = std::make_unique<AIService>(*m_api);
        QCoro::Task<std::optional<QList<AIGeneratedItem>>> pending = service->generate(request());
        service.reset();
        QVERIFY(!await(std::move(pending)));
    }
};

QTEST_GUILESS_MAIN(TestAIService)
#include "tst_AIService.moc"
