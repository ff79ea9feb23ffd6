#pragma once

#include <QQuickItem>
#include <QString>

// The first item named `name` in the visual tree below `item` (itself included). Delegates and
// what loaders make are visual children only, out of reach of findChild.
inline QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}
