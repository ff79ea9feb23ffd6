#pragma once

// Walks the item tree of a window as drawn and names what a person would see as broken: a text
// cut without an ellipsis, an interactive item partly outside the window or partly under an
// opaque item painted above it, two visible texts drawn over each other, a text or symbol too
// faint against what the frame shows behind it, a name broken inside a word.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRectF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
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


// Relative luminance of an sRGB colour, as the contrast ratio of WCAG 2 reads it.
inline double luminance(const QColor &c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

inline double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `top`, at its own alpha times `opacity`, drawn over the opaque `bottom`.
inline QColor over(const QColor &top, qreal opacity, const QColor &bottom)
{
    const double a = top.alphaF() * opacity;
    return QColor::fromRgbF(float(top.redF() * a + bottom.redF() * (1 - a)),
                            float(top.greenF() * a + bottom.greenF() * (1 - a)),
                            float(top.blueF() * a + bottom.blueF() * (1 - a)));
}

// The colour that most of the box shows in the frame: what lies behind a text. Colours are
// counted in coarse buckets, each with its neighbours, so that a gradient counts as one colour.
// Glyph pixels of about the text's own colour (a heavy bold line) give way to the next colour
// when that one is common too. None when no colour is common: a picture or a chart is behind it.
inline std::optional<QColor> backgroundIn(const QImage &frame, const QRect &box, const QColor &text, qreal opacity)
{
    const auto keyOf = [](QRgb p) { return (qRed(p) >> 3) << 10 | (qGreen(p) >> 3) << 5 | (qBlue(p) >> 3); };
    std::unordered_map<int, int> counts;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            ++counts[keyOf(line[x])];
    }
    const int total = box.width() * box.height();
    const auto near = [](int a, int b) {
        return std::abs((a >> 10) - (b >> 10)) <= 1 && std::abs((a >> 5 & 31) - (b >> 5 & 31)) <= 1
            && std::abs((a & 31) - (b & 31)) <= 1;
    };
    // A bucket's pixels with those of its neighbours.
    const auto shareOf = [&](int key) {
        int share = 0;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dg = -1; dg <= 1; ++dg)
                for (int db = -1; db <= 1; ++db) {
                    const int r = (key >> 10) + dr, g = (key >> 5 & 31) + dg, b = (key & 31) + db;
                    if (r < 0 || g < 0 || b < 0 || r > 31 || g > 31 || b > 31)
                        continue;
                    const auto it = counts.find(r << 10 | g << 5 | b);
                    share += it == counts.end() ? 0 : it->second;
                }
        return share;
    };
    // The most common colour of a bucket: the flat fill itself, not its mean with the glyphs' edges.
    const auto colourOf = [&](int key) {
        std::unordered_map<QRgb, int> exact;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
            for (int x = box.left(); x <= box.right(); ++x)
                if (keyOf(line[x]) == key)
                    ++exact[line[x] | 0xff000000];
        }
        const auto most = std::max_element(exact.cbegin(), exact.cend(),
                                           [](const auto &a, const auto &b) { return a.second < b.second; });
        return QColor::fromRgb(most->first);
    };
    const auto byCount = [](const auto &a, const auto &b) {
        return a.second < b.second || (a.second == b.second && a.first < b.first);
    };
    const auto first = std::max_element(counts.cbegin(), counts.cend(), byCount);
    if (first == counts.cend())
        return std::nullopt;
    int chosen = first->first;
    std::optional<std::pair<int, int>> second;
    for (const auto &candidate : counts) {
        if (!near(candidate.first, first->first) && (!second || byCount(*second, candidate)))
            second = candidate;
    }
    if (second && shareOf(second->first) * 6 >= total) {
        const QColor other = colourOf(second->first);
        if (contrastRatio(colourOf(first->first), over(text, opacity, other)) < 1.5)
            chosen = second->first;
    }
    if (shareOf(chosen) * 10 < total * 3)
        return std::nullopt;
    return colourOf(chosen);
}

// A symbol of the icon font: every character in the private use area.
inline bool isSymbol(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isSpace() || c.isSurrogate() || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF);
    });
}

// WCAG's least ratio: 3 for symbols and large text (24 px, or 18.66 px bold), 4.5 for the rest.
inline double requiredContrast(const QQuickItem *item, const QString &text)
{
    if (isSymbol(text))
        return 3.0;
    const QFont font = item->property("font").value<QFont>();
    const qreal px = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 4 / 3;
    const bool large = px >= 24 - 0.01 || (px >= 18.66 - 0.01 && font.weight() >= QFont::Bold);
    return large ? 3.0 : 4.5;
}

// The least contrast of a shown text against the frame's pixels behind it, tile by tile along
// its glyph box (a gradient changes under a long line); tiles that something drawn above covers
// or that show no one background are passed over. Negative when nothing could be measured.
inline double leastContrast(const std::vector<Node> &nodes, const Node &node, const QRectF &glyphs, const QImage &frame,
                            qreal ratio)
{
    const QColor declared = node.item->property("color").value<QColor>();
    const qreal opacity = effectiveOpacity(node.item);
    const QRect box =
        QRectF(glyphs.topLeft() * ratio, glyphs.bottomRight() * ratio).toAlignedRect().intersected(frame.rect());
    if (box.width() < 3 || box.height() < 3)
        return -1;
    const int tileHeight = std::clamp(box.height(), 12, 48);
    const int tileWidth = 2 * tileHeight;
    double least = -1;
    for (int top = box.top(); top <= box.bottom(); top += tileHeight) {
        for (int left = box.left(); left <= box.right(); left += tileWidth) {
            const QRect tile = QRect(left, top, tileWidth, tileHeight).intersected(box);
            if (tile.width() * tile.height() < 40)
                continue;
            const QPointF centre = QRectF(tile).center() / ratio;
            if (coveredAt(nodes, node, centre))
                continue;
            const std::optional<QColor> background = backgroundIn(frame, tile, declared, opacity);
            if (!background)
                continue;
            const double measured = contrastRatio(over(declared, opacity, *background), *background);
            if (least < 0 || measured < least)
                least = measured;
        }
    }
    return least;
}

// Type names of the item and a few ancestors, to find a text that has no name of its own.
inline QString typePath(const QQuickItem *item)
{
    QStringList path;
    for (const QQuickItem *at = item; at && path.size() < 4; at = at->parentItem()) {
        QString type = QString::fromLatin1(at->metaObject()->className());
        type = type.left(type.indexOf(QLatin1String("_QML")));
        path.prepend(at->objectName().isEmpty() ? type : at->objectName());
    }
    return path.join(QLatin1Char('>'));
}

// Where the lines of a text laid out from the words of `whole` (each line feed one line) stop
// being those words: every line is the next of its words in order, broken only after a blank or a
// hyphen, or the start of the next word cut and ended with "…". Empty when they are.
inline QString wordBreakFault(const QString &shown, const QString &whole)
{
    const QChar ellipsis(0x2026);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    QString rest = whole.simplified();
    const auto breaksAfter = [](const QString &text, qsizetype at) {
        return at >= text.size() || text.at(at).isSpace() || (at > 0 && text.at(at - 1) == QLatin1Char('-'));
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty())
            return QStringLiteral("an empty line %1").arg(i + 1);
        qsizetype end = 0;
        if (rest.startsWith(line) && breaksAfter(rest, line.size())) {
            end = line.size();
        } else if (line.endsWith(ellipsis) && rest.startsWith(line.chopped(1))) {
            // Cut: the rest of the word it cut into is not shown, nor, on the last line, the rest.
            end = line.size() - 1;
            while (!breaksAfter(rest, end))
                ++end;
            if (i == lines.size() - 1)
                return {};
        } else {
            return QStringLiteral("line %1 \"%2\" is not the next words of \"%3\"").arg(i + 1).arg(line, rest);
        }
        rest = rest.mid(end).trimmed();
    }
    return rest.isEmpty() ? QString() : QStringLiteral("\"%1\" is not shown").arg(rest);
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
    std::vector<const Node *> contrasted; // shown texts, fields' included
    for (const Node &node : nodes) {
        if (node.visible.isEmpty() || node.rect.width() < 1 || node.rect.height() < 1)
            continue;
        QQuickItem *item = node.item;
        // Wholly under a modal layer or an opaque item: not seen, not checked.
        const QPointF centre = node.visible.center();
        const bool hidden = coveredAt(nodes, node, centre);

        const bool isText =
            item->inherits("QQuickText") || item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit");
        if (isText && !hidden && !item->property("text").toString().trimmed().isEmpty())
            contrasted.push_back(&node);

        if (item->inherits("QQuickText") && !item->property("text").toString().trimmed().isEmpty()) {
            if (hidden)
                continue;
            const QRectF content = textContentRect(node);
            // A turned text's box is its bounding box: neighbours' boxes meet where glyphs do not.
            if (!node.turned)
                texts.push_back(&node);
            // A name laid out line by line: its lines, as the text shows them, break between words.
            const QString whole = item->property("wrapsWordsOf").toString();
            if (!whole.isEmpty()) {
                const QString shown = item->property("text").toString();
                QString fault = item->property("lineCount").toInt() != shown.count(QLatin1Char('\n')) + 1
                    ? QStringLiteral("its lines are broken again where they do not fit")
                    : wordBreakFault(shown, whole);
                if (!fault.isEmpty())
                    found << QStringLiteral("text breaks inside a word: %1: %2").arg(describe(item), fault);
            }
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

    // Text that cannot be told from what is drawn behind it, its colour as declared against the
    // frame's pixels. Disabled controls are exempt, as WCAG has it; placeholders are not, as WCAG
    // does not exempt them and a person reads them to know what a field wants.
    if (!contrasted.empty()) {
        const QImage frame = window->grabWindow().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = frame.width() / qreal(std::max(1, window->width()));
        for (const Node *node : contrasted) {
            QQuickItem *item = node->item;
            const QString text = item->property("text").toString();
            const QColor color = item->property("color").value<QColor>();
            if (!item->isEnabled() || color.alphaF() * effectiveOpacity(item) < 0.05)
                continue;
            if (!item->property("selectedText").toString().isEmpty())
                continue;
            const QRectF glyphs = textContentRect(*node).intersected(node->visible).intersected(windowRect);
            const double least = leastContrast(nodes, *node, glyphs, frame, ratio);
            const double required = requiredContrast(item, text);
            if (least >= 0 && least < required)
                found << QStringLiteral("low contrast %1:1 (needs %2:1): %3 [%4]")
                             .arg(least, 0, 'f', 2)
                             .arg(required, 0, 'f', 1)
                             .arg(describe(item), typePath(item));
        }
    }
    return found;
}

// Text fields wider than `cap`: a line of input across a wide window is hard to read. Only what is
// laid out is measured, so a window larger than the screen may be checked.
inline QStringList wideFields(QQuickWindow *window, qreal cap)
{
    using namespace detail;
    Walker walker;
    walker.walk(window->contentItem(), QRectF(0, 0, window->width(), window->height()), Node{});
    QStringList found;
    for (const Node &node : walker.nodes) {
        const QQuickItem *item = node.item;
        const bool editable = (item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
            && !item->property("readOnly").toBool();
        if (editable && node.rect.width() > cap + 0.5)
            found << QStringLiteral("text field %1 px wide (at most %2): %3 [%4]")
                         .arg(qRound(node.rect.width()))
                         .arg(cap)
                         .arg(describe(item), typePath(item));
    }
    return found;
}

} // namespace LayoutCheck
