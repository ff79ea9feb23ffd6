#include "Features/Projects/ProjectRowsModel.h"

#include "Utils/MoneyFormat.h"
#include "Projects/ProjectRoot.h"


ProjectRowsModel::ProjectRowsModel(QObject *parent)
    : KeyedRowsModel<Project>(parent)
{
}

void ProjectRowsModel::setProjectsService(ProjectsService *service)
{
    if (m_service == service)
        return;
    if (m_service)
        disconnect(m_service, nullptr, this, nullptr);
    m_service = service;
    if (m_service)
        connect(m_service, &ProjectsService::projectsChanged, this, &ProjectRowsModel::sync);
    // Another service is another list, even where identities repeat.
    if (reset(m_service ? m_service->projects() : QList<Project>()))
        Q_EMIT countChanged();
    Q_EMIT projectsServiceChanged();
}

void ProjectRowsModel::sync()
{
    setRows(m_service ? m_service->projects() : QList<Project>());
}

QVariant ProjectRowsModel::data(const QModelIndex &index, int role) const
{
    const Project *row = rowAt(index);
    if (!row)
        return {};
    const Project &project = *row;
    switch (role) {
    case ProjectIdRole:
        return project.id;
    case NameRole:
        return project.name;
    case TitleRole:
        return project.isIteration() ? ProjectRoot::iterationLabel(project) + QStringLiteral(" · ") + project.name
                                     : project.name;
    case ClientNameRole:
        return project.clientName.value_or(QString());
    case CurrencyRole:
        return project.currency;
    case IsIterationRole:
        return project.isIteration();
    case TotalCostRole:
        return project.totalCost;
    case TotalHoursRole:
        return project.totalHours;
    case CostTextRole:
        return MoneyFormat::format(project.totalCost, project.currency);
    case StatusRole:
        return rawValue(project.status);
    }
    return {};
}

QHash<int, QByteArray> ProjectRowsModel::roleNames() const
{
    return {{ProjectIdRole, "projectId"}, {NameRole, "name"},
            {TitleRole, "title"},         {ClientNameRole, "clientName"},
            {CurrencyRole, "currency"},   {IsIterationRole, "isIteration"},
            {TotalCostRole, "totalCost"}, {TotalHoursRole, "totalHours"},
            {CostTextRole, "costText"},   {StatusRole, "status"}};
}

void ProjectRowsModel::load(bool includeIterations)
{
    if (m_service)
        m_service->load(includeIterations);
}
