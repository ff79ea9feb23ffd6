#include "CommercialProposalPDF.h"

#include "CommercialProposalRenderer.h"
#include "PDFCanvas.h"
#include "PDFLayout.h"
#include "ProposalFileName.h"
#include "ProposalTempFolder.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>

namespace CommercialProposalPDF {

QString creationErrorText()
{
    return QStringLiteral("Не удалось создать PDF");
}

QString documentTitle(const CommercialProposalInput &input)
{
    // The header's two first lines on one line; a very long name is cut, as viewers show the
    // title in their window's caption.
    constexpr qsizetype maxNameLength = 200;
    QString name = input.projectName.simplified();
    if (name.size() > maxNameLength)
        name = name.left(maxNameLength - 1) + QStringLiteral("…");
    if (input.projectName.isEmpty())
        name = QStringLiteral("Проект");
    return name.isEmpty() ? QStringLiteral("Коммерческое предложение")
                          : QStringLiteral("Коммерческое предложение — ") + name;
}

QByteArray render(const CommercialProposalInput &input, const QDate &today)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(PDFLayout::pageWidth, PDFLayout::pageHeight), QPageSize::Point, QString(),
                                     QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(QStringLiteral("Tessmark"));
        writer.setTitle(documentTitle(input));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        PDFCanvas canvas(&painter, [&writer] { writer.newPage(); });
        canvas.preparePageSurface();
        CommercialProposalRenderer::drawHeader(input, today, canvas);
        CommercialProposalRenderer::drawSummary(input, canvas);
        CommercialProposalRenderer::drawEstimateTable(input, canvas);
        CommercialProposalRenderer::drawNotes(input, canvas);
        CommercialProposalRenderer::drawFooter(canvas);
        if (!painter.end())
            return {};
    }
    buffer.close();
    return bytes;
}

std::optional<QString> generate(const CommercialProposalInput &input, const QDate &today, const QString &tempBase)
{
    const QByteArray bytes = render(input, today);
    if (bytes.isEmpty())
        return std::nullopt;
    return writeTempPDF(bytes, input.projectName, tempBase);
}

namespace {

// Renders of earlier days: their sheets are long gone, and each render leaves its own file.
void removeStaleRenders(const QString &folder)
{
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addDays(-1);
    const QFileInfoList renders =
        QDir(folder).entryInfoList({QStringLiteral("KP-*.pdf")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &render : renders) {
        if (render.lastModified().toUTC() < cutoff)
            QFile::remove(render.filePath());
    }
}

} // namespace

std::optional<QString> writeTempPDF(const QByteArray &data, const QString &projectName, const QString &tempBase)
{
    const std::optional<QString> folder = ProposalTempFolder::ensure(tempBase);
    if (!folder)
        return std::nullopt;
    removeStaleRenders(*folder);
    // A new file for every render: an earlier one may still be on show in another sheet.
    QTemporaryFile file(*folder + QLatin1Char('/') + ProposalFileName::temporaryTemplate(projectName));
    if (!file.open())
        return std::nullopt;
    if (file.write(data) != data.size() || !file.flush())
        return std::nullopt;
    file.setAutoRemove(false);
    return file.fileName();
}

} // namespace CommercialProposalPDF
