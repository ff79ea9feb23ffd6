pragma ComponentBehavior: Bound
import QtQuick
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Password recovery, inside the sheet of the sign-in screen: the backend mails a reset link to
// the address. The error line is this screen's own.
Item {
    id: forgot

    objectName: "forgotPasswordView"

    required property AuthService auth
    // Lets tests reach the screen's state.
    readonly property alias model: model

    readonly property bool compact: forgot.AdaptiveMetrics.isCompact

    implicitWidth: 400
    implicitHeight: 420

    Component.onCompleted: emailField.input.forceActiveFocus()

    ForgotPasswordModel {
        id: model
        auth: forgot.auth
    }

    AccountScrollView {
        id: scroller

        anchors.fill: parent
        contentHeight: column.height + 2 * column.y

        Column {
            id: column

            readonly property real inset: AccountScreenMetrics.sideInset(forgot.compact)

            width: Math.min(AccountScreenMetrics.columnWidth(forgot.AdaptiveMetrics.width), scroller.width - 2 * inset)
            x: (scroller.width - width) / 2
            y: inset
            spacing: 16
            SubmitOnReturn.onSubmitted: model.send()

            Text {
                width: parent.width
                text: "Восстановление пароля"
                wrapMode: Text.WordWrap
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }
            Text {
                width: parent.width
                text: "Мы отправим ссылку для сброса пароля на ваш email."
                wrapMode: Text.WordWrap
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.textSecondary
            }
            AppTextField {
                id: emailField
                objectName: "emailField"
                width: parent.width
                title: "Email"
                systemImage: "envelope.fill"
                input.activeFocusOnTab: true
                text: model.email
                onTextChanged: model.email = text
            }
            Rectangle {
                objectName: "successBox"
                width: parent.width
                visible: model.hasSuccess
                implicitHeight: success.implicitHeight + 24
                radius: 10
                color: AppTheme.withOpacity(AppTheme.success, 0.12)

                Text {
                    id: success
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.margins: 12
                    text: model.successMessage
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.success
                }
            }
            AlertText {
                objectName: "errorLine"
                width: parent.width
                shown: model.hasError
                text: model.errorText
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.error
            }
            PrimaryButton {
                objectName: "sendButton"
                width: parent.width
                text: "Отправить письмо"
                busy: forgot.auth.isLoading
                // While busy it keeps the keys that pressed it; a press then does nothing.
                enabled: model.canSend || busy
                onClicked: model.send()
            }
        }
    }
}
