#pragma once

#include "API/OffThread.h"
#include "Export/CommercialProposalInput.h"
#include "Export/PDFSaveResult.h"

#include <QCoroTask>
#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

// The proposal export sheet: renders the proposal into its temporary file on one of the
// application's work threads (the sheet keeps drawing its progress meanwhile), then saves copies
// of that file, copies it to the clipboard, shows it in its folder and opens it in the viewer. A
// render the sheet no longer wants (the sheet closed or went, or a newer render started) stops at
// its next line and leaves no file. One outcome shows at a time: each action clears the notice or
// alert of the one before.
class ExportPDFViewModel : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT

    // A CommercialProposalInput; the sheet never changes it.
    Q_PROPERTY(QVariant input READ input WRITE setInput NOTIFY inputChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
    Q_PROPERTY(QUrl pdfUrl READ pdfUrl NOTIFY stateChanged)
    // The first page of the rendered file, through the preview image provider; a new render gets
    // a new address, so that no cached picture of an earlier file is shown.
    Q_PROPERTY(QUrl previewSource READ previewSource NOTIFY stateChanged)
    // What the preview shows, for a screen reader: the first page and how many there are.
    Q_PROPERTY(QString previewName READ previewName NOTIFY stateChanged)
    Q_PROPERTY(QString suggestedFilename READ suggestedFilename NOTIFY inputChanged)
    // Where the save dialog starts: the documents folder when there is one, else the home folder,
    // with the suggested name. Read when a dialog opens.
    Q_PROPERTY(QUrl suggestedSaveUrl READ suggestedSaveUrl NOTIFY inputChanged)
    Q_PROPERTY(QUrl saveFolder READ saveFolder NOTIFY inputChanged)
    Q_PROPERTY(bool isSaving READ isSaving NOTIFY saveChanged)
    // The copy the last save made; empty while a save runs and after one that made none.
    Q_PROPERTY(QUrl savedFile READ savedFile NOTIFY saveChanged)
    // The last action's success ("Сохранено: …", "Файл скопирован"), or empty.
    Q_PROPERTY(QString notice READ notice NOTIFY saveChanged)
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveChanged)
    // A failed copy, show-in-folder or viewer: what failed and what the user can do instead.
    Q_PROPERTY(QString actionErrorTitle READ actionErrorTitle NOTIFY saveChanged)
    Q_PROPERTY(QString actionError READ actionError NOTIFY saveChanged)

public:
    // Renders and writes the proposal, returning the file's path; runs on a worker thread, and
    // gives up (no file) once its stop is requested.
    using Generator = std::function<std::optional<QString>(const CommercialProposalInput &, std::stop_token)>;
    // Opens a URL with the desktop's application for it; false when none took it.
    using UrlOpener = std::function<bool(const QUrl &)>;

    explicit ExportPDFViewModel(QObject *parent = nullptr);
    // The render goes with the sheet, unless another program was given it; one still drawn is
    // given up.
    ~ExportPDFViewModel() override;

    QVariant input() const { return QVariant::fromValue(m_input); }
    void setInput(const QVariant &input);
    const CommercialProposalInput &proposal() const { return m_input; }

    bool isGenerating() const { return m_generating; }
    QString errorMessage() const { return m_error; }
    QString pdfPath() const { return m_pdfPath; }
    // The copy the user saved last, while it is there.
    QString savedPath() const { return m_savedPath; }
    QUrl pdfUrl() const;
    QUrl previewSource() const;
    QString previewName() const;
    QString suggestedFilename() const;
    QUrl suggestedSaveUrl() const;
    QUrl saveFolder() const;
    bool isSaving() const { return m_saving; }
    QUrl savedFile() const;
    QString notice() const { return m_notice; }
    QString saveError() const { return m_saveError; }
    QString actionErrorTitle() const { return m_actionErrorTitle; }
    QString actionError() const { return m_actionError; }

    // Seams for tests: what renders the file, the threads it renders on (the application's
    // unless given), and what opens the file or its folder.
    void setGenerator(Generator generator) { m_generator = std::move(generator); }
    void setWorkPool(QThreadPool *pool);
    void setUrlOpener(UrlOpener opener) { m_urlOpener = std::move(opener); }

    // The first render, when the sheet is shown; later calls change nothing.
    Q_INVOKABLE void start();
    // Clears the error, the file and the notice and renders anew.
    Q_INVOKABLE void generate();
    // The save dialog opened; finishSave with the chosen file or cancelSave ends the save.
    // `destination` is the dialog's answer in any of its forms; a relative one lies in `folder`.
    Q_INVOKABLE void beginSave();
    Q_INVOKABLE void finishSave(const QUrl &destination, const QUrl &folder = QUrl());
    Q_INVOKABLE void cancelSave();
    // The dialog itself failed: the save ends with this message in the alert.
    Q_INVOKABLE void failSave(const QString &message);
    // Our own dialog saves while it is open and stays open when the copy fails: the failure's text
    // for the dialog to show (no alert), or empty once the copy is saved, which ends the save with
    // the notice.
    Q_INVOKABLE QString saveInDialog(const QUrl &destination);
    Q_INVOKABLE void clearSaveError();
    Q_INVOKABLE void clearActionError();
    // Opens the temporary file, not a saved copy.
    Q_INVOKABLE void openInViewer();
    // Hand over the saved copy when there is one, else the render: the file the user will find
    // again, under the name it was given.
    Q_INVOKABLE void copyFile();
    Q_INVOKABLE void showInFolder();
    // The sheet closed: its render is removed, unless it was handed to another program (the
    // clipboard, the viewer, the file manager), which may still read it; such a render is removed
    // at a start a day later.
    Q_INVOKABLE void discard();

    void classBegin() override;
    void componentComplete() override {}

Q_SIGNALS:
    void inputChanged();
    void stateChanged();
    void saveChanged();
    // A render ended, with a file or an error (also for tests).
    void generationFinished();

private:
    // A render's file, when there is one, and its number of pages.
    using Rendered = std::pair<std::optional<QString>, int>;
    struct Render;
    static QCoro::Task<> generationTask(QPointer<ExportPDFViewModel> self, std::shared_ptr<Render> render,
                                        QFuture<OffThread::Outcome<Rendered>> rendering);
    // The render under way is not wanted any more.
    void abandonRender();
    void setSaving(bool saving);
    // Copies the render to the chosen file; on success the copy is the one saved last.
    PDFSaveResult copyTo(const QUrl &destination, const QUrl &folder);
    // A new action starts: the outcome of the last one goes.
    void clearOutcome();
    void failAction(const QString &title, const QString &message);
    // The file copy and show-in-folder hand over.
    QString sharedPath() const;
    void dropRender();

    CommercialProposalInput m_input;
    Generator m_generator;
    UrlOpener m_urlOpener;
    QPointer<QThreadPool> m_workPool;
    // Counts renders: the first is started once, and each file's preview has an address of its own.
    int m_generation = 0;
    // The render under way, until its result is shown.
    std::shared_ptr<Render> m_render;
    // Counts actions, so that a late answer to an earlier one is dropped.
    int m_action = 0;
    bool m_generating = false;
    QString m_error;
    QString m_pdfPath;
    int m_pageCount = 0;
    QString m_savedPath;
    // The copy of the save running or last ended, if it made one.
    QString m_saveCopy;
    bool m_handedOver = false;
    bool m_saving = false;
    QString m_notice;
    QString m_saveError;
    QString m_actionErrorTitle;
    QString m_actionError;
};
