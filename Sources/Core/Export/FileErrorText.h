#pragma once

#include <QString>

// What went wrong with a file or a folder, told in Russian from the errno of the call that failed,
// never with the system's own (English) text.
namespace FileErrorText {

// Why a file could not be written, as the end of "Не удалось сохранить файл: …".
QString saveReason(int errnum);

// Why a folder could not be made, as a sentence of its own.
QString folderReason(int errnum);

// A path as a message shows it: native separators, at most maxPathCharacters characters, the
// middle cut out (with "…") of a longer one, so that both the start and the file name stay.
inline constexpr qsizetype maxPathCharacters = 160;
QString shownPath(const QString &path);

} // namespace FileErrorText
