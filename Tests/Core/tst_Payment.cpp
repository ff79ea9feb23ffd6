#include "DecodingCheck.h"
#include "Models/CreatePaymentRequest.h"
#include "Models/Payment.h"
#include "Models/UpdatePaymentRequest.h"
#include "Utils/EncodingError.h"
#include "Utils/JsonReader.h"

#include <QTest>
#include <limits>

using Kind = DecodingError::Kind;

namespace {

QJsonObject validPayment()
{
    return parsedObject(R"({
        "id": "p1", "amount": 150, "currency": "RUB", "paidAt": "2024-05-01T10:00:00Z",
        "status": "received", "method": "card", "note": "аванс", "externalRef": "INV-7",
        "projectId": "proj-1", "userId": "u1",
        "createdAt": "2024-05-01T10:00:00Z", "updatedAt": "2024-05-02T10:00:00Z",
        "extra": {"ignored": true}
    })");
}

} // namespace

class tst_Payment : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsEveryField()
    {
        const Payment payment = Payment::fromJson(validPayment());
        QCOMPARE(payment.id, QStringLiteral("p1"));
        QCOMPARE(payment.amount, 150.0);
        QCOMPARE(payment.currency, QStringLiteral("RUB"));
        QCOMPARE(payment.paidAt, std::optional<QString>(QStringLiteral("2024-05-01T10:00:00Z")));
        QCOMPARE(payment.status, PaymentStatus::Received);
        QCOMPARE(payment.method, std::optional<QString>(QStringLiteral("card")));
        QCOMPARE(payment.note, std::optional<QString>(QStringLiteral("аванс")));
        QCOMPARE(payment.externalRef, std::optional<QString>(QStringLiteral("INV-7")));
        QCOMPARE(payment.projectId, QStringLiteral("proj-1"));
        QCOMPARE(payment.userId, QStringLiteral("u1"));
        QCOMPARE(payment.createdAt, QStringLiteral("2024-05-01T10:00:00Z"));
        QCOMPARE(payment.updatedAt, QStringLiteral("2024-05-02T10:00:00Z"));
    }

    void lenientAndOptionalFields_data()
    {
        QTest::addColumn<QJsonObject>("replaced");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<double>("amount");
        QTest::addColumn<std::optional<QString>>("paidAt");
        QTest::addColumn<std::optional<QString>>("note");
        QTest::addColumn<QString>("createdAt");
        const std::optional<QString> stamp = QStringLiteral("2024-05-01T10:00:00Z");
        const std::optional<QString> note = QStringLiteral("аванс");
        const QString created = *stamp;
        const QJsonValue null(QJsonValue::Null);

        QTest::newRow("amount as text with comma") << QJsonObject{{"amount", "150,5"}} << QStringList{} << 150.5
                                                   << stamp << note << created;
        QTest::newRow("paidAt null is no date") << QJsonObject{{"paidAt", null}} << QStringList{} << 150.0
                                                << std::optional<QString>() << note << created;
        QTest::newRow("paidAt missing is no date") << QJsonObject{} << QStringList{"paidAt"} << 150.0
                                                   << std::optional<QString>() << note << created;
        QTest::newRow("paidAt empty text is kept")
            << QJsonObject{{"paidAt", ""}} << QStringList{} << 150.0 << std::optional<QString>(QString()) << note
            << created;
        QTest::newRow("paidAt as seconds")
            << QJsonObject{{"paidAt", 0}} << QStringList{} << 150.0
            << std::optional<QString>(QStringLiteral("2001-01-01T00:00:00Z")) << note << created;
        QTest::newRow("note null") << QJsonObject{{"note", null}} << QStringList{} << 150.0 << stamp
                                   << std::optional<QString>() << created;
        QTest::newRow("note missing") << QJsonObject{} << QStringList{"note"} << 150.0 << stamp
                                      << std::optional<QString>() << created;
        QTest::newRow("createdAt as seconds before 2001")
            << QJsonObject{{"createdAt", -60}} << QStringList{} << 150.0 << stamp << note
            << QStringLiteral("2000-12-31T23:59:00Z");
        QTest::newRow("createdAt text that is no date")
            << QJsonObject{{"createdAt", "скоро"}} << QStringList{} << 150.0 << stamp << note << QStringLiteral("скоро");
    }
    void lenientAndOptionalFields()
    {
        QFETCH(QJsonObject, replaced);
        QFETCH(QStringList, removed);
        const Payment payment = Payment::fromJson(edited(validPayment(), replaced, removed));
        QTEST(payment.amount, "amount");
        QTEST(payment.paidAt, "paidAt");
        QTEST(payment.note, "note");
        QTEST(payment.createdAt, "createdAt");
    }

    void failures_data()
    {
        addEditedFailureColumns();
        const QJsonValue null(QJsonValue::Null);
        const QString amountText = QStringLiteral("Expected Double or numeric String for amount");

        QTest::newRow("id missing") << QJsonObject{} << QStringList{"id"} << Kind::KeyNotFound << "id" << "";
        QTest::newRow("id null") << QJsonObject{{"id", null}} << QStringList{} << Kind::ValueNotFound << "id" << "";
        QTest::newRow("id number") << QJsonObject{{"id", 1}} << QStringList{} << Kind::TypeMismatch << "id" << "";
        QTest::newRow("userId missing") << QJsonObject{} << QStringList{"userId"} << Kind::KeyNotFound << "userId" << "";
        QTest::newRow("amount missing") << QJsonObject{} << QStringList{"amount"} << Kind::DataCorrupted << "amount"
                                        << amountText;
        QTest::newRow("amount null") << QJsonObject{{"amount", null}} << QStringList{} << Kind::DataCorrupted
                                     << "amount" << amountText;
        QTest::newRow("amount with point and comma")
            << QJsonObject{{"amount", "1.500,25"}} << QStringList{} << Kind::DataCorrupted << "amount" << amountText;
        QTest::newRow("amount with currency word")
            << QJsonObject{{"amount", "150 RUB"}} << QStringList{} << Kind::DataCorrupted << "amount" << amountText;
        QTest::newRow("amount infinity word")
            << QJsonObject{{"amount", "Infinity"}} << QStringList{} << Kind::DataCorrupted << "amount" << amountText;
        QTest::newRow("paidAt true") << QJsonObject{{"paidAt", true}} << QStringList{} << Kind::DataCorrupted
                                     << "paidAt" << "Expected date string for paidAt";
        QTest::newRow("paidAt beyond year 9999")
            << QJsonObject{{"paidAt", 1e12}} << QStringList{} << Kind::DataCorrupted << "paidAt"
            << "Expected date string for paidAt";
        QTest::newRow("status capitalised") << QJsonObject{{"status", "Received"}} << QStringList{}
                                            << Kind::DataCorrupted << "status" << "";
        QTest::newRow("status unknown") << QJsonObject{{"status", "paid"}} << QStringList{} << Kind::DataCorrupted
                                        << "status" << "";
        QTest::newRow("status number") << QJsonObject{{"status", 1}} << QStringList{} << Kind::TypeMismatch
                                       << "status" << "";
        QTest::newRow("status missing") << QJsonObject{} << QStringList{"status"} << Kind::KeyNotFound << "status"
                                        << "";
        QTest::newRow("method number") << QJsonObject{{"method", 1}} << QStringList{} << Kind::TypeMismatch
                                       << "method" << "";
        QTest::newRow("note number") << QJsonObject{{"note", 1}} << QStringList{} << Kind::TypeMismatch << "note"
                                     << "";
        QTest::newRow("externalRef number") << QJsonObject{{"externalRef", 1}} << QStringList{}
                                            << Kind::TypeMismatch << "externalRef" << "";
        QTest::newRow("createdAt null") << QJsonObject{{"createdAt", null}} << QStringList{} << Kind::DataCorrupted
                                        << "createdAt" << "Expected date string for createdAt";
        QTest::newRow("updatedAt missing") << QJsonObject{} << QStringList{"updatedAt"} << Kind::DataCorrupted
                                           << "updatedAt" << "Expected date string for updatedAt";
        // Reading stops at the first failing key in field order.
        QTest::newRow("id before amount") << QJsonObject{{"id", 1}, {"amount", "x"}} << QStringList{}
                                          << Kind::TypeMismatch << "id" << "";
        QTest::newRow("amount before currency") << QJsonObject{{"amount", "x"}} << QStringList{"currency"}
                                                << Kind::DataCorrupted << "amount" << amountText;
        QTest::newRow("paidAt before status") << QJsonObject{{"paidAt", false}, {"status", "x"}} << QStringList{}
                                              << Kind::DataCorrupted << "paidAt" << "Expected date string for paidAt";
        QTest::newRow("status before createdAt") << QJsonObject{{"status", "x"}} << QStringList{"createdAt"}
                                                 << Kind::DataCorrupted << "status" << "";
        QTest::newRow("externalRef before projectId") << QJsonObject{{"externalRef", 2}} << QStringList{"projectId"}
                                                      << Kind::TypeMismatch << "externalRef" << "";
        QTest::newRow("createdAt before updatedAt") << QJsonObject{} << QStringList{"createdAt", "updatedAt"}
                                                    << Kind::DataCorrupted << "createdAt"
                                                    << "Expected date string for createdAt";
    }
    void failures() { checkEditedFailure<Payment>(validPayment()); }

    void listFailsAsAWhole()
    {
        QJsonArray list{validPayment(), edited(validPayment(), {{"amount", "сто"}}, {}), validPayment()};
        const auto failure = decodingFailure(
            [&] { JsonReader::readList<Payment>(list, QString(), &Payment::fromJson); });
        COMPARE_DECODING_FAILURE(failure, Kind::DataCorrupted, "[1].amount",
                                 "Expected Double or numeric String for amount");
    }

    void writesWhatItReads()
    {
        const Payment payment = Payment::fromJson(validPayment());
        QCOMPARE(Payment::fromJson(payment.toJson()), payment);

        const Payment bare = Payment::fromJson(edited(validPayment(), {}, {"paidAt", "method", "note", "externalRef"}));
        const QJsonObject written = bare.toJson();
        QCOMPARE(written.keys(), (QStringList{"amount", "createdAt", "currency", "id", "projectId", "status",
                                              "updatedAt", "userId"}));
        QCOMPARE(written.value("status"), QJsonValue("received"));
        QVERIFY(written.value("amount").isDouble());
        QCOMPARE(Payment::fromJson(written), bare);
    }

    void nonFiniteAmountIsNotWritten()
    {
        Payment payment = Payment::fromJson(validPayment());
        payment.amount = std::numeric_limits<double>::quiet_NaN();
        QVERIFY_THROWS_EXCEPTION(EncodingError, payment.toJson());
    }

    void equalityTakesEveryField()
    {
        const Payment payment = Payment::fromJson(validPayment());
        Payment copy = payment;
        QVERIFY(copy == payment);
        QCOMPARE(qHash(copy), qHash(payment));
        copy.amount = 150.01;
        QVERIFY(copy != payment);
        copy = payment;
        copy.note = QString();
        QVERIFY2(copy != payment, "an empty note is not an absent one");
        copy.note.reset();
        QVERIFY(copy != payment);
        copy = payment;
        copy.status = PaymentStatus::Cancelled;
        QVERIFY(copy != payment);
        copy = payment;
        Payment negativeZero = payment;
        copy.amount = 0.0;
        negativeZero.amount = -0.0;
        QVERIFY(copy == negativeZero);
        QCOMPARE(qHash(copy), qHash(negativeZero));
    }

    void statuses()
    {
        QStringList labels, raws;
        for (const PaymentStatus status : allPaymentStatuses) {
            labels << label(status);
            raws << rawValue(status);
            QCOMPARE(paymentStatusFromRaw(rawValue(status)), std::optional<PaymentStatus>(status));
        }
        QCOMPARE(labels, (QStringList{"Ожидается", "Получен", "Отменён"}));
        QCOMPARE(raws, (QStringList{"pending", "received", "cancelled"}));
        QVERIFY(!paymentStatusFromRaw(QStringLiteral("Received")));
        QVERIFY(!paymentStatusFromRaw(QStringLiteral(" received")));
    }

    void requestBodies_data()
    {
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<QByteArray>("expected");
        UpdatePaymentRequest statusOnly;
        statusOnly.status = PaymentStatus::Cancelled;
        QTest::newRow("status change alone") << statusOnly.toJson() << QByteArray(R"({"status":"cancelled"})");
        QTest::newRow("empty change") << UpdatePaymentRequest{}.toJson() << QByteArray("{}");
        CreatePaymentRequest amountOnly;
        amountOnly.amount = 100;
        QTest::newRow("new payment with amount alone") << amountOnly.toJson() << QByteArray(R"({"amount":100})");
        const CreatePaymentRequest full{250.5, QStringLiteral("EUR"), QStringLiteral("2024-05-01"),
                                        PaymentStatus::Pending, QStringLiteral("bank"), QString(),
                                        QStringLiteral("R-1")};
        QTest::newRow("new payment in full")
            << full.toJson()
            << QByteArray(R"({"amount":250.5,"currency":"EUR","externalRef":"R-1","method":"bank","note":"",)"
                          R"("paidAt":"2024-05-01","status":"pending"})");
    }
    void requestBodies()
    {
        QFETCH(QJsonObject, written);
        QFETCH(QByteArray, expected);
        QCOMPARE(Json::serialize(written), expected);
    }

    void nonFiniteRequestAmountsAreNotWritten()
    {
        CreatePaymentRequest create;
        create.amount = std::numeric_limits<double>::infinity();
        QVERIFY_THROWS_EXCEPTION(EncodingError, create.toJson());
        UpdatePaymentRequest update;
        update.amount = std::numeric_limits<double>::quiet_NaN();
        QVERIFY_THROWS_EXCEPTION(EncodingError, update.toJson());
    }
};

QTEST_GUILESS_MAIN(tst_Payment)
#include "tst_Payment.moc"
