#include "EditorBackendFixture.h"
#include "Features/Editor/ProjectDetailController.h"

#include "Await.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString get = QStringLiteral("GET");
const QString del = QStringLiteral("DELETE");

QString projectPath(const QString &id)
{
    return QStringLiteral("projects/") + id;
}

} // namespace

// The detail column against the test backend: loading, not found, and deletion.
class tst_ProjectDetailController : public QObject
{
    Q_OBJECT

    EditorBackendFixture m_fixture;

    std::unique_ptr<ProjectDetailController> controller(ProjectsService &service, const QString &id)
    {
        auto detail = std::make_unique<ProjectDetailController>();
        detail->setProjectsService(&service);
        detail->setProjectId(id);
        return detail;
    }
    static bool loaded(const ProjectDetailController &detail)
    {
        return QTest::qWaitFor([&] { return !detail.isLoading(); }, 20000);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_fixture.start()); }
    void init() { m_fixture.reset(); }

    // The list's copy is shown at once, the fetched one replaces it.
    void listCopyFirst()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        await(service->load(false));
        m_fixture.backend.data().projects.first()[QStringLiteral("name")] = QStringLiteral("Новее");
        auto detail = controller(*service, project.id);
        QCOMPARE(detail->content(), QStringLiteral("loading"));
        detail->load();
        QCOMPARE(detail->content(), QStringLiteral("editor"));
        QCOMPARE(detail->loadedProject()->name, QStringLiteral("Сайт"));
        QVERIFY(loaded(*detail));
        QCOMPARE(detail->loadedProject()->name, QStringLiteral("Новее"));
    }

    // A slower earlier load applies nothing once a newer one started; loading ends false.
    void loadGenerations()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        Project slow = project;
        slow.name = QStringLiteral("Старое");
        m_fixture.backend.setOverride(get, projectPath(project.id), BackendReply::json(200, slow.toJson()));
        m_fixture.backend.hold(get, projectPath(project.id));
        auto detail = controller(*service, project.id);
        detail->load();
        QVERIFY(QTest::qWaitFor([&] { return m_fixture.count(get, projectPath(project.id)) == 1; }, 20000));
        m_fixture.backend.clearOverrides();
        detail->load();
        QVERIFY(loaded(*detail));
        QCOMPARE(detail->loadedProject()->name, QStringLiteral("Сайт"));
        m_fixture.backend.release();
        QTest::qWait(600);
        QCOMPARE(detail->loadedProject()->name, QStringLiteral("Сайт"));
        QVERIFY(!detail->isLoading());
    }

    // A failed fetch keeps a copy of the same project; without one, the not-found text.
    void notFound_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("guest");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("text");
        QTest::newRow("listed copy kept") << true << false << "editor"
                                          << "Проект не найден";
        QTest::newRow("server's text") << false << false << "notFound"
                                       << "Проект не найден";
        QTest::newRow("guest fallback") << false << true << "notFound"
                                        << "Проект недоступен или удалён.";
    }
    void notFound()
    {
        QFETCH(bool, listed);
        QFETCH(bool, guest);
        QFETCH(QString, content);
        QFETCH(QString, text);
        auto service = guest ? m_fixture.guest() : m_fixture.account();
        const Project project = m_fixture.add();
        if (listed)
            await(service->load(false));
        m_fixture.backend.data().projects.clear();
        auto detail = controller(*service, project.id);
        detail->load();
        QVERIFY(loaded(*detail));
        QCOMPARE(detail->content(), content);
        if (content == QLatin1String("notFound"))
            QVERIFY(detail->notFoundText().contains(text));
    }

    // A column gone before its answer arrives is left alone, and its request is aborted.
    void goneBeforeAnswer()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        m_fixture.backend.setOverride(get, projectPath(project.id),
                                      BackendReply::json(200, project.toJson()).after(10000));
        auto detail = controller(*service, project.id);
        detail->load();
        QTRY_COMPARE(m_fixture.backend.requests(get, projectPath(project.id)).size(), 1);
        detail.reset();
        QTRY_COMPARE(m_fixture.backend.abandonedRequests().size(), 1);
        QCOMPARE(m_fixture.backend.abandonedRequests().at(0).path, projectPath(project.id));
        QVERIFY(!service->hasErrorMessage());
    }

    // After deleting an iteration the newest remaining sibling is shown (the later one among
    // equals), else the root.
    void deletionMoves_data()
    {
        QTest::addColumn<QList<int>>("versions"); // -1: no version
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("expected"); // index into versions, -1: the root
        QTest::newRow("highest version") << QList<int>{1, 2, 3} << 1 << 2;
        QTest::newRow("only iteration") << QList<int>{1} << 0 << -1;
        QTest::newRow("later of unversioned") << QList<int>{-1, -1, -1} << 0 << 2;
        QTest::newRow("highest listed first") << QList<int>{3, 1, 2} << 2 << 0;
    }
    void deletionMoves()
    {
        QFETCH(QList<int>, versions);
        QFETCH(int, deleted);
        QFETCH(int, expected);
        auto service = m_fixture.account();
        const Project root = m_fixture.add({{QStringLiteral("projectType"), QStringLiteral("iterative")}});
        QList<Project> iterations;
        for (int version : versions)
            iterations.append(m_fixture.addIteration(root, version < 0 ? std::nullopt : std::optional<int>(version)));
        auto detail = controller(*service, iterations.at(deleted).id);
        detail->load();
        QVERIFY(loaded(*detail));
        QVERIFY(detail->canDelete());
        QVERIFY(detail->deleteDialogTitle().startsWith(QStringLiteral("Удалить итерацию «")));
        QCOMPARE(detail->deleteButtonText(), QStringLiteral("Удалить итерацию"));
        QSignalSpy moved(detail.get(), &ProjectDetailController::projectIdChangeRequested);
        QSignalSpy gone(detail.get(), &ProjectDetailController::deleted);
        detail->deleteProject();
        QVERIFY(moved.wait(20000));
        QCOMPARE(moved.first().first().toString(), expected < 0 ? root.id : iterations.at(expected).id);
        QCOMPARE(gone.size(), 0);
    }

    // A root whose iterations the list does not know is still not deleted: a fresh full list
    // shows them first.
    void rootWithUnlistedIterationsKept()
    {
        auto service = m_fixture.account();
        const Project root = m_fixture.add({{QStringLiteral("projectType"), QStringLiteral("iterative")}});
        const Project iteration = m_fixture.addIteration(root, 1);
        await(service->load(false)); // roots only
        auto detail = controller(*service, root.id);
        detail->load();
        QVERIFY(loaded(*detail));
        QVERIFY(detail->canDelete());
        QSignalSpy gone(detail.get(), &ProjectDetailController::deleted);
        detail->deleteProject();
        QTRY_VERIFY(!detail->isDeleting());
        QCOMPARE(m_fixture.count(del, projectPath(root.id)), 0);
        QCOMPARE(m_fixture.backend.data().projects.size(), 2);
        QCOMPARE(gone.size(), 0);
        QVERIFY(!detail->canDelete());
        QVERIFY(detail->deleteDialogMessage().startsWith(QStringLiteral("Сначала удалите итерации")));
        Q_UNUSED(iteration);
    }

    // Deleting a root whose check cannot load the list is not attempted.
    void rootCheckFailing()
    {
        auto service = m_fixture.account();
        const Project root = m_fixture.add();
        auto detail = controller(*service, root.id);
        detail->load();
        QVERIFY(loaded(*detail));
        m_fixture.backend.setOverride(get, QStringLiteral("projects"), BackendReply::message(500, QStringLiteral("x")));
        detail->deleteProject();
        QTRY_VERIFY(!detail->isDeleting());
        QCOMPARE(m_fixture.count(del, projectPath(root.id)), 0);
    }

    // A root without iterations goes; the owner hears it after the call returned.
    void rootDeleted()
    {
        auto service = m_fixture.account();
        const Project root = m_fixture.add();
        auto detail = controller(*service, root.id);
        detail->load();
        QVERIFY(loaded(*detail));
        QCOMPARE(detail->deleteDialogTitle(), QStringLiteral("Удалить проект «Сайт»?"));
        QCOMPARE(detail->deleteDialogMessage(), QStringLiteral("Проект будет удалён из облака. Действие необратимо."));
        QSignalSpy gone(detail.get(), &ProjectDetailController::deleted);
        detail->deleteProject();
        QVERIFY(gone.wait(20000));
        QVERIFY(m_fixture.backend.data().projects.isEmpty());
    }

    // A guest's project lives on this device only: the dialog says so, not "из облака".
    void guestRootDeleted()
    {
        auto service = m_fixture.guest();
        const std::optional<Project> created =
            await(service->create(QStringLiteral("Черновик"), std::nullopt, QStringLiteral("RUB"),
                                  QStringLiteral("software"), std::nullopt))
                .project;
        QVERIFY(created);
        auto detail = controller(*service, created->id);
        detail->load();
        QVERIFY(loaded(*detail));
        QCOMPARE(detail->deleteDialogTitle(), QStringLiteral("Удалить проект «Черновик»?"));
        QCOMPARE(detail->deleteDialogMessage(),
                 QStringLiteral("Проект будет удалён с этого устройства. Действие необратимо."));
        QSignalSpy gone(detail.get(), &ProjectDetailController::deleted);
        detail->deleteProject();
        QVERIFY(gone.wait(5000));
        QVERIFY(service->projects().isEmpty());
        QCOMPARE(m_fixture.count(del, projectPath(created->id)), 0);
    }

    // A failed deletion reloads nothing and hands nothing on.
    void failedDeletion()
    {
        auto service = m_fixture.account();
        const Project root = m_fixture.add({{QStringLiteral("projectType"), QStringLiteral("iterative")}});
        const Project iteration = m_fixture.addIteration(root, 1);
        auto detail = controller(*service, iteration.id);
        detail->load();
        QVERIFY(loaded(*detail));
        m_fixture.backend.clearRequests();
        m_fixture.backend.setOverride(del, projectPath(iteration.id), BackendReply::message(500, QStringLiteral("x")));
        QSignalSpy moved(detail.get(), &ProjectDetailController::projectIdChangeRequested);
        detail->deleteProject();
        QTRY_VERIFY(!detail->isDeleting());
        QTest::qWait(50);
        QCOMPARE(moved.size(), 0);
        QCOMPARE(m_fixture.count(get, QStringLiteral("projects")), 0);
    }

    // "Назад" asks the owner to clear its selection, after the call returned.
    void dismissClearsSelection()
    {
        auto service = m_fixture.guest();
        auto detail = controller(*service, QStringLiteral("missing"));
        QSignalSpy moved(detail.get(), &ProjectDetailController::projectIdChangeRequested);
        detail->dismiss();
        QCOMPARE(moved.size(), 0);
        QVERIFY(moved.wait(5000));
        QCOMPARE(moved.first().first().toString(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_ProjectDetailController)
#include "tst_ProjectDetailController.moc"
