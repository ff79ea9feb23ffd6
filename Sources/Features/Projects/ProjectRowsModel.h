#pragma once

#include "API/ProjectsService.h"
#include "Features/Projects/KeyedRowsModel.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The projects of a ProjectsService as rows for the screens' lists, in the service's order.
// A change of the service's list reaches the view as the rows that changed, were inserted,
// removed or moved; the model resets only when the list is replaced by one with no project
// in common.
class ProjectRowsModel : public KeyedRowsModel<Project>
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        ProjectsService *projectsService READ projectsService WRITE setProjectsService NOTIFY projectsServiceChanged)

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

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void load(bool includeIterations);

Q_SIGNALS:
    void projectsServiceChanged();

protected:
    QString rowKey(const Project &row) const override { return row.id; }

private:
    void sync();

    QPointer<ProjectsService> m_service;
};
