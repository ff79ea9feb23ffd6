#include "PDFCanvas.h"

#include "PDFLayout.h"
#include "PDFTypography.h"

#include <QPainter>

#include <cmath>

PDFCanvas::PDFCanvas(QPainter *painter, std::function<void()> onNewPage, std::stop_token stop)
    : m_painter(painter)
    , m_onNewPage(std::move(onNewPage))
    , m_stop(std::move(stop))
{
}

PDFCanvas::~PDFCanvas() = default;

void PDFCanvas::preparePageSurface()
{
    if (m_painter)
        m_painter->fillRect(QRectF(0, 0, PDFLayout::pageWidth, PDFLayout::pageHeight), PDFLayout::white);
    y = PDFLayout::margin;
}

void PDFCanvas::ensureSpace(qreal height)
{
    if (PDFLayout::bottomLimit < y + height) {
        if (m_onNewPage)
            m_onNewPage();
        ++m_pages;
        preparePageSurface();
    }
}

void PDFCanvas::drawFilledRect(const QRectF &rect, const QColor &color, qreal cornerRadius)
{
    if (!m_painter)
        return;
    m_painter->save();
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(color);
    if (cornerRadius > 0)
        m_painter->drawRoundedRect(rect, cornerRadius, cornerRadius);
    else
        m_painter->drawRect(rect);
    m_painter->restore();
}

void PDFCanvas::drawRule(qreal x1, qreal x2, qreal atY, const QColor &color)
{
    if (!m_painter)
        return;
    m_painter->save();
    m_painter->setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
    m_painter->drawLine(QPointF(x1, atY), QPointF(x2, atY));
    m_painter->restore();
}

PDFTextBlock PDFCanvas::layout(const PDFText &text, qreal width) const
{
    return PDFTextBlock(text, width, m_painter ? m_painter->device() : nullptr);
}

PDFTextBlock PDFCanvas::figureBlock(const PDFText &text, qreal width, qreal maxWidth) const
{
    PDFTextBlock block = layout(text, width);
    if (block.naturalWidth() <= maxWidth)
        return block;
    PDFText wrapped = text;
    wrapped.wrap = true;
    return layout(wrapped, maxWidth);
}

PDFTextBlock &PDFCanvas::layoutFigure(const PDFText &text, qreal width, qreal maxWidth)
{
    QString key = QString::number(width) + QLatin1Char('|') + QString::number(maxWidth) + QLatin1Char('|')
        + QString::number(int(text.alignment));
    for (const PDFText::Run &run : text.runs) {
        key += QStringLiteral("|%1|%2|%3|").arg(run.size).arg(int(run.weight)).arg(run.color.rgba());
        key += run.text;
    }
    auto found = m_figures.find(key);
    if (found == m_figures.end())
        found = m_figures.emplace(key, figureBlock(text, width, maxWidth)).first;
    return found->second;
}

qreal PDFCanvas::measure(const PDFText &text, qreal width) const
{
    return layout(text, width).height();
}

void PDFCanvas::drawLines(const PDFTextBlock &block, qreal x, qreal top, qreal fromY, qreal toY)
{
    if (m_painter)
        block.draw(m_painter, QPointF(x, top), fromY, toY, m_glyphs);
}

qreal PDFCanvas::drawText(const PDFText &text, const QRectF &rect)
{
    PDFTextBlock block = layout(text, rect.width());
    return drawText(block, rect);
}

qreal PDFCanvas::drawText(PDFTextBlock &block, const QRectF &given)
{
    QRectF rect = given;
    if (block.wraps()) {
        block.setWidth(rect.width());
    } else {
        // One line, aligned inside the width it was laid out at: placed by its alignment in the
        // rectangle without laying it out again, growing out of it when wider.
        const qreal width = std::max(block.naturalWidth(), block.width());
        qreal x = rect.left();
        if (block.alignment() & Qt::AlignRight)
            x = rect.right() - width;
        else if (block.alignment() & Qt::AlignHCenter)
            x = rect.center().x() - width / 2;
        rect = QRectF(x, rect.top(), width, rect.height());
    }
    const qreal height = block.height();
    const QList<PDFTextBlock::LineSpan> &spans = block.lines();
    qsizetype fitting = 0;
    while (fitting < spans.size() && rect.top() + spans.at(fitting).bottom <= PDFLayout::bottomLimit + 0.01)
        ++fitting;
    if (fitting == spans.size())
        drawLines(block, rect.left(), rect.top(), 0, height + 1);
    else if (fitting > 0)
        drawLines(block, rect.left(), rect.top(), 0, spans.at(fitting - 1).bottom);
    return height;
}

void PDFCanvas::flowText(const PDFText &text, qreal x, qreal width)
{
    PDFTextBlock block = layout(text, width);
    flowText(block, x);
}

void PDFCanvas::flowText(PDFTextBlock &block, qreal x)
{
    const qreal height = block.height();
    const QList<PDFTextBlock::LineSpan> &spans = block.lines();
    if (spans.isEmpty()) {
        y += height;
        return;
    }

    qreal from = 0; // the block's y drawn at the canvas's y
    qsizetype first = 0;
    while (first < spans.size()) {
        qsizetype last = first;
        while (last < spans.size() && y + spans.at(last).bottom - from <= PDFLayout::bottomLimit + 0.01)
            ++last;
        if (last == first && y > PDFLayout::margin) {
            ensureSpace(PDFLayout::usableHeight + 1);
            continue;
        }
        if (last == first)
            ++last; // a single line taller than a page: drawn anyway
        const qreal to = last == spans.size() ? height + 1 : spans.at(last - 1).bottom;
        drawLines(block, x, y, from, to);
        if (last == spans.size()) {
            y += std::ceil(height - from);
            return;
        }
        from = spans.at(last).top;
        first = last;
        ensureSpace(PDFLayout::usableHeight + 1);
    }
}
