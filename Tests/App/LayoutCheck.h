#pragma once

// Walks the item tree of a window as drawn and names what a person would see as broken: a text
// cut without an ellipsis, an interactive item partly outside the window or partly under an
// opaque item painted above it, two visible texts drawn over each other.

#include <QColor>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRectF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace LayoutCheck {

namespace detail {

struct Node
{
    QQuickItem *item = nullptr;
    int order = 0; // paint order: later is drawn above
    int end = 0; // order of the last descendant
    QRectF rect; // scene rectangle
    QRectF visible; // the part no clipping ancestor cuts
    bool opaque = false; // hides what lies below it
    bool layer = false; // a modal layer over the whole window (dimmer, tour scrim)
    bool inPopup = false; // inside a popup (menu, tooltip, sheet)
    bool turned = false; // it or an ancestor is rotated: its box is not where its glyphs are
    // Ancestors that scroll along x / y (their viewport in scene coordinates).
    QList<QRectF> scrollX, scrollY;
    QList<QRectF> fixedClips; // clipping ancestors that do not scroll
};

inline qreal effectiveOpacity(const QQuickItem *item)
{
    qreal opacity = 1;
    for (; item; item = item->parentItem())
        opacity *= item->opacity();
    return opacity;
}

inline QString describe(const QQuickItem *item)
{
    QStringList path;
    for (const QQuickItem *at = item; at && path.size() < 4; at = at->parentItem()) {
        if (!at->objectName().isEmpty())
            path.prepend(at->objectName());
        else if (at == item)
            path.prepend(QString::fromLatin1(at->metaObject()->className()));
    }
    QString text = item->property("text").toString();
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("…");
    return path.join(QLatin1Char('/')) + (text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(text));
}

// A flickable that can move along the axis: its content is larger than its viewport.
inline void scrollAxes(const QQuickItem *item, bool &x, bool &y)
{
    x = y = false;
    if (!item->inherits("QQuickFlickable"))
        return;
    const int direction = item->property("flickableDirection").toInt(); // Auto 0, H 1, V 2, HV 3
    const qreal cw = item->property("contentWidth").toReal();
    const qreal ch = item->property("contentHeight").toReal();
    const bool autoDirection = direction == 0;
    x = (direction & 1 || autoDirection) && cw > item->width() + 1;
    y = (direction & 2 || autoDirection) && ch > item->height() + 1;
    // Lists lay out along one axis and may lack a content size for the other.
    if (item->inherits("QQuickListView")) {
        const bool horizontal = item->property("orientation").toInt() == Qt::Horizontal;
        x = horizontal;
        y = !horizontal;
    } else if (item->inherits("QQuickGridView") || item->inherits("QQuickTableView")) {
        y = true;
    }
}

inline bool isOpaque(const QQuickItem *item)
{
    if (!item->inherits("QQuickRectangle"))
        return false;
    const QColor color = item->property("color").value<QColor>();
    return color.alpha() == 255 && effectiveOpacity(item) > 0.99;
}

inline bool isInteractive(const QQuickItem *item)
{
    return item->inherits("QQuickAbstractButton") || item->inherits("QQuickTextInput")
        || item->inherits("QQuickTextEdit") || item->inherits("QQuickComboBox") || item->inherits("QQuickSpinBox");
}

class Walker
{
public:
    std::vector<Node> nodes;

    void walk(QQuickItem *item, const QRectF &clip, const Node &inherited)
    {
        if (!item->isVisible() || item->opacity() <= 0.01)
            return;
        Node node = inherited;
        node.item = item;
        node.order = int(nodes.size());
        node.rect = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
        node.visible = node.rect.intersected(clip);
        node.opaque = isOpaque(item);
        node.inPopup = inherited.inPopup || item->inherits("QQuickPopupItem");
        node.turned = inherited.turned || item->rotation() != 0;
        const QQuickItem *parent = item->parentItem();
        node.layer = parent && parent->inherits("QQuickOverlay") && !item->inherits("QQuickPopupItem");
        if (item->inherits("OnboardingScrim") || item->property("modalLayer").toBool())
            node.layer = true;
        const size_t at = nodes.size();
        nodes.push_back(node);

        QRectF childClip = clip;
        Node below = inherited;
        below.inPopup = node.inPopup;
        below.turned = node.turned;
        bool sx = false, sy = false;
        scrollAxes(item, sx, sy);
        if (sx)
            below.scrollX.append(node.rect);
        if (sy)
            below.scrollY.append(node.rect);
        if (item->clip()) {
            childClip = clip.intersected(node.rect);
            if (!sx && !sy)
                below.fixedClips.append(node.rect);
        }
        QList<QQuickItem *> children = item->childItems();
        std::stable_sort(children.begin(), children.end(),
                         [](const QQuickItem *a, const QQuickItem *b) { return a->z() < b->z(); });
        for (QQuickItem *child : children)
            walk(child, childClip, below);
        nodes[at].end = int(nodes.size()) - 1;
    }
};

// Something opaque drawn after `self` (and before `toOrder`, -1 for the end) covers the point;
// items inside `self` do not count, nor, when `transient` is false, an open menu or tooltip
// that stands over the page for a moment.
inline bool coveredAt(const std::vector<Node> &nodes, const Node &self, QPointF point, int toOrder = -1,
                      bool transient = true)
{
    const int last = toOrder < 0 ? int(nodes.size()) : toOrder;
    for (int i = self.end + 1; i < last; ++i) {
        const Node &other = nodes[size_t(i)];
        if (!transient && other.inPopup && !self.inPopup && !other.layer)
            continue;
        if ((other.opaque || other.layer) && other.visible.contains(point))
            return true;
    }
    return false;
}

// The rectangle the glyphs of a Text take, from its alignment and content size.
inline QRectF textContentRect(const Node &node)
{
    const QQuickItem *text = node.item;
    const qreal cw = text->property("contentWidth").toReal();
    const qreal ch = text->property("contentHeight").toReal();
    const qreal left = text->property("leftPadding").toReal();
    const qreal right = text->property("rightPadding").toReal();
    const qreal top = text->property("topPadding").toReal();
    const qreal bottom = text->property("bottomPadding").toReal();
    const int h = text->property("effectiveHorizontalAlignment").toInt();
    const int v = text->property("verticalAlignment").toInt();
    qreal x = left;
    if (h & Qt::AlignRight)
        x = text->width() - right - cw;
    else if (h & Qt::AlignHCenter)
        x = left + (text->width() - left - right - cw) / 2;
    qreal y = top;
    if (v & Qt::AlignBottom)
        y = text->height() - bottom - ch;
    else if (v & Qt::AlignVCenter)
        y = top + (text->height() - top - bottom - ch) / 2;
    return text->mapRectToScene(QRectF(x, y, cw, ch));
}

// True when the rectangle reaches past `bounds` along an axis that no scrolling ancestor
// explains (a scrolled-away part is the scroll view's business).
inline bool cutOff(const Node &node, const QRectF &rect, const QRectF &bounds)
{
    const qreal tolerance = 1.5;
    const bool outX = rect.left() < bounds.left() - tolerance || rect.right() > bounds.right() + tolerance;
    const bool outY = rect.top() < bounds.top() - tolerance || rect.bottom() > bounds.bottom() + tolerance;
    return (outX && node.scrollX.isEmpty()) || (outY && node.scrollY.isEmpty());
}

} // namespace detail

// Every fault found in the window now, one line each, naming the item.
inline QStringList faults(QQuickWindow *window)
{
    using namespace detail;
    Walker walker;
    const QRectF windowRect(0, 0, window->width(), window->height());
    walker.walk(window->contentItem(), windowRect, Node{});
    const std::vector<Node> &nodes = walker.nodes;
    QStringList found;

    std::vector<const Node *> texts;
    for (const Node &node : nodes) {
        if (node.visible.isEmpty() || node.rect.width() < 1 || node.rect.height() < 1)
            continue;
        QQuickItem *item = node.item;
        // Wholly under a modal layer or an opaque item: not seen, not checked.
        const QPointF centre = node.visible.center();
        const bool hidden = coveredAt(nodes, node, centre);

        if (item->inherits("QQuickText") && !item->property("text").toString().trimmed().isEmpty()) {
            if (hidden)
                continue;
            const QRectF content = textContentRect(node);
            // A turned text's box is its bounding box: neighbours' boxes meet where glyphs do not.
            if (!node.turned)
                texts.push_back(&node);
            const bool elides = item->property("elide").toInt() != Qt::ElideNone;
            const bool overflows =
                content.width() > node.rect.width() + 1.5 || content.height() > node.rect.height() + 1.5;
            if (elides)
                continue;
            // Its own box or a clipping container that does not scroll cuts it, or the window does.
            QRectF bounds = windowRect;
            for (const QRectF &clip : node.fixedClips)
                bounds = bounds.intersected(clip);
            if (item->clip() && overflows)
                bounds = bounds.intersected(node.rect);
            if (cutOff(node, content, bounds))
                found << QStringLiteral("text cut without an ellipsis: %1").arg(describe(item));
            continue;
        }

        if (isInteractive(item)) {
            // A control inside another (the field of a combo box) is checked with its owner.
            bool nested = false;
            for (QQuickItem *up = item->parentItem(); up && !nested; up = up->parentItem())
                nested = isInteractive(up);
            if (nested)
                continue;
            QRectF bounds = windowRect;
            for (const QRectF &clip : node.fixedClips)
                bounds = bounds.intersected(clip);
            if (cutOff(node, node.rect, bounds)) {
                found << QStringLiteral("interactive item outside the window: %1").arg(describe(item));
                continue;
            }
            const QRectF r = node.visible.adjusted(3, 3, -3, -3);
            if (r.isEmpty())
                continue;
            const QPointF samples[] = {r.center(), r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
            int covered = 0;
            for (const QPointF &p : samples)
                covered += coveredAt(nodes, node, p, -1, false) ? 1 : 0;
            if (covered > 0 && covered < 5)
                found << QStringLiteral("interactive item partly under another item: %1").arg(describe(item));
        }
    }

    // Two texts whose glyphs meet, with nothing opaque drawn between them.
    for (size_t i = 0; i < texts.size(); ++i) {
        const QRectF a = textContentRect(*texts[i]).intersected(texts[i]->visible);
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const QRectF b = textContentRect(*texts[j]).intersected(texts[j]->visible);
            const QRectF both = a.intersected(b);
            if (both.width() < 2 || both.height() < 2)
                continue;
            if (coveredAt(nodes, *texts[i], both.center(), texts[j]->order))
                continue;
            found << QStringLiteral("texts overlap: %1 and %2").arg(describe(texts[i]->item), describe(texts[j]->item));
        }
    }
    return found;
}

} // namespace LayoutCheck
