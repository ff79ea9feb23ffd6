#include "DecodingCheck.h"
#include "Utils/JsonArrayElements.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonStreamWriter.h"

#include <limits>

using Kind = DecodingError::Kind;

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
        QTest::newRow("two values") << QByteArray("1,2") << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("closing bracket smuggled") << QByteArray("1],[2") << false;
    }
    void parseTopLevel()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QCOMPARE(!decodingFailure([&] { Json::parse(bytes); }), ok);
    }

    // Whole numbers only, within 64 bits; anything else is refused rather than cut.
    void integers_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<qint64>>("value"); // absent: refused
        QTest::newRow("negative") << QByteArray("{\"v\":-7}") << std::optional<qint64>(-7);
        QTest::newRow("int64 max") << QByteArray("{\"v\":9223372036854775807}")
                                   << std::optional<qint64>(std::numeric_limits<qint64>::max());
        QTest::newRow("exponent whole") << QByteArray("{\"v\":1e3}") << std::optional<qint64>(1000);
        QTest::newRow("fraction") << QByteArray("{\"v\":1.5}") << std::optional<qint64>();
        QTest::newRow("too big") << QByteArray("{\"v\":1e30}") << std::optional<qint64>();
        QTest::newRow("text") << QByteArray("{\"v\":\"3\"}") << std::optional<qint64>();
    }
    void integers()
    {
        QFETCH(QByteArray, json);
        QFETCH(std::optional<qint64>, value);
        std::optional<qint64> read;
        decodingFailure([&] { read = JsonReader(Json::parse(json)).requiredInt(QStringLiteral("v")); });
        QCOMPARE(read, value);
    }

    // The stream writer spells texts and numbers exactly as Qt's JSON writer does, so the device
    // store's bytes stay the same whichever writer made them.
    void streamWriterMatchesQt_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::newRow("ascii") << QJsonValue(QStringLiteral("plain text / with slash"));
        QTest::newRow("quotes and backslash") << QJsonValue(QStringLiteral("say \"hi\" \\ there"));
        QTest::newRow("controls") << QJsonValue(QString::fromUtf16(u"\b\f\n\r\t\u0001\u001f\u007f end"));
        QTest::newRow("cyrillic") << QJsonValue(QStringLiteral("Интернет-магазин «Клиент»"));
        QTest::newRow("three-byte") << QJsonValue(QString::fromUtf16(u"₽ — \u2028 \uffff"));
        QTest::newRow("pair") << QJsonValue(QString::fromUtf16(u"emoji 😀 end"));
        QTest::newRow("lone high half") << QJsonValue(QString(QChar(0xd83d)) + QStringLiteral("x"));
        QTest::newRow("lone low half at end") << QJsonValue(QStringLiteral("x") + QChar(0xde00));
        QTest::newRow("empty") << QJsonValue(QString());
        QTest::newRow("zero") << QJsonValue(0.0);
        QTest::newRow("negative zero") << QJsonValue(-0.0);
        QTest::newRow("whole") << QJsonValue(3000.0);
        QTest::newRow("negative whole") << QJsonValue(-42.0);
        QTest::newRow("fraction") << QJsonValue(4.5);
        QTest::newRow("tenth") << QJsonValue(0.1);
        QTest::newRow("cents") << QJsonValue(2.68);
        QTest::newRow("small") << QJsonValue(1e-7);
        QTest::newRow("2^53 - 1") << QJsonValue(9007199254740991.0);
        QTest::newRow("-2^53") << QJsonValue(-9007199254740992.0);
        QTest::newRow("2^53 + 2") << QJsonValue(9007199254740994.0);
        QTest::newRow("1e20") << QJsonValue(1e20);
        QTest::newRow("1e21") << QJsonValue(1e21);
        QTest::newRow("2^63") << QJsonValue(9223372036854775808.0);
        QTest::newRow("-2^63") << QJsonValue(-9223372036854775808.0);
        QTest::newRow("huge") << QJsonValue(1e300);
        QTest::newRow("tiniest") << QJsonValue(5e-324);
        QTest::newRow("long fraction") << QJsonValue(123456.789012345);
    }
    void streamWriterMatchesQt()
    {
        QFETCH(QJsonValue, value);
        QByteArray streamed;
        JsonStreamWriter writer(streamed);
        if (value.isString())
            writer.set(QLatin1StringView("v"), value.toString());
        else
            writer.set(QLatin1StringView("v"), value.toDouble());
        writer.finish();
        QCOMPARE(streamed, Json::serialize(QJsonObject{{QStringLiteral("v"), value}}));
    }

    // An array's elements by their texts, each as it stands between its commas; none for a text
    // that is not one array. The elements' own validity is left to whoever reads them.
    void arrayElements_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("isArray");
        QTest::addColumn<QByteArrayList>("elements");
        QTest::newRow("empty array") << QByteArray(" [ ]\n") << true << QByteArrayList{};
        QTest::newRow("values of every kind")
            << QByteArray("[1, \"a,]\" ,{\"b\":[1,{\"c\":\"}\"}]},[3] , null,true,-2.5e3]") << true
            << QByteArrayList{"1", "\"a,]\"", "{\"b\":[1,{\"c\":\"}\"}]}", "[3]", "null", "true", "-2.5e3"};
        QTest::newRow("escaped quotes and backslashes")
            << QByteArray("[{\"n\":\"say \\\"hi\\\", ok\"},\"\\\\\",{\"m\":\"\\\\\\\"\"}]") << true
            << QByteArrayList{"{\"n\":\"say \\\"hi\\\", ok\"}", "\"\\\\\"", "{\"m\":\"\\\\\\\"\"}"};
        QTest::newRow("brackets inside strings")
            << QByteArray("[{\"a\":\"][\"},\"{\"]") << true << QByteArrayList{"{\"a\":\"][\"}", "\"{\""};
        QTest::newRow("an element left invalid") << QByteArray("[{x}, tru]") << true << QByteArrayList{"{x}", "tru"};
        QTest::newRow("object") << QByteArray("{\"a\":1}") << false << QByteArrayList{};
        QTest::newRow("nothing") << QByteArray("  ") << false << QByteArrayList{};
        QTest::newRow("trailing comma") << QByteArray("[1,]") << false << QByteArrayList{};
        QTest::newRow("leading comma") << QByteArray("[,1]") << false << QByteArrayList{};
        QTest::newRow("missing comma") << QByteArray("[1 2]") << false << QByteArrayList{};
        QTest::newRow("text after the array") << QByteArray("[1],[2]") << false << QByteArrayList{};
        QTest::newRow("unclosed array") << QByteArray("[1, 2") << false << QByteArrayList{};
        QTest::newRow("unclosed object") << QByteArray("[{\"a\":1]") << false << QByteArrayList{};
        QTest::newRow("unclosed string") << QByteArray("[\"a]") << false << QByteArrayList{};
        QTest::newRow("stray closing brace") << QByteArray("[1}]") << false << QByteArrayList{};
    }
    void arrayElements()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, isArray);
        QFETCH(QByteArrayList, elements);
        const std::optional<QList<QByteArrayView>> found = JsonArrayElements::split(text);
        QCOMPARE(found.has_value(), isArray);
        if (!found)
            return;
        QByteArrayList texts;
        for (QByteArrayView element : *found)
            texts.append(element.toByteArray());
        QCOMPARE(texts, elements);
    }

    // Absent and null read alike for optionals; required keys tell the two apart.
    void absentNullAndKind()
    {
        const JsonReader reader(Json::parse(R"({"a":null,"b":"x","n":1})"));
        QVERIFY(!reader.optionalString(QStringLiteral("a")));
        QVERIFY(!reader.optionalString(QStringLiteral("missing")));
        QCOMPARE(*reader.optionalString(QStringLiteral("b")), QStringLiteral("x"));
        auto failure = decodingFailure([&] { reader.optionalString(QStringLiteral("n")); });
        COMPARE_DECODING_FAILURE(failure, Kind::TypeMismatch, "n", "");
        failure = decodingFailure([&] { reader.requiredString(QStringLiteral("a")); });
        COMPARE_DECODING_FAILURE(failure, Kind::ValueNotFound, "a", "");
        failure = decodingFailure([&] { reader.requiredString(QStringLiteral("missing")); });
        COMPARE_DECODING_FAILURE(failure, Kind::KeyNotFound, "missing", "");
    }
};

QTEST_GUILESS_MAIN(tst_Json)
#include "tst_Json.moc"
