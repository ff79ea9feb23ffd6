// The payments aggregate and its date forms, run once per time zone (TZ is set by the build):
// overdue is decided against the local start of today, and a bare date as a calendar day.
#include "../Support/FiniteTexts.h"
#include "Features/Analytics/ISO8601DateParser.h"
#include "Features/Analytics/PaymentAnalyticsAggregate.h"
#include "Utils/MoneyFormat.h"

#include <QTest>
#include <QTimeZone>
#include <limits>

namespace {

const QString absent = QStringLiteral("<absent>");

// Today is 10 May 2024, mid-afternoon where the test runs.
QDateTime now()
{
    return QDateTime(QDate(2024, 5, 10), QTime(15, 0), QTimeZone::systemTimeZone());
}

QString utcText(const QDateTime &at, const char *format)
{
    return at.toUTC().toString(QString::fromLatin1(format));
}

bool inNewYork()
{
    return QTimeZone::systemTimeZoneId() == "America/New_York";
}

Payment payment(PaymentStatus status, double amount, const QString &currency, std::optional<QString> paidAt = {})
{
    Payment p;
    p.id = QStringLiteral("pay");
    p.status = status;
    p.amount = amount;
    p.currency = currency;
    p.paidAt = std::move(paidAt);
    return p;
}

// "count:KEY=sum,KEY=sum", keys in order.
QString describe(const PaymentAnalyticsAggregate::StatusBucket &bucket)
{
    QStringList sums;
    for (auto it = bucket.sumsByCurrency.cbegin(); it != bucket.sumsByCurrency.cend(); ++it)
        sums.append(it.key() + QLatin1Char('=') + QString::number(it.value()));
    return QString::number(bucket.count) + QLatin1Char(':') + sums.join(QLatin1Char(','));
}

// "status amount currency", the currency in quotes so blanks show.
Payment parsePayment(const QString &entry)
{
    const QString status = entry.section(QLatin1Char(' '), 0, 0);
    const QString amount = entry.section(QLatin1Char(' '), 1, 1);
    const QString currency = entry.section(QLatin1Char('"'), 1, 1);
    double value = amount.toDouble();
    if (amount == QStringLiteral("nan"))
        value = std::numeric_limits<double>::quiet_NaN();
    else if (amount == QStringLiteral("inf"))
        value = std::numeric_limits<double>::infinity();
    else if (amount == QStringLiteral("-inf"))
        value = -std::numeric_limits<double>::infinity();
    return payment(*paymentStatusFromRaw(status), value, currency);
}

} // namespace

class tst_PaymentAnalyticsAggregate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // The build names the zone; without it the table below proves nothing.
        QCOMPARE(QTimeZone::systemTimeZoneId(), qgetenv("TZ"));
    }

    void dateForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("utc"); // empty: no date
        QTest::addColumn<bool>("isBareDate");
        QTest::newRow("fraction, Z") << "2024-05-01T10:20:30.123Z"
                                     << "2024-05-01T10:20:30.123" << false;
        QTest::newRow("one fraction digit") << "2024-05-01T10:20:30.5Z"
                                            << "2024-05-01T10:20:30.500" << false;
        QTest::newRow("fraction, offset") << "2024-05-01T10:20:30.250+03:00"
                                          << "2024-05-01T07:20:30.250" << false;
        QTest::newRow("seconds, Z") << "2024-05-01T10:20:30Z"
                                    << "2024-05-01T10:20:30.000" << false;
        QTest::newRow("seconds, west offset") << "2024-05-01T22:00:00-05:00"
                                              << "2024-05-02T03:00:00.000" << false;
        QTest::newRow("bare date is UTC midnight") << "2024-05-01"
                                                   << "2024-05-01T00:00:00.000" << true;
        QTest::newRow("no offset") << "2024-05-01T10:20:30"
                                   << "" << false;
        QTest::newRow("empty fraction") << "2024-05-01T10:20:30.Z"
                                        << "" << false;
        QTest::newRow("offset without colon") << "2024-05-01T10:20:30+0300"
                                              << "" << false;
        QTest::newRow("no seconds") << "2024-05-01T10:20Z"
                                    << "" << false;
        QTest::newRow("30 February") << "2024-02-30"
                                     << "" << false;
        QTest::newRow("hour 24") << "2024-05-01T24:00:00Z"
                                 << "" << false;
        QTest::newRow("trailing text") << "2024-05-01Z"
                                       << "" << false;
        QTest::newRow("leading blank") << " 2024-05-01"
                                       << "" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
    }
    void dateForms()
    {
        QFETCH(QString, text);
        QFETCH(QString, utc);
        QFETCH(bool, isBareDate);
        const std::optional<ISO8601DateParser::Parsed> parsed = ISO8601DateParser::parse(text);
        QCOMPARE(parsed.has_value(), !utc.isEmpty());
        if (!parsed)
            return;
        QCOMPARE(parsed->instant.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")), utc);
        QCOMPARE(parsed->bareDate.has_value(), isBareDate);
    }

    void overdue_data()
    {
        QTest::addColumn<QString>("paidAt");
        QTest::addColumn<bool>("overdueInNewYork");
        QTest::addColumn<bool>("overdueInMoscow");
        const QDateTime startOfToday = QDate(2024, 5, 10).startOfDay(QTimeZone::systemTimeZone());
        QTest::newRow("absent") << absent << false << false;
        QTest::newRow("empty") << QString() << false << false;
        QTest::newRow("not a date") << "soon" << false << false;
        QTest::newRow("date without offset") << "2024-05-01T10:00:00" << false << false;
        QTest::newRow("bare yesterday") << "2024-05-09" << true << true;
        QTest::newRow("bare today") << "2024-05-10" << false << false;
        QTest::newRow("bare tomorrow") << "2024-05-11" << false << false;
        QTest::newRow("start of today") << utcText(startOfToday, "yyyy-MM-ddTHH:mm:ss.zzzZ") << false << false;
        QTest::newRow("start of today, no fraction") << utcText(startOfToday, "yyyy-MM-ddTHH:mm:ssZ") << false << false;
        QTest::newRow("a millisecond before")
            << utcText(startOfToday.addMSecs(-1), "yyyy-MM-ddTHH:mm:ss.zzzZ") << true << true;
        QTest::newRow("02:00 UTC today") << "2024-05-10T02:00:00Z" << true << false;
        QTest::newRow("00:30 Moscow today") << "2024-05-10T00:30:00+03:00" << true << false;
        QTest::newRow("23:30 Moscow yesterday") << "2024-05-09T23:30:00+03:00" << true << true;
        QTest::newRow("later today") << "2024-05-10T23:00:00.000Z" << false << false;
        QTest::newRow("future") << "2024-06-01T10:00:00.5Z" << false << false;
    }
    void overdue()
    {
        QFETCH(QString, paidAt);
        QFETCH(bool, overdueInNewYork);
        QFETCH(bool, overdueInMoscow);
        const bool expected = inNewYork() ? overdueInNewYork : overdueInMoscow;
        const std::optional<QString> date = paidAt == absent ? std::nullopt : std::optional(paidAt);

        const QList<Payment> pending{payment(PaymentStatus::Pending, 100, QStringLiteral("RUB"), date)};
        const auto aggregate = PaymentAnalyticsAggregate::build(pending, now(), QTimeZone::systemTimeZone());
        QCOMPARE(aggregate.pending.count, 1);
        QCOMPARE(aggregate.pendingOverdue.count, expected ? 1 : 0);

        // Only a pending payment can be late.
        for (PaymentStatus status : {PaymentStatus::Received, PaymentStatus::Cancelled}) {
            const QList<Payment> settled{payment(status, 100, QStringLiteral("RUB"), date)};
            const auto other = PaymentAnalyticsAggregate::build(settled, now(), QTimeZone::systemTimeZone());
            QCOMPARE(other.pendingOverdue.count, 0);
        }
    }

    void buckets_data()
    {
        QTest::addColumn<QStringList>("payments");
        QTest::addColumn<int>("totalCount");
        QTest::addColumn<QString>("received");
        QTest::addColumn<QString>("pending");
        QTest::addColumn<QString>("cancelled");
        QTest::newRow("none") << QStringList() << 0 << "0:"
                              << "0:"
                              << "0:";
        QTest::newRow("by status") << QStringList{R"(received 10 "RUB")", R"(pending 5 "RUB")", R"(cancelled 7 "RUB")",
                                                  R"(received 2.5 "RUB")"}
                                   << 4 << "2:RUB=12.5"
                                   << "1:RUB=5"
                                   << "1:RUB=7";
        QTest::newRow("non-finite count only") << QStringList{R"(received nan "RUB")", R"(pending inf "RUB")",
                                                              R"(cancelled -inf "USD")", R"(received 3 "RUB")"}
                                               << 4 << "1:RUB=3"
                                               << "0:"
                                               << "0:";
        QTest::newRow("blank currencies are RUB")
            << QStringList{R"(received 1 "")", R"(received 2 " ")", R"(received 4 "	")", R"(received 8 "RUB")"} << 4
            << "4:RUB=15"
            << "0:"
            << "0:";
        QTest::newRow("a leading blank keeps the key apart")
            << QStringList{R"(pending 1 " USD")", R"(pending 2 "USD")"} << 2 << "0:"
            << "2: USD=1,USD=2"
            << "0:";
        QTest::newRow("zero and negative amounts count")
            << QStringList{R"(cancelled 0 "EUR")", R"(cancelled -5 "EUR")"} << 2 << "0:"
            << "0:"
            << "2:EUR=-5";
    }
    void buckets()
    {
        QFETCH(QStringList, payments);
        QFETCH(int, totalCount);
        QFETCH(QString, received);
        QFETCH(QString, pending);
        QFETCH(QString, cancelled);
        QList<Payment> list;
        for (const QString &entry : payments)
            list.append(parsePayment(entry));
        const auto aggregate = PaymentAnalyticsAggregate::build(list, now(), QTimeZone::systemTimeZone());
        QCOMPARE(aggregate.totalCount, totalCount);
        QCOMPARE(describe(aggregate.received), received);
        QCOMPARE(describe(aggregate.pending), pending);
        QCOMPARE(describe(aggregate.cancelled), cancelled);
    }

    void formattedSums()
    {
        PaymentAnalyticsAggregate::StatusBucket bucket;
        QCOMPARE(bucket.formattedSums(), QStringLiteral("—"));
        bucket.add(QStringLiteral("USD"), 5);
        QCOMPARE(bucket.formattedSums(), MoneyFormat::format(5, QStringLiteral("USD")));
        bucket.add(QStringLiteral("EUR"), 7);
        QCOMPARE(bucket.formattedSums(),
                 MoneyFormat::format(7, QStringLiteral("EUR")) + QStringLiteral(" · ")
                     + MoneyFormat::format(5, QStringLiteral("USD")));
    }

    // Two payments of the largest amount overflow their sum: it says so, and never as infinity.
    void overflowingSums()
    {
        const double largest = std::numeric_limits<double>::max();
        const QString rub = QStringLiteral("RUB");
        const PaymentAnalyticsAggregate aggregate = PaymentAnalyticsAggregate::build(
            {payment(PaymentStatus::Received, largest, rub), payment(PaymentStatus::Received, largest, rub),
             payment(PaymentStatus::Pending, largest, rub), payment(PaymentStatus::Pending, 1, rub)});
        QCOMPARE(aggregate.received.count, 2);
        QCOMPARE(aggregate.received.formattedSums(), QStringLiteral("—"));
        QCOMPARE(aggregate.pending.formattedSums(), MoneyFormat::format(largest, rub));
        for (const QString &text : {aggregate.received.formattedSums(), aggregate.pending.formattedSums()})
            QVERIFY2(showsOnlyFiniteFigures(text), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(tst_PaymentAnalyticsAggregate)
#include "tst_PaymentAnalyticsAggregate.moc"
