#include "Utils/Json.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

#include <QTest>
#include <limits>

class tst_Json : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parseTopLevel_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::newRow("bare null") << QByteArray("null") << true;
        QTest::newRow("bare number") << QByteArray(" 12.5 ") << true;
        QTest::newRow("bare string") << QByteArray("\"x\"") << true;
        QTest::newRow("object") << QByteArray("{\"a\":1}") << true;
        QTest::newRow("two values") << QByteArray("1,2") << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("html") << QByteArray("<html></html>") << false;
        QTest::newRow("closing bracket smuggled") << QByteArray("1],[2") << false;
    }
    void parseTopLevel()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        bool parsed = true;
        try {
            Json::parse(bytes);
        } catch (const DecodingError &) {
            parsed = false;
        }
        QCOMPARE(parsed, ok);
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("value");
        QTest::newRow("whole") << QByteArray("{\"v\":3}") << true << qint64(3);
        QTest::newRow("negative") << QByteArray("{\"v\":-7}") << true << qint64(-7);
        QTest::newRow("int64 max") << QByteArray("{\"v\":9223372036854775807}") << true
                                   << std::numeric_limits<qint64>::max();
        QTest::newRow("exponent whole") << QByteArray("{\"v\":1e3}") << true << qint64(1000);
        QTest::newRow("fraction") << QByteArray("{\"v\":1.5}") << false << qint64(0);
        QTest::newRow("too big") << QByteArray("{\"v\":1e30}") << false << qint64(0);
        QTest::newRow("text") << QByteArray("{\"v\":\"3\"}") << false << qint64(0);
    }
    void integers()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, ok);
        QFETCH(qint64, value);
        try {
            const qint64 v = JsonReader(Json::parse(json)).requiredInt(QStringLiteral("v"));
            QVERIFY(ok);
            QCOMPARE(v, value);
        } catch (const DecodingError &) {
            QVERIFY(!ok);
        }
    }

    void nonFiniteNumbersFailToEncode_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("inf") << std::numeric_limits<double>::infinity();
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    }
    void nonFiniteNumbersFailToEncode()
    {
        QFETCH(double, value);
        JsonWriter writer(QStringLiteral("items[0]"));
        QVERIFY_THROWS_EXCEPTION(EncodingError, writer.set(QStringLiteral("hours"), value));
        try {
            writer.set(QStringLiteral("hours"), value);
        } catch (const EncodingError &error) {
            QCOMPARE(error.codingPath(), QStringLiteral("items[0].hours"));
        }
    }

    void absentAndNullReadAlike()
    {
        const JsonReader reader(Json::parse(R"({"a":null,"b":"x","n":1})"));
        QVERIFY(!reader.optionalString(QStringLiteral("a")));
        QVERIFY(!reader.optionalString(QStringLiteral("missing")));
        QCOMPARE(*reader.optionalString(QStringLiteral("b")), QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(DecodingError, reader.optionalString(QStringLiteral("n")));
        try {
            reader.requiredString(QStringLiteral("a"));
            QFAIL("null must not read as a required text");
        } catch (const DecodingError &error) {
            QCOMPARE(error.kind(), DecodingError::Kind::ValueNotFound);
        }
        try {
            reader.requiredString(QStringLiteral("missing"));
            QFAIL("missing key must fail");
        } catch (const DecodingError &error) {
            QCOMPARE(error.kind(), DecodingError::Kind::KeyNotFound);
            QCOMPARE(error.codingPath(), QStringLiteral("missing"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Json)
#include "tst_Json.moc"
