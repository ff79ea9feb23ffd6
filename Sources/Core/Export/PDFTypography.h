#pragma once

#include "PDFText.h"

#include <QFont>

// The proposal's type: one bundled family (Roboto, embedded into the PDF) in four weights, with
// the fonts of other scripts and emoji behind it.
namespace PDFTypography {

// The family name of the bundled font; loads it from the resources on first use. Call it once on
// the GUI thread before rendering on another.
QString family();

QFont font(qreal pointSize, FontWeight weight);

PDFText make(const QString &text, qreal size, FontWeight weight, const QColor &color,
             Qt::Alignment alignment = Qt::AlignLeft);

// The estimate table's work cell: the category upper-cased, the title as given and, when it is not
// blank, the trimmed description, one per line.
PDFText taskCell(const QString &title, const QString &description, const QString &category);

} // namespace PDFTypography
