#include "SpotlightGeometry.h"

QRectF SpotlightGeometry::ringFrame(const QSizeF &elementSize)
{
    return QRectF(QPointF(0, 0), elementSize).adjusted(-RingOutset, -RingOutset, RingOutset, RingOutset);
}

std::optional<QRectF> SpotlightGeometry::scrimHole(const std::optional<QRectF> &cutoutInGlobal,
                                                   const QPointF &scrimOriginInGlobal)
{
    if (!cutoutInGlobal)
        return std::nullopt;
    // Written as negations so that NaN sizes also give no hole.
    if (!(cutoutInGlobal->width() > 1) || !(cutoutInGlobal->height() > 1))
        return std::nullopt;
    return cutoutInGlobal->adjusted(-HoleOutset, -HoleOutset, HoleOutset, HoleOutset).translated(-scrimOriginInGlobal);
}

QPainterPath SpotlightGeometry::scrimPath(const QSizeF &scrimSize, const std::optional<QRectF> &hole)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(QRectF(QPointF(0, 0), scrimSize));
    if (hole)
        path.addRoundedRect(*hole, HoleCornerRadius, HoleCornerRadius);
    return path;
}
