#pragma once

#include "DiffedListModel.h"
#include "Models/Payment.h"

#include <QtQml/qqmlregistration.h>

// The payment history as rows, in the backend's order, texts formatted here. A new list
// reaches the view as the rows that changed, went or came.
class PaymentRowsModel : public DiffedListModel<Payment>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by ProjectFinanceModel")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        PaymentIdRole = Qt::UserRole + 1,
        // In the payment's own currency.
        AmountTextRole,
        StatusRole,
        StatusLabelRole,
        NoteRole,
        HasNoteRole,
        // The status and the note, as a screen reader hears them after the amount.
        SpokenDetailsRole,
    };

    explicit PaymentRowsModel(QObject *parent = nullptr);

    int count() const { return rowCount(); }
    void setPayments(QList<Payment> payments);
    // The stored payment of that identity, or none.
    const Payment *find(const QString &paymentId) const;
    // The row of the payment of that identity, or -1.
    int rowOf(const QString &paymentId) const;

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();
};
