#pragma once

#include <QString>
#include <QStringList>

namespace Text {

// Unicode space separators and the horizontal tab; line breaks are not white space here.
bool isSpaceOrTab(QChar c);

// Removes leading and trailing spaces and tabs only, unlike QString::trimmed(), which also
// strips line breaks.
QString trimmedSpacesAndTabs(const QString &text);

// Removes every leading and trailing "/", as paths are joined to a base URL with exactly one.
QString trimmedSlashes(const QString &text);

// The user-perceived characters (grapheme clusters) of text, in order: an emoji with its
// modifiers, a flag or a letter with its combining marks is one entry.
QStringList graphemes(const QString &text);

// How many user-perceived characters text has, as a person would count them.
qsizetype graphemeCount(const QString &text);

// The first count user-perceived characters of text; text itself when it has no more.
QString leadingGraphemes(const QString &text, qsizetype count);

// At most `limit` user-perceived characters: a longer text keeps its first `head` characters
// and its last ones, with "…" between them.
QString middleCut(const QString &text, qsizetype limit, qsizetype head);

// A text from the backend as a screen may lay it out: at most maxMessageGraphemes user-perceived
// characters on at most maxMessageLines lines, cut on a character boundary and ended with "…"
// where anything was left out. Costs the same for a text of megabytes as for a short one.
inline constexpr qsizetype maxMessageGraphemes = 300;
inline constexpr qsizetype maxMessageLines = 3;
QString boundedMessage(const QString &text);

} // namespace Text
