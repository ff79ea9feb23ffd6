#pragma once

#include <QString>

// What a person reads when the device store fails: the cause in their words, the file or folder
// it concerns and what to do about it. Paths are bounded before they go into a text.
namespace StoreMessages {

// At most maxPathGraphemes user-perceived characters, the middle left out, so that both the
// start and the file's name show; control characters read as "?".
inline constexpr qsizetype maxPathGraphemes = 120;
QString boundedPath(const QString &path);

// A failed statement, from SQLite's result code (primary or extended), on the store at filePath
// (empty for a store in memory). An I/O failure on a disk with no room left (as SQLite reports a
// full disk when its shared-memory file cannot grow) reads as the full disk it is.
QString sqlFailure(int sqliteCode, const QString &filePath);
// The same, told whether the disk that holds the file has room left.
QString sqlFailure(int sqliteCode, const QString &filePath, bool hasRoom);
// Whether the disk that holds filePath has room left for the store to grow; true when unknown.
bool diskHasRoom(const QString &filePath);

// Why the store at filePath cannot be made or written, read from the file system: a path
// element that is a file, a folder or file of another user or one that may not be written to, a
// folder or a link that leads nowhere in the file's place.
// Empty when the file system shows no such cause.
QString fileSystemCause(const QString &filePath);
// When the file system shows no cause either.
QString folderNotPrepared(const QString &folder);

QString foreignTable(const QString &filePath, const QString &table);
QString foreignColumns(const QString &filePath, const QString &table);
QString unsupportedVersion(const QString &filePath, int version);
QString upgradeFailed(const QString &cause);

// A stored project whose data no longer reads; count of them in a list.
QString unreadableProject();
QString unreadableProjects(qsizetype count);

// The start stops: the cause, and the store's file unless the cause names it already.
QString startStopped(const QString &cause, const QString &filePath);

} // namespace StoreMessages
