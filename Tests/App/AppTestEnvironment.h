#pragma once

#include "Data/EstimateCatalogLoader.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"
#include "Models/ProjectStatus.h"
#include "Settings/Preferences.h"
#include "Projects/GuestProjectFactory.h"

#include <QCoreApplication>
#include <QTemporaryDir>

// Preferences and the device store of a test process live in a private folder; reset() empties
// both between test functions.
class AppTestEnvironment
{
public:
    AppTestEnvironment()
    {
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CACHE_HOME", m_dir.filePath(QStringLiteral("cache")).toUtf8());
        QCoreApplication::setOrganizationName(QStringLiteral("Tessmark"));
        QCoreApplication::setApplicationName(QStringLiteral("Tessmark"));
    }

    QString path() const { return m_dir.path(); }

    void reset()
    {
        static const char *const keys[] = {
            "guest_mode_active",
            "app.colorSchemePreference",
            "estimate.onboarding.main.completedVersion",
            "estimate.onboarding.replayRequestNonce",
            "estimate.onboarding.demoProjectId",
            "estimate.onboarding.welcomeIntro.v1.done",
        };
        for (const char *key : keys) {
            if (Preferences::shared().contains(QLatin1String(key)))
                Preferences::shared().remove(QLatin1String(key));
        }
        repository().deleteAll();
    }

    static LocalProjectRepository repository() { return LocalProjectRepository(PersistenceController::shared()); }

    static QList<Project> addDeviceProjects(int count, const QString &prefix = QStringLiteral("Проект"))
    {
        QList<Project> added;
        LocalProjectRepository store = repository();
        for (int i = 0; i < count; ++i) {
            added.append(GuestProjectFactory::makeNew(QStringLiteral("%1 %2").arg(prefix).arg(i + 1), std::nullopt,
                                                      QStringLiteral("RUB"), ProjectStatus::Draft, std::nullopt,
                                                      EstimateCatalogLoader::normalizeCategory));
            store.upsert(added.last());
        }
        return added;
    }

private:
    QTemporaryDir m_dir;
};
