#pragma once

#include "Models/EditableEstimateItem.h"

#include <QList>
#include <QString>

// What the estimate editor hands to the proposal export. The totals are the producer's (lines with
// negative hours or rates count as zero there) and are printed as given, never recomputed.
struct CommercialProposalInput
{
    QString clientName; // empty: "Не указан"
    QString projectName; // empty: "Проект"; also names the PDF file
    QString currency;
    QList<EditableEstimateItem> items; // in the editor's order, unsaved edits included
    double totalHours = 0;
    double totalCost = 0;
};
