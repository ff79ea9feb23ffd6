#include "Data/EstimateCatalogLoader.h"
#include "Models/EditableEstimateItem.h"
#include "Models/Project.h"
#include "Models/UpdateProjectRequest.h"
#include "Projects/EstimateValidation.h"
#include "Projects/GuestProjectFactory.h"
#include "Utils/IsoTimestamp.h"
#include "Utils/LineCost.h"
#include "Utils/Json.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimeZone>
#include <limits>

namespace {

using Line = QPair<double, double>; // hours, rate

ProjectItem line(double hours, double rate)
{
    return ProjectItem{QStringLiteral("Строка"), std::nullopt, QStringLiteral("be"), hours, rate, false, std::nullopt};
}

Project projectWith(const QList<Line> &lines, std::optional<double> defaultRate)
{
    Project p;
    p.id = QStringLiteral("local-1");
    p.name = QStringLiteral("Проект");
    p.currency = QStringLiteral("RUB");
    p.userId = QStringLiteral("guest");
    p.defaultRate = defaultRate;
    for (const Line &l : lines)
        p.items.append(line(l.first, l.second));
    p.totalCost = 999;
    p.totalHours = 999;
    return p;
}

EstimateTemplateItem templateLine(const QString &title, std::optional<QString> description, const QString &category,
                                  double hours, double rate)
{
    return EstimateTemplateItem{title, std::move(description), category, hours, rate, true};
}

Project accountProject()
{
    QFile file(QStringLiteral(TESSMARK_TEST_DATA "/projects/account-project.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(file.fileName()));
    return Project::fromJson(Json::parse(file.readAll()));
}

QString unchanged(const QString &categoryId, const QString &)
{
    return categoryId;
}

EditableEstimateItem item(const QString &title, double hours = 1, double rate = 1)
{
    EditableEstimateItem e;
    e.title = title;
    e.category = QStringLiteral("sw_backend");
    e.hours = hours;
    e.rate = rate;
    return e;
}

const QString noName = QStringLiteral("Укажите название проекта");
const QString noTitle = QStringLiteral("У каждой строки должно быть название");
const QString negative = QStringLiteral("Часы и ставка не могут быть отрицательными");
const double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

Q_DECLARE_METATYPE(QList<Line>)
Q_DECLARE_METATYPE(QList<EditableEstimateItem>)
Q_DECLARE_METATYPE(UpdateProjectRequest)

// Rules of an estimate being edited: totals, guest edits, lines from templates, the checks before saving.
class tst_EstimateRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        m_catalog = std::make_unique<EstimateCatalogLoader::ScopedCatalogOverride>(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/lookup.json"));
    }
    void cleanupTestCase() { m_catalog.reset(); }

    void totals_data()
    {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<std::optional<double>>("defaultRate");
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("cost");
        QTest::newRow("default rate and negative hours")
            << QList<Line>{{2, 0}, {-1, 100}} << std::optional<double>(40) << 2.0 << 80.0;
        QTest::newRow("no default rate") << QList<Line>{{3, 0}} << std::optional<double>() << 3.0 << 0.0;
        QTest::newRow("negative default rate") << QList<Line>{{3, 0}} << std::optional<double>(-10) << 3.0 << 0.0;
        QTest::newRow("NaN default rate") << QList<Line>{{3, 0}} << std::optional<double>(notANumber) << 3.0 << 0.0;
        QTest::newRow("negative rate takes default")
            << QList<Line>{{2, -5}} << std::optional<double>(10) << 2.0 << 20.0;
        QTest::newRow("NaN hours count as zero")
            << QList<Line>{{notANumber, 100}, {1, 100}} << std::optional<double>() << 1.0 << 100.0;
        QTest::newRow("NaN rate takes default")
            << QList<Line>{{2, notANumber}} << std::optional<double>(7) << 2.0 << 14.0;
        QTest::newRow("0.125 rounds up") << QList<Line>{{0.125, 1}} << std::optional<double>() << 0.13 << 0.13;
        QTest::newRow("2.675 rounds up") << QList<Line>{{2.675, 1}} << std::optional<double>() << 2.68 << 2.68;
        QTest::newRow("1.005 rounds down on the double product")
            << QList<Line>{{1.005, 1}} << std::optional<double>() << 1.0 << 1.0;
        QTest::newRow("sum before rounding")
            << QList<Line>{{0.004, 1}, {0.004, 1}} << std::optional<double>() << 0.01 << 0.01;
    }
    void totals()
    {
        QFETCH(QList<Line>, lines);
        QFETCH(std::optional<double>, defaultRate);
        QFETCH(double, hours);
        QFETCH(double, cost);
        const Project before = projectWith(lines, defaultRate);
        const Project after = before.recalculatedTotals();
        QCOMPARE(after.totalHours, hours);
        QCOMPARE(after.totalCost, cost);
        Project expected = before;
        expected.totalHours = hours;
        expected.totalCost = cost;
        if (defaultRate && std::isnan(*defaultRate)) {
            QVERIFY(after.defaultRate && std::isnan(*after.defaultRate)); // carried, not repaired
            return;
        }
        QCOMPARE(after, expected); // nothing else changes
    }

    // One line's money: negative and NaN factors count as 0.
    void clampedLineCost_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("cost");
        QTest::newRow("plain") << 2.5 << 100.0 << 250.0;
        QTest::newRow("zero rate stays zero") << 3.0 << 0.0 << 0.0;
        QTest::newRow("negative hours") << -1.0 << 100.0 << 0.0;
        QTest::newRow("negative rate") << 4.0 << -50.0 << 0.0;
        QTest::newRow("NaN hours") << notANumber << 100.0 << 0.0;
        QTest::newRow("NaN rate") << 2.0 << notANumber << 0.0;
    }
    void clampedLineCost()
    {
        QFETCH(double, hours);
        QFETCH(double, rate);
        QFETCH(double, cost);
        QCOMPARE(LineCost::clamped(hours, rate), cost);
    }

    // A rate not above zero takes the default rate, which itself counts as 0 when negative or NaN.
    void lineCostWithFallback_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("defaultRate");
        QTest::addColumn<double>("cost");
        QTest::newRow("own rate") << 2.0 << 30.0 << 40.0 << 60.0;
        QTest::newRow("zero rate takes default") << 2.0 << 0.0 << 40.0 << 80.0;
        QTest::newRow("negative rate takes default") << 2.0 << -5.0 << 40.0 << 80.0;
        QTest::newRow("NaN rate takes default") << 2.0 << notANumber << 40.0 << 80.0;
        QTest::newRow("negative default") << 2.0 << 0.0 << -10.0 << 0.0;
        QTest::newRow("NaN default") << 2.0 << 0.0 << notANumber << 0.0;
        QTest::newRow("negative hours") << -1.0 << 100.0 << 40.0 << 0.0;
        QTest::newRow("NaN hours") << notANumber << 0.0 << 40.0 << 0.0;
    }
    void lineCostWithFallback()
    {
        QFETCH(double, hours);
        QFETCH(double, rate);
        QFETCH(double, defaultRate);
        QFETCH(double, cost);
        QCOMPARE(LineCost::withFallback(hours, rate, defaultRate), cost);
    }

    void guestEditKeepsLineage()
    {
        const Project iteration = accountProject();
        const QDateTime now(QDate(2024, 3, 5), QTime(9, 7, 1, 42), Qt::UTC);
        UpdateProjectRequest edit;
        edit.name = QStringLiteral("Новое имя");
        edit.status = ProjectStatus::Completed;
        edit.items = QList<ProjectItem>{line(1.5, 0), line(1, 20)};
        edit.defaultRate = 10;
        edit.currency = QStringLiteral("USD");
        const Project edited = iteration.withGuestPersistedFields(edit, now);

        Project expected = iteration;
        expected.name = QStringLiteral("Новое имя");
        expected.clientName.reset();
        expected.projectType.reset();
        expected.iterationStartedAt.reset();
        expected.currency = QStringLiteral("USD");
        expected.status = ProjectStatus::Completed;
        expected.defaultRate = 10;
        expected.items = {line(1.5, 0), line(1, 20)};
        expected.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
        expected.totalHours = 2.5;
        expected.totalCost = 35.0;
        QCOMPARE(edited, expected);
    }

    // The request made from an edited project carries every edited field onto the stored one,
    // and nothing of its identity or lineage.
    void guestEditRoundTrip()
    {
        const Project stored = accountProject();
        Project source = projectWith({{4, 0}}, 30);
        source.name = QStringLiteral("Другое имя");
        source.clientName = QStringLiteral("ООО Ромашка");
        source.currency = QStringLiteral("EUR");
        source.status = ProjectStatus::Completed;
        source.projectType = QStringLiteral("one_time");
        source.iterationStartedAt = QStringLiteral("2024-06-01");
        const QDateTime now(QDate(2024, 3, 5), QTime(9, 7, 1, 42), Qt::UTC);

        Project expected = stored;
        expected.name = source.name;
        expected.clientName = source.clientName;
        expected.currency = source.currency;
        expected.status = source.status;
        expected.defaultRate = source.defaultRate;
        expected.items = source.items;
        expected.projectType = source.projectType;
        expected.iterationStartedAt = source.iterationStartedAt;
        expected.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
        QCOMPARE(stored.withGuestPersistedFields(UpdateProjectRequest::fromEditedProject(source), now),
                 expected.recalculatedTotals());
    }

    // Left out of an edit, a field every project has keeps its value and an optional one is
    // cleared: the request has no other way to say "none".
    void guestEditOfAPartialRequest_data()
    {
        QTest::addColumn<UpdateProjectRequest>("edit");
        QTest::addColumn<Project>("expected");
        Project cleared = accountProject();
        cleared.clientName.reset();
        cleared.defaultRate.reset();
        cleared.projectType.reset();
        cleared.iterationStartedAt.reset();
        cleared.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
        cleared = cleared.recalculatedTotals();

        QTest::newRow("empty") << UpdateProjectRequest{} << cleared;

        UpdateProjectRequest nameOnly;
        nameOnly.name = QStringLiteral("Имя");
        Project renamed = cleared;
        renamed.name = QStringLiteral("Имя");
        QTest::newRow("name only") << nameOnly << renamed;

        UpdateProjectRequest emptyClient;
        emptyClient.clientName = QString();
        Project withClient = cleared;
        withClient.clientName = QString();
        QTest::newRow("empty client kept as empty") << emptyClient << withClient;

        UpdateProjectRequest noLines;
        noLines.items = QList<ProjectItem>{};
        Project emptied = cleared;
        emptied.items.clear();
        emptied = emptied.recalculatedTotals();
        QTest::newRow("no lines") << noLines << emptied;
    }
    void guestEditOfAPartialRequest()
    {
        QFETCH(UpdateProjectRequest, edit);
        QFETCH(Project, expected);
        const QDateTime now(QDate(2024, 3, 5), QTime(9, 7, 1, 42), Qt::UTC);
        QCOMPARE(accountProject().withGuestPersistedFields(edit, now), expected);
    }

    void timestampIsUtcWithMilliseconds()
    {
        const QDateTime moscow(QDate(2024, 12, 31), QTime(23, 30, 0, 5), QTimeZone(QByteArrayLiteral("Europe/Moscow")));
        QCOMPARE(isoTimestamp(moscow), QStringLiteral("2024-12-31T20:30:00.005Z"));
    }

    void newProject()
    {
        const Project p = GuestProjectFactory::makeNew(QStringLiteral(" Лендинг "), std::nullopt, QStringLiteral("RUB"),
                                                       ProjectStatus::Draft, std::nullopt, unchanged);
        QVERIFY(
            QRegularExpression(QStringLiteral("^local-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"))
                .match(p.id)
                .hasMatch());
        QVERIFY(GuestProjectFactory::makeNew(p.name, std::nullopt, p.currency, p.status, std::nullopt, unchanged).id
                != p.id);
        QCOMPARE(p.name, QStringLiteral(" Лендинг ")); // not trimmed here
        QCOMPARE(p.defaultRate, std::optional<double>(50));
        QCOMPARE(p.projectType, std::optional<QString>(QStringLiteral("one_time")));
        QCOMPARE(p.version, std::optional<qint64>(1));
        QCOMPARE(p.createdAt, p.updatedAt);

        EstimateTemplate t{QStringLiteral("t-60"),
                           QStringLiteral("design"),
                           QStringLiteral("Шаблон"),
                           std::nullopt,
                           60,
                           {templateLine(QStringLiteral("Макет"), std::nullopt, QStringLiteral("security"), 10, 0)}};
        const Project fromTemplate =
            GuestProjectFactory::makeNew(QStringLiteral("Сайт"), QStringLiteral("Клиент"), QStringLiteral("EUR"),
                                         ProjectStatus::Draft, t, EstimateCatalogLoader::normalizeCategory);
        QCOMPARE(fromTemplate.templateId, std::optional<QString>(QStringLiteral("t-60")));
        QCOMPARE(fromTemplate.items.at(0).rate, 60.0);
        // Normalised for "software", not the template's own sphere.
        QCOMPARE(fromTemplate.items.at(0).category, QStringLiteral("fe"));
        QCOMPARE(fromTemplate.totalCost, 600.0);
    }

    void templateLineMapping_data()
    {
        QTest::addColumn<EstimateTemplateItem>("source");
        QTest::addColumn<double>("defaultRate");
        QTest::addColumn<ProjectItem>("expected");
        const auto mapped = [](const QString &title, std::optional<QString> description, const QString &category,
                               double hours, double rate) {
            return ProjectItem{title, std::move(description), category, hours, rate, true, std::nullopt};
        };
        const QString a = QStringLiteral("a");
        const QString be = QStringLiteral("be");

        QTest::newRow("title trimmed of spaces and tab, line break kept")
            << templateLine(QStringLiteral(" \tAPI\n\t "), std::nullopt, be, 1, 5) << 0.0
            << mapped(QStringLiteral("API\n"), std::nullopt, be, 1, 5);
        QTest::newRow("empty description dropped")
            << templateLine(a, QString(), be, 1, 5) << 0.0 << mapped(a, std::nullopt, be, 1, 5);
        QTest::newRow("description of a space kept")
            << templateLine(a, QStringLiteral(" "), be, 1, 5) << 0.0 << mapped(a, QStringLiteral(" "), be, 1, 5);
        QTest::newRow("legacy id through the map") << templateLine(a, std::nullopt, QStringLiteral("backend"), 1, 5)
                                                   << 0.0 << mapped(a, std::nullopt, be, 1, 5);
        QTest::newRow("negative hours") << templateLine(a, std::nullopt, be, -5, 5) << 0.0
                                        << mapped(a, std::nullopt, be, 0, 5);
        QTest::newRow("negative rate, negative default")
            << templateLine(a, std::nullopt, be, 1, -20) << -30.0 << mapped(a, std::nullopt, be, 1, 0);
        QTest::newRow("zero rate takes default")
            << templateLine(a, std::nullopt, be, 1, 0) << 45.0 << mapped(a, std::nullopt, be, 1, 45);
        QTest::newRow("NaN default gives zero")
            << templateLine(a, std::nullopt, be, 1, 0) << notANumber << mapped(a, std::nullopt, be, 1, 0);
    }
    void templateLineMapping()
    {
        QFETCH(EstimateTemplateItem, source);
        QFETCH(double, defaultRate);
        QFETCH(ProjectItem, expected);
        QCOMPARE(ProjectItem::fromTemplateItem(source, defaultRate, EstimateCatalogLoader::normalizeCategory),
                 expected);
    }

    void validate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<EditableEstimateItem>>("items");
        QTest::addColumn<QString>("message"); // empty: may be saved
        QTest::addColumn<int>("line"); // the line that stops the save, -1: none or the name

        QTest::newRow("blank name wins over lines")
            << " \t\u00A0" << QList<EditableEstimateItem>{item(QString(), -1, -1)} << noName << -1;
        QTest::newRow("name of a line break passes") << "\n" << QList<EditableEstimateItem>{} << "" << -1;
        QTest::newRow("lines in order: numbers of line 1 first")
            << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), 1, -1), item(QString())} << negative
            << 0;
        QTest::newRow("title before numbers in one line")
            << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral(" "), -1, 1)} << noTitle << 0;
        QTest::newRow("the second line stops it")
            << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), 1, 1), item(QString())} << noTitle << 1;
        QTest::newRow("negative hours") << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), -0.5, 1)}
                                        << negative << 0;
        QTest::newRow("negative zero passes")
            << "Сайт" << QList<EditableEstimateItem>{item(QStringLiteral("a"), -0.0, -0.0)} << "" << -1;
        QTest::newRow("NaN passes") << "Сайт"
                                    << QList<EditableEstimateItem>{item(QStringLiteral("a"), notANumber, notANumber)}
                                    << "" << -1;
    }
    void validate()
    {
        QFETCH(QString, name);
        QFETCH(QList<EditableEstimateItem>, items);
        QFETCH(QString, message);
        QFETCH(int, line);
        const auto result = EstimateValidation::validate(items, name);
        QCOMPARE(result.value_or(QString()), message);
        QCOMPARE(result.has_value(), !message.isEmpty());
        QCOMPARE(EstimateValidation::invalidLine(items, name).value_or(-1), qsizetype(line));
    }

    void workingCopiesHaveFreshIdentities()
    {
        const EditableEstimateItem a = item(QStringLiteral("API"));
        QVERIFY(a.id != item(QStringLiteral("API")).id);
        EditableEstimateItem c = a;
        EditableEstimateItem d = a;
        c.rate = -0.0;
        d.rate = 0.0;
        QCOMPARE(c, d);
        QCOMPARE(qHash(c), qHash(d));
    }

    // Core's folders depend one way, records near the bottom: a folder includes only folders
    // beneath it, so that no helper of the records builds them and the store knows no service.
    void coreFoldersDependOneWay_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("beneath");
        const QStringList records{"Utils", "Models"};
        const QStringList store = records + QStringList{"Projects", "Data"};
        QTest::newRow("Utils") << "Utils" << QStringList{};
        QTest::newRow("Models") << "Models" << QStringList{"Utils"};
        QTest::newRow("Projects") << "Projects" << records;
        QTest::newRow("Data") << "Data" << records + QStringList{"Projects"};
        QTest::newRow("Export") << "Export" << store;
        QTest::newRow("Settings") << "Settings" << store;
        QTest::newRow("Config") << "Config" << QStringList{"Utils"};
        QTest::newRow("API") << "API" << store + QStringList{"Settings", "Config"};
        QTest::newRow("Auth") << "Auth" << store + QStringList{"Settings", "Config", "API"};
    }
    void coreFoldersDependOneWay()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, beneath);
        const QDir core(QStringLiteral(TESSMARK_CORE_DIR));
        const QStringList folders = core.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(folders.contains(folder));
        static const QRegularExpression include(QStringLiteral("^#include \"(\\w+)/"),
                                                QRegularExpression::MultilineOption);
        const QDir dir(core.filePath(folder));
        const QStringList files = dir.entryList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto match = include.globalMatch(text); match.hasNext();) {
                const QString target = match.next().captured(1);
                if (target == folder || !folders.contains(target))
                    continue;
                QVERIFY2(beneath.contains(target),
                         qPrintable(folder + QLatin1Char('/') + name + " includes " + target));
            }
        }
    }

private:
    std::unique_ptr<EstimateCatalogLoader::ScopedCatalogOverride> m_catalog;
};

QTEST_GUILESS_MAIN(tst_EstimateRules)
#include "tst_EstimateRules.moc"
