#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// What a screen reader needs that QML's Accessible cannot say in this Qt: whether an item opens
// and closes something below it (a drop-down, a fold) and whether it is open now
// (`AccessibleState.expandable: true; AccessibleState.expanded: isOpen`; a change is announced to
// readers that listen), and a role that sticks: a stock control puts its own role back over
// `Accessible.role` whenever a reader starts (`AccessibleState.role: Accessible.ComboBox`).
class AccessibleState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("AccessibleState is an attached property")
    QML_ATTACHED(AccessibleState)

    Q_PROPERTY(bool expandable READ expandable WRITE setExpandable NOTIFY expandableChanged FINAL)
    Q_PROPERTY(bool expanded READ expanded WRITE setExpanded NOTIFY expandedChanged FINAL)
    // A QAccessible::Role; none (0) leaves the item's own.
    Q_PROPERTY(int role READ role WRITE setRole NOTIFY roleChanged FINAL)

public:
    explicit AccessibleState(QObject *attachee);

    static AccessibleState *qmlAttachedProperties(QObject *object);
    // The item's attached states, when it has any.
    static const AccessibleState *of(const QObject *item);

    bool expandable() const { return m_expandable; }
    void setExpandable(bool expandable);
    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    int role() const { return m_role; }
    void setRole(int role);

Q_SIGNALS:
    void expandableChanged();
    void expandedChanged();
    void roleChanged();

private:
    void announce(bool expandable, bool expanded);

    bool m_expandable = false;
    bool m_expanded = false;
    int m_role = 0;
};
