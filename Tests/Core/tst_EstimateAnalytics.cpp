#include "DecodingCheck.h"
#include "Models/EstimateAnalytics.h"
#include "Utils/EncodingError.h"

#include <QTest>
#include <limits>

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
    void readsEveryFigure()
    {
        const EstimateAnalytics analytics = EstimateAnalytics::fromJson(validAnalytics());
        QCOMPARE(analytics.projectId, QStringLiteral("proj-1"));
        QCOMPARE(analytics.currency, QStringLiteral("RUB"));
        QCOMPARE(analytics.planned.totalHours, 40.0);
        QCOMPARE(analytics.planned.totalCost, 100000.0);
        QCOMPARE(analytics.paid.receivedTotal, 25000.5);
        QVERIFY(analytics.lastAiSnapshot);
        QCOMPARE(analytics.lastAiSnapshot->id, QStringLiteral("s1"));
        QCOMPARE(analytics.lastAiSnapshot->createdAt, QStringLiteral("2024-05-01T10:00:00Z"));
        QCOMPARE(analytics.lastAiSnapshot->mode, std::optional<QString>(QStringLiteral("quick")));
        QCOMPARE(analytics.lastAiSnapshot->totalHours, 38.0);
        QCOMPARE(analytics.lastAiSnapshot->totalCost, 95000.0);
        QCOMPARE(analytics.lastAiSnapshot->requirementsPreview, std::optional<QString>(QStringLiteral("Лендинг")));
        QVERIFY(analytics.deltaFromAi);
        QCOMPARE(analytics.deltaFromAi->hours, 2.0);
        QCOMPARE(analytics.deltaFromAi->cost, 5000.0);
    }

    void nestedRecords_data()
    {
        QTest::addColumn<QJsonObject>("replaced");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<double>("plannedHours");
        QTest::addColumn<bool>("hasSnapshot");
        QTest::addColumn<QString>("snapshotCreatedAt");
        QTest::addColumn<bool>("snapshotHasTexts");
        QTest::addColumn<bool>("hasDelta");
        QTest::addColumn<double>("deltaCost");
        const QJsonValue null(QJsonValue::Null);
        const QString created = QStringLiteral("2024-05-01T10:00:00Z");

        QTest::newRow("planned hours with decimal comma")
            << QJsonObject{{"planned", QJsonObject{{"totalHours", "12,5"}, {"totalCost", 1000}}}} << QStringList{}
            << 12.5 << true << created << true << true << 5000.0;
        QTest::newRow("snapshot missing") << QJsonObject{} << QStringList{"lastAiSnapshot"} << 40.0 << false
                                          << QString() << false << true << 5000.0;
        QTest::newRow("snapshot null") << QJsonObject{{"lastAiSnapshot", null}} << QStringList{} << 40.0 << false
                                       << QString() << false << true << 5000.0;
        QTest::newRow("snapshot date as seconds, texts absent")
            << QJsonObject{{"lastAiSnapshot",
                            QJsonObject{{"id", "s"}, {"createdAt", 0}, {"totalHours", 1}, {"totalCost", 2}}}}
            << QStringList{} << 40.0 << true << QStringLiteral("2001-01-01T00:00:00Z") << false << true << 5000.0;
        QTest::newRow("snapshot texts null")
            << QJsonObject{{"lastAiSnapshot",
                            QJsonObject{{"id", "s"}, {"createdAt", "вчера"}, {"mode", null}, {"totalHours", 1},
                                        {"totalCost", 2}, {"requirementsPreview", null}}}}
            << QStringList{} << 40.0 << true << QStringLiteral("вчера") << false << true << 5000.0;
        QTest::newRow("delta as texts")
            << QJsonObject{{"deltaFromAi", QJsonObject{{"hours", "-3"}, {"cost", "-150,5"}}}} << QStringList{}
            << 40.0 << true << created << true << true << -150.5;
        QTest::newRow("delta null") << QJsonObject{{"deltaFromAi", null}} << QStringList{} << 40.0 << true << created
                                    << true << false << 0.0;
    }
    void nestedRecords()
    {
        QFETCH(QJsonObject, replaced);
        QFETCH(QStringList, removed);
        const EstimateAnalytics analytics = EstimateAnalytics::fromJson(edited(validAnalytics(), replaced, removed));
        QTEST(analytics.planned.totalHours, "plannedHours");
        QTEST(analytics.lastAiSnapshot.has_value(), "hasSnapshot");
        if (analytics.lastAiSnapshot) {
            QTEST(analytics.lastAiSnapshot->createdAt, "snapshotCreatedAt");
            QTEST(analytics.lastAiSnapshot->mode.has_value(), "snapshotHasTexts");
            QTEST(analytics.lastAiSnapshot->requirementsPreview.has_value(), "snapshotHasTexts");
        }
        QTEST(analytics.deltaFromAi.has_value(), "hasDelta");
        if (analytics.deltaFromAi)
            QTEST(analytics.deltaFromAi->cost, "deltaCost");
    }

    void failures_data()
    {
        addEditedFailureColumns();
        const QJsonValue null(QJsonValue::Null);
        const auto numberText = [](const char *key) {
            return QStringLiteral("Expected Double or numeric String for ") + QLatin1String(key);
        };

        QTest::newRow("projectId number") << QJsonObject{{"projectId", 7}} << QStringList{} << Kind::TypeMismatch
                                          << "projectId" << "";
        QTest::newRow("currency null") << QJsonObject{{"currency", null}} << QStringList{} << Kind::ValueNotFound
                                       << "currency" << "";
        QTest::newRow("paid missing") << QJsonObject{} << QStringList{"paid"} << Kind::KeyNotFound << "paid" << "";
        QTest::newRow("paid null") << QJsonObject{{"paid", null}} << QStringList{} << Kind::ValueNotFound << "paid"
                                   << "";
        QTest::newRow("paid a number") << QJsonObject{{"paid", 5}} << QStringList{} << Kind::TypeMismatch << "paid"
                                       << "";
        QTest::newRow("paid empty") << QJsonObject{{"paid", QJsonObject{}}} << QStringList{} << Kind::DataCorrupted
                                    << "paid.receivedTotal" << numberText("receivedTotal");
        QTest::newRow("planned cost null")
            << QJsonObject{{"planned", QJsonObject{{"totalHours", 1}, {"totalCost", null}}}} << QStringList{}
            << Kind::DataCorrupted << "planned.totalCost" << numberText("totalCost");
        QTest::newRow("planned hours before cost")
            << QJsonObject{{"planned", QJsonObject{{"totalHours", "x"}, {"totalCost", "y"}}}} << QStringList{}
            << Kind::DataCorrupted << "planned.totalHours" << numberText("totalHours");
        QTest::newRow("snapshot empty") << QJsonObject{{"lastAiSnapshot", QJsonObject{}}} << QStringList{}
                                        << Kind::KeyNotFound << "lastAiSnapshot.id" << "";
        QTest::newRow("snapshot id before cost")
            << QJsonObject{{"lastAiSnapshot", QJsonObject{{"id", 1}, {"createdAt", "d"}, {"totalHours", 1},
                                                           {"totalCost", "много"}}}}
            << QStringList{} << Kind::TypeMismatch << "lastAiSnapshot.id" << "";
        QTest::newRow("snapshot date null")
            << QJsonObject{{"lastAiSnapshot", QJsonObject{{"id", "s"}, {"createdAt", null}, {"totalHours", 1},
                                                           {"totalCost", 2}}}}
            << QStringList{} << Kind::DataCorrupted << "lastAiSnapshot.createdAt"
            << "Expected date string for createdAt";
        QTest::newRow("snapshot mode number")
            << QJsonObject{{"lastAiSnapshot", QJsonObject{{"id", "s"}, {"createdAt", "d"}, {"mode", 1},
                                                           {"totalHours", 1}, {"totalCost", 2}}}}
            << QStringList{} << Kind::TypeMismatch << "lastAiSnapshot.mode" << "";
        QTest::newRow("delta without cost") << QJsonObject{{"deltaFromAi", QJsonObject{{"hours", 1}}}}
                                            << QStringList{} << Kind::DataCorrupted << "deltaFromAi.cost"
                                            << numberText("cost");
        QTest::newRow("delta nan word") << QJsonObject{{"deltaFromAi", QJsonObject{{"hours", "nan"}, {"cost", 1}}}}
                                        << QStringList{} << Kind::DataCorrupted << "deltaFromAi.hours"
                                        << numberText("hours");
        // Outer order: planned before paid, paid before the snapshot, the snapshot before the delta.
        QTest::newRow("planned before paid")
            << QJsonObject{{"planned", QJsonObject{}}} << QStringList{"paid"} << Kind::DataCorrupted
            << "planned.totalHours" << numberText("totalHours");
        QTest::newRow("paid before snapshot")
            << QJsonObject{{"paid", QJsonObject{}}, {"lastAiSnapshot", QJsonObject{}}} << QStringList{}
            << Kind::DataCorrupted << "paid.receivedTotal" << numberText("receivedTotal");
        QTest::newRow("snapshot before delta")
            << QJsonObject{{"lastAiSnapshot", QJsonObject{}}, {"deltaFromAi", QJsonObject{}}} << QStringList{}
            << Kind::KeyNotFound << "lastAiSnapshot.id" << "";
    }
    void failures() { checkEditedFailure<EstimateAnalytics>(validAnalytics()); }

    void writing()
    {
        const EstimateAnalytics full = EstimateAnalytics::fromJson(validAnalytics());
        const QJsonObject written = full.toJson();
        QCOMPARE(written.value("paid").toObject().value("receivedTotal"), QJsonValue(25000.5));
        QCOMPARE(written.value("lastAiSnapshot").toObject().value("totalHours"), QJsonValue(38));
        QCOMPARE(EstimateAnalytics::fromJson(written).toJson(), written);

        EstimateAnalytics bare = full;
        bare.lastAiSnapshot.reset();
        bare.deltaFromAi.reset();
        QCOMPARE(bare.toJson().keys(), (QStringList{"currency", "paid", "planned", "projectId"}));
        const auto snapshot = EstimateAnalytics::AiSnapshotSummary{"s", "d", std::nullopt, 1, 2, std::nullopt};
        QCOMPARE(snapshot.toJson().keys(), (QStringList{"createdAt", "id", "totalCost", "totalHours"}));

        bare.deltaFromAi = EstimateAnalytics::DeltaTotals{1, std::numeric_limits<double>::infinity()};
        try {
            bare.toJson();
            QFAIL("an infinite figure must not be written");
        } catch (const EncodingError &error) {
            QCOMPARE(error.codingPath(), QStringLiteral("deltaFromAi.cost"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_EstimateAnalytics)
#include "tst_EstimateAnalytics.moc"
