// The projects list model over a guest service: a change of the service's list reaches the rows
// it concerns.
#include "API/ProjectsService.h"
#include "Await.h"
#include "Features/Projects/ProjectRowsModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString rub = QStringLiteral("RUB");

// "b" is the project b named "b"; "b=Bee" the same project named "Bee".
Project sample(const QString &entry)
{
    const QString id = entry.section(QLatin1Char('='), 0, 0);
    Project p;
    p.id = id;
    p.name = entry.contains(QLatin1Char('=')) ? entry.section(QLatin1Char('='), 1) : id;
    p.currency = rub;
    p.defaultRate = 40;
    p.userId = QStringLiteral("guest");
    p.createdAt = p.updatedAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    return p;
}

// Rows as the same entries, to compare with a table's expectation.
QStringList entries(const QAbstractItemModel &model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex at = model.index(row, 0);
        const QString id = at.data(ProjectRowsModel::ProjectIdRole).toString();
        const QString name = at.data(ProjectRowsModel::NameRole).toString();
        out.append(name == id ? id : id + QLatin1Char('=') + name);
    }
    return out;
}

} // namespace

class tst_ProjectRowsModel : public QObject
{
    Q_OBJECT

    std::shared_ptr<ModelContainer> m_store;
    std::unique_ptr<ProjectsService> m_service;

    // Makes the service list exactly these projects, first entry first.
    void list(const QStringList &newestFirst)
    {
        m_store->removeAll();
        LocalProjectRepository repository(m_store);
        const qint64 base = 1700000000000;
        for (qsizetype i = newestFirst.size() - 1; i >= 0; --i) {
            const qint64 stamp = base + (newestFirst.size() - i) * 1000;
            m_store->setClock([stamp] { return QDateTime::fromMSecsSinceEpoch(stamp, Qt::UTC); });
            repository.upsert(sample(newestFirst.at(i)));
        }
        await(m_service->load(false));
        QVERIFY(!m_service->errorMessage());
    }

private Q_SLOTS:
    void init()
    {
        m_store = ModelContainer::openInMemory();
        m_service = std::make_unique<ProjectsService>(true, m_store);
    }
    void cleanup()
    {
        m_service.reset();
        m_store.reset();
    }

    void changesReachTheirRows_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QList<int>>("changedRows");
        // modelReset, rowsInserted, rowsRemoved, rowsMoved, countChanged
        QTest::addColumn<QList<int>>("signalCounts");

        const QStringList abc{"a", "b", "c"};
        QTest::newRow("unchanged") << abc << abc << QList<int>{} << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("one renamed") << abc << QStringList{"a", "b=Bee", "c"} << QList<int>{1}
                                     << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("one added on top")
            << abc << QStringList{"d", "a", "b", "c"} << QList<int>{} << QList<int>{0, 1, 0, 0, 1};
        QTest::newRow("two added at the end")
            << abc << QStringList{"a", "b", "c", "d", "e"} << QList<int>{} << QList<int>{0, 1, 0, 0, 1};
        QTest::newRow("one removed") << abc << QStringList{"a", "c"} << QList<int>{} << QList<int>{0, 0, 1, 0, 1};
        QTest::newRow("two apart removed")
            << QStringList{"a", "b", "c", "d"} << QStringList{"b", "d"} << QList<int>{} << QList<int>{0, 0, 2, 0, 1};
        QTest::newRow("saved one moves up")
            << abc << QStringList{"c=Cee", "a", "b"} << QList<int>{0} << QList<int>{0, 0, 0, 1, 0};
        QTest::newRow("first moves to the end") << QStringList{"a", "b", "c", "d"} << QStringList{"b", "c", "d", "a"}
                                                << QList<int>{} << QList<int>{0, 0, 0, 1, 0};
        QTest::newRow("reversed") << QStringList{"a", "b", "c", "d"} << QStringList{"d", "c", "b", "a"} << QList<int>{}
                                  << QList<int>{0, 0, 0, 3, 0};
        QTest::newRow("added, removed and renamed")
            << abc << QStringList{"d", "c=Cee", "a"} << QList<int>{1} << QList<int>{0, 1, 1, 1, 0};
        QTest::newRow("replaced wholesale")
            << abc << QStringList{"x", "y"} << QList<int>{} << QList<int>{1, 0, 0, 0, 1};
        QTest::newRow("from empty") << QStringList{} << abc << QList<int>{} << QList<int>{0, 1, 0, 0, 1};
        QTest::newRow("to empty") << abc << QStringList{} << QList<int>{} << QList<int>{0, 0, 1, 0, 1};
    }
    void changesReachTheirRows()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QList<int>, changedRows);
        QFETCH(QList<int>, signalCounts);

        list(before);
        ProjectRowsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setProjectsService(m_service.get());
        QCOMPARE(entries(model), before);

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        QSignalSpy count(&model, &ProjectRowsModel::countChanged);
        list(after);

        QCOMPARE(entries(model), after);
        QCOMPARE(model.count(), after.size());
        QList<int> rows;
        for (const QList<QVariant> &args : std::as_const(changed)) {
            const auto from = args.at(0).toModelIndex();
            const auto to = args.at(1).toModelIndex();
            for (int row = from.row(); row <= to.row(); ++row)
                rows.append(row);
        }
        QCOMPARE(rows, changedRows);
        QCOMPARE((QList<int>{int(reset.size()), int(inserted.size()), int(removed.size()), int(moved.size()),
                             int(count.size())}),
                 signalCounts);
    }

    // The single changes a service makes by itself: a new project on top, a deleted one.
    void serviceEditsAreRowChanges()
    {
        list({"a", "b"});
        ProjectRowsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setProjectsService(m_service.get());
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy count(&model, &ProjectRowsModel::countChanged);

        const std::optional<Project> created =
            await(m_service->create(QStringLiteral("Новый"), std::nullopt, rub, QString(), std::nullopt)).project;
        QVERIFY(created);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(model.index(0, 0).data(ProjectRowsModel::ProjectIdRole).toString(), created->id);
        QVERIFY(await(m_service->remove(QStringLiteral("a"))));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(entries(model), (QStringList{created->id + QStringLiteral("=Новый"), "b"}));
        QCOMPARE(count.size(), 2);
        QCOMPARE(reset.size(), 0);
    }

    void anotherServiceResets()
    {
        list({"a"});
        ProjectRowsModel model;
        model.setProjectsService(m_service.get());
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy count(&model, &ProjectRowsModel::countChanged);
        model.setProjectsService(nullptr);
        QCOMPARE(model.count(), 0);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(count.size(), 1);
    }
};

QTEST_MAIN(tst_ProjectRowsModel)
#include "tst_ProjectRowsModel.moc"
