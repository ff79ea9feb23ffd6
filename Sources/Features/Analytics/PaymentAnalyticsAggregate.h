#pragma once

#include "Models/Payment.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QTimeZone>

// Counts and per-currency sums of payments by status, with overdue pending payments apart.
// Rebuilt whole from a list of payments; never updated in place.
struct PaymentAnalyticsAggregate
{
    struct StatusBucket
    {
        int count = 0;
        // Ordered by key, so the sums read in ascending currency order.
        QMap<QString, double> sumsByCurrency;

        // Counts one payment; a currency blank after trimming spaces and tabs sums as "RUB",
        // any other is kept as written (" USD" and "USD" are apart).
        void add(const QString &currency, double amount);
        // "—" without sums, else each sum formatted in its currency, joined with " · ".
        QString formattedSums() const;

        bool operator==(const StatusBucket &) const = default;
    };

    // Every payment handed in, those skipped for a non-finite amount too.
    int totalCount = 0;
    StatusBucket received;
    // Overdue ones included.
    StatusBucket pending;
    // Pending payments dated before today; also counted in pending.
    StatusBucket pendingOverdue;
    StatusBucket cancelled;

    // Today is taken once from now in zone. A date-time is overdue when strictly earlier than
    // the zone's start of today; a bare date when its calendar day is before today's, so a
    // payment due today is never overdue wherever the user is.
    static PaymentAnalyticsAggregate build(const QList<Payment> &payments, const QDateTime &now, const QTimeZone &zone);
    // With the clock and the system's zone.
    static PaymentAnalyticsAggregate build(const QList<Payment> &payments);

    bool operator==(const PaymentAnalyticsAggregate &) const = default;
};
