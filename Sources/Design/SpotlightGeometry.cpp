#include "SpotlightGeometry.h"

#include <algorithm>

QRectF SpotlightGeometry::ringFrame(const QSizeF &elementSize)
{
    return QRectF(QPointF(0, 0), elementSize).adjusted(-RingOutset, -RingOutset, RingOutset, RingOutset);
}

QRectF SpotlightGeometry::ringFrame(const QSizeF &elementSize, const QRectF &elementInWindow, const QSizeF &windowSize)
{
    const QRectF frame = ringFrame(elementSize);
    const QRectF window = QRectF(-elementInWindow.topLeft(), windowSize)
                              .adjusted(RingEdgeInset, RingEdgeInset, -RingEdgeInset, -RingEdgeInset);
    const QRectF kept = frame.intersected(window);
    return kept.width() > 2 * RingCornerRadius && kept.height() > 2 * RingCornerRadius ? kept : frame;
}

QRectF SpotlightGeometry::cardFrame(const std::optional<QRectF> &target, const QSizeF &card, const QSizeF &area)
{
    const auto clamp = [&](qreal value, qreal size, qreal extent) {
        return std::max(CardGap, std::min(value, extent - size - CardGap));
    };
    if (!target || !(target->width() > 1) || !(target->height() > 1))
        return QRectF(QPointF((area.width() - card.width()) / 2, (area.height() - card.height()) / 2), card);
    const QRectF hole = target->adjusted(-HoleOutset, -HoleOutset, HoleOutset, HoleOutset);
    const qreal centreX = clamp(hole.center().x() - card.width() / 2, card.width(), area.width());
    const qreal centreY = clamp(hole.center().y() - card.height() / 2, card.height(), area.height());
    struct Side
    {
        qreal room;
        qreal need;
        QPointF at;
    };
    const Side sides[] = {
        {area.height() - hole.bottom(), card.height(), QPointF(centreX, hole.bottom() + CardGap)},
        {hole.top(), card.height(), QPointF(centreX, hole.top() - CardGap - card.height())},
        {area.width() - hole.right(), card.width(), QPointF(hole.right() + CardGap, centreY)},
        {hole.left(), card.width(), QPointF(hole.left() - CardGap - card.width(), centreY)},
    };
    const Side *best = &sides[0];
    for (const Side &side : sides) {
        if (side.room >= side.need + 2 * CardGap)
            return QRectF(side.at, card);
        if (side.room - side.need > best->room - best->need)
            best = &side;
    }
    const QPointF at(clamp(best->at.x(), card.width(), area.width()),
                     clamp(best->at.y(), card.height(), area.height()));
    return QRectF(at, card);
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
