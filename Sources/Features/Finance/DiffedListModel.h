#pragma once

#include <QAbstractListModel>
#include <QList>
#include <algorithm>

// A list model over plain rows that takes a whole new list and tells the view only what
// changed: rows kept at both ends are updated in place, the differing middle is removed and
// inserted. `same` says whether two rows stand for the same item; `Row` compares whole.
template<typename Row>
class DiffedListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    const QList<Row> &rows() const { return m_rows; }

protected:
    template<typename Same>
    void replaceRows(QList<Row> next, Same same)
    {
        const qsizetype shared = std::min(m_rows.size(), next.size());
        qsizetype head = 0;
        while (head < shared && same(m_rows.at(head), next.at(head)))
            ++head;
        qsizetype tail = 0;
        while (tail < shared - head && same(m_rows.at(m_rows.size() - 1 - tail), next.at(next.size() - 1 - tail)))
            ++tail;

        const qsizetype oldMiddle = m_rows.size() - head - tail;
        const qsizetype newMiddle = next.size() - head - tail;
        if (oldMiddle > 0) {
            beginRemoveRows({}, int(head), int(head + oldMiddle - 1));
            m_rows.remove(head, oldMiddle);
            endRemoveRows();
        }
        if (newMiddle > 0) {
            beginInsertRows({}, int(head), int(head + newMiddle - 1));
            for (qsizetype i = 0; i < newMiddle; ++i)
                m_rows.insert(head + i, next.at(head + i));
            endInsertRows();
        }
        for (qsizetype i = 0; i < m_rows.size(); ++i) {
            if (m_rows.at(i) == next.at(i))
                continue;
            m_rows[i] = next.at(i);
            const QModelIndex changed = index(int(i));
            Q_EMIT dataChanged(changed, changed);
        }
        // The same rows by now: the caller's list is kept, which whoever read it may share.
        m_rows = std::move(next);
    }

private:
    QList<Row> m_rows;
};
