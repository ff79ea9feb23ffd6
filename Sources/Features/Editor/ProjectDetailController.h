#pragma once

#include "API/ProjectsService.h"
#include "Models/Project.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// The detail column of one selected project: loads it (the list's copy first, then the backend's,
// numbered so that only the latest load applies), and confirms and carries out its deletion.
// Hand-overs to the owner are emitted queued, since the owner answers by destroying this column.
class ProjectDetailController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString projectId READ projectId WRITE setProjectId NOTIFY projectIdChanged)
    // The Project on screen, or undefined.
    Q_PROPERTY(QVariant loadedProject READ loadedProjectValue NOTIFY loadedProjectChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    // "loading", "editor" or "notFound".
    Q_PROPERTY(QString content READ content NOTIFY contentChanged)
    Q_PROPERTY(QString notFoundText READ notFoundText NOTIFY contentChanged)
    Q_PROPERTY(bool canDelete READ canDelete NOTIFY contentChanged)
    Q_PROPERTY(QString deleteDialogTitle READ deleteDialogTitle NOTIFY contentChanged)
    Q_PROPERTY(QString deleteDialogMessage READ deleteDialogMessage NOTIFY contentChanged)
    Q_PROPERTY(QString deleteButtonText READ deleteButtonText NOTIFY contentChanged)
    Q_PROPERTY(bool isDeleting READ isDeleting NOTIFY isDeletingChanged)

public:
    explicit ProjectDetailController(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);
    const QString &projectId() const { return m_projectId; }
    void setProjectId(const QString &id);

    const std::optional<Project> &loadedProject() const { return m_loadedProject; }
    QVariant loadedProjectValue() const;
    bool isLoading() const { return m_isLoading; }
    QString content() const;
    QString notFoundText() const;
    // No deletion of a root that still has iterations in the list.
    bool canDelete() const;
    QString deleteDialogTitle() const;
    QString deleteDialogMessage() const;
    QString deleteButtonText() const;
    bool isDeleting() const { return m_isDeleting; }

    // Loads projectId: the list's copy at once, then the backend's.
    Q_INVOKABLE void load();
    // Deletes the loaded project, then hands the selection on: to the newest remaining sibling
    // of an iteration (else its root), or away after a root.
    Q_INVOKABLE void deleteProject();
    // Leaves the project: the owner clears its selection.
    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void projectsServiceChanged();
    void projectIdChanged();
    void loadedProjectChanged();
    void isLoadingChanged();
    void contentChanged();
    void isDeletingChanged();
    void deleted();
    void projectIdChangeRequested(const QString &projectId);

private:
    void setLoadedProject(std::optional<Project> project);
    void setLoading(bool loading);
    void setDeleting(bool deleting);
    bool hasIterationsListed(const Project &root) const;
    void emitQueued(std::function<void()> handOver);

    static QCoro::Task<> runLoad(QPointer<ProjectDetailController> self, quint64 generation, QString expectedId);
    static QCoro::Task<> runDelete(QPointer<ProjectDetailController> self, Project project);
    // Aborted when owner goes.
    static QCoro::Task<std::optional<Project>> fetch(ProjectsService &service, const QString &id, const QObject *owner);
    static QCoro::Task<bool> remove(ProjectsService &service, const QString &id);
    static QCoro::Task<> reload(ProjectsService &service);

    QPointer<ProjectsService> m_projectsService;
    QString m_projectId;
    std::optional<Project> m_loadedProject;
    bool m_isLoading = true;
    bool m_isDeleting = false;
    quint64 m_loadGeneration = 0;
};
