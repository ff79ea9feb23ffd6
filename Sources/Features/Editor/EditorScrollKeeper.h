#pragma once

#include "EstimateSectionsModel.h"

#include <QObject>
#include <QQuickItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The editor list's place: kept across a rebuild of its rows (a regrouping, a reload that moved
// lines), and moved while a dragged line is held near its top or bottom edge.
class EditorScrollKeeper : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // How near an edge (in points) the pointer scrolls the list while it drags a line.
    Q_PROPERTY(double dragEdge READ dragEdge CONSTANT)

public:
    // A Flickable's vertical extent: the lowest and highest contentY it rests at.
    struct Extent
    {
        double top = 0;
        double bottom = 0;
    };

    explicit EditorScrollKeeper(QObject *parent = nullptr);

    static constexpr double DragEdge = 48;
    double dragEdge() const { return DragEdge; }

    // The scroll of one tick with the pointer at y in a view `height` high: towards the edge it
    // is near, faster the nearer (a third of the way into the edge band), 0 away from the edges.
    static double autoScrollStep(double pointerY, double height);
    // Where one tick puts contentY: by the step, within the extent, and no further than `reach`
    // from the dragged line at `anchorY`, which the list must keep built.
    static double autoScrolledY(double contentY, double step, Extent extent, double anchorY, double reach);
    static Extent extentOf(const QQuickItem *flickable);

    // One tick of the scroll under a dragged line at anchorY (in the list's content) with the
    // pointer at pointerY (in the list); true when the list moved.
    Q_INVOKABLE bool autoScroll(QQuickItem *list, double pointerY, double anchorY) const;

    // Whether a list showed the top of its header before the header went from previousHeight to
    // height, growing or shrinking at its top: the list may have placed the header anew (at
    // headerY) or not yet, so either place counts.
    Q_INVOKABLE static bool wasAtTop(double contentY, double headerY, double height, double previousHeight);

    // What was first in view before a rebuild: the header with its top that far from the view's
    // top, or a line (by identity, and its row) with its top that far.
    Q_INVOKABLE void noteHeader(double offset);
    Q_INVOKABLE void noteLine(const QString &lineId, int row, double offset);
    // Nothing to put back.
    Q_INVOKABLE void forget();
    Q_INVOKABLE bool onHeader() const { return m_onHeader; }
    // The row to put back after the rebuild: the noted line's row, else the noted row while the
    // list still has it; -1 for none (and for the header).
    Q_INVOKABLE int rowToRestore(EstimateSectionsModel *sections) const;
    // The contentY that draws an item whose top is at itemY where the noted one was.
    Q_INVOKABLE double contentYFor(double itemY) const { return itemY - m_offset; }

private:
    bool m_onHeader = false;
    QString m_lineId;
    int m_row = -1;
    double m_offset = 0;
};
