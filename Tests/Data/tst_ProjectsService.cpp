#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "PoolHold.h"
#include "ProjectSamples.h"
#include "StoreProbe.h"
#include "StoreWriteLock.h"
#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using ProjectSamples::ids;
using ProjectSamples::make;

namespace {

const QString rub = QStringLiteral("RUB");
// What a person reads when an answer does not decode, whatever did not match.
const QString unreadAnswer =
    QStringLiteral("Ошибка разбора ответа: сервер прислал данные, которые приложение не может прочитать. Попробуйте "
                   "позже; если ошибка повторится, обратитесь в поддержку.");

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
    return EstimateTemplate{QStringLiteral("tpl-web"), std::nullopt, QStringLiteral("Сайт"), std::nullopt, 60, {item}};
}

std::optional<Project> createPlain(ProjectsService &service, const QString &name)
{
    return await(service.create(name, std::nullopt, rub, QString(), std::nullopt)).project;
}

// Every edited field, as the estimate editor saves a project.
UpdateProjectRequest fullEdit(const QString &name, const std::optional<QString> &clientName, const QString &currency,
                              ProjectStatus status, double defaultRate, const QList<ProjectItem> &items,
                              const std::optional<QString> &projectType = std::nullopt,
                              const std::optional<QString> &iterationStartedAt = std::nullopt)
{
    UpdateProjectRequest edit;
    edit.name = name;
    edit.clientName = clientName;
    edit.currency = currency;
    edit.status = status;
    edit.defaultRate = defaultRate;
    edit.items = items;
    edit.projectType = projectType;
    edit.iterationStartedAt = iterationStartedAt;
    return edit;
}

// An update that changes the name only; "missing" fails in guest mode.
std::optional<Project> rename(ProjectsService &service, const QString &id, const QString &name)
{
    return await(service.update(id, fullEdit(name, std::nullopt, rub, ProjectStatus::Draft, 50, {})));
}

} // namespace

class tst_ProjectsService : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    // The services' work threads, the test's own.
    QThreadPool m_work;
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    QString m_accountId;

    std::unique_ptr<ProjectsService> guest(std::shared_ptr<ModelContainer> store = ModelContainer::openInMemory())
    {
        auto service = std::make_unique<ProjectsService>(true, std::move(store), m_client.get());
        service->setWorkPool(&m_work);
        return service;
    }
    std::unique_ptr<ProjectsService> account()
    {
        auto service = std::make_unique<ProjectsService>(false, nullptr, m_client.get());
        service->setWorkPool(&m_work);
        return service;
    }
    QString seed(const QString &name, QJsonObject fields = {})
    {
        fields.insert(QStringLiteral("name"), name);
        return m_backend.data().addProject(m_accountId, fields).value(QStringLiteral("id")).toString();
    }
    QJsonObject lastBody() const { return m_backend.requests().last().json().toObject(); }

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

    // Each mode reads its own source only.
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
        QSignalSpy loading(&service, &ProjectsService::isLoadingChanged);
        await(service.load(false));
        QCOMPARE(service.projects().first().name, isGuest ? QStringLiteral("A") : QStringLiteral("B"));
        QCOMPARE(service.projects().size(), 1);
        QCOMPARE(loading.count(), 2);
        QCOMPARE(m_backend.requests().size(), isGuest ? 0 : 1);
    }

    // A new project goes to the front; a template gives its lines (trimmed, rate from the default).
    void create_data()
    {
        QTest::addColumn<bool>("isGuest");
        QTest::newRow("guest") << true;
        QTest::newRow("account") << false;
    }
    void create()
    {
        QFETCH(bool, isGuest);
        auto service = isGuest ? guest() : account();
        const std::optional<Project> first = await(service->create(QStringLiteral("Первый"), std::nullopt, rub,
                                                                   QStringLiteral("software"), std::nullopt))
                                                 .project;
        const std::optional<Project> second =
            await(service->create(QStringLiteral("Второй"), QStringLiteral("ООО"), QStringLiteral("USD"),
                                  QStringLiteral("design"), sampleTemplate()))
                .project;
        QVERIFY(first && second);
        QCOMPARE(ids(service->projects()), (QStringList{second->id, first->id}));
        QCOMPARE(service->projects().first(), *second);
        if (isGuest) {
            QVERIFY(second->id.startsWith(QStringLiteral("local-")));
            QCOMPARE(second->userId, QStringLiteral("guest"));
            QCOMPARE(second->status, ProjectStatus::Draft);
            QCOMPARE(second->templateId, QStringLiteral("tpl-web"));
            QCOMPARE(second->totalCost, 600.0);
            QCOMPARE(*service->localRepository()->fetch(second->id), *second);
            QCOMPARE(ids(service->localRepository()->fetchAllSorted()), (QStringList{second->id, first->id}));
            return;
        }
        const QList<RecordedRequest> posts = m_backend.requests(QStringLiteral("POST"), QStringLiteral("projects"));
        QCOMPARE(sortedKeys(posts.first().json()), (QStringList{"currency", "name", "sphereId", "status"}));
        const QJsonObject body = posts.last().json().toObject();
        QCOMPARE(sortedKeys(body),
                 (QStringList{"clientName", "currency", "defaultRate", "items", "name", "sphereId", "status",
                              "templateId"}));
        QCOMPARE(body.value("status").toString(), QStringLiteral("draft"));
        QCOMPARE(body.value("templateId").toString(), QStringLiteral("tpl-web"));
        QCOMPARE(body.value("defaultRate").toDouble(), 60.0);
        const QJsonObject item = body.value("items").toArray().first().toObject();
        QCOMPARE(item.value("title").toString(), QStringLiteral("API"));
        QCOMPARE(item.value("rate").toDouble(), 60.0);
        QVERIFY(!item.contains("done"));
    }

    // Fetch and update replace a listed entry and never add an unlisted one.
    void guestUpdateAndFetch()
    {
        auto service = guest();
        LocalProjectRepository repo = *service->localRepository();
        Project root = make(QStringLiteral("local-root"), QStringLiteral("Корень"));
        Project iteration = make(QStringLiteral("local-it"), QStringLiteral("Итерация"));
        iteration.parentProjectId = root.id;
        repo.upsert(root);
        await(service->load(false));
        repo.upsert(iteration);
        QCOMPARE(await(service->fetchProject(iteration.id)), iteration);
        QVERIFY(!await(service->fetchProject(QStringLiteral("local-2"))));
        QVERIFY(!service->errorMessage());

        const std::optional<Project> updated = await(service->update(
            iteration.id,
            fullEdit(QStringLiteral("Итерация 2"), std::nullopt, QStringLiteral("EUR"), ProjectStatus::InProgress, 40,
                     {line(QStringLiteral("a"), 2, 0), line(QStringLiteral("b"), -1, 100)}, QStringLiteral("iterative"),
                     QStringLiteral("2024-05-01"))));
        QCOMPARE(ids(service->projects()), QStringList{root.id});
        QCOMPARE(updated->totalCost, 80.0);
        QCOMPARE(updated->parentProjectId, root.id);
        QVERIFY(updated->updatedAt != iteration.updatedAt);
        QCOMPARE(*repo.fetch(iteration.id), *updated);

        const std::optional<Project> renamed = rename(*service, root.id, QStringLiteral("Новое имя"));
        QCOMPARE(service->projects(), QList<Project>{*renamed});
        QVERIFY(!service->errorMessage());
        QVERIFY(!rename(*service, QStringLiteral("LOCAL-ROOT"), QStringLiteral("x")));
        QCOMPARE(service->errorMessage(), QStringLiteral("Проект не найден"));
        QCOMPARE(repo.context()->count(), 2);
    }

    void accountUpdateAndFetch()
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
            await(service->update(unlisted,
                                  fullEdit(QStringLiteral("Unlisted 2"), std::nullopt, rub, ProjectStatus::Completed,
                                           70, {line(QStringLiteral("x"), 1, 0)})));
        QCOMPARE(updated->name, QStringLiteral("Unlisted 2"));
        QCOMPARE(ids(service->projects()), QStringList{listed});
        const RecordedRequest patch = m_backend.requests().last();
        QCOMPARE(patch.method, QStringLiteral("PATCH"));
        QCOMPARE(patch.path, QStringLiteral("projects/") + unlisted);
        QCOMPARE(sortedKeys(patch.json()), (QStringList{"currency", "defaultRate", "items", "name", "status"}));

        await(service->update(listed,
                              fullEdit(QStringLiteral("Listed 3"), QStringLiteral("Клиент"), rub, ProjectStatus::Draft,
                                       0, {}, QStringLiteral("iterative"), QStringLiteral("2024-01-01"))));
        QCOMPARE(service->projects().first().name, QStringLiteral("Listed 3"));
        QCOMPARE(sortedKeys(lastBody()),
                 (QStringList{"clientName", "currency", "defaultRate", "items", "iterationStartedAt", "name",
                              "projectType", "status"}));
    }

    // An answer about another project changes no row: a save's is refused with a text, a fetch's
    // is left to its caller.
    void foreignAnswers()
    {
        const QString mine = seed(QStringLiteral("Мой"));
        QJsonObject other = *m_backend.data().project(seed(QStringLiteral("Чужой")));
        other.insert(QStringLiteral("name"), QStringLiteral("Мой 2"));
        auto service = account();
        await(service->load(false));
        const QList<Project> before = service->projects();
        for (const QString &method : {QStringLiteral("PATCH"), QStringLiteral("GET")})
            m_backend.setOverride(method, QStringLiteral("projects/") + mine, BackendReply::json(200, other));
        QVERIFY(!rename(*service, mine, QStringLiteral("Мой 2")));
        QCOMPARE(service->errorMessage(),
                 QStringLiteral("Сервер вернул другой проект. Изменения не потеряны: сохраните ещё раз."));
        QCOMPARE(await(service->fetchProject(mine))->name, QStringLiteral("Мой 2"));
        QCOMPARE(service->projects(), before);
    }

    // A creation answered with a project listed before it (for an iteration, the base or a listed
    // sibling too), or with an answer that does not read, is not taken in: the list is read again
    // in its own form, so that the project made shows once and no project twice, and the creation
    // is unsettled with a text. A project the list did not show is taken in, with no read-back;
    // a refusal made nothing and is not followed by a read.
    void foreignCreationAnswers_data()
    {
        QTest::addColumn<bool>("iteration");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("takenIn");
        for (const bool iteration : {false, true}) {
            const char *kind = iteration ? "iterate" : "create";
            QTest::addRow("%s, listed", kind) << iteration << "listed" << false;
            QTest::addRow("%s, not listed", kind) << iteration << "made" << true;
            QTest::addRow("%s, truncated", kind) << iteration << "truncated" << false;
            QTest::addRow("%s, NaN total", kind) << iteration << "nan" << false;
            QTest::addRow("%s, numeric id", kind) << iteration << "numericId" << false;
            QTest::addRow("%s, refused", kind) << iteration << "refused" << false;
        }
        QTest::newRow("iterate, a listed sibling") << true << "sibling" << false;
    }
    void foreignCreationAnswers()
    {
        QFETCH(bool, iteration);
        QFETCH(QString, answer);
        QFETCH(bool, takenIn);
        const QString mine = seed(QStringLiteral("Мой"), {{"projectType", "iterative"}});
        const QString sibling = seed(QStringLiteral("Мой v2"), {{"parentProjectId", mine}, {"version", 2}});
        auto service = account();
        await(service->load(true));
        // What the backend made (or, refusing, did not), whatever it answers.
        const bool refused = answer == QLatin1String("refused");
        const QString made = refused ? QString()
            : iteration              ? seed(QStringLiteral("Мой v3"), {{"parentProjectId", mine}, {"version", 3}})
                                     : seed(QStringLiteral("Новый"));
        QJsonObject record = *m_backend.data().project(refused ? mine : made);
        if (answer == QLatin1String("listed"))
            record = *m_backend.data().project(mine);
        else if (answer == QLatin1String("sibling"))
            record = *m_backend.data().project(sibling);
        else if (answer == QLatin1String("numericId"))
            record.insert(QStringLiteral("id"), 42);
        else if (answer == QLatin1String("nan"))
            record.insert(QStringLiteral("totalCost"), QStringLiteral("@nan"));
        QByteArray body = QJsonDocument(record).toJson(QJsonDocument::Compact).replace("\"@nan\"", "NaN");
        if (answer == QLatin1String("truncated"))
            body.truncate(body.size() / 2);
        m_backend.setOverride(QStringLiteral("POST"),
                              iteration ? QStringLiteral("projects/%1/iterate").arg(mine) : QStringLiteral("projects"),
                              refused ? BackendReply::message(500, QStringLiteral("Сервер занят"))
                                      : BackendReply::raw(201, body));
        m_backend.clearRequests();
        CreateIterationRequest request;
        request.copyBudget = true;
        const ProjectCreation creation = iteration
            ? await(service->createIteration(mine, request))
            : await(service->create(QStringLiteral("Новый"), std::nullopt, rub, QString(), std::nullopt));
        QCOMPARE(creation.project.has_value(), takenIn);
        const bool unsettled = !takenIn && !refused;
        QCOMPARE(creation.unsettled, unsettled);
        // No read-back of the project: only the list, read again when unsettled.
        QStringList reads;
        for (const RecordedRequest &request : m_backend.requests()) {
            if (request.method == QLatin1String("GET"))
                reads.append(request.target);
        }
        QCOMPARE(reads, unsettled ? QStringList{"projects?view=full"} : QStringList{});
        if (refused) {
            QCOMPARE(service->errorMessage(), QStringLiteral("Сервер занят"));
            QCOMPARE(ids(service->projects()), (QStringList{mine, sibling}));
        } else if (takenIn) {
            QVERIFY(!service->errorMessage());
            QCOMPARE(ids(service->projects()), (QStringList{made, mine, sibling}));
        } else {
            QCOMPARE(service->errorMessage(),
                     iteration ? QStringLiteral("Сервер не подтвердил, что итерация создана. Проверьте список "
                                                "итераций, прежде чем создавать её снова.")
                               : QStringLiteral("Сервер не подтвердил, что проект создан. Проверьте список "
                                                "проектов, прежде чем создавать его снова."));
            QCOMPARE(ids(service->projects()), (QStringList{mine, sibling, made}));
            QCOMPARE(service->projects().first().name, QStringLiteral("Мой"));
        }
        QVERIFY(!service->isLoading());
    }

    // A list that names a project twice shows its first copy, where it stands.
    void repeatedIdentityListedOnce()
    {
        QJsonObject first = *m_backend.data().project(seed(QStringLiteral("A")));
        const QJsonArray once{first, *m_backend.data().project(seed(QStringLiteral("B")))};
        first.insert(QStringLiteral("name"), QStringLiteral("A again"));
        for (const QString &path : {QStringLiteral("projects"), QStringLiteral("projects/x/iterations")})
            m_backend.setOverride(QStringLiteral("GET"), path,
                                  BackendReply::json(200, QJsonArray{once[0], once[1], first}));
        auto service = account();
        await(service->load(true));
        for (const QList<Project> &listed : {service->projects(), *await(service->fetchAll(false)),
                                             *await(service->fetchIterations(QStringLiteral("x")))}) {
            QCOMPARE(ids(listed), ids(Project::listFromJson(once)));
            QCOMPARE(listed.first().name, QStringLiteral("A"));
        }
    }

    // Deleting removes that identity only: its iterations stay listed.
    void remove_data()
    {
        QTest::addColumn<bool>("isGuest");
        QTest::newRow("guest") << true;
        QTest::newRow("account") << false;
    }
    void remove()
    {
        QFETCH(bool, isGuest);
        auto service = isGuest ? guest() : account();
        QString root = QStringLiteral("local-root");
        if (isGuest) {
            Project iteration = make(QStringLiteral("local-it"), QStringLiteral("Итерация"));
            iteration.parentProjectId = root;
            service->localRepository()->upsert(make(root, QStringLiteral("Корень")));
            service->localRepository()->upsert(iteration);
        } else {
            root = seed(QStringLiteral("Root"), {{"projectType", "iterative"}});
            seed(QStringLiteral("Root v2"), {{"parentProjectId", root}, {"version", 2}});
        }
        await(service->load(true));
        QCOMPARE(service->projects().size(), 2);
        QVERIFY(await(service->remove(root)));
        QCOMPARE(service->projects().size(), 1);
        QVERIFY(service->projects().first().id != root);
        if (isGuest) {
            QVERIFY(!service->localRepository()->fetch(root));
            QVERIFY(await(service->remove(QStringLiteral("never-stored"))));
        } else {
            QCOMPARE(m_backend.requests().last().method, QStringLiteral("DELETE"));
            QVERIFY(!await(service->remove(root)));
            QVERIFY(service->errorMessage());
            QCOMPARE(service->projects().size(), 1);
        }
    }

    void guestAnswersOfAccountOnlyOperations()
    {
        auto service = guest();
        rename(*service, QStringLiteral("missing"), QStringLiteral("x"));
        const std::optional<QString> before = service->errorMessage();
        QVERIFY(before);
        QVERIFY(!await(service->createIteration(QStringLiteral("local-1"), CreateIterationRequest{})).project);
        QVERIFY(!await(service->createFromLocalGuestProject(make(QStringLiteral("local-1"), QStringLiteral("A")))));
        QVERIFY(!await(service->fetchLineSummary(QStringLiteral("local-1"))));
        QCOMPARE(await(service->fetchIterations(QStringLiteral("local-1"))), QList<Project>());
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
        const QString id = QStringLiteral("local-1");
        service->localRepository()->upsert(make(id, QStringLiteral("A")));
        rename(*service, QStringLiteral("missing"), QStringLiteral("x"));
        QVERIFY(service->errorMessage());
        QVERIFY(service->errorToldByCaller());
        if (operation == QStringLiteral("fetchProject"))
            QVERIFY(await(service->fetchProject(id)));
        else if (operation == QStringLiteral("load"))
            await(service->load(false));
        else if (operation == QStringLiteral("create"))
            QVERIFY(createPlain(*service, QStringLiteral("B")));
        else if (operation == QStringLiteral("update"))
            QVERIFY(rename(*service, id, QStringLiteral("A2")));
        else
            QVERIFY(await(service->remove(id)));
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
        QCOMPARE(service->errorMessageText(),
                 QStringLiteral("Один проект на устройстве не читается: его данные повреждены. "
                                "Остальные проекты доступны."));
        QVERIFY(!service->isLoading());
        QCOMPARE(await(service->fetchProject(QStringLiteral("local-old")))->name, QStringLiteral("Старый"));
        QVERIFY(!await(service->fetchProject(QStringLiteral("local-bad"))));
        QCOMPARE(service->errorMessageText(),
                 QStringLiteral("Проект на устройстве не читается: его данные повреждены."));
    }

    // A store on disk is read off the window's thread: load returns at once with the loading
    // state up, and the whole list arrives in one step, without lines.
    void guestListArrivesInOneStep()
    {
        auto service = guest(ModelContainer::open(m_dir.filePath(QStringLiteral("off-thread.sqlite"))));
        for (int i = 0; i < 3; ++i)
            service->localRepository()->upsert(
                make(QStringLiteral("local-%1").arg(i), QStringLiteral("P%1").arg(i), 2));
        QSignalSpy changed(service.get(), &ProjectsService::projectsChanged);
        // The worker waits, so that a fast one cannot be done before load returns.
        PoolHold reader(m_work);
        QCoro::Task<void> loading = service->load(false);
        QVERIFY(service->isLoading());
        QVERIFY(service->projects().isEmpty());
        reader.release();
        await(std::move(loading));
        QVERIFY(!service->isLoading());
        QCOMPARE(ids(service->projects()), (QStringList{"local-2", "local-1", "local-0"}));
        QCOMPARE(changed.size(), 1);
        const Project listed = service->projects().first();
        QVERIFY(listed.items.isEmpty());
        QCOMPARE(listed.totalHours, 3.0);
        QCOMPARE(await(service->fetchProject(QStringLiteral("local-2")))->items.size(), 2);

        // Coming back keeps the loaded list on screen; the same list again is not published.
        QCoro::Task<void> again = service->load(false);
        QCOMPARE(service->projects().size(), 3);
        await(std::move(again));
        QCOMPARE(changed.size(), 1);
        QVERIFY(!service->isLoading());
    }

    // A write made while the list is read is in the list that arrives, whatever the read saw.
    void guestWriteDuringTheLoad()
    {
        auto service = guest(ModelContainer::open(m_dir.filePath(QStringLiteral("write-during.sqlite"))));
        service->localRepository()->upsert(make(QStringLiteral("local-1"), QStringLiteral("A")));
        QCoro::Task<void> loading = service->load(false);
        const std::optional<Project> created = createPlain(*service, QStringLiteral("B"));
        QVERIFY(created);
        QCoro::Task<void> second = service->load(false);
        QVERIFY(await(service->remove(QStringLiteral("local-1"))));
        await(std::move(loading));
        await(std::move(second));
        QCOMPARE(ids(service->projects()), QStringList{created->id});
        QVERIFY(!service->isLoading());
    }

    // The service may go while the worker reads; the answer then reaches nobody.
    void guestServiceGoneWhileReading()
    {
        auto service = guest(ModelContainer::open(m_dir.filePath(QStringLiteral("gone.sqlite"))));
        service->localRepository()->upsert(make(QStringLiteral("local-1"), QStringLiteral("A")));
        QCoro::Task<void> loading = service->load(false);
        service.reset();
        await(std::move(loading));
    }

    // Updates of a store on disk are written beside the window, one after the other: the later
    // one is what stays, in the store and in the list; reads wait for them. A record another
    // program removes while an update waits stays removed.
    void guestUpdatesWrittenInOrder()
    {
        const QString path = m_dir.filePath(QStringLiteral("in-order.sqlite"));
        auto service = guest(ModelContainer::open(path));
        const LocalProjectRepository repo = *service->localRepository();
        repo.upsert(make(QStringLiteral("local-1"), QStringLiteral("A")));
        await(service->load(false));
        const auto edit = [](const QString &name) {
            return fullEdit(name, std::nullopt, rub, ProjectStatus::Draft, 50, {});
        };
        auto lock = std::make_unique<StoreWriteLock>(path);
        QVERIFY(lock->locked());
        QCoro::Task<std::optional<Project>> first = service->update(QStringLiteral("local-1"), edit("Первое"));
        QCoro::Task<std::optional<Project>> second = service->update(QStringLiteral("local-1"), edit("Второе"));
        QCOMPARE(service->projects().first().name, QStringLiteral("A"));
        lock.reset();
        QCOMPARE(await(service->fetchProject(QStringLiteral("local-1")))->name, QStringLiteral("Второе"));
        QCOMPARE(await(std::move(first))->name, QStringLiteral("Первое"));
        QCOMPARE(await(std::move(second))->name, QStringLiteral("Второе"));
        QCOMPARE(repo.fetch(QStringLiteral("local-1"))->name, QStringLiteral("Второе"));
        QCOMPARE(service->projects().first().name, QStringLiteral("Второе"));
        QVERIFY(!service->errorMessage());

        lock = std::make_unique<StoreWriteLock>(path);
        QCoro::Task<std::optional<Project>> third = service->update(QStringLiteral("local-1"), edit("Третье"));
        QVERIFY(lock->run(QStringLiteral("DELETE FROM LocalProjectRecord WHERE id = 'local-1'")));
        lock.reset();
        QVERIFY(!await(std::move(third)));
        QCOMPARE(service->errorMessage(), QStringLiteral("Проект не найден"));
        QVERIFY(!repo.fetch(QStringLiteral("local-1")));
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
        QCOMPARE(service->errorMessageText(),
                 QStringLiteral("Файл хранилища проектов «%1» изменён другой программой или повреждён. "
                                "Перезапустите Tessmark; если ошибка повторится, обратитесь в поддержку.")
                     .arg(path));
        QVERIFY(!createPlain(*service, QStringLiteral("B")));
        QVERIFY(!await(service->remove(QStringLiteral("local-1"))));
        QCOMPARE(ids(service->projects()), QStringList{"local-1"});
    }

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
        QCOMPARE(m_backend.requests().first().target, target);
        QCOMPARE(service->projects().size(), count);
        QCOMPARE(service->projects().first().name, QStringLiteral("Zeta")); // the backend's order
    }

    void accountFailureLeavesTheList_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::newRow("server error") << 500 << QByteArray("<html>") << "Ошибка сервера (500)";
        QTest::newRow("not a list") << 200 << QByteArray("null") << unreadAnswer;
        // One figure that is no JSON number makes the whole answer unreadable.
        QTest::newRow("one malformed figure")
            << 200 << QByteArray(R"([{"id":"p-1","name":"A","hours":1,5}])") << unreadAnswer;
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
        // A failed save is its editor's to tell; a failed load is the list's.
        m_backend.setOverride(QStringLiteral("PATCH"), QStringLiteral("projects/") + before.first().id,
                              BackendReply::raw(status == 200 ? status : 500, body));
        QVERIFY(!rename(*service, before.first().id, QStringLiteral("B")));
        QVERIFY(service->errorToldByCaller());
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::raw(status, body));
        m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                              BackendReply::raw(status == 200 ? 500 : status, body));
        await(service->load(false));
        QCOMPARE(service->projects(), before);
        QVERIFY2(service->errorMessageText().startsWith(message), qPrintable(service->errorMessageText()));
        QVERIFY(!service->errorToldByCaller());
        QVERIFY(!service->isLoading());
        QVERIFY(!createPlain(*service, QStringLiteral("B")));
        QCOMPARE(service->projects(), before);
    }

    void uploadDeviceProject()
    {
        auto service = account();
        Project local = make(QStringLiteral("local-9"), QStringLiteral("С устройства"));
        local.templateId = QStringLiteral("tpl");
        const std::optional<Project> created = await(service->createFromLocalGuestProject(local));
        QVERIFY(created->id != local.id);
        QCOMPARE(ids(service->projects()), QStringList{created->id});
        QCOMPARE(sortedKeys(lastBody()), (QStringList{"currency", "defaultRate", "items", "name", "status"}));
        QCOMPARE(lastBody().value("items").toArray().size(), 0);

        // An answer that carries a listed identity replaces that entry.
        QJsonObject again = created->toJson();
        again.insert(QStringLiteral("name"), QStringLiteral("Заменён"));
        m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"), BackendReply::json(201, again));
        await(service->createFromLocalGuestProject(local));
        QCOMPARE(service->projects().size(), 1);
        QCOMPARE(service->projects().first().name, QStringLiteral("Заменён"));
    }

    void iterationsAndSummaries()
    {
        const QString root = seed(QStringLiteral("Root"), {{"projectType", "iterative"}});
        auto service = account();
        await(service->load(false));
        CreateIterationRequest body;
        body.iterationName = QStringLiteral("Вторая");
        body.copyBudget = true;
        const std::optional<Project> iteration = await(service->createIteration(root, body)).project;
        QCOMPARE(iteration->parentProjectId, root);
        const QList<RecordedRequest> posts =
            m_backend.requests(QStringLiteral("POST"), QStringLiteral("projects/%1/iterate").arg(root));
        QCOMPARE(posts.size(), 1);
        QCOMPARE(posts.first().json().toObject(), body.toJson());
        // The new iteration joins the list first, without a reload.
        QCOMPARE(ids(service->projects()), (QStringList{iteration->id, root}));
        QCOMPARE(ids(*await(service->fetchIterations(root))), QStringList{iteration->id});
        QCOMPARE(await(service->fetchLineSummary(root))->summary.iterationsCount, 1);

        // A bare null summary is no value and no failure; a null list is a failure.
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects/%1/summary").arg(root),
                              BackendReply::raw(200, "null"));
        QVERIFY(!await(service->fetchLineSummary(root)));
        QVERIFY(!service->errorMessage());
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects/%1/iterations").arg(root),
                              BackendReply::raw(200, "null"));
        QVERIFY(!await(service->fetchIterations(root)));
        QCOMPARE(service->errorMessageText(), unreadAnswer);
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

    // A project created while the account's list is read stays listed, though the read began
    // before it existed.
    void accountWriteDuringTheLoad()
    {
        seed(QStringLiteral("A"));
        auto service = account();
        QJsonArray before;
        for (const QJsonObject &project : m_backend.data().projects)
            before.append(project);
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"), BackendReply::json(200, before));
        m_backend.hold(QStringLiteral("GET"), QStringLiteral("projects"));
        QCoro::Task<void> loading = service->load(false);
        QTRY_COMPARE(m_backend.requests().size(), 1);
        m_backend.clearOverrides();
        const std::optional<Project> created = createPlain(*service, QStringLiteral("B"));
        QVERIFY(created);
        m_backend.release();
        await(std::move(loading));
        QVERIFY(ids(service->projects()).contains(created->id));
        QCOMPARE(service->projects().size(), 2);
        QVERIFY(!service->isLoading());
    }

    // A service that is gone takes its load with it: the request is aborted, the task ends
    // quietly and reaches nobody else: not another service on the same client, which then still
    // works.
    void serviceGoneBeforeTheAnswer()
    {
        seed(QStringLiteral("A"));
        auto witness = account();
        QSignalSpy witnessChanged(witness.get(), &ProjectsService::projectsChanged);
        QSignalSpy witnessLoading(witness.get(), &ProjectsService::isLoadingChanged);
        QSignalSpy witnessError(witness.get(), &ProjectsService::errorMessageChanged);
        auto service = account();
        m_backend.setDelay(QStringLiteral("GET"), QStringLiteral("projects"), 10000);
        QCoro::Task<void> pending = service->load(false);
        QVERIFY(service->isLoading());
        QTRY_COMPARE(m_backend.requests().size(), 1);
        service.reset();
        await(std::move(pending));

        QTRY_COMPARE(m_backend.abandonedRequests().size(), 1);
        m_backend.clearOverrides();
        QVERIFY(witness->projects().isEmpty());
        QVERIFY(!witness->isLoading());
        QVERIFY(!witness->errorMessage());
        QCOMPARE(witnessChanged.size() + witnessLoading.size() + witnessError.size(), 0);
        await(witness->load(false));
        QCOMPARE(witness->projects().size(), 1);
        QCOMPARE(witness->projects().first().name, QStringLiteral("A"));
    }
};

QTEST_GUILESS_MAIN(tst_ProjectsService)
#include "tst_ProjectsService.moc"
