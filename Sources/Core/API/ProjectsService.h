#pragma once

#include "API/ProjectCreation.h"
#include "API/ServiceBase.h"
#include "Data/LocalProjectRepository.h"
#include "Data/ModelContainer.h"
#include "Models/CreateIterationRequest.h"
#include "Models/EstimateTemplate.h"
#include "Models/Project.h"
#include "Models/ProjectItem.h"
#include "Models/ProjectLineSummary.h"
#include "Models/ProjectStatus.h"
#include "Models/UpdateProjectRequest.h"

#include <QFuture>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <memory>
#include <optional>

// The screens' one gateway to projects: the account's through the REST client, or a guest's in
// the device store, fixed at creation. Never throws: a failure becomes errorMessage and the
// operation returns nothing, false or an empty list, leaving the list as it was.
class ProjectsService : public ServiceBase
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the main window for its mode")
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(bool isGuestMode READ isGuestMode CONSTANT)

public:
    // Guest mode works on the given store, or on the application's when none is given; account
    // mode ignores it. api: the REST client, the shared one when none is given.
    explicit ProjectsService(bool isGuestMode, std::shared_ptr<ModelContainer> modelContainer = {},
                             APIClient *api = nullptr, QObject *parent = nullptr);

    const QList<Project> &projects() const { return m_projects; }
    // Entries that are roots (no parent, or themselves as parent), in list order.
    QList<Project> rootProjects() const;
    bool isLoading() const { return m_isLoading; }
    bool isGuestMode() const { return m_isGuestMode; }
    const std::optional<LocalProjectRepository> &localRepository() const { return m_localRepository; }

    // owner of a read: the object whose lifetime it lives in (see APIClient::requestData); none
    // gives this service. Reads whose owner went away return nothing and report nothing.
    // A guest's list is read off the GUI thread and arrives in one step; the list shown meanwhile
    // stays, and an unchanged list is not published again. An account's list that names a project
    // twice lists its first copy (so do fetchAll and fetchIterations).
    QCoro::Task<void> load(bool includeIterations);
    // The list load would publish, returned instead: for background checks that must not replace
    // a list a screen loaded in another form. Absent (and reported) on failure.
    QCoro::Task<std::optional<QList<Project>>> fetchAll(bool includeIterations, const QObject *owner = nullptr);
    // An account's answer is taken in unless it names a project listed when the request went;
    // such an answer, or one that does not read, leaves the creation unsettled: the list is read
    // again and the creation fails with a text (so does createIteration's).
    QCoro::Task<ProjectCreation> create(QString name, std::optional<QString> clientName, QString currency,
                                        QString sphereId, std::optional<EstimateTemplate> estimateTemplate);
    // Uploads a device project as a new account project; absent in guest mode.
    QCoro::Task<std::optional<Project>> createFromLocalGuestProject(Project project);
    QCoro::Task<std::optional<Project>> fetchProject(QString id, const QObject *owner = nullptr);
    // Account mode sends the request as it is, and refuses an answer about another project (the
    // list and the caller's copy stay); guest mode stamps its fields onto the stored project.
    // So that the window goes on meanwhile, the request's JSON and the answer are made and read on
    // a worker thread, and a guest's store on disk is read, updated and written there, one update
    // after the other (an in-memory store, which has no second connection, in place). Reads and
    // removals of the device store wait for the updates handed on before them.
    QCoro::Task<std::optional<Project>> update(QString id, UpdateProjectRequest request);
    QCoro::Task<bool> remove(QString id);
    // Account only: absent, or an empty list, in guest mode. A created iteration is put first
    // into the list; an answer naming the base project or a listed one is not taken in.
    QCoro::Task<ProjectCreation> createIteration(QString baseProjectId, CreateIterationRequest body);
    // Absent (and reported) when the iterations could not be read; empty in guest mode.
    QCoro::Task<std::optional<QList<Project>>> fetchIterations(QString projectId, const QObject *owner = nullptr);
    QCoro::Task<std::optional<ProjectLineSummary>> fetchLineSummary(QString rootId, const QObject *owner = nullptr);

Q_SIGNALS:
    void projectsChanged();
    void isLoadingChanged();

private:
    bool usesDevice() const { return m_isGuestMode && m_localRepository.has_value(); }
    void setProjects(QList<Project> projects);
    void setLoading(bool loading);
    // Replaces the first listed entry of the project's identity; true when there was one.
    bool replaceListed(const Project &project);
    void insertFirst(const Project &project);
    QSet<QString> listedIds() const;
    // The answer to a creation, put first when it is not one of existing; else, or when it did not
    // read, the list is read again and the creation fails with notTakenIn.
    static QCoro::Task<ProjectCreation> takeCreated(QPointer<ProjectsService> self, Sent<Project> answer,
                                                    QSet<QString> existing, QString notTakenIn);
    static QCoro::Task<void> loadDevice(QPointer<ProjectsService> self, quint64 load);
    static QCoro::Task<std::optional<Project>> updateDevice(QPointer<ProjectsService> self, QString id,
                                                            UpdateProjectRequest request);
    // Waits for the device updates handed on so far; false when the service went meanwhile.
    static QCoro::Task<bool> deviceWritesDone(QPointer<ProjectsService> self);

    QList<Project> m_projects;
    bool m_isLoading = false;
    // The form of the last load, for reading the list again in it.
    bool m_loadsIterations = true;
    const bool m_isGuestMode;
    std::optional<LocalProjectRepository> m_localRepository;
    // Device loads started and device writes made, to tell a stale read from the latest.
    quint64 m_deviceLoads = 0;
    quint64 m_deviceWrites = 0;
    // Writes this service made to its published list, to tell an account read that may predate one.
    quint64 m_listWrites = 0;
    // One thread, so that updates reach the store in the order they were made; the last one handed
    // on. Going, the service waits for the update under way.
    QThreadPool m_deviceWriter;
    QFuture<void> m_lastDeviceWrite;
};
