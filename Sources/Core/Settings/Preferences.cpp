#include "Preferences.h"

#include "Data/OwnerOnlyFiles.h"

#include <QFileInfo>
#include <QQmlEngine>

Preferences::Preferences(QObject *parent)
    : QObject(parent)
{
    makePrivate();
}

Preferences::Preferences(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_settings(filePath, QSettings::IniFormat)
{
    makePrivate();
}

void Preferences::makePrivate()
{
    // Every save replaces the file by a new one with the old one's mode, so it is set once here.
    const QString file = m_settings.fileName();
    if (!OwnerOnlyFiles::makeFolder(QFileInfo(file).absolutePath()) || !OwnerOnlyFiles::makeFile(file))
        qWarning("The settings file %s cannot be made private to this user", qPrintable(file));
}

Preferences &Preferences::shared()
{
    static Preferences instance(nullptr);
    return instance;
}

Preferences *Preferences::create(QQmlEngine *, QJSEngine *)
{
    Preferences *instance = &shared();
    QQmlEngine::setObjectOwnership(instance, QQmlEngine::CppOwnership);
    return instance;
}

bool Preferences::contains(const QString &key) const
{
    return m_settings.contains(key);
}

QVariant Preferences::value(const QString &key, const QVariant &defaultValue) const
{
    return m_settings.value(key, defaultValue);
}

void Preferences::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
    m_settings.sync();
    Q_EMIT valueChanged(key);
}

void Preferences::remove(const QString &key)
{
    m_settings.remove(key);
    m_settings.sync();
    Q_EMIT valueChanged(key);
}
