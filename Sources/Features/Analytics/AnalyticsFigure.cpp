#include "AnalyticsFigure.h"

#include <QStringList>

namespace {

const QString separator = QStringLiteral(", ");

// A text of one line per currency, read as a list.
QString spoken(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(separator);
}

} // namespace

bool AnalyticsFigure::showsSubtitle() const
{
    return !subtitle.isEmpty() && subtitle != QStringLiteral("—");
}

QString AnalyticsFigure::spokenValue() const
{
    const QString said = spoken(value);
    if (!showsSubtitle())
        return said;
    return said.isEmpty() ? spoken(subtitle) : said + separator + spoken(subtitle);
}

QString AnalyticsFigure::spokenLine() const
{
    const QString said = spokenValue();
    return said.isEmpty() ? title : title + QStringLiteral(": ") + said;
}

QVariantList AnalyticsFigure::toVariantList(const QList<AnalyticsFigure> &figures)
{
    QVariantList list;
    list.reserve(figures.size());
    for (const AnalyticsFigure &figure : figures)
        list.append(QVariant::fromValue(figure));
    return list;
}
