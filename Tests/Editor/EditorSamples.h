#pragma once

#include "Models/EditableEstimateItem.h"
#include "Models/Project.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <limits>
#include <optional>

// Small projects and lines for the editor's tests.
namespace EditorSamples {

inline constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// A line as the tables give it: title, category, hours, rate.
struct Line
{
    QString title;
    QString category;
    double hours = 0;
    double rate = 0;
    bool isLocked = false;
};

inline ProjectItem stored(const Line &line)
{
    ProjectItem item;
    item.title = line.title;
    item.category = line.category;
    item.hours = line.hours;
    item.rate = line.rate;
    item.isLocked = line.isLocked;
    return item;
}

inline EditableEstimateItem editable(const Line &line)
{
    EditableEstimateItem item;
    item.title = line.title;
    item.category = line.category;
    item.hours = line.hours;
    item.rate = line.rate;
    item.isLocked = line.isLocked;
    return item;
}

inline QList<EditableEstimateItem> editable(const QList<Line> &lines)
{
    QList<EditableEstimateItem> items;
    for (const Line &line : lines)
        items.append(editable(line));
    return items;
}

inline Project project(const QList<Line> &lines = {}, std::optional<double> defaultRate = 100)
{
    Project p;
    p.id = QStringLiteral("p-1");
    p.name = QStringLiteral("Сайт");
    p.currency = QStringLiteral("RUB");
    p.status = ProjectStatus::Draft;
    p.defaultRate = defaultRate;
    p.userId = QStringLiteral("guest");
    p.createdAt = QStringLiteral("2024-03-05T09:07:01.042Z");
    p.updatedAt = p.createdAt;
    p.projectType = QStringLiteral("one_time");
    for (const Line &line : lines)
        p.items.append(stored(line));
    return p.recalculatedTotals();
}

inline QStringList titles(const QList<EditableEstimateItem> &items)
{
    QStringList out;
    for (const EditableEstimateItem &item : items)
        out.append(item.title);
    return out;
}

} // namespace EditorSamples

Q_DECLARE_METATYPE(EditorSamples::Line)
Q_DECLARE_METATYPE(QList<EditorSamples::Line>)
