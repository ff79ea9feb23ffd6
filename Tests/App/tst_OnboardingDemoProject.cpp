// Which project the tour shows: the stored one while it is listed, else one bearing the demo
// name, else a new one from the first built-in template.
#include "API/ProjectsService.h"
#include "AppTestEnvironment.h"
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

    static Project stored(const QString &name)
    {
        Project project = GuestProjectFactory::makeNew(name, std::nullopt, QStringLiteral("RUB"), ProjectStatus::Draft,
                                                       std::nullopt);
        AppTestEnvironment::repository().upsert(project);
        QTest::qWait(2); // distinct write stamps keep the listing order
        return project;
    }

    static QVariant storedDemoId()
    {
        return Preferences::shared().value(QLatin1String(GuidedOnboarding::demoProjectIdKey));
    }

    static void ensureReady(ProjectsService &service)
    {
        QCoro::waitFor(OnboardingDemoProject::ensureReady(service));
    }

private Q_SLOTS:
    void init() { m_env.reset(); }

    void storedIdentityStillListedIsKept()
    {
        const Project mine = stored(QStringLiteral("Переименованный демо"));
        stored(OnboardingDemoProject::name());
        Preferences::shared().setValue(GuidedOnboarding::demoProjectIdKey, mine.id);
        ProjectsService service(true);
        QSignalSpy writes(&Preferences::shared(), &Preferences::valueChanged);
        ensureReady(service);
        QCOMPARE(writes.size(), 0);
        QCOMPARE(service.projects().size(), 2);
    }

    void projectBearingTheNameIsTaken()
    {
        const Project first = stored(OnboardingDemoProject::name());
        const Project second = stored(OnboardingDemoProject::name());
        Preferences::shared().setValue(GuidedOnboarding::demoProjectIdKey, QStringLiteral("local-gone"));
        ProjectsService service(true);
        ensureReady(service);
        // The first in the service's order: the most recently written.
        QCOMPARE(storedDemoId().toString(), second.id);
        QCOMPARE(service.projects().size(), 2);
        Q_UNUSED(first);
    }

    void nearMissesOfTheNameDoNotCount_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("letter case") << OnboardingDemoProject::name().toLower();
        QTest::newRow("trailing blank") << OnboardingDemoProject::name() + QLatin1Char(' ');
    }

    void nearMissesOfTheNameDoNotCount()
    {
        QFETCH(QString, name);
        const Project nearMiss = stored(name);
        ProjectsService service(true);
        ensureReady(service);
        QCOMPARE(service.projects().size(), 2);
        const QString demoId = storedDemoId().toString();
        QVERIFY(demoId != nearMiss.id);
        const Project &created = service.projects().first();
        QCOMPARE(created.id, demoId);
        QCOMPARE(created.name, OnboardingDemoProject::name());
    }

    void createdFromTheFirstBuiltInTemplateOnTheDevice()
    {
        ProjectsService service(true);
        ensureReady(service);
        QCOMPARE(service.projects().size(), 1);
        const Project demo = service.projects().first();
        QCOMPARE(storedDemoId().toString(), demo.id);
        QCOMPARE(demo.clientName.value_or(QString()), QStringLiteral("Пример клиента"));
        QCOMPARE(demo.currency, QStringLiteral("RUB"));
        const QList<EstimateTemplate> templates = EstimateTemplatesLoader::load();
        QVERIFY(!templates.isEmpty());
        QCOMPARE(demo.items.size(), templates.first().items.size());
        QVERIFY(AppTestEnvironment::repository().fetch(demo.id).has_value());

        // A second check finds it and creates nothing more.
        ensureReady(service);
        QCOMPARE(service.projects().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOnboardingDemoProject)
#include "tst_OnboardingDemoProject.moc"
