#include "Features/Projects/ProjectRowsModel.h"

#include "Utils/MoneyFormat.h"
#include "Utils/ProjectRoot.h"

namespace {
bool isIteration(const Project &project)
{
    return project.parentProjectId && *project.parentProjectId != project.id;
}
}

ProjectRowsModel::ProjectRowsModel(QObject *parent)
    : QAbstractListModel(parent)
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
        connect(m_service, &ProjectsService::projectsChanged, this, &ProjectRowsModel::reset);
    reset();
    Q_EMIT projectsServiceChanged();
}

void ProjectRowsModel::reset()
{
    beginResetModel();
    m_rows = m_service ? m_service->projects() : QList<Project>();
    endResetModel();
    Q_EMIT countChanged();
}

int ProjectRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ProjectRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Project &project = m_rows.at(index.row());
    switch (role) {
    case ProjectIdRole: return project.id;
    case NameRole: return project.name;
    case TitleRole:
        return isIteration(project) ? ProjectRoot::iterationLabel(project) + QStringLiteral(" · ") + project.name
                                    : project.name;
    case ClientNameRole: return project.clientName.value_or(QString());
    case CurrencyRole: return project.currency;
    case IsIterationRole: return isIteration(project);
    case TotalCostRole: return project.totalCost;
    case TotalHoursRole: return project.totalHours;
    case CostTextRole: return MoneyFormat::format(project.totalCost, project.currency);
    case StatusRole: return rawValue(project.status);
    }
    return {};
}

QHash<int, QByteArray> ProjectRowsModel::roleNames() const
{
    return {{ProjectIdRole, "projectId"},     {NameRole, "name"},         {TitleRole, "title"},
            {ClientNameRole, "clientName"},   {CurrencyRole, "currency"}, {IsIterationRole, "isIteration"},
            {TotalCostRole, "totalCost"},     {TotalHoursRole, "totalHours"}, {CostTextRole, "costText"},
            {StatusRole, "status"}};
}

void ProjectRowsModel::load(bool includeIterations)
{
    if (m_service)
        m_service->load(includeIterations);
}

QVariantMap ProjectRowsModel::project(const QString &id) const
{
    for (const Project &project : m_rows) {
        if (project.id != id)
            continue;
        QVariantList items;
        for (const ProjectItem &item : project.items) {
            items.append(QVariantMap{{QStringLiteral("title"), item.title},
                                     {QStringLiteral("hours"), item.hours},
                                     {QStringLiteral("cost"), MoneyFormat::format(item.hours * item.rate, project.currency)}});
        }
        return {{QStringLiteral("id"), project.id},
                {QStringLiteral("name"), project.name},
                {QStringLiteral("clientName"), project.clientName.value_or(QString())},
                {QStringLiteral("currency"), project.currency},
                {QStringLiteral("costText"), MoneyFormat::format(project.totalCost, project.currency)},
                {QStringLiteral("items"), items}};
    }
    return {};
}
