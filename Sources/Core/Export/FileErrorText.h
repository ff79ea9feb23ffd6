#pragma once

#include <QString>

// What went wrong with a file or a folder, told in Russian from the errno of the call that failed,
// never with the system's own (English) text.
namespace FileErrorText {

// Why a file could not be written, as the end of "Не удалось сохранить файл: …".
QString saveReason(int errnum);

// Why a folder could not be made, as a sentence of its own.
QString folderReason(int errnum);

// Why a folder cannot be listed, from the errno of opening it, as a sentence of its own.
QString listReason(int errnum);

// A path as a message shows it: native separators, at most maxPathCharacters characters. A long
// folder or a long name has its middle cut out (with "…"), so that the start of each, the end of
// the folder and the name's suffix stay. Control characters read as "?".
inline constexpr qsizetype maxFolderCharacters = 99;
inline constexpr qsizetype maxNameCharacters = 60;
inline constexpr qsizetype maxPathCharacters = maxFolderCharacters + 1 + maxNameCharacters;
QString shownPath(const QString &path);

} // namespace FileErrorText
