#include "App/RootViewModel.h"

#include "App/OpenedUrlInbox.h"
#include "Auth/AuthService.h"
#include "Settings/AppAppearanceStore.h"
#include "Settings/Preferences.h"

namespace {
const QString guestModeKey = QStringLiteral("guest_mode_active");

RootViewModel::AuthServiceFactory &authServiceFactory()
{
    static RootViewModel::AuthServiceFactory factory;
    return factory;
}
} // namespace

void RootViewModel::setAuthServiceFactory(AuthServiceFactory factory)
{
    authServiceFactory() = std::move(factory);
}

RootViewModel::RootViewModel(QObject *parent)
    : QObject(parent)
    , m_auth(authServiceFactory() ? authServiceFactory()() : new AuthService)
    , m_appearance(new AppAppearanceStore(this))
{
    m_auth->setParent(this);
    m_signedIn = m_auth->user().has_value();
    m_guestModeActive = Preferences::shared().value(guestModeKey, false).toBool();
    m_screen = screen();
    connect(m_auth, &AuthService::userChanged, this, &RootViewModel::onUserChanged);
    connect(&Preferences::shared(), &Preferences::valueChanged, this, [this](const QString &key) {
        if (key != guestModeKey)
            return;
        const bool active = Preferences::shared().value(guestModeKey, false).toBool();
        if (active == m_guestModeActive)
            return;
        m_guestModeActive = active;
        Q_EMIT guestModeActiveChanged();
        updateScreen();
    });
    connect(m_appearance, &AppAppearanceStore::preferenceChanged, this, &RootViewModel::colorSchemeChanged);
}

RootViewModel::~RootViewModel() = default;

RootViewModel::Screen RootViewModel::screen() const
{
    if (m_auth->user())
        return AccountShell;
    if (m_guestModeActive)
        return GuestShell;
    return Welcome;
}

bool RootViewModel::guestModeActive() const
{
    return m_guestModeActive;
}

void RootViewModel::setGuestModeActive(bool active)
{
    if (active == m_guestModeActive && Preferences::shared().contains(guestModeKey))
        return;
    Preferences::shared().setValue(guestModeKey, active);
}

void RootViewModel::setShowLoginSheet(bool show)
{
    if (m_showLoginSheet == show)
        return;
    m_showLoginSheet = show;
    Q_EMIT showLoginSheetChanged();
}

QString RootViewModel::colorScheme() const
{
    return m_appearance->colorSchemeName();
}

QString RootViewModel::deepLinkId() const
{
    return m_authDeepLink ? m_authDeepLink->id() : QString();
}

QString RootViewModel::deepLinkKind() const
{
    if (!m_authDeepLink)
        return {};
    return m_authDeepLink->kind() == AuthDeepLink::Kind::VerifyEmail ? QStringLiteral("verify")
                                                                     : QStringLiteral("reset");
}

QString RootViewModel::deepLinkToken() const
{
    return m_authDeepLink ? m_authDeepLink->token() : QString();
}

void RootViewModel::onUserChanged()
{
    const bool signedIn = m_auth->user().has_value();
    if (signedIn != m_signedIn) {
        m_signedIn = signedIn;
        // Signing in ends guest mode and closes the sign-in sheet; signing out changes nothing here.
        if (signedIn) {
            setGuestModeActive(false);
            setShowLoginSheet(false);
        }
    }
    updateScreen();
}

void RootViewModel::updateScreen()
{
    const Screen next = screen();
    if (next != m_screen) {
        m_screen = next;
        Q_EMIT screenChanged();
    }
}

void RootViewModel::openUrl(const QString &url)
{
    const std::optional<AuthDeepLink> link = AuthDeepLink::parse(url);
    if (!link)
        return;
    // The link's screen goes over the editor: its unsaved edits are asked about first.
    if (m_unsavedEdits)
        m_unsavedEdits->request([this, shown = *link] { showDeepLink(shown); });
    else
        showDeepLink(*link);
}

void RootViewModel::showDeepLink(const AuthDeepLink &link)
{
    // The link's screen starts clean, without the error of an earlier link or sign-in attempt.
    m_auth->clearErrorMessage();
    // The link's sheet stands alone, so that nothing covers it and Escape closes what is seen.
    // Signed out, the sign-in sheet comes back when the link's sheet closes.
    m_signInAfterLink = m_signInAfterLink || !m_auth->user();
    setShowLoginSheet(false);
    m_authDeepLink = link;
    Q_EMIT authDeepLinkChanged();
}

void RootViewModel::setUnsavedEdits(UnsavedEditsGuard *guard)
{
    if (m_unsavedEdits == guard)
        return;
    m_unsavedEdits = guard;
    Q_EMIT unsavedEditsChanged();
}

void RootViewModel::closeDeepLink()
{
    if (!m_authDeepLink)
        return;
    m_authDeepLink.reset();
    Q_EMIT authDeepLinkChanged();
    const bool signIn = m_signInAfterLink && !m_auth->user();
    m_signInAfterLink = false;
    if (signIn)
        setShowLoginSheet(true);
}

void RootViewModel::listenForOpenedUrls()
{
    connect(OpenedUrlInbox::instance(), &OpenedUrlInbox::urlPosted, this, &RootViewModel::takeOpenedUrls,
            Qt::UniqueConnection);
    takeOpenedUrls();
}

void RootViewModel::takeOpenedUrls()
{
    const QStringList urls = OpenedUrlInbox::instance()->takePending();
    for (const QString &url : urls) {
        openUrl(url);
        Q_EMIT activationRequested();
    }
}
