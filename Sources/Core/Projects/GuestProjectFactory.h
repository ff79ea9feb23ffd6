#pragma once

#include "Models/EstimateTemplate.h"
#include "Models/Project.h"

#include <QDateTime>
#include <QString>
#include <optional>

// New device projects for a guest, who has no backend to issue identities and stamps.
namespace GuestProjectFactory {

// Identity "local-" + upper-case UUID, owner "guest", type "one_time", version 1, equal creation
// and update stamps; the template's default rate and lines, or rate 50 and no lines. The
// template's categories go through normalizeCategory.
Project makeNew(const QString &name, const std::optional<QString> &clientName, const QString &currency,
                ProjectStatus status, const std::optional<EstimateTemplate> &estimateTemplate,
                ProjectItem::CategoryNormalizer normalizeCategory,
                const QDateTime &now = QDateTime::currentDateTimeUtc());

} // namespace GuestProjectFactory
