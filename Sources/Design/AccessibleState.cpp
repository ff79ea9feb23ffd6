#include "AccessibleState.h"

#include <QtQml/qqml.h>

namespace {

QAccessible::State unfolding()
{
    QAccessible::State changed;
    changed.expandable = true;
    changed.expanded = true;
    changed.collapsed = true;
    return changed;
}

} // namespace

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
    Q_EMIT expandableChanged();
    announce(unfolding());
}

void AccessibleState::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    Q_EMIT expandedChanged();
    announce(unfolding());
}

void AccessibleState::setModal(bool modal)
{
    if (m_modal == modal)
        return;
    m_modal = modal;
    Q_EMIT modalChanged();
    QAccessible::State changed;
    changed.modal = true;
    announce(changed);
}

void AccessibleState::setRole(int role)
{
    if (m_role == role)
        return;
    m_role = role;
    Q_EMIT roleChanged();
}

void AccessibleState::announce(const QAccessible::State &changed)
{
    if (!QAccessible::isActive() || !parent())
        return;
    QAccessibleStateChangeEvent event(parent(), changed);
    QAccessible::updateAccessibility(&event);
}
