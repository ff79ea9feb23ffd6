#include "ProposalTempFolder.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace ProposalTempFolder {

std::optional<QString> ensure(const QString &base)
{
    const QString path = base + QStringLiteral("/tessmark-") + QString::number(::getuid());
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;

    struct stat info
    {};
    if (::lstat(native.constData(), &info) != 0)
        return std::nullopt;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return std::nullopt;
    if ((info.st_mode & 07777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return std::nullopt;
    return path;
}

} // namespace ProposalTempFolder
