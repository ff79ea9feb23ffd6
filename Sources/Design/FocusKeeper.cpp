#include "FocusKeeper.h"

#include "FocusLanding.h"

#include <QQuickWindow>

namespace {

// The window's own keeper, kept on the window for the landings and the tests to find.
constexpr char instanceKey[] = "_tessmarkFocusKeeper";

// A control the keys can stay on: it shows and works, and Tab stops at it or at the list it is a row of.
bool isControl(const QQuickItem *item)
{
    if (!item || !item->isVisible() || !item->isEnabled())
        return false;
    for (const QQuickItem *at = item; at; at = at->parentItem()) {
        if (at->activeFocusOnTab())
            return true;
    }
    return false;
}

// The popup's first control: the one it declares, else the first one Tab reaches inside it.
QQuickItem *firstControlOf(QObject *popup)
{
    if (auto *declared = popup->property("firstControl").value<QQuickItem *>(); isControl(declared))
        return declared;
    auto *content = popup->property("contentItem").value<QQuickItem *>();
    QQuickItem *frame = content ? content->parentItem() : nullptr;
    QQuickItem *next = content ? content->nextItemInFocusChain(true) : nullptr;
    return next && frame && frame->isAncestorOf(next) ? next : nullptr;
}

} // namespace

FocusKeeper::FocusKeeper(QQuickItem *parent)
    : QQuickItem(parent)
{
    // The way the window is worked is followed from its start, before the first landing.
    FocusLanding::watchInput();
}

FocusKeeper::~FocusKeeper()
{
    watch(nullptr);
}

void FocusKeeper::setHome(QQuickItem *home)
{
    if (m_home == home)
        return;
    m_home = home;
    Q_EMIT homeChanged();
}

FocusKeeper *FocusKeeper::of(const QQuickWindow *window)
{
    return window ? qobject_cast<FocusKeeper *>(window->property(instanceKey).value<QObject *>()) : nullptr;
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
    if (m_window && of(m_window) == this)
        m_window->setProperty(instanceKey, QVariant());
    m_window = window;
    m_focused = window ? window->activeFocusItem() : nullptr;
    if (!window)
        return;
    window->setProperty(instanceKey, QVariant::fromValue<QObject *>(this));
    m_focusConnection = connect(window, &QQuickWindow::activeFocusItemChanged, this, &FocusKeeper::focusChanged);
}

bool FocusKeeper::focusIsAbove(const QQuickItem *control) const
{
    const QQuickItem *focused = m_window ? m_window->activeFocusItem() : nullptr;
    return !focused || focused == m_window->contentItem() || focused->isAncestorOf(control);
}

void FocusKeeper::focusChanged()
{
    // A window left gives its keys up until it is back; they are not lost.
    if (!m_window->isActive())
        return;
    QQuickItem *now = m_window->activeFocusItem();
    if (qEnvironmentVariableIsSet("FOCUS_DEBUG")) qDebug() << "FOCUS" << m_focused << "->" << now << (now ? now->property("focusReason") : QVariant());
    const bool wasControl = m_focused && m_focused != now;
    // The control went, or no longer takes keys: not a place someone chose for them.
    const bool lost = !m_focused || !m_focused->window() || !isControl(m_focused);
    if (wasControl && !m_focused->isEnabled() && m_focused->isVisible() && focusIsAbove(m_focused)) {
        wait(m_focused, m_focusedShowsRing);
    } else if (m_waiting && now == m_waiting) {
        // The window itself gave the focus back as the control was enabled again: with its ring
        // when it had one, or a key was pressed meanwhile (the shortcut that started the work).
        if ((m_waitingRing || FocusLanding::byKeyboard(m_window)) && now->metaObject()->indexOfProperty("focusReason") >= 0)
            now->setProperty("focusReason", QVariant::fromValue(Qt::TabFocusReason));
        stopWaiting();
    } else if (m_waiting && !focusIsAbove(m_waiting)) {
        stopWaiting();
    }
    m_focused = now;
    // Read now: once disabled, a control no longer tells how it got the focus.
    m_focusedShowsRing = now && now->property("visualFocus").toBool();
    if ((lost || !now || now == m_window->contentItem()) && !isControl(now))
        recheck();
}

void FocusKeeper::recheck()
{
    if (m_settleQueued)
        return;
    m_settleQueued = true;
    QMetaObject::invokeMethod(this, &FocusKeeper::settle, Qt::QueuedConnection);
}

void FocusKeeper::settle()
{
    m_settleQueued = false;
    if (!m_window || !m_window->isActive() || isControl(m_window->activeFocusItem()) || m_waiting
        || FocusLanding::waits(m_window))
        return;
    landOnFirstControl();
}

void FocusKeeper::landOnFirstControl()
{
    if (qEnvironmentVariableIsSet("FOCUS_DEBUG")) qDebug() << "FOCUS keeper lands";
    if (!m_window)
        return;
    QQuickItem *target = nullptr;
    if (QObject *popup = FocusLanding::topPopup(m_window)) {
        target = firstControlOf(popup);
    } else if (m_home && m_home->metaObject()->indexOfMethod("firstControl()") >= 0) {
        QVariant first;
        QMetaObject::invokeMethod(m_home, "firstControl", Q_RETURN_ARG(QVariant, first));
        target = first.value<QQuickItem *>();
    }
    if (target)
        FocusLanding::focus(target, true);
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
    // A key pressed meanwhile (the shortcut that started the work) shows the ring too.
    const bool ring = m_waitingRing || FocusLanding::byKeyboard(m_window);
    stopWaiting();
    if (qEnvironmentVariableIsSet("FOCUS_DEBUG")) qDebug() << "FOCUS back to" << control << ring;
    if (control->isVisible() && focusIsAbove(control))
        control->forceActiveFocus(ring ? Qt::TabFocusReason : Qt::OtherFocusReason);
    else
        settle();
}
