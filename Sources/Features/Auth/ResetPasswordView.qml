pragma ComponentBehavior: Bound
import QtQuick
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// A new password for the token of a reset link. It neither signs in nor closes by itself: the
// user leaves it with the sheet's "Закрыть", where `succeeded` asks the keys to go once the
// password is changed. A link refused at once shows why, and no entries; the outcome, refused or
// changed, is spoken as it shows.
Item {
    id: reset

    objectName: "resetPasswordView"

    required property AuthService auth
    required property string token
    // Lets tests reach the screen's state.
    readonly property alias model: model

    signal closeRequested()
    // The password is changed: nothing is left to do here but to close.
    signal succeeded()

    implicitWidth: 400
    implicitHeight: 420

    Component.onCompleted: {
        if (!model.tokenRefused)
            passwordField.input.forceActiveFocus()
    }

    ResetPasswordModel {
        id: model
        auth: reset.auth
        token: reset.token
        onSuccessChanged: {
            if (hasSuccess)
                reset.succeeded()
        }
    }

    AccountScrollView {
        id: scroller

        anchors.fill: parent
        contentHeight: column.height + 48

        Column {
            id: column

            x: 24
            y: 24
            width: scroller.width - 48
            spacing: 16
            SubmitOnReturn.onSubmitted: model.save()

            Text {
                width: parent.width
                text: "Новый пароль"
                wrapMode: Text.WordWrap
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }
            Text {
                width: parent.width
                visible: !model.tokenRefused
                text: "Задайте новый пароль для входа в аккаунт."
                wrapMode: Text.WordWrap
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.textSecondary
            }
            AppTextField {
                id: passwordField
                objectName: "passwordField"
                width: parent.width
                visible: !model.tokenRefused
                title: "Новый пароль"
                systemImage: "lock.fill"
                isSecure: true
                allowsPasswordReveal: true
                input.activeFocusOnTab: true
                text: model.password
                onTextChanged: model.password = text
            }
            AppTextField {
                objectName: "confirmField"
                width: parent.width
                visible: !model.tokenRefused
                title: "Подтверждение"
                systemImage: "lock.fill"
                isSecure: true
                allowsPasswordReveal: true
                input.activeFocusOnTab: true
                text: model.confirm
                onTextChanged: model.confirm = text
            }
            AlertText {
                objectName: "successLine"
                width: parent.width
                shown: model.hasSuccess
                text: model.successMessage
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.success
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
                objectName: "saveButton"
                width: parent.width
                visible: !model.tokenRefused
                text: "Сохранить пароль"
                busy: reset.auth.isLoading
                // While busy it keeps the keys that pressed it; a press then does nothing.
                enabled: model.canSave || busy
                onClicked: model.save()
            }
        }
    }
}
