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
void forEachGraphemeEnd(const QString &text, Visit visit)
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

} // namespace Text
