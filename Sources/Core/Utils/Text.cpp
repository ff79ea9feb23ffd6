#include "Text.h"

#include <QTextBoundaryFinder>

namespace Text {

bool isSpaceOrTab(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString trimmedSpacesAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isSpaceOrTab(text.at(end - 1)))
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

QString trimmedSlashes(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char('/'))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char('/'))
        --end;
    return text.mid(begin, end - begin);
}

QStringList graphemes(const QString &text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        out.append(text.mid(start, end - start));
        start = end;
    }
    return out;
}

QString leadingGraphemes(const QString &text, qsizetype count)
{
    if (count <= 0)
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype taken = 0;
    while (finder.toNextBoundary() != -1) {
        if (++taken == count)
            return text.left(finder.position());
    }
    return text;
}

namespace {

bool startsLine(QStringView cluster)
{
    switch (cluster.front().unicode()) {
    case u'\n':
    case u'\r':
    case u'\v':
    case u'\f':
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

QString boundedMessage(const QString &text)
{
    // The usual short text: no more characters than code units, and few line breaks.
    if (text.size() <= maxMessageGraphemes) {
        qsizetype breaks = 0;
        for (const QChar c : text) {
            if (startsLine(QStringView(&c, 1)))
                ++breaks;
        }
        if (breaks < maxMessageLines)
            return text;
    }
    // A character is seldom more than four code units; one of hundreds of combining marks is cut
    // like any other text that runs over.
    constexpr qsizetype maxUnits = maxMessageGraphemes * 4;
    // Only a window is examined, so megabytes cost no more than a short text. Boundaries inside
    // it are the text's own: each depends only on what comes before it and the next character.
    const QStringView window = QStringView(text).left(maxUnits + 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.data(), window.size());
    qsizetype end = 0;
    qsizetype taken = 0;
    qsizetype lines = 1;
    bool cut = false;
    for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
        if (next > maxUnits || taken == maxMessageGraphemes
            || (startsLine(window.sliced(end, next - end)) && ++lines > maxMessageLines)) {
            cut = true;
            break;
        }
        end = next;
        ++taken;
    }
    if (!cut && end == text.size())
        return text;
    if (end == 0) {
        // One character longer than the window: cut between code points.
        end = maxUnits;
        if (QChar::isLowSurrogate(text.at(end).unicode()) && QChar::isHighSurrogate(text.at(end - 1).unicode()))
            --end;
    }
    QStringView kept = QStringView(text).left(end);
    while (!kept.isEmpty() && (kept.back().isSpace() || startsLine(kept.last(1))))
        kept.chop(1);
    return kept.toString() + QStringLiteral("…");
}

} // namespace Text
