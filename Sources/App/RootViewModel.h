#pragma once

#include "Auth/AuthDeepLink.h"
#include "Auth/AuthService.h"
#include "Features/Editor/UnsavedEditsGuard.h"
#include "Settings/AppAppearanceStore.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>


// The window's root: owns the sign-in service and the appearance store, chooses between the
// welcome screen and the main window, and keeps the sign-in and deep-link sheets.
class RootViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AuthService *auth READ auth CONSTANT)
    Q_PROPERTY(AppAppearanceStore *appearance READ appearance CONSTANT)
    Q_PROPERTY(Screen screen READ screen NOTIFY screenChanged)
    Q_PROPERTY(bool guestModeActive READ guestModeActive WRITE setGuestModeActive NOTIFY guestModeActiveChanged)
    Q_PROPERTY(bool showLoginSheet READ showLoginSheet WRITE setShowLoginSheet NOTIFY showLoginSheetChanged)
    // "light", "dark", or empty to follow the system.
    Q_PROPERTY(QString colorScheme READ colorScheme NOTIFY colorSchemeChanged)
    // The opened link: its sheet identity ("" for none), "verify" or "reset", and its token.
    Q_PROPERTY(QString deepLinkId READ deepLinkId NOTIFY authDeepLinkChanged)
    Q_PROPERTY(QString deepLinkKind READ deepLinkKind NOTIFY authDeepLinkChanged)
    Q_PROPERTY(QString deepLinkToken READ deepLinkToken NOTIFY authDeepLinkChanged)
    // The sign-in sheet stands aside for a link's sheet and comes back when it closes; what was
    // typed in it waits meanwhile.
    Q_PROPERTY(bool signInWaitsForLink READ signInWaitsForLink NOTIFY signInWaitsForLinkChanged)
    // The main window's guard: a link's screen waits for the answer about unsaved edits.
    Q_PROPERTY(UnsavedEditsGuard *unsavedEdits READ unsavedEdits WRITE setUnsavedEdits NOTIFY unsavedEditsChanged)
    // Shown on the sign-in screen while it asks for a sign-in because the backend ended the
    // session; empty otherwise.
    Q_PROPERTY(QString sessionNotice READ sessionNotice NOTIFY sessionChanged)
    // The account window stays, signed out, over edits the ended session left unsaved.
    Q_PROPERTY(bool keepsEndedSession READ keepsEndedSession NOTIFY sessionChanged)
    // The question about those edits that is up: None, or what ends them.
    Q_PROPERTY(EditsQuestion editsQuestion READ editsQuestion NOTIFY sessionChanged)
    Q_PROPERTY(QString editsQuestionTitle READ editsQuestionTitle NOTIFY sessionChanged)
    Q_PROPERTY(QString editsQuestionMessage READ editsQuestionMessage NOTIFY sessionChanged)

public:
    enum Screen { Welcome, GuestShell, AccountShell };
    Q_ENUM(Screen)
    // SignInDismissed: the sign-in screen was closed without signing in; OtherAccount: another
    // account signed in. Both would leave the edits behind.
    enum EditsQuestion { NoQuestion, SignInDismissed, OtherAccount };
    Q_ENUM(EditsQuestion)

    static QString sessionExpiredText();

    explicit RootViewModel(QObject *parent = nullptr);

    // Tests and tools hand the window a sign-in service of their own (on a test backend).
    using AuthServiceFactory = std::function<AuthService *()>;
    static void setAuthServiceFactory(AuthServiceFactory factory);
    ~RootViewModel() override;

    AuthService *auth() const { return m_auth; }
    AppAppearanceStore *appearance() const { return m_appearance; }
    Screen screen() const;
    bool guestModeActive() const;
    void setGuestModeActive(bool active);
    bool showLoginSheet() const { return m_showLoginSheet; }
    void setShowLoginSheet(bool show);
    QString colorScheme() const;
    std::optional<AuthDeepLink> authDeepLink() const { return m_authDeepLink; }
    QString deepLinkId() const;
    QString deepLinkKind() const;
    QString deepLinkToken() const;
    bool signInWaitsForLink() const { return m_signInAfterLink; }
    UnsavedEditsGuard *unsavedEdits() const { return m_unsavedEdits; }
    void setUnsavedEdits(UnsavedEditsGuard *guard);

    // A URL opened by the system: a recognised link opens its sheet alone, with no earlier error,
    // and the sign-in sheet follows when it closes while nobody is signed in; anything else is
    // ignored.
    Q_INVOKABLE void openUrl(const QString &url);
    Q_INVOKABLE void closeDeepLink();
    // Reads the URLs the process was handed and follows the ones that come later.
    Q_INVOKABLE void listenForOpenedUrls();

    QString sessionNotice() const { return m_sessionEnded ? sessionExpiredText() : QString(); }
    bool keepsEndedSession() const { return m_keptAccount.has_value(); }
    EditsQuestion editsQuestion() const { return m_question; }
    QString editsQuestionTitle() const;
    QString editsQuestionMessage() const;
    // The person closed the sign-in sheet (the sheet's own closing after the flag went off is
    // no news). Over kept edits it asks whether they go.
    Q_INVOKABLE void signInSheetClosed();
    // The answer to the question about kept edits: keep them (sign in again; after another
    // account, that one is signed out first) or let them go with the ended session.
    Q_INVOKABLE void answerEditsQuestion(bool keepEdits);
    // The window asks to close: true when it may now. Over kept edits it asks first, and
    // closeApproved() follows once the edits were let go.
    Q_INVOKABLE bool requestClose();

Q_SIGNALS:
    void screenChanged();
    void guestModeActiveChanged();
    void showLoginSheetChanged();
    void colorSchemeChanged();
    void authDeepLinkChanged();
    void signInWaitsForLinkChanged();
    void unsavedEditsChanged();
    // Another start asked for this window.
    void activationRequested();
    void sessionChanged();
    void closeApproved();

private:
    void onUserChanged();
    void updateScreen();
    void takeOpenedUrls();
    void showDeepLink(const AuthDeepLink &link);
    QString shownAccountId() const;
    bool hasEditsToKeep() const;
    void setQuestion(EditsQuestion question);
    void letEditsGo();
    void setSignInAfterLink(bool waits);

    AuthService *m_auth = nullptr;
    AppAppearanceStore *m_appearance = nullptr;
    bool m_showLoginSheet = false;
    bool m_signedIn = false;
    bool m_guestModeActive = false;
    Screen m_screen = Welcome;
    std::optional<AuthDeepLink> m_authDeepLink;
    bool m_signInAfterLink = false;
    QPointer<UnsavedEditsGuard> m_unsavedEdits;
    // The account whose window stays after the backend ended its session over unsaved edits.
    std::optional<User> m_keptAccount;
    // The account the account window was built for.
    QString m_shownAccountId;
    bool m_sessionEnded = false;
    EditsQuestion m_question = NoQuestion;
    bool m_closeAfterLettingGo = false;
};
