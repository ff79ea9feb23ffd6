#pragma once

#include "Models/Payment.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <memory>

// A project's payments as one answer of the backend read them. A reload of thousands of payments
// in which one changed reads that one: every payment whose text is the same as in the answer
// read before takes that answer's record. Immutable once read, so that it can be read on one
// thread and kept on another.
class PaymentsAnswer
{
public:
    // The payments of the answer's bytes, read as APIClient::decode reads a list of payments and
    // failing as it fails (it throws APIError). `previous` may be null.
    static std::shared_ptr<const PaymentsAnswer> read(const QByteArray &bytes, const PaymentsAnswer *previous);

    const QList<Payment> &payments() const { return m_payments; }

private:
    PaymentsAnswer() = default;
    static QList<Payment> readWhole(const QByteArray &bytes);
    // Texts that recur from payment to payment (currency, project, owner, method) share one
    // string, which leaves room for the answer's text kept beside them.
    static void shareRecurringTexts(QList<Payment> &payments);

    // What the keys of m_rowOfText point into.
    QByteArray m_bytes;
    QList<Payment> m_payments;
    QHash<QByteArrayView, qsizetype> m_rowOfText;
};
