import QtQuick
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Sign-in and registration over the window's sign-in service. It never closes itself: whoever
// shows it closes it once a user is signed in. Laid out left to right in any locale, and usable
// in a sheet of any host.
Item {
    id: login

    required property AuthService auth
    // Why a sign-in is asked for (the backend ended the session), shown above the form; none when empty.
    property string sessionNotice: ""
    // Lets tests reach the form and the recovery sheet.
    readonly property alias form: form
    readonly property alias forgotSheet: forgotSheet

    readonly property bool busy: login.auth.isLoading
    readonly property bool compact: login.AdaptiveMetrics.isCompact
    readonly property real sideInset: AccountScreenMetrics.sideInset(login.compact)

    implicitWidth: 400
    // All of the form: a sheet grows to it and scrolls only when the window is smaller.
    implicitHeight: scroller.contentHeight
    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    // Left and Right go to the mode on that side and choose it, as a tab bar's keys do.
    function stepToMode(button, event) {
        if (event.modifiers !== Qt.NoModifier) {
            event.accepted = false
            return
        }
        if (!button.enabled)
            return
        button.forceActiveFocus(Qt.TabFocusReason)
        button.clicked()
    }

    // One Return gives one action: in the e-mail field it moves on to the password, anywhere
    // else in the card it submits (nothing while busy).
    function returnPressed() {
        if (emailField.input.activeFocus)
            passwordField.input.forceActiveFocus()
        else
            form.submit()
    }

    Keys.onReturnPressed: form.submit()
    Keys.onEnterPressed: form.submit()
    Component.onCompleted: emailField.input.forceActiveFocus()
    // The recovery sheet stands over this form alone: when the form goes out of sight (its sheet
    // makes way for a link's), so does the recovery sheet, rather than stay open undrawn behind.
    onVisibleChanged: if (!visible) forgotSheet.close()

    LoginFormModel {
        id: form
        auth: login.auth
        onSubmitted: {
            login.focusBeforeSubmit = login.Window.activeFocusItem
            login.forceActiveFocus()
        }
        // A field in error takes the keyboard, the email before the password.
        onEmailErrorChanged: {
            if (form.emailError !== null && form.emailError !== undefined)
                FocusLanding.land(emailField.input)
        }
        onPasswordErrorChanged: {
            const emailFine = form.emailError === null || form.emailError === undefined
            if (form.passwordError !== null && form.passwordError !== undefined && emailFine)
                FocusLanding.land(passwordField.input)
        }
        onErrorChanged: if (form.hasError) login.returnFocus()
        onNoticeChanged: if (form.showsNotice) login.returnFocus()
    }

    // Where the keyboard was when a request started: it goes back there when the request ends
    // with an error or a notice.
    property Item focusBeforeSubmit: null
    onBusyChanged: if (!login.busy && (form.hasError || form.showsNotice)) login.returnFocus()
    function returnFocus() {
        const back = login.focusBeforeSubmit
        if (back === null || login.busy)
            return
        login.focusBeforeSubmit = null
        FocusLanding.land(back)
    }

    AuthGradient {
        anchors.fill: parent
    }

    AccountScrollView {
        id: scroller

        anchors.fill: parent
        contentHeight: column.height + 2 * column.y

        Column {
            id: column

            width: Math.min(AccountScreenMetrics.columnWidth(login.AdaptiveMetrics.width),
                            scroller.width - 2 * login.sideInset)
            x: (scroller.width - width) / 2
            y: AccountScreenMetrics.verticalInset(login.compact)
            spacing: 28

            AccountBranding {
                width: parent.width
                tagline: "Сметы и проекты в одном месте"
            }

            AccountCard {
                id: card

                width: parent.width
                spacing: 20
                SubmitOnReturn.onSubmitted: login.returnPressed()

                Rectangle {
                    Layout.fillWidth: true
                    implicitHeight: modes.implicitHeight + 8
                    radius: 12
                    color: AppTheme.surface

                    RowLayout {
                        id: modes

                        anchors.fill: parent
                        anchors.margins: 4
                        spacing: 0
                        Keys.onLeftPressed: event => login.stepToMode(signInMode, event)
                        Keys.onRightPressed: event => login.stepToMode(registerMode, event)

                        AccountModeButton {
                            id: signInMode
                            objectName: "signInModeButton"
                            text: "Вход"
                            selected: !form.isRegister
                            enabled: !login.busy
                            onClicked: form.isRegister = false
                        }
                        AccountModeButton {
                            id: registerMode
                            objectName: "registerModeButton"
                            text: "Регистрация"
                            selected: form.isRegister
                            enabled: !login.busy
                            onClicked: form.isRegister = true
                        }
                    }
                }

                // Spaced by hand, so that the folded names leave no gap.
                Column {
                    Layout.fillWidth: true

                    AppTextField {
                        id: emailField
                        objectName: "emailField"
                        width: parent.width
                        title: "Email"
                        systemImage: "envelope.fill"
                        error: form.emailError
                        input.activeFocusOnTab: true
                        text: form.email
                        onTextChanged: form.email = text
                    }
                    Item {
                        width: 1
                        height: 14
                    }
                    AppTextField {
                        id: passwordField
                        objectName: "passwordField"
                        width: parent.width
                        title: "Пароль"
                        systemImage: "lock.fill"
                        isSecure: true
                        allowsPasswordReveal: true
                        error: form.passwordError
                        input.activeFocusOnTab: true
                        text: form.password
                        onTextChanged: form.password = text
                    }

                    // The names fold away in sign-in mode and keep their text.
                    Item {
                        width: parent.width
                        height: form.isRegister ? names.implicitHeight : 0
                        clip: true
                        opacity: form.isRegister ? 1 : 0
                        visible: opacity > 0
                        Behavior on height { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }
                        Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }

                        Column {
                            id: names

                            width: parent.width
                            topPadding: 14
                            spacing: 14

                            AppTextField {
                                objectName: "firstNameField"
                                width: parent.width
                                title: "Имя"
                                systemImage: "person.fill"
                                input.activeFocusOnTab: form.isRegister
                                text: form.firstName
                                onTextChanged: form.firstName = text
                            }
                            AppTextField {
                                objectName: "lastNameField"
                                width: parent.width
                                title: "Фамилия"
                                systemImage: "person.fill"
                                input.activeFocusOnTab: form.isRegister
                                text: form.lastName
                                onTextChanged: form.lastName = text
                            }
                        }
                    }
                }

                AccountBanner {
                    objectName: "sessionBanner"
                    Layout.fillWidth: true
                    visible: login.sessionNotice !== ""
                    systemImage: "exclamationmark.circle.fill"
                    text: login.sessionNotice
                    tint: AppTheme.error
                }

                AccountBanner {
                    objectName: "noticeBanner"
                    Layout.fillWidth: true
                    visible: form.showsNotice
                    systemImage: "envelope.badge.fill"
                    text: login.auth.registrationNotice
                    tint: AppTheme.primary
                }

                AccountBanner {
                    objectName: "errorBanner"
                    Layout.fillWidth: true
                    visible: form.hasError
                    systemImage: "exclamationmark.circle.fill"
                    text: form.errorText
                    tint: AppTheme.error
                }

                SecondaryButton {
                    objectName: "forgotPasswordButton"
                    Layout.alignment: Qt.AlignHCenter
                    visible: !form.isRegister
                    enabled: !login.busy
                    text: "Забыли пароль?"
                    font: Typography.font(Typography.Subheadline)
                    onClicked: forgotSheet.open()
                }

                PrimaryButton {
                    objectName: "submitButton"
                    text: form.submitText
                    busy: login.busy
                    enabled: !login.busy
                    onClicked: form.submit()
                }

                SecondaryButton {
                    objectName: "modeToggleButton"
                    Layout.alignment: Qt.AlignHCenter
                    enabled: !login.busy
                    text: form.toggleText
                    onClicked: form.toggleMode()
                }
            }
        }
    }

    AppSheet {
        id: forgotSheet

        objectName: "forgotPasswordSheet"
        visible: false
        title: "Забыли пароль?"
        cancelText: "Закрыть"
        minimumWidth: 400
        minimumHeight: 420

        Loader {
            objectName: "forgotPasswordLoader"
            anchors.fill: parent
            active: forgotSheet.opened
            sourceComponent: ForgotPasswordView {
                auth: login.auth
            }
        }
    }
}
