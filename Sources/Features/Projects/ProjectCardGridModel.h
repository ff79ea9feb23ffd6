#pragma once

#include <QAbstractTableModel>
#include <QPoint>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The guest cards laid out as a table of `columns` columns, row after row, so that a table view
// can give each row of the grid the height of its tallest card. Cells past the last card are
// empty (an empty identity). A card that changes reaches the view as its one cell; a card added,
// removed or moved reaches it as the cells from there on, with rows added or taken at the end;
// a new column count or a new source lays the table out again.
class ProjectCardGridModel : public QAbstractTableModel
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QAbstractItemModel *source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(int columns READ columns WRITE setColumns NOTIFY columnsChanged)

public:
    using QAbstractTableModel::QAbstractTableModel;

    QAbstractItemModel *source() const { return m_source; }
    void setSource(QAbstractItemModel *source);
    int columns() const { return m_columns; }
    void setColumns(int columns);

    // The cell of the card at `index` in the source: x the column, y the row.
    Q_INVOKABLE QPoint cellOf(int index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void sourceChanged();
    void columnsChanged();

private:
    void relayout();
    void shift(int firstCard);
    int rowsFor(int cards) const;
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    QPointer<QAbstractItemModel> m_source;
    int m_columns = 1;
    int m_count = 0; // the source's cards as the view knows them
    QList<QMetaObject::Connection> m_links;
};
