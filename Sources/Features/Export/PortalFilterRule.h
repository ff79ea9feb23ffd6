#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// One pattern of a file filter offered in the desktop's file dialog: a glob such as "*.pdf" or a
// MIME type. On the bus a (us) structure.
struct PortalFilterRule
{
    enum Kind : uint { Glob = 0, MimeType = 1 };

    uint kind = Glob;
    QString pattern;

    friend bool operator==(const PortalFilterRule &, const PortalFilterRule &) = default;
};

inline QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilterRule &rule)
{
    argument.beginStructure();
    argument << rule.kind << rule.pattern;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilterRule &rule)
{
    argument.beginStructure();
    argument >> rule.kind >> rule.pattern;
    argument.endStructure();
    return argument;
}

Q_DECLARE_METATYPE(PortalFilterRule)
