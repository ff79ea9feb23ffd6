#include "PaymentRowsModel.h"

#include "Utils/MoneyFormat.h"
#include "Utils/Text.h"

#include <QStringList>

PaymentRowsModel::PaymentRowsModel(QObject *parent)
    : DiffedListModel(parent)
{
}

void PaymentRowsModel::setPayments(QList<Payment> payments)
{
    const int before = count();
    replaceRows(std::move(payments), [](const Payment &a, const Payment &b) { return a.id == b.id; });
    if (count() != before)
        Q_EMIT countChanged();
}

const Payment *PaymentRowsModel::find(const QString &paymentId) const
{
    const int row = rowOf(paymentId);
    return row < 0 ? nullptr : &rows().at(row);
}

int PaymentRowsModel::rowOf(const QString &paymentId) const
{
    for (qsizetype row = 0; row < rows().size(); ++row) {
        if (rows().at(row).id == paymentId)
            return int(row);
    }
    return -1;
}

QVariant PaymentRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows().size())
        return {};
    const Payment &payment = rows().at(index.row());
    switch (role) {
    case PaymentIdRole:
        return payment.id;
    case AmountTextRole:
        return MoneyFormat::format(payment.amount, payment.currency);
    case StatusRole:
        return rawValue(payment.status);
    case StatusLabelRole:
        return label(payment.status);
    case NoteRole:
        return Text::boundedMessage(payment.note.value_or(QString()));
    case HasNoteRole:
        return payment.note && !payment.note->isEmpty();
    case SpokenDetailsRole: {
        QStringList parts;
        const QString status = label(payment.status);
        if (!status.isEmpty())
            parts.append(status);
        const QString note = payment.note ? Text::boundedMessage(*payment.note) : QString();
        if (!note.isEmpty())
            parts.append(note);
        return parts.join(QStringLiteral(", "));
    }
    }
    return {};
}

QHash<int, QByteArray> PaymentRowsModel::roleNames() const
{
    return {{PaymentIdRole, "paymentId"},
            {AmountTextRole, "amountText"},
            {StatusRole, "status"},
            {StatusLabelRole, "statusLabel"},
            {NoteRole, "note"},
            {HasNoteRole, "hasNote"},
            {SpokenDetailsRole, "spokenDetails"}};
}
