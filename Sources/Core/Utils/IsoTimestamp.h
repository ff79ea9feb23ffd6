#pragma once

#include <QDateTime>
#include <QString>

// ISO-8601 internet date-time in UTC with milliseconds, e.g. "2024-03-05T09:07:01.042Z".
QString isoTimestamp(const QDateTime &moment);
