#pragma once

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

// The migration policies as the sheet offers them: raw value and label, in the policies' order.
class LocalDataMigrationPolicyModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT

public:
    enum Role {
        ValueRole = Qt::UserRole + 1,
        LabelRole,
    };

    explicit LocalDataMigrationPolicyModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
};
