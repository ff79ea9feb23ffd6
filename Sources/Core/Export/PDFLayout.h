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

inline const QColor ink{15, 23, 42};
inline const QColor heading{30, 27, 75};
inline const QColor muted{100, 116, 139};
inline const QColor border{226, 232, 240};
inline const QColor surface{248, 250, 252};
inline const QColor tableHead{241, 245, 249};
inline const QColor accent{67, 56, 202};
inline const QColor totalBg{15, 23, 42};
inline const QColor white{255, 255, 255};

} // namespace PDFLayout
