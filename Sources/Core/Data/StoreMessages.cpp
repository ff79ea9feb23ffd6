#include "StoreMessages.h"

#include "OwnerOnlyFiles.h"
#include "Utils/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

#include <unistd.h>

namespace {

// SQLite's primary result codes that the texts tell apart.
enum SqliteCode {
    Error = 1,
    Perm = 3,
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Auth = 23,
    NotADb = 26,
};

QString quoted(const QString &path)
{
    return QStringLiteral("«") + StoreMessages::boundedPath(path) + QStringLiteral("»");
}

QString folderOf(const QString &filePath)
{
    return QFileInfo(filePath).absolutePath();
}

} // namespace

namespace StoreMessages {

QString boundedPath(const QString &path)
{
    QString shown = path;
    for (QChar &c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    }
    // A third for the start, the rest for the end, where the file's name stands.
    return Text::middleCut(shown, maxPathGraphemes, maxPathGraphemes / 3);
}

bool diskHasRoom(const QString &filePath)
{
    // Below a megabyte the disk is taken as full: a write that fails there most likely failed
    // for want of room.
    constexpr qint64 leastRoom = 1024 * 1024;
    QString existing = QFileInfo(filePath).absolutePath();
    while (!QFileInfo::exists(existing) && QFileInfo(existing).absolutePath() != existing)
        existing = QFileInfo(existing).absolutePath();
    const QStorageInfo disk(existing);
    return !disk.isValid() || disk.bytesAvailable() < 0 || disk.bytesAvailable() >= leastRoom;
}

QString sqlFailure(int sqliteCode, const QString &filePath)
{
    const bool onDisk = !filePath.isEmpty();
    return sqlFailure(sqliteCode, filePath, !onDisk || (sqliteCode & 0xFF) != IoErr || diskHasRoom(filePath));
}

QString sqlFailure(int sqliteCode, const QString &filePath, bool hasRoom)
{
    const bool onDisk = !filePath.isEmpty();
    if ((sqliteCode & 0xFF) == IoErr && onDisk && !hasRoom)
        sqliteCode = Full;
    switch (sqliteCode & 0xFF) {
    case Error:
        // The statements are the program's own: one that fails met a file changed under it.
        if (onDisk)
            return QStringLiteral("Файл хранилища проектов %1 изменён другой программой или повреждён. "
                                  "Перезапустите Tessmark; если ошибка повторится, обратитесь в поддержку.")
                .arg(quoted(filePath));
        break;
    case Full:
        return QStringLiteral("Диск заполнен: данные не записаны. Освободите место на диске и повторите.");
    case ReadOnly:
        if (onDisk)
            return QStringLiteral("Хранилище проектов доступно только для чтения: данные не записаны. "
                                  "Разрешите запись в папку %1 и повторите.")
                .arg(quoted(folderOf(filePath)));
        return QStringLiteral("Хранилище проектов доступно только для чтения: данные не записаны.");
    case CantOpen:
        return QStringLiteral("Не удаётся открыть файл хранилища проектов %1. "
                              "Проверьте, что папка существует и доступна для записи.")
            .arg(quoted(filePath));
    case Perm:
    case Auth:
        return QStringLiteral("Нет доступа к файлу хранилища проектов %1. Проверьте права доступа к нему.")
            .arg(quoted(filePath));
    case IoErr:
        return QStringLiteral("Ошибка чтения или записи диска в файле хранилища проектов %1. "
                              "Проверьте диск и повторите.")
            .arg(quoted(filePath));
    case Corrupt:
    case NotADb:
        return QStringLiteral("Файл хранилища проектов %1 повреждён. "
                              "Переместите его в другое место, и Tessmark создаст новое хранилище.")
            .arg(quoted(filePath));
    case Busy:
    case Locked:
        return QStringLiteral("Хранилище проектов занято другой программой. Повторите через несколько секунд.");
    case NoMem:
        return QStringLiteral(
            "Не хватает памяти для работы с хранилищем проектов. Закройте другие программы и повторите.");
    default:
        break;
    }
    return QStringLiteral("Ошибка хранилища проектов на устройстве (код %1). "
                          "Повторите; если ошибка не пройдёт, обратитесь в поддержку.")
        .arg(sqliteCode);
}

QString fileSystemCause(const QString &filePath)
{
    const QFileInfo file(filePath);
    const QString folder = QDir::cleanPath(file.absolutePath());
    // The nearest element of the folder's path that exists.
    QString existing = folder;
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).absolutePath();
        if (parent == existing)
            return {};
        existing = parent;
    }
    if (!QFileInfo(existing).isDir()) {
        return QStringLiteral("Папку хранилища проектов %1 нельзя создать: %2 — это файл, а не папка. "
                              "Переименуйте или удалите этот файл.")
            .arg(quoted(folder), quoted(existing));
    }
    if (existing != folder) {
        if (OwnerOnlyFiles::canWriteInto(existing))
            return {};
        return QStringLiteral("Папку хранилища проектов %1 нельзя создать: папка %2 доступна только для чтения. "
                              "Разрешите в ней запись.")
            .arg(quoted(folder), quoted(existing));
    }
    if (QFileInfo(folder).ownerId() != ::getuid()) {
        return QStringLiteral("Папка хранилища проектов %1 принадлежит другому пользователю. "
                              "Передайте её своей учётной записи или удалите, и Tessmark создаст новую.")
            .arg(quoted(folder));
    }
    if (!OwnerOnlyFiles::canWriteInto(folder)) {
        return QStringLiteral("Папка хранилища проектов %1 доступна только для чтения: проекты в ней не сохранить. "
                              "Разрешите запись в эту папку.")
            .arg(quoted(folder));
    }
    const QFileInfo stored(filePath);
    // A link that leads nowhere reads as no file, and a folder as a file that may not be written.
    if (stored.isSymLink() && !stored.exists()) {
        return QStringLiteral("На месте файла хранилища проектов %1 стоит ссылка на %2, а такого файла нет. "
                              "Удалите ссылку, и Tessmark создаст новое хранилище, или верните файл, "
                              "на который она указывает.")
            .arg(quoted(filePath), quoted(stored.symLinkTarget()));
    }
    if (stored.isDir()) {
        return QStringLiteral("На месте файла хранилища проектов %1 находится папка. "
                              "Переименуйте или переместите её, и Tessmark создаст новое хранилище.")
            .arg(quoted(filePath));
    }
    if (!stored.exists())
        return {};
    if (stored.ownerId() != ::getuid()) {
        return QStringLiteral("Файл хранилища проектов %1 принадлежит другому пользователю. "
                              "Передайте его своей учётной записи или переместите в другое место.")
            .arg(quoted(filePath));
    }
    if (!OwnerOnlyFiles::canWrite(filePath)) {
        return QStringLiteral("Файл хранилища проектов %1 доступен только для чтения: проекты в нём не сохранить. "
                              "Разрешите запись в этот файл.")
            .arg(quoted(filePath));
    }
    return {};
}

QString folderNotPrepared(const QString &folder)
{
    return QStringLiteral("Папку хранилища проектов %1 не удаётся подготовить. "
                          "Проверьте, что она существует и доступна для записи вам одному.")
        .arg(quoted(folder));
}

QString foreignTable(const QString &filePath, const QString &table)
{
    return QStringLiteral("В файле %1 хранятся данные другой программы (таблица «%2»). "
                          "Переместите этот файл в другое место, и Tessmark создаст новое хранилище.")
        .arg(quoted(filePath), boundedPath(table));
}

QString foreignColumns(const QString &filePath, const QString &table)
{
    return QStringLiteral("В файле %1 таблица «%2» устроена иначе, чем у Tessmark: файл принадлежит другой программе. "
                          "Переместите этот файл в другое место, и Tessmark создаст новое хранилище.")
        .arg(quoted(filePath), boundedPath(table));
}

QString unsupportedVersion(const QString &filePath, int version)
{
    return QStringLiteral("Файл %1 записан другой версией Tessmark или другой программой (версия данных %2). "
                          "Обновите Tessmark или переместите этот файл в другое место.")
        .arg(quoted(filePath), QString::number(version));
}

QString upgradeFailed(const QString &cause)
{
    return QStringLiteral("Хранилище проектов не удалось обновить до новой версии, оно оставлено как было. ") + cause;
}

QString unreadableProject()
{
    return QStringLiteral("Проект на устройстве не читается: его данные повреждены.");
}

QString unreadableProjects(qsizetype count)
{
    if (count == 1)
        return QStringLiteral("Один проект на устройстве не читается: его данные повреждены. "
                              "Остальные проекты доступны.");
    return QStringLiteral("Несколько проектов на устройстве (%1) не читаются: их данные повреждены. "
                          "Остальные проекты доступны.")
        .arg(count);
}

QString startStopped(const QString &cause, const QString &filePath)
{
    const QString shown = boundedPath(filePath);
    if (cause.contains(QStringLiteral("«") + shown + QStringLiteral("»")))
        return QStringLiteral("Не удаётся открыть хранилище проектов на устройстве.\n%1").arg(cause);
    return QStringLiteral("Не удаётся открыть хранилище проектов на устройстве.\n%1\nФайл: %2").arg(cause, shown);
}

} // namespace StoreMessages
