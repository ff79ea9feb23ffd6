#include "Export/CommercialProposalPDF.h"
#include "Export/FileErrorText.h"
#include "Export/ProposalTempFolder.h"
#include "ExportSamples.h"
#include "Features/Export/ExportPDFViewModel.h"
#include "Features/Export/PDFPreviewImageProvider.h"
#include "PoolHold.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace {

// A render that ends before its result is awaited is applied at once, inside generate(): wait for
// the count, not for the next signal.
bool renders(const QSignalSpy &finished, qsizetype count)
{
    return QTest::qWaitFor([&] { return finished.count() >= count; }, 30000);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

// The renders' folders left in the per-user folder under base.
QStringList renderFolders(const QString &base)
{
    const std::optional<QString> folder = ProposalTempFolder::ensure(base);
    return folder ? QDir(*folder).entryList({QStringLiteral("render-*")}, QDir::Dirs)
                  : QStringList{QStringLiteral("?")};
}

} // namespace

// The export sheet's model against the real renderer, writing into a private temporary folder.
class tst_ExportPDFViewModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // The renders' threads, the test's own; two, as the application has at least.
    QThreadPool m_renders;

    std::unique_ptr<ExportPDFViewModel> model()
    {
        auto made = std::make_unique<ExportPDFViewModel>();
        made->setWorkPool(&m_renders);
        return made;
    }

    std::unique_ptr<ExportPDFViewModel> rendered(const CommercialProposalInput &input)
    {
        auto model = this->model();
        model->setInput(QVariant::fromValue(input));
        QSignalSpy finished(model.get(), &ExportPDFViewModel::generationFinished);
        model->start();
        if (!renders(finished, 1))
            return nullptr;
        return model;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", m_dir.filePath(QStringLiteral("tmp")).toUtf8());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("tmp"))));
        m_renders.setMaxThreadCount(2);
    }

    void rendersIntoTheTemporaryFile()
    {
        auto model = this->model();
        model->setInput(QVariant::fromValue(sampleProposal(5)));
        QCOMPARE(model->suggestedFilename(), QStringLiteral("KP-Сайт-студии.pdf"));
        QSignalSpy finished(model.get(), &ExportPDFViewModel::generationFinished);
        PoolHold renderer(m_renders); // a fast render is not done before start() returns
        model->start();
        QVERIFY(model->isGenerating());
        renderer.release();
        QVERIFY(renders(finished, 1));
        QVERIFY(!model->isGenerating());
        QCOMPARE(model->errorMessage(), QString());
        QVERIFY2(QRegularExpression(QStringLiteral("/render-[^/]{6}/KP-Сайт-студии\\.pdf$"))
                     .match(model->pdfPath())
                     .hasMatch(),
                 qPrintable(model->pdfPath()));
        QVERIFY(readFile(model->pdfPath()).startsWith("%PDF-"));
        QCOMPARE(model->pdfUrl(), QUrl::fromLocalFile(model->pdfPath()));
        // What a reader hears of the preview: five lines take two pages.
        QCOMPARE(model->previewName(), QStringLiteral("Первая страница PDF, всего страниц: 2"));

        // The preview's address leads back to the same file, Cyrillic path and all.
        PDFPreviewImageProvider provider;
        const QUrl source = model->previewSource();
        QCOMPARE(source.scheme(), QStringLiteral("image"));
        QSize size;
        const QImage page = provider.requestImage(source.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1),
                                                  &size, QSize(220, 0));
        QVERIFY(!page.isNull());
        QCOMPARE(page.width(), 220);
        QCOMPARE(page.height(), 311); // A4's shape
        QCOMPARE(size, page.size());

        // start() renders once; the file stays for the sheet's life.
        model->start();
        QVERIFY(!model->isGenerating());
    }

    void failureShowsTheErrorAndRetryRendersAgain()
    {
        auto model = this->model();
        model->setInput(QVariant::fromValue(sampleProposal(1)));
        bool fail = true;
        model->setGenerator([&fail, dir = m_dir.path()](const CommercialProposalInput &input, std::stop_token) {
            return fail ? std::nullopt : CommercialProposalPDF::generate(input, QDate(2024, 5, 1), dir);
        });
        QSignalSpy finished(model.get(), &ExportPDFViewModel::generationFinished);
        model->start();
        QVERIFY(renders(finished, 1));
        QCOMPARE(model->errorMessage(), QStringLiteral("Не удалось создать PDF"));
        QVERIFY(model->pdfUrl().isEmpty());
        QVERIFY(model->previewSource().isEmpty());
        QCOMPARE(model->previewName(), QString());

        fail = false;
        model->generate();
        QCOMPARE(model->errorMessage(), QString()); // cleared at once
        QVERIFY(renders(finished, 2));
        QCOMPARE(model->errorMessage(), QString());
        QVERIFY(!model->pdfUrl().isEmpty());
    }

    void onlyTheLatestRenderIsShown()
    {
        auto model = this->model();
        auto release = std::make_shared<QSemaphore>();
        std::atomic_int calls = 0;
        model->setGenerator(
            [&calls, release](const CommercialProposalInput &, std::stop_token) -> std::optional<QString> {
                if (++calls == 1) {
                    release->acquire();
                    return QStringLiteral("/stale.pdf");
                }
                return QStringLiteral("/latest.pdf");
            });
        QSignalSpy finished(model.get(), &ExportPDFViewModel::generationFinished);
        model->generate();
        QTRY_COMPARE(calls.load(), 1);
        model->generate();
        QVERIFY(renders(finished, 1));
        QCOMPARE(model->pdfPath(), QStringLiteral("/latest.pdf"));
        release->release();
        QTest::qWait(100);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(model->pdfPath(), QStringLiteral("/latest.pdf"));
    }

    void renderEndingAfterTheSheetIsGoneChangesNothing()
    {
        auto release = std::make_shared<QSemaphore>();
        auto ran = std::make_shared<QAtomicInt>(0);
        {
            ExportPDFViewModel model;
            model.setWorkPool(&m_renders);
            model.setGenerator(
                [release, ran](const CommercialProposalInput &, std::stop_token) -> std::optional<QString> {
                    ran->storeRelease(1);
                    release->acquire();
                    return QStringLiteral("/late.pdf");
                });
            model.generate();
            QTRY_COMPARE(ran->loadAcquire(), 1);
        }
        release->release();
        QTest::qWait(100); // the late result finds no model and is dropped
    }

    // A copy saved over the render, or beside it, stays when the sheet closes.
    void copySavedIntoTheRenderFolderStays()
    {
        auto model = rendered(sampleProposal(1));
        QVERIFY(model);
        const QString beside = QFileInfo(model->pdfPath()).path() + QStringLiteral("/копия.pdf");
        model->beginSave();
        model->finishSave(QUrl::fromLocalFile(beside));
        QCOMPARE(model->saveError(), QString());
        model->discard();
        QVERIFY(QFile::exists(beside));
    }

    void exportsOfAlikeNamesKeepTheirOwnFiles()
    {
        // Both names filter to "Сайт"; the first sheet keeps showing its own proposal.
        CommercialProposalInput bang = sampleProposal(2);
        bang.projectName = QStringLiteral("Сайт!");
        CommercialProposalInput question = sampleProposal(7);
        question.projectName = QStringLiteral("Сайт?");
        const auto first = rendered(bang);
        QVERIFY(first);
        const QByteArray firstBytes = readFile(first->pdfPath());
        const auto second = rendered(question);
        QVERIFY(second);
        QVERIFY(first->pdfPath() != second->pdfPath());
        QCOMPARE(readFile(first->pdfPath()), firstBytes);
        QVERIFY(readFile(second->pdfPath()) != firstBytes);
        QCOMPARE(first->suggestedFilename(), QStringLiteral("KP-Сайт.pdf"));
        QCOMPARE(second->suggestedFilename(), QStringLiteral("KP-Сайт.pdf"));
    }

    void savesCopiesAndReportsTheLastOne()
    {
        const auto model = rendered(sampleProposal(3));
        QVERIFY(model);
        QSignalSpy saveChanged(model.get(), &ExportPDFViewModel::saveChanged);
        const QString first = m_dir.filePath(QStringLiteral("Моё КП.pdf"));
        const QString second = m_dir.filePath(QStringLiteral("second.pdf"));

        model->beginSave();
        QVERIFY(model->isSaving());
        model->finishSave(QUrl::fromLocalFile(first));
        QVERIFY(!model->isSaving());
        QCOMPARE(model->notice(), QStringLiteral("Сохранено: Моё КП.pdf"));
        QCOMPARE(readFile(first), readFile(model->pdfPath()));

        model->beginSave();
        QCOMPARE(model->savedFile(), QUrl());
        model->finishSave(QUrl::fromLocalFile(second));
        QCOMPARE(model->notice(), QStringLiteral("Сохранено: second.pdf"));
        QCOMPARE(model->savedFile(), QUrl::fromLocalFile(second));

        // A cancelled save changes nothing but the button, and made no copy of its own.
        model->beginSave();
        model->cancelSave();
        QVERIFY(!model->isSaving());
        QCOMPARE(model->notice(), QStringLiteral("Сохранено: second.pdf"));
        QCOMPARE(model->saveError(), QString());
        QCOMPARE(model->savedFile(), QUrl());

        // The viewer gets the temporary file, not a copy.
        QUrl opened;
        model->setUrlOpener([&opened](const QUrl &url) {
            opened = url;
            return true;
        });
        model->openInViewer();
        QCOMPARE(opened, model->pdfUrl());

        // A new render drops the notice of the earlier file.
        QSignalSpy finished(model.get(), &ExportPDFViewModel::generationFinished);
        model->generate();
        QCOMPARE(model->notice(), QString());
        QVERIFY(renders(finished, 1));
        QVERIFY(saveChanged.count() >= 6);
    }

    void failedSaveShowsTheErrorInsteadOfTheNotice_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::newRow("missing folder") << QStringLiteral("missing/folder/copy.pdf");
        QTest::newRow("a folder in the way") << QStringLiteral("folder.pdf");
    }

    void failedSaveShowsTheErrorInsteadOfTheNotice()
    {
        QFETCH(QString, destination);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.pdf")));
        const auto model = rendered(sampleProposal(1));
        QVERIFY(model);
        model->beginSave();
        model->finishSave(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("ok.pdf"))));
        model->beginSave();
        model->finishSave(QUrl::fromLocalFile(m_dir.filePath(destination)));
        QVERIFY(!model->isSaving());
        QVERIFY(!model->saveError().isEmpty());
        // One outcome at a time: the earlier notice goes with the new attempt.
        QCOMPARE(model->notice(), QString());
        model->clearSaveError();
        QCOMPARE(model->saveError(), QString());
    }

    // Our own dialog's save: a failure is the dialog's to show, and the save goes on until a copy
    // is made.
    void saveInTheDialogEndsOnlyWithACopy()
    {
        const auto model = rendered(sampleProposal(1));
        QVERIFY(model);
        model->beginSave();
        model->finishSave(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("earlier.pdf"))));
        model->beginSave();
        const QString tooLong = m_dir.filePath(QString(300, QChar(u'я')));
        QCOMPARE(
            model->saveInDialog(QUrl::fromLocalFile(tooLong)),
            QStringLiteral("Не удалось сохранить файл: имя файла слишком длинное для этого диска. Сократите его.\n")
                + FileErrorText::shownPath(tooLong + QStringLiteral(".pdf")));
        QVERIFY(model->isSaving());
        QCOMPARE(model->saveError(), QString());
        QCOMPARE(model->notice(), QString());
        QCOMPARE(model->saveInDialog(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("КП")))), QString());
        QVERIFY(!model->isSaving());
        QCOMPARE(model->notice(), QStringLiteral("Сохранено: КП.pdf"));
        QCOMPARE(readFile(m_dir.filePath(QStringLiteral("КП.pdf"))), readFile(model->pdfPath()));
    }

    void savingOverTheTemporaryFileSucceeds()
    {
        const auto model = rendered(sampleProposal(1));
        QVERIFY(model);
        const QByteArray before = readFile(model->pdfPath());
        model->beginSave();
        model->finishSave(model->pdfUrl());
        QCOMPARE(model->saveError(), QString());
        QCOMPARE(model->notice(), QStringLiteral("Сохранено: ") + QFileInfo(model->pdfPath()).fileName());
        QCOMPARE(readFile(model->pdfPath()), before);
    }

    // Closing the sheet removes its render and the render's folder; a copy on the clipboard
    // keeps it, as the program it is pasted into reads it later.
    void renderGoesWithTheSheetUnlessCopied_data()
    {
        QTest::addColumn<bool>("copied");
        QTest::addColumn<bool>("closed");
        QTest::newRow("closed") << false << true;
        QTest::newRow("copied, then closed") << true << true;
        QTest::newRow("destroyed without closing") << false << false;
    }
    void renderGoesWithTheSheetUnlessCopied()
    {
        QFETCH(bool, copied);
        QFETCH(bool, closed);
        auto model = rendered(sampleProposal(2));
        QVERIFY(model);
        const QString path = model->pdfPath();
        QVERIFY(QFile::exists(path));
        if (copied) {
            model->copyFile();
            QCOMPARE(model->notice(), QStringLiteral("Файл скопирован"));
        }
        if (closed) {
            model->discard();
            QVERIFY(model->pdfUrl().isEmpty());
        }
        model.reset();
        QCOMPARE(QFile::exists(path), copied);
        QCOMPARE(QFileInfo::exists(QFileInfo(path).path()), copied);
        QVERIFY(QFileInfo(QFileInfo(QFileInfo(path).path()).path()).isDir());
    }

    // A render that ends after the sheet closed leaves no file behind.
    void renderEndingAfterCloseIsRemoved()
    {
        auto model = this->model();
        model->setInput(QVariant::fromValue(sampleProposal(1)));
        auto release = std::make_shared<QSemaphore>();
        auto written = std::make_shared<QString>();
        model->setGenerator([release, written](const CommercialProposalInput &input, std::stop_token) {
            const std::optional<QString> path = CommercialProposalPDF::generate(input);
            *written = path.value_or(QString());
            release->acquire();
            return path;
        });
        model->start();
        model->discard();
        QVERIFY(!model->isGenerating());
        release->release();
        QTRY_VERIFY(!written->isEmpty() && !QFileInfo::exists(QFileInfo(*written).path()));
        QVERIFY(model->pdfUrl().isEmpty());
    }

    // A render the sheet gives up (closed, gone, or rendering anew) stops at its next line and
    // leaves no folder: while it draws, and once drawn but not yet shown, as at the application's
    // end, when the sheet's answer never runs.
    void abandonedRenderLeavesNoFolder_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("drawing");
        for (const char *how : {"closed", "gone", "anew"}) {
            QTest::addRow("%s while drawing", how) << QString::fromLatin1(how) << true;
            QTest::addRow("%s once drawn", how) << QString::fromLatin1(how) << false;
        }
    }
    void abandonedRenderLeavesNoFolder()
    {
        QFETCH(QString, how);
        QFETCH(bool, drawing);
        const QTemporaryDir base;
        auto model = this->model();
        // Thousands of lines; while drawing, given up before the first.
        model->setInput(QVariant::fromValue(sampleProposal(drawing ? 2000 : 3)));
        auto written = std::make_shared<std::atomic_bool>(false);
        model->setGenerator([drawing, written, dir = base.path()](const CommercialProposalInput &input,
                                                                  std::stop_token stop) {
            for (QDeadlineTimer waited(10000); drawing && !stop.stop_requested() && !waited.hasExpired();)
                QThread::msleep(1);
            const std::optional<QString> path = CommercialProposalPDF::generate(input, QDate(2024, 5, 1), dir, stop);
            written->store(path.has_value());
            return path;
        });
        QSignalSpy finished(model.get(), &ExportPDFViewModel::generationFinished);
        model->start();
        // Drawn, its answer waiting for an event loop that does not run.
        if (!drawing) {
            QVERIFY(m_renders.waitForDone(30000));
            QCOMPARE(renderFolders(base.path()).size(), 1);
        }
        if (how == QLatin1String("closed")) {
            model->discard();
        } else if (how == QLatin1String("gone")) {
            model.reset();
        } else {
            model->setGenerator([dir = base.path()](const CommercialProposalInput &input, std::stop_token stop) {
                return CommercialProposalPDF::generate(input, QDate(2024, 5, 1), dir, stop);
            });
            model->generate();
        }
        QVERIFY(m_renders.waitForDone(30000));
        QCOMPARE(written->load(), !drawing);
        if (how == QLatin1String("anew"))
            QVERIFY(renders(finished, 1));
        QCoreApplication::processEvents();
        QCOMPARE(renderFolders(base.path()).size(), how == QLatin1String("anew") ? 1 : 0);
        QCOMPARE(finished.size(), how == QLatin1String("anew") ? 1 : 0);
    }

    // Once saved, "Копировать файл" and "Показать в папке" give the saved copy, not the render.
    void copyAndShowGiveTheSavedFile()
    {
        auto model = rendered(sampleProposal(2));
        QVERIFY(model);
        const QString render = model->pdfPath();
        QUrl opened;
        model->setUrlOpener([&opened](const QUrl &url) {
            opened = url;
            return true;
        });
        // Before saving: the render.
        model->copyFile();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(render)});

        const QString saved = m_dir.filePath(QStringLiteral("Отправить/КП Ромашка.pdf"));
        QVERIFY(QDir().mkpath(QFileInfo(saved).path()));
        model->beginSave();
        model->finishSave(QUrl::fromLocalFile(saved));
        QCOMPARE(model->savedPath(), saved);

        model->copyFile();
        QCOMPARE(model->notice(), QStringLiteral("Файл скопирован"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(saved)});
        model->showInFolder();
        // No file manager answers on the test bus: the saved copy's folder is opened.
        QTRY_COMPARE(opened, QUrl::fromLocalFile(QFileInfo(saved).path()));
        // The viewer still gets the render.
        model->openInViewer();
        QCOMPARE(opened, QUrl::fromLocalFile(render));

        // A saved copy that is gone since: the render again.
        QVERIFY(QFile::remove(saved));
        model->copyFile();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(render)});
    }

    // A document whose text maps were completed after writing still opens for the preview.
    void previewOfAProposalInOtherScripts()
    {
        CommercialProposalInput input = sampleProposal(2);
        input.clientName = QStringLiteral("شركة الاختبار 🎉");
        input.items[0].title = QStringLiteral("חברת הבדיקה");
        const auto model = rendered(input);
        QVERIFY(model);
        QVERIFY(readFile(model->pdfPath()).contains("/Prev"));
        const QImage page = PDFPreviewImageProvider::render(model->pdfPath(), QSize(220, 311));
        QVERIFY(!page.isNull());
        QCOMPARE(page.width(), 220);
    }

    void thumbnailOfAFileThatIsNoPDFIsNull()
    {
        const QString path = m_dir.filePath(QStringLiteral("broken.pdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4 not really");
        file.close();
        QVERIFY(PDFPreviewImageProvider::render(path, QSize(220, 311)).isNull());
        QVERIFY(
            PDFPreviewImageProvider::render(m_dir.filePath(QStringLiteral("absent.pdf")), QSize(220, 311)).isNull());
    }
};

QTEST_MAIN(tst_ExportPDFViewModel)
#include "tst_ExportPDFViewModel.moc"
