#include "Models/CreateIterationRequest.h"
#include "Models/ProjectLineSummary.h"
#include "Utils/Json.h"
#include "Utils/ProjectRoot.h"
#include "Utils/ProjectTreeBuilder.h"

#include <QJsonArray>
#include <QLocale>
#include <QTest>

namespace {

// Compact project description for table rows: "id:name[:parent[:base[:type[:version]]]]", "-" for
// an absent field.
Project project(const QString &spec)
{
    const QStringList f = spec.split(QLatin1Char(':'));
    const auto field = [&](int i) -> std::optional<QString> {
        if (i >= f.size() || f.at(i) == QLatin1String("-"))
            return std::nullopt;
        return f.at(i);
    };
    Project p;
    p.id = f.at(0);
    p.name = f.value(1, p.id);
    p.parentProjectId = field(2);
    p.baseProjectId = field(3);
    p.projectType = field(4);
    if (const auto v = field(5))
        p.version = v->toLongLong();
    p.currency = QStringLiteral("RUB");
    p.userId = QStringLiteral("u");
    return p;
}

// Groups as "root[it1,it2]".
QStringList layout(const QList<ProjectTreeGroup> &groups)
{
    QStringList out;
    for (const ProjectTreeGroup &g : groups) {
        QStringList its;
        for (const Project &p : g.iterations)
            its << p.id;
        out << g.id + QLatin1Char('[') + its.join(QLatin1Char(',')) + QLatin1Char(']');
        if (g.id != g.root.id)
            out << QStringLiteral("id mismatch");
    }
    return out;
}

} // namespace

class tst_ProjectTree : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void build_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("empty") << QStringList{} << "C" << QStringList{};
        QTest::newRow("case-insensitive, stable")
            << QStringList{"b:beta", "A:Alpha", "a:alpha"} << "C" << QStringList{"A[]", "a[]", "b[]"};
        QTest::newRow("same under ru_RU")
            << QStringList{"b:beta", "A:Alpha", "a:alpha"} << "ru_RU" << QStringList{"A[]", "a[]", "b[]"};
        QTest::newRow("Russian collation sorts ё with е, before я")
            << QStringList{"1:яблоко", "2:Ёж", "3:ель", "4:Арбуз"} << "ru_RU" << QStringList{"4[]", "2[]", "3[]", "1[]"};
        QTest::newRow("iterative root without iterations")
            << QStringList{"r:R:-:-:iterative", "s:S:-:-:one_time"} << "C" << QStringList{"r[]", "s[]"};
        QTest::newRow("versions ascending, absent as 0, ties stable")
            << QStringList{"r:R", "i3:x:r:-:-:3", "i0:x:r", "i1:x:r:-:-:1", "j1:x:r:-:-:1"} << "C"
            << QStringList{"r[i0,i1,j1,i3]"};
        QTest::newRow("parent equal to own id is a root")
            << QStringList{"s:S:s", "r:R"} << "C" << QStringList{"r[]", "s[]"};
        QTest::newRow("missing parent: orphan after the roots, input order")
            << QStringList{"o2:z:gone", "r:R", "o1:a:gone2"} << "C" << QStringList{"r[]", "o2[]", "o1[]"};
        QTest::newRow("base alone does not make a root collect")
            << QStringList{"r:R:-:-:one_time", "s:S:-:r"} << "C" << QStringList{"r[]", "s[]"};
        QTest::newRow("iterative root collects by base, project stands twice")
            << QStringList{"r:R:-:-:iterative", "s:S:-:r"} << "C" << QStringList{"r[s]", "s[]"};
        QTest::newRow("one parent child makes the base-only ones join")
            << QStringList{"r:R", "i:x:r:-:-:2", "b:y:other:r:-:1"} << "C" << QStringList{"r[b,i]"};
        QTest::newRow("placed once keeps it out of the orphans, stands under both")
            << QStringList{"a:A", "b:B", "i:x:a:b", "j:y:b"} << "C" << QStringList{"a[i]", "b[i,j]"};
        QTest::newRow("root names itself as base, not its own iteration")
            << QStringList{"r:R:-:r:iterative"} << "C" << QStringList{"r[]"};
    }
    void build()
    {
        QFETCH(QStringList, input);
        QFETCH(QString, locale);
        QFETCH(QStringList, expected);
        QLocale::setDefault(QLocale(locale));
        QList<Project> projects;
        for (const QString &spec : input)
            projects << project(spec);
        QCOMPARE(layout(ProjectTreeBuilder::build(projects)), expected);
    }

    void iterationLabel_data()
    {
        QTest::addColumn<std::optional<QString>>("name");
        QTest::addColumn<std::optional<qint64>>("version");
        QTest::addColumn<QString>("label");
        QTest::newRow("trimmed name") << std::optional<QString>(" \tЭтап 2 ") << std::optional<qint64>(2) << "Этап 2";
        QTest::newRow("line break kept") << std::optional<QString>("Этап\n") << std::optional<qint64>() << "Этап\n";
        QTest::newRow("blank name, version") << std::optional<QString>("  ") << std::optional<qint64>(3) << "v3";
        QTest::newRow("negative version") << std::optional<QString>() << std::optional<qint64>(-1) << "v-1";
        QTest::newRow("neither") << std::optional<QString>() << std::optional<qint64>() << "Итерация";
        QTest::newRow("blank name only") << std::optional<QString>("\t") << std::optional<qint64>() << "Итерация";
    }
    void iterationLabel()
    {
        QFETCH(std::optional<QString>, name);
        QFETCH(std::optional<qint64>, version);
        QFETCH(QString, label);
        Project p = project(QStringLiteral("i"));
        p.iterationName = name;
        p.version = version;
        QCOMPARE(ProjectRoot::iterationLabel(p), label);
    }

    void lineSummary_data()
    {
        QTest::addColumn<QString>("rowJson");
        QTest::addColumn<bool>("ok");
        QTest::newRow("full row")
            << R"({"id":"i1","version":2,"iterationName":"Этап","createdAt":"x","totalHours":1,"totalCost":2,"status":"draft"})"
            << true;
        QTest::newRow("iterationName null")
            << R"({"id":"i1","version":2,"iterationName":null,"createdAt":"x","totalHours":1,"totalCost":2,"status":"draft"})"
            << true;
        QTest::newRow("row without version")
            << R"({"id":"i1","createdAt":"x","totalHours":1,"totalCost":2,"status":"draft"})" << false;
        QTest::newRow("row with unknown status")
            << R"({"id":"i1","version":2,"createdAt":"x","totalHours":1,"totalCost":2,"status":"paused"})" << false;
        QTest::newRow("row with total as text")
            << R"({"id":"i1","version":2,"createdAt":"x","totalHours":"1","totalCost":2,"status":"draft"})" << false;
    }
    void lineSummary()
    {
        QFETCH(QString, rowJson);
        QFETCH(bool, ok);
        QJsonObject root = project(QStringLiteral("r:Корень")).toJson();
        const QJsonObject json{
            {QStringLiteral("project"), root},
            {QStringLiteral("iterations"), QJsonArray{Json::parse(rowJson.toUtf8())}},
            {QStringLiteral("summary"), Json::parse(R"({"totalHoursAll":10.5,"totalCostAll":100,"iterationsCount":1})")}};
        if (!ok) {
            QVERIFY_THROWS_EXCEPTION(DecodingError, ProjectLineSummary::fromJson(json));
            return;
        }
        const ProjectLineSummary summary = ProjectLineSummary::fromJson(json);
        QCOMPARE(summary.project.id, QStringLiteral("r"));
        QCOMPARE(summary.iterations.at(0).version, 2);
        QCOMPARE(summary.summary.iterationsCount, 1);
        QCOMPARE(ProjectLineSummary::fromJson(summary.toJson()), summary);
    }

    void summaryPartsRequired_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("project") << "project";
        QTest::newRow("iterations") << "iterations";
        QTest::newRow("summary") << "summary";
    }
    void summaryPartsRequired()
    {
        QFETCH(QString, key);
        QJsonObject json{{QStringLiteral("project"), project(QStringLiteral("r")).toJson()},
                         {QStringLiteral("iterations"), QJsonArray{}},
                         {QStringLiteral("summary"), Json::parse(R"({"totalHoursAll":0,"totalCostAll":0,"iterationsCount":0})")}};
        QVERIFY(ProjectLineSummary::fromJson(json).iterations.isEmpty());
        json.insert(key, QJsonValue::Null);
        QVERIFY_THROWS_EXCEPTION(DecodingError, ProjectLineSummary::fromJson(json));
        json.remove(key);
        QVERIFY_THROWS_EXCEPTION(DecodingError, ProjectLineSummary::fromJson(json));
    }

    void createIterationRequest()
    {
        CreateIterationRequest onlyCopy;
        onlyCopy.copyBudget = true;
        QCOMPARE(onlyCopy.toJson(), (QJsonObject{{QStringLiteral("copyBudget"), true}}));

        CreateIterationRequest emptyLines;
        emptyLines.items = QList<ProjectItem>{};
        QCOMPARE(emptyLines.toJson(), (QJsonObject{{QStringLiteral("items"), QJsonArray{}}}));

        CreateIterationRequest full;
        full.iterationName = QStringLiteral("Этап 2");
        full.iterationNotes = QStringLiteral("");
        full.version = 2;
        full.copyBudget = false;
        full.items = QList<ProjectItem>{ProjectItem{QStringLiteral("API"), {}, QStringLiteral("be"), 1, 2, false, {}}};
        const QJsonObject written = full.toJson();
        QCOMPARE(written.keys(), (QStringList{"copyBudget", "items", "iterationName", "iterationNotes", "version"}));
        QCOMPARE(written.value(QStringLiteral("version")).toInteger(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_ProjectTree)
#include "tst_ProjectTree.moc"
