#include "QuickItemAccessible.h"

#include "AccessibleState.h"

#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickitem_p.h>

namespace {

class DisabledAwareItem : public QAccessibleQuickItem
{
public:
    explicit DisabledAwareItem(QQuickItem *item)
        : QAccessibleQuickItem(item)
    {
        // A reader that keeps what it has read learns of the change.
        QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        });
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleQuickItem::state();
        if (!item()->isEnabled()) {
            state.disabled = true;
            state.focusable = false;
        }
        if (const AccessibleState *extra = AccessibleState::of(item())) {
            if (extra->expandable()) {
                state.expandable = true;
                state.expanded = extra->expanded();
                state.collapsed = !extra->expanded();
            }
            state.modal = extra->modal();
        }
        // A popup that keeps the window under it from input says so.
        if (item()->inherits("QQuickPopupItem") && item()->parent() && item()->parent()->inherits("QQuickPopup")
            && item()->parent()->property("modal").toBool())
            state.modal = true;
        return state;
    }
};

// Factories are asked from the item's own class up: answering for its own class comes before
// Qt's factory, which answers for QQuickItem.
QAccessibleInterface *create(const QString &className, QObject *object)
{
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || className != QLatin1String(object->metaObject()->className())
        || !QQuickItemPrivate::get(item)->isAccessible)
        return nullptr;
    return new DisabledAwareItem(item);
}

} // namespace

void QuickItemAccessible::install()
{
    uninstall();
    QAccessible::installFactory(&create);
}

void QuickItemAccessible::uninstall()
{
    QAccessible::removeFactory(&create);
}
