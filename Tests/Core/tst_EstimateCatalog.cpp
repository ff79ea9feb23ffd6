#include "Data/EstimateCatalogLoader.h"
#include "Models/EstimateCategory.h"
#include "Utils/Json.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <atomic>
#include <thread>
#include <vector>

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(TESSMARK_TEST_DATA "/catalog/") + name;
}

QStringList ids(const QList<CatalogCategory> &categories)
{
    QStringList out;
    for (const CatalogCategory &c : categories)
        out << c.id;
    return out;
}

} // namespace

class tst_EstimateCatalog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void categoriesOfASphere_data()
    {
        QTest::addColumn<QString>("sphere");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("by sortOrder, file order among equals")
            << "software" << QStringList{"fe", "fe2", "be", "backend", "shared"};
        QTest::newRow("other sphere") << "design" << QStringList{"ds_ui", "shared"};
        QTest::newRow("sphere without categories") << "legal" << QStringList{};
        QTest::newRow("case counts") << "Software" << QStringList{};
        QTest::newRow("no trimming") << "software " << QStringList{};
    }
    void categoriesOfASphere()
    {
        QFETCH(QString, sphere);
        QFETCH(QStringList, expected);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(fixture(QStringLiteral("lookup.json")));
        QCOMPARE(ids(EstimateCatalogLoader::categories(sphere)), expected);
    }

    void normalizeCategory_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("sphere");
        QTest::addColumn<QString>("expected");
        QTest::newRow("held by another sphere stays") << "ds_ui" << "software" << "ds_ui";
        QTest::newRow("map before categories") << "backend" << "software" << "be";
        QTest::newRow("map target unknown: sphere's first") << "qa" << "software" << "fe";
        QTest::newRow("map target unknown, empty sphere: mapped value") << "qa" << "legal" << "nowhere";
        QTest::newRow("unknown: first by sortOrder") << "security" << "software" << "fe";
        QTest::newRow("unknown in other sphere") << "security" << "design" << "ds_ui";
        QTest::newRow("unknown, unknown sphere") << "security" << "cooking" << "security";
        QTest::newRow("chained map followed once") << "chain_a" << "legal" << "chain_b";
        QTest::newRow("second link alone") << "chain_b" << "legal" << "fe";
        QTest::newRow("catalog id unchanged") << "be" << "design" << "be";
        QTest::newRow("case counts") << "Backend" << "legal" << "Backend";
    }
    void normalizeCategory()
    {
        QFETCH(QString, category);
        QFETCH(QString, sphere);
        QFETCH(QString, expected);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(fixture(QStringLiteral("lookup.json")));
        QCOMPARE(EstimateCatalogLoader::normalizeCategory(category, sphere), expected);
    }

    void categoryName_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("sphere");
        QTest::addColumn<QString>("expected");
        QTest::newRow("catalog names a legacy id") << "backend" << "software" << "Бэкенд из каталога";
        QTest::newRow("first in file wins over the sphere") << "shared" << "software" << "Общая (дизайн)";
        QTest::newRow("sphere does not narrow") << "ds_ui" << "software" << "Интерфейсы";
        QTest::newRow("legacy label") << "mobile" << "software" << "Мобильная разработка";
        QTest::newRow("legacy QA") << "qa" << "software" << "QA";
        QTest::newRow("capitalised is no legacy id") << "Qa" << "software" << "Qa";
        QTest::newRow("unknown itself") << "security" << "software" << "security";
    }
    void categoryName()
    {
        QFETCH(QString, category);
        QFETCH(QString, sphere);
        QFETCH(QString, expected);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(fixture(QStringLiteral("lookup.json")));
        QCOMPARE(EstimateCatalogLoader::categoryName(category, sphere), expected);
    }

    void unavailableCatalogFallsBack_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << "does-not-exist.json";
        QTest::newRow("broken JSON") << "broken.json";
        QTest::newRow("empty file") << "empty.json";
        QTest::newRow("no legacyCategoryMap") << "no-legacy-map.json";
        QTest::newRow("template without defaultRate") << "template-without-rate.json";
        QTest::newRow("fractional sortOrder") << "fractional-sort-order.json";
    }
    void unavailableCatalogFallsBack()
    {
        QFETCH(QString, file);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(fixture(file));
        QVERIFY(!EstimateCatalogLoader::catalog());
        QVERIFY(EstimateCatalogLoader::categories(QStringLiteral("software")).isEmpty());
        QCOMPARE(EstimateCatalogLoader::normalizeCategory(QStringLiteral("backend"), QStringLiteral("software")),
                 QStringLiteral("backend"));
        QCOMPARE(EstimateCatalogLoader::categoryName(QStringLiteral("mobile"), QStringLiteral("software")),
                 QStringLiteral("Мобильная разработка"));
        QCOMPARE(EstimateCatalogLoader::categoryName(QStringLiteral("be"), QStringLiteral("software")),
                 QStringLiteral("be"));
    }

    void overridesNestAndRestore()
    {
        const auto compiledIn = EstimateCatalogLoader::catalog();
        QVERIFY(compiledIn);
        {
            const EstimateCatalogLoader::ScopedCatalogOverride outer(fixture(QStringLiteral("lookup.json")));
            {
                const EstimateCatalogLoader::ScopedCatalogOverride inner(fixture(QStringLiteral("broken.json")));
                QVERIFY(!EstimateCatalogLoader::catalog());
            }
            QCOMPARE(EstimateCatalogLoader::catalog()->version, 3);
        }
        QCOMPARE(EstimateCatalogLoader::catalog(), compiledIn); // decoded once, shared
    }

    void lookupsFromManyThreads()
    {
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&wrong] {
                for (int i = 0; i < 500; ++i) {
                    if (EstimateCatalogLoader::normalizeCategory(QStringLiteral("backend"), QStringLiteral("software"))
                        != QStringLiteral("sw_backend"))
                        ++wrong;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }

    // The shipped catalog: its rules are ours, but the loader and the editors depend on them.
    void shippedCatalog()
    {
        const auto file = EstimateCatalogLoader::catalog();
        QVERIFY2(file, "the compiled-in catalog must decode");
        QSet<qint64> sphereOrders;
        QSet<QString> sphereIds;
        for (const CatalogSphere &sphere : file->spheres) {
            QVERIFY(!sphereOrders.contains(sphere.sortOrder));
            sphereOrders.insert(sphere.sortOrder);
            sphereIds.insert(sphere.id);
            QVERIFY2(!EstimateCatalogLoader::categories(sphere.id).isEmpty(), qPrintable(sphere.id));
        }
        QVERIFY(sphereIds.contains(QStringLiteral("software")));
        QVERIFY(sphereIds.size() >= 4);

        const QRegularExpression colour(QStringLiteral("^#?[0-9A-Fa-f]{6}$"));
        QSet<QString> categoryIds;
        for (const CatalogCategory &category : file->categories) {
            QVERIFY2(!categoryIds.contains(category.id), qPrintable(category.id));
            categoryIds.insert(category.id);
            QVERIFY(sphereIds.contains(category.sphereId));
            QVERIFY2(category.color && colour.match(*category.color).hasMatch(), qPrintable(category.id));
        }

        // Every legacy identifier lands on a software category, so old lines keep a real name.
        for (const EstimateCategory legacy : allEstimateCategories) {
            const QString target = file->legacyCategoryMap.value(rawValue(legacy));
            QVERIFY2(!target.isEmpty(), qPrintable(rawValue(legacy)));
            const auto software = EstimateCatalogLoader::categories(QStringLiteral("software"));
            QVERIFY2(std::any_of(software.cbegin(), software.cend(),
                                 [&](const CatalogCategory &c) { return c.id == target; }),
                     qPrintable(target));
        }

        QVERIFY(file->builtinTemplates.size() >= sphereIds.size());
        for (const EstimateTemplate &t : file->builtinTemplates) {
            QVERIFY(t.sphereId && sphereIds.contains(*t.sphereId));
            QVERIFY(t.defaultRate > 0);
            QVERIFY(!t.items.isEmpty());
            const QStringList own = ids(EstimateCatalogLoader::categories(*t.sphereId));
            for (const EstimateTemplateItem &item : t.items) {
                QVERIFY2(own.contains(item.category), qPrintable(t.id + QLatin1Char('/') + item.category));
                QVERIFY(item.hours > 0);
            }
        }
    }

    void shippedFallbackTemplates()
    {
        QFile file(QStringLiteral(":/estimate-templates.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<EstimateTemplate> templates = EstimateTemplate::listFromJson(Json::parse(file.readAll()));
        QVERIFY(!templates.isEmpty());
        for (const EstimateTemplate &t : templates) {
            // Read when the catalog is not, so only categories with fixed names and colours.
            for (const EstimateTemplateItem &item : t.items)
                QVERIFY2(estimateCategoryFromRaw(item.category), qPrintable(item.category));
        }
    }
};

QTEST_GUILESS_MAIN(tst_EstimateCatalog)
#include "tst_EstimateCatalog.moc"
