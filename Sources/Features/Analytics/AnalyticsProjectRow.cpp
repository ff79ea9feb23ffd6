#include "Features/Analytics/AnalyticsProjectRow.h"

#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Utils/Text.h"

#include <QStringList>

#include <cmath>

AnalyticsProjectRow AnalyticsProjectRow::fromProject(const Project &project)
{
    AnalyticsProjectRow row;
    row.id = project.id;
    row.name = project.name;
    // A blank client names nobody.
    if (project.clientName && !project.clientName->isEmpty())
        row.subtitle = project.clientName;
    row.currency = project.currency;
    row.status = project.status;
    row.isIteration = project.isIteration();
    row.plannedCost = project.totalCost;
    row.plannedHours = project.totalHours;
    return row;
}

QString AnalyticsProjectRow::titleText() const
{
    return Text::boundedMessage(isIteration && subtitle ? *subtitle : name);
}

QString AnalyticsProjectRow::secondLineText() const
{
    return Text::boundedMessage(isIteration ? name : subtitle.value_or(QString()));
}

QString AnalyticsProjectRow::plannedText() const
{
    return MoneyFormat::format(plannedCost, currency);
}

QString AnalyticsProjectRow::doneText() const
{
    return MoneyFormat::format(doneCost, currency);
}

QString AnalyticsProjectRow::paidText() const
{
    return MoneyFormat::format(paidCost, currency);
}

double AnalyticsProjectRow::remaining() const
{
    const double difference = plannedCost - paidCost;
    // !(x >= 0) also holds for NaN.
    return !(difference >= 0) ? 0.0 : difference;
}

QString AnalyticsProjectRow::remainingText() const
{
    return MoneyFormat::format(remaining(), currency);
}

QString AnalyticsProjectRow::hoursText() const
{
    return NumberText::fixed(plannedHours, 1) + QStringLiteral(" ч");
}

QString AnalyticsProjectRow::spokenFigures() const
{
    QStringList parts;
    if (hasSecondLine()) {
        const QString second = secondLineText();
        if (!second.isEmpty())
            parts.append(second);
    }
    parts.append(QStringLiteral("План ") + plannedText());
    parts.append(QStringLiteral("Выполн. ") + doneText());
    parts.append(QStringLiteral("Оплач. ") + paidText());
    return parts.join(QStringLiteral(", "));
}

QList<AnalyticsFigure> AnalyticsProjectRow::figures() const
{
    return {
        {QStringLiteral("План"), plannedText(), {}, {}},      {QStringLiteral("Выполнено"), doneText(), {}, {}},
        {QStringLiteral("Оплачено"), paidText(), {}, {}},     {QStringLiteral("К оплате"), remainingText(), {}, {}},
        {QStringLiteral("Часы (план)"), hoursText(), {}, {}},
    };
}
