#include "AccessibleState.h"

#include <QAccessible>
#include <QQmlEngine>

AccessibleState::AccessibleState(QObject *attachee)
    : QObject(attachee)
{
}

AccessibleState *AccessibleState::qmlAttachedProperties(QObject *object)
{
    return new AccessibleState(object);
}

const AccessibleState *AccessibleState::of(const QObject *item)
{
    return qobject_cast<const AccessibleState *>(
        qmlAttachedPropertiesObject<AccessibleState>(const_cast<QObject *>(item), false));
}

void AccessibleState::setExpandable(bool expandable)
{
    if (m_expandable == expandable)
        return;
    m_expandable = expandable;
    announce(true, false);
    Q_EMIT expandableChanged();
}

void AccessibleState::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    announce(false, true);
    Q_EMIT expandedChanged();
}

void AccessibleState::setRole(int role)
{
    if (m_role == role)
        return;
    m_role = role;
    Q_EMIT roleChanged();
}

void AccessibleState::announce(bool expandable, bool expanded)
{
    if (!QAccessible::isActive() || !parent())
        return;
    QAccessible::State changed;
    changed.expandable = expandable;
    changed.expanded = expanded;
    changed.collapsed = expanded;
    QAccessibleStateChangeEvent event(parent(), changed);
    QAccessible::updateAccessibility(&event);
}
