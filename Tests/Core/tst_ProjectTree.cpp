#include "DecodingCheck.h"
#include "Models/ProjectLineSummary.h"
#include "Projects/ProjectRoot.h"
#include "Projects/ProjectTreeBuilder.h"

#include <QLocale>

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
        QTest::newRow("Russian collation sorts ё with е, before я")
            << QStringList{"1:яблоко", "2:Ёж", "3:ель", "4:Арбуз"} << "ru_RU"
            << QStringList{"4[]", "2[]", "3[]", "1[]"};
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

    void lineSummary()
    {
        const QJsonObject json{
            {QStringLiteral("project"), project(QStringLiteral("r:Корень")).toJson()},
            {QStringLiteral("iterations"),
             QJsonArray{parsedObject(R"({"id":"i1","version":2,"iterationName":"Этап","createdAt":"x",)"
                                     R"("totalHours":1,"totalCost":2,"status":"draft"})")}},
            {QStringLiteral("summary"),
             parsedObject(R"({"totalHoursAll":10.5,"totalCostAll":100,"iterationsCount":1})")}};
        const ProjectLineSummary summary = ProjectLineSummary::fromJson(json);
        QCOMPARE(summary.iterations.at(0).version, 2);
        QCOMPARE(ProjectLineSummary::fromJson(summary.toJson()), summary);

        QJsonObject row = json.value(QStringLiteral("iterations")).toArray().at(0).toObject();
        row.remove(QStringLiteral("version"));
        auto failure = decodingFailure([&] {
            ProjectLineSummary::fromJson(edited(json, {{"iterations", QJsonArray{row}}}, {}));
        });
        COMPARE_DECODING_FAILURE(failure, DecodingError::Kind::KeyNotFound, "iterations[0].version", "");
        failure = decodingFailure([&] {
            ProjectLineSummary::fromJson(edited(json, {{"summary", QJsonValue::Null}}, {}));
        });
        COMPARE_DECODING_FAILURE(failure, DecodingError::Kind::ValueNotFound, "summary", "");
    }
};

QTEST_GUILESS_MAIN(tst_ProjectTree)
#include "tst_ProjectTree.moc"
