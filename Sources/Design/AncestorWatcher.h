#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQuickItem>

// Follows the chain of ancestors from which an item inherits values (its visual parents, and
// from a popup or a child window on to the item that declared it) and reports when any link of
// the chain changes, or when somewhere a provider of inherited values appears or goes away.
class AncestorWatcher : public QObject
{
    Q_OBJECT

public:
    explicit AncestorWatcher(QQuickItem *item, QObject *parent = nullptr);

    // The next link above `item`, or null at the top.
    static QQuickItem *nextAncestor(QQuickItem *item);

    // The nearest ancestor (the item itself excluded) that satisfies `test`, or null.
    template<typename Test>
    QQuickItem *findAncestor(Test test) const
    {
        for (QQuickItem *a = m_item ? nextAncestor(m_item) : nullptr; a; a = nextAncestor(a)) {
            if (test(a))
                return a;
        }
        return nullptr;
    }

    QList<QQuickItem *> ancestors() const;

    // Providers (readers, writers, collectors) call this when they start or stop providing,
    // and `providerGoing` from their destructors.
    static void providersChanged();
    static void providerGoing();

Q_SIGNALS:
    void chainChanged();

private:
    void rewire();

    QPointer<QQuickItem> m_item;
    QList<QMetaObject::Connection> m_links;
};
