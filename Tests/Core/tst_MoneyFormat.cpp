#include "Utils/MoneyFormat.h"

#include <QTest>
#include <atomic>
#include <limits>
#include <thread>
#include <vector>

namespace {

// Writes the expected text with "_" for the no-break space the locale puts between groups and
// before the sign.
QString nbsp(const char *text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('_'), QChar(0x00A0));
}

} // namespace

class tst_MoneyFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "RUB" << nbsp("0_₽");
        QTest::newRow("0.4 down") << 0.4 << "RUB" << nbsp("0_₽");
        QTest::newRow("0.5 half to even") << 0.5 << "RUB" << nbsp("0_₽");
        QTest::newRow("2.5 half to even") << 2.5 << "RUB" << nbsp("2_₽");
        QTest::newRow("3.5 half to even") << 3.5 << "RUB" << nbsp("4_₽");
        QTest::newRow("millions") << 1234567.89 << "RUB" << nbsp("1_234_568_₽");
        QTest::newRow("negative") << -1234567.0 << "RUB" << nbsp("-1_234_567_₽");
        QTest::newRow("dollar sign") << 1500.0 << "USD" << nbsp("1_500_$");
        QTest::newRow("euro sign") << 99.5 << "EUR" << nbsp("100_€");
        QTest::newRow("four digits grouped") << 2500.0 << "RUB" << nbsp("2_500_₽");
        // Codes ICU does not take as three letters fall back to plain text.
        QTest::newRow("fallback truncates toward zero") << 12.9 << "RUBX" << "12 RUBX";
        QTest::newRow("fallback negative") << -12.9 << "рубли" << "-12 рубли";
        QTest::newRow("fallback no grouping") << 1234567.9 << "" << "1234567 ";
        QTest::newRow("fallback small negative has no sign") << -0.4 << "R" << "0 R";
        QTest::newRow("fallback beyond 64 bits") << 1e20 << "??" << "100000000000000000000 ??";
        QTest::newRow("fallback NaN") << std::numeric_limits<double>::quiet_NaN() << "12" << "nan 12";
        QTest::newRow("fallback infinity") << -std::numeric_limits<double>::infinity() << "12" << "-inf 12";
    }
    void format()
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
                const QStringList codes{QStringLiteral("EUR"), QStringLiteral("USD"), QStringLiteral("GBP"),
                                        QStringLiteral("C%1").arg(t)};
                for (int i = 0; i < 400; ++i) {
                    if (MoneyFormat::format(1234567.0, codes.at(i % 4)).isEmpty())
                        ++wrong;
                    if (i % 4 == 0 && MoneyFormat::format(1234567.0, QStringLiteral("EUR")) != expected)
                        ++wrong;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_MoneyFormat)
#include "tst_MoneyFormat.moc"
