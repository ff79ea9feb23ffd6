#pragma once

#include <QAccessible>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// States a reader needs that Qt's `Accessible` cannot set in this Qt: whether an item (a tree's
// row) unfolds and whether it is unfolded, and whether a dialog that is no popup (the tour's
// card) keeps the window under it from input. Read by QuickItemAccessible.
class AccessibleState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("AccessibleState is an attached property")
    QML_ATTACHED(AccessibleState)

    Q_PROPERTY(bool expandable READ expandable WRITE setExpandable NOTIFY expandableChanged)
    Q_PROPERTY(bool expanded READ expanded WRITE setExpanded NOTIFY expandedChanged)
    Q_PROPERTY(bool modal READ modal WRITE setModal NOTIFY modalChanged)

public:
    explicit AccessibleState(QObject *attachee);

    static AccessibleState *qmlAttachedProperties(QObject *object);
    // The item's states, when it has any set; null otherwise.
    static AccessibleState *of(QObject *item);

    bool expandable() const { return m_expandable; }
    void setExpandable(bool expandable);
    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    bool modal() const { return m_modal; }
    void setModal(bool modal);

Q_SIGNALS:
    void expandableChanged();
    void expandedChanged();
    void modalChanged();

private:
    // A reader that keeps what it has read learns of the change.
    void announce(const QAccessible::State &changed);

    bool m_expandable = false;
    bool m_expanded = false;
    bool m_modal = false;
};
