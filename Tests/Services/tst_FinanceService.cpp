#include "API/APIClient.h"
#include "API/FinanceService.h"
#include "Await.h"
#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <cmath>

class TestFinanceService : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestBackend> m_backend;
    std::unique_ptr<APIClient> m_api;
    std::optional<QString> m_token;
    QString m_projectId;
    int m_unauthorized = 0;

    void override(const QString &method, const QString &path, BackendReply reply) { m_backend->setOverride(method, path, std::move(reply)); }
    QString analyticsPath() const { return QStringLiteral("projects/%1/estimate-analytics").arg(m_projectId); }
    QString paymentsPath() const { return QStringLiteral("projects/%1/payments").arg(m_projectId); }

private Q_SLOTS:
    void init()
    {
        m_backend = std::make_unique<TestBackend>();
        QVERIFY(m_backend->start() != 0);
        BackendData &data = m_backend->data();
        const QString owner = data.addAccount(QStringLiteral("f@example.test"), QStringLiteral("secret-1")).id;
        m_token = data.issueToken(owner);
        m_projectId = data.addProject(owner, QJsonObject{{QStringLiteral("name"), QStringLiteral("Сайт")},
                                                         {QStringLiteral("defaultRate"), 1000},
                                                         {QStringLiteral("items"), QJsonArray{QJsonObject{
                                                             {QStringLiteral("title"), QStringLiteral("Вёрстка")},
                                                             {QStringLiteral("category"), QStringLiteral("frontend")},
                                                             {QStringLiteral("hours"), 10}, {QStringLiteral("rate"), 0},
                                                             {QStringLiteral("isLocked"), false}}}}})
                          .value(QStringLiteral("id")).toString();
        m_api = std::make_unique<APIClient>(m_backend->baseUrl());
        m_api->setTokenProvider([this] { return m_token; });
        m_unauthorized = 0;
        m_api->setOnUnauthorized([this](const QString &, const QString &) { ++m_unauthorized; });
    }
    void cleanup()
    {
        m_api.reset();
        m_backend.reset();
    }

    void paymentsRoundTrip()
    {
        FinanceService service(*m_api);
        QVERIFY(await(service.fetchPayments(m_projectId)).isEmpty());
        CreatePaymentRequest body;
        body.amount = 4000;
        body.status = PaymentStatus::Received;
        body.note = QStringLiteral("аванс");
        const std::optional<Payment> created = await(service.createPayment(m_projectId, body));
        QVERIFY(created);
        QCOMPARE(created->amount, 4000.0);
        QCOMPARE(created->currency, QStringLiteral("RUB"));
        const RecordedRequest sent = m_backend->requests(QStringLiteral("POST"), paymentsPath()).first();
        QCOMPARE(sent.json().toObject(), (QJsonObject{{QStringLiteral("amount"), 4000}, {QStringLiteral("status"), QStringLiteral("received")},
                                                      {QStringLiteral("note"), QStringLiteral("аванс")}}));
        QVERIFY(sent.header("Authorization").startsWith("Bearer "));

        const std::optional<EstimateAnalytics> analytics = await(service.fetchAnalytics(m_projectId));
        QVERIFY(analytics);
        QCOMPARE(analytics->planned.totalCost, 10000.0);
        QCOMPARE(analytics->paid.receivedTotal, 4000.0);

        UpdatePaymentRequest change;
        change.status = PaymentStatus::Cancelled;
        const std::optional<Payment> updated = await(service.updatePayment(created->id, change));
        QCOMPARE(updated->status, PaymentStatus::Cancelled);
        QCOMPARE(m_backend->requests().last().json().toObject(), (QJsonObject{{QStringLiteral("status"), QStringLiteral("cancelled")}}));

        QVERIFY(await(service.deletePayment(created->id)));
        QCOMPARE(m_backend->requests().last().method, QStringLiteral("DELETE"));
        QVERIFY(!m_backend->requests().last().hasHeader("Content-Type"));
        QVERIFY(await(service.fetchPayments(m_projectId)).isEmpty());
        QVERIFY(!service.errorMessage());
    }

    // Each operation against an answer; "keep" means a previous error stays, "clear" that it is gone.
    void answers_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("hasResult");
        QTest::addColumn<QString>("error"); // "keep", "clear", or the published text ("~" prefix: starts with)

        const QByteArray payment = R"({"id":"pay-9","amount":"150,5","currency":"RUB","paidAt":null,"status":"pending",)"
                                   R"("projectId":"p","userId":"u","createdAt":0,"updatedAt":"2024-05-01"})";
        QTest::newRow("analytics null: nothing, error kept") << "fetchAnalytics" << 200 << QByteArray("null") << false << "keep";
        QTest::newRow("analytics 404 with message") << "fetchAnalytics" << 404 << QByteArray(R"({"message":"Проект не найден"})") << false
                                                    << "Проект не найден";
        QTest::newRow("analytics 404 without body") << "fetchAnalytics" << 404 << QByteArray() << false << "Не найдено: %1/%2";
        QTest::newRow("analytics empty body") << "fetchAnalytics" << 200 << QByteArray() << false << "~Ошибка разбора ответа: ";
        QTest::newRow("payments null fails to decode") << "fetchPayments" << 200 << QByteArray("null") << false << "~Ошибка разбора ответа: ";
        QTest::newRow("payments empty array") << "fetchPayments" << 200 << QByteArray("[]") << false << "keep";
        QTest::newRow("payments, one bad, fails whole") << "fetchPayments" << 200 << "[" + payment + R"(,{"id":"x"}])" << false
                                                        << "~Ошибка разбора ответа: ";
        QTest::newRow("create answered null") << "createPayment" << 201 << QByteArray("null") << false << "clear";
        QTest::newRow("create lenient payment") << "createPayment" << 201 << payment << true << "clear";
        QTest::newRow("create empty body") << "createPayment" << 201 << QByteArray() << false << "~Ошибка разбора ответа: ";
        QTest::newRow("create missing key") << "createPayment" << 201 << QByteArray(R"({"id":"p"})") << false << "~Ошибка разбора ответа: ";
        QTest::newRow("update answered null") << "updatePayment" << 200 << QByteArray("null") << false << "clear";
        QTest::newRow("update empty body") << "updatePayment" << 200 << QByteArray() << false << "~Ошибка разбора ответа: ";
        QTest::newRow("delete 204 empty") << "deletePayment" << 204 << QByteArray() << true << "clear";
        QTest::newRow("delete ignores the body") << "deletePayment" << 200 << QByteArray("<html>") << true << "clear";
        QTest::newRow("delete 404") << "deletePayment" << 404 << QByteArray(R"({"message":"Платёж не найден"})") << false << "Платёж не найден";
        QTest::newRow("401 ends the session") << "fetchPayments" << 401 << QByteArray() << false << "Сессия истекла. Войдите снова.";
    }
    void answers()
    {
        QFETCH(QString, operation);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, hasResult);
        QFETCH(QString, error);
        FinanceService service(*m_api);
        // An earlier failure, to see which operations clear it.
        override(QStringLiteral("GET"), QStringLiteral("projects/none/payments"), BackendReply::empty(500));
        await(service.fetchPayments(QStringLiteral("none")));
        QCOMPARE(service.errorMessage(), std::optional<QString>(QStringLiteral("Ошибка сервера (500)")));

        const BackendReply reply = BackendReply::raw(status, body);
        bool gotResult = false;
        QString path;
        if (operation == QStringLiteral("fetchAnalytics")) {
            path = analyticsPath();
            override(QStringLiteral("GET"), path, reply);
            gotResult = await(service.fetchAnalytics(m_projectId)).has_value();
        } else if (operation == QStringLiteral("fetchPayments")) {
            path = paymentsPath();
            override(QStringLiteral("GET"), path, reply);
            gotResult = !await(service.fetchPayments(m_projectId)).isEmpty();
        } else if (operation == QStringLiteral("createPayment")) {
            path = paymentsPath();
            override(QStringLiteral("POST"), path, reply);
            gotResult = await(service.createPayment(m_projectId, CreatePaymentRequest{100})).has_value();
        } else if (operation == QStringLiteral("updatePayment")) {
            path = QStringLiteral("projects/payments/pay-1");
            override(QStringLiteral("PATCH"), path, reply);
            gotResult = await(service.updatePayment(QStringLiteral("pay-1"), UpdatePaymentRequest{})).has_value();
        } else {
            path = QStringLiteral("projects/payments/pay-1");
            override(QStringLiteral("DELETE"), path, reply);
            gotResult = await(service.deletePayment(QStringLiteral("pay-1")));
        }
        QCOMPARE(gotResult, hasResult);
        if (error == QStringLiteral("keep"))
            QCOMPARE(service.errorMessage(), std::optional<QString>(QStringLiteral("Ошибка сервера (500)")));
        else if (error == QStringLiteral("clear"))
            QVERIFY(!service.errorMessage());
        else if (error.startsWith(QLatin1Char('~')))
            QVERIFY2(service.errorMessage()->startsWith(error.mid(1)), qPrintable(*service.errorMessage()));
        else
            QCOMPARE(*service.errorMessage(),
                     error.contains(QStringLiteral("%1")) ? error.arg(m_backend->baseUrl().toString(), path) : error);
        QCOMPARE(m_unauthorized, status == 401 ? 1 : 0);
    }

    void lenientPaymentFields()
    {
        FinanceService service(*m_api);
        override(QStringLiteral("POST"), paymentsPath(),
                 BackendReply::raw(201, R"({"id":"pay-9","amount":"150,5","currency":"RUB","paidAt":null,"status":"pending",)"
                                        R"("projectId":"p","userId":"u","createdAt":0,"updatedAt":"2024-05-01"})"));
        const std::optional<Payment> payment = await(service.createPayment(m_projectId, CreatePaymentRequest{100}));
        QCOMPARE(payment->amount, 150.5);
        QVERIFY(!payment->paidAt);
        QCOMPARE(payment->createdAt, QStringLiteral("2001-01-01T00:00:00Z"));
    }

    void identifiersGoIntoThePathUnchanged()
    {
        FinanceService service(*m_api);
        await(service.deletePayment(QStringLiteral("a/b?c=d")));
        QCOMPARE(m_backend->requests().last().target, QStringLiteral("projects/payments/a/b?c=d"));
    }

    void unencodableBodyIsReportedAndNotSent()
    {
        FinanceService service(*m_api);
        const std::optional<Payment> payment = await(service.createPayment(m_projectId, CreatePaymentRequest{std::nan("")}));
        QVERIFY(!payment);
        QVERIFY(service.errorMessage());
        QVERIFY(m_backend->requests().isEmpty());
    }

    void lastFailureToFinishIsShown()
    {
        FinanceService service(*m_api);
        override(QStringLiteral("GET"), paymentsPath(), BackendReply::message(500, QStringLiteral("slow")).after(200));
        override(QStringLiteral("GET"), analyticsPath(), BackendReply::message(500, QStringLiteral("fast")));
        bool done = false;
        auto slow = [&]() -> QCoro::Task<> {
            QCoro::Task<QList<Payment>> pending = service.fetchPayments(m_projectId);
            co_await std::move(pending);
            done = true;
        };
        QCoro::Task<> running = slow();
        await(service.fetchAnalytics(m_projectId));
        QCOMPARE(service.errorMessage(), std::optional<QString>(QStringLiteral("fast")));
        QTRY_VERIFY(done);
        QCOMPARE(service.errorMessage(), std::optional<QString>(QStringLiteral("slow")));
    }
};

QTEST_GUILESS_MAIN(TestFinanceService)
#include "tst_FinanceService.moc"
