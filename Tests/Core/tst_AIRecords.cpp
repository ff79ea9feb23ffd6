#include "DecodingCheck.h"
#include "Models/AIGenerateMode.h"
#include "Models/GenerateEstimateRequest.h"
#include "Models/GenerateEstimateResponse.h"
#include "Utils/EncodingError.h"

#include <QTest>
#include <limits>

using Kind = DecodingError::Kind;

class tst_AIRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modes()
    {
        QStringList raws, names;
        for (const AIGenerateMode mode : allAIGenerateModes) {
            raws << rawValue(mode);
            names << displayName(mode);
            QCOMPARE(aiGenerateModeFromRaw(rawValue(mode)), std::optional<AIGenerateMode>(mode));
        }
        QCOMPARE(raws, (QStringList{"detailed", "quick", "budget"}));
        QCOMPARE(names, (QStringList{"Детально", "Быстро", "Бюджет"}));
        QVERIFY(!aiGenerateModeFromRaw(QStringLiteral("Quick")));
        QVERIFY(!aiGenerateModeFromRaw(QString()));
    }

    void requestBodies_data()
    {
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<QByteArray>("expected");
        GenerateEstimateRequest request{.projectName = QStringLiteral("Сайт"),
                                        .requirements = QStringLiteral("Лендинг"),
                                        .mode = rawValue(AIGenerateMode::Quick)};
        QTest::newRow("required fields only")
            << request.toJson() << QStringLiteral(R"({"mode":"quick","projectName":"Сайт","requirements":"Лендинг"})").toUtf8();
        request.targetBudgetMax = 150000;
        request.defaultRate = 2500.5;
        request.deadline = QString();
        QTest::newRow("numbers as numbers, empty text kept")
            << request.toJson()
            << QStringLiteral(R"({"deadline":"","defaultRate":2500.5,"mode":"quick","projectName":"Сайт",)"
                              R"("requirements":"Лендинг","targetBudgetMax":150000})")
                   .toUtf8();
        request = {QStringLiteral("P"), QStringLiteral("R"), QStringLiteral("detailed"), QStringLiteral("ctx"),
                   QStringLiteral("id1"), QStringLiteral("client"), QStringLiteral("USD"), 10.0,
                   QStringLiteral("iterative"), QStringLiteral("in_progress"), 1.5, QStringLiteral("2024-12-31")};
        QTest::newRow("every field")
            << request.toJson()
            << QByteArray(R"({"additionalContext":"ctx","clientName":"client","currency":"USD","deadline":"2024-12-31",)"
                          R"("defaultRate":10,"mode":"detailed","projectId":"id1","projectName":"P",)"
                          R"("projectStatus":"in_progress","projectType":"iterative","requirements":"R",)"
                          R"("targetBudgetMax":1.5})");
    }
    void requestBodies()
    {
        QFETCH(QJsonObject, written);
        QFETCH(QByteArray, expected);
        QCOMPARE(Json::serialize(written), expected);
    }

    void nonFiniteRequestNumbersAreNotWritten()
    {
        GenerateEstimateRequest request{.projectName = QStringLiteral("P"), .requirements = QStringLiteral("R"),
                                        .mode = QStringLiteral("quick")};
        request.targetBudgetMax = std::numeric_limits<double>::infinity();
        QVERIFY_THROWS_EXCEPTION(EncodingError, request.toJson());
    }

    void answers()
    {
        QVERIFY(GenerateEstimateResponse::fromJson(parsedObject(R"({"items": []})")).items.isEmpty());
        const auto response = GenerateEstimateResponse::fromJson(parsedObject(R"({"items": [
            {"title": "Дизайн", "description": "Макеты", "category": "design", "hours": 12, "rate": 2500.5, "x": 1},
            {"title": "Вёрстка", "description": "", "category": "frontend", "hours": 0.5, "rate": 0}
        ], "model": "any"})"));
        QCOMPARE(response.items.size(), 2);
        QCOMPARE(response.items[0].title, QStringLiteral("Дизайн"));
        QCOMPARE(response.items[0].category, QStringLiteral("design"));
        QCOMPARE(response.items[0].hours, 12.0);
        QCOMPARE(response.items[0].rate, 2500.5);
        QCOMPARE(response.items[1].description, QString());
        QCOMPARE(response.items[1].hours, 0.5);
        const QJsonObject written = response.toJson();
        QCOMPARE(written.value("items").toArray().at(0).toObject().keys(),
                 (QStringList{"category", "description", "hours", "rate", "title"}));
        QCOMPARE(GenerateEstimateResponse::fromJson(written).toJson(), written);
    }

    void refusedAnswers_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<DecodingError::Kind>("kind");
        QTest::addColumn<QString>("path");
        const auto line = [](const char *changed) {
            return QByteArray(R"({"items": [{"title": "a", "description": "b", "category": "c", "hours": 1, "rate": 2},
                                           {"title": "a", "category": "c", "hours": 1, "rate": 2, )")
                   + changed + "}]}";
        };
        QTest::newRow("empty object") << QByteArray("{}") << Kind::KeyNotFound << "items";
        QTest::newRow("items null") << QByteArray(R"({"items": null})") << Kind::ValueNotFound << "items";
        QTest::newRow("items an object") << QByteArray(R"({"items": {}})") << Kind::TypeMismatch << "items";
        QTest::newRow("answer a list") << QByteArray("[]") << Kind::TypeMismatch << "";
        QTest::newRow("description null") << line(R"("description": null)") << Kind::ValueNotFound
                                          << "items[1].description";
        QTest::newRow("description missing") << line(R"("x": 0)") << Kind::KeyNotFound << "items[1].description";
        QTest::newRow("hours as text")
            << QByteArray(R"({"items": [{"title": "a", "description": "b", "category": "c", "hours": "1", "rate": 2}]})")
            << Kind::TypeMismatch << "items[0].hours";
        QTest::newRow("line not an object") << QByteArray(R"({"items": ["a"]})") << Kind::TypeMismatch << "items[0]";
    }
    void refusedAnswers()
    {
        QFETCH(QByteArray, json);
        QFETCH(DecodingError::Kind, kind);
        QFETCH(QString, path);
        const QJsonValue value = Json::parse(json);
        const auto failure = decodingFailure([&] { GenerateEstimateResponse::fromJson(value); });
        COMPARE_DECODING_FAILURE(failure, kind, path, "");
    }
};

QTEST_GUILESS_MAIN(tst_AIRecords)
#include "tst_AIRecords.moc"
