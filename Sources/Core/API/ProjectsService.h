#pragma once

#include "Data/LocalProjectRepository.h"
#include "Data/ModelContainer.h"
#include "Models/CreateIterationRequest.h"
#include "Models/EstimateTemplate.h"
#include "Models/Project.h"
#include "Models/ProjectItem.h"
#include "Models/ProjectLineSummary.h"
#include "Models/ProjectStatus.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <memory>
#include <optional>

class APIClient;

// The screens' one gateway to projects: the account's through the REST client, or a guest's in
// the device store, fixed at creation. Never throws: a failure becomes errorMessage and the
// operation returns nothing, false or an empty list, leaving the list as it was.
class ProjectsService : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the main window for its mode")
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessageText NOTIFY errorMessageChanged)
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
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    QString errorMessageText() const { return m_errorMessage.value_or(QString()); }
    bool isGuestMode() const { return m_isGuestMode; }
    APIClient &api() const;
    const std::optional<LocalProjectRepository> &localRepository() const { return m_localRepository; }

    QCoro::Task<void> load(bool includeIterations);
    // The list load would publish, returned instead: for background checks that must not replace
    // a list a screen loaded in another form. Absent (and reported) on failure.
    QCoro::Task<std::optional<QList<Project>>> fetchAll(bool includeIterations);
    QCoro::Task<std::optional<Project>> create(QString name, std::optional<QString> clientName, QString currency,
                                               QString sphereId, std::optional<EstimateTemplate> estimateTemplate);
    // Uploads a device project as a new account project; absent in guest mode.
    QCoro::Task<std::optional<Project>> createFromLocalGuestProject(Project project);
    QCoro::Task<std::optional<Project>> fetchProject(QString id);
    QCoro::Task<std::optional<Project>> update(QString id, QString name, std::optional<QString> clientName,
                                               QString currency, ProjectStatus status, double defaultRate,
                                               QList<ProjectItem> items, std::optional<QString> projectType,
                                               std::optional<QString> iterationStartedAt);
    QCoro::Task<bool> remove(QString id);
    // Account only: absent, or an empty list, in guest mode.
    QCoro::Task<std::optional<Project>> createIteration(QString baseProjectId, CreateIterationRequest body);
    QCoro::Task<QList<Project>> fetchIterations(QString projectId);
    QCoro::Task<std::optional<ProjectLineSummary>> fetchLineSummary(QString rootId);

Q_SIGNALS:
    void projectsChanged();
    void isLoadingChanged();
    void errorMessageChanged();

private:
    bool usesDevice() const { return m_isGuestMode && m_localRepository.has_value(); }
    void setProjects(QList<Project> projects);
    void setLoading(bool loading);
    void setErrorMessage(std::optional<QString> message);
    void clearError() { setErrorMessage(std::nullopt); }
    // Publishes the description of the exception being handled.
    void reportCurrentException();
    // Replaces the first listed entry of the project's identity; true when there was one.
    bool replaceListed(const Project &project);
    void insertFirst(const Project &project);
    // The request's JSON, or none after reporting a record that cannot be encoded.
    template<typename Request>
    std::optional<QJsonValue> encode(const Request &request);
    // One backend call decoded as T; absent (and reported) on failure, or when the service went
    // away meanwhile.
    template<typename T>
    QCoro::Task<std::optional<T>> send(QString method, QString path, std::optional<QJsonValue> body);

    QList<Project> m_projects;
    bool m_isLoading = false;
    std::optional<QString> m_errorMessage;
    const bool m_isGuestMode;
    APIClient *m_api = nullptr;
    std::optional<LocalProjectRepository> m_localRepository;
};
