#pragma once

#include <QQuickItem>
#include <QString>

// Items made by delegates have a visual parent only, out of reach of findChild: this search
// follows the item tree instead.
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
