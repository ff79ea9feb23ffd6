#pragma once

#include <QString>

namespace Text {

// Unicode space separators and the horizontal tab; line breaks are not white space here.
bool isSpaceOrTab(QChar c);

// Removes leading and trailing spaces and tabs only, unlike QString::trimmed(), which also
// strips line breaks.
QString trimmedSpacesAndTabs(const QString &text);

// Removes every leading and trailing "/", as paths are joined to a base URL with exactly one.
QString trimmedSlashes(const QString &text);

} // namespace Text
