#pragma once

#include "Models/EditableEstimateItem.h"

#include <QList>
#include <QString>
#include <optional>

// One displayed section of the editor's lines: a category, or the single sorted list ("all").
struct EstimateSection
{
    QString id;
    QString title;
    std::optional<QString> subtitle;
    QList<EditableEstimateItem> items;

    bool operator==(const EstimateSection &other) const = default;
};
