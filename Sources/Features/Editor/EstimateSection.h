#pragma once

#include "Models/EditableEstimateItem.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// One displayed section of the editor's lines: a category, or the single sorted list ("all").
// A section header reads its id, title and subtitle; the lines reach QML as the model's rows.
struct EstimateSection
{
    Q_GADGET
    QML_VALUE_TYPE(estimateSection)

    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString subtitle READ subtitleText)

public:
    QString id;
    QString title;
    std::optional<QString> subtitle;
    QList<EditableEstimateItem> items;

    QString subtitleText() const { return subtitle.value_or(QString()); }

    bool operator==(const EstimateSection &other) const = default;
};

Q_DECLARE_METATYPE(EstimateSection)
