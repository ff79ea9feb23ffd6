#include "Data/EstimateCatalogLoader.h"
#include "Models/EstimateCategory.h"
#include "Models/EstimateTemplate.h"
#include "Utils/Json.h"

#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

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
    // Lookups in Tests/data/catalog/lookup.json; "categories" rows list ids joined by commas.
    void lookups_data()
    {
        QTest::addColumn<QString>("lookup");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("sphere");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *lookup, const char *category, const char *sphere,
                            const char *expected) {
            QTest::newRow(name) << QString::fromUtf8(lookup) << QString::fromUtf8(category) << QString::fromUtf8(sphere)
                                << QString::fromUtf8(expected);
        };
        row("sphere: by sortOrder, file order among equals", "categories", "", "software", "fe,fe2,be,backend,shared");
        row("sphere: other sphere", "categories", "", "design", "ds_ui,shared");
        row("sphere: without categories", "categories", "", "legal", "");
        row("sphere: case counts", "categories", "", "Software", "");
        row("sphere: no trimming", "categories", "", "software ", "");

        row("normalize: held by another sphere stays", "normalize", "ds_ui", "software", "ds_ui");
        row("normalize: map before categories", "normalize", "backend", "software", "be");
        row("normalize: map target unknown: sphere's first", "normalize", "qa", "software", "fe");
        row("normalize: map target unknown, empty sphere: mapped value", "normalize", "qa", "legal", "nowhere");
        row("normalize: unknown: first by sortOrder", "normalize", "security", "design", "ds_ui");
        row("normalize: unknown, unknown sphere", "normalize", "security", "cooking", "security");
        row("normalize: chained map followed once", "normalize", "chain_a", "legal", "chain_b");
        row("normalize: second link alone", "normalize", "chain_b", "legal", "fe");
        row("normalize: catalog id unchanged", "normalize", "be", "design", "be");
        row("normalize: case counts", "normalize", "Backend", "legal", "Backend");

        row("name: catalog names a legacy id", "name", "backend", "software", "Бэкенд из каталога");
        row("name: first in file wins over the sphere", "name", "shared", "software", "Общая (дизайн)");
        row("name: sphere does not narrow", "name", "ds_ui", "software", "Интерфейсы");
        row("name: legacy label", "name", "mobile", "software", "Мобильная разработка");
        row("name: capitalised is no legacy id", "name", "Qa", "software", "Qa");
        row("name: unknown itself", "name", "security", "software", "security");
    }
    void lookups()
    {
        QFETCH(QString, lookup);
        QFETCH(QString, category);
        QFETCH(QString, sphere);
        QFETCH(QString, expected);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(fixture(QStringLiteral("lookup.json")));
        if (lookup == QLatin1String("categories"))
            QCOMPARE(ids(EstimateCatalogLoader::categories(sphere)).join(QLatin1Char(',')), expected);
        else if (lookup == QLatin1String("normalize"))
            QCOMPARE(EstimateCatalogLoader::normalizeCategory(category, sphere), expected);
        else
            QCOMPARE(EstimateCatalogLoader::categoryName(category, sphere), expected);
    }

    void readTemplateList_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("ok");
        const QByteArray line = R"({"title":"Макет","category":"design","hours":8,"rate":0,"isLocked":false})";
        QTest::newRow("minimal") << (R"([{"id":"t","name":"Сайт","defaultRate":2000,"items":[)" + line + "]}]") << true;
        QTest::newRow("sphereId null") << QByteArray(
            R"([{"id":"t","sphereId":null,"name":"Сайт","defaultRate":2000,"items":[]}])")
                                       << true;
        QTest::newRow("line without isLocked fails the list")
            << QByteArray(R"([{"id":"ok","name":"a","defaultRate":1,"items":[]},)"
                          R"({"id":"t","name":"Сайт","defaultRate":1,"items":[{"title":"a",)"
                          R"("category":"qa","hours":1,"rate":1}]}])")
            << false;
        QTest::newRow("not a list") << QByteArray(R"({"id":"t","name":"Сайт","defaultRate":1,"items":[]})") << false;
    }
    void readTemplateList()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, ok);
        if (!ok) {
            QVERIFY_THROWS_EXCEPTION(DecodingError, EstimateTemplate::listFromJson(Json::parse(json)));
            return;
        }
        const QList<EstimateTemplate> list = EstimateTemplate::listFromJson(Json::parse(json));
        // Absent optionals are left out, never written as null.
        const QJsonArray written = EstimateTemplate::listToJson(list);
        QVERIFY(!Json::serialize(written).contains("sphereId") && !Json::serialize(written).contains("description"));
        QCOMPARE(EstimateTemplate::listFromJson(written), list);
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

    // The shipped catalog: its rules are ours, but the loader and the editors depend on them.
    void shippedCatalog()
    {
        const auto file = EstimateCatalogLoader::catalog();
        QVERIFY2(file, "the compiled-in catalog must decode");
        QSet<qint64> sphereOrders;
        QSet<QString> sphereIds;
        for (const CatalogSphere &sphere : file->spheres) {
            sphereOrders.insert(sphere.sortOrder);
            sphereIds.insert(sphere.id);
            QVERIFY2(!EstimateCatalogLoader::categories(sphere.id).isEmpty(), qPrintable(sphere.id));
        }
        QCOMPARE(sphereOrders.size(), file->spheres.size());
        QVERIFY(sphereIds.contains(QStringLiteral("software")));

        const QRegularExpression colour(QStringLiteral("^#?[0-9A-Fa-f]{6}$"));
        QSet<QString> categoryIds;
        for (const CatalogCategory &category : file->categories) {
            categoryIds.insert(category.id);
            QVERIFY(sphereIds.contains(category.sphereId));
            QVERIFY2(category.color && colour.match(*category.color).hasMatch(), qPrintable(category.id));
        }
        QCOMPARE(categoryIds.size(), file->categories.size());

        // Every legacy identifier lands on a software category, so old lines keep a real name.
        const QStringList software = ids(EstimateCatalogLoader::categories(QStringLiteral("software")));
        for (const EstimateCategory legacy : allEstimateCategories)
            QVERIFY2(software.contains(file->legacyCategoryMap.value(rawValue(legacy))), qPrintable(rawValue(legacy)));

        for (const EstimateTemplate &t : file->builtinTemplates) {
            QVERIFY(t.sphereId && sphereIds.contains(*t.sphereId));
            QVERIFY(t.defaultRate > 0 && !t.items.isEmpty());
            const QStringList own = ids(EstimateCatalogLoader::categories(*t.sphereId));
            for (const EstimateTemplateItem &item : t.items)
                QVERIFY2(own.contains(item.category) && item.hours > 0,
                         qPrintable(t.id + QLatin1Char('/') + item.category));
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
