#include "PDFCanvas.h"

#include "PDFLayout.h"
#include "PDFTypography.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

struct LineSpan
{
    qreal top;
    qreal bottom;
};

QList<LineSpan> lineSpans(QTextDocument &document)
{
    QList<LineSpan> spans;
    QAbstractTextDocumentLayout *documentLayout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const qreal blockTop = documentLayout->blockBoundingRect(block).top();
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            spans.append(LineSpan{blockTop + line.y(), blockTop + line.y() + line.height()});
        }
    }
    return spans;
}

} // namespace

PDFCanvas::PDFCanvas(QPainter *painter, std::function<void()> onNewPage)
    : m_painter(painter)
    , m_onNewPage(std::move(onNewPage))
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
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    if (m_painter && m_painter->device())
        document->documentLayout()->setPaintDevice(m_painter->device());
    document->setDocumentMargin(0);
    QTextOption option = document->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(text.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    document->setDefaultTextOption(option);
    if (!text.runs.isEmpty())
        document->setDefaultFont(PDFTypography::font(text.runs.first().size, text.runs.first().weight));

    // The width is set first and the text inserted in one edit block, so that the document is laid
    // out once, at the end, and keeps its shaped lines for drawing.
    document->setTextWidth(width);
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    QTextBlockFormat block;
    block.setAlignment(text.alignment);
    block.setLineHeight(3, QTextBlockFormat::LineDistanceHeight);
    block.setLayoutDirection(Qt::LeftToRight);
    cursor.setBlockFormat(block);
    for (const PDFText::Run &run : text.runs) {
        QTextCharFormat format;
        format.setFont(PDFTypography::font(run.size, run.weight));
        format.setForeground(run.color);
        cursor.insertText(run.text, format);
    }
    for (QTextBlock paragraph = document->begin(); paragraph.isValid(); paragraph = paragraph.next())
        paragraph.layout()->setCacheEnabled(true);
    cursor.endEditBlock();
    return PDFTextBlock(std::move(document), text.wrap, text.alignment);
}

PDFTextBlock &PDFCanvas::layoutFigure(const PDFText &text, qreal width)
{
    QString key = QString::number(width) + QLatin1Char('|') + QString::number(int(text.alignment));
    for (const PDFText::Run &run : text.runs) {
        key += QStringLiteral("|%1|%2|%3|").arg(run.size).arg(int(run.weight)).arg(run.color.rgba());
        key += run.text;
    }
    auto found = m_figures.find(key);
    if (found == m_figures.end())
        found = m_figures.emplace(key, layout(text, width)).first;
    return found->second;
}

qreal PDFCanvas::measure(const PDFText &text, qreal width) const
{
    return layout(text, width).height();
}

void PDFCanvas::drawLines(QTextDocument &document, qreal x, qreal top, qreal fromY, qreal toY)
{
    if (!m_painter)
        return;
    // Only the lines inside [fromY, toY] of the document are drawn, fromY landing at top; the
    // clip is shrunk by half a point so that the neighbours touching its edges stay out.
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, fromY + 0.5, document.textWidth(), std::max<qreal>(toY - fromY - 1, 0));
    m_painter->save();
    m_painter->translate(x, top - fromY);
    document.documentLayout()->draw(m_painter, context);
    m_painter->restore();
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
    QTextDocument &document = block.document();
    const qreal height = block.height();
    const QList<LineSpan> spans = lineSpans(document);
    qsizetype fitting = 0;
    while (fitting < spans.size() && rect.top() + spans.at(fitting).bottom <= PDFLayout::bottomLimit + 0.01)
        ++fitting;
    if (fitting == spans.size())
        drawLines(document, rect.left(), rect.top(), 0, height + 1);
    else if (fitting > 0)
        drawLines(document, rect.left(), rect.top(), 0, spans.at(fitting - 1).bottom);
    return height;
}

void PDFCanvas::flowText(const PDFText &text, qreal x, qreal width)
{
    PDFTextBlock block = layout(text, width);
    flowText(block, x);
}

void PDFCanvas::flowText(PDFTextBlock &block, qreal x)
{
    QTextDocument *document = &block.document();
    const qreal height = block.height();
    const QList<LineSpan> spans = lineSpans(*document);
    if (spans.isEmpty()) {
        y += height;
        return;
    }

    qreal from = 0; // the document's y drawn at the canvas's y
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
        drawLines(*document, x, y, from, to);
        if (last == spans.size()) {
            y += std::ceil(height - from);
            return;
        }
        from = spans.at(last).top;
        first = last;
        ensureSpace(PDFLayout::usableHeight + 1);
    }
}
