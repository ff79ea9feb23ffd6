#include "Features/Settings/SettingsViewModel.h"
#include "SelectOption.h"

#include "Config/AppConfig.h"
#include "Features/Onboarding/GuidedOnboarding.h"
#include "Settings/Preferences.h"
#include "Utils/Text.h"

#include <algorithm>

namespace {

const QString guestModeKey = QStringLiteral("guest_mode_active");

} // namespace

SettingsViewModel::SettingsViewModel(QObject *parent)
    : SettingsViewModel(&Preferences::shared(), parent)
{
}

SettingsViewModel::SettingsViewModel(Preferences *preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_appearance(new AppAppearanceStore(preferences, this))
{
    connect(m_appearance, &AppAppearanceStore::preferenceChanged, this, &SettingsViewModel::themeChanged);
}

void SettingsViewModel::setAuth(AuthService *auth)
{
    if (m_auth == auth)
        return;
    for (const QMetaObject::Connection &link : std::as_const(m_authLinks))
        disconnect(link);
    m_authLinks.clear();
    m_auth = auth;
    if (auth) {
        m_authLinks = {
            connect(auth, &AuthService::userChanged, this, &SettingsViewModel::profileChanged),
            connect(auth, &AuthService::isLoadingChanged, this, &SettingsViewModel::profileChanged),
        };
    }
    Q_EMIT authChanged();
    Q_EMIT profileChanged();
}

void SettingsViewModel::setGuest(bool isGuest)
{
    if (m_isGuest == isGuest)
        return;
    m_isGuest = isGuest;
    Q_EMIT isGuestChanged();
    Q_EMIT profileChanged();
}

QVariantList SettingsViewModel::themeOptions()
{
    const auto option = [](AppColorSchemePreference preference, const QString &label, const QString &icon) {
        return SelectOption::of(AppColorSchemePreferences::rawValue(preference), label, icon);
    };
    return {
        option(AppColorSchemePreference::System, QStringLiteral("Как в системе"),
               QStringLiteral("circle.lefthalf.filled")),
        option(AppColorSchemePreference::Light, QStringLiteral("Светлая"), QStringLiteral("sun.max.fill")),
        option(AppColorSchemePreference::Dark, QStringLiteral("Тёмная"), QStringLiteral("moon.fill")),
    };
}

QString SettingsViewModel::theme() const
{
    return AppColorSchemePreferences::rawValue(m_appearance->preference());
}

void SettingsViewModel::chooseTheme(const QString &value)
{
    // Written even when the shown segment already matches: an unknown stored text is kept only
    // until the user picks.
    if (const std::optional<AppColorSchemePreference> chosen = AppColorSchemePreferences::fromRawValue(value))
        m_appearance->setPreference(*chosen);
}

SettingsViewModel::ProfileState SettingsViewModel::profileState() const
{
    if (m_isGuest)
        return Guest;
    if (!m_auth)
        return Unavailable;
    if (m_auth->isLoading() && !m_auth->hasUser())
        return Loading;
    return m_auth->hasUser() ? Account : Unavailable;
}

QString SettingsViewModel::email() const
{
    return m_auth && m_auth->user() ? Text::boundedMessage(m_auth->user()->email) : QString();
}

QString SettingsViewModel::displayName() const
{
    if (!m_auth || !m_auth->user())
        return {};
    return Text::boundedMessage(displayName(*m_auth->user()).value_or(QString()));
}

std::optional<QString> SettingsViewModel::displayName(const User &user)
{
    QStringList parts;
    for (const std::optional<QString> &part : {user.firstName, user.lastName}) {
        const QString trimmed = part ? Text::trimmedSpacesAndTabs(*part) : QString();
        if (!trimmed.isEmpty())
            parts.append(trimmed);
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(QLatin1Char(' '));
}

QStringList SettingsViewModel::tips(bool isGuest)
{
    QStringList tips{
        QStringLiteral("Сохраняйте смету перед экспортом — так вы не потеряете правки."),
        QStringLiteral("PDF / Share — коммерческое предложение без сервера."),
    };
    if (!isGuest) {
        tips.append(QStringLiteral("Платежи и план — в меню «⋯» в редакторе проекта."));
        tips.append(QStringLiteral("Итерации доступны для проектов типа iterative в облаке."));
    }
    return tips;
}

QString SettingsViewModel::versionText() const
{
    return versionText(AppConfig::version(), AppConfig::build());
}

QString SettingsViewModel::versionText(const QString &version, const QString &build)
{
    return QStringLiteral("%1 (%2)").arg(version.isEmpty() ? QStringLiteral("0.1") : version,
                                         build.isEmpty() ? QStringLiteral("1") : build);
}

QRectF SettingsViewModel::columnFrame(qreal width, qreal cap, qreal margin)
{
    const qreal box = cap < 0 ? width : std::min(width, cap);
    return {(width - box) / 2 + margin, margin, std::max<qreal>(0, box - 2 * margin), 0};
}

qreal SettingsViewModel::scrollToReveal(qreal top, qreal height, qreal viewHeight, qreal contentHeight, qreal current)
{
    // A little air around the element, as far as the content allows.
    constexpr qreal air = 20;
    qreal target = current;
    if (top < current || height + 2 * air > viewHeight)
        target = top - air;
    else if (top + height > current + viewHeight)
        target = top + height + air - viewHeight;
    return std::clamp<qreal>(target, 0, std::max<qreal>(0, contentHeight - viewHeight));
}

void SettingsViewModel::replayTour()
{
    if (!m_preferences)
        return;
    // The counter first: the main window restarts the tour when it changes.
    const int nonce = m_preferences->value(QLatin1String(GuidedOnboarding::replayRequestNonceKey), 0).toInt();
    m_preferences->setValue(QLatin1String(GuidedOnboarding::replayRequestNonceKey), nonce + 1);
    m_preferences->setValue(QLatin1String(GuidedOnboarding::completedVersionKey), 0);
    m_preferences->setValue(QLatin1String(GuidedOnboarding::welcomeIntroDoneKey), false);
}

void SettingsViewModel::leave()
{
    if (m_isGuest) {
        if (m_preferences)
            m_preferences->setValue(guestModeKey, false);
        return;
    }
    if (m_auth)
        m_auth->logout();
}

void SettingsViewModel::restoreSession()
{
    restore(this, m_auth);
}

QCoro::Task<> SettingsViewModel::restore(QPointer<SettingsViewModel> self, QPointer<AuthService> auth)
{
    // A restore or sign-in already under way settles the account by itself.
    if (!self->m_isGuest && auth && !auth->hasUser() && !auth->isLoading() && auth->hasStoredToken()) {
        QCoro::Task<> restoring = auth->restoreSession();
        co_await std::move(restoring);
    }
    if (self)
        Q_EMIT self->restoreFinished();
}
