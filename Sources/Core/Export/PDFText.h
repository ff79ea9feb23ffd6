#pragma once

#include "FontWeight.h"

#include <QColor>
#include <QList>
#include <QString>

// A plain text in one or more styled runs, as the proposal's canvas lays it out. A "\n" inside a
// run starts a new paragraph.
struct PDFText
{
    struct Run
    {
        QString text;
        qreal size = 10;
        FontWeight weight = FontWeight::Regular;
        QColor color;
    };

    QList<Run> runs;
    Qt::Alignment alignment = Qt::AlignLeft;
    // False for figures: they stay on one line and, when wider than their rectangle, grow out of
    // it away from their alignment (a right-aligned amount grows to the left).
    bool wrap = true;
};
