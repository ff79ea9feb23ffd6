#include "DecodingCheck.h"
#include "Models/Payment.h"

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

const QString amountText = QStringLiteral("Expected Double or numeric String for amount");
const QString paidAtText = QStringLiteral("Expected date string for paidAt");
const QString createdAtText = QStringLiteral("Expected date string for createdAt");

} // namespace

class tst_Payment : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Read leniently, written back as read: absent optionals left out, the amount as a number.
    void lenientAndOptionalFields_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // undefined: key removed
        QTest::addColumn<QJsonValue>("written"); // undefined: left out
        const QJsonValue absent(QJsonValue::Undefined);
        QTest::newRow("amount as text with comma") << "amount" << QJsonValue("150,5") << QJsonValue(150.5);
        QTest::newRow("paidAt null is no date") << "paidAt" << QJsonValue(QJsonValue::Null) << absent;
        QTest::newRow("paidAt missing is no date") << "paidAt" << absent << absent;
        QTest::newRow("paidAt empty text is kept") << "paidAt" << QJsonValue("") << QJsonValue("");
        QTest::newRow("paidAt as seconds") << "paidAt" << QJsonValue(0) << QJsonValue("2001-01-01T00:00:00Z");
        QTest::newRow("createdAt text that is no date") << "createdAt" << QJsonValue("скоро") << QJsonValue("скоро");
    }
    void lenientAndOptionalFields()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QJsonValue, written);
        const QJsonObject json =
            value.isUndefined() ? edited(validPayment(), {}, {key}) : edited(validPayment(), {{key, value}}, {});
        const Payment payment = Payment::fromJson(json);
        QCOMPARE(payment.toJson().value(key), written);
        QVERIFY(!payment.toJson().contains(QStringLiteral("extra")));
        QCOMPARE(Payment::fromJson(payment.toJson()), payment);
    }

    void failures_data()
    {
        addEditedFailureColumns();
        const QJsonValue null(QJsonValue::Null);

        QTest::newRow("paidAt true") << QJsonObject{{"paidAt", true}} << QStringList{} << Kind::DataCorrupted
                                     << "paidAt" << paidAtText;
        QTest::newRow("status capitalised")
            << QJsonObject{{"status", "Received"}} << QStringList{} << Kind::DataCorrupted << "status"
            << "";
        // Reading stops at the first failing key in field order.
        QTest::newRow("id before amount")
            << QJsonObject{{"id", 1}, {"amount", "x"}} << QStringList{} << Kind::TypeMismatch << "id"
            << "";
        QTest::newRow("amount before currency")
            << QJsonObject{{"amount", "x"}} << QStringList{"currency"} << Kind::DataCorrupted << "amount" << amountText;
        QTest::newRow("paidAt before status") << QJsonObject{{"paidAt", false}, {"status", "x"}} << QStringList{}
                                              << Kind::DataCorrupted << "paidAt" << paidAtText;
        QTest::newRow("status before createdAt")
            << QJsonObject{{"status", "x"}} << QStringList{"createdAt"} << Kind::DataCorrupted << "status"
            << "";
        QTest::newRow("externalRef before projectId")
            << QJsonObject{{"externalRef", 2}} << QStringList{"projectId"} << Kind::TypeMismatch << "externalRef"
            << "";
        QTest::newRow("createdAt before updatedAt") << QJsonObject{} << QStringList{"createdAt", "updatedAt"}
                                                    << Kind::DataCorrupted << "createdAt" << createdAtText;
    }
    void failures() { checkEditedFailure<Payment>(validPayment()); }
};

QTEST_GUILESS_MAIN(tst_Payment)
#include "tst_Payment.moc"
