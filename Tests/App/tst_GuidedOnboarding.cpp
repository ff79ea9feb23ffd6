// The element each step of the tour lights.
#include "Features/Onboarding/GuidedOnboarding.h"

#include <QTest>

class TestGuidedOnboarding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void highlightOfStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QVariant>("demoId"); // invalid: no identity
        QTest::addColumn<QString>("expected"); // empty: none
        QTest::newRow("before the first") << -1 << QVariant("p1") << "";
        QTest::newRow("after the last") << 10 << QVariant("p1") << "";
        QTest::newRow("demo row without identity") << 0 << QVariant() << "";
        QTest::newRow("demo row with identity") << 0 << QVariant("p1") << "demoProjectRow:p1";
        QTest::newRow("demo row, empty identity counts") << 0 << QVariant(QString()) << "demoProjectRow:";
        QTest::newRow("payments needs no identity") << 4 << QVariant() << "paymentsHub";
    }

    void highlightOfStep()
    {
        QFETCH(int, step);
        QFETCH(QVariant, demoId);
        QFETCH(QString, expected);
        const std::optional<QString> id = demoId.isValid() ? std::optional<QString>(demoId.toString()) : std::nullopt;
        const auto target = GuidedOnboarding::highlight(step, id);
        QCOMPARE(target ? target->key() : QString(), expected);
    }
};

QTEST_GUILESS_MAIN(TestGuidedOnboarding)
#include "tst_GuidedOnboarding.moc"
