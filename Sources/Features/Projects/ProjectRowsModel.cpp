#include "Features/Projects/ProjectRowsModel.h"

#include "Utils/MoneyFormat.h"
#include "Utils/ProjectRoot.h"

#include <QHash>
#include <QSet>

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
        connect(m_service, &ProjectsService::projectsChanged, this, &ProjectRowsModel::sync);
    const qsizetype before = m_rows.size();
    resetTo(m_service ? m_service->projects() : QList<Project>());
    if (m_rows.size() != before)
        Q_EMIT countChanged();
    Q_EMIT projectsServiceChanged();
}

void ProjectRowsModel::sync()
{
    const QList<Project> next = m_service ? m_service->projects() : QList<Project>();
    const qsizetype before = m_rows.size();
    if (!applyDiff(next))
        resetTo(next);
    if (m_rows.size() != before)
        Q_EMIT countChanged();
}

void ProjectRowsModel::resetTo(const QList<Project> &projects)
{
    beginResetModel();
    m_rows = projects;
    endResetModel();
}

bool ProjectRowsModel::applyDiff(const QList<Project> &next)
{
    QHash<QString, qsizetype> nextIds; // identity -> position in next
    nextIds.reserve(next.size());
    for (qsizetype i = 0; i < next.size(); ++i)
        nextIds.insert(next.at(i).id, i);
    if (nextIds.size() != next.size())
        return false;
    QSet<QString> listedIds;
    listedIds.reserve(m_rows.size());
    bool shared = false;
    for (const Project &row : std::as_const(m_rows)) {
        listedIds.insert(row.id);
        shared = shared || nextIds.contains(row.id);
    }
    // Repeated identities only come from a reset, and a list with nothing in common is a new list.
    if (listedIds.size() != m_rows.size() || (!shared && !m_rows.isEmpty() && !next.isEmpty()))
        return false;

    // Rows that went, in runs from the end so that earlier indices stay valid.
    for (qsizetype last = m_rows.size() - 1; last >= 0;) {
        if (nextIds.contains(m_rows.at(last).id)) {
            --last;
            continue;
        }
        qsizetype first = last;
        while (first > 0 && !nextIds.contains(m_rows.at(first - 1).id))
            --first;
        beginRemoveRows({}, int(first), int(last));
        for (qsizetype i = first; i <= last; ++i)
            listedIds.remove(m_rows.at(i).id);
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        last = first - 1;
    }

    // Then position by position: keep, move up, or insert a run of new rows.
    for (qsizetype i = 0; i < next.size();) {
        const Project &wanted = next.at(i);
        if (!listedIds.contains(wanted.id)) {
            qsizetype end = i + 1;
            while (end < next.size() && !listedIds.contains(next.at(end).id))
                ++end;
            beginInsertRows({}, int(i), int(end - 1));
            for (qsizetype k = i; k < end; ++k) {
                m_rows.insert(k, next.at(k));
                listedIds.insert(next.at(k).id);
            }
            endInsertRows();
            i = end;
            continue;
        }
        if (m_rows.at(i).id != wanted.id) {
            qsizetype from = i + 1;
            while (m_rows.at(from).id != wanted.id)
                ++from;
            if (from == i + 1) {
                // The row in the way went down (one move) rather than all below it up.
                const qsizetype to = qMin(nextIds.value(m_rows.at(i).id), m_rows.size() - 1);
                beginMoveRows({}, int(i), int(i), {}, int(to + 1));
                m_rows.move(i, to);
            } else {
                beginMoveRows({}, int(from), int(from), {}, int(i));
                m_rows.move(from, i);
            }
            endMoveRows();
        }
        if (!(m_rows.at(i) == wanted)) {
            m_rows[i] = wanted;
            const QModelIndex changed = index(int(i));
            Q_EMIT dataChanged(changed, changed);
        }
        ++i;
    }
    return true;
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
