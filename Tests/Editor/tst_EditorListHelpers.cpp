#include "EditorSamples.h"
#include "Features/Editor/EditorLineDrag.h"
#include "Features/Editor/EditorScrollKeeper.h"
#include "Features/Editor/ProjectEditorScreenModel.h"

#include "Data/EstimateCatalogLoader.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
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

    // Rows that change under a drag end it without a move; a row outside the list starts none.
    void dragEndsWhenRowsChange()
    {
        auto model = screen();
        EditorLineDrag drag;
        drag.setScreen(model.get());
        QSignalSpy changed(&drag, &EditorLineDrag::changed);
        drag.begin(0, 50);
        drag.hover(2);
        model->editor()->deleteItem(model->editor()->items().at(4).id);
        QVERIFY(!drag.active());
        QCOMPARE(changed.count(), 3); // begun, moved, ended
        QVERIFY(!drag.drop());
        QCOMPARE(titles(model->editor()->items()), (QStringList{"A", "B", "C", "D", "F"}));
        drag.begin(9, 50);
        QVERIFY(!drag.active());
        drag.setScreen(nullptr);
        drag.begin(0, 50);
        QVERIFY(!drag.active());
    }

    // Near an edge the list scrolls towards it, faster nearer; beyond the view as at its edge.
    void autoScrollStep_data()
    {
        QTest::addColumn<double>("pointerY");
        QTest::addColumn<double>("step");
        // A view 400 high; the bands are 48 deep.
        QTest::newRow("middle") << 200.0 << 0.0;
        QTest::newRow("band's inner edge at the top") << 48.0 << 0.0;
        QTest::newRow("just inside the top band") << 47.0 << -1.0;
        QTest::newRow("top edge") << 0.0 << -16.0;
        QTest::newRow("above the view") << -100.0 << -16.0;
        QTest::newRow("just inside the bottom band") << 353.0 << 1.0;
        QTest::newRow("bottom edge") << 400.0 << 16.0;
        QTest::newRow("below the view") << 900.0 << 16.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0.0;
    }
    void autoScrollStep()
    {
        QFETCH(double, pointerY);
        QFETCH(double, step);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(pointerY, 400), step);
        QCOMPARE(EditorScrollKeeper::autoScrollStep(pointerY, 0), 0.0);
    }

    // One tick moves by the step, never past the list's ends nor further than the reach from
    // the dragged line.
    void autoScrolledY_data()
    {
        QTest::addColumn<double>("contentY");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("anchorY");
        QTest::addColumn<double>("next");
        // The list rests between -100 and 2000; the dragged line keeps within 600.
        QTest::newRow("down") << 500.0 << 16.0 << 800.0 << 516.0;
        QTest::newRow("up") << 500.0 << -16.0 << 800.0 << 484.0;
        QTest::newRow("no step") << 500.0 << 0.0 << 5000.0 << 500.0;
        QTest::newRow("stops at the end") << 1990.0 << 16.0 << 2000.0 << 2000.0;
        QTest::newRow("stops at the top") << -90.0 << -16.0 << 0.0 << -100.0;
        QTest::newRow("stops at the reach below") << 1395.0 << 16.0 << 800.0 << 1400.0;
        QTest::newRow("stops at the reach above") << 205.0 << -16.0 << 800.0 << 200.0;
    }
    void autoScrolledY()
    {
        QFETCH(double, contentY);
        QFETCH(double, step);
        QFETCH(double, anchorY);
        QFETCH(double, next);
        QCOMPARE(EditorScrollKeeper::autoScrolledY(contentY, step, {-100, 2000}, anchorY, 600), next);
    }

    // A header that grows or shrinks at its top keeps a list at its top there, whether the list
    // has placed it anew yet or not; a list scrolled further down keeps its place.
    void atTopAcrossAHeaderChange_data()
    {
        QTest::addColumn<double>("contentY");
        QTest::addColumn<double>("headerY");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("previousHeight");
        QTest::addColumn<bool>("atTop");
        QTest::newRow("grew, placed anew") << -700.0 << -730.0 << 730.0 << 700.0 << true;
        QTest::newRow("grew, not placed yet") << -700.0 << -700.0 << 730.0 << 700.0 << true;
        QTest::newRow("shrank, placed anew") << -730.0 << -700.0 << 700.0 << 730.0 << true;
        QTest::newRow("shrank, not placed yet") << -730.0 << -730.0 << 700.0 << 730.0 << true;
        QTest::newRow("among the fields") << -400.0 << -730.0 << 730.0 << 700.0 << false;
        QTest::newRow("among the lines") << 900.0 << -700.0 << 700.0 << 730.0 << false;
    }
    void atTopAcrossAHeaderChange()
    {
        QFETCH(double, contentY);
        QFETCH(double, headerY);
        QFETCH(double, height);
        QFETCH(double, previousHeight);
        QFETCH(bool, atTop);
        QCOMPARE(EditorScrollKeeper::wasAtTop(contentY, headerY, height, previousHeight), atTop);
    }

    // The place noted before a rebuild: the header, or a line by identity, else by its row.
    void placeAcrossARebuild()
    {
        auto model = screen();
        EstimateSectionsModel *sections = model->editor()->sections();
        const QString third = model->editor()->items().at(2).id.toString(QUuid::WithoutBraces);
        EditorScrollKeeper keeper;
        keeper.noteLine(third, 2, 30);
        model->editor()->setGroupModeRaw(QStringLiteral("hoursDesc")); // C is now fourth
        QCOMPARE(keeper.rowToRestore(sections), 3);
        QCOMPARE(keeper.contentYFor(700), 670.0);
        // A line gone: its row while the list has it.
        keeper.noteLine(QStringLiteral("{00000000-0000-0000-0000-000000000001}"), 4, 0);
        QCOMPARE(keeper.rowToRestore(sections), 4);
        keeper.noteLine(QStringLiteral("{00000000-0000-0000-0000-000000000001}"), 6, 0);
        QCOMPARE(keeper.rowToRestore(sections), -1);
        keeper.noteHeader(-12);
        QVERIFY(keeper.onHeader());
        QCOMPARE(keeper.rowToRestore(sections), -1);
        QCOMPARE(keeper.contentYFor(-400), -388.0);
        keeper.forget();
        QVERIFY(!keeper.onHeader());
        QCOMPARE(keeper.rowToRestore(sections), -1);
    }
};

QTEST_GUILESS_MAIN(tst_EditorListHelpers)
#include "tst_EditorListHelpers.moc"
