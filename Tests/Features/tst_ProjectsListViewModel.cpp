// The projects list's view model and the create-project sheet's, on the device store and on the
// test backend: search, unfolding, menus, the delete dialog, the selection after a deletion, and
// what a creation sends.
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "BoundedTexts.h"
#include "FiniteTexts.h"
#include "PoolHold.h"
#include "Settings/UserTemplatesStorage.h"
#include "Features/Projects/CreateProjectViewModel.h"
#include "Features/Projects/ProjectsListRules.h"
#include "Features/Projects/ProjectsListViewModel.h"
#include "Features/Projects/TemplateCardsModel.h"
#include "Settings/Preferences.h"
#include "TestBackend.h"
#include "Projects/ProjectTreeBuilder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

Project make(const QString &id, const QString &name, const std::optional<QString> &parent = std::nullopt,
             std::optional<qint64> version = std::nullopt)
{
    Project p;
    p.id = id;
    p.name = name;
    p.currency = QStringLiteral("RUB");
    p.userId = QStringLiteral("guest");
    p.createdAt = p.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    p.parentProjectId = parent;
    p.version = version;
    return p;
}

// Two roots with iterations and one without, in the device store.
QList<Project> sampleTree()
{
    Project alpha = make(QStringLiteral("a"), QStringLiteral("Alpha"));
    alpha.clientName = QStringLiteral("Acme");
    Project a1 = make(QStringLiteral("a1"), QStringLiteral("Первый"), QStringLiteral("a"), 1);
    a1.clientName = QStringLiteral("Hidden client");
    Project a3 = make(QStringLiteral("a3"), QStringLiteral("Третий"), QStringLiteral("a"), 3);
    Project beta = make(QStringLiteral("b"), QStringLiteral("Beta"));
    Project b1 = make(QStringLiteral("b1"), QStringLiteral("Sprint"), QStringLiteral("b"), 1);
    return {alpha, a1, a3, beta, b1, make(QStringLiteral("c"), QStringLiteral("Gamma"))};
}

QStringList groupIds(const QList<ProjectTreeGroup> &groups)
{
    QStringList ids;
    for (const ProjectTreeGroup &group : groups)
        ids.append(group.id);
    return ids;
}

QStringList rowIds(const ProjectTreeModel &model)
{
    QStringList ids;
    for (const ProjectTreeRow &row : model.rows())
        ids.append(row.projectId);
    return ids;
}

const ProjectTreeRow *row(const ProjectTreeModel &model, const QString &id)
{
    for (const ProjectTreeRow &r : model.rows()) {
        if (r.projectId == id)
            return &r;
    }
    return nullptr;
}

} // namespace

class tst_ProjectsListViewModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // The device store's reads, on threads of the test's own.
    QThreadPool m_work;
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::optional<QString> m_token;
    QString m_accountId;

    std::unique_ptr<ProjectsService> deviceService(const QList<Project> &projects)
    {
        const auto store = ModelContainer::openInMemory();
        LocalProjectRepository repository(store);
        for (const Project &project : projects)
            repository.upsert(project);
        return std::make_unique<ProjectsService>(true, store, m_client.get());
    }
    QString seed(const QString &name, const QString &parent = {}, int version = 0)
    {
        QJsonObject fields{{"name", name}};
        if (!parent.isEmpty()) {
            fields.insert(QStringLiteral("parentProjectId"), parent);
            fields.insert(QStringLiteral("version"), version);
        }
        return m_backend.data().addProject(m_accountId, fields).value(QStringLiteral("id")).toString();
    }
    // A shown list, signed in, loaded as it loads when it comes on screen.
    void show(ProjectsListViewModel &list, ProjectsService &service, bool isGuest = false)
    {
        list.setGuest(isGuest);
        list.setProjectsService(&service);
        list.appear();
        QTRY_VERIFY(!service.isLoading());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("TessmarkTests"));
        QCoreApplication::setApplicationName(QStringLiteral("ProjectsListViewModel"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
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
        Preferences::shared().remove(UserTemplatesStorage::key());
    }

    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("empty query keeps all") << "" << QStringList{"a", "b", "c"};
        QTest::newRow("blanks and case around a root name") << "  ALPHA \n" << QStringList{"a"};
        QTest::newRow("root client") << "acme" << QStringList{"a"};
        QTest::newRow("label from a version keeps the group") << "v3" << QStringList{"a"};
        QTest::newRow("iteration name") << "sprint" << QStringList{"b"};
        QTest::newRow("an iteration's client is not searched") << "hidden" << QStringList{};
        QTest::newRow("nothing") << "zzz" << QStringList{};
    }
    void search()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, groups);
        const QList<ProjectTreeGroup> kept = ProjectsListRules::filterGroups(ProjectTreeBuilder::build(sampleTree()),
                                                                             ProjectsListRules::normalizedQuery(query));
        QCOMPARE(groupIds(kept), groups);
        // A matching group stays whole.
        for (const ProjectTreeGroup &group : kept)
            QCOMPARE(group.iterations.size(),
                     group.id == QLatin1String("a") ? 2 : (group.id == QLatin1String("b") ? 1 : 0));
    }

    // A store on disk does not hold up the window: the loading state shows first, then every
    // card in one step; coming back to the section shows what is loaded while it refreshes.
    void guestCardsArriveAfterTheLoadingState()
    {
        const auto store = ModelContainer::open(m_dir.filePath(QStringLiteral("cards.sqlite")));
        LocalProjectRepository repository(store);
        const QList<Project> projects = sampleTree();
        for (const Project &project : projects)
            repository.upsert(project);
        ProjectsService service(true, store, m_client.get());
        service.setWorkPool(&m_work);
        QSignalSpy published(&service, &ProjectsService::projectsChanged);
        {
            ProjectsListViewModel list;
            list.setGuest(true);
            list.setProjectsService(&service);
            PoolHold reader(m_work); // the read waits, so that the state before it is seen on any machine
            list.appear();
            QCOMPARE(list.contentState(), QStringLiteral("loading"));
            QCOMPARE(list.cardsModel()->rowCount(), 0);
            reader.release();
            QTRY_COMPARE(list.contentState(), QStringLiteral("cards"));
            QCOMPARE(list.cardsModel()->rowCount(), projects.size());
            QCOMPARE(published.size(), 1);
        }
        ProjectsListViewModel back;
        back.setGuest(true);
        back.setProjectsService(&service);
        PoolHold reader(m_work);
        back.appear();
        QCOMPARE(back.contentState(), QStringLiteral("cards"));
        QCOMPARE(back.cardsModel()->rowCount(), projects.size());
        QVERIFY(service.isLoading());
        reader.release();
        QTRY_VERIFY(!service.isLoading());
        QCOMPARE(back.cardsModel()->rowCount(), projects.size());
        QCOMPARE(published.size(), 1);
    }

    // The cards search names and clients only; a query that leaves nothing is "noResults".
    void guestSearch()
    {
        const auto service = deviceService(sampleTree());
        ProjectsListViewModel list;
        show(list, *service, true);
        QCOMPARE(list.contentState(), QStringLiteral("cards"));
        list.setSearchText(QStringLiteral(" acme "));
        QCOMPARE(list.cardsModel()->rowCount(), 1);
        list.setSearchText(QStringLiteral("v3"));
        QCOMPARE(list.contentState(), QStringLiteral("noResults"));
        QCOMPARE(list.noResultsText(), QStringLiteral("Нет результатов для «v3»"));
    }

    // Roots with iterations unfold when the count changes and none is unfolded; folding all
    // and creating unfolds them again; selecting a hidden iteration unfolds its group.
    void unfolding()
    {
        const auto service = deviceService(sampleTree());
        ProjectsListViewModel list;
        show(list, *service);
        QCOMPARE(list.expandedRoots(), (QSet<QString>{"a", "b"}));
        QCOMPARE(rowIds(*list.treeModel()), (QStringList{"a", "a1", "a3", "b", "b1", "c"}));

        list.toggleRoot(QStringLiteral("a"));
        list.setRootExpanded(QStringLiteral("b"), false);
        QCOMPARE(rowIds(*list.treeModel()), (QStringList{"a", "b", "c"}));
        list.activate(QStringLiteral("b"), QStringLiteral("b"));
        QCOMPARE(list.selectedProjectId(), QStringLiteral("b"));
        QVERIFY(row(*list.treeModel(), QStringLiteral("b"))->isExpanded);
        list.activate(QStringLiteral("b"), QStringLiteral("b")); // a click never folds
        QVERIFY(row(*list.treeModel(), QStringLiteral("b"))->isExpanded);
        list.toggleRoot(QStringLiteral("b"));

        // Selecting a root changes nothing; selecting an iteration of a folded root unfolds it.
        list.setSelectedProjectId(QStringLiteral("a"));
        QVERIFY(list.expandedRoots().isEmpty());
        list.setSelectedProjectId(QStringLiteral("a3"));
        QCOMPARE(list.expandedRoots(), QSet<QString>{"a"});

        list.setRootExpanded(QStringLiteral("a"), false);
        QVERIFY(await(service->create(QStringLiteral("Delta"), std::nullopt, QStringLiteral("RUB"),
                                      QStringLiteral("software"), std::nullopt))
                    .project);
        QCOMPARE(list.expandedRoots(), (QSet<QString>{"a", "b"}));
    }

    // The initial selection and the initial list unfold nothing until the list shows; shown again
    // (back from another section), it unfolds the selected iteration's group alone and starts the
    // keys on its row.
    void initialValuesUnfoldNothing()
    {
        const auto service = deviceService(sampleTree());
        await(service->load(false));
        ProjectsListViewModel list;
        list.setSelectedProjectId(QStringLiteral("a1"));
        list.setProjectsService(service.get());
        QVERIFY(list.expandedRoots().isEmpty());
        QCOMPARE(rowIds(*list.treeModel()), (QStringList{"a", "b", "c"}));
        list.appear();
        QCOMPARE(list.expandedRoots(), QSet<QString>{"a"});
        QCOMPARE(list.currentProjectId(), QStringLiteral("a1"));
        QTRY_VERIFY(!service->isLoading());
        QCOMPARE(rowIds(*list.treeModel()), (QStringList{"a", "a1", "a3", "b", "c"}));
    }

    // The keys on a project that goes (deleted in the editor: the list hears of it from the service
    // and the selection is cleared, in either order) pass to the project that followed it, else to
    // the one before, by identity: the group folded above unfolds again meanwhile.
    void keysAfterRemoval_data()
    {
        QTest::addColumn<QString>("removed");
        QTest::addColumn<bool>("clearedFirst");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the next one") << "c" << false << "d";
        QTest::newRow("the next one, the selection cleared first") << "c" << true << "d";
        QTest::newRow("the last one: the one before") << "d" << false << "c";
    }
    void keysAfterRemoval()
    {
        QFETCH(QString, removed);
        QFETCH(bool, clearedFirst);
        QFETCH(QString, expected);
        QList<Project> projects = sampleTree().mid(0, 3);
        projects << make(QStringLiteral("c"), QStringLiteral("Gamma"))
                 << make(QStringLiteral("d"), QStringLiteral("Delta"));
        const auto service = deviceService(projects);
        ProjectsListViewModel list;
        show(list, *service);
        list.toggleRoot(QStringLiteral("a"));
        list.activate(removed);
        QCOMPARE(list.currentProjectId(), removed);
        if (clearedFirst)
            list.setSelectedProjectId(QString());
        QVERIFY(await(service->remove(removed)));
        list.setSelectedProjectId(QString());
        QCOMPARE(list.expandedRoots(), QSet<QString>{"a"});
        QCOMPARE(list.currentProjectId(), expected);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("offersFinance");
        QTest::addColumn<bool>("payments");
        QTest::addColumn<QString>("deleteTitle");
        QTest::newRow("root with iterations: no entries") << "a" << true << false << "";
        QTest::newRow("root without iterations") << "c" << true << false << "Удалить проект";
        QTest::newRow("iteration") << "a1" << true << true << "Удалить итерацию";
        QTest::newRow("iteration without openFinance") << "a1" << false << false << "Удалить итерацию";
        QTest::newRow("orphan iteration as a group of its own") << "o1" << true << false << "Удалить итерацию";
    }
    void menus()
    {
        QFETCH(QString, id);
        QFETCH(bool, offersFinance);
        QFETCH(bool, payments);
        QFETCH(QString, deleteTitle);
        QList<Project> projects = sampleTree();
        projects.append(make(QStringLiteral("o1"), QStringLiteral("Сирота"), QStringLiteral("gone"), 1));
        const auto service = deviceService(projects);
        ProjectsListViewModel list;
        list.setOffersFinance(offersFinance);
        show(list, *service);
        // Hidden by the search, the iterations still forbid deleting their root.
        list.setSearchText(QStringLiteral("alpha"));
        list.setRootExpanded(QStringLiteral("a"), true);
        if (id != QLatin1String("a") && id != QLatin1String("a1"))
            list.setSearchText(QString());
        const ProjectTreeRow *found = row(*list.treeModel(), id);
        QVERIFY(found);
        QCOMPARE(found->offersFinance, payments);
        QCOMPARE(found->deleteTitle, deleteTitle);
        list.setSelectedProjectId(id);
        QCOMPARE(list.requestDeleteCurrent(), !deleteTitle.isEmpty());
    }

    void dialogTexts_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("isGuest");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("confirm");
        QTest::newRow("guest iteration") << "a1" << true << "Удалить итерацию «v1»?"
                                         << "Запись будет удалена только с этого устройства."
                                         << "Удалить итерацию";
        QTest::newRow("iteration") << "a3" << false << "Удалить итерацию «v3»?"
                                   << "Будет удалена только эта итерация. Остальные версии и корень проекта сохранятся."
                                   << "Удалить итерацию";
        QTest::newRow("root without iterations")
            << "c" << false << "Удалить проект «Gamma»?"
            << "Проект исчезнет в облаке и на всех устройствах. Действие необратимо."
            << "Удалить проект";
        QTest::newRow("root with two iterations")
            << "a" << false << "Удалить проект «Alpha»?"
            << "Сначала удалите 2 итераций по отдельности (ПКМ → «Удалить итерацию»). Корень проекта удалить нельзя, "
               "пока они есть."
            << "Удалить проект";
    }
    void dialogTexts()
    {
        QFETCH(QString, id);
        QFETCH(bool, isGuest);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(QString, confirm);
        const auto service = deviceService(sampleTree());
        ProjectsListViewModel list;
        show(list, *service, isGuest);
        QCOMPARE(list.deleteDialogTitle(), QStringLiteral("Удалить?"));
        QSignalSpy requested(&list, &ProjectsListViewModel::deleteRequested);
        list.requestDelete(id);
        QCOMPARE(requested.size(), 1);
        QCOMPARE(list.deleteDialogTitle(), title);
        QCOMPARE(list.deleteDialogMessage(), message);
        QCOMPARE(list.deleteConfirmTitle(), confirm);
        list.cancelDelete();
        QVERIFY(!list.hasProjectToDelete());
    }

    // On the backend, with the deletion answered late: the selection moves only when the deleted
    // project was selected, and the list reloads with iterations, after a failure too.
    void selectionAfterDelete_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected");
        QTest::newRow("v2 of 1, 2, 3 goes to v3") << "v2"
                                                  << "v2" << 200 << "v3";
        QTest::newRow("equal versions: the later one") << "v3"
                                                       << "v3" << 200 << "v2b";
        QTest::newRow("the only iteration goes to the root") << "solo1"
                                                             << "solo1" << 200 << "solo";
        QTest::newRow("a root clears it") << "plain"
                                          << "plain" << 200 << "";
        QTest::newRow("not selected keeps it") << "v1"
                                               << "v2" << 200 << "v1";
        QTest::newRow("failed keeps it") << "v2"
                                         << "v2" << 500 << "v2";
    }
    void selectionAfterDelete()
    {
        QFETCH(QString, selected);
        QFETCH(QString, deleted);
        QFETCH(int, status);
        QFETCH(QString, expected);
        QHash<QString, QString> ids;
        ids.insert(QStringLiteral("root"), seed(QStringLiteral("Root")));
        ids.insert(QStringLiteral("v1"), seed(QStringLiteral("one"), ids["root"], 1));
        ids.insert(QStringLiteral("v2"), seed(QStringLiteral("two"), ids["root"], 2));
        ids.insert(QStringLiteral("v3"), seed(QStringLiteral("three"), ids["root"], 3));
        if (QTest::currentDataTag() == QLatin1String("equal versions: the later one"))
            ids.insert(QStringLiteral("v2b"), seed(QStringLiteral("three again"), ids["root"], 3));
        ids.insert(QStringLiteral("solo"), seed(QStringLiteral("Solo")));
        ids.insert(QStringLiteral("solo1"), seed(QStringLiteral("only"), ids["solo"], 1));
        ids.insert(QStringLiteral("plain"), seed(QStringLiteral("Plain")));
        ids.insert(QString(), QString());

        ProjectsService service(false, nullptr, m_client.get());
        ProjectsListViewModel list;
        show(list, service);
        list.setSelectedProjectId(ids.value(selected));
        const QString path = QStringLiteral("projects/") + ids.value(deleted);
        m_backend.setOverride(
            QStringLiteral("DELETE"), path,
            (status == 200 ? BackendReply::empty(200) : BackendReply::message(status, QStringLiteral("Сбой")))
                .after(150));
        m_backend.clearRequests();
        QSignalSpy finished(&list, &ProjectsListViewModel::deleteFinished);
        list.requestDelete(ids.value(deleted));
        list.confirmDelete();
        QVERIFY(list.isDeleting());
        QCOMPARE(list.selectedProjectId(), ids.value(selected)); // nothing moves before the answer
        QVERIFY(finished.wait());
        QCOMPARE(finished.first().first().toBool(), status == 200);
        QCOMPARE(list.selectedProjectId(), ids.value(expected));
        QVERIFY(!list.hasProjectToDelete());
        QCOMPARE(m_backend.requests().last().query, QStringLiteral("view=full"));
    }

    // A root whose iterations the list does not know (loaded without them) is not deleted:
    // the backend would take the iterations and their payments with it.
    void rootWithUnlistedIterationsIsKept()
    {
        const QString root = seed(QStringLiteral("Root"));
        seed(QStringLiteral("one"), root, 1);
        ProjectsService service(false, nullptr, m_client.get());
        ProjectsListViewModel list;
        list.setProjectsService(&service);
        await(service.load(false));
        QCOMPARE(service.projects().size(), 1);
        list.requestDelete(root);
        QSignalSpy finished(&list, &ProjectsListViewModel::deleteFinished);
        list.confirmDelete();
        QVERIFY(finished.wait());
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(m_backend.requests(QStringLiteral("DELETE"), QStringLiteral("projects/") + root).isEmpty());
        QCOMPARE(m_backend.data().projects.size(), 2);
        QVERIFY(list.hasBanner());
        QVERIFY(list.bannerMessage().startsWith(QStringLiteral("Сначала удалите 1 итераций")));
        list.refresh();
        QVERIFY(!list.hasBanner());
    }

    // Another service takes the first one's place: the first one's changes no longer reach the list.
    void followsOnlyTheCurrentService()
    {
        const auto first = deviceService(sampleTree());
        const auto second = deviceService({make(QStringLiteral("z"), QStringLiteral("Zeta"))});
        ProjectsListViewModel list;
        show(list, *first);
        list.setProjectsService(second.get());
        await(second->load(false));
        QCOMPARE(rowIds(*list.treeModel()), QStringList{"z"});
        QSignalSpy content(&list, &ProjectsListViewModel::contentChanged);
        await(first->load(false));
        QCOMPARE(content.size(), 0);
        QCOMPARE(rowIds(*list.treeModel()), QStringList{"z"});
    }

    // Refreshing (toolbar, F5, "Повторить") keeps the iterations: their rows, the root's badge,
    // and no "Удалить проект" on a root that still has them.
    void refreshKeepsIterations()
    {
        const QString root = seed(QStringLiteral("Root"));
        const QString iteration = seed(QStringLiteral("Root"), root, 1);
        ProjectsService service(false, nullptr, m_client.get());
        ProjectsListViewModel list;
        show(list, service);
        QVERIFY(row(*list.treeModel(), iteration));
        list.refresh();
        QVERIFY(service.isLoading());
        QTRY_VERIFY(!service.isLoading());
        QVERIFY(row(*list.treeModel(), iteration));
        QCOMPARE(row(*list.treeModel(), root)->iterationCount, 1);
        QCOMPARE(row(*list.treeModel(), root)->deleteTitle, QString());
    }

    // A new iteration joins the list at once: its row, selected, and the root's count.
    void createdIterationJoinsTheTree()
    {
        const QString root = seed(QStringLiteral("Root"));
        seed(QStringLiteral("Root"), root, 1);
        ProjectsService service(false, nullptr, m_client.get());
        ProjectsListViewModel list;
        show(list, service);
        const int loads = int(m_backend.requests(QStringLiteral("GET"), QStringLiteral("projects")).size());
        CreateIterationRequest body;
        body.iterationName = QStringLiteral("Второй этап");
        const std::optional<Project> created = await(service.createIteration(root, body)).project;
        QVERIFY(created);
        QVERIFY(row(*list.treeModel(), created->id));
        QCOMPARE(row(*list.treeModel(), root)->iterationCount, 2);
        list.setSelectedProjectId(created->id);
        QVERIFY(row(*list.treeModel(), created->id)->isSelected);
        QCOMPARE(int(m_backend.requests(QStringLiteral("GET"), QStringLiteral("projects")).size()), loads);
    }

    // The list goes away while its deletion is in flight: the answer changes nothing of it.
    void listGoneBeforeTheAnswer()
    {
        const QString plain = seed(QStringLiteral("Plain"));
        ProjectsService service(false, nullptr, m_client.get());
        auto list = std::make_unique<ProjectsListViewModel>();
        show(*list, service);
        list->setSelectedProjectId(plain);
        m_backend.setOverride(QStringLiteral("DELETE"), QStringLiteral("projects/") + plain,
                              BackendReply::empty(200).after(100));
        list->requestDelete(plain);
        list->confirmDelete();
        list.reset();
        QTRY_VERIFY(service.projects().isEmpty());
        QTRY_VERIFY(!service.isLoading());
    }

    // What the sheet hands on: the name trimmed of blanks only, a blank client absent, and the
    // template marked by position even where two share an identity.
    void createRequests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("pickUserTemplate");
        QTest::addColumn<QString>("sentName");
        QTest::addColumn<QString>("sentClient"); // empty: left out
        QTest::newRow("blanks trimmed, client absent") << " \tСайт  "
                                                       << "   " << false << "Сайт"
                                                       << "";
        QTest::newRow("line breaks stay") << "\nСайт\n"
                                          << " ООО Ромашка " << false << "\nСайт\n"
                                          << "ООО Ромашка";
        QTest::newRow("the user's template of a shared id") << "Лендинг"
                                                            << "" << true << "Лендинг"
                                                            << "";
    }
    void createRequests()
    {
        QFETCH(QString, name);
        QFETCH(QString, client);
        QFETCH(bool, pickUserTemplate);
        QFETCH(QString, sentName);
        QFETCH(QString, sentClient);
        const QJsonObject line{
            {"title", "Своя строка"}, {"category", "backend"}, {"hours", 7}, {"rate", 10}, {"isLocked", false}};
        const QJsonObject userTemplate{{"id", "builtin-landing"},
                                       {"sphereId", "software"},
                                       {"name", "Мой лендинг"},
                                       {"defaultRate", 10},
                                       {"items", QJsonArray{line}}};
        Preferences::shared().setValue(UserTemplatesStorage::key(), QJsonDocument(QJsonArray{userTemplate}).toJson());

        ProjectsService service(false, nullptr, m_client.get());
        ProjectsListViewModel list;
        show(list, service);
        CreateProjectViewModel sheet;
        sheet.setList(&list);
        QCOMPARE(sheet.currency(), QStringLiteral("RUB"));
        QCOMPARE(sheet.currencies(), (QStringList{"RUB", "USD", "EUR"}));
        sheet.setName(name);
        sheet.setClientName(client);
        sheet.setCurrency(QStringLiteral("EUR"));
        if (pickUserTemplate)
            sheet.selectTemplate(sheet.templates()->count() - 1);
        QVERIFY(sheet.canSubmit());
        QSignalSpy created(&sheet, &CreateProjectViewModel::created);
        QString selectedWhenAnswered = QStringLiteral("unset");
        connect(&sheet, &CreateProjectViewModel::created, this,
                [&] { selectedWhenAnswered = list.selectedProjectId(); });
        m_backend.clearRequests();
        sheet.submit();
        QVERIFY(sheet.isSubmitting());
        QVERIFY(!sheet.canSubmit());
        QCOMPARE(sheet.confirmText(), QStringLiteral("…"));
        QVERIFY(created.wait());
        QVERIFY(!sheet.isSubmitting());
        // Selected once the sheet has heard the answer (and closed), not before.
        QCOMPARE(selectedWhenAnswered, QString());
        QTRY_COMPARE(list.selectedProjectId(), service.projects().first().id);

        const QList<RecordedRequest> posts = m_backend.requests(QStringLiteral("POST"), QStringLiteral("projects"));
        QCOMPARE(posts.size(), 1);
        const QJsonObject body = posts.first().json().toObject();
        QCOMPARE(body.value(QStringLiteral("name")).toString(), sentName);
        QCOMPARE(body.contains(QStringLiteral("clientName")), !sentClient.isEmpty());
        QCOMPARE(body.value(QStringLiteral("clientName")).toString(), sentClient);
        QCOMPARE(body.value(QStringLiteral("currency")).toString(), QStringLiteral("EUR"));
        QCOMPARE(body.value(QStringLiteral("sphereId")).toString(), QStringLiteral("software"));
        if (pickUserTemplate) {
            const QJsonArray items = body.value(QStringLiteral("items")).toArray();
            QCOMPARE(items.size(), 1);
            QCOMPARE(items.first().toObject().value(QStringLiteral("title")).toString(), QStringLiteral("Своя строка"));
        } else {
            QVERIFY(!body.contains(QStringLiteral("templateId")));
        }
        QCOMPARE(m_backend.requests(QStringLiteral("GET"), QStringLiteral("projects")).size(), 0);
    }

    // A failed creation keeps the sheet's values and enables it again; a sphere change clears
    // the mark.
    void createFailsAndSphereChange()
    {
        ProjectsService service(false, nullptr, m_client.get());
        ProjectsListViewModel list;
        list.setProjectsService(&service);
        CreateProjectViewModel sheet;
        sheet.setList(&list);
        sheet.setName(QStringLiteral("   "));
        QVERIFY(!sheet.canSubmit());
        sheet.submit();
        QVERIFY(!sheet.isSubmitting());
        sheet.setName(QStringLiteral("Сайт"));
        sheet.selectTemplate(0);
        QVERIFY(sheet.hasSelectedTemplate());
        sheet.setSphereId(QStringLiteral("design"));
        QVERIFY(!sheet.hasSelectedTemplate());
        QVERIFY(sheet.hasTemplates());
        sheet.setSphereId(QStringLiteral("no-such-sphere"));
        QVERIFY(!sheet.hasTemplates());

        m_backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                              BackendReply::message(500, QStringLiteral("Нет")));
        QSignalSpy submitting(&sheet, &CreateProjectViewModel::isSubmittingChanged);
        QSignalSpy created(&sheet, &CreateProjectViewModel::created);
        sheet.submit();
        QTRY_COMPARE(submitting.size(), 2);
        QCOMPARE(created.size(), 0);
        QVERIFY(sheet.canSubmit());
        QCOMPARE(sheet.name(), QStringLiteral("Сайт"));
        QVERIFY(list.selectedProjectId().isEmpty());
    }

    void templateSummary_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<double>("rate");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("summary");
        QTest::newRow("truncated, marked") << 12 << 99.75 << true << "12 строк · 99 ✓";
        QTest::newRow("unmarked keeps the blank") << 12 << 99.75 << false << "12 строк · 99 ";
        QTest::newRow("no lines, below one") << 0 << 0.9 << false << "0 строк · 0 ";
        QTest::newRow("negative toward zero") << 1 << -2.5 << false << "1 строк · -2 ";
        QTest::newRow("not a number") << 1 << std::nan("") << false << "1 строк · 0 ";
        QTest::newRow("infinite") << 1 << std::numeric_limits<double>::infinity() << false << "1 строк · 0 ";
        QTest::newRow("beyond 64 bits") << 1 << 1e30 << false << "1 строк · 0 ";
    }
    void templateSummary()
    {
        QFETCH(int, lines);
        QFETCH(double, rate);
        QFETCH(bool, selected);
        QFETCH(QString, summary);
        EstimateTemplate t;
        t.defaultRate = rate;
        t.items.resize(lines);
        QCOMPARE(TemplateCardsModel::summary(t, selected), summary);
    }

    void rowTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("client");
        QTest::addColumn<bool>("isIteration");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subtitle");
        const QString money = QStringLiteral("1 200 ₽"); // ICU's ru_RU groups with a no-break space
        QTest::newRow("blank name") << " \n " << QVariant() << false << "Без названия" << money + " · Черновик";
        QTest::newRow("empty client dropped")
            << " Сайт " << QVariant(QString()) << false << "Сайт" << money + " · Черновик";
        QTest::newRow("client first") << "Сайт" << QVariant(QStringLiteral("Acme")) << false << "Сайт"
                                      << "Acme · " + money + " · Черновик";
        QTest::newRow("iteration: label, then its trimmed name") << " Спринт " << QVariant() << true << "v2"
                                                                 << "Спринт · " + money + " · Черновик";
    }
    void rowTexts()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, client);
        QFETCH(bool, isIteration);
        QFETCH(QString, title);
        QFETCH(QString, subtitle);
        Project p = make(QStringLiteral("p"), name,
                         isIteration ? std::optional<QString>(QStringLiteral("r")) : std::nullopt, 2);
        if (client.isValid())
            p.clientName = client.toString();
        p.totalCost = 1200;
        QCOMPARE(ProjectsListRules::treeRowTitle(p, isIteration), title);
        QString shown = ProjectsListRules::treeRowSubtitle(p, isIteration);
        shown.replace(QChar(0x202F), QChar(0x00A0)).replace(QChar(0x00A0), QLatin1Char(' '));
        QCOMPARE(shown, subtitle.replace(QChar(0x00A0), QLatin1Char(' ')));
    }

    void cardTexts_data()
    {
        QTest::addColumn<double>("hours");
        QTest::addColumn<double>("cost");
        QTest::addColumn<QString>("hoursText");
        QTest::addColumn<QString>("costText");
        QTest::newRow("one decimal") << 12.34 << 99.6 << "12.3 ч"
                                     << "100 RUB";
        QTest::newRow("printf halves") << 0.25 << 2.5 << "0.2 ч"
                                       << "2 RUB";
        QTest::newRow("no grouping") << 0.0 << 1000000.0 << "0.0 ч"
                                     << "1000000 RUB";
        QTest::newRow("overflowed") << std::numeric_limits<double>::infinity()
                                    << std::numeric_limits<double>::infinity() << "— ч"
                                    << "— RUB";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN()
                                      << std::numeric_limits<double>::quiet_NaN() << "— ч"
                                      << "— RUB";
    }

    // Names of any length reach the list's rows bounded for their wrapped texts.
    void hugeNamesAreBoundedForLayout()
    {
        Project p = make(QStringLiteral("p"), QStringLiteral("имя ").repeated(250000), std::nullopt, 2);
        p.clientName = QStringLiteral("клиент\n").repeated(100000);
        p.iterationName = QStringLiteral("этап ").repeated(250000);
        for (const bool iteration : {false, true}) {
            for (const QString &shown :
                 {ProjectsListRules::treeRowTitle(p, iteration), ProjectsListRules::treeRowSubtitle(p, iteration)})
                QVERIFY2(isBoundedForLayout(shown), qPrintable(QString::number(shown.size())));
        }
    }

    // A guest's card shows a name and a client of any length bounded; the project keeps them whole.
    void hugeCardTextsAreBoundedForLayout()
    {
        Project p = make(QStringLiteral("p"), QString(500000, QChar(u'Ж')));
        p.clientName = QStringLiteral("клиент ").repeated(100000);
        const auto service = deviceService({p});
        ProjectsListViewModel list;
        show(list, *service, true);
        QCOMPARE(list.cardsModel()->rowCount(), 1);
        const QModelIndex card = list.cardsModel()->index(0);
        for (const int role : {int(ProjectCardsModel::NameRole), int(ProjectCardsModel::ClientNameRole)}) {
            const QString shown = card.data(role).toString();
            QVERIFY2(isBoundedForLayout(shown), qPrintable(QString::number(shown.size())));
            QVERIFY(shown.endsWith(QStringLiteral("…")));
        }
        QCOMPARE(service->projects().first().name.size(), 500000);
    }

    // A device project's totals are summed here: two lines of the largest hours overflow them.
    void overflowingDeviceTotals()
    {
        Project p = make(QStringLiteral("p"), QStringLiteral("Сайт"), std::nullopt, 2);
        const double largest = std::numeric_limits<double>::max();
        for (const double rate : {1.0, 1000.0}) {
            ProjectItem item;
            item.title = QStringLiteral("Работа");
            item.hours = largest;
            item.rate = rate;
            p.items.append(item);
        }
        p = p.recalculatedTotals();
        const QStringList shown{ProjectsListRules::treeRowSubtitle(p, false),
                                ProjectsListRules::cardHoursText(p.totalHours),
                                ProjectsListRules::cardCostText(p.totalCost, p.currency)};
        for (const QString &text : shown)
            QVERIFY2(showsOnlyFiniteFigures(text), qPrintable(text));
        QVERIFY(shown.first().contains(QStringLiteral("—")));
    }
    void cardTexts()
    {
        QFETCH(double, hours);
        QFETCH(double, cost);
        QFETCH(QString, hoursText);
        QFETCH(QString, costText);
        QCOMPARE(ProjectsListRules::cardHoursText(hours), hoursText);
        QCOMPARE(ProjectsListRules::cardCostText(cost, QStringLiteral("RUB")), costText);
    }

    void storageNote_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("userId");
        QTest::addColumn<QString>("footnote");
        QTest::addColumn<QString>("note");
        QTest::newRow("footnote wins") << "p1"
                                       << "u1"
                                       << "Где-то"
                                       << "Где-то";
        QTest::newRow("local identity") << "local-1"
                                        << "u1"
                                        << ""
                                        << "На устройстве";
        QTest::newRow("guest owner") << "p1"
                                     << "guest"
                                     << ""
                                     << "На устройстве";
        QTest::newRow("neither") << "p1"
                                 << "u1"
                                 << ""
                                 << "";
    }
    void storageNote()
    {
        QFETCH(QString, id);
        QFETCH(QString, userId);
        QFETCH(QString, footnote);
        QFETCH(QString, note);
        Project p = make(id, QStringLiteral("x"));
        p.userId = userId;
        QCOMPARE(ProjectsListRules::storageNote(p, footnote), note);
    }

    void gridGeometry_data()
    {
        QTest::addColumn<double>("listWidth");
        QTest::addColumn<double>("windowWidth");
        QTest::addColumn<bool>("compact");
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("contentWidth");
        QTest::newRow("compact 600") << 600.0 << 390.0 << true << 1 << 600.0;
        QTest::newRow("compact 1200") << 1200.0 << 390.0 << true << 4 << 1200.0;
        QTest::newRow("capped at 520") << 1200.0 << 700.0 << false << 1 << 520.0;
        QTest::newRow("capped at 640") << 1200.0 << 1400.0 << false << 1 << 640.0;
        QTest::newRow("narrow never below one") << 100.0 << 390.0 << true << 1 << 100.0;
    }
    void gridGeometry()
    {
        QFETCH(double, listWidth);
        QFETCH(double, windowWidth);
        QFETCH(bool, compact);
        QFETCH(int, columns);
        QFETCH(double, contentWidth);
        ProjectsListViewModel list;
        list.setListWidth(listWidth);
        list.setWindowWidth(windowWidth);
        list.setCompact(compact);
        QCOMPARE(list.cardColumns(), columns);
        QCOMPARE(list.contentWidth(), contentWidth);
        QVERIFY(compact || list.cardWidth() <= 420);
    }

    // Keys: Up and Down move the keyboard over the shown rows from the first and open nothing,
    // Left and Right fold and unfold its root, Return opens its row; a selection takes it along.
    void keys()
    {
        const auto service = deviceService(sampleTree());
        ProjectsListViewModel list;
        show(list, *service);
        QCOMPARE(list.currentProjectId(), QStringLiteral("a"));
        list.expandCurrent(false);
        list.moveCurrent(1);
        QCOMPARE(list.currentProjectId(), QStringLiteral("b"));
        list.moveCurrent(-5);
        QCOMPARE(list.currentProjectId(), QStringLiteral("a"));
        list.expandCurrent(true);
        list.moveCurrent(2);
        QCOMPARE(list.currentProjectId(), QStringLiteral("a3"));
        QCOMPARE(list.selectedProjectId(), QString());
        list.activateCurrent();
        QCOMPARE(list.selectedProjectId(), QStringLiteral("a3"));
        list.moveCurrent(1);
        QCOMPARE(list.selectedProjectId(), QStringLiteral("a3"));
        list.setSelectedProjectId(QStringLiteral("c"));
        QCOMPARE(list.currentProjectId(), QStringLiteral("c"));
    }

    // A change of one project reaches the view as that row only.
    void oneProjectChangesOneRow()
    {
        const auto service = deviceService(sampleTree());
        ProjectsListViewModel list;
        show(list, *service);
        QSignalSpy reset(list.treeModel(), &QAbstractItemModel::modelReset);
        QSignalSpy changed(list.treeModel(), &QAbstractItemModel::dataChanged);
        UpdateProjectRequest edit;
        edit.name = QStringLiteral("Gamma 2");
        edit.currency = QStringLiteral("RUB");
        QVERIFY(await(service->update(QStringLiteral("c"), edit)));
        QCOMPARE(reset.size(), 0);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toModelIndex().row(), 5);
        list.hoverEntered(QStringLiteral("b"));
        list.hoverEntered(QStringLiteral("c")); // the next row's enter before this one's leave
        list.hoverLeft(QStringLiteral("b"));
        QCOMPARE(list.hoveredRowId(), QStringLiteral("c"));
        QCOMPARE(reset.size(), 0);
    }
};

QTEST_MAIN(tst_ProjectsListViewModel)
#include "tst_ProjectsListViewModel.moc"
