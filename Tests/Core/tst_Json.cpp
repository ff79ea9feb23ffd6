#include "DecodingCheck.h"
#include "Utils/JsonReader.h"

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
