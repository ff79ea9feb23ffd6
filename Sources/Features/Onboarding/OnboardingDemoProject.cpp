#include "Features/Onboarding/OnboardingDemoProject.h"

#include "API/ProjectsService.h"
#include "Data/EstimateTemplatesLoader.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Settings/Preferences.h"

#include <QPointer>

namespace OnboardingDemoProject {

QString name()
{
    return QStringLiteral("Демо — тур по приложению");
}

QString clientName()
{
    return QStringLiteral("Пример клиента");
}

QString currency()
{
    return QStringLiteral("RUB");
}

QString sphereId()
{
    return QStringLiteral("software");
}

QCoro::Task<> ensureReady(ProjectsService &projectsService)
{
    QPointer<ProjectsService> service = &projectsService;
    // Read, not published: a screen may have loaded the list with iterations meanwhile.
    auto fetching = service->fetchAll(false);
    const std::optional<QList<Project>> listed = co_await std::move(fetching);
    if (!service || !listed)
        co_return;

    Preferences &preferences = Preferences::shared();
    const QString key = QLatin1String(GuidedOnboarding::demoProjectIdKey);
    const QVariant stored = preferences.value(key);
    if (stored.isValid() && !stored.isNull()) {
        const QString storedId = stored.toString();
        for (const Project &project : *listed) {
            if (project.id == storedId)
                co_return;
        }
    }
    for (const Project &project : *listed) {
        if (project.name == name()) {
            preferences.setValue(key, project.id);
            co_return;
        }
    }

    const QList<EstimateTemplate> templates = EstimateTemplatesLoader::load();
    std::optional<EstimateTemplate> firstTemplate;
    if (!templates.isEmpty())
        firstTemplate = templates.first();
    auto creation = service->create(name(), clientName(), currency(), sphereId(), firstTemplate);
    const ProjectCreation created = co_await std::move(creation);
    if (created.project)
        preferences.setValue(key, created.project->id);
}

} // namespace OnboardingDemoProject
