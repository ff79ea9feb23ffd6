// The editor screen over 1,000 lines, drawn offscreen (targets: first frame within 300 ms; a line
// saved from the form brings its card and the totals up to date within 16 ms, the list keeping
// its scroll position; at most 40 cards ever made, thanks to reuse).
#include "API/ProjectsService.h"
#include "Data/ModelContainer.h"
#include "Features/Editor/ProjectEditorScreenModel.h"
#include "QuickItemTree.h"
#include "SampleEstimates.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQuickView>
#include <benchmark/benchmark.h>
#include <memory>
#include "QtBenchmarkMain.h"

#include "App/AppQmlPlugins.h"
#include "WaitUntil.h"

namespace {

constexpr int lineCount = 1000;


void spin(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

struct Screen
{
    std::unique_ptr<ProjectsService> service{new ProjectsService(true, ModelContainer::openInMemory())};
    std::unique_ptr<QQuickView> view{new QQuickView};
    double firstFrameMs = 0;

    Screen()
    {
        view->engine()->addImportPath(QStringLiteral("qrc:/qt/qml"));
        view->setResizeMode(QQuickView::SizeRootObjectToView);
        view->resize(900, 1000);
        view->setInitialProperties(
            {{QStringLiteral("projectsService"), QVariant::fromValue(service.get())},
             {QStringLiteral("isGuestSession"), true},
             {QStringLiteral("project"), QVariant::fromValue(SampleEstimates::project(lineCount))}});
        bool drawn = false;
        const QMetaObject::Connection firstFrame =
            QObject::connect(view.get(), &QQuickWindow::frameSwapped, view.get(), [&drawn] { drawn = true; });
        QElapsedTimer timer;
        timer.start();
        view->setSource(QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Editor/ProjectEditorView.qml")));
        view->show();
        waitUntil([&drawn] { return drawn; }, 10000);
        firstFrameMs = double(timer.nsecsElapsed()) / 1e6;
        QObject::disconnect(firstFrame);
    }

    ProjectEditorScreenModel *screen() const
    {
        return view->rootObject()->property("screen").value<ProjectEditorScreenModel *>();
    }
    QQuickItem *list() const { return findItem(view->rootObject(), QStringLiteral("editorLines")); }
    int cardsMade() const
    {
        int count = 0;
        const auto *content = list()->property("contentItem").value<QQuickItem *>();
        for (QQuickItem *item : content->childItems())
            count += item->objectName().startsWith(QStringLiteral("lineCard-")) ? 1 : 0;
        return count;
    }
};

void BM_FirstFrame(benchmark::State &state)
{
    double worst = 0;
    for (auto _ : state) {
        Screen screen;
        state.SetIterationTime(screen.firstFrameMs / 1000);
        worst = std::max(worst, screen.firstFrameMs);
        state.counters["cards"] = screen.cardsMade();
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_FirstFrame)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// From "Готово" to the card and the totals showing the new values, half-way down the list.
void BM_FormSaveUpdatesCard(benchmark::State &state)
{
    Screen screen;
    ProjectEditorScreenModel *model = screen.screen();
    QQuickItem *list = screen.list();
    // Through the whole list first: reuse keeps the number of cards made small.
    int maxCards = 0;
    for (int at = 0; at < lineCount; at += 50) {
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, at), Q_ARG(int, 0 /* Beginning */));
        spin(10);
        maxCards = std::max(maxCards, screen.cardsMade());
    }
    constexpr int row = 500;
    QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, row), Q_ARG(int, 1 /* Center */));
    spin(100);
    const qreal scrolled = list->property("contentY").toReal();
    int round = 0;
    bool kept = true;
    bool updated = true;
    for (auto _ : state) {
        QQuickItem *card = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, card), Q_ARG(int, row));
        if (!card) {
            state.SkipWithError("the card of the edited row is not on screen");
            break;
        }
        const QString lineId = card->property("lineId").toString();
        model->editLine(lineId);
        model->form()->setHoursText(QString::number(10 + (++round % 50)));
        QElapsedTimer timer;
        timer.start();
        model->form()->save();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        state.SetIterationTime(ms / 1000);
        QQuickItem *after = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, after), Q_ARG(int, row));
        QQuickItem *total = findItem(list->property("headerItem").value<QQuickItem *>(), QStringLiteral("totalHours"));
        updated = updated && after && total
            && after->property("hoursText").toString() == QStringLiteral("%1.0 ч").arg(10 + round % 50)
            && total->property("text").toString() == model->editor()->totalHoursText();
        model->setShowItemForm(false);
        spin(5);
        kept = kept && qAbs(list->property("contentY").toReal() - scrolled) < 0.5;
        maxCards = std::max(maxCards, screen.cardsMade());
    }
    state.counters["cards"] = maxCards;
    state.counters["scroll_kept"] = kept ? 1 : 0;
    state.counters["card_updated"] = updated ? 1 : 0;
}
BENCHMARK(BM_FormSaveUpdatesCard)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

TESSMARK_BENCHMARK_MAIN(QApplication)
