#pragma once

#include "API/ProjectsService.h"
#include "Models/Project.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <memory>

// The offer of a signed-in window to move the device's guest projects into the account: looks
// once whether there are any, and keeps what the migration sheet starts from.
class LocalDataMigrationOffer : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the main window")

    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(bool dismissedThisSession READ dismissedThisSession NOTIFY dismissedChanged)
    Q_PROPERTY(ProjectsService *projectsService READ projectsService NOTIFY offerChanged)
    // A migration taken from this offer runs: the window waits for it before it closes.
    Q_PROPERTY(bool isMigrating READ isMigrating NOTIFY isMigratingChanged)

public:
    explicit LocalDataMigrationOffer(QObject *parent = nullptr);

    bool shown() const { return m_shown; }
    bool dismissedThisSession() const { return m_dismissedThisSession; }
    ProjectsService *projectsService() const { return m_service.get(); }
    // The device projects offered, newest first, and the account's projects when the offer was made.
    const QList<Project> &pendingLocals() const { return m_pendingLocals; }
    const QList<Project> &cloudProjects() const { return m_cloudProjects; }
    bool isMigrating() const { return m_isMigrating; }
    // Told by whoever runs the migration, when it starts and when it has ended.
    void setMigrating(bool migrating);

    // Looks at the device store once the account's projects are read; a guest window never does.
    void probe(bool isGuest, std::shared_ptr<ProjectsService> service);

    Q_INVOKABLE void skip();
    Q_INVOKABLE void close();
    // The sheet's finish action: the account's list again, with iterations as the sections show it.
    QCoro::Task<> finish();

Q_SIGNALS:
    void shownChanged();
    void dismissedChanged();
    void offerChanged();
    void isMigratingChanged();
    void migrationEnded();
    // The probe ended, with or without an offer (for tests and the bench).
    void probeFinished();

private:
    static QCoro::Task<> probeTask(QPointer<LocalDataMigrationOffer> self, std::shared_ptr<ProjectsService> service);

    std::shared_ptr<ProjectsService> m_service;
    bool m_shown = false;
    bool m_dismissedThisSession = false;
    bool m_isMigrating = false;
    QList<Project> m_pendingLocals;
    QList<Project> m_cloudProjects;
};
