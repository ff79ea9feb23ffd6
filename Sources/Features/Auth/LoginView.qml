import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Stand-in of the sign-in screen: e-mail and password through the shared sign-in service.
Item {
    id: login

    required property AuthService auth

    function signIn() {
        if (!login.auth.isLoading && email.text !== "" && password.text !== "")
            actions.login(email.text, password.text)
    }

    AccountActions {
        id: actions
        auth: login.auth
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 28
        spacing: 16

        Text {
            text: "Вход"
            font: Typography.font(Typography.Title2, Font.Bold)
            color: AppTheme.deepBlack
        }
        AppTextField {
            id: email
            objectName: "emailField"
            Layout.fillWidth: true
            title: "Email"
            systemImage: "envelope.fill"
            onAccepted: password.input.forceActiveFocus()
        }
        AppTextField {
            id: password
            objectName: "passwordField"
            Layout.fillWidth: true
            title: "Пароль"
            systemImage: "lock.fill"
            isSecure: true
            allowsPasswordReveal: true
            onAccepted: login.signIn()
        }
        Text {
            Layout.fillWidth: true
            visible: text !== ""
            text: login.auth.errorMessage
            textFormat: Text.PlainText
            color: AppTheme.error
            font: Typography.font(Typography.Footnote)
            wrapMode: Text.WordWrap
        }
        PrimaryButton {
            objectName: "signInButton"
            text: login.auth.isLoading ? "…" : "Войти"
            enabled: !login.auth.isLoading && email.text !== "" && password.text !== ""
            onClicked: login.signIn()
        }
        Item { Layout.fillHeight: true }
    }
}
