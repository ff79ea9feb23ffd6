// Which project the tour shows: the stored one while it is listed, else one bearing the demo
// name, else a new one from the first built-in template.
#include "API/ProjectsService.h"
#include "AppTestEnvironment.h"
#include "Data/EstimateCatalogLoader.h"
#include "Data/EstimateTemplatesLoader.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Features/Onboarding/OnboardingDemoProject.h"

#include <QCoro/QCoroTask>
#include <QSignalSpy>
#include <QTest>

class TestOnboardingDemoProject : public QObject
{
    Q_OBJECT

    AppTestEnvironment m_env;

private Q_SLOTS:
    void init() { m_env.reset(); }

    void choice_data()
    {
        const QString demo = OnboardingDemoProject::name();
        QTest::addColumn<QStringList>("names"); // projects on the device, in writing order
        QTest::addColumn<int>("storedIndex"); // the stored identity: -1 none, -2 a project that is gone
        QTest::addColumn<int>("chosen"); // -1: a new one is created
        QTest::newRow("stored identity still listed") << QStringList{"Переименованный демо", demo} << 0 << 0;
        QTest::newRow("bearing the name: the most recently written") << QStringList{demo, demo} << -2 << 1;
        QTest::newRow("letter case is a near miss") << QStringList{demo.toLower()} << -1 << -1;
        QTest::newRow("trailing blank is a near miss") << QStringList{demo + QLatin1Char(' ')} << -1 << -1;
        QTest::newRow("empty device") << QStringList{} << -1 << -1;
    }

    void choice()
    {
        QFETCH(QStringList, names);
        QFETCH(int, storedIndex);
        QFETCH(int, chosen);
        QStringList ids;
        for (const QString &name : names) {
            const Project project =
                GuestProjectFactory::makeNew(name, std::nullopt, QStringLiteral("RUB"), ProjectStatus::Draft,
                                             std::nullopt, EstimateCatalogLoader::normalizeCategory);
            AppTestEnvironment::repository().upsert(project);
            ids << project.id;
            QTest::qWait(2); // distinct write stamps keep the listing order
        }
        const QString key = QLatin1String(GuidedOnboarding::demoProjectIdKey);
        if (storedIndex != -1)
            Preferences::shared().setValue(key, storedIndex >= 0 ? ids.at(storedIndex) : QStringLiteral("local-gone"));
        ProjectsService service(true);
        QSignalSpy writes(&Preferences::shared(), &Preferences::valueChanged);
        QCoro::waitFor(OnboardingDemoProject::ensureReady(service));
        const QString demoId = Preferences::shared().value(key).toString();
        const QList<Project> stored = AppTestEnvironment::repository().fetchAllSorted();
        if (chosen >= 0) {
            QCOMPARE(demoId, ids.at(chosen));
            QCOMPARE(stored.size(), names.size());
            QCOMPARE(writes.isEmpty(), chosen == storedIndex);
            // Only read: the window's list is left as its screens loaded it.
            QVERIFY(service.projects().isEmpty());
        } else {
            QCOMPARE(stored.size(), names.size() + 1);
            // The new project joins the window's list.
            QCOMPARE(service.projects().size(), 1);
            const Project &created = service.projects().first();
            QCOMPARE(created.id, demoId);
            QVERIFY(!ids.contains(demoId));
            QCOMPARE(created.name, OnboardingDemoProject::name());
            QCOMPARE(created.clientName.value_or(QString()), QStringLiteral("Пример клиента"));
            QCOMPARE(created.currency, QStringLiteral("RUB"));
            const QList<EstimateTemplate> templates = EstimateTemplatesLoader::load();
            QVERIFY(!templates.isEmpty());
            QCOMPARE(created.items.size(), templates.first().items.size());
            QVERIFY(AppTestEnvironment::repository().fetch(created.id).has_value());
        }

        // A second check finds the same project and creates nothing more.
        QCoro::waitFor(OnboardingDemoProject::ensureReady(service));
        QCOMPARE(AppTestEnvironment::repository().fetchAllSorted().size(), stored.size());
        QCOMPARE(Preferences::shared().value(key).toString(), demoId);
    }
};

QTEST_GUILESS_MAIN(TestOnboardingDemoProject)
#include "tst_OnboardingDemoProject.moc"
