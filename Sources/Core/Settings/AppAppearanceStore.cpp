#include "AppAppearanceStore.h"

#include "Preferences.h"

QString AppAppearanceStore::key()
{
    return QStringLiteral("app.colorSchemePreference");
}

AppAppearanceStore::AppAppearanceStore(QObject *parent)
    : AppAppearanceStore(&Preferences::shared(), parent)
{
}

AppAppearanceStore::AppAppearanceStore(Preferences *preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    // Another store (another window, the settings picker) may write the same key.
    connect(preferences, &Preferences::valueChanged, this, [this](const QString &changed) {
        if (changed == key())
            Q_EMIT preferenceChanged();
    });
}

QString AppAppearanceStore::preferenceRaw() const
{
    if (!m_preferences || !m_preferences->contains(key()))
        return AppColorSchemePreferences::rawValue(AppColorSchemePreference::System);
    return m_preferences->value(key()).toString();
}

AppColorSchemePreference AppAppearanceStore::preference() const
{
    return AppColorSchemePreferences::fromStoredText(preferenceRaw());
}

void AppAppearanceStore::setPreference(AppColorSchemePreference preference)
{
    if (m_preferences)
        m_preferences->setValue(key(), AppColorSchemePreferences::rawValue(preference));
}

std::optional<ColorScheme> AppAppearanceStore::colorScheme() const
{
    return AppColorSchemePreferences::colorScheme(preference());
}

QString AppAppearanceStore::preferenceId() const
{
    return AppColorSchemePreferences::rawValue(preference());
}

void AppAppearanceStore::setPreferenceId(const QString &raw)
{
    if (const auto chosen = AppColorSchemePreferences::fromRawValue(raw))
        setPreference(*chosen);
}

QString AppAppearanceStore::colorSchemeName() const
{
    const std::optional<ColorScheme> scheme = colorScheme();
    return scheme ? ::colorSchemeName(*scheme) : QString();
}
