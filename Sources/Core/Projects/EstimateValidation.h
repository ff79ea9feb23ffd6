#pragma once

#include "Models/EditableEstimateItem.h"

#include <QList>
#include <QString>
#include <optional>

namespace EstimateValidation {

// The first message that stops a save, or nothing when the estimate may be saved. Checks the
// name, then each line in order: its title before its numbers.
std::optional<QString> validate(const QList<EditableEstimateItem> &items, const QString &name);

// The line whose problem validate() reports, or nothing when it reports none or the name's.
std::optional<qsizetype> invalidLine(const QList<EditableEstimateItem> &items, const QString &name);

} // namespace EstimateValidation
