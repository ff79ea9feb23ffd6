#pragma once

#include "Models/Project.h"

#include <QList>
#include <QString>
#include <QStringList>

// Small projects for the store and service tests.
namespace ProjectSamples {

inline Project make(const QString &id, const QString &name, int lines = 0)
{
    Project p;
    p.id = id;
    p.name = name;
    p.currency = QStringLiteral("RUB");
    p.status = ProjectStatus::Draft;
    p.defaultRate = 50;
    p.userId = QStringLiteral("guest");
    p.createdAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    p.updatedAt = p.createdAt;
    p.projectType = QStringLiteral("one_time");
    p.version = 1;
    for (int i = 0; i < lines; ++i) {
        ProjectItem item;
        item.title = QStringLiteral("Строка %1").arg(i);
        item.category = QStringLiteral("backend");
        item.hours = 1 + i % 7;
        item.rate = i % 3 == 0 ? 0 : 1000 + i;
        item.isLocked = i % 2 == 0;
        p.items.append(item);
    }
    return p.recalculatedTotals();
}

inline QStringList ids(const QList<Project> &projects)
{
    QStringList out;
    for (const Project &p : projects)
        out.append(p.id);
    return out;
}

inline QStringList names(const QList<Project> &projects)
{
    QStringList out;
    for (const Project &p : projects)
        out.append(p.name);
    return out;
}

} // namespace ProjectSamples
