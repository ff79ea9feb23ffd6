#pragma once

#include "API/ProjectsService.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The projects of a ProjectsService as rows for the screens' lists, in the service's order.
// A change of the service's list reaches the view as the rows that changed, were inserted,
// removed or moved; the model resets only when the list is replaced by one with no project
// in common.
class ProjectRowsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        ProjectIdRole = Qt::UserRole + 1,
        NameRole,
        // An iteration's label, " · " and its name; a root's name.
        TitleRole,
        ClientNameRole,
        CurrencyRole,
        IsIterationRole,
        TotalCostRole,
        TotalHoursRole,
        CostTextRole,
        StatusRole,
    };

    explicit ProjectRowsModel(QObject *parent = nullptr);

    ProjectsService *projectsService() const { return m_service; }
    void setProjectsService(ProjectsService *service);
    int count() const { return rowCount(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void load(bool includeIterations);

Q_SIGNALS:
    void projectsServiceChanged();
    void countChanged();

private:
    void sync();
    void resetTo(const QList<Project> &projects);
    // Brings m_rows to next row by row; false (nothing changed) when next repeats an identity.
    bool applyDiff(const QList<Project> &next);

    QPointer<ProjectsService> m_service;
    QList<Project> m_rows;
};
