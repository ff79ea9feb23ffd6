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

#include <mutex>
#include <utility>

// One render, shared by the sheet and the thread that draws it. The sheet may give it up at any
// moment; the thread hands its file on only while it is wanted. A file made but not yet shown is
// removed by whichever of the two comes last, so that a render given up leaves nothing behind,
// also at the application's end, when the sheet's answer never runs.
struct ExportPDFViewModel::Render
{
    std::stop_source stop;
    std::mutex mutex;
    // Made by the thread, not yet taken by the sheet.
    std::optional<QString> made;

    // On the drawing thread: the file is kept for the sheet, or removed when the sheet gave it up.
    std::optional<QString> offer(std::optional<QString> path)
    {
        if (!path)
            return path;
        {
            const std::lock_guard lock(mutex);
            if (!stop.stop_requested()) {
                made = path;
                return path;
            }
        }
        ProposalTempFolder::removeRender(*path);
        return std::nullopt;
    }
    // The sheet shows the file: from now on it is the sheet's to remove.
    void take()
    {
        const std::lock_guard lock(mutex);
        made.reset();
    }
    void abandon()
    {
        std::optional<QString> left;
        {
            const std::lock_guard lock(mutex);
            stop.request_stop();
            left = std::exchange(made, std::nullopt);
        }
        if (left)
            ProposalTempFolder::removeRender(*left);
    }
};

ExportPDFViewModel::ExportPDFViewModel(QObject *parent)
    : QObject(parent)
    , m_generator([](const CommercialProposalInput &input, std::stop_token stop) {
        return CommercialProposalPDF::generate(input, QDate::currentDate(), QDir::tempPath(), std::move(stop));
    })
    , m_urlOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
}

ExportPDFViewModel::~ExportPDFViewModel()
{
    abandonRender();
    dropRender();
}

void ExportPDFViewModel::setWorkPool(QThreadPool *pool)
{
    m_workPool = pool;
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
    ++m_generation;
    abandonRender();
    dropRender();
    m_error.clear();
    m_generating = true;
    clearOutcome();
    Q_EMIT stateChanged();
    auto render = std::make_shared<Render>();
    m_render = render;
    QFuture<OffThread::Outcome<Rendered>> rendering = OffThread::start(
        [generator = m_generator, input = m_input, render] {
            const std::stop_token stop = render->stop.get_token();
            const std::optional<QString> path = generator(input, stop);
            const int pages = path && !stop.stop_requested() ? PDFPreviewImageProvider::pageCount(*path) : 0;
            return Rendered{render->offer(path), pages};
        },
        m_workPool ? m_workPool.data() : &WorkThreads::shared());
    generationTask(this, std::move(render), std::move(rendering));
}

QCoro::Task<> ExportPDFViewModel::generationTask(QPointer<ExportPDFViewModel> self, std::shared_ptr<Render> render,
                                                 QFuture<OffThread::Outcome<Rendered>> rendering)
{
    const OffThread::Outcome<Rendered> outcome = co_await rendering;
    // Given up meanwhile (the sheet went or closed, or a newer render started): its file, if it
    // made one, is removed already.
    if (!self || self->m_render != render)
        co_return;
    render->take();
    self->m_render.reset();
    self->m_generating = false;
    const Rendered *rendered = std::get_if<0>(&outcome);
    if (rendered && rendered->first) {
        self->m_pdfPath = *rendered->first;
        self->m_pageCount = rendered->second;
    } else {
        self->m_error = CommercialProposalPDF::creationErrorText();
    }
    Q_EMIT self->stateChanged();
    Q_EMIT self->generationFinished();
}

void ExportPDFViewModel::abandonRender()
{
    if (m_render)
        std::exchange(m_render, nullptr)->abandon();
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
    // The last notice goes while the save still runs: a save that reads as ended with no file
    // would give its desktop dialog up before the copy is there.
    clearOutcome();
    m_saving = false;
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
    abandonRender();
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
