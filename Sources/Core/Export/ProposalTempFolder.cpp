#include "ProposalTempFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace ProposalTempFolder {

namespace {

const QString renderPrefix = QStringLiteral("render-");

QString folderPath(const QString &base)
{
    return base + QStringLiteral("/tessmark-") + QString::number(::getuid());
}

} // namespace

std::optional<QString> ensure(const QString &base)
{
    const QString path = folderPath(base);
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

std::optional<QString> newRenderFolder(const QString &base)
{
    const std::optional<QString> folder = ensure(base);
    if (!folder)
        return std::nullopt;
    // mkdtemp makes the folder with mode 0700 under a name nobody else holds.
    QByteArray name = QFile::encodeName(*folder + QLatin1Char('/') + renderPrefix + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(name.data()))
        return std::nullopt;
    return QFile::decodeName(name);
}

void removeRender(const QString &pdfPath)
{
    if (pdfPath.isEmpty())
        return;
    const QFileInfo file(pdfPath);
    const QFileInfo render(file.absolutePath());
    const QString owner = folderPath(QFileInfo(render.absolutePath()).absolutePath());
    if (!render.fileName().startsWith(renderPrefix) || render.isSymLink() || render.absolutePath() != owner)
        return;
    QDir(render.absoluteFilePath()).removeRecursively();
}

void removeStaleRenders(const QString &base)
{
    const QString folder = folderPath(base);
    if (!QFileInfo(folder).isDir() || QFileInfo(folder).isSymLink())
        return;
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addDays(-1);
    const QDir dir(folder);
    for (const QFileInfo &render : dir.entryInfoList(
             {renderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        if (render.lastModified().toUTC() < cutoff)
            QDir(render.filePath()).removeRecursively();
    }
    // Files of earlier versions, written straight into the folder.
    for (const QFileInfo &file :
         dir.entryInfoList({QStringLiteral("KP-*.pdf")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (file.lastModified().toUTC() < cutoff)
            QFile::remove(file.filePath());
    }
}

} // namespace ProposalTempFolder
