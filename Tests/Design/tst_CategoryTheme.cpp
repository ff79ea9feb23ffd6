#include "AppTheme.h"
#include "CategoryCatalog.h"
#include "CategoryTheme.h"

#include <QTest>

Q_DECLARE_METATYPE(ThemeColor)

class tst_CategoryTheme : public QObject
{
    Q_OBJECT
private:
    static ThemeColor role(AppTheme::Role role) { return AppTheme::color(role); }
    static ThemeColor fixed(QColor c) { return {c, c}; }

private Q_SLOTS:
    void colourAndName_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<QString>("categoryId");
        QTest::addColumn<ThemeColor>("expected");
        QTest::addColumn<QString>("name"); // empty: not looked at
        const QString withColours = QStringLiteral(TESSMARK_TEST_DATA "/design-catalog-colours.json");
        const QString missing = QStringLiteral(TESSMARK_TEST_DATA "/no-such-catalog.json");
        const ThemeColor secondary = role(AppTheme::Role::TextSecondary);

        QTest::newRow("catalog colour wins over the legacy one")
            << withColours << "backend" << fixed(QColor(0x1A, 0x2B, 0x3C)) << "Серверная часть";
        QTest::newRow("qa without catalog colour: success")
            << withColours << "qa" << role(AppTheme::Role::Success) << "";
        QTest::newRow("unreadable catalog colour: legacy colour")
            << withColours << "design" << fixed(QColor::fromRgbF(0.91f, 0.28f, 0.42f)) << "";
        QTest::newRow("first category in file order, no hash")
            << withColours << "seo" << fixed(QColor(0x2E, 0x8B, 0x57)) << "SEO";
        QTest::newRow("first without colour: the later one is not consulted")
            << withColours << "copy" << secondary << "";
        QTest::newRow("three digits outside the legacy table") << withColours << "ads" << secondary << "";
        QTest::newRow("unknown everywhere: the identifier") << withColours << "nope" << secondary << "nope";
        QTest::newRow("identifiers are case-sensitive") << withColours << "Backend" << secondary << "";
        QTest::newRow("legacy frontend") << withColours << "frontend" << role(AppTheme::Role::Accent) << "";

        QTest::newRow("no catalog: backend")
            << missing << "backend" << fixed(QColor::fromRgbF(0.15f, 0.11f, 0.42f)) << "";
        QTest::newRow("no catalog: mobile, legacy label")
            << missing << "mobile" << fixed(QColor::fromRgbF(0.23f, 0.51f, 0.96f)) << "Мобильная разработка";
        QTest::newRow("no catalog: management") << missing << "management" << secondary << "";
        QTest::newRow("no catalog: qa") << missing << "qa" << role(AppTheme::Role::Success) << "";
        QTest::newRow("no catalog: unknown") << missing << "seo" << secondary << "seo";
    }
    void colourAndName()
    {
        QFETCH(QString, catalog);
        QFETCH(QString, categoryId);
        QFETCH(ThemeColor, expected);
        QFETCH(QString, name);
        CategoryCatalog::ScopedOverride useCatalog(catalog);
        const ThemeColor color = CategoryTheme::colorFor(categoryId);
        QCOMPARE(color.light.rgba(), expected.light.rgba());
        QCOMPARE(color.dark.rgba(), expected.dark.rgba());
        if (!name.isEmpty())
            QCOMPARE(CategoryTheme().name(categoryId), name);
    }
};

QTEST_APPLESS_MAIN(tst_CategoryTheme)
#include "tst_CategoryTheme.moc"
