// The payments hub's rows: grouping, titles, subtitles and search, checked against a plain
// reading of the grouping rules; the list model's states and row updates; and the finance
// strip's paid share.
#include "BoundedTexts.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Features/Finance/FinanceBannerFigures.h"
#include "Features/Finance/FinanceProjectOptionsBuilder.h"
#include "Features/Finance/FinanceProjectOptionsModel.h"
#include "TestBackend.h"
#include "Utils/MoneyFormat.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A new account on the backend, with the client signed in as it.
QString signIn(TestBackend &backend, APIClient &client)
{
    const QString account = backend.data().addAccount(QStringLiteral("a@example.test"), QStringLiteral("pw")).id;
    const QString token = backend.data().issueToken(account);
    client.setTokenProvider([token] { return std::optional<QString>(token); });
    return account;
}

Project project(const QString &id, const QString &name, std::optional<QString> parent = std::nullopt,
                std::optional<qint64> version = std::nullopt)
{
    Project p;
    p.id = id;
    p.name = name;
    p.currency = QStringLiteral("RUB");
    p.parentProjectId = std::move(parent);
    p.version = version;
    return p;
}

// The grouping rules read literally, one scan per question, for comparison with the builder.
QList<std::pair<QString, bool>> reference(const QList<Project> &all)
{
    QList<Project> roots;
    for (const Project &p : all) {
        if (!p.parentProjectId || *p.parentProjectId == p.id)
            roots.append(p);
    }
    std::stable_sort(roots.begin(), roots.end(), [](const Project &a, const Project &b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    QList<std::pair<QString, bool>> rows;
    for (const Project &root : roots) {
        rows.append({root.id, false});
        const bool hasChild =
            std::any_of(all.cbegin(), all.cend(), [&](const Project &p) { return p.parentProjectId == root.id; });
        if (root.projectType != QStringLiteral("iterative") && !hasChild)
            continue;
        QList<Project> iterations;
        for (const Project &p : all) {
            if (p.id != root.id && (p.parentProjectId == root.id || p.baseProjectId == root.id))
                iterations.append(p);
        }
        std::stable_sort(iterations.begin(), iterations.end(), [](const Project &a, const Project &b) {
            return a.version.value_or(0) < b.version.value_or(0);
        });
        for (const Project &p : iterations)
            rows.append({p.id, true});
    }
    for (const Project &p : all) {
        const bool listed = std::any_of(rows.cbegin(), rows.cend(), [&](const auto &row) { return row.first == p.id; });
        if (p.parentProjectId && *p.parentProjectId != p.id && !listed)
            rows.append({p.id, true});
    }
    return rows;
}

QList<std::pair<QString, bool>> shape(const QList<FinanceProjectOption> &options)
{
    QList<std::pair<QString, bool>> rows;
    for (const FinanceProjectOption &option : options)
        rows.append({option.id, option.isIteration});
    return rows;
}

QStringList titles(const QList<FinanceProjectOption> &options)
{
    QStringList out;
    for (const FinanceProjectOption &option : options)
        out.append(option.title);
    return out;
}

EstimateAnalytics figures(double planned, double paid)
{
    EstimateAnalytics a;
    a.currency = QStringLiteral("RUB");
    a.planned.totalCost = planned;
    a.paid.receivedTotal = paid;
    return a;
}

} // namespace

class tst_FinanceProjectOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grouping_data()
    {
        QTest::addColumn<QList<Project>>("projects");
        QTest::addColumn<QStringList>("expected");

        Project selfParent = project(QStringLiteral("a"), QStringLiteral("Сам себе"), QStringLiteral("a"));
        QTest::newRow("own parent is a root") << QList<Project>{selfParent} << QStringList{"Сам себе"};

        Project iterative = project(QStringLiteral("r"), QStringLiteral("Итеративный"));
        iterative.projectType = QStringLiteral("iterative");
        QTest::newRow("iterative root alone") << QList<Project>{iterative} << QStringList{"Итеративный"};

        Project oneTime = project(QStringLiteral("r"), QStringLiteral("Разовый"));
        Project child = project(QStringLiteral("c"), QStringLiteral("c"), QStringLiteral("r"), 2);
        Project derived = project(QStringLiteral("d"), QStringLiteral("d"), QStringLiteral("x"), 1);
        derived.baseProjectId = QStringLiteral("r");
        QTest::newRow("child by parent pulls in the base-named")
            << QList<Project>{child, oneTime, derived} << QStringList{"Разовый", "  v1", "  v2"};

        Project lone = project(QStringLiteral("r"), QStringLiteral("Без детей"));
        Project onlyBase = project(QStringLiteral("d"), QStringLiteral("Основа"), QStringLiteral("gone"));
        onlyBase.baseProjectId = QStringLiteral("r");
        QTest::newRow("base alone does not group")
            << QList<Project>{onlyBase, lone} << QStringList{"Без детей", "Основа"};

        QList<Project> versions{project(QStringLiteral("r"), QStringLiteral("Корень")),
                                project(QStringLiteral("i1"), QStringLiteral("первая"), QStringLiteral("r"), 1),
                                project(QStringLiteral("i2"), QStringLiteral("без версии"), QStringLiteral("r")),
                                project(QStringLiteral("i3"), QStringLiteral("вторая"), QStringLiteral("r"), 1)};
        versions[1].iterationName = QStringLiteral("Первая");
        versions[2].iterationName = QStringLiteral("Без версии");
        versions[3].iterationName = QStringLiteral("Вторая");
        QTest::newRow("absent version first, ties in input order")
            << versions << QStringList{"Корень", "  Без версии", "  Первая", "  Вторая"};

        QList<Project> orphan{project(QStringLiteral("o"), QStringLiteral("Сирота"), QStringLiteral("missing"), 4),
                              project(QStringLiteral("b"), QStringLiteral("beta")),
                              project(QStringLiteral("a"), QStringLiteral("Alpha"))};
        QTest::newRow("orphan after the roots, by its name, case-blind order")
            << orphan << QStringList{"Alpha", "beta", "Сирота"};

        Project blankName = project(QStringLiteral("i"), QStringLiteral("x"), QStringLiteral("r"), 3);
        blankName.iterationName = QStringLiteral(" \t");
        QTest::newRow("blank iteration name")
            << QList<Project>{project(QStringLiteral("r"), QString()), blankName} << QStringList{"", "  v3"};
    }
    void grouping()
    {
        QFETCH(QList<Project>, projects);
        QFETCH(QStringList, expected);
        const QList<FinanceProjectOption> options = FinanceProjectOptionsBuilder::build(projects);
        QCOMPARE(titles(options), expected);
        QCOMPARE(shape(options), reference(projects));
    }

    // Lists of mixed roots, iterations and orphans with repeated names and versions.
    void sameAsTheRules()
    {
        QRandomGenerator random(20261207);
        for (int round = 0; round < 200; ++round) {
            QList<Project> projects;
            const int size = 1 + int(random.bounded(14));
            for (int i = 0; i < size; ++i) {
                Project p = project(QStringLiteral("p%1").arg(i), QStringLiteral("n%1").arg(random.bounded(4)));
                const auto pick = [&] { return QStringLiteral("p%1").arg(random.bounded(size + 2)); };
                if (random.bounded(2))
                    p.parentProjectId = pick();
                if (random.bounded(3) == 0)
                    p.baseProjectId = pick();
                if (random.bounded(2))
                    p.version = random.bounded(3);
                if (random.bounded(4) == 0)
                    p.projectType = QStringLiteral("iterative");
                projects.append(p);
            }
            QCOMPARE(shape(FinanceProjectOptionsBuilder::build(projects)), reference(projects));
        }
    }

    void subtitle_data()
    {
        QTest::addColumn<std::optional<QString>>("client");
        QTest::addColumn<QString>("expected");
        const QString money = MoneyFormat::format(1500, QStringLiteral("RUB"));
        QTest::newRow("no client") << std::optional<QString>() << money + QStringLiteral(" · В работе");
        QTest::newRow("empty client") << std::optional<QString>(QString()) << money + QStringLiteral(" · В работе");
        QTest::newRow("blank client") << std::optional<QString>(QStringLiteral(" "))
                                      << QStringLiteral("  · ") + money + QStringLiteral(" · В работе");
        QTest::newRow("client") << std::optional<QString>(QStringLiteral("ООО «Ромашка»"))
                                << QStringLiteral("ООО «Ромашка» · ") + money + QStringLiteral(" · В работе");
    }
    void subtitle()
    {
        QFETCH(std::optional<QString>, client);
        QFETCH(QString, expected);
        Project p = project(QStringLiteral("p"), QStringLiteral("Сайт"));
        p.clientName = client;
        p.totalCost = 1500;
        p.status = ProjectStatus::InProgress;
        QCOMPARE(FinanceProjectOptionsBuilder::build({p}).first().subtitle, expected);
    }

    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty") << "" << QStringList{"Альфа", "  Запуск", "Бета"};
        QTest::newRow("upper case in blanks and tabs") << " \tАЛЬ  " << QStringList{"Альфа"};
        QTest::newRow("iteration without its root") << "запуск" << QStringList{"  Запуск"};
        QTest::newRow("by subtitle") << "ромашка" << QStringList{"Бета"};
        QTest::newRow("line end is not trimmed") << "бета\n" << QStringList{};
        QTest::newRow("no match") << "гамма" << QStringList{};
    }
    void search()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        Project alpha = project(QStringLiteral("a"), QStringLiteral("Альфа"));
        Project launch = project(QStringLiteral("i"), QStringLiteral("x"), QStringLiteral("a"), 1);
        launch.iterationName = QStringLiteral("Запуск");
        Project beta = project(QStringLiteral("b"), QStringLiteral("Бета"));
        beta.clientName = QStringLiteral("Ромашка");
        const auto options = FinanceProjectOptionsBuilder::build({beta, launch, alpha});
        QCOMPARE(titles(FinanceProjectOptionsBuilder::filtered(options, query)), expected);
    }

    // A name of any length reaches the hub's row bounded; the search still reads it whole.
    void hugeNamesAreBoundedForLayout()
    {
        TestBackend backend;
        QVERIFY(backend.start() != 0);
        APIClient client(backend.baseUrl());
        const QString account = signIn(backend, client);
        ProjectsService service(false, nullptr, &client);
        const QString huge = QStringLiteral("имя ").repeated(250000) + QStringLiteral("хвост");
        backend.data().addProject(account, {{QStringLiteral("name"), huge}, {QStringLiteral("clientName"), huge}});
        FinanceProjectOptionsModel options;
        options.setProjectsService(&service);
        await(service.load(true));
        QTRY_COMPARE(options.count(), 1);
        for (const int role :
             {int(FinanceProjectOptionsModel::TitleRole), int(FinanceProjectOptionsModel::SubtitleRole)}) {
            const QString shown = options.data(options.index(0), role).toString();
            QVERIFY2(isBoundedForLayout(shown), qPrintable(QString::number(shown.size())));
        }
        options.setSearchText(QStringLiteral("хвост"));
        QCOMPARE(options.count(), 1);
    }

    // The hub's list over the test backend: a spinner only while loading with nothing, the
    // empty state after, and a search changes rows without a reset.
    void model()
    {
        TestBackend backend;
        QVERIFY(backend.start() != 0);
        APIClient client(backend.baseUrl());
        const QString account = signIn(backend, client);
        ProjectsService service(false, nullptr, &client);

        FinanceProjectOptionsModel options;
        QAbstractItemModelTester tester(&options, QAbstractItemModelTester::FailureReportingMode::QtTest);
        options.setProjectsService(&service);
        backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                            BackendReply::json(200, QJsonArray()).after(200));
        options.refresh();
        QCOMPARE(options.state(), FinanceProjectOptionsModel::State::Loading);
        QTRY_COMPARE(options.state(), FinanceProjectOptionsModel::State::Empty);

        backend.clearOverrides();
        for (const QString &name : {QStringLiteral("Альфа"), QStringLiteral("Бета"), QStringLiteral("Вега")})
            backend.data().addProject(account, {{QStringLiteral("name"), name}});
        await(service.load(true));
        QCOMPARE(options.state(), FinanceProjectOptionsModel::State::List);
        QCOMPARE(options.count(), 3);

        QSignalSpy reset(&options, &QAbstractItemModel::modelReset);
        options.setSearchText(QStringLiteral("бе"));
        QCOMPARE(options.count(), 1);
        QCOMPARE(options.data(options.index(0), FinanceProjectOptionsModel::TitleRole).toString(),
                 QStringLiteral("Бета"));
        options.setSearchText(QStringLiteral("нет такого"));
        QCOMPARE(options.count(), 0);
        QCOMPARE(options.state(), FinanceProjectOptionsModel::State::List);
        // Reloading while rows are listed keeps the list up.
        options.setSearchText(QString());
        backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                            BackendReply::message(500, QStringLiteral("x")).after(100));
        options.refresh();
        QCOMPARE(options.state(), FinanceProjectOptionsModel::State::List);
        QTRY_VERIFY(!service.isLoading());
        QCOMPARE(options.count(), 3);
        QCOMPARE(reset.size(), 0);
    }

    void paidShare_data()
    {
        QTest::addColumn<double>("planned");
        QTest::addColumn<double>("paid");
        QTest::addColumn<double>("share");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("nothing planned or paid") << 0.0 << 0.0 << 0.0;
        QTest::newRow("paid without a plan") << 0.0 << 100.0 << 1.0;
        QTest::newRow("a quarter") << 400.0 << 100.0 << 0.25;
        QTest::newRow("overpaid") << 100.0 << 400.0 << 1.0;
        QTest::newRow("refund below zero") << 100.0 << -50.0 << 0.0;
        QTest::newRow("paid not a number") << 100.0 << nan << 0.0;
        QTest::newRow("plan not a number") << nan << 100.0 << 1.0;
        QTest::newRow("both infinite") << inf << inf << 0.0;
    }
    void paidShare()
    {
        QFETCH(double, planned);
        QFETCH(double, paid);
        QFETCH(double, share);
        QCOMPARE(FinanceBannerFigures::paidShare(figures(planned, paid)), share);
    }

    // Amounts in the strip's currency; the delta only beside a snapshot.
    void bannerTexts()
    {
        FinanceBannerFigures banner;
        banner.setCurrency(QStringLiteral("EUR"));
        QCOMPARE(banner.planText(), MoneyFormat::format(0, QStringLiteral("EUR")));
        EstimateAnalytics a = figures(1000, 250);
        a.deltaFromAi = EstimateAnalytics::DeltaTotals{1, -300};
        banner.setAnalytics(QVariant::fromValue(a));
        QCOMPARE(banner.planText(), MoneyFormat::format(1000, QStringLiteral("EUR")));
        QVERIFY(!banner.hasDelta());
        a.lastAiSnapshot = EstimateAnalytics::AiSnapshotSummary{};
        banner.setAnalytics(QVariant::fromValue(a));
        QCOMPARE(banner.deltaText(), MoneyFormat::format(-300, QStringLiteral("EUR")));
        banner.setAnalytics(QVariant());
        QVERIFY(!banner.hasDelta());
        QCOMPARE(banner.paidShare(), 0.0);
    }

    // Figures that are not finite read as a dash, not as zero and never as infinity.
    void bannerTextsOfFiguresThatAreNotFinite()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        FinanceBannerFigures banner;
        banner.setCurrency(QStringLiteral("RUB"));
        EstimateAnalytics a = figures(inf, nan);
        a.lastAiSnapshot = EstimateAnalytics::AiSnapshotSummary{};
        a.deltaFromAi = EstimateAnalytics::DeltaTotals{1, -inf};
        banner.setAnalytics(QVariant::fromValue(a));
        QCOMPARE(banner.planText(), QStringLiteral("—"));
        QCOMPARE(banner.paidText(), QStringLiteral("—"));
        QCOMPARE(banner.deltaText(), QStringLiteral("—"));
        QVERIFY(std::isfinite(banner.paidShare()));
    }
};

QTEST_GUILESS_MAIN(tst_FinanceProjectOptions)
#include "tst_FinanceProjectOptions.moc"
