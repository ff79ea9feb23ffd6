#include "Text.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <memory>

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

namespace {

// Calls visit(end) at the end of each user-perceived character, in order, until it returns false.
// ICU follows the current grapheme rules (a flag after an emoji, ZWJ sequences, Hangul syllables),
// which Qt 6.4's own boundary finder does not.
template<typename Visit>
void forEachGraphemeEnd(QStringView text, Visit visit)
{
    if (text.isEmpty())
        return;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> iterator(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    UText *chars = utext_openUChars(nullptr, reinterpret_cast<const UChar *>(text.utf16()), text.size(), &status);
    if (U_SUCCESS(status))
        iterator->setText(chars, status);
    if (U_FAILURE(status)) {
        // Without ICU's data every code point stands alone rather than the text being lost.
        utext_close(chars);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            if (!visit(i + 1))
                return;
        }
        return;
    }
    iterator->first();
    for (int32_t end = iterator->next(); end != icu::BreakIterator::DONE; end = iterator->next()) {
        if (!visit(qsizetype(end)))
            break;
    }
    utext_close(chars);
}

} // namespace

QStringList graphemes(const QString &text)
{
    QStringList out;
    qsizetype start = 0;
    forEachGraphemeEnd(text, [&](qsizetype end) {
        out.append(text.mid(start, end - start));
        start = end;
        return true;
    });
    return out;
}

qsizetype graphemeCount(const QString &text)
{
    qsizetype count = 0;
    forEachGraphemeEnd(text, [&count](qsizetype) {
        ++count;
        return true;
    });
    return count;
}

QString middleCut(const QString &text, qsizetype limit, qsizetype head)
{
    // A text of no more code units than the limit has no more characters either.
    if (text.size() <= limit)
        return text;
    const QStringList characters = graphemes(text);
    if (characters.size() <= limit)
        return text;
    const qsizetype tail = limit - head - 1;
    return characters.mid(0, head).join(QString()) + QChar(0x2026)
        + characters.mid(characters.size() - tail).join(QString());
}

QString leadingGraphemes(const QString &text, qsizetype count)
{
    if (count <= 0)
        return {};
    qsizetype taken = 0;
    qsizetype cut = text.size();
    forEachGraphemeEnd(text, [&](qsizetype end) {
        if (++taken < count)
            return true;
        cut = end;
        return false;
    });
    return text.left(cut);
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
    qsizetype end = 0;
    qsizetype taken = 0;
    qsizetype lines = 1;
    bool cut = false;
    forEachGraphemeEnd(window, [&](qsizetype next) {
        if (next > maxUnits || taken == maxMessageGraphemes
            || (startsLine(window.sliced(end, next - end)) && ++lines > maxMessageLines)) {
            cut = true;
            return false;
        }
        end = next;
        ++taken;
        return true;
    });
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
