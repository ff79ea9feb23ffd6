#include "CatalogSpheres.h"
#include "CategoryCatalog.h"

#include <QTest>

class tst_CatalogSpheres : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void order_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("icons");
        QTest::newRow("equal sortOrder keeps file order")
            << QStringLiteral(TESSMARK_TEST_DATA "/sphere-order-catalog.json") << QStringList{"first", "second", "late"}
            << QStringList{"", "", "🎨"};
        QTest::newRow("missing catalog: no chips")
            << QStringLiteral(TESSMARK_TEST_DATA "/no-such-catalog.json") << QStringList{} << QStringList{};
        // The whole file must decode, not only its spheres.
        QTest::newRow("malformed elsewhere: no chips")
            << QStringLiteral(TESSMARK_TEST_DATA "/broken-catalog.json") << QStringList{} << QStringList{};
    }
    void order()
    {
        QFETCH(QString, catalog);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, icons);
        CategoryCatalog::ScopedOverride useCatalog(catalog);
        QStringList gotIds, gotIcons;
        for (const SphereChip &chip : CatalogSpheres::chips()) {
            gotIds << chip.id;
            gotIcons << chip.icon;
        }
        QCOMPARE(gotIds, ids);
        QCOMPARE(gotIcons, icons);
    }

    void builtInCatalogHasSpheres() { QVERIFY(!CatalogSpheres::chips().isEmpty()); }
};

QTEST_APPLESS_MAIN(tst_CatalogSpheres)
#include "tst_CatalogSpheres.moc"
