#pragma once

#include "Data/EstimateCatalogLoader.h"
#include "Models/Project.h"
#include "Projects/GuestProjectFactory.h"

// A device project as a guest makes it, with lines that look like real ones.
inline Project benchProjectWithLines(int index, int lines)
{
    Project p = GuestProjectFactory::makeNew(
        QStringLiteral("Проект %1").arg(index), QStringLiteral("Клиент %1").arg(index % 17), QStringLiteral("RUB"),
        ProjectStatus::Draft, std::nullopt, EstimateCatalogLoader::normalizeCategory);
    for (int i = 0; i < lines; ++i) {
        ProjectItem item;
        item.title = QStringLiteral("Работа номер %1").arg(i);
        item.description = QStringLiteral("Описание работы, чтобы строка была похожа на настоящую");
        item.category = QStringLiteral("backend");
        item.hours = 1.5 + i % 9;
        item.rate = i % 4 == 0 ? 0 : 1500;
        item.isLocked = i % 2 == 0;
        p.items.append(item);
    }
    return p;
}
