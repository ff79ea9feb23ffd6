#pragma once

#include "CommercialProposalInput.h"

#include <QDate>
#include <QString>

class PDFCanvas;

// The sections of the proposal, drawn in this order on one canvas: header, summary card, estimate
// table, notes, footer. Each starts at the canvas's y and leaves y below what it drew.
namespace CommercialProposalRenderer {

void drawHeader(const CommercialProposalInput &input, const QDate &today, PDFCanvas &canvas);
void drawSummary(const CommercialProposalInput &input, PDFCanvas &canvas);
void drawEstimateTable(const CommercialProposalInput &input, PDFCanvas &canvas);
void drawNotes(const CommercialProposalInput &input, PDFCanvas &canvas);
void drawFooter(PDFCanvas &canvas);

// Whole hours without decimals ("40"), others with one as printf's "%.1f" ("12.5", 7.25 -> "7.2").
QString formatHours(double hours);

// "1 мая 2024 г.": the long Russian date without the weekday.
QString formatRussianDate(const QDate &date);

// The total hours in 8-hour days, rounded up, at least 1, as a whole-number text.
QString workingDays(double totalHours);

} // namespace CommercialProposalRenderer
