#include "ItemCulling.h"

#include <QtQuick/private/qquickitem_p.h>

namespace ItemCulling {

bool culled(const QQuickItem *item)
{
    return QQuickItemPrivate::get(item)->culled;
}

} // namespace ItemCulling
