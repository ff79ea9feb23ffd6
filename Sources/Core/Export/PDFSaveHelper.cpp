#include "PDFSaveHelper.h"

#include "ProposalFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace PDFSaveHelper {

namespace {

const QString pdfSuffix = QStringLiteral(".pdf");

PDFSaveResult failure(const QString &reason, const QString &path)
{
    return PDFSaveResult{false, QString(),
                         QStringLiteral("Не удалось сохранить файл: ") + reason + QLatin1Char('\n')
                             + QDir::toNativeSeparators(path)};
}

// The errno of an access check with the process's effective rights (those an open uses), or 0.
int accessError(const QString &path, int mode)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0 ? 0 : errno;
}

// Why the destination cannot be written, found before writing so that the user reads a reason in
// words instead of the system's text.
std::optional<QString> destinationProblem(const QString &destination)
{
    const QFileInfo info(destination);
    if (info.isDir())
        return QStringLiteral("на этом месте уже есть папка с таким именем.");
    switch (accessError(info.absolutePath(), W_OK | X_OK)) {
    case 0:
        break;
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("папка не найдена.");
    case EROFS:
        return QStringLiteral("папка открыта только для чтения.");
    default:
        return QStringLiteral("нет доступа к папке.");
    }
    if (info.exists() && accessError(destination, W_OK) != 0)
        return QStringLiteral("нет доступа к файлу, который нужно заменить.");
    return std::nullopt;
}

const QString writeFailed = QStringLiteral("не удалось записать данные. Проверьте, есть ли место на диске.");
const QString sourceUnreadable = QStringLiteral("готовый PDF не читается. Закройте окно и сформируйте PDF заново.");

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

    if (const std::optional<QString> problem = destinationProblem(destinationPath))
        return failure(*problem, destinationPath);
    QFile input(sourcePath);
    if (source.isDir() || !input.open(QIODevice::ReadOnly))
        return failure(sourceUnreadable, sourcePath);
    QSaveFile output(destinationPath);
    if (!output.open(QIODevice::WriteOnly))
        return failure(destinationProblem(destinationPath).value_or(writeFailed), destinationPath);
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(1 << 16);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError) {
            output.cancelWriting();
            return failure(sourceUnreadable, sourcePath);
        }
        if (output.write(chunk) != chunk.size()) {
            output.cancelWriting();
            return failure(writeFailed, destinationPath);
        }
    }
    if (!output.commit())
        return failure(destinationProblem(destinationPath).value_or(writeFailed), destinationPath);
    return PDFSaveResult{true, destinationPath, QString()};
}

} // namespace PDFSaveHelper
