#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "ProjectSamples.h"
#include "StoreProbe.h"
#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using ProjectSamples::make;
using ProjectSamples::ids;

namespace {

QStringList sortedKeys(const QJsonValue &value)
{
    QStringList keys = value.toObject().keys();
    keys.sort();
    return keys;
}

ProjectItem line(const QString &title, double hours, double rate)
{
    ProjectItem item;
    item.title = title;
    item.category = QStringLiteral("backend");
    item.hours = hours;
    item.rate = rate;
    return item;
}

EstimateTemplate sampleTemplate()
{
    EstimateTemplateItem item;
    item.title = QStringLiteral("  API\t");
    item.category = QStringLiteral("backend");
    item.hours = 10;
    item.rate = 0;
    item.isLocked = true;
    EstimateTemplate t;
    t.id = QStringLiteral("tpl-web");
    t.name = QStringLiteral("Сайт");
    t.defaultRate = 60;
    t.items = {item};
    return t;
}

} // namespace

class tst_ProjectsService : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    QString m_accountId;

    std::unique_ptr<ProjectsService> guest(std::shared_ptr<ModelContainer> store = ModelContainer::openInMemory())
    {
        return std::make_unique<ProjectsService>(true, std::move(store), m_client.get());
    }
    std::unique_ptr<ProjectsService> account()
    {
        return std::make_unique<ProjectsService>(false, nullptr, m_client.get());
    }
    QString seed(const QString &name, QJsonObject fields = {})
    {
        fields.insert(QStringLiteral("name"), name);
        return m_backend.data().addProject(m_accountId, fields).value(QStringLiteral("id")).toString();
    }
    // Puts the service's error text in place through a failing guest update.
    static void failOnce(ProjectsService &service)
    {
        await(service.update(QStringLiteral("missing"), QStringLiteral("x"), std::nullopt, QStringLiteral("RUB"),
                             ProjectStatus::Draft, 0, {}, std::nullopt, std::nullopt));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_backend.start() != 0);
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_client->setTokenProvider([this] { return m_token; });
        m_accountId = m_backend.data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret")).id;
    }
    void init()
    {
        m_backend.clearRequests();
        m_backend.clearOverrides();
        m_backend.data().projects.clear();
        m_token = m_backend.data().issueToken(m_accountId);
        m_client->setTransferTimeout(APIClient::defaultTransferTimeout);
    }

    void freshService_data()
    {
        QTest::addColumn<bool>("isGuest");
        QTest::newRow("guest") << true;
        QTest::newRow("account") << false;
    }
    void freshService()
    {
        QFETCH(bool, isGuest);
        const auto store = ModelContainer::openInMemory();
        LocalProjectRepository(store).upsert(make(QStringLiteral("local-1"), QStringLiteral("A")));
        seed(QStringLiteral("B"));
        ProjectsService service(isGuest, store, m_client.get());
        QVERIFY(service.projects().isEmpty());
        QVERIFY(!service.isLoading());
        QVERIFY(!service.errorMessage());
        QCOMPARE(service.isGuestMode(), isGuest);
        QCOMPARE(service.localRepository().has_value(), isGuest);
        await(service.load(false));
        QCOMPARE(service.projects().size(), 1);
        QVERIFY(!service.isLoading());
    }

    // ---- guest mode: the device store

    void guestLoadListsLatestWriteFirst()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        repo.upsert(make(QStringLiteral("a"), QStringLiteral("A")));
        repo.upsert(make(QStringLiteral("b"), QStringLiteral("B")));
        QSignalSpy loading(service.get(), &ProjectsService::isLoadingChanged);
        await(service->load(true));
        QCOMPARE(ids(service->projects()), (QStringList{"b", "a"}));
        QCOMPARE(loading.count(), 2);
        QVERIFY(!service->isLoading());
        QVERIFY(m_backend.requests().isEmpty());
    }

    void guestCreateGoesFirstAndIsStored()
    {
        auto service = guest();
        const std::optional<Project> first = await(service->create(
            QStringLiteral("Первый"), std::nullopt, QStringLiteral("RUB"), QStringLiteral("software"), std::nullopt));
        const std::optional<Project> second = await(service->create(QStringLiteral("Второй"), QStringLiteral("ООО"),
                                                                    QStringLiteral("USD"), QStringLiteral("design"),
                                                                    sampleTemplate()));
        QVERIFY(first && second);
        QCOMPARE(ids(service->projects()), (QStringList{second->id, first->id}));
        QVERIFY(second->id.startsWith(QStringLiteral("local-")));
        QCOMPARE(second->userId, QStringLiteral("guest"));
        QCOMPARE(second->status, ProjectStatus::Draft);
        QCOMPARE(second->templateId, QStringLiteral("tpl-web"));
        QCOMPARE(second->items.value(0).title, QStringLiteral("API"));
        QCOMPARE(second->items.value(0).rate, 60.0);
        QCOMPARE(second->totalCost, 600.0);
        QCOMPARE(first->defaultRate, 50.0);
        QCOMPARE(service->projects().first(), *second);
        QCOMPARE(*service->localRepository()->fetch(second->id), *second);
        QCOMPARE(ids(service->localRepository()->fetchAllSorted()), (QStringList{second->id, first->id}));
    }

    void guestUpdate()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        Project root = make(QStringLiteral("local-root"), QStringLiteral("Корень"));
        Project iteration = make(QStringLiteral("local-it"), QStringLiteral("Итерация"));
        iteration.parentProjectId = root.id;
        iteration.iterationName = QStringLiteral("Вторая");
        iteration.version = 2;
        repo.upsert(root);
        await(service->load(false));
        repo.upsert(iteration);

        // Unlisted: stored and returned, never added to the list.
        const std::optional<Project> updated = await(service->update(
            iteration.id, QStringLiteral("Итерация 2"), std::nullopt, QStringLiteral("EUR"), ProjectStatus::InProgress,
            40, {line(QStringLiteral("a"), 2, 0), line(QStringLiteral("b"), -1, 100)}, QStringLiteral("iterative"),
            QStringLiteral("2024-05-01")));
        QVERIFY(updated);
        QCOMPARE(ids(service->projects()), QStringList{root.id});
        QCOMPARE(updated->totalHours, 2.0);
        QCOMPARE(updated->totalCost, 80.0);
        QCOMPARE(updated->iterationName, QStringLiteral("Вторая"));
        QCOMPARE(updated->parentProjectId, root.id);
        QCOMPARE(updated->createdAt, iteration.createdAt);
        QVERIFY(updated->updatedAt != iteration.updatedAt);
        QCOMPARE(*repo.fetch(iteration.id), *updated);

        // Listed: replaced in place.
        const std::optional<Project> renamed = await(service->update(root.id, QStringLiteral("Новое имя"), std::nullopt,
                                                                     QStringLiteral("RUB"), ProjectStatus::Draft, 50,
                                                                     {}, std::nullopt, std::nullopt));
        QCOMPARE(service->projects(), QList<Project>{*renamed});
        QVERIFY(!service->errorMessage());

        const std::optional<Project> missing = await(service->update(QStringLiteral("LOCAL-ROOT"), QStringLiteral("x"),
                                                                     std::nullopt, QStringLiteral("RUB"),
                                                                     ProjectStatus::Draft, 0, {}, std::nullopt,
                                                                     std::nullopt));
        QVERIFY(!missing);
        QCOMPARE(service->errorMessage(), QStringLiteral("Проект не найден"));
        QCOMPARE(repo.context()->count(), 2);
    }

    void guestDeleteKeepsIterationsListed()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        Project iteration = make(QStringLiteral("local-it"), QStringLiteral("Итерация"));
        iteration.parentProjectId = QStringLiteral("local-root");
        repo.upsert(make(QStringLiteral("local-root"), QStringLiteral("Корень")));
        repo.upsert(iteration);
        await(service->load(false));
        QVERIFY(await(service->remove(QStringLiteral("local-root"))));
        QCOMPARE(ids(service->projects()), QStringList{"local-it"});
        QVERIFY(!repo.fetch(QStringLiteral("local-root")));
        QVERIFY(await(service->remove(QStringLiteral("never-stored"))));
    }

    void guestFetchReadsTheStoreOnly()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        const Project stored = make(QStringLiteral("local-1"), QStringLiteral("A"));
        repo.upsert(stored);
        QCOMPARE(await(service->fetchProject(stored.id)), stored);
        QVERIFY(service->projects().isEmpty());
        QVERIFY(!await(service->fetchProject(QStringLiteral("local-2"))));
        QVERIFY(!service->errorMessage());
    }

    void guestAnswersOfAccountOnlyOperations()
    {
        auto service = guest();
        failOnce(*service);
        const std::optional<QString> before = service->errorMessage();
        QVERIFY(before);
        QVERIFY(!await(service->createIteration(QStringLiteral("local-1"), CreateIterationRequest{})));
        QVERIFY(!await(service->createFromLocalGuestProject(make(QStringLiteral("local-1"), QStringLiteral("A")))));
        QVERIFY(!await(service->fetchLineSummary(QStringLiteral("local-1"))));
        QVERIFY(await(service->fetchIterations(QStringLiteral("local-1"))).isEmpty());
        QCOMPARE(service->errorMessage(), before);
        QVERIFY(m_backend.requests().isEmpty());
        QCOMPARE(service->localRepository()->context()->count(), 0);
    }

    // Which operations clear an earlier error text when they succeed.
    void errorClearing_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("clears");
        QTest::newRow("fetchProject") << "fetchProject" << false;
        QTest::newRow("load") << "load" << true;
        QTest::newRow("create") << "create" << true;
        QTest::newRow("update") << "update" << true;
        QTest::newRow("delete") << "delete" << true;
    }
    void errorClearing()
    {
        QFETCH(QString, operation);
        QFETCH(bool, clears);
        auto service = guest();
        const Project stored = make(QStringLiteral("local-1"), QStringLiteral("A"));
        service->localRepository()->upsert(stored);
        failOnce(*service);
        QVERIFY(service->errorMessage());
        if (operation == QStringLiteral("fetchProject"))
            QVERIFY(await(service->fetchProject(stored.id)));
        else if (operation == QStringLiteral("load"))
            await(service->load(false));
        else if (operation == QStringLiteral("create"))
            QVERIFY(await(service->create(QStringLiteral("B"), std::nullopt, QStringLiteral("RUB"), QString(), std::nullopt)));
        else if (operation == QStringLiteral("update"))
            QVERIFY(await(service->update(stored.id, QStringLiteral("A2"), std::nullopt, QStringLiteral("RUB"),
                                          ProjectStatus::Draft, 1, {}, std::nullopt, std::nullopt)));
        else
            QVERIFY(await(service->remove(stored.id)));
        QCOMPARE(!service->errorMessage().has_value(), clears);
    }

    // One record that no longer reads must not hide the others.
    void guestUnreadableRecord()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        repo.upsert(make(QStringLiteral("local-old"), QStringLiteral("Старый")));
        repo.context()->upsert(QStringLiteral("local-bad"), R"({"id":"local-bad","status":"Draft"})");
        repo.upsert(make(QStringLiteral("local-new"), QStringLiteral("Новый")));
        await(service->load(false));
        QCOMPARE(ids(service->projects()), (QStringList{"local-new", "local-old"}));
        QVERIFY(service->errorMessage());
        QVERIFY(!service->isLoading());
        QCOMPARE(await(service->fetchProject(QStringLiteral("local-old")))->name, QStringLiteral("Старый"));
        QVERIFY(!await(service->fetchProject(QStringLiteral("local-bad"))));
        QVERIFY(service->errorMessage()->startsWith(QStringLiteral("keyNotFound")));
    }

    void guestStoreFailureKeepsTheList()
    {
        const QString path = m_dir.filePath(QStringLiteral("broken.sqlite"));
        auto service = guest(ModelContainer::open(path));
        service->localRepository()->upsert(make(QStringLiteral("local-1"), QStringLiteral("A")));
        await(service->load(false));
        probeStoreFile(path, QStringLiteral("DROP TABLE LocalProjectRecord"));

        await(service->load(false));
        QCOMPARE(ids(service->projects()), QStringList{"local-1"});
        QVERIFY(service->errorMessage()->contains(QStringLiteral("no such table")));
        QVERIFY(!await(service->create(QStringLiteral("B"), std::nullopt, QStringLiteral("RUB"), QString(), std::nullopt)));
        QCOMPARE(ids(service->projects()), QStringList{"local-1"});
        QVERIFY(!await(service->remove(QStringLiteral("local-1"))));
        QCOMPARE(ids(service->projects()), QStringList{"local-1"});
    }

    void rootProjects()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        Project self = make(QStringLiteral("self"), QStringLiteral("Сам себе корень"));
        self.parentProjectId = self.id;
        Project child = make(QStringLiteral("child"), QStringLiteral("Итерация"));
        child.parentProjectId = QStringLiteral("absent-root");
        repo.upsert(make(QStringLiteral("plain"), QStringLiteral("Обычный")));
        repo.upsert(child);
        repo.upsert(self);
        await(service->load(false));
        QCOMPARE(ids(service->rootProjects()), (QStringList{"self", "plain"}));
    }

    // ---- account mode: the REST backend

    void accountLoad_data()
    {
        QTest::addColumn<bool>("includeIterations");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("count");
        QTest::newRow("roots") << false << "projects" << 2;
        QTest::newRow("with iterations") << true << "projects?view=full" << 3;
    }
    void accountLoad()
    {
        QFETCH(bool, includeIterations);
        QFETCH(QString, target);
        QFETCH(int, count);
        const QString zeta = seed(QStringLiteral("Zeta"));
        seed(QStringLiteral("Alpha"));
        seed(QStringLiteral("Zeta v2"), {{"parentProjectId", zeta}, {"version", 2}});
        auto service = account();
        await(service->load(includeIterations));
        const QList<RecordedRequest> sent = m_backend.requests();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().method, QStringLiteral("GET"));
        QCOMPARE(sent.first().target, target);
        QCOMPARE(sent.first().header("Authorization"), "Bearer " + m_token->toUtf8());
        QCOMPARE(service->projects().size(), count);
        QCOMPARE(service->projects().first().name, QStringLiteral("Zeta")); // the backend's order
        QVERIFY(!service->isLoading());
    }

    void accountFailureLeavesTheList_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::newRow("server error") << 500 << QByteArray("<html>") << "Ошибка сервера (500)";
        QTest::newRow("message list") << 400 << QByteArray(R"({"message":["a","b"]})") << "a, b";
        QTest::newRow("expired session") << 401 << QByteArray("{}") << "Сессия истекла. Войдите снова.";
        QTest::newRow("not a list") << 200 << QByteArray("null") << "Ошибка разбора ответа: ";
        QTest::newRow("one bad project") << 200 << QByteArray(R"([{"id":"x"}])") << "Ошибка разбора ответа: ";
    }
    void accountFailureLeavesTheList()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        seed(QStringLiteral("A"));
        auto service = account();
        await(service->load(false));
        const QList<Project> before = service->projects();
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::raw(status, body));
        await(service->load(false));
        QCOMPARE(service->projects(), before);
        QVERIFY2(service->errorMessage().value_or(QString()).startsWith(message), qPrintable(service->errorMessageText()));
        QVERIFY(!service->isLoading());
        if (status == 200)
            return;
        m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"), BackendReply::raw(status, body));
        QVERIFY(!await(service->create(QStringLiteral("B"), std::nullopt, QStringLiteral("RUB"), QString(), std::nullopt)));
        QCOMPARE(service->projects(), before);
    }

    void accountCreate_data()
    {
        QTest::addColumn<bool>("withTemplate");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("plain") << false << QStringList{"currency", "name", "sphereId", "status"};
        QTest::newRow("from template") << true
                                       << QStringList{"clientName", "currency", "defaultRate", "items", "name",
                                                      "sphereId", "status", "templateId"};
    }
    void accountCreate()
    {
        QFETCH(bool, withTemplate);
        QFETCH(QStringList, keys);
        auto service = account();
        const std::optional<Project> first = await(service->create(QStringLiteral("Первый"), std::nullopt,
                                                                   QStringLiteral("RUB"), QStringLiteral("software"),
                                                                   std::nullopt));
        const std::optional<QString> client = withTemplate ? std::optional<QString>(QStringLiteral("ООО")) : std::nullopt;
        const std::optional<EstimateTemplate> tpl = withTemplate ? std::optional(sampleTemplate()) : std::nullopt;
        const std::optional<Project> second =
            await(service->create(QStringLiteral("Второй"), client, QStringLiteral("USD"), QStringLiteral("design"), tpl));
        QVERIFY(first && second);
        QCOMPARE(ids(service->projects()), (QStringList{second->id, first->id}));
        const QJsonObject body = m_backend.requests(QStringLiteral("POST"), QStringLiteral("projects")).last().json().toObject();
        QCOMPARE(sortedKeys(body), keys);
        QCOMPARE(body.value("status").toString(), QStringLiteral("draft"));
        QCOMPARE(body.value("sphereId").toString(), QStringLiteral("design"));
        if (withTemplate) {
            QCOMPARE(body.value("templateId").toString(), QStringLiteral("tpl-web"));
            QCOMPARE(body.value("defaultRate").toDouble(), 60.0);
            const QJsonObject item = body.value("items").toArray().first().toObject();
            QCOMPARE(item.value("title").toString(), QStringLiteral("API"));
            QCOMPARE(item.value("rate").toDouble(), 60.0);
            QVERIFY(!item.contains("done"));
        }
    }

    void uploadDeviceProject()
    {
        auto service = account();
        Project local = make(QStringLiteral("local-9"), QStringLiteral("С устройства"));
        local.templateId = QStringLiteral("tpl");
        const std::optional<Project> created = await(service->createFromLocalGuestProject(local));
        QVERIFY(created);
        QVERIFY(created->id != local.id);
        QCOMPARE(ids(service->projects()), QStringList{created->id});
        const QJsonObject body = m_backend.requests().last().json().toObject();
        QCOMPARE(sortedKeys(body), (QStringList{"currency", "defaultRate", "items", "name", "status"}));
        QCOMPARE(body.value("items").toArray().size(), 0);

        // An answer that carries a listed identity replaces that entry.
        QJsonObject again = created->toJson();
        again.insert(QStringLiteral("name"), QStringLiteral("Заменён"));
        m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"), BackendReply::json(201, again));
        await(service->createFromLocalGuestProject(local));
        QCOMPARE(service->projects().size(), 1);
        QCOMPARE(service->projects().first().name, QStringLiteral("Заменён"));
    }

    void accountFetchAndUpdateNeverAdd()
    {
        const QString listed = seed(QStringLiteral("Listed"));
        auto service = account();
        await(service->load(false));
        const QString unlisted = seed(QStringLiteral("Unlisted"));

        m_backend.data().project(listed)->insert(QStringLiteral("name"), QStringLiteral("Listed, renamed"));
        QCOMPARE(await(service->fetchProject(listed))->name, QStringLiteral("Listed, renamed"));
        QCOMPARE(service->projects().first().name, QStringLiteral("Listed, renamed"));
        QCOMPARE(await(service->fetchProject(unlisted))->name, QStringLiteral("Unlisted"));
        QCOMPARE(ids(service->projects()), QStringList{listed});

        const std::optional<Project> updated =
            await(service->update(unlisted, QStringLiteral("Unlisted 2"), std::nullopt, QStringLiteral("RUB"),
                                  ProjectStatus::Completed, 70, {line(QStringLiteral("x"), 1, 0)}, std::nullopt,
                                  std::nullopt));
        QCOMPARE(updated->name, QStringLiteral("Unlisted 2"));
        QCOMPARE(ids(service->projects()), QStringList{listed});
        const RecordedRequest patch = m_backend.requests().last();
        QCOMPARE(patch.method, QStringLiteral("PATCH"));
        QCOMPARE(patch.path, QStringLiteral("projects/") + unlisted);
        QCOMPARE(sortedKeys(patch.json()), (QStringList{"currency", "defaultRate", "items", "name", "status"}));

        await(service->update(listed, QStringLiteral("Listed 3"), QStringLiteral("Клиент"), QStringLiteral("RUB"),
                              ProjectStatus::Draft, 0, {}, QStringLiteral("iterative"), QStringLiteral("2024-01-01")));
        QCOMPARE(service->projects().first().name, QStringLiteral("Listed 3"));
        QCOMPARE(sortedKeys(m_backend.requests().last().json()),
                 (QStringList{"clientName", "currency", "defaultRate", "items", "iterationStartedAt", "name",
                              "projectType", "status"}));
    }

    void accountDeleteRemovesOnlyThatIdentity()
    {
        const QString root = seed(QStringLiteral("Root"), {{"projectType", "iterative"}});
        seed(QStringLiteral("Root v2"), {{"parentProjectId", root}, {"version", 2}});
        auto service = account();
        await(service->load(true));
        QCOMPARE(service->projects().size(), 2);
        QVERIFY(await(service->remove(root)));
        QCOMPARE(service->projects().size(), 1);
        QCOMPARE(m_backend.requests().last().method, QStringLiteral("DELETE"));
        QVERIFY(!m_backend.requests().last().hasHeader("Content-Type"));
        QVERIFY(!await(service->remove(root)));
        QVERIFY(service->errorMessage());
        QCOMPARE(service->projects().size(), 1);
    }

    void iterationsAndSummaries()
    {
        const QString root = seed(QStringLiteral("Root"), {{"projectType", "iterative"}});
        auto service = account();
        await(service->load(false));
        CreateIterationRequest body;
        body.iterationName = QStringLiteral("Вторая");
        body.copyBudget = true;
        const std::optional<Project> iteration = await(service->createIteration(root, body));
        QVERIFY(iteration);
        QCOMPARE(iteration->parentProjectId, root);
        QCOMPARE(m_backend.requests().last().json().toObject(), body.toJson());
        QCOMPARE(ids(service->projects()), QStringList{root});

        QCOMPARE(ids(await(service->fetchIterations(root))), QStringList{iteration->id});
        QCOMPARE(await(service->fetchLineSummary(root))->summary.iterationsCount, 1);

        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects/%1/summary").arg(root),
                              BackendReply::raw(200, "null"));
        QVERIFY(!await(service->fetchLineSummary(root)));
        QVERIFY(!service->errorMessage());

        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects/%1/iterations").arg(root),
                              BackendReply::raw(200, "null"));
        QVERIFY(await(service->fetchIterations(root)).isEmpty());
        QVERIFY(service->errorMessage()->startsWith(QStringLiteral("Ошибка разбора ответа: ")));

        // A successful fetch leaves the earlier text standing.
        m_backend.clearOverrides();
        QVERIFY(await(service->fetchLineSummary(root)));
        QVERIFY(await(service->fetchProject(root)));
        QVERIFY(service->errorMessage());
    }

    // Loads apply in the order their answers arrive; the first to finish clears isLoading.
    void overlappingLoads()
    {
        seed(QStringLiteral("A"));
        auto service = account();
        m_client->setTransferTimeout(1500);
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::silence());
        QCoro::Task<void> slow = service->load(true);
        QTRY_COMPARE(m_backend.requests().size(), 1);
        m_backend.clearOverrides();
        await(service->load(false));
        QVERIFY(!service->isLoading());
        QCOMPARE(service->projects().size(), 1);
        QVERIFY(!service->errorMessage());
        await(std::move(slow));
        QCOMPARE(service->projects().size(), 1);
        QVERIFY(service->errorMessage()->startsWith(QStringLiteral("Нет связи с 127.0.0.1")));
        QVERIFY(!service->isLoading());
    }

    void serviceGoneBeforeTheAnswer()
    {
        seed(QStringLiteral("A"));
        auto service = account();
        QCoro::Task<void> pending = service->load(false);
        service.reset();
        await(std::move(pending));
    }
};

QTEST_GUILESS_MAIN(tst_ProjectsService)
#include "tst_ProjectsService.moc"
