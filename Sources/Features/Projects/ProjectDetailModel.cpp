#include "Features/Projects/ProjectDetailModel.h"

#include "Utils/LineCost.h"
#include "Utils/MoneyFormat.h"

ProjectDetailModel::ProjectDetailModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void ProjectDetailModel::setProjectsService(ProjectsService *service)
{
    if (m_service == service)
        return;
    if (m_service)
        disconnect(m_service, nullptr, this, nullptr);
    m_service = service;
    if (m_service)
        connect(m_service, &ProjectsService::projectsChanged, this, &ProjectDetailModel::sync);
    sync();
    Q_EMIT projectsServiceChanged();
}

void ProjectDetailModel::setProjectId(const QString &id)
{
    if (m_projectId == id)
        return;
    m_projectId = id;
    sync();
    Q_EMIT projectIdChanged();
}

void ProjectDetailModel::sync()
{
    std::optional<Project> listed;
    if (m_service) {
        for (const Project &project : m_service->projects()) {
            if (project.id == m_projectId) {
                listed = project;
                break;
            }
        }
    }
    // A guest's list holds projects without their lines; the lines come from the store.
    if (listed && m_service->localRepository()) {
        try {
            if (std::optional<Project> stored = m_service->localRepository()->fetch(m_projectId))
                listed = std::move(stored);
        } catch (const std::exception &) {
            // The listed overview stays; a record that cannot be read has no lines to show.
        }
    }
    if (listed == m_project)
        return;
    beginResetModel();
    m_project = std::move(listed);
    endResetModel();
    Q_EMIT projectChanged();
}

QString ProjectDetailModel::name() const
{
    return m_project ? m_project->name : QString();
}

QString ProjectDetailModel::clientName() const
{
    return m_project ? m_project->clientName.value_or(QString()) : QString();
}

QString ProjectDetailModel::costText() const
{
    return m_project ? MoneyFormat::format(m_project->totalCost, m_project->currency) : QString();
}

int ProjectDetailModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_project ? 0 : int(m_project->items.size());
}

QVariant ProjectDetailModel::data(const QModelIndex &index, int role) const
{
    if (!m_project || !index.isValid() || index.row() >= m_project->items.size())
        return {};
    const ProjectItem &item = m_project->items.at(index.row());
    switch (role) {
    case TitleRole:
        return item.title;
    case HoursRole:
        return item.hours;
    case CostTextRole:
        return MoneyFormat::format(LineCost::withFallback(item.hours, item.rate, m_project->defaultRate.value_or(0.0)),
                                   m_project->currency);
    }
    return {};
}

QHash<int, QByteArray> ProjectDetailModel::roleNames() const
{
    return {{TitleRole, "title"}, {HoursRole, "hours"}, {CostTextRole, "costText"}};
}
