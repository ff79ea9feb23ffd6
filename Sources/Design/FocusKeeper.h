#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Put once in a window: the keys always have a place there. When the control that had them goes
// (removed, hidden, or its sheet or menu closed) and no control took them, they land, once what
// the action changed has settled, on the top-most open popup's first control (its `firstControl`
// when it declares one), else where the screen shown starts them: `home`'s `focusFirstControl()`.
// A control disabled while its work runs (a busy button) gets them back, with its ring if it
// showed one or a key was pressed meanwhile, once it is enabled again, unless another control
// took them meanwhile; a view that parked them while it reloads (FocusLanding::park) keeps them.
class FocusKeeper : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    // The screen shown, whose `focusFirstControl()` puts the keys where it starts them.
    Q_PROPERTY(QQuickItem *home READ home WRITE setHome NOTIFY homeChanged)

public:
    explicit FocusKeeper(QQuickItem *parent = nullptr);
    ~FocusKeeper() override;

    QQuickItem *home() const { return m_home; }
    void setHome(QQuickItem *home);

    // The window's keeper, or null.
    static FocusKeeper *of(const QQuickWindow *window);
    // Once what changes now has settled, lands the keys if no control has them.
    void recheck();
    // Lands them now if no control has them, as the window's next frame would.
    void settle();
    // The disabled control the keys wait to go back to, or null.
    QQuickItem *waitingOn() const { return m_waiting; }

Q_SIGNALS:
    void homeChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void updatePolish() override;

private:
    void watch(QQuickWindow *window);
    void focusChanged();
    // On the first control of the top-most open popup, else of the screen shown.
    void landOnFirstControl();
    void wait(QQuickItem *item, bool ring);
    void stopWaiting();
    void enabledChanged();
    // No control has the focus: none at all, the window's root, or a scope around the control.
    bool focusIsAbove(const QQuickItem *control) const;

    QPointer<QQuickWindow> m_window;
    QPointer<QQuickItem> m_home;
    QMetaObject::Connection m_focusConnection;
    QPointer<QQuickItem> m_focused;
    // The last control that had the keys: while it stays, a view given them on purpose keeps them.
    QPointer<QQuickItem> m_control;
    bool m_focusedShowsRing = false;
    QPointer<QQuickItem> m_waiting;
    bool m_waitingRing = false;
    QMetaObject::Connection m_enabledConnection;
};
