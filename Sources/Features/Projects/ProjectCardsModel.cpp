#include "Features/Projects/ProjectCardsModel.h"

#include "Features/Projects/ProjectsListRules.h"

QVariant ProjectCardsModel::data(const QModelIndex &index, int role) const
{
    const ProjectCardRow *row = rowAt(index);
    if (!row)
        return {};
    switch (role) {
    case ProjectIdRole:
        return row->projectId;
    case NameRole:
        return row->name;
    case ClientNameRole:
        return row->clientName;
    case StatusRole:
        return row->status;
    case HoursTextRole:
        return row->hoursText;
    case CostTextRole:
        return row->costText;
    case StorageNoteRole:
        return row->storageNote;
    case IsSelectedRole:
        return row->isSelected;
    case SpokenDescriptionRole:
        return ProjectsListRules::cardSpokenDescription(
            {row->clientName, row->storageNote, row->hoursText, row->costText});
    }
    return {};
}

QHash<int, QByteArray> ProjectCardsModel::roleNames() const
{
    return {{ProjectIdRole, "projectId"},
            {NameRole, "name"},
            {ClientNameRole, "clientName"},
            {StatusRole, "status"},
            {HoursTextRole, "hoursText"},
            {CostTextRole, "costText"},
            {StorageNoteRole, "storageNote"},
            {IsSelectedRole, "isSelected"},
            {SpokenDescriptionRole, "spokenDescription"}};
}
