#include "PDFSaveHelper.h"

#include "FileErrorText.h"
#include "ProposalFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace PDFSaveHelper {

namespace {

const QString pdfSuffix = QStringLiteral(".pdf");

PDFSaveResult failure(const QString &reason, const QString &path)
{
    return PDFSaveResult{false, QString(),
                         QStringLiteral("Не удалось сохранить файл: ") + reason + QLatin1Char('\n')
                             + FileErrorText::shownPath(path)};
}

PDFSaveResult failure(int errnum, const QString &path)
{
    return failure(FileErrorText::saveReason(errnum), path);
}

// The errno of an access check with the process's effective rights (those an open uses), or 0.
int accessError(const QByteArray &path, int mode)
{
    return ::faccessat(AT_FDCWD, path.constData(), mode, AT_EACCESS) == 0 ? 0 : errno;
}

// Why the destination cannot be written, found before anything is written: a name the disk cannot
// hold, a path through a file, a folder in the way, a folder or file we may not write.
std::optional<PDFSaveResult> destinationProblem(const QString &destination)
{
    const QByteArray name = QFile::encodeName(destination);
    struct stat info
    {};
    const bool exists = ::stat(name.constData(), &info) == 0;
    if (!exists && errno != ENOENT)
        return failure(errno, destination);
    if (exists && S_ISDIR(info.st_mode))
        return failure(EISDIR, destination);
    if (const int error = accessError(QFile::encodeName(QFileInfo(destination).absolutePath()), W_OK | X_OK))
        return failure(error, destination);
    if (exists && accessError(name, W_OK) != 0)
        return failure(QStringLiteral("нет доступа к файлу, который нужно заменить."), destination);
    return std::nullopt;
}

const QString sourceUnreadable = QStringLiteral("готовый PDF не читается. Закройте окно и сформируйте PDF заново.");

// A file descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    // Closes now, with the errno of a failed close (a late write error on some file systems), or 0.
    int close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int m_fd;
};

// A new empty file beside the destination, under a short name of its own so that its name is never
// the one the disk refuses; its descriptor, or minus the errno. Created with the usual rights less
// the umask, as any new file.
int createTemporary(const QString &folder, QByteArray &path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral("/.tessmark-%1.part").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        path = QFile::encodeName(folder + name);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd >= 0 ? fd : -errno;
    }
    return -EEXIST;
}

// Writes all of the bytes; the errno of the failed write, or 0.
int writeAll(int fd, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= written;
    }
    return 0;
}

} // namespace

QString suggestedFilename(const QString &projectName)
{
    return ProposalFileName::suggestedName(projectName);
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

std::optional<QString> destinationPath(const QUrl &chosen, const QString &folder)
{
    QString path;
    if (chosen.scheme().isEmpty()) {
        path = chosen.path(QUrl::FullyDecoded);
        if (chosen.hasQuery())
            path += QLatin1Char('?') + chosen.query(QUrl::FullyDecoded);
        if (chosen.hasFragment())
            path += QLatin1Char('#') + chosen.fragment(QUrl::FullyDecoded);
    } else if (chosen.scheme() == QStringLiteral("file")) {
        const QString host = chosen.host();
        if (!host.isEmpty() && host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        path = chosen.path(QUrl::FullyDecoded);
    } else {
        return std::nullopt;
    }
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return std::nullopt;
    path = QDir::cleanPath(QDir(folder.isEmpty() ? QDir::homePath() : folder).absoluteFilePath(path));
    if (!path.endsWith(pdfSuffix, Qt::CaseInsensitive))
        path += path.endsWith(QLatin1Char('.')) ? QStringLiteral("pdf") : pdfSuffix;
    return path;
}

QString notLocalFileText()
{
    return QStringLiteral("Выбранное место не является файлом на этом компьютере.");
}

PDFSaveResult save(const QString &sourcePath, const QString &destinationPath)
{
    const QFileInfo source(sourcePath);
    const QFileInfo destination(destinationPath);
    if (destination.exists() && source.exists() && source.canonicalFilePath() == destination.canonicalFilePath())
        return PDFSaveResult{true, destinationPath, QString()};

    if (const std::optional<PDFSaveResult> problem = destinationProblem(destinationPath))
        return *problem;
    Descriptor input(::open(QFile::encodeName(sourcePath).constData(), O_RDONLY | O_CLOEXEC));
    struct stat sourceInfo
    {};
    if (input.get() < 0 || ::fstat(input.get(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        return failure(sourceUnreadable, sourcePath);

    // Written beside the destination and renamed over it once complete and on the disk, as
    // QSaveFile does, but with each call's own errno: a failed copy leaves the old file untouched.
    QByteArray temporary;
    const int created = createTemporary(destination.absolutePath(), temporary);
    if (created < 0)
        return failure(-created, destinationPath);
    Descriptor output(created);
    const auto fail = [&temporary, &destinationPath](int errnum) {
        ::unlink(temporary.constData());
        return failure(errnum, destinationPath);
    };
    // A replaced file keeps its rights.
    struct stat replaced
    {};
    if (::stat(QFile::encodeName(destinationPath).constData(), &replaced) == 0)
        ::fchmod(output.get(), replaced.st_mode & 07777);

    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const ssize_t read = ::read(input.get(), buffer.data(), size_t(buffer.size()));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0) {
            ::unlink(temporary.constData());
            return failure(sourceUnreadable, sourcePath);
        }
        if (read == 0)
            break;
        if (const int writeError = writeAll(output.get(), buffer.constData(), read))
            return fail(writeError);
    }
    if (::fsync(output.get()) != 0)
        return fail(errno);
    if (const int closeError = output.close())
        return fail(closeError);
    if (::rename(temporary.constData(), QFile::encodeName(destinationPath).constData()) != 0)
        return fail(errno);
    return PDFSaveResult{true, destinationPath, QString()};
}

} // namespace PDFSaveHelper
