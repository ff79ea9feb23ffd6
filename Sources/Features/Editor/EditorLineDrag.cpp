#include "EditorLineDrag.h"

#include "EstimateSectionsModel.h"

#include <algorithm>

EditorLineDrag::EditorLineDrag(QObject *parent)
    : QObject(parent)
{
}

void EditorLineDrag::setScreen(ProjectEditorScreenModel *screen)
{
    if (m_screen == screen)
        return;
    cancel();
    for (const QMetaObject::Connection &link : std::as_const(m_modelLinks))
        disconnect(link);
    m_modelLinks.clear();
    m_screen = screen;
    if (screen) {
        // Rows that come, go or move under a drag no longer mean what they did.
        const EstimateSectionsModel *model = screen->editor()->sections();
        m_modelLinks = {connect(model, &QAbstractItemModel::modelReset, this, &EditorLineDrag::cancel),
                        connect(model, &QAbstractItemModel::rowsRemoved, this, &EditorLineDrag::cancel),
                        connect(model, &QAbstractItemModel::rowsInserted, this, &EditorLineDrag::cancel),
                        connect(model, &QAbstractItemModel::rowsMoved, this, &EditorLineDrag::cancel)};
    }
    Q_EMIT screenChanged();
}

bool EditorLineDrag::movable() const
{
    return m_screen && m_screen->editor()->groupMode() == EstimateGroupMode::Category;
}

void EditorLineDrag::begin(int row, double extent)
{
    const auto [first, last] =
        m_screen ? m_screen->editor()->sections()->sectionRows(row) : std::pair<int, int>{-1, -1};
    if (first < 0) {
        cancel();
        return;
    }
    m_fromRow = m_toRow = row;
    m_firstRow = first;
    m_lastRow = last;
    m_extent = std::max(0.0, extent);
    Q_EMIT changed();
}

void EditorLineDrag::hover(int row)
{
    if (!active() || row < 0 || !movable())
        return;
    const int landing = std::clamp(row, m_firstRow, m_lastRow);
    if (landing == m_toRow)
        return;
    m_toRow = landing;
    Q_EMIT changed();
}

double EditorLineDrag::shiftOf(int row) const
{
    if (!active() || row == m_fromRow)
        return 0;
    if (m_toRow > m_fromRow && row > m_fromRow && row <= m_toRow)
        return -m_extent;
    if (m_toRow < m_fromRow && row >= m_toRow && row < m_fromRow)
        return m_extent;
    return 0;
}

bool EditorLineDrag::drop()
{
    const int from = m_fromRow;
    const int to = m_toRow;
    const bool moves = active() && from != to && movable();
    // The gap closes with the move, in one frame.
    const bool moved = moves && m_screen->moveLine(from, to);
    cancel();
    return moved;
}

void EditorLineDrag::cancel()
{
    if (!active())
        return;
    m_fromRow = m_toRow = m_firstRow = m_lastRow = -1;
    m_extent = 0;
    Q_EMIT changed();
}
