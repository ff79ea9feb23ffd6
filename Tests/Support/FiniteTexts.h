#pragma once

#include <QString>

// A shown or printed figure is finite: no infinity sign, "inf", "nan" or ICU's "не число".
inline bool showsOnlyFiniteFigures(const QString &text)
{
    return !text.contains(QChar(0x221E)) && !text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("nan"), Qt::CaseInsensitive) && !text.contains(QStringLiteral("не число"));
}
