#include "FocusLanding.h"

#include "FocusKeeper.h"
#include "KeyboardFocusInView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>

namespace {

// A landing that waits (for a popup to close, for its item to show): the keys have a place coming.
class PendingLanding : public QObject
{
    Q_OBJECT

public:
    explicit PendingLanding(QObject *parent, QQuickItem *item)
        : QObject(parent)
        , m_item(item)
        , m_window(item ? item->window() : nullptr)
    {
        all().append(this);
    }
    // A landing that ends without a place (its item went) leaves the keys to the window's keeper.
    ~PendingLanding() override
    {
        all().removeOne(this);
        if (m_window && !QCoreApplication::closingDown()) {
            if (FocusKeeper *keeper = FocusKeeper::of(m_window))
                keeper->recheck();
        }
    }

    static QList<PendingLanding *> &all()
    {
        static QList<PendingLanding *> pending;
        return pending;
    }

    QPointer<QQuickItem> m_item;
    QPointer<QQuickWindow> m_window;
    bool m_inView = false;
};

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
        case QEvent::ShortcutOverride:
            // A key that a shortcut takes reaches the window only as this.
            if (auto *window = qobject_cast<QQuickWindow *>(watched)) {
                showRing(window->activeFocusItem());
                window->setProperty(lastPressByKeyboard, true);
            }
            break;
        case QEvent::KeyPress:
            if (auto *window = qobject_cast<QQuickWindow *>(watched))
                showRing(window->activeFocusItem());
            Q_FALLTHROUGH();
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
    // Once a key is pressed the keyboard works the window: a control clicked before shows its ring
    // now, as the one Tab reaches would (a list, on its current row).
    static void showRing(QQuickItem *focused)
    {
        QQuickItem *control = focused;
        while (control && !control->activeFocusOnTab())
            control = control->parentItem();
        if (!control)
            return;
        if (control->metaObject()->indexOfProperty("focusFromPointer") >= 0)
            control->setProperty("focusFromPointer", false);
        else if (control == focused && control->metaObject()->indexOfProperty("focusReason") >= 0
                 && !control->property("visualFocus").toBool())
            control->setProperty("focusReason", QVariant::fromValue(Qt::TabFocusReason));
    }

    // A control takes the reason of any focus it gets as the way it got it, and would show no
    // ring for the window's activation or a closing popup giving the focus back: while the
    // keyboard works the window, the control is handed that focus as the keyboard's instead.
    static bool keepRing(QObject *watched, Qt::FocusReason reason)
    {
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            return false;
        auto *control = qobject_cast<QQuickItem *>(watched);
        // A list draws its ring itself, from how the focus came back.
        if (control && control->metaObject()->indexOfProperty("focusFromPointer") >= 0) {
            control->setProperty("focusFromPointer", !FocusLanding::byKeyboard(control->window()));
            return false;
        }
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

// Keys parked on a view while its content reloads: the view lands them again once it shows,
// and nothing else takes them meanwhile. Done once they leave the view.
class ParkedKeys : public PendingLanding
{
    Q_OBJECT

public:
    explicit ParkedKeys(QQuickItem *item)
        : PendingLanding(item, item)
    {
        connect(item, &QQuickItem::activeFocusChanged, this, [this] {
            if (m_item && m_item->hasActiveFocus())
                return;
            m_item = nullptr;
            setParent(nullptr);
            deleteLater();
        });
    }
};

// A landing asked for beneath an open modal popup: done once the popup has closed, after its own
// handlers gave the focus back. The last one asked for wins.
class LandingAfterPopup : public PendingLanding
{
    Q_OBJECT

public:
    static void ask(QObject *popup, QQuickItem *item, bool inView)
    {
        auto *pending = popup->findChild<LandingAfterPopup *>(QString(), Qt::FindDirectChildrenOnly);
        if (!pending)
            pending = new LandingAfterPopup(popup);
        pending->m_item = item;
        pending->m_window = item->window();
        pending->m_inView = inView;
    }

private:
    explicit LandingAfterPopup(QObject *popup)
        : PendingLanding(popup, nullptr)
    {
        connect(popup, SIGNAL(closed()), this, SLOT(land()), Qt::QueuedConnection);
    }

private Q_SLOTS:
    void land()
    {
        // Out of the popup's children at once: a landing asked for from here on waits anew.
        setParent(nullptr);
        deleteLater();
        if (const QPointer<QQuickItem> item = std::exchange(m_item, nullptr))
            FocusLanding::focus(item, m_inView);
    }
};

// A landing asked for on a hidden or disabled item (its section still loads, its work runs):
// done once it shows and is enabled, unless the focus went to another control meanwhile.
class LandingWhenShown : public PendingLanding
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
        : PendingLanding(item, item)
    {
        connect(item, &QQuickItem::visibleChanged, this, &LandingWhenShown::check);
        connect(item, &QQuickItem::enabledChanged, this, &LandingWhenShown::check);
        connect(item, &QQuickItem::windowChanged, this, &LandingWhenShown::watch);
        watch(item->window());
    }

    void watch(QQuickWindow *window)
    {
        disconnect(m_focusLink);
        m_window = window;
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
        QQuickItem *item = m_item;
        stop();
        FocusLanding::focus(item, m_inView);
    }

    void stop()
    {
        disconnect(m_focusLink);
        disconnect(m_item, nullptr, this, nullptr);
        m_item = nullptr;
        // Out of the item's children at once: a landing asked for from here on waits anew.
        setParent(nullptr);
        deleteLater();
    }

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

void FocusLanding::park(QQuickItem *item) const
{
    if (!item)
        return;
    item->forceActiveFocus(Qt::OtherFocusReason);
    if (item->hasActiveFocus() && !item->findChild<ParkedKeys *>(QString(), Qt::FindDirectChildrenOnly))
        new ParkedKeys(item);
}

bool FocusLanding::isControl(const QQuickItem *item)
{
    if (!item || !item->isVisible() || !item->isEnabled())
        return false;
    for (const QQuickItem *at = item; at; at = at->parentItem()) {
        if (at->activeFocusOnTab())
            return true;
    }
    return false;
}

QObject *FocusLanding::topPopup(const QQuickWindow *window)
{
    const QQuickItem *top = nullptr;
    int topIndex = -1;
    for (const QQuickItem *child : window ? window->contentItem()->childItems() : QList<QQuickItem *>()) {
        if (!child->inherits("QQuickOverlay"))
            continue;
        const QList<QQuickItem *> popups = child->childItems();
        for (int i = 0; i < popups.size(); ++i) {
            const QObject *popup = popups[i]->parent();
            if (!popup || !popup->inherits("QQuickPopup") || !popup->property("opened").toBool()
                || !popup->property("focus").toBool())
                continue;
            if (!top || std::pair(popups[i]->z(), i) > std::pair(top->z(), topIndex)) {
                top = popups[i];
                topIndex = i;
            }
        }
    }
    return top ? top->parent() : nullptr;
}

bool FocusLanding::waits(const QQuickWindow *window)
{
    const QList<PendingLanding *> &pending = PendingLanding::all();
    return std::any_of(pending.cbegin(), pending.cend(), [window](const PendingLanding *landing) {
        return landing->m_item && landing->m_item->window() == window;
    });
}

bool FocusLanding::holds(const QQuickItem *area, const QQuickItem *item) const
{
    return area && item && (area == item || area->isAncestorOf(item));
}

#include "FocusLanding.moc"
