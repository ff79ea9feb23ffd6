#include "Models/EstimateCategory.h"
#include "Models/EstimateTemplate.h"
#include "Utils/Json.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

class tst_EstimateTemplate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readTemplateList_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("ok");
        const QByteArray line = R"({"title":"Макет","category":"design","hours":8,"rate":0,"isLocked":false})";
        QTest::newRow("minimal") << (R"([{"id":"t","name":"Сайт","defaultRate":2000,"items":[)" + line + "]}]")
                                 << true;
        QTest::newRow("sphereId null") << QByteArray(R"([{"id":"t","sphereId":null,"name":"Сайт","defaultRate":2000,"items":[]}])")
                                       << true;
        QTest::newRow("line description null")
            << QByteArray(R"([{"id":"t","name":"Сайт","defaultRate":1,"items":[{"title":"a","description":null,)"
                          R"("category":"qa","hours":1,"rate":1,"isLocked":true}]}])")
            << true;
        QTest::newRow("line without isLocked fails the list")
            << QByteArray(R"([{"id":"ok","name":"a","defaultRate":1,"items":[]},)"
                          R"({"id":"t","name":"Сайт","defaultRate":1,"items":[{"title":"a",)"
                          R"("category":"qa","hours":1,"rate":1}]}])")
            << false;
        QTest::newRow("defaultRate as text") << QByteArray(R"([{"id":"t","name":"Сайт","defaultRate":"2000","items":[]}])")
                                             << false;
        QTest::newRow("isLocked as number")
            << QByteArray(R"([{"id":"t","name":"a","defaultRate":1,"items":[{"title":"a","category":"qa",)"
                          R"("hours":1,"rate":1,"isLocked":0}]}])")
            << false;
        QTest::newRow("items missing") << QByteArray(R"([{"id":"t","name":"Сайт","defaultRate":1}])") << false;
        QTest::newRow("not a list") << QByteArray(R"({"id":"t","name":"Сайт","defaultRate":1,"items":[]})") << false;
    }
    void readTemplateList()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, ok);
        if (!ok) {
            QVERIFY_THROWS_EXCEPTION(DecodingError, EstimateTemplate::listFromJson(Json::parse(json)));
            return;
        }
        const QList<EstimateTemplate> list = EstimateTemplate::listFromJson(Json::parse(json));
        QCOMPARE(list.size(), 1);
        const EstimateTemplate &t = list.first();
        QVERIFY(!t.sphereId);
        QVERIFY(!t.description);
        // Absent optionals are left out, never written as null.
        const QJsonArray written = EstimateTemplate::listToJson(list);
        const QJsonObject object = written.at(0).toObject();
        QVERIFY(!object.contains(QStringLiteral("sphereId")));
        QVERIFY(!object.contains(QStringLiteral("description")));
        for (const QJsonValue &item : object.value(QStringLiteral("items")).toArray())
            QVERIFY(!item.toObject().contains(QStringLiteral("description")));
        QCOMPARE(EstimateTemplate::listFromJson(written), list);
    }

    void integerLiteralReadsAsDouble()
    {
        const auto item = EstimateTemplateItem::fromJson(
            Json::parse(R"({"title":"a","category":"qa","hours":12,"rate":1500,"isLocked":true})"));
        QCOMPARE(item.hours, 12.0);
        QCOMPARE(item.rate, 1500.0);
    }

    void legacyCategories_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("known");
        for (const char *raw : {"backend", "frontend", "mobile", "design", "devops", "management", "qa", "analytics"})
            QTest::newRow(raw) << QString::fromLatin1(raw) << true;
        QTest::newRow("capitalised") << "Backend" << false;
        QTest::newRow("leading blank") << " backend" << false;
        QTest::newRow("trailing blank") << "backend " << false;
        QTest::newRow("empty") << "" << false;
    }
    void legacyCategories()
    {
        QFETCH(QString, raw);
        QFETCH(bool, known);
        const auto category = estimateCategoryFromRaw(raw);
        QCOMPARE(category.has_value(), known);
        if (category)
            QCOMPARE(rawValue(*category), raw);
    }
};

QTEST_GUILESS_MAIN(tst_EstimateTemplate)
#include "tst_EstimateTemplate.moc"
