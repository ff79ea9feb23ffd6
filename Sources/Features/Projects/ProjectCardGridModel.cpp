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
    endResetModel();
    if (source) {
        m_links.append(
            connect(source, &QAbstractItemModel::dataChanged, this, &ProjectCardGridModel::sourceDataChanged));
        m_links.append(connect(source, &QAbstractItemModel::rowsInserted, this, &ProjectCardGridModel::relayout));
        m_links.append(connect(source, &QAbstractItemModel::rowsRemoved, this, &ProjectCardGridModel::relayout));
        m_links.append(connect(source, &QAbstractItemModel::rowsMoved, this, &ProjectCardGridModel::relayout));
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
    endResetModel();
}

QPoint ProjectCardGridModel::cellOf(int index) const
{
    return index < 0 ? QPoint(-1, -1) : QPoint(index % m_columns, index / m_columns);
}

int ProjectCardGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_source)
        return 0;
    return (m_source->rowCount() + m_columns - 1) / m_columns;
}

int ProjectCardGridModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_source || m_source->rowCount() == 0)
        return 0;
    return m_columns;
}

QVariant ProjectCardGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || !m_source)
        return {};
    const int at = index.row() * m_columns + index.column();
    if (at < m_source->rowCount())
        return m_source->data(m_source->index(at, 0), role);
    // An empty cell: the type of the role's value in the first card, with nothing in it.
    const QVariant sample = m_source->data(m_source->index(0, 0), role);
    return sample.isValid() ? QVariant(sample.metaType()) : QVariant();
}

QHash<int, QByteArray> ProjectCardGridModel::roleNames() const
{
    return m_source ? m_source->roleNames() : QHash<int, QByteArray>{};
}

void ProjectCardGridModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    for (int at = topLeft.row(); at <= bottomRight.row(); ++at) {
        const QModelIndex cell = index(at / m_columns, at % m_columns);
        Q_EMIT dataChanged(cell, cell);
    }
}
