#include "Data/EstimateCatalogLoader.h"
#include "Data/EstimateTemplatesLoader.h"
#include "Settings/TemplateLibrary.h"
#include "Settings/UserTemplatesStorage.h"
#include "Settings/Preferences.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
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

    QString write(const QString &name, const QJsonValue &json)
    {
        return write(name, (json.isArray() ? QJsonDocument(json.toArray()) : QJsonDocument(json.toObject())).toJson());
    }
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write(bytes);
        return file.fileName();
    }

    void setUserTemplates(const QVariant &value)
    {
        if (value.isValid())
            Preferences::shared().setValue(UserTemplatesStorage::key(), value);
        else
            Preferences::shared().remove(UserTemplatesStorage::key());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("TessmarkTests"));
        QCoreApplication::setApplicationName(QStringLiteral("TemplateLibrary"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    }
    void init() { setUserTemplates({}); }

    // Which source the built-in templates come from: the catalog when it decodes, else the
    // templates resource, else nothing.
    void builtInSources_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<QString>("templates");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("catalog wins") << "catalog"
                                      << "templates" << QStringList{"c1", "c2"};
        QTest::newRow("empty catalog list still wins") << "emptyCatalog"
                                                       << "templates" << QStringList{};
        QTest::newRow("missing catalog") << "missing"
                                         << "templates" << QStringList{"t1"};
        QTest::newRow("catalog template lacks a key") << "brokenCatalog"
                                                      << "templates" << QStringList{"t1"};
        QTest::newRow("not JSON") << "garbage"
                                  << "templates" << QStringList{"t1"};
        QTest::newRow("both missing") << "missing"
                                      << "missing" << QStringList{};
        QTest::newRow("templates undecodable") << "missing"
                                               << "brokenTemplates" << QStringList{};
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
            {"brokenTemplates",
             write("broken-templates.json", QJsonArray{templateJson("t1"), templateJson("t2", {}, false)})},
            {"missing", m_dir.filePath("missing.json")},
        };
        const EstimateCatalogLoader::ScopedCatalogOverride catalogOverride(files.value(catalog));
        const EstimateTemplatesLoader::ScopedTemplatesOverride templatesOverride(files.value(templates));
        QCOMPARE(ids(EstimateTemplatesLoader::load()), expected);
    }

    // Only bytes of a JSON array of templates, read as a whole, count.
    void userTemplates_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("expected");
        const QByteArray valid = QJsonDocument(QJsonArray{templateJson("u1"), templateJson("u2", "design")}).toJson();
        QTest::newRow("unset") << QVariant() << QStringList{};
        QTest::newRow("bytes") << QVariant(valid) << QStringList{"u1", "u2"};
        QTest::newRow("same JSON as text") << QVariant(QString::fromUtf8(valid)) << QStringList{};
        QTest::newRow("number") << QVariant(42) << QStringList{};
        QTest::newRow("line without isLocked")
            << QVariant(QJsonDocument(QJsonArray{templateJson("u1"), templateJson("u2", {}, false)}).toJson())
            << QStringList{};
        QTest::newRow("object, not array") << QVariant(QJsonDocument(templateJson("u1")).toJson()) << QStringList{};
        QTest::newRow("not JSON") << QVariant(QByteArray("[{")) << QStringList{};
        QTest::newRow("empty array") << QVariant(QByteArray("[]")) << QStringList{};
    }
    void userTemplates()
    {
        QFETCH(QVariant, value);
        QFETCH(QStringList, expected);
        setUserTemplates(value);
        QCOMPARE(ids(UserTemplatesStorage::load()), expected);
    }

    void library_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<std::optional<QString>>("sphereId");
        QTest::addColumn<QStringList>("expected");
        const std::optional<QString> all;
        QTest::newRow("everything, built-in first")
            << "catalog" << all << QStringList{"b-soft", "b-design", "same", "u-soft", "u-design", "same"};
        QTest::newRow("software includes no sphere") << "catalog" << std::optional<QString>(QStringLiteral("software"))
                                                     << QStringList{"b-soft", "same", "u-soft", "same"};
        QTest::newRow("sphere compares exactly")
            << "catalog" << std::optional<QString>(QStringLiteral("Software")) << QStringList{};
        QTest::newRow("one sphere") << "catalog" << std::optional<QString>(QStringLiteral("design"))
                                    << QStringList{"b-design", "u-design"};
        QTest::newRow("no built-in source") << "missing" << all << QStringList{"u-soft", "u-design", "same"};
    }
    void library()
    {
        QFETCH(QString, catalog);
        QFETCH(std::optional<QString>, sphereId);
        QFETCH(QStringList, expected);
        const QString catalogPath = catalog == QStringLiteral("missing")
            ? m_dir.filePath(QStringLiteral("missing.json"))
            : write(QStringLiteral("library-catalog.json"),
                    catalogJson({templateJson("b-soft"), templateJson("b-design", "design"),
                                 templateJson("same", "software")}));
        const EstimateCatalogLoader::ScopedCatalogOverride catalogOverride(catalogPath);
        const EstimateTemplatesLoader::ScopedTemplatesOverride templatesOverride(
            m_dir.filePath(QStringLiteral("missing.json")));
        setUserTemplates(
            QJsonDocument(QJsonArray{templateJson("u-soft"), templateJson("u-design", "design"), templateJson("same")})
                .toJson());
        QCOMPARE(ids(TemplateLibrary::all(sphereId)), expected);
    }
};

QTEST_GUILESS_MAIN(tst_TemplateLibrary)
#include "tst_TemplateLibrary.moc"
