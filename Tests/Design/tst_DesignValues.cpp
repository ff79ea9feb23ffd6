#include "AdaptiveMetrics.h"
#include "AppSection.h"
#include "OnboardingHighlightTarget.h"

#include <QTest>

using SizeClass = UserInterfaceSizeClass::Value;

class tst_DesignValues : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void compactness_data()
    {
        QTest::addColumn<int>("sizeClass");
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("compact");
        QTest::newRow("regular at 520") << int(SizeClass::Regular) << 520.0 << false;
        QTest::newRow("regular at 519.5") << int(SizeClass::Regular) << 519.5 << true;
        QTest::newRow("regular at 400: the width decides") << int(SizeClass::Regular) << 400.0 << true;
        QTest::newRow("none at 600") << int(SizeClass::Unspecified) << 600.0 << false;
        QTest::newRow("none at 300") << int(SizeClass::Unspecified) << 300.0 << true;
        QTest::newRow("compact at 2000") << int(SizeClass::Compact) << 2000.0 << true;
    }
    void compactness()
    {
        QFETCH(int, sizeClass);
        QFETCH(double, width);
        QFETCH(bool, compact);
        QCOMPARE((AdaptiveMetrics{SizeClass(sizeClass), width}.isCompact()), compact);
    }

    void sectionsFromRawValues_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("known");
        QTest::newRow("projects") << "projects" << true;
        QTest::newRow("capitalised") << "Projects" << false;
        QTest::newRow("leading blank") << " projects" << false;
        QTest::newRow("trailing line end") << "payments\n" << false;
        QTest::newRow("empty") << "" << false;
    }
    void sectionsFromRawValues()
    {
        QFETCH(QString, raw);
        QFETCH(bool, known);
        const std::optional<AppSection> section = appSectionFromRaw(raw);
        QCOMPARE(section.has_value(), known);
        if (known)
            QCOMPARE(rawValue(*section), raw);
    }

    void highlightTargets()
    {
        using Target = OnboardingHighlightTarget;
        const Target a = Target::demoProjectRow(QStringLiteral("p1"));
        const Target b = Target::demoProjectRow(QStringLiteral("p2"));
        QVERIFY(a != b);
        QVERIFY(a.key() != b.key());
        QCOMPARE(a, Target::demoProjectRow(QStringLiteral("p1")));
        QCOMPARE(Target::fromKey(a.key()), a);
        // An identity that looks like another key stays a demo row.
        const Target odd = Target::demoProjectRow(QStringLiteral("paymentsHub"));
        QCOMPARE(Target::fromKey(odd.key()), odd);
        QCOMPARE(Target::fromKey(QStringLiteral("paymentsHub")), (Target{Target::Kind::PaymentsHub, {}}));
        QCOMPARE(Target::fromKey(QStringLiteral("PaymentsHub")), std::nullopt);
        QCOMPARE(Target::fromKey(QString()), std::nullopt);
        QCOMPARE(qHash(a), qHash(Target::demoProjectRow(QStringLiteral("p1"))));
    }
};

QTEST_APPLESS_MAIN(tst_DesignValues)
#include "tst_DesignValues.moc"
