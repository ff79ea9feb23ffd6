#pragma once

#include <QAccessible>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// What a screen reader needs that QML's Accessible cannot say in this Qt: whether an item opens
// and closes something below it (a drop-down, a tree's row) and whether it is open now
// (`AccessibleState.expandable: true; AccessibleState.expanded: isOpen`; a change is announced to
// readers that listen); whether a dialog that is no popup (the tour's card) keeps the window
// under it from input; and a role that sticks: a stock control puts its own role back over
// `Accessible.role` whenever a reader starts (`AccessibleState.role: Accessible.ComboBox`).
// Read by QuickItemAccessible.
class AccessibleState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("AccessibleState is an attached property")
    QML_ATTACHED(AccessibleState)

    Q_PROPERTY(bool expandable READ expandable WRITE setExpandable NOTIFY expandableChanged FINAL)
    Q_PROPERTY(bool expanded READ expanded WRITE setExpanded NOTIFY expandedChanged FINAL)
    Q_PROPERTY(bool modal READ modal WRITE setModal NOTIFY modalChanged FINAL)
    // A QAccessible::Role; none (0) leaves the item's own.
    Q_PROPERTY(int role READ role WRITE setRole NOTIFY roleChanged FINAL)

public:
    explicit AccessibleState(QObject *attachee);

    static AccessibleState *qmlAttachedProperties(QObject *object);
    // The item's attached states, when it has any; null otherwise.
    static const AccessibleState *of(const QObject *item);

    bool expandable() const { return m_expandable; }
    void setExpandable(bool expandable);
    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    bool modal() const { return m_modal; }
    void setModal(bool modal);
    int role() const { return m_role; }
    void setRole(int role);

Q_SIGNALS:
    void expandableChanged();
    void expandedChanged();
    void modalChanged();
    void roleChanged();

private:
    // A reader that keeps what it has read learns of the change.
    void announce(const QAccessible::State &changed);

    bool m_expandable = false;
    bool m_expanded = false;
    bool m_modal = false;
    int m_role = 0;
};
