#include "DecodingCheck.h"
#include "Utils/APIDecoding.h"
#include "Utils/JsonReader.h"

#include <clocale>
#include <limits>

namespace {
constexpr double inf = std::numeric_limits<double>::infinity();
const QJsonValue missing(QJsonValue::Undefined);

QJsonValue text(const char *s)
{
    return QJsonValue(QString::fromUtf8(s));
}

// The value under `key` in an object read at `path`; an undefined value leaves the key out.
JsonReader readerWith(const QString &key, const QJsonValue &value, const QString &path)
{
    QJsonObject object;
    if (!value.isUndefined())
        object.insert(key, value);
    return JsonReader(object, path);
}
} // namespace

class tst_APIDecoding : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numbers_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<std::optional<double>>("expected"); // absent: refused
        const std::optional<double> refused;
        QTest::newRow("json fraction") << QJsonValue(0.1) << std::optional(0.1);
        QTest::newRow("decimal comma") << text("150,5") << std::optional(150.5);
        QTest::newRow("plus sign") << text("+5") << std::optional(5.0);
        QTest::newRow("comma is never thousands") << text("1,000") << std::optional(1.0);
        QTest::newRow("leading comma") << text(",5") << std::optional(0.5);
        QTest::newRow("hexadecimal form") << text("0x1p3") << std::optional(8.0);
        QTest::newRow("underflow reads as zero") << text("1e-400") << std::optional(0.0);

        QTest::newRow("comma and point") << text("1.500,25") << refused;
        QTest::newRow("empty") << text("") << refused;
        QTest::newRow("space before") << text(" 150") << refused;
        QTest::newRow("line feed before") << text("\n150") << refused;
        QTest::newRow("space after") << text("150 ") << refused;
        QTest::newRow("no-break space inside") << text("1\u00a0500") << refused;
        QTest::newRow("embedded nul") << QJsonValue(QString(QStringLiteral("5") + QChar(0))) << refused;
        QTest::newRow("-inf") << text("-inf") << refused;
        QTest::newRow("NaN with payload") << text("nan(123)") << refused;
        QTest::newRow("negative overflow") << text("-1,8e308") << refused;
        QTest::newRow("non-finite number built in code") << QJsonValue(inf) << refused;
        QTest::newRow("null") << QJsonValue(QJsonValue::Null) << refused;
        QTest::newRow("missing") << missing << refused;
    }
    void numbers()
    {
        QFETCH(QJsonValue, value);
        QFETCH(std::optional<double>, expected);
        const JsonReader reader = readerWith(QStringLiteral("amount"), value, QStringLiteral("payments[3]"));
        if (expected) {
            QCOMPARE(APIDecoding::decodeDouble(reader, QStringLiteral("amount")), *expected);
            return;
        }
        const auto failure = decodingFailure([&] { APIDecoding::decodeDouble(reader, QStringLiteral("amount")); });
        COMPARE_DECODING_FAILURE(failure, DecodingError::Kind::DataCorrupted, "payments[3].amount",
                                 "Expected Double or numeric String for amount");
    }

    // strtod follows LC_NUMERIC; the backend's texts must not.
    void numbersIgnoreTheUserLocale()
    {
        const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
        bool switched = false;
        for (const char *name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            switched = switched || std::setlocale(LC_NUMERIC, name);
        if (!switched)
            QSKIP("no locale with a decimal comma is installed");
        const auto value = APIDecoding::parseLenientNumber(QStringLiteral("2.5"));
        const auto comma = APIDecoding::parseLenientNumber(QStringLiteral("2,5"));
        std::setlocale(LC_NUMERIC, previous.constData());
        QCOMPARE(value, std::optional<double>(2.5));
        QCOMPARE(comma, std::optional<double>(2.5));
    }

    void dates_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<std::optional<QString>>("expected"); // absent: refused
        const auto date = [](const char *s) { return std::optional<QString>(QString::fromUtf8(s)); };
        const std::optional<QString> refused;
        QTest::newRow("text that is no date, not trimmed") << text(" вчера ") << date(" вчера ");
        QTest::newRow("zero") << QJsonValue(0) << date("2001-01-01T00:00:00Z");
        QTest::newRow("leap day") << QJsonValue(99750896) << date("2004-02-29T12:34:56Z");
        QTest::newRow("unix epoch") << QJsonValue(-978307200) << date("1970-01-01T00:00:00Z");
        QTest::newRow("fraction cut") << QJsonValue(59.999) << date("2001-01-01T00:00:59Z");
        QTest::newRow("fraction before cut down") << QJsonValue(-0.5) << date("2000-12-31T23:59:59Z");
        QTest::newRow("last writable second") << QJsonValue(252423993599.0) << date("9999-12-31T23:59:59Z");
        QTest::newRow("first writable second") << QJsonValue(-63113904000.0) << date("0001-01-01T00:00:00Z");

        QTest::newRow("null") << QJsonValue(QJsonValue::Null) << refused;
        QTest::newRow("missing") << missing << refused;
        QTest::newRow("true") << QJsonValue(true) << refused;
        QTest::newRow("after year 9999") << QJsonValue(252423993600.0) << refused;
        QTest::newRow("before year 1") << QJsonValue(-63113904001.0) << refused;
        QTest::newRow("beyond 64 bits") << QJsonValue(1e19) << refused;
        QTest::newRow("infinity built in code") << QJsonValue(inf) << refused;
        QTest::newRow("nan built in code") << QJsonValue(std::numeric_limits<double>::quiet_NaN()) << refused;
    }
    void dates()
    {
        QFETCH(QJsonValue, value);
        QFETCH(std::optional<QString>, expected);
        const JsonReader reader = readerWith(QStringLiteral("createdAt"), value, QStringLiteral("lastAiSnapshot"));
        if (expected) {
            QCOMPARE(APIDecoding::decodeDateString(reader, QStringLiteral("createdAt")), *expected);
            return;
        }
        const auto failure =
            decodingFailure([&] { APIDecoding::decodeDateString(reader, QStringLiteral("createdAt")); });
        COMPARE_DECODING_FAILURE(failure, DecodingError::Kind::DataCorrupted, "lastAiSnapshot.createdAt",
                                 "Expected date string for createdAt");
    }
};

QTEST_GUILESS_MAIN(tst_APIDecoding)
#include "tst_APIDecoding.moc"
