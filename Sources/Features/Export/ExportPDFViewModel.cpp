#include "ExportPDFViewModel.h"

#include "Export/CommercialProposalPDF.h"
#include "Export/PDFSaveHelper.h"
#include "Export/PDFTypography.h"
#include "PDFPreviewImageProvider.h"

#include <QCoroFuture>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QQmlEngine>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

ExportPDFViewModel::ExportPDFViewModel(QObject *parent)
    : QObject(parent)
    , m_generator([](const CommercialProposalInput &input) { return CommercialProposalPDF::generate(input); })
    , m_urlOpener([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
}

void ExportPDFViewModel::setInput(const QVariant &input)
{
    m_input = input.value<CommercialProposalInput>();
    Q_EMIT inputChanged();
}

QUrl ExportPDFViewModel::pdfUrl() const
{
    return m_pdfPath.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_pdfPath);
}

QUrl ExportPDFViewModel::previewSource() const
{
    return m_pdfPath.isEmpty() ? QUrl() : PDFPreviewImageProvider::source(m_pdfPath, m_generation);
}

QString ExportPDFViewModel::suggestedFilename() const
{
    return PDFSaveHelper::suggestedFilename(m_input.projectName);
}

QUrl ExportPDFViewModel::suggestedSaveUrl() const
{
    return QUrl::fromLocalFile(QDir(saveFolder().toLocalFile()).filePath(suggestedFilename()));
}

QUrl ExportPDFViewModel::saveFolder() const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QUrl::fromLocalFile(documents.isEmpty() ? QDir::homePath() : documents);
}

void ExportPDFViewModel::classBegin()
{
    PDFPreviewImageProvider::install(qmlEngine(this));
}

void ExportPDFViewModel::start()
{
    if (m_generation == 0)
        generate();
}

void ExportPDFViewModel::generate()
{
    // The bundled font is registered here, on the GUI thread, before any worker lays text out.
    PDFTypography::family();
    const int generation = ++m_generation;
    m_error.clear();
    m_pdfPath.clear();
    m_generating = true;
    if (!m_saveNotice.isEmpty()) {
        m_saveNotice.clear();
        Q_EMIT saveChanged();
    }
    Q_EMIT stateChanged();
    QFuture<std::optional<QString>> rendering = QtConcurrent::run(m_generator, m_input);
    generationTask(this, generation, std::move(rendering));
}

QCoro::Task<> ExportPDFViewModel::generationTask(QPointer<ExportPDFViewModel> self, int generation,
                                                 QFuture<std::optional<QString>> rendering)
{
    const std::optional<QString> path = co_await rendering;
    if (!self || self->m_generation != generation)
        co_return;
    self->m_generating = false;
    if (path)
        self->m_pdfPath = *path;
    else
        self->m_error = CommercialProposalPDF::creationErrorText();
    Q_EMIT self->stateChanged();
    Q_EMIT self->generationFinished();
}

void ExportPDFViewModel::setSaving(bool saving)
{
    m_saving = saving;
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::beginSave()
{
    if (m_pdfPath.isEmpty())
        return;
    setSaving(true);
}

void ExportPDFViewModel::finishSave(const QUrl &destination)
{
    if (!m_saving)
        return;
    m_saving = false;
    if (!destination.isLocalFile()) {
        m_saveError = QStringLiteral("Выбранное место не является файлом на этом компьютере.");
    } else {
        const PDFSaveResult result = PDFSaveHelper::save(m_pdfPath, destination.toLocalFile());
        if (result.ok)
            m_saveNotice = QStringLiteral("Сохранено: ") + QFileInfo(result.path).fileName();
        else
            m_saveError = result.error;
    }
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::cancelSave()
{
    if (m_saving)
        setSaving(false);
}

void ExportPDFViewModel::clearSaveError()
{
    if (m_saveError.isEmpty())
        return;
    m_saveError.clear();
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::openInViewer()
{
    if (!m_pdfPath.isEmpty() && m_urlOpener)
        m_urlOpener(pdfUrl());
}
