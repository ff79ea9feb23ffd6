#pragma once

#include "PDFGlyphRecorder.h"
#include "PDFText.h"
#include "PDFTextBlock.h"

#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <stop_token>
#include <unordered_map>

class QPainter;

// Draws the proposal down its pages: y is the current position in points from the top edge, and a
// block that would end below the bottom limit (794) starts the next page. Text that is taller than
// the room left continues on the next page line by line; nothing is drawn below the limit.
class PDFCanvas
{
public:
    // The painter's device must be at 72 dpi, so that one unit is one point. onNewPage ends the
    // open page and begins the next one. Once stop is requested, the drawing is abandoned:
    // stopped() tells the sections to leave out what is left.
    PDFCanvas(QPainter *painter, std::function<void()> onNewPage, std::stop_token stop = {});
    ~PDFCanvas();

    qreal y = 48;

    int pageCount() const { return m_pages; }
    bool stopped() const { return m_stop.stop_requested(); }
    // Every glyph the canvas drew, for completing the document's text maps.
    const PDFGlyphRecorder &glyphs() const { return m_glyphs; }

    // Clears the page just begun to white and puts y at the top margin.
    void preparePageSurface();

    // Starts a new page when a block of this height would end below the bottom limit.
    void ensureSpace(qreal height);

    void drawFilledRect(const QRectF &rect, const QColor &color, qreal cornerRadius = 0);
    void drawRule(qreal x1, qreal x2, qreal atY, const QColor &color);

    // The text laid out at this width, to be measured and then drawn.
    PDFTextBlock layout(const PDFText &text, qreal width) const;

    // The same for a figure that does not wrap (hours, amounts): a figure that recurs in the document
    // is laid out once and drawn from that layout each time. A figure wider than maxWidth wraps
    // at maxWidth instead, breaking between any two characters, so that it never runs past it.
    PDFTextBlock &layoutFigure(const PDFText &text, qreal width, qreal maxWidth);
    PDFTextBlock figureBlock(const PDFText &text, qreal width, qreal maxWidth) const;

    // The text's height at this width, rounded up to a whole point.
    qreal measure(const PDFText &text, qreal width) const;

    // Draws the text with its top-left corner at the rectangle's origin, at the rectangle's width;
    // the rectangle's height does not limit it. Lines that would pass the bottom limit are left
    // out. Returns the height as measure() does; y does not move.
    qreal drawText(const PDFText &text, const QRectF &rect);
    // The same for a laid-out text. A wrapping text is laid out anew at another width; a text
    // that does not wrap keeps its line and is placed by its alignment.
    qreal drawText(PDFTextBlock &block, const QRectF &rect);

    // Draws the text at y from x, breaking the page between lines where it does not fit, and moves
    // y below its last line.
    void flowText(const PDFText &text, qreal x, qreal width);
    void flowText(PDFTextBlock &block, qreal x);

private:
    void drawLines(const PDFTextBlock &block, qreal x, qreal top, qreal fromY, qreal toY);

    QPainter *m_painter;
    std::function<void()> m_onNewPage;
    std::stop_token m_stop;
    int m_pages = 1;
    std::unordered_map<QString, PDFTextBlock> m_figures;
    PDFGlyphRecorder m_glyphs;
};
