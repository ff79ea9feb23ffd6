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

    // An element along the window's edges (the sidebar) keeps its whole ring in view; one clear
    // of the edges keeps the ring 6 points outside it.
    void ringKeepsInsideTheWindow()
    {
        const QSizeF window(960, 640);
        const QRectF sidebar(0, 0, 220, 640);
        const QRectF ring = SpotlightGeometry::ringFrame(sidebar.size(), sidebar, window).translated(sidebar.topLeft());
        QVERIFY(QRectF(QPointF(0, 0), window).contains(ring));
        QCOMPARE(ring, QRectF(4, 4, 220 + 6 - 4, 640 - 8));
        const QRectF inner(200, 300, 100, 40);
        QCOMPARE(SpotlightGeometry::ringFrame(inner.size(), inner, window), SpotlightGeometry::ringFrame(inner.size()));
    }

    // The step's card goes beside the lit element, never over it, and inside the window.
    void cardStandsBesideTheTarget_data()
    {
        QTest::addColumn<QRectF>("target");
        QTest::addColumn<QString>("side");
        QTest::newRow("demo card high in the list: below") << QRectF(250, 100, 280, 140) << "below";
        QTest::newRow("save button low: above") << QRectF(700, 520, 110, 40) << "above";
        QTest::newRow("tall sidebar: right") << QRectF(0, 0, 220, 640) << "right";
        QTest::newRow("tall column on the right: left") << QRectF(560, 0, 400, 640) << "left";
    }
    void cardStandsBesideTheTarget()
    {
        QFETCH(QRectF, target);
        QFETCH(QString, side);
        const QSizeF area(960, 640);
        const QSizeF card(420, 320);
        const QRectF frame = SpotlightGeometry::cardFrame(target, card, area);
        QCOMPARE(frame.size(), card);
        QVERIFY(!frame.intersects(target));
        QVERIFY(QRectF(QPointF(0, 0), area).contains(frame));
        if (side == QLatin1String("below"))
            QVERIFY(frame.top() >= target.bottom());
        else if (side == QLatin1String("above"))
            QVERIFY(frame.bottom() <= target.top());
        else if (side == QLatin1String("right"))
            QVERIFY(frame.left() >= target.right());
        else
            QVERIFY(frame.right() <= target.left());
    }

    void cardWithoutATargetIsCentred()
    {
        const QRectF frame = SpotlightGeometry::cardFrame(std::nullopt, QSizeF(420, 320), QSizeF(960, 640));
        QCOMPARE(frame, QRectF(270, 160, 420, 320));
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
