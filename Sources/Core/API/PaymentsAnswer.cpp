#include "PaymentsAnswer.h"

#include "API/APIClient.h"
#include "Utils/Json.h"
#include "Utils/JsonArrayElements.h"

#include <QSet>

#include <optional>

QList<Payment> PaymentsAnswer::readWhole(const QByteArray &bytes)
{
    return APIClient::decode<QList<Payment>>(bytes);
}

void PaymentsAnswer::shareRecurringTexts(QList<Payment> &payments)
{
    QSet<QString> seen;
    const auto share = [&seen](QString &text) {
        const auto found = seen.constFind(text);
        if (found == seen.cend())
            seen.insert(text);
        else
            text = *found;
    };
    for (Payment &payment : payments) {
        share(payment.currency);
        share(payment.projectId);
        share(payment.userId);
        if (payment.method)
            share(*payment.method);
    }
}

std::shared_ptr<const PaymentsAnswer> PaymentsAnswer::read(const QByteArray &bytes, const PaymentsAnswer *previous)
{
    std::shared_ptr<PaymentsAnswer> answer(new PaymentsAnswer);
    answer->m_bytes = bytes;
    const std::optional<QList<QByteArrayView>> texts = JsonArrayElements::split(answer->m_bytes);
    if (!texts) {
        answer->m_bytes.clear();
        answer->m_payments = readWhole(bytes);
        shareRecurringTexts(answer->m_payments);
        return answer;
    }

    QList<const Payment *> known(texts->size(), nullptr);
    qsizetype knownCount = 0;
    if (previous) {
        for (qsizetype i = 0; i < texts->size(); ++i) {
            const auto found = previous->m_rowOfText.constFind(texts->at(i));
            if (found != previous->m_rowOfText.cend()) {
                known[i] = &previous->m_payments.at(*found);
                ++knownCount;
            }
        }
    }
    // Mostly new payments (the first read, another project): one parse of the whole is quicker.
    if (knownCount < texts->size() / 2) {
        answer->m_payments = readWhole(bytes);
    } else {
        try {
            answer->m_payments.reserve(texts->size());
            for (qsizetype i = 0; i < texts->size(); ++i) {
                const QByteArrayView text = texts->at(i);
                answer->m_payments.append(
                    known[i] ? *known[i]
                             : Payment::fromJson(Json::parse(QByteArray::fromRawData(text.data(), text.size())),
                                                 JsonPath().index(i)));
            }
        } catch (const DecodingError &) {
            // Read again whole, so that the failure is the whole answer's.
            answer->m_payments = readWhole(bytes);
        }
    }

    shareRecurringTexts(answer->m_payments);
    // The next read finds its unchanged payments by their texts.
    if (answer->m_payments.size() == texts->size()) {
        answer->m_rowOfText.reserve(texts->size());
        for (qsizetype i = 0; i < texts->size(); ++i)
            answer->m_rowOfText.insert(texts->at(i), i);
    } else {
        answer->m_bytes.clear();
    }
    return answer;
}
