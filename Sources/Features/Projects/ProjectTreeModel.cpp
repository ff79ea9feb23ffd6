#include "Features/Projects/ProjectTreeModel.h"

#include "Features/Projects/ProjectsListRules.h"

QVariant ProjectTreeModel::data(const QModelIndex &index, int role) const
{
    const ProjectTreeRow *row = rowAt(index);
    if (!row)
        return {};
    switch (role) {
    case ProjectIdRole:
        return row->projectId;
    case RootIdRole:
        return row->rootId;
    case IsIterationRole:
        return row->isIteration;
    case TitleRole:
        return row->title;
    case SubtitleRole:
        return row->subtitle;
    case CountTextRole:
        return row->iterationCount > 0 ? QString::number(row->iterationCount) : QString();
    case HasChildrenRole:
        return row->hasChildren;
    case IsExpandedRole:
        return row->isExpanded;
    case IsSelectedRole:
        return row->isSelected;
    case IsHoveredRole:
        return row->isHovered;
    case GroupHoldsSelectionRole:
        return row->groupHoldsSelection;
    case IsFirstInGroupRole:
        return row->isFirstInGroup;
    case IsLastInGroupRole:
        return row->isLastInGroup;
    case OffersFinanceRole:
        return row->offersFinance;
    case DeleteTitleRole:
        return row->deleteTitle;
    case SpokenDescriptionRole:
        return ProjectsListRules::treeRowSpokenDescription(row->subtitle, row->iterationCount, row->isIteration);
    }
    return {};
}

QHash<int, QByteArray> ProjectTreeModel::roleNames() const
{
    return {{ProjectIdRole, "projectId"},
            {RootIdRole, "rootId"},
            {IsIterationRole, "isIteration"},
            {TitleRole, "title"},
            {SubtitleRole, "subtitle"},
            {CountTextRole, "countText"},
            {HasChildrenRole, "hasChildren"},
            {IsExpandedRole, "isExpanded"},
            {IsSelectedRole, "isSelected"},
            {IsHoveredRole, "isHovered"},
            {GroupHoldsSelectionRole, "groupHoldsSelection"},
            {IsFirstInGroupRole, "isFirstInGroup"},
            {IsLastInGroupRole, "isLastInGroup"},
            {OffersFinanceRole, "offersFinance"},
            {DeleteTitleRole, "deleteTitle"},
            {SpokenDescriptionRole, "spokenDescription"}};
}
