#include "PDFSaveHelper.h"

#include "ProposalFileName.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PDFSaveHelper {

namespace {

PDFSaveResult failure(const QString &error)
{
    return PDFSaveResult{false, QString(), error};
}

} // namespace

QString suggestedFilename(const QString &projectName)
{
    return ProposalFileName::suggestedName(projectName);
}

PDFSaveResult save(const QString &sourcePath, const QString &destinationPath)
{
    const QFileInfo source(sourcePath);
    const QFileInfo destination(destinationPath);
    if (destination.exists() && source.exists() && source.canonicalFilePath() == destination.canonicalFilePath())
        return PDFSaveResult{true, destinationPath, QString()};

    QFile input(sourcePath);
    if (!input.open(QIODevice::ReadOnly))
        return failure(input.errorString());
    QSaveFile output(destinationPath);
    if (!output.open(QIODevice::WriteOnly))
        return failure(output.errorString());
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(1 << 16);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError) {
            output.cancelWriting();
            return failure(input.errorString());
        }
        if (output.write(chunk) != chunk.size()) {
            const QString error = output.errorString();
            output.cancelWriting();
            return failure(error);
        }
    }
    if (!output.commit())
        return failure(output.errorString());
    return PDFSaveResult{true, destinationPath, QString()};
}

} // namespace PDFSaveHelper
