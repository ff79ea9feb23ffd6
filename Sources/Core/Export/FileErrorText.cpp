#include "FileErrorText.h"

#include "Utils/Text.h"

#include <QDir>

#include <cerrno>

namespace FileErrorText {

namespace {

// A longer text keeps its start and its end in halves.
QString middleCut(const QString &text, qsizetype limit)
{
    return Text::middleCut(text, limit, limit - limit / 2 - 1);
}

} // namespace

QString saveReason(int errnum)
{
    switch (errnum) {
    case ENAMETOOLONG:
        return QStringLiteral("имя файла слишком длинное для этого диска. Сократите его.");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет доступа к папке.");
    case ENOENT:
        return QStringLiteral("папка не найдена.");
    case ENOTDIR:
        return QStringLiteral("в пути к файлу вместо папки стоит файл.");
    case EISDIR:
        return QStringLiteral("на этом месте уже есть папка с таким именем.");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения.");
    case ENOSPC:
        return QStringLiteral("на диске не хватает места.");
    case EDQUOT:
        return QStringLiteral("исчерпана ваша квота на диске.");
    case EFBIG:
        return QStringLiteral("файл слишком велик для этого диска.");
    case ELOOP:
        return QStringLiteral("в пути к файлу ссылки замкнуты в круг.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("файл занят другой программой.");
    case EIO:
        return QStringLiteral("диск сообщил об ошибке чтения или записи.");
    default:
        return QStringLiteral("система отказала в записи (код ошибки %1).").arg(errnum);
    }
}

QString folderReason(int errnum)
{
    switch (errnum) {
    case EEXIST:
        return QStringLiteral("Здесь уже есть папка или файл с таким именем.");
    case ENAMETOOLONG:
        return QStringLiteral("Имя слишком длинное для этого диска. Сократите его.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет прав создавать папки в этой папке.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Текущей папки больше нет. Выберите другую.");
    case EROFS:
        return QStringLiteral("Диск доступен только для чтения.");
    case ENOSPC:
        return QStringLiteral("На диске не хватает места.");
    case EDQUOT:
        return QStringLiteral("Исчерпана ваша квота на диске.");
    case EMLINK:
        return QStringLiteral("В этой папке больше нельзя создавать папки.");
    case EIO:
        return QStringLiteral("Диск сообщил об ошибке чтения или записи.");
    default:
        return QStringLiteral("Не удалось создать папку (код ошибки %1).").arg(errnum);
    }
}

QString listReason(int errnum)
{
    switch (errnum) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет прав на просмотр этой папки.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Этой папки больше нет. Выберите другую.");
    default:
        return QStringLiteral("Не удалось прочитать эту папку (код ошибки %1).").arg(errnum);
    }
}

QString shownPath(const QString &path)
{
    // A line break or another control character in a name would break the message's lines.
    QString native = QDir::toNativeSeparators(path);
    for (QChar &c : native) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    const qsizetype slash = native.lastIndexOf(QDir::separator());
    if (slash < 0)
        return middleCut(native, maxNameCharacters);
    return middleCut(native.left(slash), maxFolderCharacters) + QDir::separator()
        + middleCut(native.mid(slash + 1), maxNameCharacters);
}

} // namespace FileErrorText
