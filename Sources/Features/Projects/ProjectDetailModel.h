#pragma once

#include "API/ProjectsService.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <optional>

// One listed project of a ProjectsService for its detail: the overview as properties, the
// lines as rows. Follows the service's list; an identity that is not listed shows nothing.
class ProjectDetailModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(QString projectId READ projectId WRITE setProjectId NOTIFY projectIdChanged)
    Q_PROPERTY(bool found READ found NOTIFY projectChanged)
    Q_PROPERTY(QString name READ name NOTIFY projectChanged)
    Q_PROPERTY(QString clientName READ clientName NOTIFY projectChanged)
    Q_PROPERTY(QString costText READ costText NOTIFY projectChanged)

public:
    enum Role {
        TitleRole = Qt::UserRole + 1,
        HoursRole,
        // The line's money at the project's default rate when it has no rate of its own.
        CostTextRole,
    };

    explicit ProjectDetailModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_service; }
    void setProjectsService(ProjectsService *service);
    const QString &projectId() const { return m_projectId; }
    void setProjectId(const QString &id);

    bool found() const { return m_project.has_value(); }
    QString name() const;
    QString clientName() const;
    QString costText() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void projectsServiceChanged();
    void projectIdChanged();
    void projectChanged();

private:
    void sync();

    QPointer<ProjectsService> m_service;
    QString m_projectId;
    std::optional<Project> m_project;
};
