#include "Features/Auth/LocalDataMigrationPolicyModel.h"

#include "Data/LocalCloudMigrationPolicy.h"

LocalDataMigrationPolicyModel::LocalDataMigrationPolicyModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int LocalDataMigrationPolicyModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(allLocalCloudMigrationPolicies.size());
}

QVariant LocalDataMigrationPolicyModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LocalCloudMigrationPolicy policy = allLocalCloudMigrationPolicies.at(size_t(index.row()));
    switch (role) {
    case ValueRole:
        return rawValue(policy);
    case LabelRole:
        return displayName(policy);
    default:
        return {};
    }
}

QHash<int, QByteArray> LocalDataMigrationPolicyModel::roleNames() const
{
    return {{ValueRole, "value"}, {LabelRole, "label"}};
}
