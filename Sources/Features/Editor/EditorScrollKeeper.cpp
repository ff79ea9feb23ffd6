#include "EditorScrollKeeper.h"

#include <algorithm>
#include <cmath>

EditorScrollKeeper::EditorScrollKeeper(QObject *parent)
    : QObject(parent)
{
}

double EditorScrollKeeper::autoScrollStep(double pointerY, double height)
{
    if (!std::isfinite(pointerY) || !(height > 0))
        return 0;
    if (pointerY < DragEdge)
        return -std::ceil((DragEdge - std::max(0.0, pointerY)) / 3);
    if (pointerY > height - DragEdge)
        return std::ceil((std::min(height, pointerY) - height + DragEdge) / 3);
    return 0;
}

double EditorScrollKeeper::autoScrolledY(double contentY, double step, Extent extent, double anchorY, double reach)
{
    if (step == 0)
        return contentY;
    const double wanted = std::min({extent.bottom, anchorY + reach, contentY + step});
    return std::max({extent.top, anchorY - reach, wanted});
}

EditorScrollKeeper::Extent EditorScrollKeeper::extentOf(const QQuickItem *flickable)
{
    const double origin = flickable->property("originY").toDouble();
    const double top = origin - flickable->property("topMargin").toDouble();
    const double bottom = origin + flickable->property("contentHeight").toDouble()
        + flickable->property("bottomMargin").toDouble() - flickable->height();
    return {top, std::max(top, bottom)};
}

bool EditorScrollKeeper::autoScroll(QQuickItem *list, double pointerY, double anchorY) const
{
    if (!list)
        return false;
    const double step = autoScrollStep(pointerY, list->height());
    if (step == 0)
        return false;
    const double contentY = list->property("contentY").toDouble();
    // The list keeps rows built this far around the view; the dragged line stays among them.
    const double reach = list->property("cacheBuffer").toDouble() * 0.75;
    const double next = autoScrolledY(contentY, step, extentOf(list), anchorY, reach);
    if (next == contentY)
        return false;
    list->setProperty("contentY", next);
    return true;
}

bool EditorScrollKeeper::wasAtTop(double contentY, double headerY, double height, double previousHeight)
{
    // Placed anew, the header's old top is as far below its new one as it grew.
    return contentY <= std::max(headerY, headerY + height - previousHeight) + 1;
}

void EditorScrollKeeper::noteHeader(double offset)
{
    forget();
    m_onHeader = true;
    m_offset = offset;
}

void EditorScrollKeeper::noteLine(const QString &lineId, int row, double offset)
{
    forget();
    m_lineId = lineId;
    m_row = row;
    m_offset = offset;
}

void EditorScrollKeeper::forget()
{
    m_onHeader = false;
    m_lineId.clear();
    m_row = -1;
    m_offset = 0;
}

int EditorScrollKeeper::rowToRestore(EstimateSectionsModel *sections) const
{
    if (m_onHeader || m_lineId.isEmpty() || !sections)
        return -1;
    const int row = sections->rowOfLine(m_lineId);
    if (row >= 0)
        return row;
    return m_row < sections->count() ? m_row : -1;
}
