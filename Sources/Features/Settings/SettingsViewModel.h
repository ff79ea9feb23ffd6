#pragma once

#include "Auth/AuthService.h"
#include "Models/User.h"
#include "Settings/AppAppearanceStore.h"

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <optional>

class Preferences;

// The settings screen: the appearance choice, the tour replay, the profile of the signed-in
// account, the tips, the version and the way out (sign-out, or leaving guest mode).
class SettingsViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AuthService *auth READ auth WRITE setAuth NOTIFY authChanged)
    Q_PROPERTY(bool isGuest READ isGuest WRITE setGuest NOTIFY isGuestChanged)
    // The picker's segments (SelectOption values) in the order of the choices.
    Q_PROPERTY(QVariantList themeOptions READ themeOptions CONSTANT)
    // The segment shown: any stored text but "light" or "dark" shows "system".
    Q_PROPERTY(QString theme READ theme NOTIFY themeChanged)
    Q_PROPERTY(ProfileState profileState READ profileState NOTIFY profileChanged)
    Q_PROPERTY(QString email READ email NOTIFY profileChanged)
    // Empty when the account has no name to show.
    Q_PROPERTY(QString displayName READ displayName NOTIFY profileChanged)
    Q_PROPERTY(QStringList tips READ tips NOTIFY isGuestChanged)
    Q_PROPERTY(QString versionText READ versionText CONSTANT)

public:
    enum ProfileState { Guest, Loading, Account, Unavailable };
    Q_ENUM(ProfileState)

    // On the application's preferences.
    explicit SettingsViewModel(QObject *parent = nullptr);
    explicit SettingsViewModel(Preferences *preferences, QObject *parent = nullptr);

    AuthService *auth() const { return m_auth; }
    void setAuth(AuthService *auth);
    bool isGuest() const { return m_isGuest; }
    void setGuest(bool isGuest);

    static QVariantList themeOptions();
    QString theme() const;
    ProfileState profileState() const;
    QString email() const;
    QString displayName() const;
    QStringList tips() const { return tips(m_isGuest); }
    QString versionText() const;

    // The first and last name trimmed of spaces and tabs, the empty ones dropped, joined with
    // one blank; none when nothing is left.
    static std::optional<QString> displayName(const User &user);
    static QStringList tips(bool isGuest);
    // "x (y)", each part falling back when the information resource has none.
    static QString versionText(const QString &version, const QString &build);
    // The card column in a screen `width` wide: with its `margin` on both sides it is at most
    // `cap` wide (no cap when negative), centred; x and width, with the margin as y.
    Q_INVOKABLE static QRectF columnFrame(qreal width, qreal cap, qreal margin);
    // Where to scroll so that an element `top`..`top + height` of the content stands whole in a
    // view `viewHeight` high (its top first when it is taller); `current` when it already does.
    Q_INVOKABLE static qreal scrollToReveal(qreal top, qreal height, qreal viewHeight, qreal contentHeight,
                                            qreal current);

    // Stores the picked choice; an unknown value changes nothing.
    Q_INVOKABLE void chooseTheme(const QString &value);
    // Asks the main window to run the tour again from its start, as not yet finished.
    Q_INVOKABLE void replayTour();
    // Signs out, or for a guest leaves guest mode; the device projects stay either way.
    Q_INVOKABLE void leave();
    // When the screen appears: restores a stored session that nothing restores yet.
    Q_INVOKABLE void restoreSession();

Q_SIGNALS:
    void authChanged();
    void isGuestChanged();
    void themeChanged();
    void profileChanged();
    // The restore ended (or had nothing to do), while the screen still lives.
    void restoreFinished();

private:
    static QCoro::Task<> restore(QPointer<SettingsViewModel> self, QPointer<AuthService> auth);

    QPointer<Preferences> m_preferences;
    AppAppearanceStore *m_appearance = nullptr;
    QPointer<AuthService> m_auth;
    QList<QMetaObject::Connection> m_authLinks;
    bool m_isGuest = false;
};
