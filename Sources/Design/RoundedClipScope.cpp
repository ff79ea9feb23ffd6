#include "RoundedClipScope.h"

#include <QtQuick/private/qquickclipnode_p.h>
#include <QtQuick/private/qquickitem_p.h>

#include <algorithm>
#include <cmath>

RoundedClipScope::RoundedClipScope(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemIsFocusScope);
    // No content of its own: the flag has the scene graph ask it for its clip's corners.
    setFlag(ItemHasContents);
    setClip(true);
}

void RoundedClipScope::setRadius(qreal radius)
{
    if (!std::isfinite(radius))
        radius = 0;
    radius = std::max<qreal>(0, radius);
    if (m_radius == radius)
        return;
    m_radius = radius;
    update();
    Q_EMIT radiusChanged();
}

QSGNode *RoundedClipScope::updatePaintNode(QSGNode *node, UpdatePaintNodeData *)
{
    // The item's clip node is made before its content is asked for; it keeps the radius when the
    // scene graph sets its rectangle anew for a new size.
    if (QQuickDefaultClipNode *clip = QQuickItemPrivate::get(this)->clipNode()) {
        const qreal radius = std::min({m_radius, width() / 2, height() / 2});
        if (clip->radius() != radius) {
            clip->setRadius(radius);
            clip->update();
        }
    }
    return node;
}

void RoundedClipScope::itemChange(ItemChange change, const ItemChangeData &value)
{
    // In a new window the item gets a new clip node, without corners.
    if (change == ItemSceneChange)
        update();
    QQuickItem::itemChange(change, value);
}

void RoundedClipScope::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    // The corners take at most half a side.
    if (newGeometry.size() != oldGeometry.size())
        update();
    QQuickItem::geometryChange(newGeometry, oldGeometry);
}
