// The projects list: one context menu shared by all rows and cards, opened by a right click,
// with the entries of that row; a menu without entries does not open. The guest grid's rows.
#include "API/ProjectsService.h"
#include "Features/Projects/ProjectCardGridModel.h"
#include "Await.h"
#include "QuickItemTree.h"

#include <QApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include "App/AppQmlPlugins.h"

namespace {

Project sample(const QString &id, const std::optional<QString> &parent)
{
    Project p;
    p.id = id;
    p.name = id;
    p.currency = QStringLiteral("RUB");
    p.userId = QStringLiteral("guest");
    p.createdAt = p.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    p.parentProjectId = parent;
    return p;
}

// The list view over a service, filling a window that is not shown yet.
struct ListWindow
{
    QQmlEngine engine;
    std::unique_ptr<QObject> root;
    QQuickWindow window;
    QString error;

    QQuickItem *open(ProjectsService &service, bool isGuest, QSize size)
    {
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine,
                                QUrl(QStringLiteral("qrc:/qt/qml/Tessmark/Features/Projects/ProjectsListView.qml")));
        root.reset(
            component.createWithInitialProperties({{QStringLiteral("projectsService"), QVariant::fromValue(&service)},
                                                   {QStringLiteral("isGuest"), isGuest}}));
        auto *list = qobject_cast<QQuickItem *>(root.get());
        if (!list) {
            error = component.errorString();
            return nullptr;
        }
        window.resize(size);
        list->setParentItem(window.contentItem());
        list->setSize(window.size());
        return list;
    }
};

} // namespace

class tst_ProjectsListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row of the guest grid is as tall as its tallest card.
    void cardRowsFitTheirTallestCard();
    // The table of cards follows its list cell by cell: no reset for a card changed, added or
    // removed, so that the view keeps its items.
    void cardTableFollowsTheList();
    void rowMenu_data()
    {
        QTest::addColumn<bool>("isGuest");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("account: iteration") << false << "iteration" << true << "Платежи";
        QTest::newRow("account: root with an iteration") << false << "root" << false << "";
        QTest::newRow("guest: card") << true << "root" << true << "Удалить";
    }
    void rowMenu()
    {
        QFETCH(bool, isGuest);
        QFETCH(QString, clicked);
        QFETCH(bool, opens);
        QFETCH(QString, firstEntry);

        const auto store = ModelContainer::openInMemory();
        LocalProjectRepository repository(store);
        repository.upsert(sample(QStringLiteral("root"), std::nullopt));
        repository.upsert(sample(QStringLiteral("iteration"), QStringLiteral("root")));
        ProjectsService service(true, store);

        ListWindow view;
        QQuickItem *list = view.open(service, isGuest, QSize(420, 600));
        QVERIFY2(list, qPrintable(view.error));
        QQuickWindow &window = view.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QQuickItem *row = nullptr;
        QTRY_VERIFY((row = findItem(list, QStringLiteral("projectRow-") + clicked)) != nullptr);
        QObject *menu = list->findChild<QObject *>(QStringLiteral("projectRowMenu"));
        QVERIFY(menu);
        QSignalSpy finance(list, SIGNAL(openFinance(QString)));
        const QPoint center = row->mapToScene(QPointF(row->width() / 2, row->height() / 2)).toPoint();
        QTest::mouseClick(&window, Qt::RightButton, {}, center);
        QCOMPARE(menu->property("opened").toBool() || menu->property("visible").toBool(), opens);
        if (!opens)
            return;
        QCOMPARE(menu->property("projectId").toString(), clicked);
        QQuickItem *entry = nullptr;
        QVERIFY(QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, 0)));
        QVERIFY(entry);
        QCOMPARE(entry->property("text").toString(), firstEntry);
        // "Платежи" carries the card symbol; deleting has none.
        QCOMPARE(entry->property("systemImage").toString(),
                 firstEntry == QStringLiteral("Платежи") ? QStringLiteral("creditcard") : QString());
        QVERIFY(QMetaObject::invokeMethod(entry, "triggered"));
        if (firstEntry == QStringLiteral("Платежи")) {
            QCOMPARE(finance.size(), 1);
            QCOMPARE(finance.first().first().toString(), clicked);
        } else {
            QCOMPARE(finance.size(), 0);
            QObject *dialog = list->findChild<QObject *>(QStringLiteral("deleteDialog"));
            QVERIFY(dialog);
            QTRY_VERIFY(dialog->property("opened").toBool());
            QCOMPARE(dialog->property("message").toString(),
                     QStringLiteral("Запись будет удалена только с этого устройства."));
        }
    }

    // The window's first frame does not wait for the list: it shows the loading state, and the
    // store is read only after it; then every card arrives.
    void firstFrameDoesNotWaitForTheList()
    {
        const QTemporaryDir dir;
        const auto store = ModelContainer::open(dir.filePath(QStringLiteral("store.sqlite")));
        LocalProjectRepository repository(store);
        for (int i = 0; i < 30; ++i)
            repository.upsert(sample(QStringLiteral("local-%1").arg(i), std::nullopt));
        ProjectsService service(true, store);

        ListWindow view;
        QQuickItem *list = view.open(service, true, QSize(420, 600));
        QVERIFY2(list, qPrintable(view.error));
        auto *model = list->property("viewModel").value<QObject *>();
        QVERIFY(model);
        QQuickWindow &window = view.window;
        QString stateAtFirstFrame;
        bool readAtFirstFrame = true;
        connect(
            &window, &QQuickWindow::frameSwapped, this,
            [&] {
                if (!stateAtFirstFrame.isEmpty())
                    return;
                stateAtFirstFrame = model->property("contentState").toString();
                readAtFirstFrame = service.isLoading() || !service.projects().isEmpty();
            },
            Qt::QueuedConnection);
        window.show();
        QTRY_VERIFY(!stateAtFirstFrame.isEmpty());
        QCOMPARE(stateAtFirstFrame, QStringLiteral("loading"));
        QVERIFY(!readAtFirstFrame);
        QTRY_COMPARE(model->property("contentState").toString(), QStringLiteral("cards"));
        QCOMPARE(service.projects().size(), 30);
    }
};

void tst_ProjectsListView::cardRowsFitTheirTallestCard()
{
    const auto store = ModelContainer::openInMemory();
    LocalProjectRepository repository(store);
    // Two cards side by side: a long name over two lines with a client beside a short one, then
    // a row of two short ones.
    Project tall = sample(QStringLiteral("a"), std::nullopt);
    tall.name = QStringLiteral("Интернет-магазин керамики с доставкой по всей стране");
    tall.clientName = QStringLiteral("ООО «Глина»");
    tall.updatedAt = QStringLiteral("2024-03-09T09:07:01.042Z");
    repository.upsert(tall);
    for (const char *id : {"b", "c", "d"}) {
        Project small = sample(QString::fromLatin1(id), std::nullopt);
        small.updatedAt = QStringLiteral("2024-03-0%1T09:07:01.042Z").arg(int(8 - (id[0] - 'b')));
        repository.upsert(small);
    }
    ProjectsService service(true, store);

    ListWindow view;
    QQuickItem *list = view.open(service, true, QSize(640, 700));
    QVERIFY2(list, qPrintable(view.error));
    QQuickWindow &window = view.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(list->property("viewModel").value<QObject *>()->property("cardColumns").toInt(), 2);

    QQuickItem *cards[4] = {};
    const QStringList ids{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")};
    for (int i = 0; i < 4; ++i)
        QTRY_VERIFY((cards[i] = findItem(list, QStringLiteral("projectRow-") + ids.at(i))) != nullptr);
    QTest::qWait(50);
    // One row, one height; the long card's foot stays clear of its border.
    QCOMPARE(cards[0]->y(), cards[1]->y());
    QCOMPARE(cards[0]->height(), cards[1]->height());
    QCOMPARE(cards[2]->height(), cards[3]->height());
    QVERIFY2(cards[2]->height() < cards[0]->height(),
             qPrintable(QStringLiteral("a row of short cards is as tall as they need: %1 / %2 (%3)")
                            .arg(cards[2]->height())
                            .arg(cards[0]->height())
                            .arg(cards[2]->implicitHeight())));
    QQuickItem *cost = findItem(cards[0], QStringLiteral("cardCost"));
    QQuickItem *frame = findItem(cards[0], QStringLiteral("projectCard"));
    QVERIFY(cost && frame);
    const qreal foot = frame->mapRectToScene(QRectF(0, 0, frame->width(), frame->height())).bottom();
    QVERIFY(cost->mapRectToScene(QRectF(0, 0, cost->width(), cost->height())).bottom() <= foot - 12);
    QQuickItem *name = findItem(cards[0], QStringLiteral("cardName"));
    QCOMPARE(name->property("lineCount").toInt(), 2);
    // A short card leaves no empty band: its foot row sits right under its name.
    QQuickItem *smallCost = findItem(cards[2], QStringLiteral("cardCost"));
    QQuickItem *smallName = findItem(cards[2], QStringLiteral("cardName"));
    const qreal nameFoot = smallName->mapToItem(cards[2], QPointF(0, smallName->height())).y();
    QVERIFY(smallCost->mapToItem(cards[2], QPointF()).y() - nameFoot < 60);
}

void tst_ProjectsListView::cardTableFollowsTheList()
{
    QStandardItemModel list;
    for (const char *name : {"a", "b", "c", "d", "e"})
        list.appendRow(new QStandardItem(QString::fromLatin1(name)));
    ProjectCardGridModel grid;
    grid.setSource(&list);
    grid.setColumns(2);
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.columnCount(), 2);
    QCOMPARE(grid.data(grid.index(1, 1), Qt::DisplayRole).toString(), QStringLiteral("d"));
    QCOMPARE(grid.data(grid.index(2, 1), Qt::DisplayRole).toString(), QString()); // past the last card
    QCOMPARE(grid.cellOf(3), QPoint(1, 1));

    QSignalSpy resets(&grid, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&grid, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&grid, &QAbstractItemModel::rowsRemoved);
    list.item(3)->setText(QStringLiteral("D"));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().at(0).toModelIndex(), grid.index(1, 1));
    QCOMPARE(changes.first().at(1).toModelIndex(), grid.index(1, 1));

    // One card more in front: every cell from there on changes, no row comes (six fit in three).
    list.insertRow(0, new QStandardItem(QStringLiteral("z")));
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(inserted.size(), 0);
    QCOMPARE(changes.last().at(0).toModelIndex(), grid.index(0, 0));
    QCOMPARE(changes.last().at(1).toModelIndex(), grid.index(2, 1));
    QCOMPARE(grid.data(grid.index(2, 1), Qt::DisplayRole).toString(), QStringLiteral("e"));
    // One more: a row comes at the end.
    list.appendRow(new QStandardItem(QStringLiteral("f")));
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(grid.rowCount(), 4);
    // Two taken from the middle: the last row goes.
    list.removeRows(2, 2);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(changes.last().at(0).toModelIndex(), grid.index(1, 0));
    QCOMPARE(grid.data(grid.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("D"));
    QCOMPARE(resets.size(), 0);
}

QTEST_MAIN(tst_ProjectsListView)
#include "tst_ProjectsListView.moc"
