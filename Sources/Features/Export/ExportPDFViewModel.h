#pragma once

#include "Export/CommercialProposalInput.h"

#include <QCoroTask>
#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// The proposal export sheet: renders the proposal into its temporary file on a worker thread (the
// sheet keeps drawing its progress meanwhile), then saves copies of that file and opens it in the
// viewer. A result that arrives after the sheet is gone, or after a newer render started, is dropped.
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
    Q_PROPERTY(QString suggestedFilename READ suggestedFilename NOTIFY inputChanged)
    // Where the save dialog starts: the documents folder with the suggested name.
    Q_PROPERTY(QUrl suggestedSaveUrl READ suggestedSaveUrl NOTIFY inputChanged)
    Q_PROPERTY(QUrl saveFolder READ saveFolder CONSTANT)
    Q_PROPERTY(bool isSaving READ isSaving NOTIFY saveChanged)
    Q_PROPERTY(QString saveNotice READ saveNotice NOTIFY saveChanged)
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveChanged)

public:
    // Renders and writes the proposal, returning the file's path; runs on a worker thread.
    using Generator = std::function<std::optional<QString>(const CommercialProposalInput &)>;
    using UrlOpener = std::function<void(const QUrl &)>;

    explicit ExportPDFViewModel(QObject *parent = nullptr);

    QVariant input() const { return QVariant::fromValue(m_input); }
    void setInput(const QVariant &input);
    const CommercialProposalInput &proposal() const { return m_input; }

    bool isGenerating() const { return m_generating; }
    QString errorMessage() const { return m_error; }
    QString pdfPath() const { return m_pdfPath; }
    QUrl pdfUrl() const;
    QUrl previewSource() const;
    QString suggestedFilename() const;
    QUrl suggestedSaveUrl() const;
    QUrl saveFolder() const;
    bool isSaving() const { return m_saving; }
    QString saveNotice() const { return m_saveNotice; }
    QString saveError() const { return m_saveError; }

    // Seams for tests: what renders the file, and what opens it in the viewer.
    void setGenerator(Generator generator) { m_generator = std::move(generator); }
    void setUrlOpener(UrlOpener opener) { m_urlOpener = std::move(opener); }

    // The first render, when the sheet is shown; later calls change nothing.
    Q_INVOKABLE void start();
    // Clears the error, the file and the notice and renders anew.
    Q_INVOKABLE void generate();
    // The save dialog opened; finishSave with the chosen file or cancelSave ends the save.
    Q_INVOKABLE void beginSave();
    Q_INVOKABLE void finishSave(const QUrl &destination);
    Q_INVOKABLE void cancelSave();
    Q_INVOKABLE void clearSaveError();
    // Opens the temporary file, not a saved copy.
    Q_INVOKABLE void openInViewer();

    void classBegin() override;
    void componentComplete() override {}

Q_SIGNALS:
    void inputChanged();
    void stateChanged();
    void saveChanged();
    // A render ended, with a file or an error (also for tests).
    void generationFinished();

private:
    static QCoro::Task<> generationTask(QPointer<ExportPDFViewModel> self, int generation,
                                        QFuture<std::optional<QString>> rendering);
    void setSaving(bool saving);

    CommercialProposalInput m_input;
    Generator m_generator;
    UrlOpener m_urlOpener;
    int m_generation = 0;
    bool m_generating = false;
    QString m_error;
    QString m_pdfPath;
    bool m_saving = false;
    QString m_saveNotice;
    QString m_saveError;
};
