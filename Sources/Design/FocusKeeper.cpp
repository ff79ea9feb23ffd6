#include "FocusKeeper.h"

#include "FocusLanding.h"

#include <QQuickWindow>

FocusKeeper::FocusKeeper(QQuickItem *parent)
    : QQuickItem(parent)
{
    // The way the window is worked is followed from its start, before the first landing.
    FocusLanding::watchInput();
}

void FocusKeeper::itemChange(ItemChange change, const ItemChangeData &value)
{
    if (change == ItemSceneChange)
        watch(value.window);
    QQuickItem::itemChange(change, value);
}

void FocusKeeper::watch(QQuickWindow *window)
{
    if (m_window == window)
        return;
    disconnect(m_focusConnection);
    stopWaiting();
    m_window = window;
    m_focused = window ? window->activeFocusItem() : nullptr;
    if (window)
        m_focusConnection = connect(window, &QQuickWindow::activeFocusItemChanged, this, &FocusKeeper::focusChanged);
}

bool FocusKeeper::focusIsAbove(const QQuickItem *control) const
{
    const QQuickItem *focused = m_window ? m_window->activeFocusItem() : nullptr;
    return !focused || focused == m_window->contentItem() || focused->isAncestorOf(control);
}

void FocusKeeper::focusChanged()
{
    QQuickItem *now = m_window->activeFocusItem();
    if (m_focused && m_focused != now && !m_focused->isEnabled() && focusIsAbove(m_focused))
        wait(m_focused, m_focusedShowsRing);
    else if (m_waiting && !focusIsAbove(m_waiting))
        stopWaiting();
    m_focused = now;
    // Read now: once disabled, a control no longer tells how it got the focus.
    m_focusedShowsRing = now && now->property("visualFocus").toBool();
}

void FocusKeeper::wait(QQuickItem *item, bool ring)
{
    stopWaiting();
    m_waiting = item;
    m_waitingRing = ring;
    m_enabledConnection = connect(item, &QQuickItem::enabledChanged, this, &FocusKeeper::enabledChanged);
}

void FocusKeeper::stopWaiting()
{
    disconnect(m_enabledConnection);
    m_waiting = nullptr;
}

void FocusKeeper::enabledChanged()
{
    if (!m_waiting || !m_waiting->isEnabled())
        return;
    QQuickItem *control = m_waiting;
    const bool ring = m_waitingRing;
    stopWaiting();
    if (control->isVisible() && focusIsAbove(control))
        control->forceActiveFocus(ring ? Qt::TabFocusReason : Qt::OtherFocusReason);
}
