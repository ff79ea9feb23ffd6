#include "FocusLanding.h"

#include <QCoreApplication>
#include <QEvent>
#include <QQuickItem>
#include <QQuickWindow>

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
    if (!item)
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
