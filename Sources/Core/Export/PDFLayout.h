#pragma once

#include <QColor>

// The proposal's page in PDF points (1/72 inch) and its palette.
namespace PDFLayout {

inline constexpr qreal pageWidth = 595;
inline constexpr qreal pageHeight = 842;
inline constexpr qreal margin = 48;
inline constexpr qreal contentWidth = pageWidth - 2 * margin; // 499
inline constexpr qreal left = margin; // 48
inline constexpr qreal right = pageWidth - margin; // 547
inline constexpr qreal bottomLimit = pageHeight - margin; // 794
inline constexpr qreal usableHeight = bottomLimit - margin; // 746

inline QColor ink()
{
    return QColor(15, 23, 42);
}
inline QColor heading()
{
    return QColor(30, 27, 75);
}
inline QColor muted()
{
    return QColor(100, 116, 139);
}
inline QColor border()
{
    return QColor(226, 232, 240);
}
inline QColor surface()
{
    return QColor(248, 250, 252);
}
inline QColor tableHead()
{
    return QColor(241, 245, 249);
}
inline QColor accent()
{
    return QColor(67, 56, 202);
}
inline QColor totalBg()
{
    return QColor(15, 23, 42);
}
inline QColor white()
{
    return QColor(255, 255, 255);
}

} // namespace PDFLayout
