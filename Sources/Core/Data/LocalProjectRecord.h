#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One stored guest project: the project itself is opaque JSON; the store only knows its identity
// and when it last wrote it.
struct LocalProjectRecord
{
    QString id;
    QByteArray projectData;
    // The store's own write stamp (UTC, millisecond precision), not the project's updatedAt text.
    QDateTime updatedAt;
};
