#pragma once

#include "Features/Projects/CountedListModel.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// A list model whose rows carry an identity: publishing a new list reaches the view as the rows
// that changed, were inserted, removed or moved, so that a view keeps its delegates (and their
// focus, hover and scroll position) across a change of one project. The model resets only when
// an identity repeats or the new list has nothing in common with the old one.
template<typename Row>
class KeyedRowsModel : public CountedListModel
{
public:
    using CountedListModel::CountedListModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    const QList<Row> &rows() const { return m_rows; }
    // One row's new state, its identity unchanged.
    void updateRow(qsizetype at, const Row &row)
    {
        if (m_rows.at(at) == row)
            return;
        m_rows[at] = row;
        const QModelIndex changed = index(int(at));
        Q_EMIT dataChanged(changed, changed);
    }
    // Brings the rows to the given list, row by row where it can.
    void setRows(const QList<Row> &next)
    {
        if (publish(next))
            Q_EMIT countChanged();
    }

protected:
    virtual QString rowKey(const Row &row) const = 0;

    const Row *rowAt(const QModelIndex &index) const
    {
        return index.isValid() && index.row() < m_rows.size() ? &m_rows.at(index.row()) : nullptr;
    }

    // True when the number of rows changed.
    bool publish(const QList<Row> &next)
    {
        const qsizetype before = m_rows.size();
        if (!applyDiff(next))
            reset(next);
        return m_rows.size() != before;
    }
    // A new list as a whole, for a new source. True when the number of rows changed.
    bool reset(const QList<Row> &next)
    {
        const qsizetype before = m_rows.size();
        beginResetModel();
        m_rows = next;
        endResetModel();
        return m_rows.size() != before;
    }

private:
    bool applyDiff(const QList<Row> &next)
    {
        // The common case (a hover, a selection, one project edited): the same rows in the same
        // order, of which a few changed.
        if (m_rows.size() == next.size()) {
            bool sameOrder = true;
            for (qsizetype i = 0; i < next.size() && sameOrder; ++i)
                sameOrder = rowKey(m_rows.at(i)) == rowKey(next.at(i));
            if (sameOrder) {
                for (qsizetype i = 0; i < next.size(); ++i) {
                    if (!(m_rows.at(i) == next.at(i))) {
                        m_rows[i] = next.at(i);
                        const QModelIndex changed = index(int(i));
                        Q_EMIT dataChanged(changed, changed);
                    }
                }
                return true;
            }
        }
        QHash<QString, qsizetype> nextKeys; // key -> position in next
        nextKeys.reserve(next.size());
        for (qsizetype i = 0; i < next.size(); ++i)
            nextKeys.insert(rowKey(next.at(i)), i);
        if (nextKeys.size() != next.size())
            return false;
        QSet<QString> listed;
        listed.reserve(m_rows.size());
        bool shared = false;
        for (const Row &row : std::as_const(m_rows)) {
            const QString key = rowKey(row);
            listed.insert(key);
            shared = shared || nextKeys.contains(key);
        }
        if (listed.size() != m_rows.size() || (!shared && !m_rows.isEmpty() && !next.isEmpty()))
            return false;

        // Rows that went, in runs from the end so that earlier indices stay valid.
        for (qsizetype last = m_rows.size() - 1; last >= 0;) {
            if (nextKeys.contains(rowKey(m_rows.at(last)))) {
                --last;
                continue;
            }
            qsizetype first = last;
            while (first > 0 && !nextKeys.contains(rowKey(m_rows.at(first - 1))))
                --first;
            beginRemoveRows({}, int(first), int(last));
            for (qsizetype i = first; i <= last; ++i)
                listed.remove(rowKey(m_rows.at(i)));
            m_rows.remove(first, last - first + 1);
            endRemoveRows();
            last = first - 1;
        }

        // Then position by position: keep, move up, or insert a run of new rows.
        for (qsizetype i = 0; i < next.size();) {
            const Row &wanted = next.at(i);
            const QString wantedKey = rowKey(wanted);
            if (!listed.contains(wantedKey)) {
                qsizetype end = i + 1;
                while (end < next.size() && !listed.contains(rowKey(next.at(end))))
                    ++end;
                beginInsertRows({}, int(i), int(end - 1));
                for (qsizetype k = i; k < end; ++k) {
                    m_rows.insert(k, next.at(k));
                    listed.insert(rowKey(next.at(k)));
                }
                endInsertRows();
                i = end;
                continue;
            }
            if (rowKey(m_rows.at(i)) != wantedKey) {
                qsizetype from = i + 1;
                while (rowKey(m_rows.at(from)) != wantedKey)
                    ++from;
                if (from == i + 1) {
                    // The row in the way went down (one move) rather than all below it up.
                    const qsizetype to = qMin(nextKeys.value(rowKey(m_rows.at(i))), m_rows.size() - 1);
                    beginMoveRows({}, int(i), int(i), {}, int(to + 1));
                    m_rows.move(i, to);
                } else {
                    beginMoveRows({}, int(from), int(from), {}, int(i));
                    m_rows.move(from, i);
                }
                endMoveRows();
            }
            if (!(m_rows.at(i) == wanted)) {
                m_rows[i] = wanted;
                const QModelIndex changed = index(int(i));
                Q_EMIT dataChanged(changed, changed);
            }
            ++i;
        }
        return true;
    }

    QList<Row> m_rows;
};
