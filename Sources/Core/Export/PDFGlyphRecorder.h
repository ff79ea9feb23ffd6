#pragma once

#include <QHash>
#include <QList>
#include <QRawFont>
#include <QString>

class QGlyphRun;
class QTextLine;

// Qt's PDF writer numbers the glyphs of each embedded font in the order they are first drawn and
// tells a reader what text each stands for only through the font's table of characters in the
// basic plane: shaped Arabic letters come out as presentation forms and emoji as nothing. The
// canvas draws every glyph run through this recorder, which keeps that order and, for text the
// table cannot give back, the text each glyph was shaped from, so that the document's text maps
// can be completed afterwards (PDFToUnicode).
class PDFGlyphRecorder
{
public:
    struct Font
    {
        QRawFont rawFont;
        // Every glyph drawn, in the order first drawn: the writer's numbers are 1, 2, ...
        QList<quint32> order;
        QHash<quint32, int> seen;
        // The text a glyph was shaped from, where it is known.
        QHash<quint32, QString> texts;
    };

    // The glyphs of a run as they are handed to the painter.
    void draw(const QGlyphRun &run);

    // False for a font of bitmaps only (colour emoji): Qt's writer embeds it without outlines, and
    // its glyphs print as nothing.
    bool hasOutlines(const QRawFont &font);

    // Learns the text behind the glyphs of one laid-out line. Only lines with text that a font's
    // table of characters cannot give back are looked at: the others are left to the writer.
    void learnLine(const QTextLine &line, const QString &text);

    // The fonts by their PostScript name, the name the PDF gives them.
    const QHash<QString, Font> &fonts() const { return m_fonts; }

    // The PostScript name in the font's name table, as the PDF writer names the font.
    static QString postScriptName(const QRawFont &font);

private:
    QString nameOf(const QRawFont &font);
    Font &fontFor(const QRawFont &font);

    QHash<QString, Font> m_fonts;
    // PostScript names by the font's family and style, to spare reading the name table per run.
    QHash<QString, QString> m_names;
    QHash<QString, bool> m_outlines;
};
