#pragma once

#include "Models/Project.h"

#include <QString>

// Projects of any size with varied lines (four categories, hours, rates, some locked, some with
// a description), for screens, screenshots and benchmarks.
namespace SampleEstimates {

inline Project project(int lines, const QString &type = QStringLiteral("one_time"),
                       const QString &id = QStringLiteral("p-1"))
{
    static const QString categories[] = {QStringLiteral("backend"), QStringLiteral("frontend"),
                                         QStringLiteral("design"), QStringLiteral("qa")};
    static const QString titles[] = {QStringLiteral("API авторизации"), QStringLiteral("Каталог товаров"),
                                     QStringLiteral("Макеты экранов"), QStringLiteral("Регрессионные тесты"),
                                     QStringLiteral("Интеграция с оплатой")};
    Project project;
    project.id = id;
    project.name = QStringLiteral("Интернет-магазин");
    project.clientName = QStringLiteral("ООО «Ромашка»");
    project.currency = QStringLiteral("RUB");
    project.status = ProjectStatus::InProgress;
    project.defaultRate = 1500;
    project.userId = QStringLiteral("guest");
    project.createdAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    project.updatedAt = project.createdAt;
    project.projectType = type;
    for (int i = 0; i < lines; ++i) {
        ProjectItem item;
        item.title = QStringLiteral("%1 %2").arg(titles[i % 5]).arg(i + 1);
        item.category = categories[i % 4];
        item.hours = double((i * 7) % 23 + 1) / 2;
        item.rate = double(1000 + (i * 250) % 2500);
        item.isLocked = i % 6 == 2;
        if (i % 3 == 0)
            item.description = QStringLiteral("Эндпоинты, схемы данных и проверки доступа к ним");
        project.items.append(item);
    }
    return project.recalculatedTotals();
}

} // namespace SampleEstimates
