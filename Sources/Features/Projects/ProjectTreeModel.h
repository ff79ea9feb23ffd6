#pragma once

#include "Features/Projects/KeyedRowsModel.h"
#include "Features/Projects/ProjectTreeRow.h"

#include <QtQml/qqmlregistration.h>

// The visible rows of the account tree, filled by the list's view model.
class ProjectTreeModel : public KeyedRowsModel<ProjectTreeRow>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by ProjectsListViewModel")

public:
    enum Role {
        ProjectIdRole = Qt::UserRole + 1,
        RootIdRole,
        IsIterationRole,
        TitleRole,
        SubtitleRole,
        // The badge text, empty when the root has no iteration.
        CountTextRole,
        HasChildrenRole,
        IsExpandedRole,
        IsSelectedRole,
        IsHoveredRole,
        GroupHoldsSelectionRole,
        IsFirstInGroupRole,
        IsLastInGroupRole,
        OffersFinanceRole,
        DeleteTitleRole,
        // What a reader hears beside the title.
        SpokenDescriptionRole,
    };

    using KeyedRowsModel::KeyedRowsModel;


    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QString rowKey(const ProjectTreeRow &row) const override { return row.key; }
};
