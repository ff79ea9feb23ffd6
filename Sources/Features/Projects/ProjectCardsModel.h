#pragma once

#include "Features/Projects/KeyedRowsModel.h"
#include "Features/Projects/ProjectCardRow.h"

#include <QtQml/qqmlregistration.h>

// The guest cards, filled by the list's view model.
class ProjectCardsModel : public KeyedRowsModel<ProjectCardRow>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by ProjectsListViewModel")

public:
    enum Role {
        ProjectIdRole = Qt::UserRole + 1,
        NameRole,
        ClientNameRole,
        StatusRole,
        HoursTextRole,
        CostTextRole,
        StorageNoteRole,
        IsSelectedRole,
        // What a reader hears beside the name.
        SpokenDescriptionRole,
    };

    using KeyedRowsModel::KeyedRowsModel;


    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QString rowKey(const ProjectCardRow &row) const override { return row.projectId; }
};
