#include "ExportPDFViewModel.h"

#include "Export/CommercialProposalPDF.h"
#include "Export/PDFSaveHelper.h"
#include "Export/PDFTypography.h"
#include "Export/ProposalTempFolder.h"
#include "FileSharing.h"
#include "PDFPreviewImageProvider.h"

#include <QCoroFuture>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QQmlEngine>
#include <QtConcurrent/QtConcurrentRun>

ExportPDFViewModel::ExportPDFViewModel(QObject *parent)
    : QObject(parent)
    , m_generator([](const CommercialProposalInput &input) { return CommercialProposalPDF::generate(input); })
    , m_urlOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
}

ExportPDFViewModel::~ExportPDFViewModel()
{
    dropRender();
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

QString ExportPDFViewModel::previewName() const
{
    if (m_pdfPath.isEmpty())
        return {};
    return QStringLiteral("Первая страница PDF, всего страниц: %1").arg(m_pageCount);
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
    return QUrl::fromLocalFile(PDFSaveHelper::startFolder());
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
    // The application registers the bundled font at start; a host that did not (a test of the sheet
    // alone) has it registered here, on the GUI thread, before any worker lays text out.
    PDFTypography::family();
    const int generation = ++m_generation;
    m_discarded = false;
    dropRender();
    m_error.clear();
    m_generating = true;
    clearOutcome();
    Q_EMIT stateChanged();
    QFuture<Rendered> rendering = QtConcurrent::run(
        [generator = m_generator](const CommercialProposalInput &input) {
            Rendered rendered{generator(input), 0};
            if (rendered.first)
                rendered.second = PDFPreviewImageProvider::pageCount(*rendered.first);
            return rendered;
        },
        m_input);
    generationTask(this, generation, std::move(rendering));
}

QCoro::Task<> ExportPDFViewModel::generationTask(QPointer<ExportPDFViewModel> self, int generation,
                                                 QFuture<Rendered> rendering)
{
    const auto [path, pages] = co_await rendering;
    // A render nobody will show any more: the sheet went, or a newer render started.
    if (!self || self->m_generation != generation || self->m_discarded) {
        if (path)
            ProposalTempFolder::removeRender(*path);
        co_return;
    }
    self->m_generating = false;
    if (path) {
        self->m_pdfPath = *path;
        self->m_pageCount = pages;
    } else
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
    m_saveCopy.clear();
    setSaving(true);
}

QUrl ExportPDFViewModel::savedFile() const
{
    return m_saving || m_saveCopy.isEmpty() ? QUrl() : QUrl::fromLocalFile(m_saveCopy);
}

PDFSaveResult ExportPDFViewModel::copyTo(const QUrl &destination, const QUrl &folder)
{
    const QString base = folder.isLocalFile() ? folder.toLocalFile() : PDFSaveHelper::startFolder();
    const std::optional<QString> path = PDFSaveHelper::destinationPath(destination, base);
    if (!path)
        return PDFSaveResult{false, QString(), PDFSaveHelper::notLocalFileText()};
    const PDFSaveResult result = PDFSaveHelper::save(m_pdfPath, *path);
    if (result.ok) {
        m_savedPath = result.path;
        m_saveCopy = result.path;
        m_notice = QStringLiteral("Сохранено: ") + QFileInfo(result.path).fileName();
    }
    return result;
}

void ExportPDFViewModel::finishSave(const QUrl &destination, const QUrl &folder)
{
    if (!m_saving)
        return;
    m_saving = false;
    clearOutcome();
    const PDFSaveResult result = copyTo(destination, folder);
    if (!result.ok)
        m_saveError = result.error;
    Q_EMIT saveChanged();
}

QString ExportPDFViewModel::saveInDialog(const QUrl &destination)
{
    // One outcome at a time: a failed attempt takes the last notice away too.
    clearOutcome();
    const PDFSaveResult result = copyTo(destination, QUrl());
    if (!result.ok)
        return result.error;
    m_saving = false;
    Q_EMIT saveChanged();
    return {};
}

void ExportPDFViewModel::cancelSave()
{
    if (m_saving)
        setSaving(false);
}

void ExportPDFViewModel::failSave(const QString &message)
{
    if (!m_saving)
        return;
    m_saving = false;
    clearOutcome();
    m_saveError = message;
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::clearSaveError()
{
    if (m_saveError.isEmpty())
        return;
    m_saveError.clear();
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::clearActionError()
{
    if (m_actionError.isEmpty())
        return;
    m_actionErrorTitle.clear();
    m_actionError.clear();
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::clearOutcome()
{
    ++m_action;
    if (m_notice.isEmpty() && m_saveError.isEmpty() && m_actionError.isEmpty())
        return;
    m_notice.clear();
    m_saveError.clear();
    m_actionErrorTitle.clear();
    m_actionError.clear();
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::failAction(const QString &title, const QString &message)
{
    m_actionErrorTitle = title;
    m_actionError = message;
    Q_EMIT saveChanged();
}

void ExportPDFViewModel::openInViewer()
{
    if (m_pdfPath.isEmpty())
        return;
    clearOutcome();
    m_handedOver = true;
    if (!m_urlOpener(pdfUrl()))
        failAction(QStringLiteral("Не удалось открыть PDF"),
                   QStringLiteral("На компьютере не нашлось программы для просмотра PDF. Сохраните файл кнопкой "
                                  "«Сохранить PDF…» и откройте его из папки или отправьте дальше."));
}

void ExportPDFViewModel::copyFile()
{
    if (m_pdfPath.isEmpty())
        return;
    clearOutcome();
    const QString shared = sharedPath();
    if (FileSharing::copyToClipboard(QUrl::fromLocalFile(shared))) {
        m_handedOver = m_handedOver || shared == m_pdfPath;
        m_notice = QStringLiteral("Файл скопирован");
        Q_EMIT saveChanged();
    } else {
        failAction(QStringLiteral("Не удалось скопировать файл"),
                   QStringLiteral("Файл не попал в буфер обмена. Сохраните его кнопкой «Сохранить PDF…» и "
                                  "приложите из папки."));
    }
}

void ExportPDFViewModel::showInFolder()
{
    if (m_pdfPath.isEmpty())
        return;
    clearOutcome();
    QPointer<ExportPDFViewModel> self(this);
    const int action = m_action;
    const QString shared = sharedPath();
    m_handedOver = m_handedOver || shared == m_pdfPath;
    FileSharing::showInFolder(QUrl::fromLocalFile(shared), this, m_urlOpener, [self, action](bool shown) {
        // An answer after the sheet went, or after another action, tells nothing any more.
        if (self && self->m_action == action && !shown)
            self->failAction(QStringLiteral("Не удалось показать файл в папке"),
                             QStringLiteral("Не нашлось программы, которая открывает папки. Сохраните файл кнопкой "
                                            "«Сохранить PDF…» в папку, которую вы найдёте сами."));
    });
}

QString ExportPDFViewModel::sharedPath() const
{
    // A saved copy that was moved or removed since: the render is still there.
    return !m_savedPath.isEmpty() && QFileInfo(m_savedPath).isFile() ? m_savedPath : m_pdfPath;
}

void ExportPDFViewModel::discard()
{
    m_discarded = true;
    m_generating = false;
    dropRender();
    Q_EMIT stateChanged();
    // A dialog still open answers into a sheet that is gone.
    cancelSave();
}

void ExportPDFViewModel::dropRender()
{
    // A copy saved into the render's own folder (or over the render) is the user's file now.
    const bool savedInside =
        !m_savedPath.isEmpty() && QFileInfo(m_savedPath).absolutePath() == QFileInfo(m_pdfPath).absolutePath();
    if (!m_pdfPath.isEmpty() && !m_handedOver && !savedInside)
        ProposalTempFolder::removeRender(m_pdfPath);
    m_pdfPath.clear();
    m_pageCount = 0;
    m_savedPath.clear();
    m_handedOver = false;
}
