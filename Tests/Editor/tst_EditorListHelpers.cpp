#include "EditorSamples.h"
#include "Features/Editor/EditorLineDrag.h"
#include "Features/Editor/EditorScrollKeeper.h"
#include "Features/Editor/ProjectEditorScreenModel.h"

#include "Data/EstimateCatalogLoader.h"

#include <QTest>
#include <limits>
#include <memory>

using namespace EditorSamples;

// The arithmetic of the editor's list: a dragged line's landing row and the gap it opens, the
// scroll at the list's edges while dragging, and the place kept across a rebuild.
class tst_EditorListHelpers : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstimateCatalogLoader::ScopedCatalogOverride> m_catalog;

    // Rows: backend A, B, C, D, then design E, F.
    static std::unique_ptr<ProjectEditorScreenModel> screen()
    {
        auto model = std::make_unique<ProjectEditorScreenModel>();
        model->setProject(project({{QStringLiteral("A"), QStringLiteral("backend"), 1, 10},
                                   {QStringLiteral("B"), QStringLiteral("backend"), 2, 10},
                                   {QStringLiteral("C"), QStringLiteral("backend"), 3, 10},
                                   {QStringLiteral("D"), QStringLiteral("backend"), 4, 10},
                                   {QStringLiteral("E"), QStringLiteral("design"), 5, 10},
                                   {QStringLiteral("F"), QStringLiteral("design"), 6, 10}}));
        return model;
    }
    static QList<double> shifts(const EditorLineDrag &drag)
    {
        QList<double> out;
        for (int row = 0; row < 6; ++row)
            out.append(drag.shiftOf(row));
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_catalog = std::make_unique<EstimateCatalogLoader::ScopedCatalogOverride>(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/no-such-catalog.json"));
    }
    void cleanupTestCase() { m_catalog.reset(); }

    // The rows under the dragged line's centre as it moves, one after another: the landing
    // row, the shifts of all six rows, and the order after the drop.
    void dragGap_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("hovered");
        QTest::addColumn<int>("landing");
        QTest::addColumn<QList<double>>("shifts");
        QTest::addColumn<QStringList>("order");
        const QStringList kept{"A", "B", "C", "D", "E", "F"};
        QTest::newRow("down") << "category" << 0 << QList<int>{1, 2} << 2 << QList<double>{0, -50, -50, 0, 0, 0}
                              << QStringList{"B", "C", "A", "D", "E", "F"};
        QTest::newRow("up") << "category" << 3 << QList<int>{2, 1} << 1 << QList<double>{0, 50, 50, 0, 0, 0}
                            << QStringList{"A", "D", "B", "C", "E", "F"};
        QTest::newRow("down and back") << "category" << 1 << QList<int>{3, 1} << 1 << QList<double>{0, 0, 0, 0, 0, 0}
                                       << kept;
        QTest::newRow("between lines keeps the landing row")
            << "category" << 0 << QList<int>{2, -1} << 2 << QList<double>{0, -50, -50, 0, 0, 0}
            << QStringList{"B", "C", "A", "D", "E", "F"};
        QTest::newRow("over another section: its nearer end")
            << "category" << 1 << QList<int>{5} << 3 << QList<double>{0, 0, -50, -50, 0, 0}
            << QStringList{"A", "C", "D", "B", "E", "F"};
        QTest::newRow("up into another section")
            << "category" << 5 << QList<int>{0} << 4 << QList<double>{0, 0, 0, 0, 50, 0}
            << QStringList{"A", "B", "C", "D", "F", "E"};
        QTest::newRow("sorted: no gap, no move")
            << "hoursDesc" << 0 << QList<int>{2} << 0 << QList<double>{0, 0, 0, 0, 0, 0} << kept;
    }
    void dragGap()
    {
        QFETCH(QString, mode);
        QFETCH(int, from);
        QFETCH(QList<int>, hovered);
        QFETCH(int, landing);
        QFETCH(QList<double>, shifts);
        QFETCH(QStringList, order);
        auto model = screen();
        model->editor()->setGroupModeRaw(mode);
        const QStringList before = titles(model->editor()->items());
        EditorLineDrag drag;
        drag.setScreen(model.get());
        drag.begin(from, 50);
        QVERIFY(drag.active());
        for (const int row : hovered)
            drag.hover(row);
        QCOMPARE(drag.toRow(), landing);
        QCOMPARE(tst_EditorListHelpers::shifts(drag), shifts);
        QCOMPARE(drag.drop(), order != before);
        QVERIFY(!drag.active());
        QCOMPARE(tst_EditorListHelpers::shifts(drag), (QList<double>{0, 0, 0, 0, 0, 0}));
        if (mode == QLatin1String("category"))
            QCOMPARE(titles(model->editor()->items()), order);
        else
            QCOMPARE(titles(model->editor()->items()), before);
    }

    // Rows that change under a drag end it without a move.
    void dragEndsWhenRowsChange()
    {
        auto model = screen();
        EditorLineDrag drag;
        drag.setScreen(model.get());
        drag.begin(0, 50);
        drag.hover(2);
        model->editor()->deleteItem(model->editor()->items().at(4).id);
        QVERIFY(!drag.active());
        QVERIFY(!drag.drop());
        QCOMPARE(titles(model->editor()->items()), (QStringList{"A", "B", "C", "D", "F"}));
    }

    // Near an edge the list scrolls towards it, faster nearer, never past its ends nor further
    // than the reach from the dragged line.
    void autoScroll()
    {
        // A view 400 high; the bands are 48 deep.
        QCOMPARE(EditorScrollKeeper::autoScrollStep(200, 400), 0.0);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(47, 400), -1.0);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(-100, 400), -16.0);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(353, 400), 1.0);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(900, 400), 16.0);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(std::numeric_limits<double>::quiet_NaN(), 400), 0.0);
        // The list rests between -100 and 2000; the dragged line at 800 keeps within 600.
        const EditorScrollKeeper::Extent extent{-100, 2000};
        QCOMPARE(EditorScrollKeeper::autoScrolledY(500, 16, extent, 800, 600), 516.0);
        QCOMPARE(EditorScrollKeeper::autoScrolledY(1990, 16, extent, 1900, 600), 2000.0);
        QCOMPARE(EditorScrollKeeper::autoScrolledY(-90, -16, extent, 0, 600), -100.0);
        QCOMPARE(EditorScrollKeeper::autoScrolledY(1395, 16, extent, 800, 600), 1400.0);
        QCOMPARE(EditorScrollKeeper::autoScrolledY(205, -16, extent, 800, 600), 200.0);
    }

    // A header that grows or shrinks at its top keeps a list at its top there, whether the list
    // has placed it anew yet or not; a list scrolled further down keeps its place.
    void atTopAcrossAHeaderChange()
    {
        QVERIFY(EditorScrollKeeper::wasAtTop(-700, -730, 730, 700)); // grew, placed anew
        QVERIFY(EditorScrollKeeper::wasAtTop(-700, -700, 730, 700)); // grew, not placed yet
        QVERIFY(EditorScrollKeeper::wasAtTop(-730, -700, 700, 730)); // shrank, placed anew
        QVERIFY(EditorScrollKeeper::wasAtTop(-730, -730, 700, 730)); // shrank, not placed yet
        QVERIFY(!EditorScrollKeeper::wasAtTop(-400, -730, 730, 700));
    }

    // The place noted before a rebuild: a line by identity, else by its row; the header.
    void placeAcrossARebuild()
    {
        auto model = screen();
        EstimateSectionsModel *sections = model->editor()->sections();
        EditorScrollKeeper keeper;
        keeper.noteLine(model->editor()->items().at(2).id.toString(), 2, 30);
        model->editor()->setGroupModeRaw(QStringLiteral("hoursDesc")); // C is now fourth
        QCOMPARE(keeper.rowToRestore(sections), 3);
        QCOMPARE(keeper.contentYFor(700), 670.0);
        keeper.noteLine(QUuid::createUuid().toString(), 4, 0);
        QCOMPARE(keeper.rowToRestore(sections), 4);
        keeper.noteLine(QUuid::createUuid().toString(), 6, 0);
        QCOMPARE(keeper.rowToRestore(sections), -1);
        keeper.noteHeader(-12);
        QVERIFY(keeper.onHeader());
        QCOMPARE(keeper.rowToRestore(sections), -1);
        QCOMPARE(keeper.contentYFor(-400), -388.0);
    }
};

QTEST_GUILESS_MAIN(tst_EditorListHelpers)
#include "tst_EditorListHelpers.moc"
