#include "FocusLanding.h"

#include <QCoreApplication>
#include <QEvent>
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
        default:
            break;
        }
        return false;
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

// Whether a modal popup that is open stands above the item: a landing asked for behind it (a
// late result of the screen or sheet under it) would take the keys from what the person sees.
// A popup on its way out is no longer open, so the focus may go back beneath it.
bool coveredByModalPopup(const QQuickItem *item)
{
    const QQuickWindow *window = item->window();
    if (!window)
        return false;
    const QQuickItem *own = popupItemOf(item);
    const QQuickItem *overlay = own ? own->parentItem() : nullptr;
    if (!overlay) {
        const QList<QQuickItem *> children = window->contentItem()->childItems();
        const auto found = std::find_if(children.cbegin(), children.cend(),
                                        [](const QQuickItem *child) { return child->inherits("QQuickOverlay"); });
        overlay = found == children.cend() ? nullptr : *found;
    }
    if (!overlay)
        return false;
    // The overlay paints its popups by z, then in the order they came.
    const QList<QQuickItem *> popups = overlay->childItems();
    const auto rank = [&popups](const QQuickItem *popupItem) {
        return std::pair(popupItem->z(), popups.indexOf(popupItem));
    };
    for (const QQuickItem *other : popups) {
        if (other == own || !other->inherits("QQuickPopupItem") || !isOpenModal(other))
            continue;
        if (!own || rank(other) > rank(own))
            return true;
    }
    return false;
}

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
    const QVariant last = window ? window->property(lastPressByKeyboard) : QVariant();
    return last.toBool();
}

bool FocusLanding::pressedByKeyboard(const QQuickItem *item) const
{
    return item && byKeyboard(item->window());
}

void FocusLanding::focus(QQuickItem *item)
{
    if (!item || coveredByModalPopup(item))
        return;
    watchInput();
    const bool keyboard = byKeyboard(item->window());
    // The lists draw their ring themselves, and none for a focus that came from the pointer.
    if (item->metaObject()->indexOfProperty("focusFromPointer") >= 0)
        item->setProperty("focusFromPointer", !keyboard);
    const Qt::FocusReason reason = keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason;
    item->forceActiveFocus(reason);
    // An item that had the focus already keeps the reason it had it for: a control's ring follows it.
    if (item->hasActiveFocus() && item->metaObject()->indexOfProperty("focusReason") >= 0)
        item->setProperty("focusReason", QVariant::fromValue(reason));
}
