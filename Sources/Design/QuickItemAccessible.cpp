#include "QuickItemAccessible.h"

#include "AccessibleState.h"

#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qaccessiblequickview_p.h>
#include <QtQuick/private/qquickaccessibleattached_p.h>
#include <QtQuick/private/qquickitem_p.h>
#include <QtQuick/private/qquickitemview_p_p.h>
#include <QtQuick/private/qquicktableview_p_p.h>
#include <QtQuick/private/qquicktext_p.h>
#include <QtQuick/private/qquicktextinput_p.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QQuickWindow>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The item's `Accessible.focused`, set by a row that stands for the keyboard's focus of its list.
bool declaresFocus(const QQuickItem *item)
{
    const QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(item);
    return attached && attached->property("focused").toBool();
}

bool hasRowDeclaringFocus(const QQuickItem *item, int depth)
{
    if (depth == 0)
        return false;
    const QList<QQuickItem *> children = item->childItems();
    return std::any_of(children.cbegin(), children.cend(), [depth](const QQuickItem *child) {
        return child->isVisible() && (declaresFocus(child) || hasRowDeclaringFocus(child, depth - 1));
    });
}

// Whether a row of the list (or other focus scope) the item is in stands for the focus instead:
// a list gives its focus to one row while another is the current one.
bool yieldsFocus(const QQuickItem *item)
{
    for (const QQuickItem *scope = item; scope; scope = scope->parentItem()) {
        if (scope->flags() & QQuickItem::ItemIsFocusScope)
            return hasRowDeclaringFocus(scope, 3);
    }
    return false;
}

// A list keeps the rows it took away (a removed line, one scrolled out) in its pool, still laid
// out where they stood and merely not drawn (culled, as are the rows it keeps ready beyond its
// edges): a row the list no longer holds is gone for a reader too.
bool released(const QQuickItem *row)
{
    if (!QQuickItemPrivate::get(row)->culled || !row->parentItem())
        return false;
    QQuickItem *view = row->parentItem()->parentItem();
    if (auto *list = qobject_cast<QQuickItemView *>(view)) {
        const QQuickItemViewPrivate *d = QQuickItemViewPrivate::get(list);
        const auto holds = [row](const FxViewItem *held) { return held && held->item == row; };
        return !holds(d->currentItem) && std::none_of(d->visibleItems.cbegin(), d->visibleItems.cend(), holds);
    }
    if (auto *table = qobject_cast<QQuickTableView *>(view)) {
        const QQuickTableViewPrivate *d = QQuickTableViewPrivate::get(table);
        return std::none_of(d->loadedItems.cbegin(), d->loadedItems.cend(),
                            [row](const FxTableItem *held) { return held->item == row; });
    }
    return false;
}

// Whether what the views that clip an item leave of it is a strip a pixel or so wide, which shows
// nothing a person can read (a row's blank edge at the top of a view that scrolled it away).
bool sliver(const QRectF &seen, const QRectF &whole)
{
    constexpr qreal least = 2;
    return (seen.height() < least && whole.height() >= least) || (seen.width() < least && whole.width() >= least);
}

// Whether a person cannot see the item, though it is shown: a list keeps it (or a row it is in)
// undrawn, in its pool or ready beyond its edges, or the views that clip it show none of it, or a
// sliver (it is scrolled out of them, under a toolbar that stays above a list or past the bottom).
bool outOfSight(const QQuickItem *item)
{
    const QRectF whole = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    QRectF seen = whole;
    for (const QQuickItem *up = item; up; up = up->parentItem()) {
        if (QQuickItemPrivate::get(up)->culled)
            return true;
        // An item of no size (a holder whose children are drawn) is left to what it holds.
        if (up != item && up->clip() && !seen.isEmpty()) {
            seen = seen.intersected(up->mapRectToScene(up->clipRect()));
            if (seen.isEmpty() || sliver(seen, whole))
                return true;
        }
    }
    return false;
}

// The item whose children are the content of a Flickable (a list, a table, a scrolling pane).
bool isFlickableContent(const QQuickItem *item)
{
    const QQuickItem *flickable = item->parentItem();
    return flickable && flickable->inherits("QQuickFlickable")
        && flickable->property("contentItem").value<QQuickItem *>() == item;
}

// The overlay's popups (and their dimmers) as drawn, the lowest first.
QList<QQuickItem *> stacked(const QQuickItem *overlay)
{
    return QQuickItemPrivate::get(overlay)->paintOrderChildItems();
}

// The item of the popup drawn on top of the open modal popups of the window (a sheet, a question,
// a picker), which keeps everything under it from input; null when none is open.
const QQuickItem *topModal(const QQuickWindow *window)
{
    if (!window)
        return nullptr;
    const QList<QQuickItem *> layers = window->contentItem()->childItems();
    const auto overlay = std::find_if(layers.cbegin(), layers.cend(),
                                      [](const QQuickItem *layer) { return layer->inherits("QQuickOverlay"); });
    if (overlay == layers.cend())
        return nullptr;
    const QList<QQuickItem *> popups = stacked(*overlay);
    const auto top = std::find_if(popups.crbegin(), popups.crend(), [](const QQuickItem *item) {
        const QObject *popup = item->parent();
        return item->isVisible() && popup && popup->inherits("QQuickPopup") && popup->property("modal").toBool();
    });
    return top == popups.crend() ? nullptr : *top;
}

// Whether the item lies under the modal popup `top`, which a reader then reads alone, as a person
// can use it alone: the item is neither in it, nor in a popup drawn above it (a menu it opened),
// nor a layer holding it.
bool underModal(const QQuickItem *item, const QQuickItem *top)
{
    if (!top || item == top || item->isAncestorOf(top))
        return false;
    const QQuickItem *overlay = top->parentItem();
    const QQuickItem *layer = item;
    while (layer && layer->parentItem() != overlay)
        layer = layer->parentItem();
    if (!layer)
        return true;
    const QList<QQuickItem *> popups = stacked(overlay);
    return popups.indexOf(const_cast<QQuickItem *>(layer)) < popups.indexOf(const_cast<QQuickItem *>(top));
}

// A scroll bar a person sees: one the view shows always, or as needed while it has more to show
// than fits. A bar never drawn (its content fits, or it is switched off) is nothing to a reader.
bool undrawnBar(const QQuickItem *item)
{
    if (!item->inherits("QQuickScrollBar"))
        return false;
    const int policy = item->property("policy").toInt();
    return policy == Qt::ScrollBarAlwaysOff
        || (policy == Qt::ScrollBarAsNeeded && item->property("size").toReal() >= 0.999);
}

// The words a text item draws, without markup; none when it draws only a picture: glyphs of the
// icon font, a symbol or an emoji standing for a thing that the control around it names.
QString drawnWords(const QQuickItem *item)
{
    const auto *text = static_cast<const QQuickText *>(item);
    QString words = text->text();
    if (text->textFormat() != QQuickText::PlainText && Qt::mightBeRichText(words))
        words = QQuickAccessibleAttached::stripHtml(words);
    words = words.simplified();
    const QList<uint> points = words.toUcs4();
    const bool picture = std::all_of(points.cbegin(), points.cend(), [](uint c) {
        switch (QChar::category(c)) {
        case QChar::Other_PrivateUse:
        case QChar::Symbol_Other:
        case QChar::Mark_NonSpacing:
        case QChar::Other_Format:
        case QChar::Separator_Space:
            return true;
        default:
            return false;
        }
    });
    return picture ? QString() : words;
}

// Whether the caption drawn for a control and kept from a reader as the control's name (a
// field's title above it) is in sight: a text set to be ignored whose words are the name, beside
// the control or one of the few items that hold it. Who sees the caption sees the field, though
// the field itself may still lie past the view's edge.
bool captionInSight(const QQuickItem *control, const QString &name)
{
    const QString words = name.simplified();
    const QQuickItem *holder = control;
    for (int depth = 0; depth < 4 && !words.isEmpty() && holder->parentItem(); ++depth) {
        const QList<QQuickItem *> beside = holder->parentItem()->childItems();
        const bool found = std::any_of(beside.cbegin(), beside.cend(), [&](const QQuickItem *text) {
            const QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(text);
            return text != holder && attached && attached->ignored() && text->isVisible()
                && text->inherits("QQuickText") && drawnWords(text) == words && !outOfSight(text);
        });
        if (found)
            return true;
        holder = holder->parentItem();
    }
    return false;
}

// A text item that says nothing of its own to a reader (no Accessible property set on it) reads
// as the words it draws: what a person sees, a reader reaches. One set to be ignored stays out.
bool isPlainText(const QQuickItem *item)
{
    return item->inherits("QQuickText") && !QQuickAccessibleAttached::attachedProperties(item);
}

// The words and signs of a text, without its punctuation and spacing: a sum drawn on two lines
// reads the same as the sums said one after the other ("70 650 ₽, 3 625 $").
QStringList wordsOf(const QString &text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c.isSymbol() || c.isSurrogate()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// What an item says itself, its name and description, which the texts it stands in need not say
// again.
class OwnerWords
{
public:
    explicit OwnerWords(QString said)
        : m_said(std::move(said))
    {
    }

    // Whether the words of `part` stand in it, one after the other.
    bool says(const QString &part) const
    {
        if (part.isEmpty() || m_said.isEmpty())
            return false;
        if (m_said.contains(part))
            return true;
        const QStringList words = wordsOf(part);
        if (!m_words)
            m_words = wordsOf(m_said);
        return !words.isEmpty()
            && std::search(m_words->cbegin(), m_words->cend(), words.cbegin(), words.cend()) != m_words->cend();
    }

private:
    QString m_said;
    mutable std::optional<QStringList> m_words;
};

// Whether a reader gets the text: it has words, and they are not read already by the item it
// stands in (a button's label, a row named by its texts, a card by its figures).
bool readsOwnWords(const QQuickItem *item, const OwnerWords &owner)
{
    const QString words = drawnWords(item);
    return !words.isEmpty() && !owner.says(words);
}

// A label that says what the item it stands in reads already (a status chip in a row named with
// the status): read once, by that item.
bool repeatsOwner(const QQuickItem *item, const OwnerWords &owner)
{
    const QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(item);
    return attached && attached->role() == QAccessible::StaticText && owner.says(attached->name().simplified());
}

// The accessible items under the item, as a reader meets them: a list's rows top to bottom (then
// left to right), as drawn, whatever order the list made them in; pooled rows left out, and
// texts read by their words while they show; scroll bars only while drawn, and nothing under
// the modal popup `modal`. The item says `owner` itself.
void readableChildren(QQuickItem *item, QList<QQuickItem *> &found, const OwnerWords &owner, const QQuickItem *modal)
{
    QList<QQuickItem *> children = item->childItems();
    if (isFlickableContent(item)) {
        std::stable_sort(children.begin(), children.end(), [](const QQuickItem *a, const QQuickItem *b) {
            const qreal ay = std::round(a->y()), by = std::round(b->y());
            return ay != by ? ay < by : std::round(a->x()) < std::round(b->x());
        });
    }
    for (QQuickItem *child : std::as_const(children)) {
        if (released(child) || undrawnBar(child) || underModal(child, modal) || repeatsOwner(child, owner))
            continue;
        if (QQuickItemPrivate::get(child)->isAccessible
            || (isPlainText(child) && child->isVisible() && readsOwnWords(child, owner)))
            found.append(child);
        else
            readableChildren(child, found, owner, modal);
    }
}

// What a scroll bar moves, for its name: the nearest object above it that has a name (a sheet),
// else the window.
QString scrolledName(const QQuickItem *bar)
{
    for (const QQuickItem *up = bar->parentItem(); up; up = up->parentItem()) {
        if (!QQuickItemPrivate::get(up)->isAccessible)
            continue;
        const QAccessibleInterface *node = QAccessible::queryAccessibleInterface(const_cast<QQuickItem *>(up));
        const QString name = node ? node->text(QAccessible::Name) : QString();
        if (!name.isEmpty())
            return name;
    }
    return bar->window() ? bar->window()->title() : QString();
}

// A scroll bar with no name of its own is named after what it moves.
QString scrollBarName(const QQuickItem *bar)
{
    const QString scrolled = scrolledName(bar);
    return scrolled.isEmpty() ? QStringLiteral("Прокрутка") : QStringLiteral("Прокрутка: ") + scrolled;
}

// A field that hides what is typed (a password) reads only the bullets it shows, as a desktop
// toolkit's does; revealed, it reads its text like any field.
bool masks(const QQuickItem *item)
{
    const auto *input = qobject_cast<const QQuickTextInput *>(item);
    return input && input->echoMode() != QQuickTextInput::Normal;
}

QString maskedText(const QQuickItem *item)
{
    return static_cast<const QQuickTextInput *>(item)->displayText();
}

void announce(QQuickItem *item, QAccessible::Event kind)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(item, kind);
    QAccessible::updateAccessibility(&event);
}

template<typename Attached>
void announcePooling(QQuickItem *row, Attached *view)
{
    QObject::connect(view, &Attached::pooled, row, [row] { announce(row, QAccessible::ObjectHide); });
    QObject::connect(view, &Attached::reused, row, [row] { announce(row, QAccessible::ObjectShow); });
}

// Children as `Reader::readable()` lists them, for an item or a window.
template<typename Base, typename Reader>
class ReadableChildren : public Base
{
public:
    using Base::Base;

    int childCount() const override { return int(readable().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QQuickItem *> children = readable();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(readable().indexOf(qobject_cast<QQuickItem *>(child->object()))) : -1;
    }

private:
    QList<QQuickItem *> readable() const { return static_cast<const Reader *>(this)->readable(); }
};

class DisabledAwareItem : public ReadableChildren<QAccessibleQuickItem, DisabledAwareItem>
{
    friend class ReadableChildren<QAccessibleQuickItem, DisabledAwareItem>;

public:
    explicit DisabledAwareItem(QQuickItem *item)
        : ReadableChildren(item)
    {
        // A reader that keeps what it has read learns of the change.
        QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        });
        // A text read by its words tells of new words, and of showing and hiding, as Qt's own
        // accessible items do (asked when it happens: Accessible properties may come later).
        if (auto *text = qobject_cast<QQuickText *>(item)) {
            QObject::connect(text, &QQuickText::textChanged, item, [item] {
                if (isPlainText(item))
                    announce(item, QAccessible::NameChanged);
            });
            QObject::connect(item, &QQuickItem::visibleChanged, item, [item] {
                if (isPlainText(item))
                    announce(item, item->isVisible() ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            });
        }
        // A list's row that goes to the pool hides, and shows again when the list takes it back
        // (the view's attached object, a child of the row, tells both).
        for (QObject *child : item->children()) {
            if (auto *list = qobject_cast<QQuickItemViewAttached *>(child))
                announcePooling(item, list);
            else if (auto *table = qobject_cast<QQuickTableViewAttached *>(child))
                announcePooling(item, table);
        }
    }

    // A popup's states are set on the popup, which stands for its item.
    QAccessible::Role role() const override
    {
        if (isPlainText(item()))
            return QAccessible::StaticText;
        for (const QObject *object : {static_cast<const QObject *>(item()), popup()}) {
            const AccessibleState *extra = object ? AccessibleState::of(object) : nullptr;
            if (extra && extra->role() != QAccessible::NoRole)
                return QAccessible::Role(extra->role());
        }
        return QAccessibleQuickItem::role();
    }

    // A popup without a name of its own reads by its `title`, as a dialog does, and without a
    // description by its `message`, as a question does.
    QString text(QAccessible::Text kind) const override
    {
        if (isPlainText(item()))
            return kind == QAccessible::Name ? drawnWords(item()) : QString();
        QString value = QAccessibleQuickItem::text(kind);
        if (masks(item()) && (kind == QAccessible::Value || value == item()->property("text").toString()))
            return kind == QAccessible::Value ? maskedText(item()) : QString();
        const QObject *owner = popup();
        if (owner && value.isEmpty() && kind == QAccessible::Name)
            value = owner->property("title").toString();
        else if (value.isEmpty() && kind == QAccessible::Name && item()->inherits("QQuickScrollBar"))
            value = scrollBarName(item());
        else if (owner && value.isEmpty() && kind == QAccessible::Description)
            value = owner->property("message").toString();
        return value;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleQuickItem::state();
        // Qt tells it only of items with Accessible properties; a text read by its words has none.
        const QQuickWindow *shownIn = item()->window();
        if (!item()->isVisible() || item()->opacity() <= 0 || !shownIn || !shownIn->isVisible())
            state.invisible = true;
        if (outOfSight(item()) && !captionInSight(item(), text(QAccessible::Name))) {
            state.invisible = true;
            state.offscreen = true;
        }
        // Under a modal popup nothing is there for a reader, as nothing is for the pointer; nor is a
        // scroll bar that is not drawn.
        if (undrawnBar(item()) || underModal(item(), topModal(shownIn)))
            state.invisible = true;
        // Qt calls every text (an alert or a heading too) and scroll bar focusable, as it does a
        // control: only one that Tab reaches is.
        const QAccessible::Role reading = role();
        const bool label = item()->inherits("QQuickText") || reading == QAccessible::StaticText;
        if ((label || reading == QAccessible::ScrollBar) && !item()->activeFocusOnTab())
            state.focusable = false;
        // Qt says focused of every scope around the focused item too (a sheet, a list): a reader
        // then hears of two focused objects. Only the item that takes the keys is, unless a row
        // of it says it stands for it (a list's current row).
        const QQuickWindow *window = item()->window();
        state.focused =
            declaresFocus(item()) || (window && window->activeFocusItem() == item() && !yieldsFocus(item()));
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
        if (const QObject *owner = popup(); owner && owner->property("modal").toBool())
            state.modal = true;
        return state;
    }

    // Qt's buttons of this version do nothing on a reader's press: it is taken as a press of
    // Space, which each button answers as its own (a click, a toggle, a choice).
    void doAction(const QString &actionName) override
    {
        QQuickItem *button = item();
        if (actionName != QAccessibleActionInterface::pressAction() || !button->inherits("QQuickAbstractButton")) {
            QAccessibleQuickItem::doAction(actionName);
            return;
        }
        if (!button->isEnabled() || !button->isVisible())
            return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(button, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(button, &release);
    }

    // The text of a field that hides it reads as its bullets, by any offset and boundary.
    QString text(int startOffset, int endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::text(startOffset, endOffset);
        return maskedText(item()).mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override
    {
        return masks(item()) ? int(maskedText(item()).size()) : QAccessibleQuickItem::characterCount();
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                         int *endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::textAtOffset(offset, boundary, startOffset, endOffset);
        return maskedAround(offset, boundary, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                             int *endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::textBeforeOffset(offset, boundary, startOffset, endOffset);
        return boundary == QAccessible::CharBoundary ? maskedAround(offset - 1, boundary, startOffset, endOffset)
                                                     : maskedAround(-1, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                            int *endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::textAfterOffset(offset, boundary, startOffset, endOffset);
        return boundary == QAccessible::CharBoundary ? maskedAround(offset + 1, boundary, startOffset, endOffset)
                                                     : maskedAround(-1, boundary, startOffset, endOffset);
    }

private:
    // The popup whose item this is; null for any other item.
    const QObject *popup() const
    {
        const QObject *owner = item()->inherits("QQuickPopupItem") ? item()->parent() : nullptr;
        return owner && owner->inherits("QQuickPopup") ? owner : nullptr;
    }

    QList<QQuickItem *> readable() const
    {
        QList<QQuickItem *> found;
        const OwnerWords owner(
            (text(QAccessible::Name) + QLatin1Char('\n') + text(QAccessible::Description)).simplified());
        readableChildren(item(), found, owner, topModal(item()->window()));
        return found;
    }

    // The bullets hold no words or lines: a character is one bullet, anything longer all of them.
    QString maskedAround(int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
    {
        const QString shown = maskedText(item());
        if (offset < 0 || offset >= shown.size()) {
            *startOffset = *endOffset = -1;
            return QString();
        }
        const bool one = boundary == QAccessible::CharBoundary;
        *startOffset = one ? offset : 0;
        *endOffset = one ? offset + 1 : int(shown.size());
        return shown.mid(*startOffset, *endOffset - *startOffset);
    }
};

// The window reads its content as its items do: the texts among it by their words.
class ContentReadingWindow : public ReadableChildren<QAccessibleQuickWindow, ContentReadingWindow>
{
    friend class ReadableChildren<QAccessibleQuickWindow, ContentReadingWindow>;

public:
    using ReadableChildren::ReadableChildren;

private:
    QList<QQuickItem *> readable() const
    {
        QList<QQuickItem *> found;
        auto *window = static_cast<QQuickWindow *>(object());
        if (QQuickItem *content = window->contentItem())
            readableChildren(content, found, OwnerWords(QString()), topModal(window));
        return found;
    }
};

// Factories are asked from the object's own class up: answering for its own class comes before
// Qt's factory, which answers for QQuickItem and QQuickWindow.
QAccessibleInterface *create(const QString &className, QObject *object)
{
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *window = qobject_cast<QQuickWindow *>(object))
        return new ContentReadingWindow(window);
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || !(QQuickItemPrivate::get(item)->isAccessible || isPlainText(item)))
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
