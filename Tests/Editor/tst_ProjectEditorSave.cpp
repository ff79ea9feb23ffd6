#include "EditorSamples.h"
#include "Features/Editor/ProjectEditorViewModel.h"

#include "API/APIClient.h"
#include "Await.h"
#include "Data/EstimateCatalogLoader.h"
#include "Data/ModelContainer.h"
#include "StoreWriteLock.h"
#include "TestBackend.h"
#include "../Data/StoreProbe.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using namespace EditorSamples;

namespace {

using Edit = std::function<void(ProjectEditorViewModel &)>;

const QString patchMethod = QStringLiteral("PATCH");

QStringList sortedKeys(const QJsonValue &value)
{
    QStringList keys = value.toObject().keys();
    keys.sort();
    return keys;
}

QList<QUuid> lineIds(const ProjectEditorViewModel &vm)
{
    QList<QUuid> ids;
    for (const EditableEstimateItem &item : vm.items())
        ids.append(item.id);
    return ids;
}

// Saves and waits for the outcome; what finished() reported.
bool saveAndWait(ProjectEditorViewModel &vm)
{
    QSignalSpy finished(&vm, &ProjectEditorViewModel::finished);
    vm.save();
    if (finished.isEmpty() && !finished.wait(20000))
        return false;
    return finished.first().first().toBool();
}

} // namespace

Q_DECLARE_METATYPE(Edit)

// The editor's save, to the account through the test backend and to a device store.
class tst_ProjectEditorSave : public QObject
{
    Q_OBJECT

private:
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    QString m_accountId;
    std::unique_ptr<EstimateCatalogLoader::ScopedCatalogOverride> m_catalog;

    std::unique_ptr<ProjectsService> account()
    {
        return std::make_unique<ProjectsService>(false, nullptr, m_client.get());
    }
    // A project on the backend, as the app reads it.
    Project seeded(const QList<Line> &lines = {{QStringLiteral("API"), QStringLiteral("be"), 2, 100}})
    {
        QJsonArray items;
        for (const Line &line : lines)
            items.append(stored(line).toJson());
        const QJsonObject &p = m_backend.data().addProject(m_accountId,
                                                           {{QStringLiteral("name"), QStringLiteral("Сайт")},
                                                            {QStringLiteral("defaultRate"), 100},
                                                            {QStringLiteral("items"), items}});
        return Project::fromJson(p);
    }
    QString patchPath(const ProjectEditorViewModel &vm) const { return QStringLiteral("projects/") + vm.projectId(); }
    // The stored project under another name, as a delayed answer to the save.
    BackendReply delayedAnswer(const Project &project, const QString &name) const
    {
        Project answer = project;
        answer.name = name;
        return BackendReply::json(200, answer.toJson()).after(200);
    }
    bool waitForPatch(const ProjectEditorViewModel &vm)
    {
        return QTest::qWaitFor([&] { return !m_backend.requests(patchMethod, patchPath(vm)).isEmpty(); }, 20000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_client->setTokenProvider([this] { return m_token; });
        m_accountId = m_backend.data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret")).id;
        m_catalog = std::make_unique<EstimateCatalogLoader::ScopedCatalogOverride>(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/no-such-catalog.json"));
    }
    void cleanupTestCase() { m_catalog.reset(); }
    void init()
    {
        m_backend.clearRequests();
        m_backend.clearOverrides();
        m_backend.data().projects.clear();
        m_token = m_backend.data().issueToken(m_accountId);
    }

    // What the save sends: names trimmed of spaces and tabs only, absent client when blank,
    // lines clamped, type always, iteration start never.
    void requestBody_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("sentName");
        QTest::addColumn<std::optional<QString>>("sentClient");
        QTest::addColumn<std::optional<QString>>("sentDescription");
        QTest::addColumn<ProjectTypeOption>("type");
        const std::optional<QString> absent;
        const auto text = [](const QString &s) { return std::optional<QString>(s); };
        QTest::newRow("line break kept") << QStringLiteral(" \tСайт\n\t") << QString() << QString()
                                         << QStringLiteral("Сайт\n") << absent << absent << ProjectTypeOption::OneTime;
        QTest::newRow("client of blanks absent")
            << QStringLiteral("Сайт") << QStringLiteral(" \t ") << QStringLiteral(" ") << QStringLiteral("Сайт")
            << absent << text(QStringLiteral(" ")) << ProjectTypeOption::Iterative;
        QTest::newRow("client trimmed, description not")
            << QStringLiteral("Сайт") << QStringLiteral(" ООО\t") << QStringLiteral(" Описание ")
            << QStringLiteral("Сайт") << text(QStringLiteral("ООО")) << text(QStringLiteral(" Описание "))
            << ProjectTypeOption::OneTime;
    }
    void requestBody()
    {
        QFETCH(QString, name);
        QFETCH(QString, client);
        QFETCH(QString, description);
        QFETCH(QString, sentName);
        QFETCH(std::optional<QString>, sentClient);
        QFETCH(std::optional<QString>, sentDescription);
        QFETCH(ProjectTypeOption, type);
        const auto service = account();
        ProjectEditorViewModel vm(seeded(), service.get());
        vm.setName(name);
        vm.setClientName(client);
        vm.setDefaultRate(-5);
        vm.setProjectTypeOption(type);
        QList<EditableEstimateItem> items = vm.items();
        items[0].title = QStringLiteral("\t API \n");
        items[0].description = description;
        items.append(editable({QStringLiteral("Тесты"), QStringLiteral("qa"), 0, notANumber}));
        vm.setItems(items);
        const QList<QUuid> before = lineIds(vm);

        QVERIFY(saveAndWait(vm));
        const QList<RecordedRequest> patches = m_backend.requests(patchMethod, patchPath(vm));
        QCOMPARE(patches.size(), 1);
        const QJsonObject body = patches.first().json().toObject();
        QStringList keys{"currency", "defaultRate", "items", "name", "projectType", "status"};
        if (sentClient)
            keys.append(QStringLiteral("clientName"));
        keys.sort();
        QCOMPARE(sortedKeys(body), keys);
        QCOMPARE(body.value("name").toString(), sentName);
        QCOMPARE(body.value("clientName").toString(), sentClient.value_or(QString()));
        QCOMPARE(body.value("defaultRate").toDouble(), -5.0);
        QCOMPARE(body.value("projectType").toString(), rawValue(type));
        QCOMPARE(body.value("status").toString(), QStringLiteral("draft"));
        const QJsonArray lines = body.value("items").toArray();
        QCOMPARE(lines.size(), 2);
        const QJsonObject first = lines.at(0).toObject();
        QStringList lineKeys{"category", "hours", "isLocked", "rate", "title"};
        if (sentDescription)
            lineKeys.append(QStringLiteral("description"));
        lineKeys.sort();
        QCOMPARE(sortedKeys(first), lineKeys);
        QCOMPARE(first.value("title").toString(), QStringLiteral("API \n"));
        QCOMPARE(first.value("description").toString(), sentDescription.value_or(QString()));
        QCOMPARE(lines.at(1).toObject().value("rate").toDouble(), 0.0); // not a number goes as 0

        // Reloaded from the stored project: clean, saved, fresh line identities.
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("saved"));
        QVERIFY(!vm.isDirty());
        QCOMPARE(vm.name(), sentName);
        QCOMPARE(vm.items().size(), 2);
        for (const QUuid &id : lineIds(vm))
            QVERIFY(!before.contains(id));
        QCOMPARE(service->errorMessage(), std::nullopt);
    }

    void validation_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("atLine"); // told at the first line, or else at the name
        QTest::newRow("name of blanks") << Edit([](auto &vm) { vm.setName(QStringLiteral(" \t ")); })
                                        << QStringLiteral("Укажите название проекта") << false;
        QTest::newRow("untitled line") << Edit([](auto &vm) {
            vm.updateItem(vm.items().first().id, [](EditableEstimateItem &item) { item.title = QStringLiteral("\t"); });
        }) << QStringLiteral("У каждой строки должно быть название")
                                       << true;
        QTest::newRow("negative hours") << Edit(
            [](auto &vm) { vm.updateItem(vm.items().first().id, [](EditableEstimateItem &item) { item.hours = -1; }); })
                                        << QStringLiteral("Часы и ставка не могут быть отрицательными") << true;
    }
    void validation()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, message);
        QFETCH(bool, atLine);
        const auto service = account();
        ProjectEditorViewModel vm(seeded(), service.get());
        edit(vm);
        QSignalSpy refused(&vm, &ProjectEditorViewModel::validationFailed);
        QVERIFY(!saveAndWait(vm));
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
        QCOMPARE(vm.saveErrorText(), message);
        QCOMPARE(vm.validationMessage(), message);
        QVERIFY(m_backend.requests(patchMethod, patchPath(vm)).isEmpty());
        // Where the keyboard is to go: the line's identity as the views know it, or none for the name.
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().first().toString(),
                 atLine ? vm.items().first().id.toString(QUuid::WithoutBraces) : QString());
    }

    // A failure keeps the copy as it is and always shows a text.
    void failures_data()
    {
        QTest::addColumn<BackendReply>("reply");
        QTest::addColumn<QString>("message");
        QTest::newRow("message list") << BackendReply::json(
            400, QJsonObject{{"message", QJsonArray{"name too long", "rate invalid"}}})
                                      << QStringLiteral("name too long, rate invalid");
        QTest::newRow("server error without body")
            << BackendReply::empty(500) << QStringLiteral("Ошибка сервера (500)");
        QTest::newRow("empty message") << BackendReply::message(400, QString())
                                       << QStringLiteral("Не удалось сохранить");
        // The backend's copy of another project is not taken in: its next save would write it here.
        Project other = project();
        other.id = QStringLiteral("other");
        QTest::newRow("another project") << BackendReply::json(
            200,
            other.toJson()) << QStringLiteral("Сервер вернул другой проект. Изменения не потеряны: сохраните ещё раз.");
    }
    void failures()
    {
        QFETCH(BackendReply, reply);
        QFETCH(QString, message);
        const auto service = account();
        ProjectEditorViewModel vm(seeded(), service.get());
        m_backend.setOverride(patchMethod, patchPath(vm), reply);
        vm.setName(QStringLiteral("Новое"));
        const QList<QUuid> before = lineIds(vm);
        QVERIFY(!saveAndWait(vm));
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
        QCOMPARE(vm.saveErrorText(), message);
        QCOMPARE(vm.name(), QStringLiteral("Новое"));
        QCOMPARE(lineIds(vm), before);
        QVERIFY(vm.isDirty());
        QVERIFY(!vm.validationMessage());
    }

    void withoutService()
    {
        ProjectEditorViewModel vm(project(), nullptr);
        QVERIFY(!saveAndWait(vm));
        QCOMPARE(vm.saveErrorText(), QStringLiteral("Не удалось сохранить"));
    }

    // Edits made while the save runs are kept; only an untouched copy is reloaded.
    void editsDuringSave_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<ProjectTypeOption>("type");
        QTest::newRow("none: reloaded") << Edit([](auto &) {}) << QStringLiteral("saved") << QStringLiteral("С сервера")
                                        << false << ProjectTypeOption::OneTime;
        QTest::newRow("name") << Edit([](auto &vm) { vm.setName(QStringLiteral("Во время")); })
                              << QStringLiteral("idle") << QStringLiteral("Во время") << true
                              << ProjectTypeOption::OneTime;
        QTest::newRow("a line") << Edit([](auto &vm) {
            vm.updateItem(vm.items().first().id, [](EditableEstimateItem &item) { item.hours = 9; });
        }) << QStringLiteral("idle")
                                << QStringLiteral("Сайт") << true << ProjectTypeOption::OneTime;
        QTest::newRow("type only") << Edit([](auto &vm) { vm.setProjectTypeOption(ProjectTypeOption::Iterative); })
                                   << QStringLiteral("idle") << QStringLiteral("Сайт") << false
                                   << ProjectTypeOption::Iterative;
        QTest::newRow("name and back: reloaded") << Edit([](auto &vm) {
            vm.setName(QStringLiteral("Во время"));
            vm.setName(QStringLiteral("Сайт"));
        }) << QStringLiteral("saved") << QStringLiteral("С сервера")
                                                 << false << ProjectTypeOption::OneTime;
    }
    void editsDuringSave()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, state);
        QFETCH(QString, name);
        QFETCH(bool, dirty);
        QFETCH(ProjectTypeOption, type);
        const auto service = account();
        const Project project = seeded();
        ProjectEditorViewModel vm(project, service.get());
        m_backend.setOverride(patchMethod, patchPath(vm), delayedAnswer(project, QStringLiteral("С сервера")));
        m_backend.hold(patchMethod, patchPath(vm));
        QSignalSpy finished(&vm, &ProjectEditorViewModel::finished);
        vm.save();
        QVERIFY(waitForPatch(vm));
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("saving"));
        edit(vm);
        vm.markDirty(); // as the screen does after an edit: the save stays in flight
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("saving"));
        m_backend.release();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(vm.saveStateRaw(), state);
        QCOMPARE(vm.name(), name);
        QCOMPARE(vm.isDirty(), dirty);
        QCOMPARE(vm.projectTypeOption(), type);
        if (dirty) {
            // What was sent is now the saved state: undoing the edit leaves nothing to save.
            vm.setName(QStringLiteral("Сайт"));
            vm.updateItem(vm.items().first().id, [](EditableEstimateItem &item) { item.hours = 2; });
            QVERIFY(!vm.isDirty());
        }
    }

    // Saves asked for while one runs fold into one more, sent once the running one stored the
    // copy; after a failure the error stays. finished() tells the end of both, once.
    void saveAskedWhileSaving_data()
    {
        QTest::addColumn<bool>("firstFails");
        QTest::newRow("stored: saved again") << false;
        QTest::newRow("failed: nothing more") << true;
    }
    void saveAskedWhileSaving()
    {
        QFETCH(bool, firstFails);
        const auto service = account();
        ProjectEditorViewModel vm(seeded(), service.get());
        m_backend.setDelay(patchMethod, patchPath(vm), 200);
        if (firstFails)
            m_backend.setOverride(patchMethod, patchPath(vm), BackendReply::empty(500));
        QSignalSpy finished(&vm, &ProjectEditorViewModel::finished);
        vm.setName(QStringLiteral("Первое"));
        vm.save();
        vm.setName(QStringLiteral("Второе"));
        vm.save();
        vm.save();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(vm.saveStateRaw(), firstFails ? QStringLiteral("error") : QStringLiteral("saved"));
        QCOMPARE(m_backend.requests(patchMethod, patchPath(vm)).size(), firstFails ? 1 : 2);
    }

    void markDirtyStates_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("idle") << QStringLiteral("idle") << QStringLiteral("idle");
        QTest::newRow("saving") << QStringLiteral("saving") << QStringLiteral("saving");
        QTest::newRow("saved") << QStringLiteral("saved") << QStringLiteral("idle");
        QTest::newRow("error") << QStringLiteral("error") << QStringLiteral("idle");
    }
    void markDirtyStates()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const auto service = account();
        const Project project = seeded();
        ProjectEditorViewModel vm(project, service.get());
        if (before == QStringLiteral("saved"))
            QVERIFY(saveAndWait(vm));
        if (before == QStringLiteral("error")) {
            m_backend.setOverride(patchMethod, patchPath(vm), BackendReply::empty(500));
            QVERIFY(!saveAndWait(vm));
        }
        if (before == QStringLiteral("saving")) {
            m_backend.setOverride(patchMethod, patchPath(vm), delayedAnswer(project, project.name));
            vm.save();
        }
        QCOMPARE(vm.saveStateRaw(), before);
        vm.markDirty();
        QCOMPARE(vm.saveStateRaw(), after);
        if (before == QStringLiteral("saving")) {
            QSignalSpy finished(&vm, &ProjectEditorViewModel::finished);
            QVERIFY(finished.wait(20000));
        }
    }

    // A result arriving after its owner is gone, or after another project was loaded, changes
    // nothing.
    void lateResults()
    {
        const auto service = account();
        const Project project = seeded();
        await(service->load(false));
        auto vm = std::make_unique<ProjectEditorViewModel>(project, service.get());
        m_backend.setOverride(patchMethod, patchPath(*vm), delayedAnswer(project, QStringLiteral("С сервера")));
        m_backend.hold(patchMethod, patchPath(*vm));
        vm->save();
        QVERIFY(waitForPatch(*vm));
        vm.reset();
        QSignalSpy listed(service.get(), &ProjectsService::projectsChanged);
        m_backend.release();
        QVERIFY(listed.wait(20000));
        QCOMPARE(service->projects().first().name, QStringLiteral("С сервера"));

        Project other = project;
        other.id = QStringLiteral("other");
        other.name = QStringLiteral("Другой");
        ProjectEditorViewModel reused(project, service.get());
        QSignalSpy finished(&reused, &ProjectEditorViewModel::finished);
        m_backend.hold(patchMethod, patchPath(reused));
        reused.save();
        QVERIFY(waitForPatch(reused));
        reused.load(other);
        m_backend.release();
        QVERIFY(listed.wait(20000));
        QCOMPARE(finished.count(), 0);
        QCOMPARE(reused.name(), QStringLiteral("Другой"));
        QCOMPARE(reused.saveStateRaw(), QStringLiteral("idle"));
        QVERIFY(!reused.isDirty());
    }

    // A guest's project is stored on the device, with its totals recomputed.
    void guestSave_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("stored") << true;
        QTest::newRow("missing") << false;
    }
    void guestSave()
    {
        QFETCH(bool, stored);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ProjectsService service(true, ModelContainer::open(dir.filePath(QStringLiteral("store.sqlite"))), nullptr);
        const Project project = EditorSamples::project({{QStringLiteral("API"), QStringLiteral("be"), 2, 100}}, 50);
        if (stored)
            service.localRepository()->upsert(project);
        ProjectEditorViewModel vm(project, &service);
        vm.setName(QStringLiteral(" Сайт 2\t"));
        vm.setProjectTypeOption(ProjectTypeOption::Iterative);
        QList<EditableEstimateItem> items = vm.items();
        items.append(editable({QStringLiteral("Тесты"), QStringLiteral("qa"), 3, 0}));
        vm.setItems(items);
        const QList<QUuid> before = lineIds(vm);

        QCOMPARE(saveAndWait(vm), stored);
        if (!stored) {
            QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
            QCOMPARE(vm.saveErrorText(), QStringLiteral("Проект не найден"));
            QCOMPARE(lineIds(vm), before);
            return;
        }
        const std::optional<Project> onDevice = service.localRepository()->fetch(project.id);
        QVERIFY(onDevice);
        QCOMPARE(onDevice->name, QStringLiteral("Сайт 2"));
        QCOMPARE(onDevice->projectType, QStringLiteral("iterative"));
        QCOMPARE(onDevice->iterationStartedAt, std::nullopt);
        QCOMPARE(onDevice->totalHours, 5.0);
        QCOMPARE(onDevice->totalCost, 350.0); // the new line's rate of 0 is priced at the default rate of 50
        QCOMPARE(onDevice->items.at(1).done, std::nullopt);
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("saved"));
        QCOMPARE(vm.name(), QStringLiteral("Сайт 2"));
        QCOMPARE(vm.items().at(1).rate, 50.0);
        QVERIFY(!vm.isDirty());
    }

    // The editor or the whole service gone while the write runs: the write lands and nothing else
    // happens to anyone.
    void guestOwnerGoneDuringSave_data()
    {
        QTest::addColumn<bool>("serviceGoes");
        QTest::newRow("editor") << false;
        QTest::newRow("service") << true;
    }
    void guestOwnerGoneDuringSave()
    {
        QFETCH(bool, serviceGoes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.sqlite"));
        auto service = std::make_unique<ProjectsService>(true, ModelContainer::open(path), nullptr);
        const Project project = EditorSamples::project({{QStringLiteral("API"), QStringLiteral("be"), 2, 100}}, 50);
        service->localRepository()->upsert(project);
        auto vm = std::make_unique<ProjectEditorViewModel>(project, service.get());
        vm->setName(QStringLiteral("Сохранено"));
        QSignalSpy finished(vm.get(), &ProjectEditorViewModel::finished);
        {
            StoreWriteLock lock(path);
            vm->save();
            if (!serviceGoes)
                vm.reset();
        }
        if (serviceGoes) {
            service.reset(); // waits for the write under way
            QVERIFY(finished.wait(20000));
            QCOMPARE(vm->name(), QStringLiteral("Сохранено"));
        } else {
            QCOMPARE(await(service->fetchProject(project.id))->name, QStringLiteral("Сохранено")); // reads wait for it
        }
        QCOMPARE(LocalProjectRepository(ModelContainer::open(path)).fetch(project.id)->name,
                 QStringLiteral("Сохранено"));
    }

    // A store that fails the write beside the window: the editor shows the store's failure as
    // the service tells it, and keeps the edits.
    void guestStoreFailureDuringSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.sqlite"));
        ProjectsService service(true, ModelContainer::open(path), nullptr);
        const Project project = EditorSamples::project({{QStringLiteral("API"), QStringLiteral("be"), 2, 100}}, 50);
        service.localRepository()->upsert(project);
        ProjectEditorViewModel vm(project, &service);
        vm.setName(QStringLiteral("Новое"));
        probeStoreFile(path, QStringLiteral("DROP TABLE LocalProjectRecord"));
        QVERIFY(!saveAndWait(vm));
        QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
        QVERIFY(service.errorMessage() && !service.errorMessage()->isEmpty());
        QCOMPARE(vm.saveErrorText(), *service.errorMessage());
        QCOMPARE(vm.name(), QStringLiteral("Новое"));
        QVERIFY(vm.isDirty());
    }

    // Totals beyond the largest double: the save says in Russian what to change, sends and writes
    // nothing, and the edits stay. Lines are priced as the store prices them.
    void totalsThatOverflow_data()
    {
        QTest::addColumn<bool>("guest");
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<double>("defaultRate");
        QTest::addColumn<QString>("message"); // empty: the save goes through
        const QString cost = QStringLiteral("Итог слишком велик: уменьшите часы или ставку. Строка «%1»");
        const QString hours = QStringLiteral("Слишком много часов: уменьшите часы. Строка «%1»");
        for (const bool guest : {false, true}) {
            const char *mode = guest ? "guest" : "account";
            QTest::addRow("%s one line's cost", mode)
                << guest
                << QList<Line>{{QStringLiteral("API"), QStringLiteral("be"), 2, 100},
                               {QStringLiteral("Большая"), QStringLiteral("be"), 1e200, 1e200}}
                << 100.0 << cost.arg(QStringLiteral("Большая"));
            QTest::addRow("%s sum of costs", mode)
                << guest
                << QList<Line>{{QStringLiteral("Первая"), QStringLiteral("be"), 1e154, 1e154},
                               {QStringLiteral("Вторая"), QStringLiteral("be"), 1e154, 1.7e154}}
                << 100.0 << cost.arg(QStringLiteral("Вторая"));
            QTest::addRow("%s sum of hours", mode)
                << guest
                << QList<Line>{{QStringLiteral("Часы"), QStringLiteral("be"), 1.7e308, 1e-300},
                               {QStringLiteral("Ещё часы"), QStringLiteral("be"), 1e308, 1e-300}}
                << 100.0 << hours.arg(QStringLiteral("Часы"));
            QTest::addRow("%s long title quoted short", mode)
                << guest << QList<Line>{{QString(5000, QLatin1Char('x')), QStringLiteral("be"), 1e200, 1e200}} << 100.0
                << cost.arg(QString(20, QLatin1Char('x')) + QStringLiteral("…"));
            QTest::addRow("%s largest finite", mode)
                << guest << QList<Line>{{QStringLiteral("API"), QStringLiteral("be"), 1e154, 1.7e154}} << 100.0
                << QString();
        }
        // A line without a rate costs the default rate.
        const QList<Line> unpriced{{QStringLiteral("Без ставки"), QStringLiteral("be"), 1e10, 0}};
        QTest::newRow("guest line at the default rate")
            << true << unpriced << 1e300 << cost.arg(unpriced.first().title);
        QTest::newRow("account line at the default rate")
            << false << unpriced << 1e300 << cost.arg(unpriced.first().title);
    }
    void totalsThatOverflow()
    {
        QFETCH(bool, guest);
        QFETCH(QList<Line>, lines);
        QFETCH(double, defaultRate);
        QFETCH(QString, message);
        QTemporaryDir dir;
        std::unique_ptr<ProjectsService> service;
        Project start;
        if (guest) {
            service = std::make_unique<ProjectsService>(
                true, ModelContainer::open(dir.filePath(QStringLiteral("store.sqlite"))), nullptr);
            start = EditorSamples::project({{QStringLiteral("API"), QStringLiteral("be"), 2, 100}});
            service->localRepository()->upsert(start);
        } else {
            service = account();
            start = seeded();
        }
        ProjectEditorViewModel vm(start, service.get());
        vm.setName(QStringLiteral("Сайт 2"));
        vm.setDefaultRate(defaultRate);
        vm.setItems(editable(lines));
        const QList<QUuid> before = lineIds(vm);

        QCOMPARE(saveAndWait(vm), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(vm.saveStateRaw(), QStringLiteral("error"));
            QCOMPARE(vm.saveErrorText(), message);
            QCOMPARE(vm.name(), QStringLiteral("Сайт 2"));
            QCOMPARE(lineIds(vm), before);
            QVERIFY(vm.isDirty());
        }
        if (guest) {
            const std::optional<Project> onDevice = service->localRepository()->fetch(start.id);
            QVERIFY(onDevice);
            QCOMPARE(onDevice->name, message.isEmpty() ? QStringLiteral("Сайт 2") : start.name);
        } else {
            QCOMPARE(m_backend.requests(patchMethod, patchPath(vm)).size(), message.isEmpty() ? 1 : 0);
        }
    }
};

QTEST_GUILESS_MAIN(tst_ProjectEditorSave)
#include "tst_ProjectEditorSave.moc"
