#include "PDFToUnicode.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace PDFToUnicode {

namespace {

struct PdfFont
{
    int toUnicodeObject = 0;
    int count = 0; // the same name more than once: the fonts cannot be told apart
};

// Qt writes a character map of ranges: "<0001> <000F> [<05E9> <05DC> ...]" or "<0011> <0011> <2713>".
QHash<int, QString> readMap(const QByteArray &stream)
{
    QHash<int, QString> map;
    static const QRegularExpression range(
        QStringLiteral(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*(\[[^\]]*\]|<[0-9A-Fa-f]*>))"));
    static const QRegularExpression value(QStringLiteral(R"(<([0-9A-Fa-f]*)>)"));
    const auto decode = [](const QString &hex) {
        QString text;
        for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
            text += QChar(char16_t(hex.mid(i, 4).toUShort(nullptr, 16)));
        return text;
    };
    const qsizetype from = stream.indexOf("beginbfrange");
    const qsizetype to = stream.indexOf("endbfrange", from);
    if (from < 0 || to < 0)
        return map;
    const QString body = QString::fromLatin1(stream.mid(from, to - from));
    for (auto match = range.globalMatch(body); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const int first = m.captured(1).toInt(nullptr, 16);
        const int last = m.captured(2).toInt(nullptr, 16);
        const QString target = m.captured(3);
        if (target.startsWith(QLatin1Char('['))) {
            int cid = first;
            for (auto item = value.globalMatch(target); item.hasNext() && cid <= last; ++cid)
                map.insert(cid, decode(item.next().captured(1)));
        } else {
            const QString start = decode(value.match(target).captured(1));
            for (int cid = first; cid <= last && !start.isEmpty(); ++cid) {
                QString text = start;
                text.back() = QChar(char16_t(text.back().unicode() + (cid - first)));
                map.insert(cid, text);
            }
        }
    }
    return map;
}

QByteArray hex16(const QString &text)
{
    QByteArray out;
    for (const QChar c : text)
        out += QByteArray::number(c.unicode() + 0x10000, 16).mid(1).toUpper();
    return out;
}

QByteArray writeMap(const QMap<int, QString> &map)
{
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    QList<QByteArray> lines;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!it.value().isEmpty())
            lines.append("<" + QByteArray::number(it.key() + 0x10000, 16).mid(1).toUpper() + "> <" + hex16(it.value())
                         + ">\n");
    }
    // At most 100 entries to a block.
    for (qsizetype i = 0; i < lines.size(); i += 100) {
        const qsizetype n = std::min<qsizetype>(100, lines.size() - i);
        out += QByteArray::number(n) + " beginbfchar\n";
        for (qsizetype k = i; k < i + n; ++k)
            out += lines.at(k);
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

// The stream of an uncompressed object, as Qt writes its text maps.
QByteArray objectStream(const QByteArray &pdf, int object)
{
    const QByteArray head = "\n" + QByteArray::number(object) + " 0 obj";
    const qsizetype at = pdf.indexOf(head);
    if (at < 0)
        return {};
    const qsizetype end = pdf.indexOf("endobj", at);
    const qsizetype dict = pdf.indexOf("<<", at);
    const qsizetype stream = pdf.indexOf("stream\n", at);
    if (end < 0 || stream < 0 || stream > end || pdf.mid(dict, stream - dict).contains("/Filter"))
        return {};
    const qsizetype endStream = pdf.indexOf("endstream", stream);
    return endStream < 0 || endStream > end ? QByteArray() : pdf.mid(stream + 7, endStream - stream - 7);
}

// Letters written as presentation forms or compatibility characters, where the shaped text is
// the better answer.
bool isPresentationForm(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0xFB00 && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF))
            return true;
    }
    return false;
}

} // namespace

QByteArray complete(const QByteArray &pdf, const PDFGlyphRecorder &recorder)
{
    // Most documents hold nothing the writer's maps miss.
    const auto &recorded = recorder.fonts();
    if (std::none_of(recorded.cbegin(), recorded.cend(),
                     [](const PDFGlyphRecorder::Font &font) { return !font.texts.isEmpty(); }))
        return pdf;

    // The Type0 fonts Qt wrote: their names and text maps.
    static const QRegularExpression type0(
        QStringLiteral(R"(/Subtype /Type0\n/BaseFont /([^\s/]+)\n[^>]*?/ToUnicode (\d+) 0 R)"));
    QHash<QString, PdfFont> fonts;
    const QString text = QString::fromLatin1(pdf);
    for (auto match = type0.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        PdfFont &font = fonts[m.captured(1)];
        font.toUnicodeObject = m.captured(2).toInt();
        ++font.count;
    }

    QMap<int, QByteArray> replaced;
    for (auto it = recorder.fonts().cbegin(); it != recorder.fonts().cend(); ++it) {
        const PDFGlyphRecorder::Font &recorded = it.value();
        if (recorded.texts.isEmpty())
            continue;
        const auto pdfFont = fonts.constFind(it.key());
        if (pdfFont == fonts.cend() || pdfFont->count != 1)
            continue;
        const QHash<int, QString> written = readMap(objectStream(pdf, pdfFont->toUnicodeObject));
        QMap<int, QString> map;
        bool confirmed = recorded.rawFont.isValid();
        bool changed = false;
        for (qsizetype i = 0; i < recorded.order.size() && confirmed; ++i) {
            const int cid = int(i) + 1;
            const quint32 glyph = recorded.order.at(i);
            const QString mine = recorded.texts.value(glyph);
            const QString theirs = written.value(cid);
            // The writer's own answer must be this very glyph, or the order is not the writer's.
            if (!theirs.isEmpty()) {
                const QList<quint32> glyphs = recorded.rawFont.glyphIndexesForString(theirs);
                confirmed = glyphs.size() == 1 && glyphs.first() == glyph;
            }
            if (!mine.isEmpty() && (theirs.isEmpty() || (isPresentationForm(theirs) && mine != theirs))) {
                map.insert(cid, mine);
                changed = true;
            } else {
                map.insert(cid, theirs);
            }
        }
        // Glyphs the writer added beyond those drawn (the parts of composite glyphs) keep its map.
        for (auto w = written.cbegin(); w != written.cend(); ++w) {
            if (w.key() > recorded.order.size())
                map.insert(w.key(), w.value());
        }
        if (confirmed && changed)
            replaced.insert(pdfFont->toUnicodeObject, writeMap(map));
    }
    if (replaced.isEmpty())
        return pdf;

    // An incremental update: the new maps under the same object numbers, a cross-reference
    // section for them and a trailer that points back to the writer's.
    static const QRegularExpression trailerEntries(QStringLiteral(R"(trailer\s*<<(.*?)>>\s*startxref\s*(\d+))"),
                                                   QRegularExpression::DotMatchesEverythingOption);
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    if (trailerAt < 0)
        return pdf;
    const QRegularExpressionMatch trailer = trailerEntries.match(QString::fromLatin1(pdf.mid(trailerAt)));
    if (!trailer.hasMatch())
        return pdf;
    QString entries = trailer.captured(1);
    entries.remove(QRegularExpression(QStringLiteral(R"(/Prev\s+\d+)")));
    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    QMap<int, qsizetype> offsets;
    for (auto it = replaced.cbegin(); it != replaced.cend(); ++it) {
        offsets.insert(it.key(), out.size());
        out += QByteArray::number(it.key()) + " 0 obj\n<< /Length " + QByteArray::number(it.value().size())
            + " >>\nstream\n" + it.value() + "endstream\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n";
    for (auto it = offsets.cbegin(); it != offsets.cend(); ++it)
        out += QByteArray::number(it.key()) + " 1\n" + QByteArray::number(it.value() + 10000000000LL).mid(1)
            + " 00000 n \n";
    out += "trailer\n<<" + entries.trimmed().toLatin1() + "\n/Prev " + trailer.captured(2).toLatin1()
        + "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

} // namespace PDFToUnicode
