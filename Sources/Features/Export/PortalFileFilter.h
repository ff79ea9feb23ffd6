#pragma once

#include "PortalFilterRule.h"

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// A named file filter of the desktop's file dialog ("PDF": *.pdf, application/pdf). On the bus a
// (sa(us)) structure.
struct PortalFileFilter
{
    QString name;
    QList<PortalFilterRule> rules;

    friend bool operator==(const PortalFileFilter &, const PortalFileFilter &) = default;
};

inline QDBusArgument &operator<<(QDBusArgument &argument, const PortalFileFilter &filter)
{
    argument.beginStructure();
    argument << filter.name << filter.rules;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFileFilter &filter)
{
    argument.beginStructure();
    argument >> filter.name >> filter.rules;
    argument.endStructure();
    return argument;
}

Q_DECLARE_METATYPE(PortalFileFilter)
