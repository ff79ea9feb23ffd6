#include "Utils/NumberText.h"
#include "Utils/Numbers.h"
#include "Utils/Text.h"

#include <QTest>
#include <clocale>
#include <limits>

class tst_NumberText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void trimSpacesAndTabs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("spaces and tab") << " \tAPI \t" << "API";
        QTest::newRow("no-break and thin spaces") << QString::fromUtf8("\u00A0\u2009API\u3000") << "API";
        QTest::newRow("line break kept") << " API\n" << "API\n";
        QTest::newRow("only a line break") << "\n" << "\n";
        QTest::newRow("carriage return kept") << "\r\tx" << "\r\tx";
        QTest::newRow("inner spaces kept") << "  a  b " << "a  b";
        QTest::newRow("only blanks") << " \t \u00A0" << "";
    }
    void trimSpacesAndTabs()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(Text::trimmedSpacesAndTabs(text), trimmed);
    }

    void printfStyle_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.25 half to even on binary") << 0.25 << 1 << "0.2";
        QTest::newRow("0.35 lies below the half") << 0.35 << 1 << "0.3";
        QTest::newRow("0.15 lies below the half") << 0.15 << 1 << "0.1";
        QTest::newRow("2.5 whole") << 2.5 << 0 << "2";
        QTest::newRow("3.5 whole") << 3.5 << 0 << "4";
        QTest::newRow("negative small") << -0.04 << 1 << "-0.0";
        QTest::newRow("large") << 1234567.0 << 1 << "1234567.0";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1 << "nan";
        QTest::newRow("inf") << -std::numeric_limits<double>::infinity() << 0 << "-inf";
    }
    void printfStyle()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(NumberText::fixed(value, decimals), text);
        // The C library agrees in the C locale.
        if (std::isfinite(value)) {
            char buffer[64];
            std::setlocale(LC_NUMERIC, "C");
            std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
            QCOMPARE(NumberText::fixed(value, decimals), QString::fromLatin1(buffer));
        }
    }

    void shortest_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 50.0 << "50.0";
        QTest::newRow("twelve") << 12.0 << "12.0";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("below 1e-4") << 0.00001 << "1e-05";
        QTest::newRow("fraction") << 12.25 << "12.25";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.30000000000000004";
        QTest::newRow("zero") << 0.0 << "0.0";
        QTest::newRow("negative zero") << -0.0 << "-0.0";
        QTest::newRow("negative") << -1.5 << "-1.5";
        QTest::newRow("hundreds") << 100.0 << "100.0";
        QTest::newRow("2^53 switches to exponent") << 9007199254740992.0 << "9.007199254740992e+15";
        QTest::newRow("1e16") << 1e16 << "1e+16";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "nan";
    }
    void shortest()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberText::shortest(value), text);
    }

    void parseDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "1500" << true << 1500.0;
        QTest::newRow("point") << "12.5" << true << 12.5;
        QTest::newRow("comma as point") << "12,5" << true << 12.5;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("plus sign") << "+3" << true << 3.0;
        QTest::newRow("leading point") << ",5" << true << 0.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("comma not thousands") << "1,000,000" << false << 0.0;
        QTest::newRow("leading blank") << " 5" << false << 0.0;
        QTest::newRow("trailing blank") << "5 " << false << 0.0;
        QTest::newRow("no-break space group") << QString::fromUtf8("1\u00A0000") << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("infinity") << "Infinity" << false << 0.0;
        QTest::newRow("hex") << "0x10" << false << 0.0;
        QTest::newRow("overflow") << "1e400" << false << 0.0;
        QTest::newRow("trailing text") << "12abc" << false << 0.0;
        QTest::newRow("dangling exponent") << "1e" << false << 0.0;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661") << false << 0.0;
    }
    void parseDecimal()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto parsed = NumberText::parseDecimal(text);
        QCOMPARE(parsed.has_value(), ok);
        if (ok)
            QCOMPARE(*parsed, value);
    }

    void truncatedInt64_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("whole");
        QTest::newRow("positive") << 12.9 << true << qint64(12);
        QTest::newRow("negative toward zero") << -12.9 << true << qint64(-12);
        QTest::newRow("lowest") << -9223372036854775808.0 << true << std::numeric_limits<qint64>::min();
        QTest::newRow("2^63") << 9223372036854775808.0 << false << qint64(0);
        QTest::newRow("huge") << 1e300 << false << qint64(0);
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << false << qint64(0);
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << false << qint64(0);
    }
    void truncatedInt64()
    {
        QFETCH(double, value);
        QFETCH(bool, ok);
        QFETCH(qint64, whole);
        const auto result = Numbers::truncatedInt64(value);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, whole);
    }

    void roundedToCents_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("0.125 half away") << 0.125 << 0.13;
        QTest::newRow("2.675 product is a half") << 2.675 << 2.68;
        QTest::newRow("1.005 product below the half") << 1.005 << 1.0;
        QTest::newRow("negative half away") << -0.125 << -0.13;
        QTest::newRow("huge unchanged") << 1e300 << 1e300;
    }
    void roundedToCents()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(Numbers::roundedToCents(value), rounded);
    }
};

QTEST_GUILESS_MAIN(tst_NumberText)
#include "tst_NumberText.moc"
