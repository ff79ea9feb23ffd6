#include "EditorBackendFixture.h"
#include "EditorSamples.h"
#include "Features/Editor/ProjectEditorScreenModel.h"

#include "Data/EstimateCatalogLoader.h"
#include "Export/CommercialProposalInput.h"
#include "SelectOption.h"

#include <QSignalSpy>
#include <QTest>

using namespace EditorSamples;

namespace {

const QString get = QStringLiteral("GET");

QString analyticsPath(const QString &id)
{
    return QStringLiteral("projects/") + id + QStringLiteral("/estimate-analytics");
}
QString iterationsPath(const QString &id)
{
    return QStringLiteral("projects/") + id + QStringLiteral("/iterations");
}

QStringList keys(const QVariantList &entries)
{
    QStringList out;
    for (const QVariant &entry : entries)
        out.append(entry.value<SelectOption>().value);
    return out;
}

} // namespace

// The editor screen against the test backend: what it loads, when, and what it drops.
class tst_ProjectEditorScreenModel : public QObject
{
    Q_OBJECT

    EditorBackendFixture m_fixture;
    std::unique_ptr<EstimateCatalogLoader::ScopedCatalogOverride> m_catalog;

    std::unique_ptr<ProjectEditorScreenModel> screen(ProjectsService &service, const Project &project)
    {
        auto model = std::make_unique<ProjectEditorScreenModel>();
        model->setProjectsService(&service);
        model->setIsGuestSession(service.isGuestMode());
        model->setProject(project);
        return model;
    }
    static bool settled(const ProjectEditorScreenModel &model)
    {
        return QTest::qWaitFor([&] { return !model.analyticsLoading() && !model.iterationsLoading(); }, 20000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_fixture.start());
        m_catalog = std::make_unique<EstimateCatalogLoader::ScopedCatalogOverride>(
            QStringLiteral(TESSMARK_TEST_DATA "/catalog/no-such-catalog.json"));
    }
    void cleanupTestCase() { m_catalog.reset(); }
    void init() { m_fixture.reset(); }

    // A guest's screen asks nothing of the backend, whatever the project's type.
    void guestMakesNoCalls()
    {
        auto service = m_fixture.guest();
        Project project = EditorSamples::project();
        project.projectType = QStringLiteral("iterative");
        auto model = screen(*service, project);
        model->refreshFinance();
        model->editor()->setProjectTypeRaw(QStringLiteral("one_time"));
        model->editor()->setProjectTypeRaw(QStringLiteral("iterative"));
        model->refreshIterations(model->editor()->projectId());
        QTest::qWait(100);
        QVERIFY(m_fixture.backend.requests().isEmpty());
        QVERIFY(!model->analytics());
        QCOMPARE(model->iterationCount(), 0);
        QVERIFY(!model->analyticsLoading());
        QVERIFY(!model->iterationsLoading());
        QVERIFY(!model->showsIterationsBar());
        QCOMPARE(model->projectTypeOptions().size(), 1);
    }

    // Analytics, then the iterations under the root's identity; both flags end false.
    void financeThenIterations()
    {
        auto service = m_fixture.account();
        const Project root = m_fixture.add({{QStringLiteral("projectType"), QStringLiteral("iterative")}});
        const Project second = m_fixture.addIteration(root, 2);
        m_fixture.addIteration(root, 1);
        auto model = screen(*service, second);
        model->refreshFinance();
        QVERIFY(model->analyticsLoading());
        QVERIFY(settled(*model));
        QVERIFY(model->analytics());
        QCOMPARE(model->iterationCount(), 2);
        QCOMPARE(m_fixture.count(get, iterationsPath(root.id)), 1);
        QCOMPARE(model->currentIterationText(), QStringLiteral("Текущая: v2"));
    }

    // A failing analytics call still ends the loading and clears earlier figures.
    void failedAnalyticsClears()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        auto model = screen(*service, project);
        model->refreshFinance();
        QVERIFY(settled(*model));
        QVERIFY(model->analytics());
        m_fixture.backend.setOverride(get, analyticsPath(project.id), BackendReply::message(500, QStringLiteral("x")));
        model->refreshFinance();
        QVERIFY(settled(*model));
        QVERIFY(!model->analytics());
    }

    // An older answer that arrives after a newer one changes nothing.
    void staleAnalyticsDropped()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        auto model = screen(*service, project);
        EstimateAnalytics old;
        old.projectId = project.id;
        old.currency = QStringLiteral("RUB");
        old.planned.totalCost = 999;
        m_fixture.backend.setOverride(get, analyticsPath(project.id), BackendReply::json(200, old.toJson()));
        m_fixture.backend.hold(get, analyticsPath(project.id));
        model->refreshFinance();
        QVERIFY(QTest::qWaitFor([&] { return m_fixture.count(get, analyticsPath(project.id)) == 1; }, 20000));
        m_fixture.backend.clearOverrides();
        model->refreshFinance();
        QVERIFY(QTest::qWaitFor([&] { return model->analytics().has_value(); }, 20000));
        QVERIFY(!model->analyticsLoading());
        m_fixture.backend.release();
        QTest::qWait(700);
        QVERIFY(model->analytics());
        QCOMPARE(model->analytics()->planned.totalCost, 0.0);
        QVERIFY(!model->analyticsLoading());
    }

    // Switching to iterative loads the iterations before any save; switching back clears them,
    // also when the load is still running.
    void typeChangeReloadsIterations()
    {
        auto service = m_fixture.account();
        const Project root = m_fixture.add();
        m_fixture.addIteration(root, 1);
        auto model = screen(*service, root);
        QVERIFY(!model->showsIterationsBar());
        QSignalSpy bar(model.get(), &ProjectEditorScreenModel::iterationsBarChanged);
        model->editor()->setProjectTypeRaw(QStringLiteral("iterative"));
        QVERIFY(model->showsIterationsBar());
        QVERIFY(!bar.isEmpty());
        QVERIFY(settled(*model));
        QCOMPARE(model->iterationCount(), 1);
        QCOMPARE(model->currentIterationText(), QString()); // the root is not an iteration

        m_fixture.backend.setOverride(get, iterationsPath(root.id), BackendReply::json(200, QJsonArray()).after(300));
        model->editor()->setProjectTypeRaw(QStringLiteral("one_time"));
        model->editor()->setProjectTypeRaw(QStringLiteral("iterative"));
        model->editor()->setProjectTypeRaw(QStringLiteral("one_time"));
        QCOMPARE(model->iterationCount(), 0);
        QVERIFY(!model->iterationsLoading());
        QTest::qWait(500);
        QCOMPARE(model->iterationCount(), 0);
        QVERIFY(!model->iterationsLoading());
    }

    // A screen gone before its answers arrive is left alone, and its requests are aborted.
    void screenGoneBeforeAnswers()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add({{QStringLiteral("projectType"), QStringLiteral("iterative")}});
        m_fixture.backend.setDelay(get, analyticsPath(project.id), 10000);
        m_fixture.backend.setDelay(get, iterationsPath(project.id), 10000);
        auto model = screen(*service, project);
        model->refreshFinance();
        model->refreshIterations(project.id);
        QTRY_VERIFY(!m_fixture.backend.requests(get, analyticsPath(project.id)).isEmpty()
                    && !m_fixture.backend.requests(get, iterationsPath(project.id)).isEmpty());
        const qsizetype started = m_fixture.backend.requests(get, analyticsPath(project.id)).size()
            + m_fixture.backend.requests(get, iterationsPath(project.id)).size();
        model.reset();
        QTRY_COMPARE(m_fixture.backend.abandonedRequests().size(), started);
        QVERIFY(!service->hasErrorMessage());
    }

    // A successful save refreshes the figures; a failed one does not.
    void saveRefreshesOnlyOnSuccess()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        auto model = screen(*service, project);
        QSignalSpy finished(model->editor(), &ProjectEditorViewModel::finished);
        model->editor()->setName(QString());
        model->editor()->save();
        QCOMPARE(finished.size(), 1);
        QVERIFY(!model->analyticsLoading());
        model->editor()->setName(QStringLiteral("Сайт 2"));
        model->editor()->save();
        QVERIFY(finished.wait(20000));
        QVERIFY(finished.last().first().toBool());
        QVERIFY(QTest::qWaitFor([&] { return m_fixture.count(get, analyticsPath(project.id)) == 1; }, 20000));
        QCOMPARE(model->editor()->saveStateRaw(), QStringLiteral("saved"));
    }

    // The reload after a save that changes the name (the server trims it) counts as an edit, so
    // "saved" does not stay for that save.
    void reloadChangingNameClearsSaved()
    {
        auto service = m_fixture.account();
        const Project project = m_fixture.add();
        auto model = screen(*service, project);
        QSignalSpy finished(model->editor(), &ProjectEditorViewModel::finished);
        model->editor()->setName(QStringLiteral(" Сайт "));
        model->editor()->save();
        QVERIFY(finished.wait(20000));
        QCOMPARE(model->editor()->saveStateRaw(), QStringLiteral("saved"));
        QTRY_COMPARE(model->editor()->saveStateRaw(), QStringLiteral("idle"));
        QVERIFY(!model->editor()->isDirty());
    }

    void menuEntries_data()
    {
        QTest::addColumn<bool>("guest");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("guest one-off") << true << "one_time" << QStringList{"addLine", "export", "templates"};
        QTest::newRow("guest iterative") << true << "iterative" << QStringList{"addLine", "export", "templates"};
        QTest::newRow("account one-off") << false << "one_time" << QStringList{"addLine", "ai", "export", "templates"};
        QTest::newRow("account iterative")
            << false << "iterative"
            << QStringList{"addLine", "ai", "export", "iterations", "newIteration", "templates"};
    }
    void menuEntries()
    {
        QFETCH(bool, guest);
        QFETCH(QString, type);
        QFETCH(QStringList, entries);
        auto service = guest ? m_fixture.guest() : m_fixture.account();
        Project project = EditorSamples::project();
        project.projectType = type;
        auto model = screen(*service, project);
        QCOMPARE(keys(model->menuEntries()), entries);
    }

    // Each entry raises its own sheet; "Добавить строку" opens the form on a new line.
    void menuEntriesRaiseSheets()
    {
        auto service = m_fixture.account();
        auto model = screen(*service, EditorSamples::project());
        model->triggerMenuEntry(QStringLiteral("templates"));
        QVERIFY(model->showTemplateLibrary());
        model->triggerMenuEntry(QStringLiteral("export"));
        QVERIFY(model->showExportPDF());
        model->triggerMenuEntry(QStringLiteral("addLine"));
        QVERIFY(model->showItemForm());
        QVERIFY(model->isAddingItem());
        QCOMPARE(model->form()->sheetTitle(), QStringLiteral("Новая строка"));
        QCOMPARE(model->form()->rateText(), QStringLiteral("100.0"));
    }

    // The form appends a new line and replaces an existing one by its identity.
    void formCallback()
    {
        auto service = m_fixture.guest();
        auto model =
            screen(*service, EditorSamples::project({{QStringLiteral("A"), QStringLiteral("backend"), 1, 10}}));
        ProjectEditorViewModel &editor = *model->editor();
        model->openNewItem();
        model->form()->setTitle(QStringLiteral("B"));
        model->form()->setHoursText(QStringLiteral("2,5"));
        QVERIFY(model->form()->save());
        QCOMPARE(titles(editor.items()), (QStringList{"A", "B"}));
        QCOMPARE(editor.items().last().hours, 2.5);
        QVERIFY(!model->isAddingItem());

        const QUuid first = editor.items().first().id;
        model->editLine(first.toString(QUuid::WithoutBraces));
        QCOMPARE(model->form()->sheetTitle(), QStringLiteral("Редактирование"));
        model->form()->setTitle(QStringLiteral("A2"));
        QVERIFY(model->form()->save());
        QCOMPARE(titles(editor.items()), (QStringList{"A2", "B"}));
        QCOMPARE(editor.items().first().id, first);
        QVERIFY(editor.isDirty());
    }

    // Dragging moves lines only within a category in the category mode.
    void moveLine_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("order");
        // Rows: backend A, B, C then design D.
        const QStringList kept{"A", "B", "C", "D"};
        QTest::newRow("down in category") << "category" << 0 << 2 << QStringList{"B", "C", "A", "D"};
        QTest::newRow("up in category") << "category" << 2 << 0 << QStringList{"C", "A", "B", "D"};
        QTest::newRow("across sections") << "category" << 0 << 3 << kept;
        QTest::newRow("cost mode") << "costDesc" << 0 << 2 << kept;
        QTest::newRow("hours mode") << "hoursDesc" << 0 << 2 << kept;
    }
    void moveLine()
    {
        QFETCH(QString, mode);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, order);
        auto service = m_fixture.guest();
        auto model = screen(*service,
                            EditorSamples::project({{QStringLiteral("A"), QStringLiteral("backend"), 1, 10},
                                                    {QStringLiteral("B"), QStringLiteral("backend"), 2, 10},
                                                    {QStringLiteral("C"), QStringLiteral("backend"), 3, 10},
                                                    {QStringLiteral("D"), QStringLiteral("design"), 4, 10}}));
        model->editor()->setGroupModeRaw(mode);
        model->moveLine(from, to);
        QCOMPARE(titles(model->editor()->items()), order);
    }

    // The export's totals count negative factors as zero and are rounded to cents; the lines go
    // as they are.
    void exportInput()
    {
        auto service = m_fixture.guest();
        auto model = screen(*service,
                            EditorSamples::project({{QStringLiteral("A"), QStringLiteral("backend"), 0.333, 10},
                                                    {QStringLiteral("B"), QStringLiteral("backend"), 0.333, 10},
                                                    {QStringLiteral("C"), QStringLiteral("backend"), -3, 100}}));
        model->editor()->setClientName(QStringLiteral(" ООО "));
        const auto input = model->exportInput().value<CommercialProposalInput>();
        QCOMPARE(input.totalHours, 0.67);
        QCOMPARE(input.totalCost, 6.66);
        QCOMPARE(input.items.size(), 3);
        QCOMPARE(input.items.last().hours, -3.0);
        QCOMPARE(input.clientName, QStringLiteral(" ООО "));
        const auto lines = model->newIterationItems().value<QList<ProjectItem>>();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.last().hours, 0.0);
    }

    // A newer copy of the same project replaces the working copy only while it is clean and no
    // save runs; edits are never overwritten.
    void newerCopy_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("name");
        QTest::newRow("clean and idle") << false << false << "Новее";
        QTest::newRow("edited") << true << false << "Правка";
        QTest::newRow("saving") << false << true << "Сайт";
    }
    void newerCopy()
    {
        QFETCH(bool, edited);
        QFETCH(bool, saving);
        QFETCH(QString, name);
        auto service = m_fixture.account();
        const Project stored = m_fixture.add();
        auto model = screen(*service, stored);
        model->editor()->setGroupModeRaw(QStringLiteral("hoursDesc"));
        if (edited)
            model->editor()->setName(QStringLiteral("Правка"));
        if (saving) {
            m_fixture.backend.setOverride(QStringLiteral("PATCH"), QStringLiteral("projects/") + stored.id,
                                          BackendReply::json(200, stored.toJson()).after(300));
            model->editor()->save();
        }
        Project newer = stored;
        newer.name = QStringLiteral("Новее");
        model->setProject(newer);
        QCOMPARE(model->editor()->name(), name);
        QCOMPARE(model->editor()->groupModeRaw(), QStringLiteral("hoursDesc"));
        Project other = newer;
        other.id = QStringLiteral("other");
        model->setProject(other);
        QCOMPARE(model->editor()->projectId(), stored.id);
        if (saving)
            QTRY_VERIFY(model->editor()->saveStateRaw() != QStringLiteral("saving"));
    }

    void title_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("name") << "Сайт"
                              << "Сайт";
        QTest::newRow("empty") << ""
                               << "Смета";
        QTest::newRow("blanks kept") << "  "
                                     << "  ";
    }
    void title()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        auto service = m_fixture.guest();
        auto model = screen(*service, EditorSamples::project());
        model->editor()->setName(name);
        QCOMPARE(model->title(), title);
    }
};

QTEST_GUILESS_MAIN(tst_ProjectEditorScreenModel)
#include "tst_ProjectEditorScreenModel.moc"
