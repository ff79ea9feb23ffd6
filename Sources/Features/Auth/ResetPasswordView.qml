import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Stand-in of the new-password screen of a reset link.
Item {
    id: reset

    required property AuthService auth
    required property string token
    property string message: ""

    signal closeRequested()

    AccountActions {
        id: actions
        auth: reset.auth
        onPasswordReset: result => reset.message = result || ""
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 28
        spacing: 16
        AppTextField {
            id: password
            Layout.fillWidth: true
            title: "Новый пароль"
            systemImage: "lock.fill"
            isSecure: true
            allowsPasswordReveal: true
        }
        Text {
            Layout.fillWidth: true
            visible: text !== ""
            text: reset.message !== "" ? reset.message : reset.auth.errorMessage
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            color: reset.message !== "" ? AppTheme.deepBlack : AppTheme.error
            font: Typography.font(Typography.Footnote)
        }
        PrimaryButton {
            text: "Сохранить"
            enabled: !reset.auth.isLoading && password.text !== ""
            onClicked: actions.resetPassword(reset.token, password.text)
        }
        Item { Layout.fillHeight: true }
        SecondaryButton {
            Layout.fillWidth: true
            text: "Закрыть"
            onClicked: reset.closeRequested()
        }
    }
}
