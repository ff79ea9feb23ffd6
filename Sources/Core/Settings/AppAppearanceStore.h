#pragma once

#include "AppColorSchemePreference.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class Preferences;

// The window's appearance choice, kept under "app.colorSchemePreference". Reads the
// preferences on every access and writes only when the user chooses.
class AppAppearanceStore : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // Raw value of the choice: "system", "light" or "dark".
    Q_PROPERTY(QString preference READ preferenceId WRITE setPreferenceId NOTIFY preferenceChanged)
    // "light" or "dark" when forced, empty when the window follows the system.
    Q_PROPERTY(QString colorScheme READ colorSchemeName NOTIFY preferenceChanged)

public:
    static QString key();

    explicit AppAppearanceStore(QObject *parent = nullptr);
    explicit AppAppearanceStore(Preferences *preferences, QObject *parent = nullptr);

    QString preferenceRaw() const;
    AppColorSchemePreference preference() const;
    void setPreference(AppColorSchemePreference preference);
    std::optional<ColorScheme> colorScheme() const;

    QString preferenceId() const;
    void setPreferenceId(const QString &raw);
    QString colorSchemeName() const;

Q_SIGNALS:
    void preferenceChanged();

private:
    QPointer<Preferences> m_preferences;
};
