#include "FocusKeeper.h"

#include "FocusLanding.h"

#include <QQuickWindow>

namespace {

// The window's own keeper, kept on the window for the landings and the tests to find.
constexpr char instanceKey[] = "_tessmarkFocusKeeper";

// The control the popup declares it starts on, or null.
QQuickItem *declaredFirstControl(const QObject *popup)
{
    auto *declared = popup->property("firstControl").value<QQuickItem *>();
    return FocusLanding::isControl(declared) ? declared : nullptr;
}

// Whether the item lies inside the popup's frame.
bool popupHolds(const QObject *popup, const QQuickItem *item)
{
    const auto *content = popup->property("contentItem").value<QQuickItem *>();
    const QQuickItem *frame = content ? content->parentItem() : nullptr;
    return item && frame && frame->isAncestorOf(item);
}

// The popup's first control: the one it declares, else the first one Tab reaches inside it.
QQuickItem *firstControlOf(QObject *popup)
{
    if (QQuickItem *declared = declaredFirstControl(popup))
        return declared;
    auto *content = popup->property("contentItem").value<QQuickItem *>();
    QQuickItem *next = content ? content->nextItemInFocusChain(true) : nullptr;
    return popupHolds(popup, next) ? next : nullptr;
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
    m_control = FocusLanding::isControl(m_focused) ? m_focused : nullptr;
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
    // A window left for another gives its keys up until it is back; they are not lost.
    if (!m_window->contentItem()->hasFocus())
        return;
    QQuickItem *now = m_window->activeFocusItem();
    if (m_focused && m_focused != now && !m_focused->isEnabled() && m_focused->isVisible() && focusIsAbove(m_focused)) {
        wait(m_focused, m_focusedShowsRing);
    } else if (m_waiting && now == m_waiting) {
        // The window itself gave the focus back as the control was enabled again: with its ring
        // when it had one, or a key was pressed meanwhile (the shortcut that started the work).
        if ((m_waitingRing || FocusLanding::byKeyboard(m_window))
            && now->metaObject()->indexOfProperty("focusReason") >= 0)
            now->setProperty("focusReason", QVariant::fromValue(Qt::TabFocusReason));
        stopWaiting();
    } else if (m_waiting && !focusIsAbove(m_waiting)) {
        stopWaiting();
    }
    m_focused = now;
    // Read now: once disabled, a control no longer tells how it got the focus.
    m_focusedShowsRing = now && now->property("visualFocus").toBool();
    if (FocusLanding::isControl(now))
        m_control = now;
    else
        recheck();
}

// At the window's next polish: after the calls the action posted (a view's own landing) have run
// and the screens it loaded are laid out.
void FocusKeeper::recheck()
{
    polish();
}

void FocusKeeper::updatePolish()
{
    settle();
}

void FocusKeeper::settle()
{
    if (!m_window || !m_window->contentItem()->hasFocus() || m_waiting || FocusLanding::waits(m_window))
        return;
    const QQuickItem *focused = m_window->activeFocusItem();
    if (FocusLanding::isControl(focused))
        return;
    const QObject *popup = FocusLanding::topPopup(m_window);
    // A popup that names its first control starts there, whatever had the keys before it opened.
    if (popup && declaredFirstControl(popup)) {
        landOnFirstControl();
        return;
    }
    // Put on a view on purpose while its control stays: that view's to hand on. A control beneath
    // the popup on top is out of reach until the popup closes, and keeps nothing.
    if (focused && focused != m_window->contentItem() && m_control && m_control->window() == m_window
        && FocusLanding::isControl(m_control) && (!popup || popupHolds(popup, m_control)))
        return;
    landOnFirstControl();
}

void FocusKeeper::landOnFirstControl()
{
    if (!m_window)
        return;
    if (QObject *popup = FocusLanding::topPopup(m_window)) {
        QQuickItem *target = firstControlOf(popup);
        if (target)
            FocusLanding::focus(target, true);
    } else if (m_home && m_home->metaObject()->indexOfMethod("focusFirstControl()") >= 0) {
        QMetaObject::invokeMethod(m_home, "focusFirstControl");
    }
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
    if (control->isVisible() && focusIsAbove(control))
        control->forceActiveFocus(ring ? Qt::TabFocusReason : Qt::OtherFocusReason);
    else
        settle();
}
