#include "CommercialProposalPDF.h"

#include "CommercialProposalRenderer.h"
#include "PDFCanvas.h"
#include "PDFLayout.h"
#include "PDFToUnicode.h"
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

QByteArray render(const CommercialProposalInput &input, const QDate &today, std::stop_token stop)
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
        const auto newPage = [&writer] { writer.newPage(); };
        PDFCanvas canvas(&painter, newPage, std::move(stop));
        canvas.preparePageSurface();
        CommercialProposalRenderer::drawHeader(input, today, canvas);
        CommercialProposalRenderer::drawSummary(input, canvas);
        CommercialProposalRenderer::drawEstimateTable(input, canvas);
        CommercialProposalRenderer::drawNotes(input, canvas);
        CommercialProposalRenderer::drawFooter(canvas);
        if (canvas.stopped() || !painter.end())
            return {};
        buffer.close();
        return PDFToUnicode::complete(bytes, canvas.glyphs());
    }
}

std::optional<QString> generate(const CommercialProposalInput &input, const QDate &today, const QString &tempBase,
                                std::stop_token stop)
{
    const QByteArray bytes = render(input, today, stop);
    if (bytes.isEmpty() || stop.stop_requested())
        return std::nullopt;
    return writeTempPDF(bytes, input.projectName, tempBase);
}

std::optional<QString> writeTempPDF(const QByteArray &data, const QString &projectName, const QString &tempBase)
{
    ProposalTempFolder::removeStaleRenders(tempBase);
    // A folder for every render: an earlier one may still be on show in another sheet, or
    // handed to another program, under the same name.
    const std::optional<QString> folder = ProposalTempFolder::newRenderFolder(tempBase);
    if (!folder)
        return std::nullopt;
    const QString path = *folder + QLatin1Char('/') + ProposalFileName::temporaryName(projectName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(data) != data.size() || !file.flush()) {
        file.close();
        ProposalTempFolder::removeRender(path);
        return std::nullopt;
    }
    return path;
}

} // namespace CommercialProposalPDF
