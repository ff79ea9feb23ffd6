#pragma once

#include "API/ProjectsService.h"
#include "Data/LocalCloudMigrationPolicy.h"
#include "Models/Project.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>


// Runs the chosen migration of device projects into the account for the migration sheet.
class LocalDataMigrationSheetModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // The projects as the main window hands them over (opaque to QML).
    Q_PROPERTY(QVariant locals READ locals WRITE setLocals NOTIFY inputsChanged)
    Q_PROPERTY(QVariant cloudProjects READ cloudProjects WRITE setCloudProjects NOTIFY inputsChanged)
    Q_PROPERTY(ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY inputsChanged)
    Q_PROPERTY(int localCount READ localCount NOTIFY inputsChanged)
    Q_PROPERTY(int cloudCount READ cloudCount NOTIFY inputsChanged)
    Q_PROPERTY(QVariantList policies READ policies CONSTANT)
    Q_PROPERTY(QString policy READ policy WRITE setPolicy NOTIFY policyChanged)
    Q_PROPERTY(QString explanation READ explanation NOTIFY policyChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY stateChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY stateChanged)

public:
    explicit LocalDataMigrationSheetModel(QObject *parent = nullptr);

    QVariant locals() const { return QVariant::fromValue(m_locals); }
    void setLocals(const QVariant &locals);
    QVariant cloudProjects() const { return QVariant::fromValue(m_cloudProjects); }
    void setCloudProjects(const QVariant &projects);
    ProjectsService *projectsService() const { return m_projectsService; }
    void setProjectsService(ProjectsService *service);
    int localCount() const { return int(m_locals.size()); }
    int cloudCount() const { return int(m_cloudProjects.size()); }
    QVariantList policies() const;
    QString policy() const;
    void setPolicy(const QString &raw);
    QString explanation() const;
    bool isRunning() const { return m_isRunning; }
    QString errorText() const { return m_errorText; }

    // Runs the policy, reloads the account's list and reports finished(); on failure keeps the error.
    Q_INVOKABLE void apply();

Q_SIGNALS:
    void inputsChanged();
    void policyChanged();
    void stateChanged();
    void finished();

private:
    static QCoro::Task<> run(QPointer<LocalDataMigrationSheetModel> self);

    QList<Project> m_locals;
    QList<Project> m_cloudProjects;
    QPointer<ProjectsService> m_projectsService;
    LocalCloudMigrationPolicy m_policy = LocalCloudMigrationPolicy::MergeAll;
    bool m_isRunning = false;
    QString m_errorText;
};
