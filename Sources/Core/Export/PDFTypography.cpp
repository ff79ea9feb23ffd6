#include "PDFTypography.h"

#include "PDFLayout.h"

#include <QFontDatabase>
#include <QHash>
#include <QPair>
#include <QStringList>

namespace PDFTypography {

namespace {

QString loadFamily()
{
    QString loaded;
    const QStringList files = {QStringLiteral(":/tessmark/export/fonts/Roboto-Regular.ttf"),
                               QStringLiteral(":/tessmark/export/fonts/Roboto-Medium.ttf"),
                               QStringLiteral(":/tessmark/export/fonts/Roboto-Bold.ttf")};
    for (const QString &file : files) {
        const int id = QFontDatabase::addApplicationFont(file);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            loaded = families.first();
    }
    return loaded.isEmpty() ? QStringLiteral("Roboto") : loaded;
}

QFont::Weight qtWeight(FontWeight weight)
{
    switch (weight) {
    case FontWeight::Regular:
        return QFont::Normal;
    case FontWeight::Medium:
        return QFont::Medium;
    case FontWeight::Semibold:
    case FontWeight::Bold:
        return QFont::Bold;
    }
    return QFont::Normal;
}

} // namespace

QString family()
{
    static const QString name = loadFamily();
    return name;
}

QFont font(qreal pointSize, FontWeight weight)
{
    // A handful of sizes and weights make the whole document; resolving each anew is costly. One
    // cache per thread, as documents are rendered on worker threads.
    thread_local QHash<QPair<qreal, int>, QFont> cache;
    const QPair<qreal, int> key(pointSize, int(weight));
    const auto cached = cache.constFind(key);
    if (cached != cache.cend())
        return *cached;
    QFont result(family());
    // Text the bundled font lacks (Arabic, Hebrew, emoji, ...) comes from the fonts the window
    // falls back to as well, and is embedded with the document: first outline fonts known to
    // cover those scripts, then whatever the system offers.
    result.setFamilies({family(), QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Sans Hebrew"),
                        QStringLiteral("DejaVu Sans"), QStringLiteral("Symbola")});
    result.setPointSizeF(pointSize);
    result.setWeight(qtWeight(weight));
    result.setKerning(true);
    cache.insert(key, result);
    return result;
}

PDFText make(const QString &text, qreal size, FontWeight weight, const QColor &color, Qt::Alignment alignment)
{
    PDFText result;
    result.runs.append(PDFText::Run{text, size, weight, color});
    result.alignment = alignment;
    return result;
}

PDFText taskCell(const QString &title, const QString &description, const QString &category)
{
    PDFText cell;
    cell.runs.append(PDFText::Run{category.toUpper(), 8, FontWeight::Semibold, PDFLayout::muted});
    cell.runs.append(PDFText::Run{QStringLiteral("\n") + title, 10.5, FontWeight::Semibold, PDFLayout::ink});
    const QString trimmed = description.trimmed();
    if (!trimmed.isEmpty())
        cell.runs.append(PDFText::Run{QStringLiteral("\n") + trimmed, 9, FontWeight::Regular, PDFLayout::muted});
    return cell;
}

} // namespace PDFTypography
