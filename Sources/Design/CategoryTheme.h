#pragma once

#include "ThemeColor.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The colour of an estimate category: the catalog's readable colour, else the fixed colour of a
// legacy category, else the theme's secondary text colour.
class CategoryTheme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    static ThemeColor colorFor(const QString &categoryId);

    // Views pass the appearance so that their bindings follow it.
    Q_INVOKABLE QColor color(const QString &categoryId, bool dark) const;
    Q_INVOKABLE QString name(const QString &categoryId) const;

private:
    static ThemeColor legacyColor(const QString &categoryId);
};
