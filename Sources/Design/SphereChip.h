#pragma once

#include <QMetaType>
#include <QString>

// One chip of the sphere picker: a catalog sphere as the row shows it.
struct SphereChip
{
    Q_GADGET
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString name MEMBER name CONSTANT)
    Q_PROPERTY(QString icon MEMBER icon CONSTANT)

public:
    QString id;
    QString name;
    QString icon; // empty when the sphere has none

    bool operator==(const SphereChip &other) const = default;
};

Q_DECLARE_METATYPE(SphereChip)
