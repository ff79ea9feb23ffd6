#include "DecodingCheck.h"
#include "Utils/APIDecoding.h"
#include "Utils/JsonReader.h"

#include <QTest>
#include <clocale>
#include <limits>

using Kind = DecodingError::Kind;

namespace {
const QString amountText = QStringLiteral("Expected Double or numeric String for amount");
const QString dateText = QStringLiteral("Expected date string for createdAt");
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
}

class tst_APIDecoding : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numbers_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("json number") << QJsonValue(150) << 150.0;
        QTest::newRow("json fraction") << QJsonValue(0.1) << 0.1;
        QTest::newRow("text integer") << QJsonValue(QStringLiteral("150")) << 150.0;
        QTest::newRow("decimal comma") << QJsonValue(QStringLiteral("150,5")) << 150.5;
        QTest::newRow("decimal point") << QJsonValue(QStringLiteral("150.5")) << 150.5;
        QTest::newRow("exponent") << QJsonValue(QStringLiteral("1e2")) << 100.0;
        QTest::newRow("negative") << QJsonValue(QStringLiteral("-20")) << -20.0;
        QTest::newRow("plus sign") << QJsonValue(QStringLiteral("+5")) << 5.0;
        QTest::newRow("comma is never thousands") << QJsonValue(QStringLiteral("1,000")) << 1.0;
        QTest::newRow("leading comma") << QJsonValue(QStringLiteral(",5")) << 0.5;
        QTest::newRow("trailing point") << QJsonValue(QStringLiteral("5.")) << 5.0;
        QTest::newRow("hexadecimal form") << QJsonValue(QStringLiteral("0x1p3")) << 8.0;
        QTest::newRow("underflow reads as zero") << QJsonValue(QStringLiteral("1e-400")) << 0.0;
    }
    void numbers()
    {
        QFETCH(QJsonValue, value);
        QFETCH(double, expected);
        const JsonReader reader(QJsonObject{{QStringLiteral("amount"), value}});
        QCOMPARE(APIDecoding::decodeDouble(reader, QStringLiteral("amount")), expected);
    }

    void refusedNumbers_data()
    {
        QTest::addColumn<QJsonValue>("value");
        const auto text = [](const char *s) { return QJsonValue(QString::fromUtf8(s)); };
        QTest::newRow("comma and point") << text("1.500,25");
        QTest::newRow("empty") << text("");
        QTest::newRow("space before") << text(" 150");
        QTest::newRow("tab before") << text("\t150");
        QTest::newRow("line feed before") << text("\n150");
        QTest::newRow("space after") << text("150 ");
        QTest::newRow("space inside") << text("1 50");
        QTest::newRow("no-break space inside") << text("1\u00a0500");
        QTest::newRow("currency word") << text("150 руб");
        QTest::newRow("letters") << text("abc");
        QTest::newRow("sign alone") << text("-");
        QTest::newRow("embedded nul") << QJsonValue(QString(QStringLiteral("5") + QChar(0)));
        QTest::newRow("inf") << text("inf");
        QTest::newRow("-inf") << text("-inf");
        QTest::newRow("INF") << text("INF");
        QTest::newRow("infinity") << text("infinity");
        QTest::newRow("nan") << text("nan");
        QTest::newRow("NaN with payload") << text("nan(123)");
        QTest::newRow("overflow") << text("1e999");
        QTest::newRow("negative overflow") << text("-1,8e308");
        QTest::newRow("non-finite number built in code") << QJsonValue(inf);
        QTest::newRow("null") << QJsonValue(QJsonValue::Null);
        QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("true") << QJsonValue(true);
        QTest::newRow("object") << QJsonValue(QJsonObject{});
        QTest::newRow("array") << QJsonValue(QJsonArray{1});
    }
    void refusedNumbers()
    {
        QFETCH(QJsonValue, value);
        QJsonObject object;
        if (!value.isUndefined())
            object.insert(QStringLiteral("amount"), value);
        const JsonReader reader(object, QStringLiteral("payments[3]"));
        const auto failure = decodingFailure([&] { APIDecoding::decodeDouble(reader, QStringLiteral("amount")); });
        COMPARE_DECODING_FAILURE(failure, Kind::DataCorrupted, "payments[3].amount", amountText);
    }

    // strtod follows LC_NUMERIC; the backend's texts must not.
    void numbersIgnoreTheUserLocale()
    {
        const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
        const char *commaLocales[] = {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"};
        bool switched = false;
        for (const char *name : commaLocales)
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
        QTest::addColumn<QString>("expected");
        QTest::newRow("date text") << QJsonValue(QStringLiteral("2024-05-01")) << QStringLiteral("2024-05-01");
        QTest::newRow("text that is no date") << QJsonValue(QStringLiteral("вчера")) << QStringLiteral("вчера");
        QTest::newRow("text not trimmed") << QJsonValue(QStringLiteral(" 2024 ")) << QStringLiteral(" 2024 ");
        QTest::newRow("empty text") << QJsonValue(QString()) << QString();
        QTest::newRow("zero") << QJsonValue(0) << QStringLiteral("2001-01-01T00:00:00Z");
        QTest::newRow("a minute") << QJsonValue(60) << QStringLiteral("2001-01-01T00:01:00Z");
        QTest::newRow("a minute before") << QJsonValue(-60) << QStringLiteral("2000-12-31T23:59:00Z");
        QTest::newRow("leap day") << QJsonValue(99750896) << QStringLiteral("2004-02-29T12:34:56Z");
        QTest::newRow("unix epoch") << QJsonValue(-978307200) << QStringLiteral("1970-01-01T00:00:00Z");
        QTest::newRow("fraction cut") << QJsonValue(59.999) << QStringLiteral("2001-01-01T00:00:59Z");
        QTest::newRow("fraction before cut down") << QJsonValue(-0.5) << QStringLiteral("2000-12-31T23:59:59Z");
        QTest::newRow("last writable second") << QJsonValue(252423993599.0) << QStringLiteral("9999-12-31T23:59:59Z");
        QTest::newRow("first writable second") << QJsonValue(-63113904000.0) << QStringLiteral("0001-01-01T00:00:00Z");
    }
    void dates()
    {
        QFETCH(QJsonValue, value);
        QFETCH(QString, expected);
        const JsonReader reader(QJsonObject{{QStringLiteral("createdAt"), value}});
        QCOMPARE(APIDecoding::decodeDateString(reader, QStringLiteral("createdAt")), expected);
    }

    void refusedDates_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::newRow("null") << QJsonValue(QJsonValue::Null);
        QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("true") << QJsonValue(true);
        QTest::newRow("object") << QJsonValue(QJsonObject{});
        QTest::newRow("array") << QJsonValue(QJsonArray{});
        QTest::newRow("after year 9999") << QJsonValue(252423993600.0);
        QTest::newRow("before year 1") << QJsonValue(-63113904001.0);
        QTest::newRow("huge") << QJsonValue(1e300);
        QTest::newRow("huge negative") << QJsonValue(-1e300);
        QTest::newRow("beyond 64 bits") << QJsonValue(1e19);
        QTest::newRow("infinity built in code") << QJsonValue(inf);
        QTest::newRow("nan built in code") << QJsonValue(notANumber);
    }
    void refusedDates()
    {
        QFETCH(QJsonValue, value);
        QJsonObject object;
        if (!value.isUndefined())
            object.insert(QStringLiteral("createdAt"), value);
        const JsonReader reader(object, QStringLiteral("lastAiSnapshot"));
        const auto failure =
            decodingFailure([&] { APIDecoding::decodeDateString(reader, QStringLiteral("createdAt")); });
        COMPARE_DECODING_FAILURE(failure, Kind::DataCorrupted, "lastAiSnapshot.createdAt", dateText);
    }

    void nonFiniteSecondsAreNoDate()
    {
        QVERIFY(!APIDecoding::dateStringFromReferenceSeconds(notANumber));
        QVERIFY(!APIDecoding::dateStringFromReferenceSeconds(inf));
        QVERIFY(!APIDecoding::dateStringFromReferenceSeconds(-inf));
    }
};

QTEST_GUILESS_MAIN(tst_APIDecoding)
#include "tst_APIDecoding.moc"
