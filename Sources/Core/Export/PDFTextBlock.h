#pragma once

#include "PDFText.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <memory>
#include <vector>

class PDFGlyphRecorder;
class QGlyphRun;
class QPaintDevice;
class QPainter;
class QTextLayout;

// A text laid out once by the canvas at a width, so that it is measured and drawn from the same
// layout: one QTextLayout per paragraph, its lines stacked as a text document would stack them
// (each line's height rounded up to a whole point, plus the line gap).
class PDFTextBlock
{
public:
    struct LineSpan
    {
        qreal top;
        qreal bottom;
    };

    // device: the painter's device, whose resolution the fonts are resolved for (none for the
    // screen's).
    PDFTextBlock(const PDFText &text, qreal width, QPaintDevice *device);
    PDFTextBlock(PDFTextBlock &&) noexcept;
    PDFTextBlock &operator=(PDFTextBlock &&) noexcept;
    ~PDFTextBlock();

    // Rounded up to a whole point.
    qreal height() const;
    qreal width() const { return m_width; }
    // The widest line as laid out, for text that does not wrap.
    qreal naturalWidth() const;
    bool wraps() const { return m_wrap; }
    Qt::Alignment alignment() const { return m_alignment; }
    const QList<LineSpan> &lines() const { return m_lines; }

    void setWidth(qreal width);

    // Draws the lines that lie inside (fromY, toY) of the block, the block's fromY at origin's y;
    // a line touching either edge stays out. Every glyph run goes through the recorder.
    void draw(QPainter *painter, const QPointF &origin, qreal fromY, qreal toY, PDFGlyphRecorder &recorder) const;

private:
    void layoutLines();
    static void drawRun(QPainter *painter, const QPointF &at, const QGlyphRun &run, PDFGlyphRecorder &recorder);

    struct Paragraph
    {
        std::unique_ptr<QTextLayout> layout;
        QColor color; // the pen for a paragraph of one run; invalid where its formats say
    };

    std::vector<Paragraph> m_paragraphs;
    QList<LineSpan> m_lines;
    qreal m_width = 0;
    qreal m_height = 0;
    qreal m_natural = 0;
    qreal m_lineGap = 0;
    bool m_wrap = true;
    Qt::Alignment m_alignment;
};
