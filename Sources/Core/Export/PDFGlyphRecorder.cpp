#include "PDFGlyphRecorder.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <QtEndian>

namespace {

// Text whose characters a font's table gives back one for one: Latin, Greek, Cyrillic and the
// common punctuation, currency and symbol blocks. Anything else may be shaped into glyphs that
// no character names (Arabic forms, ligatures) or lie outside the basic plane (emoji).
bool mapsOneForOne(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (c.isSurrogate() || (u >= 0x0590 && u < 0x2000) || (u >= 0x2C00 && u < 0xFB00 && u != 0x3000) || u >= 0xFB00)
            return false;
    }
    return true;
}

QString fontKey(const QRawFont &font)
{
    return font.familyName() + QLatin1Char('|') + font.styleName() + QLatin1Char('|') + QString::number(font.weight())
        + QLatin1Char('|') + QString::number(int(font.style()));
}

} // namespace

QString PDFGlyphRecorder::postScriptName(const QRawFont &font)
{
    const QByteArray table = font.fontTable("name");
    if (table.size() < 6)
        return {};
    const auto u16 = [&table](qsizetype at) {
        return at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at) : quint16(0);
    };
    const int count = u16(2);
    const int storage = u16(4);
    QString mac;
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + qsizetype(i) * 12;
        if (record + 12 > table.size())
            break;
        const quint16 platform = u16(record);
        const quint16 nameId = u16(record + 6);
        const quint16 length = u16(record + 8);
        const qsizetype offset = storage + u16(record + 10);
        if (nameId != 6 || offset + length > table.size())
            continue;
        const char *bytes = table.constData() + offset;
        if (platform == 3 || platform == 0) {
            QString name;
            for (int k = 0; k + 1 < length; k += 2)
                name += QChar(qFromBigEndian<quint16>(bytes + k));
            return name;
        }
        if (platform == 1)
            mac = QString::fromLatin1(bytes, length);
    }
    return mac;
}

QString PDFGlyphRecorder::nameOf(const QRawFont &font)
{
    const QString key = fontKey(font);
    auto name = m_names.constFind(key);
    if (name == m_names.cend())
        name = m_names.insert(key, postScriptName(font));
    return *name;
}

PDFGlyphRecorder::Font &PDFGlyphRecorder::fontFor(const QRawFont &font)
{
    Font &entry = m_fonts[nameOf(font)];
    if (!entry.rawFont.isValid())
        entry.rawFont = font;
    return entry;
}

bool PDFGlyphRecorder::hasOutlines(const QRawFont &font)
{
    const QString key = fontKey(font);
    auto found = m_outlines.constFind(key);
    if (found == m_outlines.cend()) {
        const bool outlines =
            !font.fontTable("loca").isEmpty() || !font.fontTable("CFF ").isEmpty() || !font.fontTable("CFF2").isEmpty();
        found = m_outlines.insert(key, outlines);
    }
    return *found;
}

void PDFGlyphRecorder::draw(const QGlyphRun &run)
{
    Font &font = fontFor(run.rawFont());
    for (const quint32 glyph : run.glyphIndexes()) {
        // The writer keeps glyph 0 for itself.
        if (glyph == 0 || font.seen.contains(glyph))
            continue;
        font.seen.insert(glyph, int(font.order.size()));
        font.order.append(glyph);
    }
}

void PDFGlyphRecorder::learnLine(const QTextLine &line, const QString &text)
{
    const int start = line.textStart();
    const int end = start + line.textLength();
    if (mapsOneForOne(QStringView(text).mid(start, end - start)))
        return;
    // Each character's text goes to the first glyph it was shaped into; characters shaped into
    // one glyph (a ligature) add up in their order. Glyphs are told apart by where they stand.
    struct Occurrence
    {
        QString font;
        quint32 glyph;
        QString text;
        bool rightToLeft;
    };
    QList<Occurrence> occurrences;
    QHash<QString, qsizetype> byPlace;
    for (int at = start; at < end;) {
        const int length = text.at(at).isHighSurrogate() && at + 1 < end ? 2 : 1;
        const QList<QGlyphRun> runs = line.glyphRuns(at, length);
        for (const QGlyphRun &run : runs) {
            const QList<quint32> glyphs = run.glyphIndexes();
            if (glyphs.isEmpty())
                continue;
            const QString font = nameOf(run.rawFont());
            const QPointF place = run.positions().value(0);
            const QString key =
                QStringLiteral("%1|%2|%3|%4").arg(font).arg(glyphs.first()).arg(place.x()).arg(place.y());
            auto found = byPlace.constFind(key);
            if (found == byPlace.cend()) {
                found = byPlace.insert(key, occurrences.size());
                occurrences.append(Occurrence{font, glyphs.first(), QString(), run.isRightToLeft()});
            }
            occurrences[*found].text += text.mid(at, length);
            break;
        }
        at += length;
    }
    for (Occurrence &occurrence : occurrences) {
        QHash<quint32, QString> &texts = m_fonts[occurrence.font].texts;
        if (texts.contains(occurrence.glyph))
            continue;
        // Readers put the characters of a right-to-left word back into reading order one glyph
        // text at a time: a ligature's letters go in the order it is drawn in.
        if (occurrence.rightToLeft && occurrence.text.size() > 1) {
            const QList<uint> letters = occurrence.text.toUcs4();
            occurrence.text.clear();
            for (auto letter = letters.crbegin(); letter != letters.crend(); ++letter)
                occurrence.text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&*letter), 1);
        }
        texts.insert(occurrence.glyph, occurrence.text);
    }
}
