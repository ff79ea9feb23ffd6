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
    // The main window's guard: a link's screen waits for the answer about unsaved edits.
    Q_PROPERTY(UnsavedEditsGuard *unsavedEdits READ unsavedEdits WRITE setUnsavedEdits NOTIFY unsavedEditsChanged)

public:
    enum Screen { Welcome, GuestShell, AccountShell };
    Q_ENUM(Screen)

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
    UnsavedEditsGuard *unsavedEdits() const { return m_unsavedEdits; }
    void setUnsavedEdits(UnsavedEditsGuard *guard);

    // A URL opened by the system: a recognised link opens its sheet alone, with no earlier error,
    // and the sign-in sheet follows when it closes while nobody is signed in; anything else is
    // ignored.
    Q_INVOKABLE void openUrl(const QString &url);
    Q_INVOKABLE void closeDeepLink();
    // Reads the URLs the process was handed and follows the ones that come later.
    Q_INVOKABLE void listenForOpenedUrls();

Q_SIGNALS:
    void screenChanged();
    void guestModeActiveChanged();
    void showLoginSheetChanged();
    void colorSchemeChanged();
    void authDeepLinkChanged();
    void unsavedEditsChanged();
    // Another start asked for this window.
    void activationRequested();

private:
    void onUserChanged();
    void updateScreen();
    void takeOpenedUrls();
    void showDeepLink(const AuthDeepLink &link);

    AuthService *m_auth = nullptr;
    AppAppearanceStore *m_appearance = nullptr;
    bool m_showLoginSheet = false;
    bool m_signedIn = false;
    bool m_guestModeActive = false;
    Screen m_screen = Welcome;
    std::optional<AuthDeepLink> m_authDeepLink;
    bool m_signInAfterLink = false;
    QPointer<UnsavedEditsGuard> m_unsavedEdits;
};
