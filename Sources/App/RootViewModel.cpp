#include "App/RootViewModel.h"

#include "App/OpenedUrlInbox.h"
#include "Auth/AuthService.h"
#include "Settings/AppAppearanceStore.h"
#include "Settings/Preferences.h"
#include "Utils/Text.h"

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
    m_shownAccountId = shownAccountId();
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

QString RootViewModel::sessionExpiredText()
{
    return QStringLiteral("Сессия истекла. Войдите снова.");
}

RootViewModel::Screen RootViewModel::screen() const
{
    if (m_auth->user() || m_keptAccount)
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

QString RootViewModel::shownAccountId() const
{
    if (m_keptAccount)
        return m_keptAccount->id;
    return m_auth->user() ? m_auth->user()->id : QString();
}

void RootViewModel::onUserChanged()
{
    const bool signedIn = m_auth->user().has_value();
    if (signedIn != m_signedIn) {
        m_signedIn = signedIn;
        // Signing in ends guest mode and closes the sign-in sheet; a sign-out of the user's own
        // changes nothing here.
        if (signedIn) {
            setGuestModeActive(false);
            setShowLoginSheet(false);
            m_sessionEnded = false;
            // The kept edits belong to the account that left them: another one is asked about.
            if (m_keptAccount && m_keptAccount->id != m_auth->user()->id)
                setQuestion(OtherAccount);
            else
                m_keptAccount.reset();
            Q_EMIT sessionChanged();
        } else if (m_auth->expiredUser()) {
            // The backend ended the session: the person is told so and asked to sign in again;
            // edits not yet stored stay in the account window until then.
            m_sessionEnded = true;
            if (!m_keptAccount && hasEditsToKeep())
                m_keptAccount = m_auth->expiredUser();
            Q_EMIT sessionChanged();
            setShowLoginSheet(true);
        }
    }
    updateScreen();
}

void RootViewModel::updateScreen()
{
    const Screen next = screen();
    // Another account in the account window is a new window too.
    const QString account = shownAccountId();
    if (next != m_screen || account != m_shownAccountId) {
        m_screen = next;
        m_shownAccountId = account;
        Q_EMIT screenChanged();
    }
}

bool RootViewModel::hasEditsToKeep() const
{
    const ProjectEditorViewModel *editor = m_unsavedEdits ? m_unsavedEdits->editor() : nullptr;
    return editor && (editor->isDirty() || editor->saveState().kind == EditorSaveState::Kind::Saving);
}

QString RootViewModel::editsQuestionTitle() const
{
    switch (m_question) {
    case SignInDismissed:
        return QStringLiteral("Сессия истекла");
    case OtherAccount:
        return QStringLiteral("Вход в другой аккаунт");
    case NoQuestion:
        break;
    }
    return {};
}

QString RootViewModel::editsQuestionMessage() const
{
    switch (m_question) {
    case SignInDismissed:
        return m_closeAfterLettingGo
            ? QStringLiteral("Несохранённые изменения будут потеряны, если закрыть окно, не войдя снова.")
            : QStringLiteral("Несохранённые изменения будут потеряны, если не войти снова.");
    case OtherAccount:
        return QStringLiteral("Несохранённые изменения сделаны в аккаунте %1. В другом аккаунте они будут потеряны.")
            .arg(m_keptAccount ? Text::boundedMessage(m_keptAccount->email) : QString());
    case NoQuestion:
        break;
    }
    return {};
}

void RootViewModel::setQuestion(EditsQuestion question)
{
    if (m_question == question)
        return;
    m_question = question;
    Q_EMIT sessionChanged();
}

void RootViewModel::signInSheetClosed()
{
    if (!m_showLoginSheet)
        return;
    setShowLoginSheet(false);
    if (m_auth->user())
        return;
    if (m_keptAccount) {
        setQuestion(SignInDismissed);
    } else if (m_sessionEnded) {
        // Told once: the next sign-in sheet is an ordinary one.
        m_sessionEnded = false;
        Q_EMIT sessionChanged();
    }
}

void RootViewModel::answerEditsQuestion(bool keepEdits)
{
    const EditsQuestion asked = m_question;
    if (asked == NoQuestion)
        return;
    setQuestion(NoQuestion);
    if (!keepEdits) {
        letEditsGo();
        return;
    }
    m_closeAfterLettingGo = false;
    // The other account leaves again, so that the one of the edits can sign in.
    if (asked == OtherAccount)
        m_auth->logout();
    m_sessionEnded = true;
    Q_EMIT sessionChanged();
    setShowLoginSheet(true);
    updateScreen();
}

void RootViewModel::letEditsGo()
{
    m_keptAccount.reset();
    if (!m_auth->user())
        m_sessionEnded = false;
    Q_EMIT sessionChanged();
    updateScreen();
    if (std::exchange(m_closeAfterLettingGo, false)) {
        // After the account window has gone, so that no question about its edits follows.
        QMetaObject::invokeMethod(this, &RootViewModel::closeApproved, Qt::QueuedConnection);
    }
}

bool RootViewModel::requestClose()
{
    if (!m_keptAccount)
        return true;
    m_closeAfterLettingGo = true;
    if (m_question == NoQuestion) {
        setShowLoginSheet(false);
        setQuestion(SignInDismissed);
    }
    Q_EMIT sessionChanged();
    return false;
}

void RootViewModel::openUrl(const QString &url)
{
    const std::optional<AuthDeepLink> link = AuthDeepLink::parse(url);
    if (!link)
        return;
    // The link's screen goes over the editor: its unsaved edits are asked about first (edits
    // kept after the session ended stay as they are: nothing takes them away).
    if (m_unsavedEdits && !m_keptAccount)
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
    setSignInAfterLink(m_signInAfterLink || !m_auth->user());
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
    // The sheet is back before it stops waiting, so that what was typed in it stays.
    if (m_signInAfterLink && !m_auth->user())
        setShowLoginSheet(true);
    setSignInAfterLink(false);
}

void RootViewModel::setSignInAfterLink(bool waits)
{
    if (m_signInAfterLink == waits)
        return;
    m_signInAfterLink = waits;
    Q_EMIT signInWaitsForLinkChanged();
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
