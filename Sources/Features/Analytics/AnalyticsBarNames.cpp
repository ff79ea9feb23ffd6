#include "AnalyticsBarNames.h"

#include "Utils/Text.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace {

const QChar ellipsis(0x2026);

// The name on one line: line breaks and runs of blanks become one blank.
QString oneLine(const QString &name)
{
    return name.simplified();
}

// The name cut where a line may break: each piece with the blanks after it.
QStringList pieces(const QString &text)
{
    QStringList found;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype from = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        found.append(text.mid(from, at - from));
        from = at;
    }
    if (from < text.size())
        found.append(text.mid(from));
    return found;
}

QString joined(const QStringList &line)
{
    return line.join(QString()).trimmed();
}

bool fitsIn(const QFontMetricsF &metrics, const QString &text, qreal width)
{
    return metrics.horizontalAdvance(text) <= width;
}

// The text with "…" after it, cut by characters from its end until both fit the width; at least
// its first character stays.
QString endedWithEllipsis(const QFontMetricsF &metrics, const QString &text, qreal width)
{
    qsizetype count = Text::graphemeCount(text);
    QString kept = text;
    while (count > 1 && !fitsIn(metrics, kept + ellipsis, width))
        kept = Text::leadingGraphemes(text, --count);
    return kept.trimmed() + ellipsis;
}

} // namespace

AnalyticsBarNames::AnalyticsBarNames(QObject *parent)
    : QObject(parent)
{
    connect(this, &AnalyticsBarNames::inputChanged, this, &AnalyticsBarNames::relayout);
}

void AnalyticsBarNames::setNames(const QStringList &names)
{
    if (m_names == names)
        return;
    m_names = names;
    Q_EMIT inputChanged();
}

void AnalyticsBarNames::setFont(const QFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    Q_EMIT inputChanged();
}

void AnalyticsBarNames::setWidth(qreal width)
{
    if (!std::isfinite(width))
        width = 0;
    if (m_width == width)
        return;
    m_width = width;
    Q_EMIT inputChanged();
}

void AnalyticsBarNames::setMaximumLineCount(int count)
{
    count = std::max(1, count);
    if (m_maximumLineCount == count)
        return;
    m_maximumLineCount = count;
    Q_EMIT inputChanged();
}

void AnalyticsBarNames::relayout()
{
    const QFontMetricsF metrics(m_font);
    QStringList texts;
    bool fits = m_width > 0;
    for (const QString &name : std::as_const(m_names)) {
        texts.append(lines(name, metrics, m_width, m_maximumLineCount).join(QLatin1Char('\n')));
        fits = fits && wordsFit(name, metrics, m_width);
    }
    if (texts == m_texts && fits == m_fits)
        return;
    m_texts = texts;
    m_fits = fits;
    Q_EMIT textsChanged();
}

QStringList AnalyticsBarNames::lines(const QString &name, const QFontMetricsF &metrics, qreal width,
                                     int maximumLineCount)
{
    const QString text = oneLine(name);
    if (!(width > 0) || text.isEmpty())
        return {text};
    // Each line as its pieces, filled one piece at a time; a piece too wide stands alone, cut.
    QList<QStringList> filled;
    QStringList line;
    bool more = false;
    for (const QString &piece : pieces(text)) {
        if (filled.size() == maximumLineCount) {
            more = true;
            break;
        }
        QStringList longer = line;
        longer.append(piece);
        if (fitsIn(metrics, joined(longer), width)) {
            line = longer;
            continue;
        }
        if (!line.isEmpty())
            filled.append(line);
        line = {piece};
        if (!fitsIn(metrics, piece.trimmed(), width)) {
            if (filled.size() == maximumLineCount) {
                more = true;
                break;
            }
            filled.append({endedWithEllipsis(metrics, piece.trimmed(), width)});
            line.clear();
        }
    }
    if (!line.isEmpty()) {
        if (filled.size() == maximumLineCount)
            more = true;
        else
            filled.append(line);
    }

    QStringList result;
    for (const QStringList &pieces : std::as_const(filled))
        result.append(joined(pieces));
    // Words left over: the last line ends in "…", after as many of its words as leave room for it.
    if (more && !result.isEmpty() && !result.last().endsWith(ellipsis)) {
        QStringList last = filled.last();
        while (last.size() > 1 && !fitsIn(metrics, joined(last) + ellipsis, width))
            last.removeLast();
        result.last() = endedWithEllipsis(metrics, joined(last), width);
    }
    return result;
}

bool AnalyticsBarNames::wordsFit(const QString &name, const QFontMetricsF &metrics, qreal width)
{
    const QStringList found = pieces(oneLine(name));
    return std::all_of(found.cbegin(), found.cend(),
                       [&](const QString &piece) { return fitsIn(metrics, piece.trimmed(), width); });
}
