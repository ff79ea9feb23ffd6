#include "LocalCloudMigrationResult.h"

QString LocalCloudMigrationResult::message(qsizetype attempted) const
{
    if (isComplete())
        return {};
    QString text = QStringLiteral("Не удалось перенести проектов: %1 из %2. Они остались на устройстве.")
                       .arg(notMoved.size())
                       .arg(attempted);
    if (lastFailure && !lastFailure->isEmpty())
        text += QLatin1Char(' ') + *lastFailure;
    return text;
}
