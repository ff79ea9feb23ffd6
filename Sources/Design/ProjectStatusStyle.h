#pragma once

#include "ThemeColor.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Label and theme colour of a project status, by its raw text ("draft", "in_progress", …).
// An unknown text is shown as itself in the secondary colour.
class ProjectStatusStyle : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    static ThemeColor colorFor(const QString &raw);

    Q_INVOKABLE QString label(const QString &raw) const;
    // Views pass the appearance so that their bindings follow it.
    Q_INVOKABLE QColor color(const QString &raw, bool dark) const;
};
