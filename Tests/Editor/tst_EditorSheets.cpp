#include "EditorSamples.h"
#include "Features/Editor/AIGenerateSheetModel.h"
#include "Features/Editor/CreateIterationModel.h"
#include "Features/Editor/ProjectEditorViewModel.h"
#include "Features/Editor/ProjectIterationsModel.h"
#include "Features/Editor/TemplateLibraryModel.h"

#include "SheetsBackend.h"

#include "Data/EstimateCatalogLoader.h"
#include "Settings/UserTemplatesStorage.h"
#include "Settings/Preferences.h"
#include "Utils/MoneyFormat.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <memory>

using namespace EditorSamples;

namespace {

const QString post = QStringLiteral("POST");
const QString aiPath = QStringLiteral("ai/generate");

QStringList sortedKeys(const QJsonObject &object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

QString repeated(const QString &unit, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

EstimateTemplate sampleTemplate(const QString &name, int lines, double rate)
{
    EstimateTemplate t;
    t.id = QStringLiteral("t");
    t.name = name;
    t.defaultRate = rate;
    for (int i = 0; i < lines; ++i)
        t.items.append(
            EstimateTemplateItem{QStringLiteral("Строка"), std::nullopt, QStringLiteral("backend"), 1, 0, false});
    return t;
}

} // namespace

// The four editor sheets' models: what they send to the test backend, what they show, and that
// late answers touch nothing that has gone.
class tst_EditorSheets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    SheetsBackend m_sheets;
    TestBackend *m_backend = nullptr;

    std::unique_ptr<ProjectsService> account() const { return m_sheets.account(); }
    QString addRoot() { return m_sheets.addRoot(); }
    void addIteration(const QString &rootId, const QJsonObject &fields) { m_sheets.addIteration(rootId, fields); }
    QList<QJsonObject> bodies(const QString &method, const QString &path) const
    {
        return m_sheets.bodies(method, path);
    }
    // An editor on the sample project, with a backend answering for its identity.
    static std::unique_ptr<ProjectEditorViewModel> editor(ProjectsService *service, const QList<Line> &lines = {})
    {
        return std::make_unique<ProjectEditorViewModel>(project(lines), service);
    }
    static bool waitFor(QSignalSpy &spy) { return !spy.isEmpty() || spy.wait(10000); }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("TessmarkTests"));
        QCoreApplication::setApplicationName(QStringLiteral("EditorSheets"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    }
    void init()
    {
        Preferences::shared().remove(UserTemplatesStorage::key());
        QVERIFY(m_sheets.start());
        m_backend = m_sheets.backend.get();
    }
    void cleanup()
    {
        m_sheets.client.reset();
        m_sheets.backend.reset();
        m_backend = nullptr;
    }

    // The button's rule: ten user-perceived characters once spaces and tabs leave both ends.
    void lengthRule_data()
    {
        QTest::addColumn<QString>("requirements");
        QTest::addColumn<bool>("enough");
        QTest::newRow("nine") << "123456789" << false;
        QTest::newRow("ten") << "1234567890" << true;
        QTest::newRow("nine inside spaces and tabs") << " \t123456789\t  " << false;
        QTest::newRow("letters and seven line breaks") << "abc\n\n\n\n\n\n\n" << true;
        QTest::newRow("nine letters with combining marks") << repeated(QStringLiteral("e\u0301"), 9) << false;
        QTest::newRow("ten letters with combining marks") << repeated(QStringLiteral("e\u0301"), 10) << true;
        QTest::newRow("nine family emoji")
            << repeated(QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467"), 9) << false;
    }
    void lengthRule()
    {
        QFETCH(QString, requirements);
        QFETCH(bool, enough);
        QCOMPARE(AIGenerateSheetModel::meetsLengthRule(requirements), enough);
        auto service = account();
        AIGenerateSheetModel model;
        model.setProjectsService(service.get());
        QSignalSpy changed(&model, &AIGenerateSheetModel::canGenerateChanged);
        model.setRequirements(requirements);
        QCOMPARE(model.canGenerate(), enough);
        QCOMPARE(changed.size(), enough ? 1 : 0);
    }

    // Which keys the AI request carries, read from the backend's log.
    void aiRequestBodies_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("clientName");
        QTest::addColumn<QString>("context");
        QTest::addColumn<bool>("useCap");
        QTest::addColumn<QString>("capText");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QJsonObject>("values");

        const QStringList base{"currency",    "defaultRate",   "mode",        "projectId",
                               "projectName", "projectStatus", "requirements"};
        auto with = [&base](QStringList more) {
            more += base;
            more.sort();
            return more;
        };
        QTest::newRow("bare") << "Сайт"
                              << ""
                              << "" << false << "" << with({}) << QJsonObject{{"projectName", "Сайт"}};
        QTest::newRow("empty name") << ""
                                    << ""
                                    << "" << false << "" << with({}) << QJsonObject{{"projectName", "Проект"}};
        QTest::newRow("name of spaces") << "   "
                                        << ""
                                        << "" << false << "" << with({}) << QJsonObject{{"projectName", "   "}};
        QTest::newRow("client and context untrimmed")
            << "Сайт"
            << " ООО "
            << " срок " << false << "" << with({"additionalContext", "clientName"})
            << QJsonObject{{"clientName", " ООО "}, {"additionalContext", " срок "}};
        QTest::newRow("ceiling off ignores the text") << "Сайт"
                                                      << ""
                                                      << "" << false << "5000" << with({}) << QJsonObject{};
        QTest::newRow("ceiling with comma")
            << "Сайт"
            << ""
            << "" << true << "12,5" << with({"targetBudgetMax"}) << QJsonObject{{"targetBudgetMax", 12.5}};
        QTest::newRow("ceiling zero") << "Сайт"
                                      << ""
                                      << "" << true << "0" << with({"targetBudgetMax"})
                                      << QJsonObject{{"targetBudgetMax", 0}};
        QTest::newRow("ceiling negative")
            << "Сайт"
            << ""
            << "" << true << "-300" << with({"targetBudgetMax"}) << QJsonObject{{"targetBudgetMax", -300}};
        QTest::newRow("ceiling with thousands space") << "Сайт"
                                                      << ""
                                                      << "" << true << "100 000" << with({}) << QJsonObject{};
        QTest::newRow("ceiling infinite") << "Сайт"
                                          << ""
                                          << "" << true << "1e999" << with({}) << QJsonObject{};
        QTest::newRow("ceiling not a number") << "Сайт"
                                              << ""
                                              << "" << true << "nan" << with({}) << QJsonObject{};
        QTest::newRow("ceiling empty") << "Сайт"
                                       << ""
                                       << "" << true << "" << with({}) << QJsonObject{};
    }
    void aiRequestBodies()
    {
        QFETCH(QString, name);
        QFETCH(QString, clientName);
        QFETCH(QString, context);
        QFETCH(bool, useCap);
        QFETCH(QString, capText);
        QFETCH(QStringList, keys);
        QFETCH(QJsonObject, values);

        auto service = account();
        auto vm = editor(service.get());
        vm->setName(name);
        vm->setClientName(clientName);
        vm->setStatusRaw(QStringLiteral("in_progress"));
        AIGenerateSheetModel model;
        model.setEditor(vm.get());
        model.setProjectsService(service.get());
        model.setRequirements(QStringLiteral("\n  Каталог и корзина \t\n"));
        model.setModeRaw(QStringLiteral("budget"));
        model.setAdditionalContext(context);
        model.setUseBudgetCap(useCap);
        model.setBudgetCapText(capText);
        QSignalSpy succeeded(&model, &AIGenerateSheetModel::succeeded);
        model.generate();
        QVERIFY(waitFor(succeeded));

        const QList<QJsonObject> sent = bodies(post, aiPath);
        QCOMPARE(sent.size(), 1);
        const QJsonObject body = sent.first();
        QCOMPARE(sortedKeys(body), keys);
        QCOMPARE(body.value("requirements").toString(), QStringLiteral("Каталог и корзина"));
        QCOMPARE(body.value("mode").toString(), QStringLiteral("budget"));
        QCOMPARE(body.value("projectStatus").toString(), QStringLiteral("in_progress"));
        QCOMPARE(body.value("projectId").toString(), vm->projectId());
        QCOMPARE(body.value("defaultRate").toDouble(), 100.0);
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            QCOMPARE(body.value(it.key()), it.value());
    }

    // An answer, an empty one too, replaces every line and marks the editor changed.
    void aiAnswerReplacesLines_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("two lines") << QByteArray(
            R"({"items":[{"title":" Дизайн ","description":" макеты ","category":"nosuch","hours":-2,"rate":0},
                                        {"title":"API","description":"","category":"backend","hours":3,"rate":1200}]})")
                                   << QStringList{" Дизайн ", "API"};
        QTest::newRow("empty list") << QByteArray(R"({"items":[]})") << QStringList{};
    }
    void aiAnswerReplacesLines()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, expected);
        m_backend->setOverride(post, aiPath, BackendReply::raw(200, answer).after(200));
        auto service = account();
        auto vm = editor(service.get(), {{QStringLiteral("Старое"), QStringLiteral("qa"), 1, 100, true}});
        // A failed validation leaves an error state that the edit must clear.
        vm->setName(QString());
        vm->save();
        QCOMPARE(vm->saveStateRaw(), QStringLiteral("error"));
        AIGenerateSheetModel model;
        model.setEditor(vm.get());
        model.setProjectsService(service.get());
        model.setRequirements(QStringLiteral("Каталог, корзина, оплата"));
        QSignalSpy succeeded(&model, &AIGenerateSheetModel::succeeded);
        model.generate();
        QVERIFY(model.isGenerating());
        QVERIFY(!model.canGenerate());
        // The rate a line falls back to is the one after the answer.
        vm->setDefaultRate(777);
        QVERIFY(waitFor(succeeded));
        QVERIFY(!model.isGenerating());
        QVERIFY(!model.hasError());
        QCOMPARE(titles(vm->items()), expected);
        QCOMPARE(vm->saveStateRaw(), QStringLiteral("idle"));
        QCOMPARE(vm->validationMessageText(), QString());
        QVERIFY(vm->isDirty());
        if (expected.isEmpty())
            return;
        const EditableEstimateItem first = vm->items().at(0);
        QCOMPARE(first.description, QStringLiteral(" макеты "));
        QCOMPARE(first.category, EstimateCatalogLoader::normalizeCategory(QStringLiteral("nosuch"), "software"));
        QCOMPARE(first.hours, -2.0);
        QCOMPARE(first.rate, 777.0);
        QCOMPARE(vm->items().at(1).rate, 1200.0);
        QVERIFY(first.id != vm->items().at(1).id);
        for (const EditableEstimateItem &item : vm->items())
            QVERIFY(!item.isLocked);
    }

    // A failure keeps every input and the editor, and shows the service's text.
    void aiFailureKeepsInputs()
    {
        m_backend->setOverride(
            post, aiPath, BackendReply::json(400, QJsonObject{{"message", QJsonArray{"mode is wrong", "and more"}}}));
        auto service = account();
        auto vm = editor(service.get(), {{QStringLiteral("Старое"), QStringLiteral("qa"), 1, 100}});
        const QList<EditableEstimateItem> before = vm->items();
        AIGenerateSheetModel model;
        model.setEditor(vm.get());
        model.setProjectsService(service.get());
        model.setRequirements(QStringLiteral("Каталог, корзина, оплата"));
        model.setModeRaw(QStringLiteral("quick"));
        model.setAdditionalContext(QStringLiteral("B2B"));
        model.setUseBudgetCap(true);
        model.setBudgetCapText(QStringLiteral("9000"));
        QSignalSpy succeeded(&model, &AIGenerateSheetModel::succeeded);
        QSignalSpy generating(&model, &AIGenerateSheetModel::isGeneratingChanged);
        model.generate();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isGenerating() && generating.size() >= 2, 10000);
        QVERIFY(succeeded.isEmpty());
        QVERIFY(model.hasError());
        QCOMPARE(model.errorMessage(), QStringLiteral("mode is wrong, and more"));
        QCOMPARE(vm->items(), before);
        QVERIFY(!vm->isDirty());
        QCOMPARE(model.requirements(), QStringLiteral("Каталог, корзина, оплата"));
        QCOMPARE(model.modeRaw(), QStringLiteral("quick"));
        QCOMPARE(model.additionalContext(), QStringLiteral("B2B"));
        QVERIFY(model.useBudgetCap());
        QCOMPARE(model.budgetCapText(), QStringLiteral("9000"));
        // A new attempt clears the text while it runs.
        m_backend->clearOverrides();
        model.generate();
        QVERIFY(!model.hasError());
        QVERIFY(waitFor(succeeded));
    }

    // A sheet or editor gone while the request runs: the answer changes nothing, crashes nothing.
    // A gone sheet's request is aborted; one whose sheet stays runs to its end.
    void aiAnswerAfterOwnerGone_data()
    {
        QTest::addColumn<bool>("dropSheet");
        QTest::newRow("sheet closed") << true;
        QTest::newRow("editor gone") << false;
    }
    void aiAnswerAfterOwnerGone()
    {
        QFETCH(bool, dropSheet);
        m_backend->setOverride(post, aiPath, BackendReply::raw(200, R"({"items":[]})").after(300));
        m_backend->hold(post, aiPath);
        auto service = account();
        auto vm = editor(service.get(), {{QStringLiteral("Старое"), QStringLiteral("qa"), 1, 100}});
        const QList<EditableEstimateItem> before = vm->items();
        auto model = std::make_unique<AIGenerateSheetModel>();
        model->setEditor(vm.get());
        model->setProjectsService(service.get());
        model->setRequirements(QStringLiteral("Каталог, корзина, оплата"));
        QSignalSpy succeeded(model.get(), &AIGenerateSheetModel::succeeded);
        model->generate();
        QVERIFY(model->isGenerating());
        QTRY_COMPARE(m_backend->requests(post, aiPath).size(), 1);
        if (dropSheet)
            model.reset();
        else
            vm.reset();
        if (dropSheet) {
            QTRY_COMPARE(m_backend->abandonedRequests().size(), 1);
            QCOMPARE(m_backend->abandonedRequests().at(0).path, aiPath);
            QCOMPARE(vm->items(), before);
            QVERIFY(!vm->isDirty());
        } else {
            m_backend->release();
            QTest::qWait(600);
            QVERIFY(m_backend->abandonedRequests().isEmpty());
            QVERIFY(succeeded.isEmpty());
            QVERIFY(!model->isGenerating());
        }
    }

    void templateTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lines");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<QString>("message");
        QTest::newRow("fraction dropped") << "X" << 6 << 49.9 << "6 поз. · ставка 49"
                                          << "«X» — 6 поз.";
        QTest::newRow("no thousands separator") << "Сайт" << 12 << 12900.0 << "12 поз. · ставка 12900"
                                                << "«Сайт» — 12 поз.";
        QTest::newRow("negative toward zero") << "N" << 0 << -0.5 << "0 поз. · ставка 0"
                                              << "«N» — 0 поз.";
        QTest::newRow("beyond 64 bits") << "B" << 1 << 1e20 << "1 поз. · ставка 100000000000000000000"
                                        << "«B» — 1 поз.";
        QTest::newRow("not a number") << "Q" << 1 << notANumber << "1 поз. · ставка —"
                                      << "«Q» — 1 поз.";
        QTest::newRow("infinite") << "I" << 2 << std::numeric_limits<double>::infinity() << "2 поз. · ставка —"
                                  << "«I» — 2 поз.";
        QTest::newRow("placeholder in the name") << "%1 и %2" << 3 << 10.0 << "3 поз. · ставка 10"
                                                 << "«%1 и %2» — 3 поз.";
    }
    void templateTexts()
    {
        QFETCH(QString, name);
        QFETCH(int, lines);
        QFETCH(double, rate);
        QFETCH(QString, countText);
        QFETCH(QString, message);
        const EstimateTemplate t = sampleTemplate(name, lines, rate);
        QCOMPARE(TemplateLibraryModel::countText(t), countText);
        QCOMPARE(TemplateLibraryModel::confirmationMessage(t), message);
    }

    // Loaded on demand, then again on each change of the sphere; rows pass templates by position.
    void templateLibraryLoads()
    {
        EstimateTemplate own = sampleTemplate(QStringLiteral("Мой лендинг"), 2, 10);
        own.id = QStringLiteral("builtin-landing"); // the same id as a built-in one
        EstimateTemplate mine = own;
        mine.description = QString();
        EstimateTemplate other = sampleTemplate(QStringLiteral("Маркетинг"), 1, 5);
        other.sphereId = QStringLiteral("marketing");
        other.description = QStringLiteral("Кампания");
        Preferences::shared().setValue(
            UserTemplatesStorage::key(),
            QJsonDocument(EstimateTemplate::listToJson({mine, other})).toJson(QJsonDocument::Compact));

        TemplateLibraryModel model;
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.setSphereId(QStringLiteral("software"));
        QCOMPARE(model.count(), 0); // nothing before the sheet asks
        model.load();
        QCOMPARE(reset.size(), 1);
        const int rows = model.count();
        QVERIFY(rows >= 2);
        // The user's template comes last; its id repeats a built-in one, its row tells it apart.
        QCOMPARE(model.templateAt(rows - 1).value<EstimateTemplate>(), mine);
        QCOMPARE(model.templateAt(0).value<EstimateTemplate>().id, QStringLiteral("builtin-landing"));
        QVERIFY(model.templateAt(0).value<EstimateTemplate>() != mine);
        QVERIFY(!model.templateAt(rows).isValid());
        QVERIFY(!model.templateAt(-1).isValid());
        const QModelIndex last = model.index(rows - 1);
        QCOMPARE(model.data(last, TemplateLibraryModel::SphereTextRole).toString(), QStringLiteral("software"));
        QCOMPARE(model.data(last, TemplateLibraryModel::HasDescriptionRole).toBool(), false);

        model.setSphereId(QStringLiteral("software"));
        QCOMPARE(reset.size(), 1); // the same sphere again: no reload
        model.setSphereId(QStringLiteral("marketing"));
        QCOMPARE(reset.size(), 2);
        const QModelIndex mk = model.index(model.count() - 1);
        QCOMPARE(model.data(mk, TemplateLibraryModel::NameRole).toString(), QStringLiteral("Маркетинг"));
        QCOMPARE(model.data(mk, TemplateLibraryModel::SphereTextRole).toString(), QStringLiteral("marketing"));
        QCOMPARE(model.data(mk, TemplateLibraryModel::DescriptionRole).toString(), QStringLiteral("Кампания"));
        QCOMPARE(model.data(mk, TemplateLibraryModel::HasDescriptionRole).toBool(), true);
        model.setSphereId(QStringLiteral("no-such-sphere"));
        QCOMPARE(model.count(), 0);
    }

    void iterationRowTexts_data()
    {
        QTest::addColumn<QVariant>("name");
        QTest::addColumn<QVariant>("version");
        QTest::addColumn<QString>("title");
        QTest::newRow("named") << QVariant("Спринт 2") << QVariant(qint64(2)) << "Спринт 2";
        QTest::newRow("empty name is kept") << QVariant("") << QVariant(qint64(3)) << "";
        QTest::newRow("blank name is kept") << QVariant("  ") << QVariant(qint64(3)) << "  ";
        QTest::newRow("no name") << QVariant() << QVariant(qint64(4)) << "v4";
        QTest::newRow("no name, no version") << QVariant() << QVariant() << "v0";
    }
    void iterationRowTexts()
    {
        QFETCH(QVariant, name);
        QFETCH(QVariant, version);
        QFETCH(QString, title);
        Project iteration = project();
        if (name.isValid())
            iteration.iterationName = name.toString();
        if (version.isValid())
            iteration.version = version.toLongLong();
        QCOMPARE(ProjectIterationsModel::rowTitle(iteration), title);
        iteration.totalHours = 12.25;
        iteration.totalCost = 1500;
        iteration.currency = QStringLiteral("USD");
        QCOMPARE(ProjectIterationsModel::rowDetail(iteration),
                 QStringLiteral("12.2 ч · ") + MoneyFormat::format(1500, QStringLiteral("USD")));
    }

    // The iterations in the service's order, then the summary in the root's currency.
    void iterationsLoad()
    {
        const QString root = addRoot();
        m_backend->data().project(root)->insert(QStringLiteral("currency"), QStringLiteral("EUR"));
        addIteration(root, {{"version", 3}, {"iterationName", "Третья"}, {"status", "completed"}});
        addIteration(root, {{"version", 2}});
        auto service = account();
        ProjectIterationsModel model;
        model.setProjectsService(service.get());
        model.setRootProjectId(root);
        QVERIFY(model.isLoading());
        QSignalSpy loading(&model, &ProjectIterationsModel::isLoadingChanged);
        model.load();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 10000);
        QCOMPARE(model.count(), 2);
        QCOMPARE(model.data(model.index(0), ProjectIterationsModel::TitleRole).toString(), QStringLiteral("v2"));
        QCOMPARE(model.data(model.index(1), ProjectIterationsModel::TitleRole).toString(), QStringLiteral("Третья"));
        QCOMPARE(model.data(model.index(1), ProjectIterationsModel::StatusRole).toString(),
                 QStringLiteral("completed"));
        QVERIFY(model.hasSummary());
        QCOMPARE(model.iterationsCountText(), QStringLiteral("2"));
        QCOMPARE(model.totalHoursText(), QStringLiteral("0.0"));
        QCOMPARE(model.totalCostText(), MoneyFormat::format(0, QStringLiteral("EUR")));
        // One after the other, iterations first.
        QStringList order;
        for (const RecordedRequest &request : m_backend->requests())
            order.append(request.path);
        QCOMPARE(order, (QStringList{"projects/" + root + "/iterations", "projects/" + root + "/summary"}));
    }

    void iterationsFailedLoadShowsNothing()
    {
        const QString root = addRoot();
        m_backend->setOverride(QStringLiteral("GET"), "projects/" + root + "/iterations", BackendReply::empty(500));
        m_backend->setOverride(QStringLiteral("GET"), "projects/" + root + "/summary", BackendReply::empty(500));
        auto service = account();
        ProjectIterationsModel model;
        model.setProjectsService(service.get());
        model.setRootProjectId(root);
        model.load();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isLoading(), 10000);
        QCOMPARE(model.count(), 0);
        QVERIFY(!model.hasSummary());
    }

    // The alert's two buttons: a copy of the stored estimate, or empty; the name as typed.
    void iterationsCreateRequests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("copyBudget");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("copy, no name") << "" << true << QStringList{"copyBudget"};
        QTest::newRow("empty, no name") << "" << false << QStringList{"copyBudget", "items"};
        QTest::newRow("copy, blank name as typed") << "  " << true << QStringList{"copyBudget", "iterationName"};
        QTest::newRow("empty, padded name")
            << " Спринт " << false << QStringList{"copyBudget", "items", "iterationName"};
    }
    void iterationsCreateRequests()
    {
        QFETCH(QString, name);
        QFETCH(bool, copyBudget);
        QFETCH(QStringList, keys);
        const QString root = addRoot();
        auto service = account();
        ProjectIterationsModel model;
        model.setProjectsService(service.get());
        model.setRootProjectId(root);
        model.setNewName(name);
        QSignalSpy created(&model, &ProjectIterationsModel::created);
        model.createIteration(copyBudget);
        QVERIFY(model.isCreating());
        model.createIteration(copyBudget); // a second press while one runs makes nothing
        QVERIFY(waitFor(created));
        QVERIFY(!model.isCreating());
        const QList<QJsonObject> sent = bodies(post, "projects/" + root + "/iterate");
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sortedKeys(sent.first()), keys);
        QCOMPARE(sent.first().value("copyBudget").toBool(), copyBudget);
        if (!copyBudget)
            QCOMPARE(sent.first().value("items"), QJsonValue(QJsonArray()));
        if (!name.isEmpty())
            QCOMPARE(sent.first().value("iterationName").toString(), name);
        // Reloaded before the hand-over, name cleared.
        QCOMPARE(model.count(), 1);
        QCOMPARE(model.data(model.index(0), ProjectIterationsModel::ProjectIdRole).toString(),
                 created.first().first().toString());
        QCOMPARE(model.newName(), QString());
    }

    void iterationsFailedCreateChangesNothing()
    {
        const QString root = addRoot();
        m_backend->setOverride(post, "projects/" + root + "/iterate", BackendReply::message(500, "нет"));
        auto service = account();
        ProjectIterationsModel model;
        model.setProjectsService(service.get());
        model.setRootProjectId(root);
        model.setNewName(QStringLiteral("Спринт"));
        QSignalSpy created(&model, &ProjectIterationsModel::created);
        model.createIteration(true);
        QTRY_VERIFY_WITH_TIMEOUT(!model.isCreating(), 10000);
        QVERIFY(created.isEmpty());
        QCOMPARE(model.newName(), QStringLiteral("Спринт"));
        QVERIFY(m_backend->requests(QStringLiteral("GET"), "projects/" + root + "/iterations").isEmpty());
    }

    void iterationsModelGoneMidRequest()
    {
        const QString root = addRoot();
        m_backend->setOverride(QStringLiteral("GET"), "projects/" + root + "/iterations",
                               BackendReply::raw(200, "[]").after(10000));
        m_backend->setOverride(post, "projects/" + root + "/iterate", BackendReply::raw(200, "{}").after(200));
        m_backend->hold(post, "projects/" + root + "/iterate");
        auto service = account();
        auto loading = std::make_unique<ProjectIterationsModel>();
        loading->setProjectsService(service.get());
        loading->setRootProjectId(root);
        loading->load();
        auto creating = std::make_unique<ProjectIterationsModel>();
        creating->setProjectsService(service.get());
        creating->setRootProjectId(root);
        creating->createIteration(true);
        QTRY_COMPARE(m_backend->requests(QStringLiteral("GET"), "projects/" + root + "/iterations").size(), 1);
        QTRY_COMPARE(m_backend->requests(post, "projects/" + root + "/iterate").size(), 1);
        loading.reset();
        creating.reset();
        m_backend->release();
        // The gone sheet's load is aborted; the new iteration, a change, is still answered.
        QTRY_COMPARE(m_backend->abandonedRequests().size(), 1);
        QCOMPARE(m_backend->abandonedRequests().at(0).path, "projects/" + root + "/iterations");
        QTest::qWait(500);
        QCOMPARE(m_backend->abandonedRequests().size(), 1);
        // No summary request follows a load whose sheet has gone.
        QVERIFY(m_backend->requests(QStringLiteral("GET"), "projects/" + root + "/summary").isEmpty());
    }

    // The new-iteration sheet's request per source: the name trimmed of spaces and tabs only.
    void createIterationRequests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QJsonObject>("expected");
        QTest::newRow("server") << ""
                                << "server" << 2 << QJsonObject{{"copyBudget", true}};
        QTest::newRow("form with lines") << ""
                                         << "form" << 2 << QJsonObject{{"copyBudget", false}, {"items", 2}};
        QTest::newRow("form without lines") << ""
                                            << "form" << 0 << QJsonObject{{"copyBudget", false}, {"items", 0}};
        QTest::newRow("empty") << ""
                               << "empty" << 2 << QJsonObject{{"copyBudget", false}, {"items", 0}};
        QTest::newRow("name of spaces and tabs") << " \t "
                                                 << "server" << 0 << QJsonObject{{"copyBudget", true}};
        QTest::newRow("padded name") << "\t Спринт 3  "
                                     << "empty" << 0
                                     << QJsonObject{{"copyBudget", false}, {"items", 0}, {"iterationName", "Спринт 3"}};
        QTest::newRow("line break kept") << "Спринт\n"
                                         << "server" << 0
                                         << QJsonObject{{"copyBudget", true}, {"iterationName", "Спринт\n"}};
    }
    void createIterationRequests()
    {
        QFETCH(QString, name);
        QFETCH(QString, source);
        QFETCH(int, lines);
        QFETCH(QJsonObject, expected);
        const QString root = addRoot();
        QList<ProjectItem> items;
        for (int i = 0; i < lines; ++i)
            items.append(stored({QStringLiteral("Строка"), QStringLiteral("backend"), 2, 50}));
        auto service = account();
        CreateIterationModel model;
        model.setProjectsService(service.get());
        model.setRootProjectId(root);
        model.setCopyFromCurrentItems(QVariant::fromValue(items));
        model.setName(name);
        model.setSourceRaw(source);
        QSignalSpy created(&model, &CreateIterationModel::created);
        model.submit();
        QVERIFY(model.isSubmitting());
        QCOMPARE(model.submitText(), QStringLiteral("…"));
        model.submit(); // ignored while one runs
        QVERIFY(waitFor(created));
        QVERIFY(!model.isSubmitting());
        QCOMPARE(model.submitText(), QStringLiteral("Создать"));
        const QList<QJsonObject> sent = bodies(post, "projects/" + root + "/iterate");
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sortedKeys(sent.first()), sortedKeys(expected));
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            if (it.key() == QLatin1String("items"))
                QCOMPARE(sent.first().value("items").toArray().size(), it.value().toInt());
            else
                QCOMPARE(sent.first().value(it.key()), it.value());
        }
    }

    void createIterationFailure()
    {
        const QString root = addRoot();
        m_backend->setOverride(post, "projects/" + root + "/iterate", BackendReply::empty(502));
        auto service = account();
        CreateIterationModel model;
        model.setProjectsService(service.get());
        model.setRootProjectId(root);
        model.setName(QStringLiteral("Спринт"));
        QSignalSpy created(&model, &CreateIterationModel::created);
        model.submit();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isSubmitting(), 10000);
        QVERIFY(created.isEmpty());
        QCOMPARE(model.name(), QStringLiteral("Спринт"));
        QVERIFY(service->hasErrorMessage());
    }
};

QTEST_MAIN(tst_EditorSheets)
#include "tst_EditorSheets.moc"
