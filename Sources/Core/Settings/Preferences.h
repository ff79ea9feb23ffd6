#pragma once

#include <QObject>
#include <QSettings>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

// The one key-value preferences store. Every reader and writer goes through the same instance,
// so a change made in one view reaches all others at once through valueChanged(key).
class Preferences : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // The application's own settings file (organisation and application names of the process).
    // No default argument: QML must take its singleton from create(), not build a second instance.
    explicit Preferences(QObject *parent);
    // An INI file at filePath, for tests and tools.
    explicit Preferences(const QString &filePath, QObject *parent = nullptr);

    static Preferences &shared();
    static Preferences *create(QQmlEngine *, QJSEngine *);

    Q_INVOKABLE bool contains(const QString &key) const;
    Q_INVOKABLE QVariant value(const QString &key, const QVariant &defaultValue = {}) const;
    Q_INVOKABLE void setValue(const QString &key, const QVariant &value);
    Q_INVOKABLE void remove(const QString &key);

    QString fileName() const { return m_settings.fileName(); }

Q_SIGNALS:
    void valueChanged(const QString &key);

private:
    // The file and its folder are readable by this user only: they hold what the user typed.
    void makePrivate();

    QSettings m_settings;
};
