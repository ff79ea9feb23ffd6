#include "GuestProjectFactory.h"

#include "Utils/IsoTimestamp.h"

#include <QUuid>

namespace GuestProjectFactory {

Project makeNew(const QString &name, const std::optional<QString> &clientName, const QString &currency,
                ProjectStatus status, const std::optional<EstimateTemplate> &estimateTemplate,
                ProjectItem::CategoryNormalizer normalizeCategory, const QDateTime &now)
{
    Project p;
    p.id = QStringLiteral("local-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString stamp = isoTimestamp(now);
    p.createdAt = stamp;
    p.updatedAt = stamp;
    if (estimateTemplate) {
        p.defaultRate = estimateTemplate->defaultRate;
        for (const EstimateTemplateItem &line : estimateTemplate->items)
            p.items.append(ProjectItem::fromTemplateItem(line, estimateTemplate->defaultRate, normalizeCategory));
        p.templateId = estimateTemplate->id;
    } else {
        p.defaultRate = 50.0;
    }
    p.name = name;
    p.clientName = clientName;
    p.currency = currency;
    p.status = status;
    p.userId = QStringLiteral("guest");
    p.projectType = QStringLiteral("one_time");
    p.version = 1;
    return p.recalculatedTotals();
}

} // namespace GuestProjectFactory
