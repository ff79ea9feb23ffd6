#include "Data/EstimateCatalogLoader.h"
#include "Data/EstimateTemplatesLoader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

QJsonObject templateJson(const QString &id, const QString &sphereId = {}, bool lineComplete = true)
{
    QJsonObject line{{"title", "Работа"}, {"category", "backend"}, {"hours", 2}, {"rate", 0}};
    if (lineComplete)
        line.insert("isLocked", false);
    QJsonObject t{{"id", id}, {"name", "Шаблон " + id}, {"defaultRate", 40}, {"items", QJsonArray{line}}};
    if (!sphereId.isEmpty())
        t.insert("sphereId", sphereId);
    return t;
}

QJsonObject catalogJson(const QJsonArray &builtinTemplates)
{
    return {{"version", 1},
            {"spheres", QJsonArray{}},
            {"categories", QJsonArray{}},
            {"builtinTemplates", builtinTemplates},
            {"legacyCategoryMap", QJsonObject{}}};
}

QStringList ids(const QList<EstimateTemplate> &templates)
{
    QStringList out;
    for (const EstimateTemplate &t : templates)
        out.append(t.id);
    return out;
}

} // namespace

class tst_TemplateLibrary : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }
    QString write(const QString &name, const QJsonObject &object)
    {
        return write(name, QJsonDocument(object).toJson());
    }
    QString write(const QString &name, const QJsonArray &array) { return write(name, QJsonDocument(array).toJson()); }

private Q_SLOTS:
    // Which source the built-in templates come from: the catalog when it decodes, else the
    // templates resource, else nothing.
    void builtInSources_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<QString>("templates");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("catalog wins") << "catalog" << "templates" << QStringList{"c1", "c2"};
        QTest::newRow("empty catalog list still wins") << "emptyCatalog" << "templates" << QStringList{};
        QTest::newRow("missing catalog") << "missing" << "templates" << QStringList{"t1"};
        QTest::newRow("catalog template lacks a key") << "brokenCatalog" << "templates" << QStringList{"t1"};
        QTest::newRow("not JSON") << "garbage" << "templates" << QStringList{"t1"};
        QTest::newRow("both missing") << "missing" << "missing" << QStringList{};
        QTest::newRow("templates undecodable") << "missing" << "brokenTemplates" << QStringList{};
    }
    void builtInSources()
    {
        QFETCH(QString, catalog);
        QFETCH(QString, templates);
        QFETCH(QStringList, expected);
        const QHash<QString, QString> files{
            {"catalog", write("catalog.json", catalogJson({templateJson("c1"), templateJson("c2", "design")}))},
            {"emptyCatalog", write("empty-catalog.json", catalogJson({}))},
            {"brokenCatalog", write("broken-catalog.json", catalogJson({templateJson("c1", {}, false)}))},
            {"garbage", write("garbage.json", QByteArray("{not json"))},
            {"templates", write("templates.json", QJsonArray{templateJson("t1")})},
            {"brokenTemplates", write("broken-templates.json", QJsonArray{templateJson("t1"), templateJson("t2", {}, false)})},
            {"missing", m_dir.filePath("missing.json")},
        };
        const EstimateCatalogLoader::ScopedCatalogOverride catalogOverride(files.value(catalog));
        const EstimateTemplatesLoader::ScopedTemplatesOverride templatesOverride(files.value(templates));
        QCOMPARE(ids(EstimateTemplatesLoader::load()), expected);
    }

    void builtInReadAnew()
    {
        const QString path = write("changing.json", catalogJson({templateJson("first")}));
        const EstimateCatalogLoader::ScopedCatalogOverride catalogOverride(path);
        QCOMPARE(ids(EstimateTemplatesLoader::load()), QStringList{"first"});
        write("changing.json", catalogJson({templateJson("second")}));
        QCOMPARE(ids(EstimateTemplatesLoader::load()), QStringList{"second"});
    }
};

QTEST_GUILESS_MAIN(tst_TemplateLibrary)
#include "tst_TemplateLibrary.moc"
