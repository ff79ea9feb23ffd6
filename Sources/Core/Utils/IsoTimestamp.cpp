#include "IsoTimestamp.h"

QString isoTimestamp(const QDateTime &moment)
{
    return moment.toUTC().toString(Qt::ISODateWithMs);
}
