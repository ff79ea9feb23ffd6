#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

// Where the tour's ring and the scrim's hole go, as pure functions of the lit element's frame.
class SpotlightGeometry
{
public:
    SpotlightGeometry() = delete;

    static constexpr qreal RingOutset = 6;
    static constexpr qreal RingCornerRadius = 10;
    static constexpr qreal RingLineWidth = 3;
    static constexpr qreal HoleOutset = 8;
    static constexpr qreal HoleCornerRadius = 12;

    static constexpr qreal RingEdgeInset = 4;
    static constexpr qreal CardGap = 16;

    // The ring's frame in the element's own coordinates: 6 points outside the element.
    static QRectF ringFrame(const QSizeF &elementSize);
    // The same, kept RingEdgeInset inside the window where the element reaches its edges, so
    // that the whole ring shows.
    static QRectF ringFrame(const QSizeF &elementSize, const QRectF &elementInWindow, const QSizeF &windowSize);

    // Where the tour's card of the given size goes in an area: beside the lit frame (below,
    // above, right or left, the first side with room for it), never over it; centred when
    // nothing is lit; on the roomiest side, kept inside the area, when no side has room.
    static QRectF cardFrame(const std::optional<QRectF> &target, const QSizeF &card, const QSizeF &area);

    // The hole in the scrim's coordinates, or none for an absent frame or one whose width or
    // height is 1 point or less (collapsed or not laid out yet).
    static std::optional<QRectF> scrimHole(const std::optional<QRectF> &cutoutInGlobal,
                                           const QPointF &scrimOriginInGlobal);

    // The dimmed area: the whole scrim minus the rounded hole, to fill with the odd-even rule.
    static QPainterPath scrimPath(const QSizeF &scrimSize, const std::optional<QRectF> &hole);
};
