#include "DecodingCheck.h"
#include "Models/EstimateAnalytics.h"

#include <QTest>

using Kind = DecodingError::Kind;

namespace {

QJsonObject validAnalytics()
{
    return parsedObject(R"({
        "projectId": "proj-1", "currency": "RUB",
        "planned": {"totalHours": 40, "totalCost": 100000},
        "paid": {"receivedTotal": "25000,5"},
        "lastAiSnapshot": {"id": "s1", "createdAt": "2024-05-01T10:00:00Z", "mode": "quick",
                           "totalHours": "38", "totalCost": 95000, "requirementsPreview": "Лендинг"},
        "deltaFromAi": {"hours": 2, "cost": 5000},
        "unknown": 1
    })");
}

} // namespace

class tst_EstimateAnalytics : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Figures and dates are read leniently; absent nested records are left out when written.
    void nestedRecords_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QJsonValue>("written"); // undefined: left out
        const QJsonValue null(QJsonValue::Null);
        const QJsonValue undefined(QJsonValue::Undefined);
        QTest::newRow("planned hours with decimal comma")
            << "planned" << QJsonValue(parsedObject(R"({"totalHours": "12,5", "totalCost": 1000})"))
            << QJsonValue(parsedObject(R"({"totalHours": 12.5, "totalCost": 1000})"));
        QTest::newRow("snapshot null") << "lastAiSnapshot" << null << undefined;
        QTest::newRow("snapshot date as seconds, texts absent")
            << "lastAiSnapshot"
            << QJsonValue(parsedObject(R"({"id": "s", "createdAt": 0, "totalHours": 1, "totalCost": 2})"))
            << QJsonValue(parsedObject(
                   R"({"id": "s", "createdAt": "2001-01-01T00:00:00Z", "totalHours": 1, "totalCost": 2})"));
        QTest::newRow("delta as texts") << "deltaFromAi"
                                        << QJsonValue(parsedObject(R"({"hours": "-3", "cost": "-150,5"})"))
                                        << QJsonValue(parsedObject(R"({"hours": -3, "cost": -150.5})"));
        QTest::newRow("delta null") << "deltaFromAi" << null << undefined;
    }
    void nestedRecords()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QJsonValue, written);
        const QJsonObject json = EstimateAnalytics::fromJson(edited(validAnalytics(), {{key, value}}, {})).toJson();
        QCOMPARE(json.value(key), written);
    }

    void failures_data()
    {
        addEditedFailureColumns();
        const QJsonValue null(QJsonValue::Null);
        const auto numberText = [](const char *key) {
            return QStringLiteral("Expected Double or numeric String for ") + QLatin1String(key);
        };

        QTest::newRow("paid missing") << QJsonObject{} << QStringList{"paid"} << Kind::KeyNotFound << "paid"
                                      << "";
        QTest::newRow("planned hours before cost")
            << QJsonObject{{"planned", QJsonObject{{"totalHours", "x"}, {"totalCost", "y"}}}} << QStringList{}
            << Kind::DataCorrupted << "planned.totalHours" << numberText("totalHours");
        QTest::newRow("snapshot empty") << QJsonObject{{"lastAiSnapshot", QJsonObject{}}} << QStringList{}
                                        << Kind::KeyNotFound << "lastAiSnapshot.id"
                                        << "";
        // Outer order: planned before paid, paid before the snapshot, the snapshot before the delta.
        QTest::newRow("planned before paid") << QJsonObject{{"planned", QJsonObject{}}} << QStringList{"paid"}
                                             << Kind::DataCorrupted << "planned.totalHours" << numberText("totalHours");
        QTest::newRow("paid before snapshot")
            << QJsonObject{{"paid", QJsonObject{}}, {"lastAiSnapshot", QJsonObject{}}} << QStringList{}
            << Kind::DataCorrupted << "paid.receivedTotal" << numberText("receivedTotal");
        QTest::newRow("snapshot before delta")
            << QJsonObject{{"lastAiSnapshot", QJsonObject{}}, {"deltaFromAi", QJsonObject{}}} << QStringList{}
            << Kind::KeyNotFound << "lastAiSnapshot.id"
            << "";
    }
    void failures() { checkEditedFailure<EstimateAnalytics>(validAnalytics()); }

    void writing()
    {
        const EstimateAnalytics full = EstimateAnalytics::fromJson(validAnalytics());
        const QJsonObject written = full.toJson();
        QCOMPARE(written.value("paid").toObject().value("receivedTotal"), QJsonValue(25000.5));
        QCOMPARE(written.value("lastAiSnapshot").toObject().value("totalHours"), QJsonValue(38));
        QCOMPARE(EstimateAnalytics::fromJson(written).toJson(), written);
    }
};

QTEST_GUILESS_MAIN(tst_EstimateAnalytics)
#include "tst_EstimateAnalytics.moc"
