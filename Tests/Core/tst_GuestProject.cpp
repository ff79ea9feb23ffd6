#include "Data/EstimateCatalogLoader.h"
#include "Models/Project.h"
#include "Utils/GuestProjectFactory.h"

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

const double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

Q_DECLARE_METATYPE(QList<Line>)

class tst_GuestProject : public QObject
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
        QTest::newRow("no lines") << QList<Line>{} << std::optional<double>(40) << 0.0 << 0.0;
        QTest::newRow("default rate and negative hours")
            << QList<Line>{{2, 0}, {-1, 100}} << std::optional<double>(40) << 2.0 << 80.0;
        QTest::newRow("no default rate") << QList<Line>{{3, 0}} << std::optional<double>() << 3.0 << 0.0;
        QTest::newRow("negative default rate") << QList<Line>{{3, 0}} << std::optional<double>(-10) << 3.0 << 0.0;
        QTest::newRow("NaN default rate") << QList<Line>{{3, 0}} << std::optional<double>(notANumber) << 3.0 << 0.0;
        QTest::newRow("negative rate takes default") << QList<Line>{{2, -5}} << std::optional<double>(10) << 2.0 << 20.0;
        QTest::newRow("NaN hours count as zero") << QList<Line>{{notANumber, 100}, {1, 100}} << std::optional<double>() << 1.0 << 100.0;
        QTest::newRow("NaN rate takes default") << QList<Line>{{2, notANumber}} << std::optional<double>(7) << 2.0 << 14.0;
        QTest::newRow("0.125 rounds up") << QList<Line>{{0.125, 1}} << std::optional<double>() << 0.13 << 0.13;
        QTest::newRow("2.675 rounds up") << QList<Line>{{2.675, 1}} << std::optional<double>() << 2.68 << 2.68;
        QTest::newRow("1.005 rounds down on the double product")
            << QList<Line>{{1.005, 1}} << std::optional<double>() << 1.0 << 1.0;
        QTest::newRow("sum before rounding") << QList<Line>{{0.004, 1}, {0.004, 1}} << std::optional<double>() << 0.01 << 0.01;
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

    void guestEditKeepsLineage()
    {
        Project iteration = projectWith({{2, 0}}, 40);
        iteration.createdAt = QStringLiteral("2024-01-01T00:00:00.000Z");
        iteration.updatedAt = iteration.createdAt;
        iteration.templateId = QStringLiteral("t1");
        iteration.parentProjectId = QStringLiteral("root");
        iteration.baseProjectId = QStringLiteral("base");
        iteration.version = 3;
        iteration.iterationName = QStringLiteral("Этап 3");
        iteration.iterationNotes = QStringLiteral("заметки");
        iteration.iterationStartedAt = QStringLiteral("2024-01-02");
        iteration.clientName = QStringLiteral("Клиент");
        iteration.projectType = QStringLiteral("iterative");

        const QDateTime now(QDate(2024, 3, 5), QTime(9, 7, 1, 42), Qt::UTC);
        const Project edited = iteration.withGuestPersistedFields(
            QStringLiteral("Новое имя"), std::nullopt, QStringLiteral("USD"), ProjectStatus::Completed, 10,
            {line(1.5, 0), line(1, 20)}, std::nullopt, std::nullopt, now);

        QCOMPARE(edited.name, QStringLiteral("Новое имя"));
        QVERIFY(!edited.clientName);
        QVERIFY(!edited.projectType);
        QVERIFY(!edited.iterationStartedAt);
        QCOMPARE(edited.defaultRate, std::optional<double>(10));
        QCOMPARE(edited.status, ProjectStatus::Completed);
        QCOMPARE(edited.currency, QStringLiteral("USD"));
        QCOMPARE(edited.updatedAt, QStringLiteral("2024-03-05T09:07:01.042Z"));
        QCOMPARE(edited.createdAt, iteration.createdAt);
        QCOMPARE(edited.totalHours, 2.5);
        QCOMPARE(edited.totalCost, 35.0);
        for (auto field : {&Project::id, &Project::userId})
            QCOMPARE(edited.*field, iteration.*field);
        for (auto field : {&Project::templateId, &Project::parentProjectId, &Project::baseProjectId,
                           &Project::iterationName, &Project::iterationNotes})
            QCOMPARE(edited.*field, iteration.*field);
        QCOMPARE(edited.version, iteration.version);
    }

    void timestampIsUtcWithMilliseconds()
    {
        const QDateTime moscow(QDate(2024, 12, 31), QTime(23, 30, 0, 5), QTimeZone(QByteArrayLiteral("Europe/Moscow")));
        QCOMPARE(GuestProjectFactory::isoTimestamp(moscow), QStringLiteral("2024-12-31T20:30:00.005Z"));
        const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}\\.\\d{3}Z$"));
        QVERIFY(shape.match(GuestProjectFactory::isoTimestamp(QDateTime::currentDateTimeUtc())).hasMatch());
    }

    void newProjectWithoutTemplate()
    {
        const Project p = GuestProjectFactory::makeNew(QStringLiteral(" Лендинг "), std::nullopt, QStringLiteral("RUB"),
                                                       ProjectStatus::Draft, std::nullopt);
        QVERIFY(QRegularExpression(QStringLiteral("^local-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"))
                    .match(p.id)
                    .hasMatch());
        QCOMPARE(p.name, QStringLiteral(" Лендинг ")); // not trimmed here
        QCOMPARE(p.userId, QStringLiteral("guest"));
        QCOMPARE(p.defaultRate, std::optional<double>(50));
        QVERIFY(p.items.isEmpty());
        QVERIFY(!p.templateId);
        QCOMPARE(p.totalCost, 0.0);
        QCOMPARE(p.totalHours, 0.0);
        QCOMPARE(p.projectType, std::optional<QString>(QStringLiteral("one_time")));
        QCOMPARE(p.version, std::optional<qint64>(1));
        QCOMPARE(p.createdAt, p.updatedAt);
        QVERIFY(!p.parentProjectId && !p.baseProjectId && !p.iterationName && !p.iterationNotes && !p.iterationStartedAt);
        QVERIFY(GuestProjectFactory::makeNew(p.name, std::nullopt, p.currency, p.status, std::nullopt).id != p.id);
    }

    void newProjectFromTemplate()
    {
        EstimateTemplate t{QStringLiteral("t-60"), QStringLiteral("design"), QStringLiteral("Шаблон"), std::nullopt, 60,
                           {templateLine(QStringLiteral("Макет"), std::nullopt, QStringLiteral("security"), 10, 0)}};
        const Project p = GuestProjectFactory::makeNew(QStringLiteral("Сайт"), QStringLiteral("Клиент"),
                                                       QStringLiteral("EUR"), ProjectStatus::Draft, t);
        QCOMPARE(p.templateId, std::optional<QString>(QStringLiteral("t-60")));
        QCOMPARE(p.defaultRate, std::optional<double>(60));
        QCOMPARE(p.items.size(), 1);
        QCOMPARE(p.items.at(0).rate, 60.0);
        // Normalised for "software", not the template's own sphere.
        QCOMPARE(p.items.at(0).category, QStringLiteral("fe"));
        QCOMPARE(p.totalHours, 10.0);
        QCOMPARE(p.totalCost, 600.0);
    }

    void templateLineMapping_data()
    {
        QTest::addColumn<EstimateTemplateItem>("source");
        QTest::addColumn<double>("defaultRate");
        QTest::addColumn<QString>("title");
        QTest::addColumn<std::optional<QString>>("description");
        QTest::addColumn<QString>("category");
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("rate");

        QTest::newRow("title trimmed of spaces and tab, line break kept")
            << templateLine(QStringLiteral(" \tAPI\n\t "), std::nullopt, QStringLiteral("be"), 1, 5) << 0.0
            << "API\n" << std::optional<QString>() << "be" << 1.0 << 5.0;
        QTest::newRow("empty description dropped")
            << templateLine(QStringLiteral("a"), QString(), QStringLiteral("be"), 1, 5) << 0.0 << "a"
            << std::optional<QString>() << "be" << 1.0 << 5.0;
        QTest::newRow("description of a space kept")
            << templateLine(QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("be"), 1, 5) << 0.0 << "a"
            << std::optional<QString>(QStringLiteral(" ")) << "be" << 1.0 << 5.0;
        QTest::newRow("legacy id through the map")
            << templateLine(QStringLiteral("a"), std::nullopt, QStringLiteral("backend"), 1, 5) << 0.0 << "a"
            << std::optional<QString>() << "be" << 1.0 << 5.0;
        QTest::newRow("negative hours")
            << templateLine(QStringLiteral("a"), std::nullopt, QStringLiteral("be"), -5, 5) << 0.0 << "a"
            << std::optional<QString>() << "be" << 0.0 << 5.0;
        QTest::newRow("negative rate, negative default")
            << templateLine(QStringLiteral("a"), std::nullopt, QStringLiteral("be"), 1, -20) << -30.0 << "a"
            << std::optional<QString>() << "be" << 1.0 << 0.0;
        QTest::newRow("zero rate takes default")
            << templateLine(QStringLiteral("a"), std::nullopt, QStringLiteral("be"), 1, 0) << 45.0 << "a"
            << std::optional<QString>() << "be" << 1.0 << 45.0;
        QTest::newRow("NaN default gives zero")
            << templateLine(QStringLiteral("a"), std::nullopt, QStringLiteral("be"), 1, 0) << notANumber << "a"
            << std::optional<QString>() << "be" << 1.0 << 0.0;
    }
    void templateLineMapping()
    {
        QFETCH(EstimateTemplateItem, source);
        QFETCH(double, defaultRate);
        QFETCH(QString, title);
        QFETCH(std::optional<QString>, description);
        QFETCH(QString, category);
        QFETCH(double, hours);
        QFETCH(double, rate);
        const ProjectItem item = ProjectItem::fromTemplateItem(source, defaultRate);
        QCOMPARE(item.title, title);
        QCOMPARE(item.description, description);
        QCOMPARE(item.category, category);
        QCOMPARE(item.hours, hours);
        QCOMPARE(item.rate, rate);
        QCOMPARE(item.isLocked, true);
        QVERIFY(!item.done);
    }

private:
    std::unique_ptr<EstimateCatalogLoader::ScopedCatalogOverride> m_catalog;
};

QTEST_GUILESS_MAIN(tst_GuestProject)
#include "tst_GuestProject.moc"
