#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

// One choice of a select, segmented control or menu as QML reads it: the value it stands for,
// its label and an optional icon name.
struct SelectOption
{
    Q_GADGET
    Q_PROPERTY(QString value MEMBER value CONSTANT)
    Q_PROPERTY(QString label MEMBER label CONSTANT)
    Q_PROPERTY(QString icon MEMBER icon CONSTANT)

public:
    QString value;
    QString label;
    QString icon; // empty when the choice has none

    // The option in the form a QVariantList of options holds.
    static QVariant of(const QString &value, const QString &label, const QString &icon = {})
    {
        return QVariant::fromValue(SelectOption{value, label, icon});
    }

    bool operator==(const SelectOption &other) const = default;
};

Q_DECLARE_METATYPE(SelectOption)
