#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Put once in a window: a control that loses the keyboard focus because it is disabled while its
// work runs (a busy button) gets the focus back, with its ring if it showed one, once it is
// enabled again; unless the focus went to another control meanwhile.
class FocusKeeper : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit FocusKeeper(QQuickItem *parent = nullptr);

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void watch(QQuickWindow *window);
    void focusChanged();
    void wait(QQuickItem *item, bool ring);
    void stopWaiting();
    void enabledChanged();
    // No control has the focus: none at all, the window's root, or a scope around the control.
    bool focusIsAbove(const QQuickItem *control) const;

    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_focusConnection;
    QPointer<QQuickItem> m_focused;
    bool m_focusedShowsRing = false;
    QPointer<QQuickItem> m_waiting;
    bool m_waitingRing = false;
    QMetaObject::Connection m_enabledConnection;
};
