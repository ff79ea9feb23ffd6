#include "FocusLanding.h"

#include "KeyboardFocusInView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>

namespace {

// The device of the last press is kept on the window it went to.
constexpr char lastPressByKeyboard[] = "_tessmarkLastPressByKeyboard";

class InputWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::TouchBegin:
            if (auto *window = qobject_cast<QWindow *>(watched))
                window->setProperty(lastPressByKeyboard, event->type() == QEvent::KeyPress);
            break;
        case QEvent::FocusIn:
            return keepRing(watched, static_cast<const QFocusEvent *>(event)->reason());
        default:
            break;
        }
        return false;
    }

private:
    // A control takes the reason of any focus it gets as the way it got it, and would show no
    // ring for the window's activation or a closing popup giving the focus back: while the
    // keyboard works the window, the control is handed that focus as the keyboard's instead.
    static bool keepRing(QObject *watched, Qt::FocusReason reason)
    {
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            return false;
        auto *control = qobject_cast<QQuickItem *>(watched);
        if (!control || control->metaObject()->indexOfProperty("focusReason") < 0
            || !FocusLanding::byKeyboard(control->window()))
            return false;
        QFocusEvent asKeyboard(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(control, &asKeyboard);
        return true;
    }
};

// The popup item that holds the item, or null for the window's own content. Every popup's item
// hangs in the window's overlay, whatever declared it; the popup itself is that item's parent.
const QQuickItem *popupItemOf(const QQuickItem *item)
{
    for (; item; item = item->parentItem()) {
        if (item->inherits("QQuickPopupItem"))
            return item;
    }
    return nullptr;
}

bool isOpenModal(const QQuickItem *popupItem)
{
    const QObject *popup = popupItem->parent();
    return popupItem->isVisible() && popup && popup->inherits("QQuickPopup") && popup->property("modal").toBool()
           && popup->property("opened").toBool();
}

// The open modal popup that stands above the item, or null: a landing asked for behind it (a
// late result of the screen or sheet under it) would take the keys from what the person sees.
// A popup on its way out is no longer open, so the focus may go back beneath it.
QObject *coveringModalPopup(const QQuickItem *item)
{
    const QQuickWindow *window = item->window();
    if (!window)
        return nullptr;
    const QQuickItem *own = popupItemOf(item);
    const QQuickItem *overlay = own ? own->parentItem() : nullptr;
    if (!overlay) {
        const QList<QQuickItem *> children = window->contentItem()->childItems();
        const auto found = std::find_if(children.cbegin(), children.cend(),
                                        [](const QQuickItem *child) { return child->inherits("QQuickOverlay"); });
        overlay = found == children.cend() ? nullptr : *found;
    }
    if (!overlay)
        return nullptr;
    // The overlay paints its popups by z, then in the order they came.
    const QList<QQuickItem *> popups = overlay->childItems();
    const auto rank = [&popups](const QQuickItem *popupItem) {
        return std::pair(popupItem->z(), popups.indexOf(popupItem));
    };
    const QQuickItem *top = nullptr;
    for (const QQuickItem *other : popups) {
        if (other == own || !other->inherits("QQuickPopupItem") || !isOpenModal(other))
            continue;
        if ((!own || rank(other) > rank(own)) && (!top || rank(other) > rank(top)))
            top = other;
    }
    return top ? top->parent() : nullptr;
}

// A landing asked for beneath an open modal popup: done once the popup has closed, after its own
// handlers gave the focus back. The last one asked for wins.
class LandingAfterPopup : public QObject
{
    Q_OBJECT

public:
    static void ask(QObject *popup, QQuickItem *item, bool inView)
    {
        auto *pending = popup->findChild<LandingAfterPopup *>(QString(), Qt::FindDirectChildrenOnly);
        if (!pending)
            pending = new LandingAfterPopup(popup);
        pending->m_item = item;
        pending->m_inView = inView;
    }

private:
    explicit LandingAfterPopup(QObject *popup)
        : QObject(popup)
    {
        connect(popup, SIGNAL(closed()), this, SLOT(land()), Qt::QueuedConnection);
    }

private Q_SLOTS:
    void land()
    {
        // Out of the popup's children at once: a landing asked for from here on waits anew.
        setParent(nullptr);
        deleteLater();
        if (m_item)
            FocusLanding::focus(m_item, m_inView);
    }

private:
    QPointer<QQuickItem> m_item;
    bool m_inView = false;
};

// A landing asked for on a hidden or disabled item (its section still loads, its work runs):
// done once it shows and is enabled, unless the focus went to another control meanwhile.
class LandingWhenShown : public QObject
{
    Q_OBJECT

public:
    static void ask(QQuickItem *item, bool inView)
    {
        auto *pending = item->findChild<LandingWhenShown *>(QString(), Qt::FindDirectChildrenOnly);
        if (!pending)
            pending = new LandingWhenShown(item);
        pending->m_inView = inView;
    }

private:
    explicit LandingWhenShown(QQuickItem *item)
        : QObject(item)
        , m_item(item)
    {
        connect(item, &QQuickItem::visibleChanged, this, &LandingWhenShown::check);
        connect(item, &QQuickItem::enabledChanged, this, &LandingWhenShown::check);
        connect(item, &QQuickItem::windowChanged, this, &LandingWhenShown::watch);
        watch(item->window());
    }

    void watch(QQuickWindow *window)
    {
        disconnect(m_focusLink);
        if (!window)
            return;
        m_focusLink = connect(window, &QQuickWindow::activeFocusItemChanged, this, &LandingWhenShown::focusMoved);
        check();
    }

    void focusMoved()
    {
        const QQuickWindow *window = m_item->window();
        const QQuickItem *now = window ? window->activeFocusItem() : nullptr;
        // A scope around the item holding the focus (a sheet's body while it loads) is no control.
        if (now && now != window->contentItem() && !now->isAncestorOf(m_item))
            stop();
    }

    void check()
    {
        if (!m_item->window() || !m_item->isVisible() || !m_item->isEnabled())
            return;
        stop();
        FocusLanding::focus(m_item, m_inView);
    }

    void stop()
    {
        disconnect(m_focusLink);
        disconnect(m_item, nullptr, this, nullptr);
        // Out of the item's children at once: a landing asked for from here on waits anew.
        setParent(nullptr);
        deleteLater();
    }

    QQuickItem *m_item;
    bool m_inView = false;
    QMetaObject::Connection m_focusLink;
};

} // namespace

FocusLanding::FocusLanding(QObject *parent)
    : QObject(parent)
{
    watchInput();
}

void FocusLanding::watchInput()
{
    static InputWatch *watch = nullptr;
    if (watch || !QCoreApplication::instance())
        return;
    watch = new InputWatch(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(watch);
}

bool FocusLanding::byKeyboard(const QWindow *window)
{
    if (!window)
        return false;
    // Until a pointer presses, the window is the keyboard's.
    const QVariant last = window->property(lastPressByKeyboard);
    return !last.isValid() || last.toBool();
}

bool FocusLanding::pressedByKeyboard(const QQuickItem *item) const
{
    return item && byKeyboard(item->window());
}

void FocusLanding::focus(QQuickItem *item, bool inView)
{
    if (!item)
        return;
    watchInput();
    if (QObject *popup = coveringModalPopup(item)) {
        LandingAfterPopup::ask(popup, item, inView);
        return;
    }
    if (!item->window() || !item->isVisible() || !item->isEnabled()) {
        LandingWhenShown::ask(item, inView);
        return;
    }
    const bool keyboard = byKeyboard(item->window());
    // The lists draw their ring themselves, and none for a focus that came from the pointer.
    if (item->metaObject()->indexOfProperty("focusFromPointer") >= 0)
        item->setProperty("focusFromPointer", !keyboard);
    const Qt::FocusReason reason = keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason;
    item->forceActiveFocus(reason);
    // An item that had the focus already keeps the reason it had it for: a control's ring follows it.
    if (item->hasActiveFocus() && item->metaObject()->indexOfProperty("focusReason") >= 0)
        item->setProperty("focusReason", QVariant::fromValue(reason));
    if (inView && item->hasActiveFocus())
        KeyboardFocusInView::keepInView(item);
}

bool FocusLanding::holds(const QQuickItem *area, const QQuickItem *item) const
{
    return area && item && (area == item || area->isAncestorOf(item));
}

#include "FocusLanding.moc"
