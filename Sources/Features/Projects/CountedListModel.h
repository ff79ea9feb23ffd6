#pragma once

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

// A list model that tells QML its number of rows as `count`.
class CountedListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    using QAbstractListModel::QAbstractListModel;

    int count() const { return rowCount(); }

Q_SIGNALS:
    void countChanged();
};
