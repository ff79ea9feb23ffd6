#include "Models/CreateProjectRequest.h"
#include "Models/Project.h"
#include "Models/UpdateProjectRequest.h"
#include "Models/ProjectTypeOption.h"
#include "Utils/Json.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QTest>
#include <limits>

namespace {

QJsonObject fixture()
{
    QFile file(QStringLiteral(TESSMARK_TEST_DATA "/projects/account-project.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture missing");
    return Json::parse(file.readAll()).toObject();
}

// A fixture with one key replaced (value given) or removed (undefined value).
QJsonObject fixtureWith(const QString &key, const QJsonValue &value)
{
    QJsonObject object = fixture();
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    return object;
}

QJsonObject lineJson()
{
    return QJsonObject{{QStringLiteral("title"), QStringLiteral("API")},
                       {QStringLiteral("category"), QStringLiteral("backend")},
                       {QStringLiteral("hours"), 12},
                       {QStringLiteral("rate"), 0},
                       {QStringLiteral("isLocked"), false}};
}

} // namespace

class tst_Project : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsEveryField()
    {
        const Project p = Project::fromJson(fixture());
        QCOMPARE(p.id, QStringLiteral("6650f1c2a9e4"));
        QCOMPARE(p.clientName, std::optional<QString>(QStringLiteral("ИП Соколова")));
        QCOMPARE(p.totalCost, 312000.0);
        QCOMPARE(p.status, ProjectStatus::InProgress);
        QCOMPARE(p.items.size(), 2);
        QCOMPARE(p.items.at(1).done, std::optional<bool>(true));
        QCOMPARE(p.version, std::optional<qint64>(2));
        // Stamps are carried as text, never parsed.
        QCOMPARE(p.updatedAt, QStringLiteral("2024-02-03 12:30"));
        QVERIFY(p.isIteration());
    }

    void roundTripKeepsTheRecord()
    {
        const Project p = Project::fromJson(fixture());
        const QJsonObject written = p.toJson();
        QVERIFY(!written.contains(QStringLiteral("unknownKey")));
        QCOMPARE(Project::fromJson(Json::parse(Json::serialize(written))), p);
    }

    void decoding_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // undefined: key removed
        QTest::addColumn<bool>("ok");

        const QJsonValue removed(QJsonValue::Undefined);
        const QJsonValue null(QJsonValue::Null);
        QTest::newRow("clientName missing") << "clientName" << removed << true;
        QTest::newRow("clientName null") << "clientName" << null << true;
        QTest::newRow("version null") << "version" << null << true;
        QTest::newRow("items empty") << "items" << QJsonValue(QJsonArray()) << true;
        QTest::newRow("totalCost whole number") << "totalCost" << QJsonValue(5) << true;
        QTest::newRow("unknown projectType kept") << "projectType" << QJsonValue(QStringLiteral("sprint")) << true;

        QTest::newRow("totalCost as text") << "totalCost" << QJsonValue(QStringLiteral("5")) << false;
        QTest::newRow("name as number") << "name" << QJsonValue(5) << false;
        QTest::newRow("id missing") << "id" << removed << false;
        QTest::newRow("userId null") << "userId" << null << false;
        QTest::newRow("items missing") << "items" << removed << false;
        QTest::newRow("items null") << "items" << null << false;
        QTest::newRow("status missing") << "status" << removed << false;
        QTest::newRow("status null") << "status" << null << false;
        QTest::newRow("status unknown word") << "status" << QJsonValue(QStringLiteral("archived")) << false;
        QTest::newRow("status capitalised") << "status" << QJsonValue(QStringLiteral("Draft")) << false;
        QTest::newRow("status as number") << "status" << QJsonValue(1) << false;
        QTest::newRow("version fraction") << "version" << QJsonValue(1.5) << false;
        QTest::newRow("version beyond 64 bits") << "version" << QJsonValue(1e19) << false;
        QTest::newRow("version as text") << "version" << QJsonValue(QStringLiteral("2")) << false;
        QTest::newRow("defaultRate as text") << "defaultRate" << QJsonValue(QStringLiteral("2500")) << false;
        QTest::newRow("one bad line") << "items"
                                      << QJsonValue(QJsonArray{lineJson(), QJsonObject{{QStringLiteral("title"), 1}}})
                                      << false;
    }
    void decoding()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(bool, ok);
        const QJsonObject json = fixtureWith(key, value);
        if (!ok) {
            QVERIFY_THROWS_EXCEPTION(DecodingError, Project::fromJson(json));
            return;
        }
        const Project p = Project::fromJson(json);
        // An absent optional is left out on writing, never written as null.
        const QJsonObject written = p.toJson();
        if (value.isNull() || value.isUndefined())
            QVERIFY(!written.contains(key));
        else
            QCOMPARE(written.value(key), value);
    }

    void failingLineNamesItsPath()
    {
        QJsonArray lines{lineJson(), lineJson()};
        QJsonObject bad = lineJson();
        bad.insert(QStringLiteral("hours"), QStringLiteral("12"));
        lines.append(bad);
        try {
            Project::fromJson(fixtureWith(QStringLiteral("items"), lines));
            QFAIL("a line with hours as text must fail its project");
        } catch (const DecodingError &error) {
            QCOMPARE(error.kind(), DecodingError::Kind::TypeMismatch);
            QCOMPARE(error.codingPath(), QStringLiteral("items[2].hours"));
        }
    }

    void oneBadProjectFailsTheList()
    {
        QJsonArray list;
        for (int i = 0; i < 10; ++i) {
            QJsonObject p = fixture();
            p.insert(QStringLiteral("id"), QStringLiteral("p%1").arg(i));
            if (i == 6)
                p.insert(QStringLiteral("status"), QStringLiteral("In_progress"));
            list.append(p);
        }
        try {
            Project::listFromJson(list);
            QFAIL("the list must fail as a whole");
        } catch (const DecodingError &error) {
            QCOMPARE(error.kind(), DecodingError::Kind::DataCorrupted);
            QCOMPARE(error.codingPath(), QStringLiteral("[6].status"));
        }
        list.removeAt(6);
        QCOMPARE(Project::listFromJson(list).size(), 9);
    }

    void rootOrIteration_data()
    {
        QTest::addColumn<QJsonValue>("parent");
        QTest::addColumn<bool>("iteration");
        QTest::newRow("no parent") << QJsonValue(QJsonValue::Undefined) << false;
        QTest::newRow("null parent") << QJsonValue(QJsonValue::Null) << false;
        QTest::newRow("parent is itself") << QJsonValue(QStringLiteral("6650f1c2a9e4")) << false;
        QTest::newRow("parent not in any list") << QJsonValue(QStringLiteral("elsewhere")) << true;
    }
    void rootOrIteration()
    {
        QFETCH(QJsonValue, parent);
        QFETCH(bool, iteration);
        const Project p = Project::fromJson(fixtureWith(QStringLiteral("parentProjectId"), parent));
        QCOMPARE(p.isIteration(), iteration);
        QCOMPARE(p.isRoot(), !iteration);
    }

    void lineIdentityAndAbsentDone()
    {
        const ProjectItem a = ProjectItem::fromJson(lineJson());
        QVERIFY(!a.done);
        QVERIFY(!a.toJson().contains(QStringLiteral("done")));
        QCOMPARE(a.identity(), QStringLiteral("API-backend-12.0"));
        ProjectItem b = a;
        b.rate = 3000;
        b.description = QStringLiteral("другая");
        QCOMPARE(b.identity(), a.identity());
        b.hours = 12.25;
        QCOMPARE(b.identity(), QStringLiteral("API-backend-12.25"));
    }

    void equalityAndHashing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("equal");
        QTest::newRow("identical") << "" << true;
        QTest::newRow("zero vs negative zero cost") << "negativeZeroCost" << true;
        QTest::newRow("updatedAt differs") << "updatedAt" << false;
        QTest::newRow("clientName absent vs empty") << "clientNameEmpty" << false;
        QTest::newRow("version absent vs 0") << "versionZero" << false;
        QTest::newRow("line order") << "lineOrder" << false;
        QTest::newRow("line done absent vs false") << "lineDone" << false;
        QTest::newRow("NaN equals nothing") << "nan" << false;
    }
    void equalityAndHashing()
    {
        QFETCH(QString, field);
        QFETCH(bool, equal);
        Project a = Project::fromJson(fixture());
        a.totalCost = 0;
        a.clientName.reset();
        a.version.reset();
        Project b = a;
        if (field == QLatin1String("negativeZeroCost")) {
            b.totalCost = -0.0;
        } else if (field == QLatin1String("updatedAt")) {
            b.updatedAt = QStringLiteral("2024-02-03T12:30:00.001Z");
        } else if (field == QLatin1String("clientNameEmpty")) {
            b.clientName = QString();
        } else if (field == QLatin1String("versionZero")) {
            b.version = 0;
        } else if (field == QLatin1String("lineOrder")) {
            std::swap(b.items[0], b.items[1]);
        } else if (field == QLatin1String("lineDone")) {
            b.items[0].done = false;
        } else if (field == QLatin1String("nan")) {
            a.totalHours = std::numeric_limits<double>::quiet_NaN();
            b.totalHours = a.totalHours;
        }
        QCOMPARE(a == b, equal);
        if (equal)
            QCOMPARE(qHash(a, 7), qHash(b, 7));
        else if (field != QLatin1String("nan"))
            QVERIFY(qHash(a, 7) != qHash(b, 7));
    }

    void setOfProjects()
    {
        const Project p = Project::fromJson(fixture());
        Project copy = p;
        copy.totalHours = p.totalHours + 0.0;
        QSet<Project> set{p, copy};
        QCOMPARE(set.size(), 1);
        QSet<ProjectItem> lines{p.items.at(0), p.items.at(1), p.items.at(0)};
        QCOMPARE(lines.size(), 2);
    }

    void nonFiniteTotalFailsToEncode_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("path");
        QTest::newRow("nan cost") << std::numeric_limits<double>::quiet_NaN() << "totalCost";
        QTest::newRow("inf line rate") << std::numeric_limits<double>::infinity() << "items[1].rate";
    }
    void nonFiniteTotalFailsToEncode()
    {
        QFETCH(double, value);
        QFETCH(QString, path);
        Project p = Project::fromJson(fixture());
        if (path == QLatin1String("totalCost"))
            p.totalCost = value;
        else
            p.items[1].rate = value;
        try {
            p.toJson();
            QFAIL("a non-finite number must not be written");
        } catch (const EncodingError &error) {
            QCOMPARE(error.codingPath(), path);
        }
    }

    void requestBodiesWriteOnlyPresentFields()
    {
        UpdateProjectRequest nameOnly;
        nameOnly.name = QStringLiteral("Сайт");
        QCOMPARE(nameOnly.toJson(), (QJsonObject{{QStringLiteral("name"), QStringLiteral("Сайт")}}));
        QVERIFY(UpdateProjectRequest{}.toJson().isEmpty());

        UpdateProjectRequest full;
        full.name = QStringLiteral("Сайт");
        full.clientName = QString();
        full.status = ProjectStatus::Rejected;
        full.items = QList<ProjectItem>{};
        full.defaultRate = 0;
        full.currency = QStringLiteral("EUR");
        full.projectType = QStringLiteral("iterative");
        full.iterationStartedAt = QStringLiteral("2024-05-01");
        const QJsonObject update = full.toJson();
        QCOMPARE(update.size(), 8);
        QCOMPARE(update.value(QStringLiteral("status")), QJsonValue(QStringLiteral("rejected")));
        QCOMPARE(update.value(QStringLiteral("items")), QJsonValue(QJsonArray{}));

        CreateProjectRequest create;
        create.name = QStringLiteral("Лендинг");
        QCOMPARE(create.toJson(), (QJsonObject{{QStringLiteral("name"), QStringLiteral("Лендинг")}}));
        create.sphereId = QStringLiteral("design");
        create.status = ProjectStatus::Draft;
        create.items = QList<ProjectItem>{ProjectItem::fromJson(lineJson())};
        const QJsonObject written = create.toJson();
        QCOMPARE(written.keys(), (QStringList{"items", "name", "sphereId", "status"}));
        QCOMPARE(written.value(QStringLiteral("items")).toArray().at(0).toObject(), lineJson());

        create.defaultRate = std::numeric_limits<double>::infinity();
        QVERIFY_THROWS_EXCEPTION(EncodingError, create.toJson());
    }

    void statusRawValues()
    {
        QStringList raws;
        for (const ProjectStatus s : allProjectStatuses) {
            raws << rawValue(s);
            QCOMPARE(projectStatusFromJson(toJson(s)), s);
        }
        QCOMPARE(raws, (QStringList{"draft", "in_progress", "completed", "rejected"}));
        QCOMPARE(rawValue(ProjectTypeOption::Iterative), QStringLiteral("iterative"));
        QCOMPARE(projectTypeOptionFromRaw(QStringLiteral("one_time")), std::optional(ProjectTypeOption::OneTime));
        QVERIFY(!projectTypeOptionFromRaw(QStringLiteral("One_time")));
    }
};

QTEST_GUILESS_MAIN(tst_Project)
#include "tst_Project.moc"
