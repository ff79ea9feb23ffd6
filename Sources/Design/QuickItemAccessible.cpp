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

    QAccessible::Role role() const override
    {
        if (const AccessibleState *extra = AccessibleState::of(item()); extra && extra->role() != QAccessible::NoRole)
            return QAccessible::Role(extra->role());
        return QAccessibleQuickItem::role();
    }

    // A popup without a name of its own reads by its `title`, as a dialog does.
    QString text(QAccessible::Text kind) const override
    {
        QString value = QAccessibleQuickItem::text(kind);
        if (kind == QAccessible::Name && value.isEmpty() && item()->inherits("QQuickPopupItem")) {
            if (const QObject *popup = item()->parent(); popup && popup->inherits("QQuickPopup"))
                value = popup->property("title").toString();
        }
        return value;
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
            if (extra->modal())
                state.modal = true;
        }
        // A popup's item stands for the popup, whose modality Qt does not pass on.
        const QObject *popup = item()->parent();
        if (item()->inherits("QQuickPopupItem") && popup && popup->inherits("QQuickPopup")
            && popup->property("modal").toBool())
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
