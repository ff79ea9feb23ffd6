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

// How many items of the tree have a name that begins with the prefix: the rows a list has made.
inline int countItems(QQuickItem *item, QLatin1String prefix)
{
    int count = item->objectName().startsWith(prefix) ? 1 : 0;
    for (QQuickItem *child : item->childItems())
        count += countItems(child, prefix);
    return count;
}
