#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The column of the account screens: as wide as the window allows, within 320 and 440, and the
// insets around it for a compact or a regular window.
class AccountScreenMetrics : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // windowWidth: the window's metrics width.
    Q_INVOKABLE static double columnWidth(double windowWidth);
    Q_INVOKABLE static double sideInset(bool compact) { return compact ? 20 : 28; }
    Q_INVOKABLE static double verticalInset(bool compact) { return compact ? 32 : 48; }
    Q_INVOKABLE static double welcomeTopInset(bool compact) { return compact ? 24 : 40; }
};
