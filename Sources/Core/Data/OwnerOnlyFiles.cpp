#include "OwnerOnlyFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr QFile::Permissions folderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions fileMode = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions modeBits = folderMode | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
    | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

// Only ever removes access: a mode narrower than the wanted one stays as it is.
bool tighten(const QString &path, QFile::Permissions mode)
{
    const QFileInfo info(path);
    if (info.ownerId() != getuid())
        return false;
    const QFile::Permissions current = info.permissions() & modeBits;
    if (!(current & ~mode))
        return true;
    return QFile::setPermissions(path, current & mode);
}

// Folders that already exist are left as they are: they may be the user's own (home, data home).
bool makeMissing(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.exists())
        return info.isDir();
    const QString parent = info.absolutePath();
    if (parent == folder || !makeMissing(parent))
        return false;
    // Another process may make it meanwhile; then it is taken as found.
    return QDir().mkdir(folder, folderMode) || QFileInfo(folder).isDir();
}

} // namespace

bool OwnerOnlyFiles::makeFolder(const QString &path)
{
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return makeMissing(folder) && tighten(folder, folderMode);
}

bool OwnerOnlyFiles::makeFile(const QString &path)
{
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, fileMode) && !file.exists())
        return false;
    file.close();
    return tightenFile(path);
}

bool OwnerOnlyFiles::tightenFile(const QString &path)
{
    return !QFileInfo::exists(path) || tighten(path, fileMode);
}

bool OwnerOnlyFiles::canWriteInto(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.tessmark-probe-XXXXXX"));
    return probe.open();
}

bool OwnerOnlyFiles::canWrite(const QString &file)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
