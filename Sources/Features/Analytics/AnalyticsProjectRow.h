#pragma once

#include "AnalyticsFigure.h"
#include "Models/Project.h"
#include "Models/ProjectStatus.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// One row of the analytics dashboard, as the main window keeps the selected one and hands it to
// the detail pane. An empty id is no row.
struct AnalyticsProjectRow
{
    Q_GADGET
    QML_VALUE_TYPE(analyticsProjectRow)

    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QString subtitle READ subtitleText)
    Q_PROPERTY(bool hasSubtitle READ hasSubtitle)
    Q_PROPERTY(QString currency MEMBER currency)
    Q_PROPERTY(QString status READ statusText)
    Q_PROPERTY(bool isIteration MEMBER isIteration)
    Q_PROPERTY(double plannedCost MEMBER plannedCost)
    Q_PROPERTY(double plannedHours MEMBER plannedHours)
    Q_PROPERTY(double doneCost MEMBER doneCost)
    Q_PROPERTY(double paidCost MEMBER paidCost)
    Q_PROPERTY(bool isValid READ isValid)
    Q_PROPERTY(QString statusLabel READ statusLabel)
    Q_PROPERTY(QString titleText READ titleText)
    Q_PROPERTY(QString secondLineText READ secondLineText)
    Q_PROPERTY(bool hasSecondLine READ hasSecondLine)
    Q_PROPERTY(QString plannedText READ plannedText)
    Q_PROPERTY(QString doneText READ doneText)
    Q_PROPERTY(QString paidText READ paidText)
    Q_PROPERTY(QString remainingText READ remainingText)
    Q_PROPERTY(QString hoursText READ hoursText)
    Q_PROPERTY(QString spokenFigures READ spokenFigures)
    Q_PROPERTY(QVariantList figures READ figureList)

public:
    QString id;
    QString name;
    std::optional<QString> subtitle;
    QString currency;
    ProjectStatus status = ProjectStatus::Draft;
    bool isIteration = false;
    double plannedCost = 0;
    double plannedHours = 0;
    double doneCost = 0;
    double paidCost = 0;

    // A listed project before its payments are known: planned figures only, the client as subtitle.
    static AnalyticsProjectRow fromProject(const Project &project);

    bool isValid() const { return !id.isEmpty(); }
    QString subtitleText() const { return subtitle.value_or(QString()); }
    bool hasSubtitle() const { return subtitle.has_value(); }
    QString statusText() const { return rawValue(status); }
    QString statusLabel() const { return label(status); }

    // The card's and the detail's heading: an iteration's label line when it has one, else the
    // name. The second line: an iteration's name, a root's client; none for a root without one.
    QString titleText() const;
    QString secondLineText() const;
    bool hasSecondLine() const { return isIteration || subtitle.has_value(); }

    // Money in the row's currency.
    QString plannedText() const;
    QString doneText() const;
    QString paidText() const;
    // What is still to be paid: planned less paid, never below zero (0 when not a number).
    double remaining() const;
    QString remainingText() const;
    // Planned hours with one decimal and "ч" ("12.3 ч").
    QString hoursText() const;
    // What a screen reader hears after the heading: the second line, then the three sums.
    QString spokenFigures() const;
    // The detail's lines of figures in order: planned, done, paid, still to pay, planned hours.
    QList<AnalyticsFigure> figures() const;
    QVariantList figureList() const { return AnalyticsFigure::toVariantList(figures()); }

    bool operator==(const AnalyticsProjectRow &other) const = default;
};

Q_DECLARE_METATYPE(AnalyticsProjectRow)
