#include "AdaptiveMetrics.h"
#include "AppSection.h"
#include "OnboardingHighlightTarget.h"
#include "OnboardingHighlightTargetKeys.h"

#include <QMetaProperty>
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

    // The main window's columns and the guest placeholder by the window's width.
    void layoutByWidth_data()
    {
        QTest::addColumn<double>("width");
        // sidebar min, ideal, max, content min, detail min, placeholder padding, cap (-1: none)
        QTest::addColumn<QList<double>>("expected");
        QTest::newRow("519: compact, no cap") << 519.0 << QList<double>{180, 200, 240, 300, 360, 20, -1};
        QTest::newRow("520") << 520.0 << QList<double>{180, 200, 240, 300, 360, 28, 520};
        QTest::newRow("899") << 899.0 << QList<double>{180, 200, 240, 300, 360, 28, 520};
        QTest::newRow("900: wider sidebar") << 900.0 << QList<double>{200, 220, 260, 300, 360, 28, 640};
        QTest::newRow("1099.5") << 1099.5 << QList<double>{200, 220, 260, 300, 360, 28, 640};
        QTest::newRow("1100: wider columns") << 1100.0 << QList<double>{200, 220, 260, 340, 440, 28, 640};
    }
    void layoutByWidth()
    {
        QFETCH(double, width);
        QFETCH(QList<double>, expected);
        const AdaptiveMetrics m{SizeClass::Unspecified, width};
        QCOMPARE((QList<double>{m.sidebarMinWidth(), m.sidebarIdealWidth(), m.sidebarMaxWidth(), m.contentMinWidth(),
                                m.detailMinWidth(), m.placeholderPadding(), m.placeholderMaxWidth()}),
                 expected);
    }

    // The list column starts narrower where the sidebar and the detail at its minimum would
    // otherwise push the detail past the window's right edge.
    void contentColumnFitsBesideTheOthers_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("content");
        QTest::newRow("900: squeezed") << 900.0 << 318.0;
        QTest::newRow("960: room for all") << 960.0 << 340.0;
        QTest::newRow("1100") << 1100.0 << 380.0;
        QTest::newRow("1600") << 1600.0 << 380.0;
        QTest::newRow("600: never below the minimum") << 600.0 << 300.0;
    }
    void contentColumnFitsBesideTheOthers()
    {
        QFETCH(double, width);
        QFETCH(double, content);
        const AdaptiveMetrics m{SizeClass::Unspecified, width};
        QCOMPARE(m.contentIdealWidth(), content);
        if (width >= 900)
            QVERIFY(m.sidebarIdealWidth() + m.contentIdealWidth() + m.detailMinWidth() + 2 <= width);
    }

    // Beside the editor, which keeps 520 points, the list folds into its rail wherever the
    // sidebar and the list at their minimums would leave the editor less; elsewhere the columns
    // start as wide as fits beside it, the sidebar narrowing first.
    void columnsBesideTheEditor_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("folds");
        QTest::addColumn<double>("sidebar");
        QTest::addColumn<double>("content");
        QTest::newRow("900: folded") << 900.0 << true << 220.0 << 48.0;
        QTest::newRow("960: folded") << 960.0 << true << 220.0 << 48.0;
        QTest::newRow("1021: folded") << 1021.0 << true << 220.0 << 48.0;
        QTest::newRow("1022: all at their minimums") << 1022.0 << false << 200.0 << 300.0;
        QTest::newRow("1040: the sidebar narrower") << 1040.0 << false << 218.0 << 300.0;
        QTest::newRow("1100") << 1100.0 << false << 220.0 << 358.0;
        QTest::newRow("1600") << 1600.0 << false << 220.0 << 380.0;
    }
    void columnsBesideTheEditor()
    {
        QFETCH(double, width);
        QFETCH(bool, folds);
        QFETCH(double, sidebar);
        QFETCH(double, content);
        const AdaptiveMetrics m{SizeClass::Unspecified, width};
        const double editor = AdaptiveMetrics::EditorMinWidth;
        QCOMPARE(m.foldsContent(editor), folds);
        QCOMPARE(m.sidebarIdealWidth(editor), sidebar);
        QCOMPARE(m.contentIdealWidth(editor), content);
        QCOMPARE(m.detailMinWidth(editor), editor);
        QVERIFY(sidebar + content + editor + 2 <= width);
        QVERIFY(m.foldedListWidth() >= m.contentMinWidth());
        // A detail content with no more needs than the column's minimum changes nothing.
        for (const double needs : {0.0, m.detailMinWidth()}) {
            QVERIFY(!m.foldsContent(needs));
            QCOMPARE(m.sidebarIdealWidth(needs), m.sidebarIdealWidth());
            QCOMPARE(m.contentIdealWidth(needs), m.contentIdealWidth());
            QCOMPARE(m.detailMinWidth(needs), m.detailMinWidth());
        }
    }

    void compactSizeClassPadsLikeANarrowWindow()
    {
        const AdaptiveMetrics m{SizeClass::Compact, 1200};
        QCOMPARE(m.placeholderPadding(), 20.0);
        // The cap and the columns follow the width alone.
        QCOMPARE(m.placeholderMaxWidth(), 640.0);
        QCOMPARE(m.detailMinWidth(), 440.0);
    }

    // Every key QML compares with names its own target, so a spotlight and the tour agree.
    void qmlKeysNameTheirTargets()
    {
        OnboardingHighlightTargetKeys keys;
        const QMetaObject *meta = keys.metaObject();
        int seen = 0;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const QString key = property.read(&keys).toString();
            const std::optional<OnboardingHighlightTarget> target = OnboardingHighlightTarget::fromKey(key);
            QVERIFY2(target.has_value(), property.name());
            QCOMPARE(target->key(), key);
            QCOMPARE(key, QString::fromLatin1(property.name()));
            ++seen;
        }
        QCOMPARE(seen, 9); // every kind but the demo row, which takes an identity
        QCOMPARE(keys.demoProjectRow(QStringLiteral("p1")),
                 OnboardingHighlightTarget::demoProjectRow(QStringLiteral("p1")).key());
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
