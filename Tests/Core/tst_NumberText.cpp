#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Utils/Numbers.h"
#include "Utils/Text.h"

#include <QFile>
#include <QTest>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace {

// The text of a line of the Unicode grapheme break test ("÷ 0061 × 0308 ÷"), with the clusters
// it is split into.
struct BreakTestRow
{
    QString text;
    QStringList clusters;
};

BreakTestRow breakTestRow(const QString &line)
{
    BreakTestRow row;
    QString cluster;
    for (const QString &field : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (field == QStringLiteral("÷")) {
            if (!cluster.isEmpty())
                row.clusters.append(cluster);
            cluster.clear();
        } else if (field != QStringLiteral("×")) {
            const char32_t point = field.toUInt(nullptr, 16);
            const QString character = QString::fromUcs4(&point, 1);
            cluster += character;
            row.text += character;
        }
    }
    return row;
}

// The Unicode grapheme break test as Debian's unicode-data ships it.
const char *const graphemeBreakTestPath = "/usr/share/unicode/auxiliary/GraphemeBreakTest.txt";

// Writes the expected text with "_" for the no-break space the locale puts between groups and
// before the sign.
QString nbsp(const char *text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('_'), QChar(0x00A0));
}

} // namespace

class tst_NumberText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void trimSpacesAndTabs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("spaces and tab") << " \tAPI \t"
                                        << "API";
        QTest::newRow("no-break and thin spaces") << QString::fromUtf8("\u00A0\u2009API\u3000") << "API";
        QTest::newRow("line break kept") << " API\n"
                                         << "API\n";
        QTest::newRow("only blanks") << " \t \u00A0"
                                     << "";
    }
    void trimSpacesAndTabs()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(Text::trimmedSpacesAndTabs(text), trimmed);
    }

    // The hard rows of the Unicode grapheme break test, in its own notation.
    void graphemes_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("CR LF") << "÷ 000D × 000A ÷ 000A ÷";
        QTest::newRow("combining marks") << "÷ 0061 × 0308 × 0301 ÷ 0062 ÷";
        QTest::newRow("Cyrillic with acute (NFD)") << "÷ 0435 × 0301 ÷ 0436 ÷";
        QTest::newRow("flag after an emoji") << "÷ 1F600 ÷ 1F1F7 × 1F1FA ÷";
        QTest::newRow("flag after an emoji with a skin tone") << "÷ 1F476 × 1F3FF ÷ 1F1F7 × 1F1FA ÷";
        QTest::newRow("three regional indicators") << "÷ 1F1E6 × 1F1E7 ÷ 1F1E8 ÷";
        QTest::newRow("four regional indicators after a letter") << "÷ 0061 ÷ 1F1E6 × 1F1E7 ÷ 1F1E8 × 1F1E9 ÷";
        QTest::newRow("ZWJ family") << "÷ 1F468 × 200D × 1F469 × 200D × 1F467 ÷";
        QTest::newRow("ZWJ after a skin tone") << "÷ 1F476 × 1F3FF × 0308 × 200D × 1F476 × 1F3FF ÷";
        QTest::newRow("ZWJ after a letter does not join") << "÷ 0061 × 200D ÷ 1F6D1 ÷";
        QTest::newRow("rainbow flag") << "÷ 1F3F3 × FE0F × 200D × 1F308 ÷";
        QTest::newRow("Hangul L V T") << "÷ 1100 × 1161 × 11A8 ÷ 1100 ÷";
        QTest::newRow("Hangul LV T then L") << "÷ AC00 × 11A8 ÷ 1100 ÷";
        QTest::newRow("Hangul LVT V breaks") << "÷ AC01 ÷ 1161 ÷";
        QTest::newRow("prepend") << "÷ 0600 × 0020 ÷ 0020 ÷";
        QTest::newRow("spacing mark") << "÷ 0915 × 093F ÷ 0915 ÷";
    }
    void graphemes()
    {
        QFETCH(QString, row);
        const BreakTestRow expected = breakTestRow(row);
        QCOMPARE(Text::graphemes(expected.text), expected.clusters);
        QCOMPARE(Text::graphemeCount(expected.text), expected.clusters.size());
        for (qsizetype count = 0; count <= expected.clusters.size() + 1; ++count)
            QCOMPARE(Text::leadingGraphemes(expected.text, count), expected.clusters.mid(0, count).join(QString()));
    }

    void graphemeBreakTestFile()
    {
        QFile file(QString::fromLatin1(graphemeBreakTestPath));
        QVERIFY2(file.open(QIODevice::ReadOnly), "install the Debian package unicode-data");
        int rows = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).section(QLatin1Char('#'), 0, 0).trimmed();
            if (line.isEmpty())
                continue;
            ++rows;
            const BreakTestRow expected = breakTestRow(line);
            QVERIFY2(Text::graphemes(expected.text) == expected.clusters, qPrintable(line));
        }
        QVERIFY(rows > 500);
    }

    void printfStyle_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.25 half to even on binary") << 0.25 << 1 << "0.2";
        QTest::newRow("0.15 lies below the half") << 0.15 << 1 << "0.1";
        QTest::newRow("2.5 whole") << 2.5 << 0 << "2";
        // What rounds to zero shows without a sign.
        QTest::newRow("negative small") << -0.04 << 1 << "0.0";
        QTest::newRow("negative zero") << -0.0 << 1 << "0.0";
        QTest::newRow("negative below the half") << -0.4 << 0 << "0";
        QTest::newRow("negative half to even") << -0.5 << 0 << "0";
        QTest::newRow("tiny negative, many decimals") << -1e-300 << 3 << "0.000";
        QTest::newRow("negative that stays") << -0.06 << 1 << "-0.1";
        QTest::newRow("negative 1.5 to even") << -1.5 << 0 << "-2";
        QTest::newRow("inf") << -std::numeric_limits<double>::infinity() << 0 << "—";
        QTest::newRow("+inf") << std::numeric_limits<double>::infinity() << 1 << "—";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1 << "—";
        QTest::newRow("largest") << std::numeric_limits<double>::max() << 1
                                 << QString::fromLatin1(
                                        "1797693134862315708145274237317043567980705675258449965989174768031"
                                        "5726078002853876058955863276687817154045895351438246423432132688946"
                                        "4182768467546703537516986049910576551282076245490090389328944075868"
                                        "5084551339423045832369032229481658085593321233482747978262041447231"
                                        "68738177180919299881250404026184124858368.0");
    }
    void printfStyle()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(NumberText::fixed(value, decimals), text);
    }

    void shortest_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 50.0 << "50.0";
        QTest::newRow("below 1e-4") << 0.00001 << "1e-05";
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.30000000000000004";
        QTest::newRow("negative zero") << -0.0 << "0.0";
        QTest::newRow("negative half") << -0.5 << "-0.5";
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
        QTest::addColumn<std::optional<double>>("value"); // absent: refused
        QTest::newRow("whole") << "1500" << std::optional<double>(1500.0);
        QTest::newRow("comma as point") << "12,5" << std::optional<double>(12.5);
        QTest::newRow("leading point") << ",5" << std::optional<double>(0.5);
        QTest::newRow("trailing point") << "5." << std::optional<double>(5.0);
        QTest::newRow("comma not thousands") << "1,000,000" << std::optional<double>();
        QTest::newRow("leading blank") << " 5" << std::optional<double>();
        QTest::newRow("no-break space group") << QString::fromUtf8("1\u00A0000") << std::optional<double>();
        QTest::newRow("empty") << "" << std::optional<double>();
        QTest::newRow("point only") << "." << std::optional<double>();
        QTest::newRow("inf") << "inf" << std::optional<double>();
        QTest::newRow("nan") << "nan" << std::optional<double>();
        QTest::newRow("overflow") << "1e400" << std::optional<double>();
        QTest::newRow("trailing text") << "12abc" << std::optional<double>();
    }
    void parseDecimal()
    {
        QFETCH(QString, text);
        QTEST(NumberText::parseDecimal(text), "value");
    }

    void parseExactDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("value"); // absent: refused
        QTest::newRow("whole") << "1500" << std::optional<double>(1500.0);
        QTest::newRow("comma") << "150,5" << std::optional<double>(150.5);
        QTest::newRow("negative") << "-20" << std::optional<double>(-20.0);
        QTest::newRow("zero") << "0" << std::optional<double>(0.0);
        QTest::newRow("below 2^53") << "9e15" << std::optional<double>(9e15);
        QTest::newRow("above 2^53, few digits") << "9,1e15" << std::optional<double>();
        QTest::newRow("above 2^53") << "9007199254740993" << std::optional<double>();
        QTest::newRow("20 digits") << "12345678901234567890" << std::optional<double>();
        QTest::newRow("exponent above 2^53") << "1e16" << std::optional<double>();
        QTest::newRow("15 digits") << "123456789012345" << std::optional<double>(123456789012345.0);
        QTest::newRow("16 digits") << "1234567890123456" << std::optional<double>();
        QTest::newRow("16 digits in the fraction") << "0,1234567890123456" << std::optional<double>();
        QTest::newRow("zeros around count not") << "000100,500000000000000000" << std::optional<double>(100.5);
        QTest::newRow("unreadable stays so") << "1 000" << std::optional<double>();
    }
    void parseExactDecimal()
    {
        QFETCH(QString, text);
        QTEST(NumberText::parseExactDecimal(text), "value");
    }
    // The rule the payment and the line forms share, on texts as the C library reads them too.
    void inexactness_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("reason"); // -1 none, else NumberText::Inexact
        const int none = -1;
        const int tooLarge = int(NumberText::Inexact::TooLarge);
        const int tooManyDigits = int(NumberText::Inexact::TooManyDigits);
        // The double read from the text is all the magnitude rule sees: 2^53 + 1 reads as 2^53.
        QTest::newRow("2^53, 16 digits") << "9007199254740992" << 9007199254740992.0 << tooManyDigits;
        QTest::newRow("2^53 + 1") << "9007199254740993" << 9007199254740992.0 << tooManyDigits;
        QTest::newRow("9e15") << "9e15" << 9e15 << none;
        QTest::newRow("9.1e15, few digits") << "9,1e15" << 9.1e15 << tooLarge;
        QTest::newRow("20 digits") << "12345678901234567890" << 12345678901234567890.0 << tooLarge;
        QTest::newRow("1e16") << "1e16" << 1e16 << tooLarge;
        QTest::newRow("negative beyond") << "-1e16" << -1e16 << tooLarge;
        QTest::newRow("16 digits") << "1234567,890123456" << 1234567.890123456 << tooManyDigits;
        QTest::newRow("15 digits with sign") << "+1234567.89012345" << 1234567.89012345 << none;
        QTest::newRow("exponent digits do not count") << "1.5e-300" << 1.5e-300 << none;
        QTest::newRow("hexadecimal 53 bits") << "0x1.23456789abcdfp0" << 0x1.23456789abcdfp0 << none;
        QTest::newRow("hexadecimal 54 bits") << "0x3.23456789abcdfp0" << 0x3.23456789abcdfp0 << tooManyDigits;
        QTest::newRow("hexadecimal trailing zero bits") << "0x1.23456789abcde0p0" << 0x1.23456789abcde0p0 << none;
        QTest::newRow("hexadecimal 57 bits") << "0x1.23456789abcdefp0" << 0x1.23456789abcdefp0 << tooManyDigits;
        QTest::newRow("hexadecimal beyond 2^53") << "0x1p60" << 0x1p60 << tooLarge;
        QTest::newRow("hexadecimal e is a digit") << "0x1.eeeeeeeeeeeeeep0" << 0x1.eeeeeeeeeeeeeep0 << tooManyDigits;
    }
    void inexactness()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, reason);
        const std::optional<NumberText::Inexact> found = NumberText::inexactness(text, value);
        QCOMPARE(found ? int(*found) : -1, reason);
        if (found)
            QVERIFY(!NumberText::inexactMessage(*found).isEmpty());
    }

    void parseExactDecimalReadsNegativeZeroAsZero_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *text : {"-0", "-0,0", "-0e5", "-.0"})
            QTest::newRow(text) << QString::fromLatin1(text);
    }
    void parseExactDecimalReadsNegativeZeroAsZero()
    {
        QFETCH(QString, text);
        const std::optional<double> value = NumberText::parseExactDecimal(text);
        QVERIFY(value);
        QCOMPARE(*value, 0.0);
        QVERIFY(!std::signbit(*value));
    }

    void truncatedInt64_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<std::optional<qint64>>("whole"); // absent: refused
        QTest::newRow("negative toward zero") << -12.9 << std::optional<qint64>(qint64(-12));
        QTest::newRow("lowest") << -9223372036854775808.0 << std::optional<qint64>(std::numeric_limits<qint64>::min());
        QTest::newRow("2^63") << 9223372036854775808.0 << std::optional<qint64>();
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << std::optional<qint64>();
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << std::optional<qint64>();
    }
    void truncatedInt64()
    {
        QFETCH(double, value);
        QTEST(Numbers::truncatedInt64(value), "whole");
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

    void money_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.5 half to even") << 0.5 << "RUB" << nbsp("0_₽");
        QTest::newRow("2.5 half to even") << 2.5 << "RUB" << nbsp("2_₽");
        QTest::newRow("3.5 half to even") << 3.5 << "RUB" << nbsp("4_₽");
        QTest::newRow("millions") << 1234567.89 << "RUB" << nbsp("1_234_568_₽");
        QTest::newRow("negative") << -1234567.0 << "RUB" << nbsp("-1_234_567_₽");
        QTest::newRow("euro sign") << 99.5 << "EUR" << nbsp("100_€");
        QTest::newRow("four digits grouped") << 2500.0 << "RUB" << nbsp("2_500_₽");
        // Codes ICU does not take as three letters fall back to plain text.
        QTest::newRow("fallback truncates toward zero") << 12.9 << "RUBX"
                                                        << "12 RUBX";
        QTest::newRow("fallback negative") << -12.9 << "рубли"
                                           << "-12 рубли";
        QTest::newRow("fallback small negative has no sign") << -0.4 << "R"
                                                             << "0 R";
        QTest::newRow("fallback beyond 64 bits") << 1e20 << "??"
                                                 << "100000000000000000000 ??";
        QTest::newRow("fallback NaN") << std::numeric_limits<double>::quiet_NaN() << "12"
                                      << "—";
        // A figure that is not finite has no text but the dash, in every currency.
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "RUB"
                                  << "—";
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << "USD"
                                        << "—";
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "RUB"
                             << "—";
        QTest::newRow("overflowed product") << 1e308 * 1000.0 << "RUB"
                                            << "—";
        // Zero never carries a minus sign, however it came to be zero.
        QTest::newRow("negative zero") << -0.0 << "RUB" << nbsp("0_₽");
        QTest::newRow("small negative") << -0.4 << "RUB" << nbsp("0_₽");
        QTest::newRow("negative half to even") << -0.5 << "RUB" << nbsp("0_₽");
        QTest::newRow("negative 0.6 stays") << -0.6 << "RUB" << nbsp("-1_₽");
    }
    void money()
    {
        QFETCH(double, value);
        QFETCH(QString, currency);
        QFETCH(QString, text);
        QCOMPARE(MoneyFormat::format(value, currency), text);
        QCOMPARE(MoneyFormat::format(value, currency), text); // from the cached formatter
    }

    void concurrentCallsAgree()
    {
        const QString expected = MoneyFormat::format(1234567.0, QStringLiteral("EUR"));
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&, t] {
                const QStringList codes{QStringLiteral("USD"), QStringLiteral("GBP"), QStringLiteral("C%1").arg(t)};
                for (int i = 0; i < 400; ++i) {
                    // Other codes fill the shared cache while EUR is read from it.
                    MoneyFormat::format(1.0, codes.at(i % 3));
                    if (MoneyFormat::format(1234567.0, QStringLiteral("EUR")) != expected)
                        ++wrong;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_NumberText)
#include "tst_NumberText.moc"
