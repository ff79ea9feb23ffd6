#pragma once

// Reads a window the way a screen reader does, through the in-process accessibility tree, and
// names every item that tells such a reader too little or too much: an interactive or focusable
// object, a list row or a scroll bar without a name, a label (or other object that is no control)
// read as focusable that Tab never reaches, a text field that is not exposed as editable text, a
// choice without a checked or selected state, a disabled control that does not read as disabled,
// a dialog without a name or not read as modal, a menu without a name, a password field that
// reads what was typed, an error shown that is not read as an alert, a state or an empty list's
// text that is not read at all, any other text drawn that a reader never reaches, a text read
// twice (inside an object that reads it already, or beside a control of its name), more than one
// object read as focused, an object read as shown though out of sight or under a modal popup; and
// every window kept hidden.
#include "AppTheme.h"
#include "ItemCulling.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QStringList>
#include <QTextDocumentFragment>

namespace AccessibilityAudit {

// Turns the accessibility tree on, as a screen reader on the session bus does (with
// QT_LINUX_ACCESSIBILITY_ALWAYS_ON set); items made while it is off expose nothing.
inline bool activate()
{
    QDBusConnection::sessionBus().interface()->startService(QStringLiteral("org.a11y.Bus"));
    return QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000);
}

// The item's type and name with those of a few visual ancestors, and where it stands.
inline QString describe(const QQuickItem *item)
{
    QStringList path;
    for (const QQuickItem *i = item; i && path.size() < 4; i = i->parentItem()) {
        QString type = QString::fromLatin1(i->metaObject()->className());
        type = type.left(type.indexOf(QLatin1String("_QML")));
        path.prepend(i->objectName().isEmpty() ? type : QStringLiteral("%1 \"%2\"").arg(type, i->objectName()));
    }
    const QPointF at = item->mapToScene(QPointF());
    return path.join(QLatin1String(" > ")) + QStringLiteral(" at %1,%2").arg(qRound(at.x())).arg(qRound(at.y()));
}

// Hidden items and all under them are out of a reader's reach, as they are out of sight; so are
// the rows a list keeps undrawn (culled), beyond its edges or in its pool.
inline bool hidden(const QQuickItem *item)
{
    return !item->isVisible() || item->opacity() <= 0 || ItemCulling::culled(item);
}

// Whether the item is shown but out of a person's sight: a list keeps it (or its row) undrawn,
// or the views that clip it (a list under a toolbar that stays) show none of it, or a strip a
// pixel or so wide.
inline bool outOfSight(const QQuickItem *item)
{
    const QRectF whole = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const auto sliver = [&whole](const QRectF &seen) {
        return (seen.height() < 2 && whole.height() >= 2) || (seen.width() < 2 && whole.width() >= 2);
    };
    QRectF seen = whole;
    for (const QQuickItem *up = item; up; up = up->parentItem()) {
        if (ItemCulling::culled(up))
            return true;
        if (up != item && up->clip() && !seen.isEmpty()) {
            seen = seen.intersected(up->mapRectToScene(up->clipRect()));
            if (seen.isEmpty() || sliver(seen))
                return true;
        }
    }
    return false;
}

// The overlay's popups (and their dimmers) as drawn, the lowest first: in the order of their z,
// then of their places among its children.
inline QList<QQuickItem *> drawnOrder(const QQuickItem *overlay)
{
    QList<QQuickItem *> stacked = overlay->childItems();
    std::stable_sort(stacked.begin(), stacked.end(),
                     [](const QQuickItem *a, const QQuickItem *b) { return a->z() < b->z(); });
    return stacked;
}

// The popup drawn on top of the open modal popups of the window (a sheet, a question, a picker):
// it keeps everything under it from input, and from a reader. Null when none is open.
inline const QQuickItem *topModal(const QQuickWindow *window)
{
    const QList<QQuickItem *> layers = window->contentItem()->childItems();
    for (const QQuickItem *layer : layers) {
        if (!layer->inherits("QQuickOverlay"))
            continue;
        const QList<QQuickItem *> stacked = drawnOrder(layer);
        for (auto it = stacked.crbegin(); it != stacked.crend(); ++it) {
            const QObject *popup = (*it)->parent();
            if ((*it)->isVisible() && popup && popup->inherits("QQuickPopup") && popup->property("modal").toBool())
                return *it;
        }
    }
    return nullptr;
}

// Whether the item lies under the modal popup `top`: neither in it nor in a popup drawn above it
// (a menu it opened), nor a layer that holds it.
inline bool underModal(const QQuickItem *item, const QQuickItem *top)
{
    if (!top || item->isAncestorOf(top))
        return false;
    const QList<QQuickItem *> stacked = drawnOrder(top->parentItem());
    return std::none_of(stacked.cbegin() + stacked.indexOf(const_cast<QQuickItem *>(top)), stacked.cend(),
                        [item](const QQuickItem *read) { return read == item || read->isAncestorOf(item); });
}

// Whether `whole` says the words of `part` one after the other, whatever stands between them but
// letters, digits and signs: a sum drawn on two lines is the sums said with a comma between.
inline bool says(const QString &whole, const QString &part)
{
    const auto wordsOf = [](const QString &text) {
        QStringList words;
        QString word;
        for (const QChar c : text + QLatin1Char(' ')) {
            if (c.isLetterOrNumber() || c.isSymbol() || c.isSurrogate()) {
                word += c;
            } else if (!word.isEmpty()) {
                words << word;
                word.clear();
            }
        }
        return words;
    };
    const QStringList said = wordsOf(whole), words = wordsOf(part);
    return whole.simplified().contains(part.simplified())
        || (!words.isEmpty() && std::search(said.cbegin(), said.cend(), words.cbegin(), words.cend()) != said.cend());
}

// The words a text item draws, without markup; none for a glyph of the icon font, a symbol or an
// emoji, which is a picture, not words.
inline QString words(const QQuickItem *text)
{
    QString drawn = text->property("text").toString();
    if (text->property("textFormat").toInt() != Qt::PlainText && Qt::mightBeRichText(drawn))
        drawn = QTextDocumentFragment::fromHtml(drawn).toPlainText();
    drawn = drawn.simplified();
    const QList<uint> points = drawn.toUcs4();
    const bool picture = std::all_of(points.cbegin(), points.cend(), [](uint c) {
        const QChar::Category kind = QChar::category(c);
        return kind == QChar::Other_PrivateUse || kind == QChar::Symbol_Other || kind == QChar::Mark_NonSpacing
            || kind == QChar::Other_Format || kind == QChar::Separator_Space;
    });
    return picture ? QString() : drawn;
}

// Whether a text that names the control (its field's caption) is in sight beside it, or beside
// one of the few items holding it: who sees the caption knows the field is there.
inline bool captionInSight(const QQuickItem *control, const QString &name)
{
    const QQuickItem *holder = control;
    for (int depth = 0; depth < 4 && !name.isEmpty() && holder->parentItem(); ++depth) {
        const QList<QQuickItem *> beside = holder->parentItem()->childItems();
        if (std::any_of(beside.cbegin(), beside.cend(), [&](const QQuickItem *text) {
                return text != holder && text->inherits("QQuickText") && !hidden(text) && !outOfSight(text)
                    && words(text) == name;
            }))
            return true;
        holder = holder->parentItem();
    }
    return false;
}

// Whether the item says itself what a reader gets of it (it has Accessible properties set).
inline bool declaresReading(const QQuickItem *item)
{
    const QObjectList children = item->children();
    return std::any_of(children.cbegin(), children.cend(),
                       [](const QObject *child) { return child->inherits("QQuickAccessibleAttached"); });
}

// Whether a person can see the item at all: shown, with some size.
inline bool shown(const QQuickItem *item)
{
    for (const QQuickItem *i = item; i; i = i->parentItem()) {
        if (hidden(i))
            return false;
    }
    return item->width() > 0 && item->height() > 0;
}

inline bool interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::Link:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
    case QAccessible::Row:
        return true;
    default:
        return false;
    }
}

// The tree as a reader gets it, one node a line, to the log (for looking at a failure).
inline void dump(QAccessibleInterface *node, int depth = 0)
{
    if (!node || !node->isValid())
        return;
    auto *item = qobject_cast<QQuickItem *>(node->object());
    if (item && hidden(item))
        return;
    qInfo().noquote() << QString(depth * 2, QLatin1Char(' ')) + QString::number(node->role(), 16) + QLatin1Char(' ')
            + node->text(QAccessible::Name) + QStringLiteral(" | ") + node->text(QAccessible::Description)
            + QStringLiteral(" | ") + node->text(QAccessible::Value) + QStringLiteral(" [")
            + (item ? item->objectName() + QLatin1Char(' ') + QString::fromLatin1(item->metaObject()->className())
                    : QString())
            + QLatin1Char(']');
    for (int i = 0; i < node->childCount(); ++i)
        dump(node->child(i), depth + 1);
}

// The problems in the window, one a line; none when a reader gets everything it needs.
inline QStringList problems(QQuickWindow *window)
{
    QStringList found;
    QHash<QObject *, QAccessibleInterface *> exposed;
    QList<QAccessibleInterface *> readingOrder;
    const QQuickItem *modal = topModal(window);
    // A reader walking the window under a modal sheet reaches what can be neither seen whole nor
    // used: the sheet is all there is to read until it closes.
    const auto readUnderModal = [&found, modal](QQuickItem *item, QAccessibleInterface *node) {
        if (node && shown(item) && !node->state().invisible)
            found << QStringLiteral("read as shown under a modal popup: %1").arg(describe(item));
    };
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || !node->isValid())
            return;
        const QAccessible::State state = node->state();
        auto *item = qobject_cast<QQuickItem *>(node->object());
        // A reader that is told an object shows looks for it where nothing is drawn.
        if (item && item->isVisible() && !state.invisible && outOfSight(item)
            && !captionInSight(item, node->text(QAccessible::Name).simplified()))
            found << QStringLiteral("read as shown, out of sight: %1").arg(describe(item));
        if (item && hidden(item))
            return;
        if (item && underModal(item, modal)) {
            readUnderModal(item, node);
            return;
        }
        if (item)
            exposed.insert(item, node);
        if (item && shown(item))
            readingOrder << node;
        if (item && !shown(item)) {
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
            return;
        }
        const QAccessible::Role role = node->role();
        const QString name = node->text(QAccessible::Name).trimmed();
        if (item && (interactive(role) || state.focusable || role == QAccessible::ScrollBar) && name.isEmpty())
            found << QStringLiteral("no name: %1").arg(describe(item));
        // A label, heading or bar that says it takes the keys, where Tab never brings them.
        if (item && state.focusable && !interactive(role) && !item->activeFocusOnTab())
            found << QStringLiteral("focusable, never reached by Tab: %1 \"%2\"").arg(describe(item), name.left(60));
        if (item && (role == QAccessible::RadioButton || role == QAccessible::CheckBox) && !state.checkable)
            found << QStringLiteral("no checked state: %1").arg(describe(item));
        if (item && interactive(role) && !item->isEnabled() && !state.disabled)
            found << QStringLiteral("not read as disabled: %1").arg(describe(item));
        // A sheet, question or popup over the window: a reader says what it is and that the rest
        // of the window waits behind it.
        const bool dialog = role == QAccessible::Dialog
            || (role == QAccessible::AlertMessage && item && item->inherits("QQuickPopupItem"));
        if (item && dialog && name.isEmpty())
            found << QStringLiteral("dialog without a name: %1").arg(describe(item));
        if (item && dialog && !state.modal)
            found << QStringLiteral("dialog not read as modal: %1").arg(describe(item));
        // A menu says what it is for; a field that hides what is typed gives none of it away.
        if (item && role == QAccessible::PopupMenu && name.isEmpty())
            found << QStringLiteral("menu without a name: %1").arg(describe(item));
        const QString typed = item && state.passwordEdit ? item->property("text").toString() : QString();
        QAccessibleTextInterface *text = typed.isEmpty() ? nullptr : node->textInterface();
        if (!typed.isEmpty()
            && (node->text(QAccessible::Value).contains(typed)
                || (text && text->text(0, text->characterCount()).contains(typed))))
            found << QStringLiteral("password read as its text: %1").arg(describe(item));
        // A card, tile or chart that a reader reaches but that says nothing, and holds nothing that does.
        const bool container = role == QAccessible::Client || role == QAccessible::Pane || role == QAccessible::Grouping
            || role == QAccessible::Chart;
        if (item && container && node->childCount() == 0 && name.isEmpty()
            && node->text(QAccessible::Description).trimmed().isEmpty())
            found << QStringLiteral("nothing to read: %1").arg(describe(item));
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));

    // What a reader never reaches: fields, buttons and choices missing from the tree. Under a
    // modal popup nothing is to be reached, even by a reader that asks the object itself.
    const std::function<void(QQuickItem *)> visit = [&](QQuickItem *item) {
        if (hidden(item))
            return;
        if (underModal(item, modal)) {
            readUnderModal(item, QAccessible::queryAccessibleInterface(item));
            for (QQuickItem *child : item->childItems())
                visit(child);
            return;
        }
        if (!shown(item)) {
            for (QQuickItem *child : item->childItems())
                visit(child);
            return;
        }
        const bool field = (item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
            && !item->property("readOnly").toBool() && item->isEnabled();
        QAccessibleInterface *node = exposed.value(item);
        if (field) {
            if (!node || node->role() != QAccessible::EditableText)
                found << QStringLiteral("text field not exposed as editable text: %1").arg(describe(item));
        } else if (item->inherits("QQuickAbstractButton") && !node) {
            found << QStringLiteral("button not exposed: %1").arg(describe(item));
        }
        // Our choices mark themselves with `chosen`, `selected` or `isSelected`.
        for (const char *flag : {"chosen", "selected", "isSelected"}) {
            if (item->metaObject()->indexOfProperty(flag) >= 0 && item->inherits("QQuickAbstractButton")) {
                const QAccessible::State state = node ? node->state() : QAccessible::State();
                if (!state.checkable && !state.selectable)
                    found << QStringLiteral("no checked state: %1").arg(describe(item));
                break;
            }
        }
        for (QQuickItem *child : item->childItems())
            visit(child);
    };
    visit(window->contentItem());

    // Texts that tell of a failure or a state: shown in the error colour, they must be read as
    // an alert named by them (or say they are a state); in the colours of a state (unsaved,
    // saved, done) or as what a list or pane shows in place of its content, they must be read.
    QStringList heard;
    for (QAccessibleInterface *node : std::as_const(exposed)) {
        for (const QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
            heard << node->text(kind).simplified();
    }
    const auto readInside = [&exposed](const QQuickItem *item, const QString &text, bool alert) {
        for (const QQuickItem *i = item; i; i = i->parentItem()) {
            QAccessibleInterface *node = exposed.value(const_cast<QQuickItem *>(i));
            if (!node)
                continue;
            const QString name = node->text(QAccessible::Name).simplified();
            // A control's own label in that colour (a destructive button) is its name, no alert.
            if (i != item && interactive(node->role()))
                return name.contains(text);
            // A state in that colour (a status "Отказ") says so by reading as text, on purpose:
            // not merely as any text drawn reads.
            const bool state = i == item && node->role() == QAccessible::StaticText && declaresReading(item);
            if ((!alert || node->role() == QAccessible::AlertMessage || state) && name.contains(text))
                return true;
        }
        return false;
    };
    const auto typeOf = [](const QObject *object) { return QByteArray(object->metaObject()->className()); };
    const auto inBoth = [](AppTheme::Role role) {
        return QList<QColor>{AppTheme::color(role).resolved(false), AppTheme::color(role).resolved(true)};
    };
    const QList<QColor> errorColours = inBoth(AppTheme::Role::Error);
    const QList<QColor> stateColours = inBoth(AppTheme::Role::Success) + inBoth(AppTheme::Role::Warning);
    const std::function<void(QQuickItem *, bool)> read = [&](QQuickItem *item, bool inEmptyState) {
        if (hidden(item) || typeOf(item).startsWith("AppIcon") || underModal(item, modal))
            return;
        inEmptyState = inEmptyState || typeOf(item).startsWith("EmptyStateView");
        const QString text =
            item->inherits("QQuickText") && shown(item) ? item->property("text").toString().simplified() : QString();
        if (!text.isEmpty()) {
            const QColor colour = item->property("color").value<QColor>();
            const QString where = QStringLiteral("%1 \"%2\"").arg(describe(item), text.left(60));
            if (errorColours.contains(colour)) {
                if (!readInside(item, text, true))
                    found << QStringLiteral("error text not read as an alert: %1").arg(where);
            } else if (inEmptyState || stateColours.contains(colour)) {
                const bool read = readInside(item, text, false)
                    || std::any_of(heard.cbegin(), heard.cend(), [&](const QString &h) { return h.contains(text); });
                if (!read)
                    found << QStringLiteral("status text not exposed: %1").arg(where);
            }
        }
        for (QQuickItem *child : item->childItems())
            read(child, inEmptyState);
    };
    read(window->contentItem(), false);

    // Any text drawn reaches a reader: as an object of its own or within the one it stands in,
    // unless it only repeats the name of the control beside it (a field's caption).
    const auto reads = [](QAccessibleInterface *node, const QString &text) {
        for (const QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value}) {
            if (says(node->text(kind), text))
                return true;
        }
        return false;
    };
    const std::function<bool(QQuickItem *, const QString &)> namesControlIn = [&](QQuickItem *area,
                                                                                  const QString &text) {
        const QList<QQuickItem *> inside = area->childItems();
        return std::any_of(inside.cbegin(), inside.cend(), [&](QQuickItem *i) {
            QAccessibleInterface *node = exposed.value(i);
            return (node && interactive(node->role()) && !node->state().invisible
                    && node->text(QAccessible::Name).simplified().contains(text))
                || namesControlIn(i, text);
        });
    };
    const std::function<void(QQuickItem *)> drawn = [&](QQuickItem *item) {
        if (hidden(item) || underModal(item, modal))
            return;
        const QString text = item->inherits("QQuickText") && shown(item) && !outOfSight(item) ? words(item) : QString();
        bool heard = text.isEmpty() || exposed.contains(item);
        for (const QQuickItem *up = item->parentItem(); up && !heard; up = up->parentItem()) {
            if (QAccessibleInterface *node = exposed.value(const_cast<QQuickItem *>(up)))
                heard = reads(node, text);
        }
        if (!heard && !(item->parentItem() && namesControlIn(item->parentItem(), text)))
            found << QStringLiteral("text never read: %1 \"%2\"").arg(describe(item), text.left(60));
        for (QQuickItem *child : item->childItems())
            drawn(child);
    };
    drawn(window->contentItem());

    // A reader hears a text once: not as a label and again in the name or description of an
    // object it lies in (a card described by its figures), nor as a label read next to a control
    // of the same name (a caption is its field's name). A dialog's heading may repeat its title.
    for (int i = 0; i < readingOrder.size(); ++i) {
        QAccessibleInterface *label = readingOrder.at(i);
        auto *item = qobject_cast<QQuickItem *>(label->object());
        const QString text = label->text(QAccessible::Name).simplified();
        if (label->role() != QAccessible::StaticText || text.isEmpty())
            continue;
        const QString where = QStringLiteral("%1 \"%2\"").arg(describe(item), text.left(60));
        for (const QQuickItem *up = item->parentItem(); up; up = up->parentItem()) {
            QAccessibleInterface *node = exposed.value(const_cast<QQuickItem *>(up));
            const bool dialog = node
                && (node->role() == QAccessible::Dialog || node->role() == QAccessible::AlertMessage
                    || up->inherits("QQuickPopupItem"));
            if (node && !dialog
                && (says(node->text(QAccessible::Name), text) || says(node->text(QAccessible::Description), text))) {
                found << QStringLiteral("text read twice, also by %1: %2").arg(describe(up), where);
                break;
            }
        }
        for (const int beside : {i - 1, i + 1}) {
            QAccessibleInterface *node = readingOrder.value(beside);
            if (node && interactive(node->role()) && node->text(QAccessible::Name).simplified() == text)
                found << QStringLiteral("text read twice, also as the name of the control beside it: %1").arg(where);
        }
    }

    // A reader follows one focus: two objects that say they have it leave it guessing.
    QStringList focused;
    for (auto it = exposed.cbegin(); it != exposed.cend(); ++it) {
        auto *item = qobject_cast<QQuickItem *>(it.key());
        if (item && shown(item) && it.value()->state().focused)
            focused << describe(item);
    }
    if (focused.size() > 1)
        found << QStringLiteral("read as focused at once: %1").arg(focused.join(QStringLiteral("; ")));
    found.removeDuplicates();
    return found;
}

// Windows that nobody sees but that a reader still lists, such as a dialog's window kept hidden.
inline QStringList hiddenWindows()
{
    QStringList found;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (qobject_cast<QQuickWindow *>(window) && !window->isVisible()) {
            QString type = QString::fromLatin1(window->metaObject()->className());
            type = type.left(type.indexOf(QLatin1String("_QML")));
            found << QStringLiteral("hidden window: %1 \"%2\"").arg(type, window->title());
        }
    }
    return found;
}

// The problems in every window shown, the sheets of their own among them, and the windows hidden.
inline QStringList problems()
{
    QStringList found = hiddenWindows();
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (auto *quick = qobject_cast<QQuickWindow *>(window); quick && quick->isVisible())
            found << problems(quick);
    }
    return found;
}

} // namespace AccessibilityAudit
