#include "PDFTextBlock.h"

#include "PDFGlyphRecorder.h"
#include "PDFTypography.h"

#include <QPaintDevice>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

// The gap below every line, in points at 96 dpi as a text document counts it.
constexpr qreal lineGap = 3;

} // namespace

PDFTextBlock::PDFTextBlock(const PDFText &text, qreal width, QPaintDevice *device)
    : m_width(width)
    , m_wrap(text.wrap)
    , m_alignment(text.alignment)
{
    // A text document scales the gap between lines by the device's resolution against 96 dpi.
    const int dpi = device ? device->logicalDpiY() : 96;
    m_lineGap = lineGap * dpi / 96.0;

    QTextOption option(text.alignment);
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(text.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);

    // The runs split into paragraphs at "\n"; each paragraph keeps the runs' fonts and colours. A
    // paragraph of one run, nearly every one, takes its type as the layout's font and its colour
    // from the pen, which spares the layout resolving formats.
    QString paragraph;
    QList<QTextLayout::FormatRange> formats;
    // Never the application's default font: a copy of it shares its engines with the GUI thread.
    QFont paragraphFont = text.runs.isEmpty() ? PDFTypography::font(10, FontWeight::Regular)
                                              : PDFTypography::font(text.runs.first().size, text.runs.first().weight);
    QColor paragraphColor = text.runs.isEmpty() ? QColor() : text.runs.first().color;
    const auto finish = [&] {
        const bool oneRun = formats.size() <= 1;
        const QFont font = oneRun && !formats.isEmpty() ? formats.first().format.font() : paragraphFont;
        auto layout = std::make_unique<QTextLayout>(paragraph, font, device);
        layout->setTextOption(option);
        if (!oneRun)
            layout->setFormats(formats);
        layout->setCacheEnabled(true);
        m_paragraphs.push_back(Paragraph{std::move(layout), oneRun ? paragraphColor : QColor()});
        paragraph.clear();
        formats.clear();
    };
    for (const PDFText::Run &run : text.runs) {
        QTextCharFormat format;
        format.setFont(PDFTypography::font(run.size, run.weight));
        format.setForeground(run.color);
        qsizetype from = 0;
        while (true) {
            const qsizetype end = run.text.indexOf(QLatin1Char('\n'), from);
            const QStringView piece = QStringView(run.text).mid(from, end < 0 ? -1 : end - from);
            if (!piece.isEmpty()) {
                if (formats.isEmpty())
                    paragraphColor = run.color;
                formats.append(QTextLayout::FormatRange{int(paragraph.size()), int(piece.size()), format});
                paragraph += piece;
            }
            if (end < 0)
                break;
            finish();
            // The next paragraph starts in this run's type, even when it stays empty.
            paragraphFont = format.font();
            paragraphColor = run.color;
            from = end + 1;
        }
    }
    finish();
    layoutLines();
}

PDFTextBlock::PDFTextBlock(PDFTextBlock &&) noexcept = default;
PDFTextBlock &PDFTextBlock::operator=(PDFTextBlock &&) noexcept = default;
PDFTextBlock::~PDFTextBlock() = default;

void PDFTextBlock::layoutLines()
{
    m_lines.clear();
    m_natural = 0;
    qreal y = 0;
    for (const Paragraph &paragraph : m_paragraphs) {
        QTextLayout *layout = paragraph.layout.get();
        layout->setPosition(QPointF(0, y));
        layout->beginLayout();
        qreal paragraphY = 0;
        while (true) {
            QTextLine line = layout->createLine();
            if (!line.isValid())
                break;
            line.setLeadingIncluded(true);
            line.setLineWidth(m_width);
            // A line that does not wrap is as wide as its text when that is wider.
            if (!m_wrap && line.naturalTextWidth() > m_width)
                line.setLineWidth(line.naturalTextWidth());
            line.setPosition(QPointF(0, paragraphY));
            const qreal height = std::ceil(line.ascent() + line.descent() + line.leading()) + m_lineGap;
            m_lines.append(LineSpan{y + paragraphY, y + paragraphY + line.height()});
            m_natural = std::max(m_natural, line.naturalTextWidth());
            paragraphY += height;
        }
        layout->endLayout();
        y += paragraphY;
    }
    m_height = y;
}

qreal PDFTextBlock::height() const
{
    return std::ceil(m_height);
}

qreal PDFTextBlock::naturalWidth() const
{
    return std::ceil(m_natural);
}

void PDFTextBlock::setWidth(qreal width)
{
    if (m_width == width)
        return;
    m_width = width;
    layoutLines();
}

void PDFTextBlock::drawRun(QPainter *painter, const QPointF &at, const QGlyphRun &run, PDFGlyphRecorder &recorder)
{
    if (recorder.hasOutlines(run.rawFont())) {
        recorder.draw(run);
        painter->drawGlyphRun(at, run);
        return;
    }
    // Glyphs of bitmaps only are drawn as a picture, at four times the page's resolution.
    constexpr qreal scale = 4;
    const QRectF bounds = run.boundingRect().translated(at);
    if (bounds.isEmpty())
        return;
    QImage picture((bounds.size() * scale).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter glyphs(&picture);
        glyphs.setRenderHint(QPainter::SmoothPixmapTransform);
        glyphs.scale(scale, scale);
        glyphs.setPen(painter->pen());
        glyphs.drawGlyphRun(at - bounds.topLeft(), run);
    }
    painter->drawImage(QRectF(bounds.topLeft(), QSizeF(picture.size()) / scale), picture);
}

void PDFTextBlock::draw(QPainter *painter, const QPointF &origin, qreal fromY, qreal toY,
                        PDFGlyphRecorder &recorder) const
{
    const QPointF offset = origin - QPointF(0, fromY);
    painter->save();
    for (const Paragraph &paragraph : m_paragraphs) {
        const QTextLayout *layout = paragraph.layout.get();
        const QPointF at = offset + layout->position();
        const QList<QTextLayout::FormatRange> formats = layout->formats();
        if (paragraph.color.isValid())
            painter->setPen(paragraph.color);
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal top = layout->position().y() + line.y();
            if (top + line.height() <= fromY + 0.5 || top >= toY - 0.5)
                continue;
            recorder.learnLine(line, layout->text());
            if (paragraph.color.isValid() || formats.isEmpty()) {
                for (const QGlyphRun &run : line.glyphRuns())
                    drawRun(painter, at, run, recorder);
                continue;
            }
            // A paragraph of several runs: each in its own colour.
            for (const QTextLayout::FormatRange &range : formats) {
                painter->setPen(range.format.foreground().color());
                for (const QGlyphRun &run : line.glyphRuns(range.start, range.length))
                    drawRun(painter, at, run, recorder);
            }
        }
    }
    painter->restore();
}
