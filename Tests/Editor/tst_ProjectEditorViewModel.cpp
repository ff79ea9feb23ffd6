#include "EditorSamples.h"
#include "../Support/BoundedTexts.h"
#include "../Support/FiniteTexts.h"
#include "Features/Editor/ProjectEditorViewModel.h"

#include "Data/EstimateCatalogLoader.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"

#include <QAbstractItemModelTester>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QSignalSpy>
#include <QTest>
#include <clocale>
#include <functional>
#include <limits>
#include <memory>

#include "App/AppQmlPlugins.h"

using namespace EditorSamples;

namespace {

using Edit = std::function<void(ProjectEditorViewModel &)>;

const QString rub = QStringLiteral("RUB");

QString money(double amount)
{
    return MoneyFormat::format(amount, rub);
}

QStringList sectionIds(const ProjectEditorViewModel &vm)
{
    QStringList ids;
    for (const EstimateSection &section : vm.estimateSections())
        ids.append(section.id);
    return ids;
}

QStringList sectionSubtitles(const ProjectEditorViewModel &vm)
{
    QStringList out;
    for (const EstimateSection &section : vm.estimateSections())
        out.append(section.subtitle.value_or(QStringLiteral("<none>")));
    return out;
}

// The lines in display order, section by section.
QStringList displayedTitles(const ProjectEditorViewModel &vm)
{
    QStringList out;
    for (const EstimateSection &section : vm.estimateSections())
        out += titles(section.items);
    return out;
}

// The flat model's rows as "section|title", which must always match the sections.
QStringList modelRows(const ProjectEditorViewModel &vm)
{
    QStringList out;
    const EstimateSectionsModel &model = *vm.sections();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        out.append(index.data(EstimateSectionsModel::SectionIdRole).toString() + QLatin1Char('|')
                   + index.data(EstimateSectionsModel::TitleRole).toString());
    }
    return out;
}

QStringList expectedRows(const ProjectEditorViewModel &vm)
{
    QStringList out;
    for (const EstimateSection &section : vm.estimateSections()) {
        for (const EditableEstimateItem &item : section.items)
            out.append(section.id + QLatin1Char('|') + item.title);
    }
    return out;
}

// A view model in the error state of a failed validation, which markDirty() would clear.
void failValidation(ProjectEditorViewModel &vm)
{
    const QString name = vm.name();
    vm.setName(QStringLiteral(" \t"));
    vm.save();
    vm.setName(name);
}

} // namespace

Q_DECLARE_METATYPE(Edit)

// The editor's working copy: loading, change tracking, edits, sections, totals and moves.
class tst_ProjectEditorViewModel : public QObject
{
    Q_OBJECT

private:
    // Without a catalog, categories stay as they are and tables can name them freely.
    std::unique_ptr<EstimateCatalogLoader::ScopedCatalogOverride> m_catalog;

private Q_SLOTS:
    void initTestCase()
    {
        m_catalog = std::make_unique<EstimateCatalogLoader::ScopedCatalogOverride>(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/no-such-catalog.json"));
    }
    void cleanupTestCase() { m_catalog.reset(); }

    void loadRates_data()
    {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<std::optional<double>>("stored");
        QTest::addColumn<double>("defaultRate");
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<QList<double>>("hours");
        const auto l = [](double hours, double rate) {
            return Line{QStringLiteral("a"), QStringLiteral("be"), hours, rate};
        };
        const std::optional<double> none;
        QTest::newRow("no rate, no lines") << QList<Line>{} << none << 50.0 << QList<double>{} << QList<double>{};
        QTest::newRow("no rate: the first line's, even 0")
            << QList<Line>{l(1, 0), l(2, 70)} << none << 0.0 << QList<double>{0, 70} << QList<double>{1, 2};
        QTest::newRow("no rate: the first line's, even negative")
            << QList<Line>{l(1, -5), l(2, 0)} << none << -5.0 << QList<double>{-5, -5} << QList<double>{1, 2};
        QTest::newRow("zero, negative and NaN rates take the default")
            << QList<Line>{l(1, 0), l(1, -1), l(1, notANumber), l(1, 30)} << std::optional<double>(90) << 90.0
            << QList<double>{90, 90, 90, 30} << QList<double>{1, 1, 1, 1};
        QTest::newRow("hours not clamped") << QList<Line>{l(-3, 10), l(0.5, 10)} << std::optional<double>(10) << 10.0
                                           << QList<double>{10, 10} << QList<double>{-3, 0.5};
        QTest::newRow("stored default rate kept when negative")
            << QList<Line>{l(1, 0)} << std::optional<double>(-4) << -4.0 << QList<double>{-4} << QList<double>{1};
    }
    void loadRates()
    {
        QFETCH(QList<Line>, lines);
        QFETCH(std::optional<double>, stored);
        QFETCH(double, defaultRate);
        QFETCH(QList<double>, rates);
        QFETCH(QList<double>, hours);
        const ProjectEditorViewModel vm(project(lines, stored), nullptr);
        QCOMPARE(vm.defaultRate(), defaultRate);
        QList<double> loadedRates;
        QList<double> loadedHours;
        for (const EditableEstimateItem &item : vm.items()) {
            loadedRates.append(item.rate);
            loadedHours.append(item.hours);
        }
        QCOMPARE(loadedRates, rates);
        QCOMPARE(loadedHours, hours);
        QVERIFY(!vm.isDirty());
    }

    void loadFields_data()
    {
        QTest::addColumn<std::optional<QString>>("projectType");
        QTest::addColumn<ProjectTypeOption>("expected");
        QTest::newRow("iterative") << std::optional<QString>(QStringLiteral("iterative"))
                                   << ProjectTypeOption::Iterative;
        QTest::newRow("other case") << std::optional<QString>(QStringLiteral("Iterative"))
                                    << ProjectTypeOption::OneTime;
        QTest::newRow("padded") << std::optional<QString>(QStringLiteral("iterative ")) << ProjectTypeOption::OneTime;
        QTest::newRow("absent") << std::optional<QString>() << ProjectTypeOption::OneTime;
        QTest::newRow("one_time") << std::optional<QString>(QStringLiteral("one_time")) << ProjectTypeOption::OneTime;
    }
    void loadFields()
    {
        QFETCH(std::optional<QString>, projectType);
        QFETCH(ProjectTypeOption, expected);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/lookup.json"));
        Project p = project({{QStringLiteral("API"), QStringLiteral("backend"), 2, 10},
                             {QStringLiteral("Тесты"), QStringLiteral("qa"), 1, 10}});
        p.projectType = projectType;
        p.items[0].description = QStringLiteral("Описание");
        p.items[0].done = true;
        p.clientName.reset();

        const ProjectEditorViewModel first(p, nullptr);
        const ProjectEditorViewModel second(p, nullptr);
        QCOMPARE(first.projectTypeOption(), expected);
        QCOMPARE(first.clientName(), QString());
        QCOMPARE(first.items().at(0).description, QStringLiteral("Описание"));
        QCOMPARE(first.items().at(1).description, QString());
        // Mapped through the legacy map; "qa" maps to nothing known and takes the sphere's first.
        QCOMPARE(first.items().at(0).category, QStringLiteral("be"));
        QCOMPARE(first.items().at(1).category, QStringLiteral("fe"));
        QCOMPARE(first.estimateSections().first().title, QStringLiteral("Серверная часть"));
        QVERIFY(first.items().at(0).id != second.items().at(0).id);
        QVERIFY(first.items().at(0).id != first.items().at(1).id);
        QVERIFY(!first.isDirty());
        QVERIFY(!second.isDirty());
        QCOMPARE(first.saveStateRaw(), QStringLiteral("idle"));
        QCOMPARE(first.groupMode(), EstimateGroupMode::Category);
    }

    void dirtiness_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<int>("notifications");
        QTest::newRow("type only") << Edit([](auto &vm) { vm.setProjectTypeOption(ProjectTypeOption::Iterative); })
                                   << false << 0;
        QTest::newRow("group mode only") << Edit([](auto &vm) { vm.setGroupMode(EstimateGroupMode::HoursDesc); })
                                         << false << 0;
        QTest::newRow("name and back") << Edit([](auto &vm) {
            vm.setName(QStringLiteral("Другое"));
            vm.setName(QStringLiteral("Сайт"));
        }) << false << 2;
        QTest::newRow("name") << Edit([](auto &vm) { vm.setName(QStringLiteral("Сайт ")); }) << true << 1;
        QTest::newRow("client") << Edit([](auto &vm) { vm.setClientName(QStringLiteral("ООО")); }) << true << 1;
        QTest::newRow("currency") << Edit([](auto &vm) { vm.setCurrency(QStringLiteral("USD")); }) << true << 1;
        QTest::newRow("status") << Edit([](auto &vm) { vm.setStatus(ProjectStatus::Rejected); }) << true << 1;
        QTest::newRow("default rate") << Edit([](auto &vm) { vm.setDefaultRate(100.5); }) << true << 1;
        QTest::newRow("a line's hours") << Edit([](auto &vm) {
            vm.updateItem(vm.items().at(1).id, [](EditableEstimateItem &item) { item.hours = 3; });
        }) << true << 1;
        QTest::newRow("line order") << Edit([](auto &vm) {
            QList<EditableEstimateItem> items = vm.items();
            items.swapItemsAt(0, 1);
            vm.setItems(items);
        }) << true << 1;
        QTest::newRow("same line under a new identity") << Edit([](auto &vm) {
            QList<EditableEstimateItem> items = vm.items();
            items[0].id = QUuid::createUuid();
            vm.setItems(items);
        }) << true << 1;
        QTest::newRow("a line's rate and back") << Edit([](auto &vm) {
            const QUuid id = vm.items().at(0).id;
            vm.updateItem(id, [](EditableEstimateItem &item) { item.rate = 1; });
            vm.updateItem(id, [](EditableEstimateItem &item) { item.rate = 100; });
        }) << false << 2;
    }
    void dirtiness()
    {
        QFETCH(Edit, edit);
        QFETCH(bool, dirty);
        QFETCH(int, notifications);
        ProjectEditorViewModel vm(project({{QStringLiteral("a"), QStringLiteral("be"), 1, 100},
                                           {QStringLiteral("b"), QStringLiteral("fe"), 2, 100}}),
                                  nullptr);
        QSignalSpy changed(&vm, &ProjectEditorViewModel::isDirtyChanged);
        edit(vm);
        QCOMPARE(vm.isDirty(), dirty);
        QCOMPARE(changed.count(), notifications);
    }

    // Edits that change nothing leave the state alone; the others count as edits.
    void edits_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<bool>("markedDirty");
        const QStringList all{"a", "b", "a2"};
        const QList<double> rates{10, 20, 30};
        QTest::newRow("update of an unknown line") << Edit([](auto &vm) {
            vm.updateItem(QUuid::createUuid(), [](EditableEstimateItem &item) { item.title = "x"; });
        }) << all << rates << false;
        QTest::newRow("update changes the first line of the identity") << Edit([](auto &vm) {
            vm.updateItem(vm.items().at(0).id, [](EditableEstimateItem &item) { item.title = QStringLiteral("x"); });
        }) << QStringList{"x", "b", "a2"} << rates << true;
        QTest::newRow("delete removes every line of the identity")
            << Edit([](auto &vm) { vm.deleteItem(vm.items().at(0).id); }) << QStringList{"b"} << QList<double>{20}
            << true;
        QTest::newRow("delete of an unknown line still counts")
            << Edit([](auto &vm) { vm.deleteLine(QUuid::createUuid().toString()); }) << all << rates << true;
        QTest::newRow("default rate to unlocked lines")
            << Edit([](auto &vm) { vm.applyDefaultRateToUnlocked(); }) << all << QList<double>{10, 5, 30} << true;
        QTest::newRow("default rate when all are locked") << Edit([](auto &vm) {
            QList<EditableEstimateItem> items = vm.items();
            items[1].isLocked = true;
            vm.setItems(items);
            vm.applyDefaultRateToUnlocked();
        }) << all << rates << true;
    }
    void edits()
    {
        QFETCH(Edit, edit);
        QFETCH(QStringList, titles);
        QFETCH(QList<double>, rates);
        QFETCH(bool, markedDirty);
        ProjectEditorViewModel vm(project({}, 5), nullptr);
        // Two lines share one identity, as lines written in directly may.
        QList<EditableEstimateItem> items{editable({"a", "be", 1, 10, true}), editable({"b", "be", 1, 20}),
                                          editable({"a2", "be", 1, 30, true})};
        items[2].id = items[0].id;
        vm.setItems(items);
        failValidation(vm);
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
        QVERIFY(vm.validationMessage());

        edit(vm);
        QCOMPARE(EditorSamples::titles(vm.items()), titles);
        QList<double> loadedRates;
        for (const EditableEstimateItem &item : vm.items())
            loadedRates.append(item.rate);
        QCOMPARE(loadedRates, rates);
        QCOMPARE(vm.saveStateRaw(), markedDirty ? QStringLiteral("idle") : QStringLiteral("error"));
        QCOMPARE(vm.validationMessage().has_value(), !markedDirty);
    }

    void applyTemplate_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("append") << false << QStringList{"old", "API", "UI"};
        QTest::newRow("replace") << true << QStringList{"API", "UI"};
    }
    void applyTemplate()
    {
        QFETCH(bool, replace);
        QFETCH(QStringList, titles);
        const EstimateCatalogLoader::ScopedCatalogOverride catalog(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/lookup.json"));
        ProjectEditorViewModel vm(project({{QStringLiteral("old"), QStringLiteral("be"), 1, 10}}, 10), nullptr);
        EstimateTemplate t;
        t.defaultRate = 75;
        t.items = {
            EstimateTemplateItem{QStringLiteral("API"), QStringLiteral("d"), QStringLiteral("backend"), 4, 0, true},
            EstimateTemplateItem{QStringLiteral("UI"), std::nullopt, QStringLiteral("fe"), -2, 120, false}};
        QList<double> ratesWhenLinesChanged;
        connect(&vm, &ProjectEditorViewModel::itemsChanged, &vm,
                [&] { ratesWhenLinesChanged.append(vm.defaultRate()); });
        vm.applyTemplate(t, replace);
        QCOMPARE(ratesWhenLinesChanged, QList<double>{75}); // the rate is set before the lines
        QCOMPARE(EditorSamples::titles(vm.items()), titles);
        const EditableEstimateItem &api = vm.items().at(titles.indexOf(QStringLiteral("API")));
        const EditableEstimateItem &ui = vm.items().at(titles.indexOf(QStringLiteral("UI")));
        QCOMPARE(api.rate, 75.0);
        QCOMPARE(api.category, QStringLiteral("be"));
        QCOMPARE(api.description, QStringLiteral("d"));
        QVERIFY(api.isLocked);
        QCOMPARE(ui.rate, 120.0);
        QCOMPARE(ui.hours, -2.0);
        QCOMPARE(ui.description, QString());
        QVERIFY(vm.isDirty());
    }

    void syncFromServer_data()
    {
        QTest::addColumn<std::optional<double>>("returnedRate");
        QTest::addColumn<double>("defaultRate");
        QTest::newRow("rate returned") << std::optional<double>(60) << 60.0;
        QTest::newRow("no rate returned: the current one stays") << std::optional<double>() << 42.0;
    }
    void syncFromServer()
    {
        QFETCH(std::optional<double>, returnedRate);
        QFETCH(double, defaultRate);
        ProjectEditorViewModel vm(project({}, 10), nullptr);
        vm.setDefaultRate(42);
        vm.setGroupMode(EstimateGroupMode::CostDesc);
        failValidation(vm);
        Project returned = project({{QStringLiteral("a"), QStringLiteral("be"), 1, 0}}, returnedRate);
        returned.name = QStringLiteral("С сервера");
        returned.projectType = QStringLiteral("iterative");
        vm.syncFromServer(returned);
        QCOMPARE(vm.defaultRate(), defaultRate);
        QCOMPARE(vm.items().first().rate, defaultRate);
        QCOMPARE(vm.name(), QStringLiteral("С сервера"));
        QCOMPARE(vm.projectTypeOption(), ProjectTypeOption::Iterative);
        QVERIFY(!vm.isDirty());
        QCOMPARE(vm.groupMode(), EstimateGroupMode::CostDesc);
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
        QVERIFY(vm.validationMessage());
    }

    void iterationRootId_data()
    {
        QTest::addColumn<std::optional<QString>>("parent");
        QTest::addColumn<std::optional<QString>>("base");
        QTest::addColumn<QString>("expected");
        const auto id = [](const char *s) { return std::optional<QString>(QString::fromUtf8(s)); };
        const std::optional<QString> none;
        QTest::newRow("parent") << id("root") << id("base") << QStringLiteral("root");
        QTest::newRow("parent is itself: base") << id("p-1") << id("base") << QStringLiteral("base");
        QTest::newRow("parent is itself, no base") << id("p-1") << none << QStringLiteral("p-1");
        QTest::newRow("both itself") << id("p-1") << id("p-1") << QStringLiteral("p-1");
        QTest::newRow("base only") << none << id("base") << QStringLiteral("base");
        QTest::newRow("neither") << none << none << QStringLiteral("p-1");
    }
    void iterationRootId()
    {
        QFETCH(std::optional<QString>, parent);
        QFETCH(std::optional<QString>, base);
        QFETCH(QString, expected);
        Project p = project();
        p.parentProjectId = parent;
        p.baseProjectId = base;
        QCOMPARE(ProjectEditorViewModel(p, nullptr).iterationRootId(), expected);
    }

    void categorySections_data()
    {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QStringList>("subtitles");
        QTest::newRow("no lines") << QList<Line>{} << QStringList{} << QStringList{} << QStringList{};
        QTest::newRow("ascending, list order within")
            << QList<Line>{{"q", "qa", 1, 10},
                           {"b1", "backend", 2, 10},
                           {"d", "design", 1, 10},
                           {"b2", "backend", 1, 10}}
            << QStringList{"backend", "design", "qa"} << QStringList{"b1", "b2", "d", "q"}
            << QStringList{"3.0 ч · " + money(30), "1.0 ч · " + money(10), "1.0 ч · " + money(10)};
        QTest::newRow("scalar order, not locale order")
            << QList<Line>{{"a", "a", 1, 1}, {"Z", "Z", 1, 1}} << QStringList{"Z", "a"} << QStringList{"Z", "a"}
            << QStringList{"1.0 ч · " + money(1), "1.0 ч · " + money(1)};
        QTest::newRow("scalar order, not UTF-16 order")
            << QList<Line>{{"emoji", QStringLiteral("\U0001F600"), 1, 1}, {"wide", QStringLiteral("\uFF21"), 1, 1}}
            << QStringList{QStringLiteral("\uFF21"), QStringLiteral("\U0001F600")} << QStringList{"wide", "emoji"}
            << QStringList{"1.0 ч · " + money(1), "1.0 ч · " + money(1)};
        QTest::newRow("negative and NaN factors add nothing")
            << QList<Line>{{"a", "be", -3, 100},
                           {"b", "be", 2, -5},
                           {"c", "be", notANumber, 1},
                           {"d", "be", 1, notANumber}}
            << QStringList{"be"} << QStringList{"a", "b", "c", "d"} << QStringList{"3.0 ч · " + money(0)};
        // 0.2501 h would be 0.25 ("0.2") rounded; 2.5049 would be 2.5 (money 2) rounded.
        QTest::newRow("sums not rounded")
            << QList<Line>{{"a", "be", 0.25, 10.0196}, {"b", "be", 0.0001, 0}} << QStringList{"be"}
            << QStringList{"a", "b"} << QStringList{"0.3 ч · " + money(3)};
    }
    void categorySections()
    {
        QFETCH(QList<Line>, lines);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, order);
        QFETCH(QStringList, subtitles);
        ProjectEditorViewModel vm(project({}, 1), nullptr);
        vm.setItems(editable(lines));
        QCOMPARE(sectionIds(vm), ids);
        QCOMPARE(displayedTitles(vm), order);
        QCOMPARE(sectionSubtitles(vm), subtitles);
        QCOMPARE(modelRows(vm), expectedRows(vm));
    }

    void sortedSections_data()
    {
        QTest::addColumn<EstimateGroupMode>("mode");
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subtitle");
        QTest::newRow("cost, negative hours by the stored product")
            << EstimateGroupMode::CostDesc << QList<Line>{{"a", "x", 2, 10}, {"b", "y", -3, 100}, {"c", "x", 1, 5}}
            << QStringList{"a", "c", "b"} << QStringLiteral("По стоимости") << QStringLiteral("3 строк");
        QTest::newRow("cost, equal keys keep list order")
            << EstimateGroupMode::CostDesc
            << QList<Line>{{"a", "x", 1, 10}, {"b", "y", 2, 5}, {"c", "x", 5, 2}, {"d", "x", 1, 20}}
            << QStringList{"d", "a", "b", "c"} << QStringLiteral("По стоимости") << QStringLiteral("4 строк");
        QTest::newRow("cost, NaN is the smallest, stable")
            << EstimateGroupMode::CostDesc
            << QList<Line>{{"n1", "x", notANumber, 1},
                           {"b", "x", 1, 1},
                           {"n2", "x", 1, notANumber},
                           {"neg", "x", -1, 1},
                           {"d", "x", 2, 1}}
            << QStringList{"d", "b", "neg", "n1", "n2"} << QStringLiteral("По стоимости") << QStringLiteral("5 строк");
        QTest::newRow("hours, NaN below minus infinity")
            << EstimateGroupMode::HoursDesc
            << QList<Line>{{"n", "x", notANumber, 1},
                           {"inf", "x", -qInf(), 1},
                           {"one", "x", 1, 1},
                           {"n2", "x", notANumber, 9}}
            << QStringList{"one", "inf", "n", "n2"} << QStringLiteral("По часам") << QStringLiteral("4 строк");
        QTest::newRow("one line") << EstimateGroupMode::HoursDesc << QList<Line>{{"a", "x", 1, 1}} << QStringList{"a"}
                                  << QStringLiteral("По часам") << QStringLiteral("1 строк");
    }
    void sortedSections()
    {
        QFETCH(EstimateGroupMode, mode);
        QFETCH(QList<Line>, lines);
        QFETCH(QStringList, order);
        QFETCH(QString, title);
        QFETCH(QString, subtitle);
        ProjectEditorViewModel vm(project({}, 1), nullptr);
        vm.setItems(editable(lines));
        QSignalSpy reset(vm.sections(), &QAbstractItemModel::modelReset);
        vm.setGroupMode(mode);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(vm.estimateSections().size(), 1);
        const EstimateSection &section = vm.estimateSections().first();
        QCOMPARE(section.id, QStringLiteral("all"));
        QCOMPARE(section.title, title);
        QCOMPARE(section.subtitle, subtitle);
        QCOMPARE(titles(section.items), order);
        QCOMPARE(modelRows(vm), expectedRows(vm));
        QCOMPARE(EditorSamples::titles(vm.items()),
                 EditorSamples::titles(editable(lines))); // the list itself keeps its order

        vm.setItems({});
        QVERIFY(vm.estimateSections().isEmpty());
        QCOMPARE(vm.sections()->rowCount(), 0);
    }

    void totals_data()
    {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<double>("money");
        QTest::newRow("no lines") << QList<Line>{} << QStringLiteral("0.0") << 0.0;
        QTest::newRow("rounded sum: 2 x 0.333")
            << QList<Line>{{"a", "x", 0.333, 0}, {"b", "y", 0.333, 0}} << QStringLiteral("0.7") << 0.0;
        // 0.2501 h and 2.5049 are 0.25 ("0.2") and 2.5 (money 2) once rounded.
        QTest::newRow("rounded before formatting")
            << QList<Line>{{"a", "x", 0.25, 10.0196}, {"b", "x", 0.0001, 0}} << QStringLiteral("0.2") << 2.5;
        QTest::newRow("negative and NaN count as 0")
            << QList<Line>{{"a", "x", -3, 100}, {"b", "x", 2, -1}, {"c", "x", notANumber, 5}, {"d", "x", 1, 10}}
            << QStringLiteral("3.0") << 10.0;
    }
    void totals()
    {
        QFETCH(QList<Line>, lines);
        QFETCH(QString, hours);
        QFETCH(double, money);
        ProjectEditorViewModel vm(project({}, 1), nullptr);
        vm.setItems(editable(lines));
        QCOMPARE(vm.totalHoursText(), hours);
        QCOMPARE(vm.totalCostText(), ::money(money));
    }

    // Products and sums past the largest double, and NaN, are figures too: never shown as such.
    void overflowingFigures_data()
    {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("cost");
        const double largest = std::numeric_limits<double>::max();
        const QString dash = QStringLiteral("—");
        QTest::newRow("1e308 h at 1000") << QList<Line>{{"a", "x", 1e308, 1000}, {"b", "y", 2, 10}}
                                         << NumberText::fixed(1e308 + 2, 1) << dash;
        QTest::newRow("two lines of the largest hours")
            << QList<Line>{{"a", "x", largest, 1}, {"b", "x", largest, 1}} << dash << dash;
        QTest::newRow("AI answer 1e300 x 1e300")
            << QList<Line>{{"a", "x", 1e300, 1e300}} << NumberText::fixed(1e300, 1) << dash;
        QTest::newRow("NaN rate") << QList<Line>{{"a", "x", 2, notANumber}} << QStringLiteral("2.0") << money(0);
    }
    void overflowingFigures()
    {
        QFETCH(QList<Line>, lines);
        QFETCH(QString, hours);
        QFETCH(QString, cost);
        ProjectEditorViewModel vm(project({}, 1), nullptr);
        vm.setItems(editable(lines));
        QCOMPARE(vm.totalHoursText(), hours);
        QCOMPARE(vm.totalCostText(), cost);
        for (const EstimateGroupMode mode :
             {EstimateGroupMode::Category, EstimateGroupMode::CostDesc, EstimateGroupMode::HoursDesc}) {
            vm.setGroupMode(mode);
            QStringList shown = sectionSubtitles(vm);
            const EstimateSectionsModel &model = *vm.sections();
            for (int row = 0; row < model.rowCount(); ++row) {
                for (const int role :
                     {int(EstimateSectionsModel::HoursTextRole), int(EstimateSectionsModel::CostTextRole),
                      int(EstimateSectionsModel::RateTextRole)})
                    shown.append(model.index(row).data(role).toString());
            }
            for (const QString &text : shown)
                QVERIFY2(showsOnlyFiniteFigures(text), qPrintable(text));
        }
    }

    // A line title of any length reaches its card bounded for the wrapped text.
    void hugeLineTitleIsBoundedForLayout()
    {
        ProjectEditorViewModel vm(
            project({{QStringLiteral("строка ").repeated(200000), QStringLiteral("be"), 1, 10}}, 1), nullptr);
        const QString shown = vm.sections()->index(0).data(EstimateSectionsModel::ShownTitleRole).toString();
        QVERIFY2(isBoundedForLayout(shown), qPrintable(QString::number(shown.size())));
        // The line itself keeps its whole title.
        QCOMPARE(vm.items().first().title.size(), 7 * 200000);
    }

    // The description on the card, the name and the client where they are not edited: bounded
    // for layout, while the copy keeps every character and saves them.
    void hugeTextsShownBoundedKeptWhole()
    {
        Project p = project({{QStringLiteral("API"), QStringLiteral("be"), 1, 10}}, 1);
        p.items[0].description = QStringLiteral("описание\n").repeated(100000);
        p.name = QString(300000, QChar(u'Ж'));
        p.clientName = QStringLiteral("клиент ").repeated(100000) + QStringLiteral("и конец");
        ProjectEditorViewModel vm(p, nullptr);
        const QStringList shown{vm.sections()->index(0).data(EstimateSectionsModel::DescriptionRole).toString(),
                                vm.shownName(), vm.shownClientName()};
        for (const QString &text : shown) {
            QVERIFY2(isBoundedForLayout(text), qPrintable(QString::number(text.size())));
            QVERIFY(text.endsWith(QStringLiteral("…")));
        }
        QCOMPARE(vm.items().first().description, p.items.first().description);
        const UpdateProjectRequest request = vm.updateRequest();
        QCOMPARE(request.name, p.name);
        QCOMPARE(request.clientName, p.clientName);
        QCOMPARE(request.items->first().description, p.items.first().description);
        // A short text is shown as it is.
        vm.setClientName(QStringLiteral("ООО «Ромашка»"));
        QCOMPARE(vm.shownClientName(), QStringLiteral("ООО «Ромашка»"));
    }

    // Section and total texts keep the point whatever LC_NUMERIC says.
    void textsIgnoreTheUserLocale()
    {
        const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
        bool switched = false;
        for (const char *name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            switched = switched || std::setlocale(LC_NUMERIC, name);
        if (!switched)
            QSKIP("no locale with a decimal comma is installed");
        ProjectEditorViewModel vm(project({{QStringLiteral("a"), QStringLiteral("be"), 1.5, 10}}, 1), nullptr);
        const QString subtitle = vm.estimateSections().first().subtitle.value_or(QString());
        const QString hours = vm.totalHoursText();
        const QString rate = vm.defaultRateText();
        std::setlocale(LC_NUMERIC, previous.constData());
        QCOMPARE(subtitle, "1.5 ч · " + money(15));
        QCOMPARE(hours, QStringLiteral("1.5"));
        QCOMPARE(rate, QStringLiteral("1.0"));
    }

    void moveItems_data()
    {
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QStringList>("titles"); // empty: nothing changes
        const QList<Line> mixed{{"q", "qa", 1, 1}, {"b1", "backend", 1, 1}, {"b2", "backend", 1, 1}};
        const QList<Line> three{{"a", "be", 1, 1}, {"x", "fe", 1, 1}, {"b", "be", 1, 1}, {"c", "be", 1, 1}};
        QTest::newRow("second before first, then grouped")
            << mixed << QStringLiteral("backend") << QList<int>{1} << 0 << QStringList{"b2", "b1", "q"};
        QTest::newRow("destination counts positions before the move")
            << three << QStringLiteral("be") << QList<int>{0} << 2 << QStringList{"b", "a", "c", "x"};
        QTest::newRow("to the end") << three << QStringLiteral("be") << QList<int>{0} << 3
                                    << QStringList{"b", "c", "a", "x"};
        QTest::newRow("several, in their order")
            << three << QStringLiteral("be") << QList<int>{2, 0} << 2 << QStringList{"b", "a", "c", "x"};
        QTest::newRow("in place still regroups")
            << three << QStringLiteral("be") << QList<int>{1} << 1 << QStringList{"a", "b", "c", "x"};
        QTest::newRow("section without lines") << three << QStringLiteral("qa") << QList<int>{0} << 0 << QStringList{};
        QTest::newRow("offset outside") << three << QStringLiteral("be") << QList<int>{3} << 0 << QStringList{};
        QTest::newRow("negative offset") << three << QStringLiteral("be") << QList<int>{-1} << 0 << QStringList{};
        QTest::newRow("destination beyond") << three << QStringLiteral("be") << QList<int>{0} << 4 << QStringList{};
        QTest::newRow("negative destination") << three << QStringLiteral("be") << QList<int>{0} << -1 << QStringList{};
        QTest::newRow("no offsets") << three << QStringLiteral("be") << QList<int>{} << 0 << QStringList{};
    }
    void moveItems()
    {
        QFETCH(QList<Line>, lines);
        QFETCH(QString, section);
        QFETCH(QList<int>, offsets);
        QFETCH(int, destination);
        QFETCH(QStringList, titles);
        ProjectEditorViewModel vm(project(lines, 1), nullptr);
        QAbstractItemModelTester tester(vm.sections(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        failValidation(vm);
        const QList<EditableEstimateItem> before = vm.items();
        vm.moveItems(section, offsets, destination);
        if (titles.isEmpty()) {
            QCOMPARE(vm.items(), before);
            QCOMPARE(vm.saveStateRaw(), QStringLiteral("error")); // no markDirty()
            QVERIFY(vm.validationMessage());
            return;
        }
        QCOMPARE(EditorSamples::titles(vm.items()), titles);
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("idle"));
        QCOMPARE(modelRows(vm), expectedRows(vm));
    }

    // The flat model tells a one-line change as that line and its header, a move as a move.
    void modelChanges_data()
    {
        QTest::addColumn<EstimateGroupMode>("mode");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("expectedSignals");
        QTest::addColumn<QList<int>>("changedRows"); // rows in dataChanged, in order
        QTest::addColumn<bool>("headersChanged");
        const QList<int> none;
        QTest::newRow("hours of one line") << EstimateGroupMode::Category << Edit([](auto &vm) {
            vm.updateItem(vm.items().at(2).id, [](EditableEstimateItem &item) { item.hours = 5; });
        }) << QStringList{"changed", "changed"}
                                           << QList<int>{2, 2, 1, 2} << true; // the line, then its section's rows
        QTest::newRow("title of one line") << EstimateGroupMode::Category << Edit([](auto &vm) {
            vm.updateItem(vm.items().at(0).id, [](EditableEstimateItem &item) { item.title = QStringLiteral("t"); });
        }) << QStringList{"changed"} << QList<int>{0, 0}
                                           << false;
        QTest::newRow("category of one line") << EstimateGroupMode::Category << Edit([](auto &vm) {
            vm.updateItem(vm.items().at(1).id,
                          [](EditableEstimateItem &item) { item.category = QStringLiteral("ab"); });
        }) << QStringList{"moved", "changed", "changed", "changed"}
                                              << QList<int>{0, 0, 0, 0, 2, 2} << true;
        QTest::newRow("delete") << EstimateGroupMode::Category
                                << Edit([](auto &vm) { vm.deleteItem(vm.items().at(2).id); })
                                << QStringList{"removed", "changed"} << QList<int>{1, 1} << true;
        QTest::newRow("append") << EstimateGroupMode::Category << Edit([](auto &vm) {
            QList<EditableEstimateItem> items = vm.items();
            items.append(editable({"n", "zz", 1, 1}));
            vm.setItems(items);
        }) << QStringList{"inserted"}
                                << none << true;
        QTest::newRow("move within a section")
            << EstimateGroupMode::Category << Edit([](auto &vm) { vm.moveItems(QStringLiteral("fe"), {1}, 0); })
            << QStringList{"moved"} << none << false;
        QTest::newRow("re-sorted by an edit") << EstimateGroupMode::HoursDesc << Edit([](auto &vm) {
            vm.updateItem(vm.items().at(0).id, [](EditableEstimateItem &item) { item.hours = 50; });
        }) << QStringList{"moved", "changed"} << QList<int>{0, 0}
                                              << false;
        QTest::newRow("group mode") << EstimateGroupMode::Category
                                    << Edit([](auto &vm) { vm.setGroupMode(EstimateGroupMode::CostDesc); })
                                    << QStringList{"reset"} << none << true;
        // A save's reload renews every identity: rows in the same sections stay, only changed.
        const QList<Line> stored{{"a", "be", 1, 1}, {"b", "fe", 2, 1}, {"c", "fe", 3, 1}, {"d", "ge", 4, 1}};
        QTest::newRow("reload of the same lines")
            << EstimateGroupMode::Category << Edit([stored](auto &vm) { vm.syncFromServer(project(stored, 1)); })
            << QStringList{"changed"} << QList<int>{0, 3} << false;
        QTest::newRow("reload with a line fewer") << EstimateGroupMode::Category << Edit([](auto &vm) {
            vm.syncFromServer(project({{"a", "be", 1, 1}, {"b", "fe", 2, 1}, {"d", "ge", 4, 1}}, 1));
        }) << QStringList{"reset"} << none << true;
        QTest::newRow("reload with a line in another section") << EstimateGroupMode::Category << Edit([](auto &vm) {
            vm.syncFromServer(project({{"a", "be", 1, 1}, {"b", "be", 2, 1}, {"c", "fe", 3, 1}, {"d", "ge", 4, 1}}, 1));
        }) << QStringList{"reset"} << none << true;
        QTest::newRow("another project") << EstimateGroupMode::Category << Edit([stored](auto &vm) {
            Project other = project(stored, 1);
            other.id = QStringLiteral("p-2");
            vm.load(other);
        }) << QStringList{"reset"} << none
                                         << false;
    }
    void modelChanges()
    {
        QFETCH(EstimateGroupMode, mode);
        QFETCH(Edit, edit);
        QFETCH(QStringList, expectedSignals);
        QFETCH(QList<int>, changedRows);
        QFETCH(bool, headersChanged);
        // Rows by category: be|a, fe|b, fe|c, ge|d; by hours: d, c, b, a.
        ProjectEditorViewModel vm(
            project({{"a", "be", 1, 1}, {"b", "fe", 2, 1}, {"c", "fe", 3, 1}, {"d", "ge", 4, 1}}, 1), nullptr);
        vm.setGroupMode(mode);
        QAbstractItemModelTester tester(vm.sections(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList seen;
        QList<int> rows;
        const EstimateSectionsModel *model = vm.sections();
        connect(model, &QAbstractItemModel::modelReset, this, [&] { seen.append(QStringLiteral("reset")); });
        connect(model, &QAbstractItemModel::rowsMoved, this, [&] { seen.append(QStringLiteral("moved")); });
        connect(model, &QAbstractItemModel::rowsRemoved, this, [&] { seen.append(QStringLiteral("removed")); });
        connect(model, &QAbstractItemModel::rowsInserted, this, [&] { seen.append(QStringLiteral("inserted")); });
        connect(model, &QAbstractItemModel::dataChanged, this, [&](const QModelIndex &from, const QModelIndex &to) {
            seen.append(QStringLiteral("changed"));
            rows << from.row() << to.row();
        });
        QSignalSpy headers(model, &EstimateSectionsModel::headersChanged);
        edit(vm);
        QCOMPARE(headers.count(), headersChanged ? 1 : 0);
        QCOMPARE(seen, expectedSignals);
        QCOMPARE(rows, changedRows);
        QCOMPARE(modelRows(vm), expectedRows(vm));
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row);
            const QString id = index.data(EstimateSectionsModel::SectionIdRole).toString();
            QCOMPARE(index.data(EstimateSectionsModel::SectionSubtitleRole).toString(),
                     model->section(id).subtitleText());
        }
    }

    // Where the keyboard goes when a row's line goes, and the rows of a row's section.
    void rowsBeside()
    {
        ProjectEditorViewModel vm(project({{"a", "be", 1, 1}, {"b", "be", 2, 1}, {"c", "fe", 3, 1}}, 1), nullptr);
        const EstimateSectionsModel &model = *vm.sections();
        QCOMPARE((QList<int>{model.rowBeside(0), model.rowBeside(2), model.rowBeside(3)}), (QList<int>{1, 1, -1}));
        QCOMPARE(model.sectionRows(1), std::make_pair(0, 1));
        QCOMPARE(model.sectionRows(2), std::make_pair(2, 2));
        QCOMPARE(model.sectionRows(3), std::make_pair(-1, -1));
    }

    // What a reader hears of a card: its figures in the order drawn, the category, the lock; in
    // the project's currency as it changes.
    void spokenLineText()
    {
        ProjectEditorViewModel vm(project({{"a", "be", 2.5, 1500, true}}, 1), nullptr);
        const QModelIndex line = vm.sections()->index(0);
        const auto text = [&line](int role) { return line.data(role).toString(); };
        vm.setCurrency(QStringLiteral("USD"));
        QCOMPARE(text(EstimateSectionsModel::SpokenTextRole),
                 QStringList({text(EstimateSectionsModel::CostTextRole), text(EstimateSectionsModel::HoursTextRole),
                              text(EstimateSectionsModel::RateTextRole) + QStringLiteral(" / час"),
                              QStringLiteral("be"), QStringLiteral("Ставка зафиксирована")})
                     .join(QStringLiteral(", ")));
        QVERIFY(text(EstimateSectionsModel::SpokenTextRole).contains(QStringLiteral("USD")));
    }

    // Typed numbers: "," as ".", the C conversion's forms, nothing around the number.
    void typedDefaultRate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("rate"); // 7 is the rate before
        QTest::newRow("decimal comma") << QStringLiteral("1,5") << 1.5;
        QTest::newRow("negative") << QStringLiteral("-20") << -20.0;
        QTest::newRow("exponent") << QStringLiteral("2e3") << 2000.0;
        QTest::newRow("hexadecimal") << QStringLiteral("0x1p4") << 16.0;
        QTest::newRow("underflow to zero") << QStringLiteral("1e-400") << 0.0;
        QTest::newRow("leading blank") << QStringLiteral(" 5") << 7.0;
        QTest::newRow("trailing blank") << QStringLiteral("5 ") << 7.0;
        QTest::newRow("empty") << QString() << 7.0;
        QTest::newRow("letters") << QStringLiteral("abc") << 7.0;
        QTest::newRow("group separator") << QStringLiteral("1 000") << 7.0;
        QTest::newRow("infinity") << QStringLiteral("inf") << 7.0;
        QTest::newRow("overflow") << QStringLiteral("1e999") << 7.0;
        QTest::newRow("not a number") << QStringLiteral("nan") << 7.0;
    }
    void typedDefaultRate()
    {
        QFETCH(QString, text);
        QFETCH(double, rate);
        ProjectEditorViewModel vm(project({}, 7), nullptr);
        failValidation(vm);
        vm.setDefaultRateFromText(text);
        QCOMPARE(vm.defaultRate(), rate);
        QCOMPARE(vm.parseNumber(text).isValid(), rate != 7.0);
        // Counts as an edit either way.
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("idle"));
        QVERIFY(!vm.validationMessage());
    }

    // What a screen reaches from QML: the project handed over, the rows, the edits by line id.
    void fromQml()
    {
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        component.setData("import QtQml\nimport Tessmark.Features.Editor\nProjectEditorViewModel {}", QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto *vm = qobject_cast<ProjectEditorViewModel *>(object.get());
        QVERIFY(vm);
        QMetaObject::invokeMethod(
            vm, "loadProject",
            Q_ARG(QVariant,
                  QVariant::fromValue(project({{QStringLiteral("a"), QStringLiteral("be"), 1, 1},
                                               {QStringLiteral("b"), QStringLiteral("be"), 2, 1},
                                               {QStringLiteral("c"), QStringLiteral("fe"), 3, 1}}))));
        const auto evaluate = [&](const QString &code) {
            QQmlExpression expression(engine.contextForObject(vm), vm, code);
            const QVariant value = expression.evaluate();
            if (expression.hasError())
                qWarning() << expression.error();
            return value;
        };
        QCOMPARE(evaluate(QStringLiteral("sections.count")).toInt(), 3);
        QCOMPARE(evaluate(QStringLiteral("statusOptions.map(o => o.label).join(',')")).toString(),
                 QStringLiteral("Черновик,В работе,Завершён,Отказ"));
        QCOMPARE(evaluate(QStringLiteral("projectTypeOptions[1].label")).toString(), QStringLiteral("Итеративный"));
        evaluate(QStringLiteral("moveItems('be', [1], 0)"));
        QCOMPARE(titles(vm->items()), (QStringList{"b", "a", "c"}));
        QCOMPARE(evaluate(QStringLiteral("saveState")).toString(), QStringLiteral("idle"));
        evaluate(QStringLiteral("deleteLine('%1')").arg(vm->items().first().id.toString()));
        QCOMPARE(titles(vm->items()), (QStringList{"a", "c"}));
        evaluate(QStringLiteral("setDefaultRateFromText('12,5'); groupMode = 'hoursDesc'"));
        QCOMPARE(vm->defaultRate(), 12.5);
        QCOMPARE(evaluate(QStringLiteral("sections.section('all').subtitle")).toString(), QStringLiteral("2 строк"));
        QCOMPARE(evaluate(QStringLiteral("sections.section('all').title")).toString(), QStringLiteral("По часам"));
        QCOMPARE(evaluate(QStringLiteral("sections.section('none').title")).toString(), QString());
        QVERIFY(evaluate(QStringLiteral("isDirty")).toBool());
    }
};

QTEST_GUILESS_MAIN(tst_ProjectEditorViewModel)
#include "tst_ProjectEditorViewModel.moc"
