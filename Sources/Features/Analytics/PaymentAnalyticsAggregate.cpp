#include "PaymentAnalyticsAggregate.h"

#include "ISO8601DateParser.h"
#include "Utils/MoneyFormat.h"
#include "Utils/Text.h"

#include <cmath>

void PaymentAnalyticsAggregate::StatusBucket::add(const QString &currency, double amount)
{
    ++count;
    const QString key = Text::trimmedSpacesAndTabs(currency).isEmpty() ? QStringLiteral("RUB") : currency;
    sumsByCurrency[key] += amount;
}

QString PaymentAnalyticsAggregate::StatusBucket::formattedSums() const
{
    if (sumsByCurrency.isEmpty())
        return QStringLiteral("—");
    QStringList parts;
    for (auto it = sumsByCurrency.cbegin(); it != sumsByCurrency.cend(); ++it)
        parts.append(MoneyFormat::format(it.value(), it.key()));
    return parts.join(QStringLiteral(" · "));
}

PaymentAnalyticsAggregate PaymentAnalyticsAggregate::build(const QList<Payment> &payments, const QDateTime &now,
                                                           const QTimeZone &zone)
{
    PaymentAnalyticsAggregate aggregate;
    aggregate.totalCount = int(payments.size());
    const QDate today = now.toTimeZone(zone).date();
    const QDateTime startOfToday = today.startOfDay(zone);

    for (const Payment &payment : payments) {
        if (!std::isfinite(payment.amount))
            continue;
        switch (payment.status) {
        case PaymentStatus::Received:
            aggregate.received.add(payment.currency, payment.amount);
            break;
        case PaymentStatus::Cancelled:
            aggregate.cancelled.add(payment.currency, payment.amount);
            break;
        case PaymentStatus::Pending: {
            aggregate.pending.add(payment.currency, payment.amount);
            if (!payment.paidAt || payment.paidAt->isEmpty())
                break;
            const std::optional<ISO8601DateParser::Parsed> due = ISO8601DateParser::parse(*payment.paidAt);
            if (!due)
                break;
            const bool overdue = due->bareDate ? *due->bareDate < today : due->instant < startOfToday;
            if (overdue)
                aggregate.pendingOverdue.add(payment.currency, payment.amount);
            break;
        }
        }
    }
    return aggregate;
}

PaymentAnalyticsAggregate PaymentAnalyticsAggregate::build(const QList<Payment> &payments)
{
    return build(payments, QDateTime::currentDateTimeUtc(), QTimeZone::systemTimeZone());
}
