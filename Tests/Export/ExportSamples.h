#pragma once

#include "Export/CommercialProposalInput.h"

// A proposal of `lines` lines of 10 h at 1,000 each.
inline CommercialProposalInput sampleProposal(int lines, const QString &projectName = QStringLiteral("Сайт студии"))
{
    static const QString categories[] = {QStringLiteral("sw_design"), QStringLiteral("sw_frontend"),
                                         QStringLiteral("sw_backend"), QStringLiteral("sw_qa")};
    CommercialProposalInput input;
    input.clientName = QStringLiteral("ООО «Ромашка»");
    input.projectName = projectName;
    input.currency = QStringLiteral("RUB");
    for (int i = 0; i < lines; ++i) {
        EditableEstimateItem item;
        item.title = QStringLiteral("Работа %1").arg(i + 1);
        item.description = i % 2 ? QStringLiteral("Вёрстка, интеграция с API и проверка на всех экранах") : QString();
        item.category = categories[i % 4];
        item.hours = 10;
        item.rate = 1000;
        input.items.append(item);
    }
    input.totalHours = 10.0 * lines;
    input.totalCost = 10000.0 * lines;
    return input;
}
