#include "DecodingCheck.h"
#include "Models/Project.h"
#include "Models/ProjectBytesDecoder.h"

#include <QFile>
#include <functional>
#include <limits>

using Kind = DecodingError::Kind;
using Edit = std::function<void(Project &)>;

namespace {

QJsonObject fixture()
{
    QFile file(QStringLiteral(TESSMARK_TEST_DATA "/projects/account-project.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture missing");
    return Json::parse(file.readAll()).toObject();
}

QJsonObject lineJson(const QJsonObject &replaced = {})
{
    return edited(parsedObject(R"({"title":"API","category":"backend","hours":12,"rate":0,"isLocked":false})"),
                  replaced, {});
}

QByteArray fixtureText()
{
    QFile file(QStringLiteral(TESSMARK_TEST_DATA "/projects/account-project.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture missing");
    return file.readAll();
}

// What a reading gave: the records written back as text (negative zero kept apart), or the error.
template<typename Read>
QByteArray outcome(Read &&read)
{
    try {
        QByteArray written = "read:";
        for (const Project &p : read())
            written += p.toJsonText() + '\n';
        return written;
    } catch (const DecodingError &error) {
        return "refused: " + error.description().toUtf8();
    }
}

} // namespace

class tst_Project : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsAndWritesBack()
    {
        const Project p = Project::fromJson(fixture());
        QCOMPARE(p.clientName, std::optional<QString>(QStringLiteral("ИП Соколова")));
        QCOMPARE(p.status, ProjectStatus::InProgress);
        QCOMPARE(p.items.at(1).done, std::optional<bool>(true));
        QCOMPARE(p.version, std::optional<qint64>(2));
        QCOMPARE(p.updatedAt, QStringLiteral("2024-02-03 12:30")); // stamps are carried as text, never parsed
        const QJsonObject written = p.toJson();
        QVERIFY(!written.contains(QStringLiteral("unknownKey")));
        QCOMPARE(Project::fromJson(Json::parse(Json::serialize(written))), p);

        // Null optionals are left out on writing, never written as null; unknown project types are kept.
        const QJsonObject bare =
            Project::fromJson(
                edited(fixture(),
                       {{"clientName", QJsonValue::Null}, {"version", QJsonValue::Null}, {"projectType", "sprint"}},
                       {}))
                .toJson();
        QVERIFY(!bare.contains(QStringLiteral("clientName")) && !bare.contains(QStringLiteral("version")));
        QCOMPARE(bare.value(QStringLiteral("projectType")), QJsonValue(QStringLiteral("sprint")));
    }

    void refusedValues_data()
    {
        addEditedFailureColumns();
        const QJsonValue null(QJsonValue::Null);
        QTest::newRow("id missing") << QJsonObject{} << QStringList{"id"} << Kind::KeyNotFound << "id"
                                    << "";
        QTest::newRow("items null") << QJsonObject{{"items", null}} << QStringList{} << Kind::ValueNotFound << "items"
                                    << "";
        // Unlike the payment figures, the project's are strict.
        QTest::newRow("totalCost as text")
            << QJsonObject{{"totalCost", "5"}} << QStringList{} << Kind::TypeMismatch << "totalCost"
            << "";
        QTest::newRow("status unknown word")
            << QJsonObject{{"status", "archived"}} << QStringList{} << Kind::DataCorrupted << "status"
            << "";
        QTest::newRow("status capitalised")
            << QJsonObject{{"status", "Draft"}} << QStringList{} << Kind::DataCorrupted << "status"
            << "";
        QTest::newRow("status as number")
            << QJsonObject{{"status", 1}} << QStringList{} << Kind::TypeMismatch << "status"
            << "";
        QTest::newRow("version fraction")
            << QJsonObject{{"version", 1.5}} << QStringList{} << Kind::DataCorrupted << "version"
            << "Parsed JSON number <1.5> does not fit in Int64.";
        QTest::newRow("version beyond 64 bits")
            << QJsonObject{{"version", 1e19}} << QStringList{} << Kind::DataCorrupted << "version"
            << "";
        QTest::newRow("version as text") << QJsonObject{{"version", "2"}} << QStringList{} << Kind::TypeMismatch
                                         << "version"
                                         << "";
        QTest::newRow("a line's hours as text names the line")
            << QJsonObject{{"items", QJsonArray{lineJson(), lineJson(), lineJson({{"hours", "12"}})}}} << QStringList{}
            << Kind::TypeMismatch << "items[2].hours"
            << "";
    }
    void refusedValues() { checkEditedFailure<Project>(fixture()); }

    void oneBadProjectFailsTheList()
    {
        QJsonArray list;
        for (int i = 0; i < 10; ++i)
            list.append(edited(fixture(), {{"id", QStringLiteral("p%1").arg(i)}}, {}));
        list.replace(6, edited(fixture(), {{"status", "In_progress"}}, {}));
        const auto failure = decodingFailure([&] { Project::listFromJson(list); });
        COMPARE_DECODING_FAILURE(failure, Kind::DataCorrupted, "[6].status", "");
        list.removeAt(6);
        QCOMPARE(Project::listFromJson(list).size(), 9);
    }

    void rootOrIteration_data()
    {
        QTest::addColumn<QJsonValue>("parent");
        QTest::addColumn<bool>("iteration");
        QTest::newRow("null parent") << QJsonValue(QJsonValue::Null) << false;
        QTest::newRow("parent is itself") << QJsonValue(QStringLiteral("6650f1c2a9e4")) << false;
        QTest::newRow("parent not in any list") << QJsonValue(QStringLiteral("elsewhere")) << true;
    }
    void rootOrIteration()
    {
        QFETCH(QJsonValue, parent);
        QFETCH(bool, iteration);
        const Project p = Project::fromJson(edited(fixture(), {{"parentProjectId", parent}}, {}));
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

    // The device store writes the text form directly; it must be the object form's bytes.
    void textFormIsTheObjectForm_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("as read") << Edit([](Project &) {});
        QTest::newRow("every optional absent") << Edit([](Project &p) {
            p.clientName.reset();
            p.defaultRate.reset();
            p.templateId.reset();
            p.projectType.reset();
            p.parentProjectId.reset();
            p.baseProjectId.reset();
            p.version.reset();
            p.iterationName.reset();
            p.iterationNotes.reset();
            p.iterationStartedAt.reset();
            for (ProjectItem &item : p.items) {
                item.description.reset();
                item.done.reset();
            }
        });
        QTest::newRow("every optional present") << Edit([](Project &p) {
            p.clientName = QStringLiteral("ООО \"Кавычки\"\n");
            p.defaultRate = 0.1;
            p.templateId = QStringLiteral("tpl");
            p.projectType = QStringLiteral("iterative");
            p.parentProjectId = QStringLiteral("root");
            p.baseProjectId = QStringLiteral("base");
            p.version = std::numeric_limits<qint64>::max();
            p.iterationName = QStringLiteral("v2 😀");
            p.iterationNotes = QString();
            p.iterationStartedAt = QStringLiteral("2024-01-01");
            for (ProjectItem &item : p.items) {
                item.description = QStringLiteral("\t");
                item.done = false;
            }
        });
        QTest::newRow("no lines, odd numbers") << Edit([](Project &p) {
            p.items.clear();
            p.totalCost = -0.0;
            p.totalHours = 1e21;
        });
    }
    void textFormIsTheObjectForm()
    {
        QFETCH(Edit, edit);
        Project p = Project::fromJson(fixture());
        edit(p);
        QCOMPARE(p.toJsonText(), Json::serialize(p.toJson()));
        QCOMPARE(Project::fromJson(Json::parse(p.toJsonText())), p);
    }

    void textFormRefusesNonFiniteNumbers()
    {
        Project p = Project::fromJson(fixture());
        p.items[1].hours = std::numeric_limits<double>::quiet_NaN();
        try {
            p.toJsonText();
            QFAIL("a number that is not finite must not be written");
        } catch (const EncodingError &error) {
            QCOMPARE(error.codingPath(), QStringLiteral("items[1].hours"));
        }
    }

    // The list read straight from the bytes agrees with the parse and the object reader in every
    // outcome: the records, or the error's kind, path and text. "direct" says whether the bytes
    // were read without the objects.
    void textReaderAgreesWithObjectReader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("direct");
        const QByteArray one = fixtureText();
        const QByteArray list = '[' + one + ',' + one + ']';
        const auto replaced = [&](const char *from, const char *to) {
            QByteArray copy = list;
            return copy.replace(from, to);
        };
        QTest::newRow("two projects") << list << true;
        QTest::newRow("blanks around") << " \n\t" + list + "\r\n " << true;
        QTest::newRow("empty list") << QByteArray("[]") << true;
        QTest::newRow("escaped key and texts")
            << replaced("\"id\"", "\"\\u0069d\"").replace("ИП Соколова", "\\\"A\\\"\\n\\u00e9\\ud83d\\ude00\\/")
            << true;
        QTest::newRow("unknown keys of every kind")
            << replaced("\"unknownKey\"", "\"a\":[1,-2.5e3,\"x\",null,true,{\"b\":[]}],\"unknownKey\"") << true;
        QTest::newRow("negative zero and exponents")
            << replaced("312000", "-0").replace("124.5", "1.245E2").replace("\"rate\": 2500", "\"rate\": -0") << true;
        QTest::newRow("zero with a fraction") << replaced("\"rate\": 2500", "\"rate\": -0.0e0") << false;
        QTest::newRow("integer beyond 64 bits") << replaced("312000", "123456789012345678901234567890") << false;
        QTest::newRow("integer at 2^64 - 1") << replaced("312000", "18446744073709551615") << true;
        QTest::newRow("version as whole double") << replaced("\"version\": 2", "\"version\": 2.0e0") << true;
        QTest::newRow("version beyond 64 bits")
            << replaced("\"version\": 2", "\"version\": 9223372036854775808") << false;
        QTest::newRow("version fraction") << replaced("\"version\": 2", "\"version\": 2.5") << false;
        QTest::newRow("nulls for optionals")
            << replaced("\"version\": 2", "\"version\": null").replace("\"ИП Соколова\"", "null") << true;
        QTest::newRow("overflowing total") << replaced("312000", "1e400") << false;
        QTest::newRow("overflowing negative hours") << replaced("\"hours\": 12", "\"hours\": -1e309") << false;
        QTest::newRow("overflow in an unknown key") << replaced("true}", "1e999}") << false;
        QTest::newRow("underflow") << replaced("124.5", "1e-400") << false;
        QTest::newRow("bad literal in an unknown key") << replaced("true}", "tru}") << false;
        QTest::newRow("leading zero in an unknown key") << replaced("true}", "01}") << false;
        QTest::newRow("repeated key") << replaced("\"name\"", "\"name\": 5, \"name\"") << false;
        QTest::newRow("repeated line key") << replaced("\"title\"", "\"title\": 1, \"title\"") << false;
        QTest::newRow("raw tab in a text") << replaced("ИП Соколова", "ИП\tСоколова") << false;
        QTest::newRow("bad escape") << replaced("ИП Соколова", "\\x41") << false;
        QTest::newRow("lone surrogate") << replaced("ИП Соколова", "\\ud800") << false;
        QTest::newRow("broken UTF-8") << replaced("ИП", "\xd0\x28") << false;
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + list << false;
        QTest::newRow("trailing text") << list + " x" << false;
        QTest::newRow("two documents") << list + list << false;
        QTest::newRow("trailing comma in a project") << replaced("true}\n}", "true},\n}") << false;
        QTest::newRow("trailing comma in the list") << '[' + one + ",]" << false;
        QTest::newRow("trailing comma in an unknown list") << replaced("true}", "[1,]}") << false;
        QTest::newRow("missing comma") << replaced(",\n  \"name\"", "\n  \"name\"") << false;
        QTest::newRow("missing colon") << replaced("\"name\":", "\"name\"") << false;
        QTest::newRow("missing comma in an unknown list") << replaced("true}", "[1 2]}") << false;
        QTest::newRow("subnormal") << replaced("124.5", "1e-310") << false;
        QTest::newRow("smallest normal") << replaced("124.5", "2.2250738585072014e-308") << true;
        QTest::newRow("unterminated") << list.left(list.size() - 1) << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("an object, not a list") << one << false;
        QTest::newRow("a number, not a list") << QByteArray("5") << false;
        QTest::newRow("missing key") << replaced("\"userId\"", "\"userIdX\"") << false;
        QTest::newRow("required null") << replaced("\"u-81\"", "null") << false;
        QTest::newRow("status unknown") << replaced("in_progress", "paused") << false;
        QTest::newRow("line kind wrong") << replaced("\"isLocked\": true", "\"isLocked\": 1") << false;
        QTest::newRow("lines not a list") << QByteArray("[{\"items\":{}}]") << false;
        QTest::newRow("deep unknown nesting")
            << replaced("true}", QByteArray(2000, '[') + QByteArray(2000, ']') + '}') << false;
    }
    void textReaderAgreesWithObjectReader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, direct);
        const QByteArray expected = outcome([&] { return Project::listFromJson(Json::parse(bytes)); });
        QCOMPARE(outcome([&] { return Project::listFromJson(bytes); }), expected);
        QCOMPARE(ProjectBytesDecoder().directList(bytes).has_value(), direct);
        if (bytes.startsWith('[') && bytes.size() > 2) {
            // The store's single project, read the same way.
            const QByteArray first = bytes.mid(1, fixtureText().size());
            QCOMPARE(outcome([&] { return QList<Project>{Project::fromJsonText(first)}; }),
                     outcome([&] { return QList<Project>{Project::fromJson(Json::parse(first))}; }));
        }
    }

    void textReaderSharesRecurringTexts()
    {
        const QByteArray one = fixtureText();
        const QList<Project> projects = Project::listFromJson('[' + one + ',' + one + ']');
        QCOMPARE(projects.size(), 2);
        QCOMPARE(projects.at(0).currency.constData(), projects.at(1).currency.constData());
        QCOMPARE(projects.at(0).items.at(0).category.constData(), projects.at(1).items.at(0).category.constData());
        QCOMPARE(projects.at(0).userId.constData(), projects.at(1).userId.constData());
    }

    void equalityAndHashing_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("equal");
        QTest::newRow("identical") << Edit([](Project &) {}) << true;
        QTest::newRow("zero vs negative zero cost") << Edit([](Project &p) { p.totalCost = -0.0; }) << true;
        QTest::newRow("clientName absent vs empty") << Edit([](Project &p) { p.clientName = QString(); }) << false;
        QTest::newRow("version absent vs 0") << Edit([](Project &p) { p.version = 0; }) << false;
        QTest::newRow("line order") << Edit([](Project &p) { std::swap(p.items[0], p.items[1]); }) << false;
        QTest::newRow("line done absent vs false") << Edit([](Project &p) { p.items[0].done = false; }) << false;
    }
    void equalityAndHashing()
    {
        QFETCH(Edit, edit);
        QFETCH(bool, equal);
        Project a = Project::fromJson(fixture());
        a.totalCost = 0;
        a.clientName.reset();
        a.version.reset();
        Project b = a;
        edit(b);
        QCOMPARE(a == b, equal);
        QCOMPARE(qHash(a, 7) == qHash(b, 7), equal);
        a.totalHours = b.totalHours = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(a != b); // NaN equals nothing
    }
};

QTEST_GUILESS_MAIN(tst_Project)
#include "tst_Project.moc"
