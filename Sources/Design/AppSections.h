#pragma once

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The sections of the main window for views: each as {id, title, icon}, id being the raw value.
class AppSections : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QVariantList all READ all CONSTANT)

public:
    using QObject::QObject;

    static QVariantList all();
    Q_INVOKABLE static bool isSection(const QString &raw);
    Q_INVOKABLE static QString title(const QString &raw);
    Q_INVOKABLE static QString icon(const QString &raw);
};
