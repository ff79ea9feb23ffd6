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

    // The ring's frame in the element's own coordinates: 6 points outside the element.
    static QRectF ringFrame(const QSizeF &elementSize);

    // The hole in the scrim's coordinates, or none for an absent frame or one whose width or
    // height is 1 point or less (collapsed or not laid out yet).
    static std::optional<QRectF> scrimHole(const std::optional<QRectF> &cutoutInGlobal,
                                           const QPointF &scrimOriginInGlobal);

    // The dimmed area: the whole scrim minus the rounded hole, to fill with the odd-even rule.
    static QPainterPath scrimPath(const QSizeF &scrimSize, const std::optional<QRectF> &hole);
};
