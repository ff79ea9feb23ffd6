#include "Features/Projects/ProjectCardGridModel.h"

void ProjectCardGridModel::setSource(QAbstractItemModel *source)
{
    if (m_source == source)
        return;
    for (const QMetaObject::Connection &link : std::as_const(m_links))
        disconnect(link);
    m_links.clear();
    beginResetModel();
    m_source = source;
    m_count = source ? source->rowCount() : 0;
    endResetModel();
    if (source) {
        m_links.append(
            connect(source, &QAbstractItemModel::dataChanged, this, &ProjectCardGridModel::sourceDataChanged));
        // Cards added, removed or moved shift the cards after them by cells: the rows at the end
        // come or go, and the cells from the first one touched on take their new cards, so that
        // the view keeps the items it has.
        m_links.append(connect(source, &QAbstractItemModel::rowsInserted, this,
                               [this](const QModelIndex &, int first, int) { shift(first); }));
        m_links.append(connect(source, &QAbstractItemModel::rowsRemoved, this,
                               [this](const QModelIndex &, int first, int) { shift(first); }));
        m_links.append(connect(source, &QAbstractItemModel::rowsMoved, this,
                               [this](const QModelIndex &, int from, int to, const QModelIndex &, int at) {
                                   shift(std::min(from, at));
                                   Q_UNUSED(to)
                               }));
        m_links.append(connect(source, &QAbstractItemModel::modelReset, this, &ProjectCardGridModel::relayout));
        m_links.append(connect(source, &QAbstractItemModel::layoutChanged, this, &ProjectCardGridModel::relayout));
    }
    Q_EMIT sourceChanged();
}

void ProjectCardGridModel::setColumns(int columns)
{
    columns = std::max(1, columns);
    if (m_columns == columns)
        return;
    beginResetModel();
    m_columns = columns;
    endResetModel();
    Q_EMIT columnsChanged();
}

void ProjectCardGridModel::relayout()
{
    beginResetModel();
    m_count = m_source ? m_source->rowCount() : 0;
    endResetModel();
}

int ProjectCardGridModel::rowsFor(int cards) const
{
    return (cards + m_columns - 1) / m_columns;
}

void ProjectCardGridModel::shift(int firstCard)
{
    const int count = m_source ? m_source->rowCount() : 0;
    const int before = rowsFor(m_count);
    const int after = rowsFor(count);
    if (after > before) {
        beginInsertRows({}, before, after - 1);
        m_count = count;
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows({}, after, before - 1);
        m_count = count;
        endRemoveRows();
    } else {
        m_count = count;
    }
    const int firstRow = std::max(0, firstCard) / m_columns;
    if (firstRow < after)
        Q_EMIT dataChanged(index(firstRow, 0), index(after - 1, m_columns - 1));
}

QPoint ProjectCardGridModel::cellOf(int index) const
{
    return index < 0 ? QPoint(-1, -1) : QPoint(index % m_columns, index / m_columns);
}

int ProjectCardGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rowsFor(m_count);
}

int ProjectCardGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant ProjectCardGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_source)
        return {};
    const int at = index.row() * m_columns + index.column();
    if (at < m_count && at < m_source->rowCount())
        return m_source->data(m_source->index(at, 0), role);
    // An empty cell: the type of the role's value in the first card, with nothing in it.
    const QVariant sample = m_source->rowCount() > 0 ? m_source->data(m_source->index(0, 0), role) : QVariant();
    return sample.isValid() ? QVariant(sample.metaType()) : QVariant(QString());
}

QHash<int, QByteArray> ProjectCardGridModel::roleNames() const
{
    return m_source ? m_source->roleNames() : QHash<int, QByteArray>{};
}

void ProjectCardGridModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    for (int at = topLeft.row(); at <= bottomRight.row() && at < m_count; ++at) {
        const QModelIndex cell = index(at / m_columns, at % m_columns);
        Q_EMIT dataChanged(cell, cell);
    }
}
