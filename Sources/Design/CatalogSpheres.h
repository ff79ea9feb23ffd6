#pragma once

#include "SphereChip.h"

#include <QList>
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The catalog's spheres in the picker's order: ascending sortOrder, file order among equals.
// Read anew on each call; an unavailable catalog gives no spheres.
class CatalogSpheres : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    static QList<SphereChip> chips();

    // The chips as gadgets for a Repeater.
    Q_INVOKABLE QVariantList list() const;
};
