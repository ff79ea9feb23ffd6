#include "API/APIClient.h"
#include "API/ErrorDescription.h"
#include "API/FinanceService.h"
#include "Await.h"
#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonDocument>
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

    void override(const QString &method, const QString &path, BackendReply reply)
    {
        m_backend->setOverride(method, path, std::move(reply));
    }
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
        const QJsonObject line{
            {"title", "Вёрстка"}, {"category", "frontend"}, {"hours", 10}, {"rate", 0}, {"isLocked", false}};
        m_projectId = data.addProject(owner, {{"name", "Сайт"}, {"defaultRate", 1000}, {"items", QJsonArray{line}}})
                          .value("id")
                          .toString();
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
        QCOMPARE(created->amount, 4000.0);
        const RecordedRequest sent = m_backend->requests(QStringLiteral("POST"), paymentsPath()).first();
        QCOMPARE(sent.json().toObject(), (QJsonObject{{"amount", 4000}, {"status", "received"}, {"note", "аванс"}}));
        QVERIFY(sent.header("Authorization").startsWith("Bearer "));
        QCOMPARE(await(service.fetchAnalytics(m_projectId))->paid.receivedTotal, 4000.0);

        UpdatePaymentRequest change;
        change.status = PaymentStatus::Cancelled;
        QCOMPARE(await(service.updatePayment(created->id, change))->status, PaymentStatus::Cancelled);
        QCOMPARE(m_backend->requests().last().json().toObject(), (QJsonObject{{"status", "cancelled"}}));

        QVERIFY(await(service.deletePayment(created->id)));
        QCOMPARE(m_backend->requests().last().method, QStringLiteral("DELETE"));
        QVERIFY(!m_backend->requests().last().hasHeader("Content-Type"));
        QVERIFY(await(service.fetchPayments(m_projectId)).isEmpty());
        QVERIFY(!service.errorMessage());

        await(service.deletePayment(QStringLiteral("a/b?c=d")));
        QCOMPARE(m_backend->requests().last().target, QStringLiteral("projects/payments/a/b?c=d"));
    }

    // Each operation against an answer; "keep" means a previous error stays, "clear" that it is gone.
    void answers_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("hasResult");
        QTest::addColumn<QString>("error"); // "keep", "clear", or the published text ("~" prefix: starts with)

        const QByteArray payment =
            R"({"id":"pay-9","amount":"150,5","currency":"RUB","paidAt":null,"status":"pending",)"
            R"("projectId":"p","userId":"u","createdAt":0,"updatedAt":"2024-05-01"})";
        const QString decoding = QStringLiteral("~Ошибка разбора ответа: ");
        QTest::newRow("analytics null: nothing, error kept")
            << "fetchAnalytics" << 200 << QByteArray("null") << false << "keep";
        QTest::newRow("analytics 404 without body")
            << "fetchAnalytics" << 404 << QByteArray() << false << "Не найдено: %1/%2";
        QTest::newRow("analytics empty body") << "fetchAnalytics" << 200 << QByteArray() << false << decoding;
        QTest::newRow("payments null fails to decode")
            << "fetchPayments" << 200 << QByteArray("null") << false << decoding;
        QTest::newRow("payments empty array") << "fetchPayments" << 200 << QByteArray("[]") << false << "keep";
        QTest::newRow("create answered null") << "createPayment" << 201 << QByteArray("null") << false << "clear";
        QTest::newRow("create lenient payment") << "createPayment" << 201 << payment << true << "clear";
        QTest::newRow("update answered null") << "updatePayment" << 200 << QByteArray("null") << false << "clear";
        QTest::newRow("update empty body") << "updatePayment" << 200 << QByteArray() << false << decoding;
        QTest::newRow("delete 204 empty") << "deletePayment" << 204 << QByteArray() << true << "clear";
        QTest::newRow("delete ignores the body") << "deletePayment" << 200 << QByteArray("<html>") << true << "clear";
        QTest::newRow("delete 404") << "deletePayment" << 404 << QByteArray(R"({"message":"Платёж не найден"})")
                                    << false << "Платёж не найден";
        QTest::newRow("401 ends the session")
            << "fetchPayments" << 401 << QByteArray() << false << "Сессия истекла. Войдите снова.";
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
        const std::optional<QString> earlier = QStringLiteral("Ошибка сервера (500)");
        override(QStringLiteral("GET"), QStringLiteral("projects/none/payments"), BackendReply::empty(500));
        await(service.fetchPayments(QStringLiteral("none")));
        QCOMPARE(service.errorMessage(), earlier);

        const BackendReply reply = BackendReply::raw(status, body);
        const QString onePayment = QStringLiteral("projects/payments/pay-1");
        bool gotResult = false;
        QString path = paymentsPath();
        if (operation == QStringLiteral("fetchAnalytics")) {
            override(QStringLiteral("GET"), path = analyticsPath(), reply);
            gotResult = await(service.fetchAnalytics(m_projectId)).has_value();
        } else if (operation == QStringLiteral("fetchPayments")) {
            override(QStringLiteral("GET"), path, reply);
            gotResult = !await(service.fetchPayments(m_projectId)).isEmpty();
        } else if (operation == QStringLiteral("createPayment")) {
            override(QStringLiteral("POST"), path, reply);
            gotResult = await(service.createPayment(m_projectId, CreatePaymentRequest{100})).has_value();
        } else if (operation == QStringLiteral("updatePayment")) {
            override(QStringLiteral("PATCH"), path = onePayment, reply);
            gotResult = await(service.updatePayment(QStringLiteral("pay-1"), UpdatePaymentRequest{})).has_value();
        } else {
            override(QStringLiteral("DELETE"), path = onePayment, reply);
            gotResult = await(service.deletePayment(QStringLiteral("pay-1")));
        }
        QCOMPARE(gotResult, hasResult);
        QCOMPARE(m_unauthorized, status == 401 ? 1 : 0);
        if (error == QStringLiteral("keep"))
            QCOMPARE(service.errorMessage(), earlier);
        else if (error == QStringLiteral("clear"))
            QVERIFY(!service.errorMessage());
        else if (error.startsWith(QLatin1Char('~')))
            QVERIFY2(service.errorMessage()->startsWith(error.mid(1)), qPrintable(*service.errorMessage()));
        else
            QCOMPARE(*service.errorMessage(),
                     error.contains(QStringLiteral("%1")) ? error.arg(m_backend->baseUrl().toString(), path) : error);
    }

    void unencodableBodyIsReportedAndNotSent()
    {
        FinanceService service(*m_api);
        QVERIFY(!await(service.createPayment(m_projectId, CreatePaymentRequest{std::nan("")})));
        QVERIFY(service.errorMessage());
        QVERIFY(m_backend->requests().isEmpty());
    }

    void lastFailureToFinishIsShown()
    {
        FinanceService service(*m_api);
        override(QStringLiteral("GET"), paymentsPath(), BackendReply::message(500, QStringLiteral("slow")));
        override(QStringLiteral("GET"), analyticsPath(), BackendReply::message(500, QStringLiteral("fast")));
        m_backend->hold(QStringLiteral("GET"), paymentsPath());
        bool done = false;
        auto slow = [&]() -> QCoro::Task<> {
            QCoro::Task<QList<Payment>> pending = service.fetchPayments(m_projectId);
            co_await std::move(pending);
            done = true;
        };
        QCoro::Task<> running = slow();
        await(service.fetchAnalytics(m_projectId));
        QCOMPARE(service.errorMessage(), std::optional<QString>(QStringLiteral("fast")));
        m_backend->release();
        QTRY_VERIFY(done);
        QCOMPARE(service.errorMessage(), std::optional<QString>(QStringLiteral("slow")));
    }

    // A screen that drops its service before the answer arrives gets nothing back, and the answer
    // touches nothing of the service.
    void serviceGoneBeforeTheAnswer_data()
    {
        QTest::addColumn<int>("status"); // 0: the backend's own answer
        QTest::newRow("payments listed") << 0;
        QTest::newRow("server error") << 500;
    }
    void serviceGoneBeforeTheAnswer()
    {
        QFETCH(int, status);
        auto service = std::make_unique<FinanceService>(*m_api);
        CreatePaymentRequest body;
        body.amount = 100;
        QVERIFY(await(service->createPayment(m_projectId, body)));
        if (status)
            override(QStringLiteral("GET"), paymentsPath(), BackendReply::message(status, QStringLiteral("down")));
        QCoro::Task<QList<Payment>> payments = service->fetchPayments(m_projectId);
        QCoro::Task<bool> deleted = service->deletePayment(QStringLiteral("missing"));
        service.reset();
        QVERIFY(await(std::move(payments)).isEmpty());
        QVERIFY(!await(std::move(deleted)));
    }

    // A reload reads the same as a first read of its answer, and keeps the records of the payments
    // whose text did not change (their texts share their strings with the earlier read's). A
    // failure is the whole answer's, as on a first read. Long answers are read on a worker thread.
    void rereadKeepsUnchangedRecords_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("kept"); // -1: the reload fails
        QTest::newRow("unchanged") << 8 << "none" << 8;
        QTest::newRow("a status changed") << 8 << "status" << 7;
        QTest::newRow("one deleted") << 8 << "delete" << 7;
        QTest::newRow("one added first") << 8 << "add" << 8;
        QTest::newRow("laid out anew") << 8 << "indent" << 0;
        QTest::newRow("an amount that does not read") << 8 << "bad amount" << -1;
        QTest::newRow("not a list") << 8 << "object" << -1;
        QTest::newRow("hundreds, a status changed") << 400 << "status" << 399;
        QTest::newRow("hundreds, one that does not read") << 400 << "bad amount" << -1;
    }
    void rereadKeepsUnchangedRecords()
    {
        QFETCH(int, count);
        QFETCH(QString, change);
        QFETCH(int, kept);
        QJsonArray listed;
        for (int i = 0; i < count; ++i)
            listed.append(QJsonObject{{"id", QStringLiteral("pay-%1").arg(i)},
                                      {"amount", 100 + i},
                                      {"currency", "RUB"},
                                      {"status", "pending"},
                                      {"note", QStringLiteral("Платёж по договору поставки №%1").arg(i)},
                                      {"projectId", m_projectId},
                                      {"userId", "u"},
                                      {"createdAt", "2024-05-01T10:00:00Z"},
                                      {"updatedAt", "2024-05-01T10:00:00Z"}});
        const QByteArray first = Json::serialize(listed);
        QCOMPARE(first.size() > FinanceService::largeAnswerBytes, count > 100);
        QJsonArray next = listed;
        QByteArray second;
        if (change == QStringLiteral("status") || change == QStringLiteral("bad amount")) {
            QJsonObject payment = next.at(3).toObject();
            if (change == QStringLiteral("status"))
                payment.insert("status", "received");
            else
                payment.insert("amount", "сто");
            next.replace(3, payment);
        } else if (change == QStringLiteral("delete")) {
            next.removeAt(5);
        } else if (change == QStringLiteral("add")) {
            QJsonObject payment = next.at(0).toObject();
            payment.insert("id", "pay-new");
            next.prepend(payment);
        }
        second = change == QStringLiteral("indent") ? QJsonDocument(next).toJson(QJsonDocument::Indented)
            : change == QStringLiteral("object")    ? QByteArray(R"({"items":[]})")
                                                    : Json::serialize(next);

        FinanceService service(*m_api);
        override(QStringLiteral("GET"), paymentsPath(), BackendReply::raw(200, first));
        const QList<Payment> before = await(service.fetchPayments(m_projectId));
        QCOMPARE(before, APIClient::decode<QList<Payment>>(first));
        override(QStringLiteral("GET"), paymentsPath(), BackendReply::raw(200, second));
        const QList<Payment> after = await(service.fetchPayments(m_projectId));
        if (kept < 0) {
            QVERIFY(after.isEmpty());
            try {
                APIClient::decode<QList<Payment>>(second);
                QFAIL("the answer read");
            } catch (const APIError &error) {
                QCOMPARE(service.errorMessage(), std::optional<QString>(errorDescription(error)));
            }
            return;
        }
        QCOMPARE(after, APIClient::decode<QList<Payment>>(second));
        QVERIFY(!service.errorMessage());
        int shared = 0;
        for (const Payment &payment : after) {
            for (const Payment &earlier : before)
                shared += payment.note->constData() == earlier.note->constData() ? 1 : 0;
        }
        QCOMPARE(shared, kept);
    }
};

QTEST_GUILESS_MAIN(TestFinanceService)
#include "tst_FinanceService.moc"
