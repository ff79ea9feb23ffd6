#include "SpotlightGeometry.h"

#include <QTest>
#include <limits>

using OptionalRect = std::optional<QRectF>;
Q_DECLARE_METATYPE(OptionalRect)

class tst_SpotlightGeometry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scrimHole_data()
    {
        QTest::addColumn<OptionalRect>("cutout");
        QTest::addColumn<QPointF>("origin");
        QTest::addColumn<OptionalRect>("hole");
        const qreal nan = std::numeric_limits<qreal>::quiet_NaN();
        QTest::newRow("absent") << OptionalRect() << QPointF(0, 0) << OptionalRect();
        QTest::newRow("grown by 8, moved into the scrim")
            << OptionalRect(QRectF(200, 300, 100, 40)) << QPointF(0, 28) << OptionalRect(QRectF(192, 264, 116, 56));
        QTest::newRow("scrim at the window origin")
            << OptionalRect(QRectF(10, 10, 50, 20)) << QPointF(0, 0) << OptionalRect(QRectF(2, 2, 66, 36));
        QTest::newRow("width of one point") << OptionalRect(QRectF(10, 10, 1, 40)) << QPointF(0, 0) << OptionalRect();
        QTest::newRow("height of one point") << OptionalRect(QRectF(10, 10, 40, 1)) << QPointF(0, 0) << OptionalRect();
        QTest::newRow("just over one point")
            << OptionalRect(QRectF(10, 10, 1.5, 1.5)) << QPointF(0, 0) << OptionalRect(QRectF(2, 2, 17.5, 17.5));
        QTest::newRow("zero size") << OptionalRect(QRectF(10, 10, 0, 0)) << QPointF(0, 0) << OptionalRect();
        QTest::newRow("negative width") << OptionalRect(QRectF(10, 10, -30, 40)) << QPointF(0, 0) << OptionalRect();
        QTest::newRow("not a number") << OptionalRect(QRectF(10, 10, nan, 40)) << QPointF(0, 0) << OptionalRect();
    }
    void scrimHole()
    {
        QFETCH(OptionalRect, cutout);
        QFETCH(QPointF, origin);
        QFETCH(OptionalRect, hole);
        QCOMPARE(SpotlightGeometry::scrimHole(cutout, origin), hole);
    }

    void ringStandsOutsideTheElementAndInsideTheHole()
    {
        const QRectF element(200, 300, 100, 40);
        const QRectF ring = SpotlightGeometry::ringFrame(element.size()).translated(element.topLeft());
        QCOMPARE(ring, QRectF(194, 294, 112, 52));
        const QRectF hole = *SpotlightGeometry::scrimHole(element, QPointF(0, 0));
        QVERIFY(hole.contains(ring));
    }

    void scrimPathLeavesTheHoleClear()
    {
        const QRectF hole(192, 264, 116, 56);
        const QPainterPath path = SpotlightGeometry::scrimPath(QSizeF(800, 600), hole);
        QVERIFY(!path.contains(hole.center()));
        QVERIFY(path.contains(QPointF(5, 5)));
        QVERIFY(path.contains(QPointF(hole.left() + 1, hole.top() + 1))); // rounded corner stays dimmed
        const QPainterPath full = SpotlightGeometry::scrimPath(QSizeF(800, 600), std::nullopt);
        QVERIFY(full.contains(hole.center()));
    }
};

QTEST_APPLESS_MAIN(tst_SpotlightGeometry)
#include "tst_SpotlightGeometry.moc"
