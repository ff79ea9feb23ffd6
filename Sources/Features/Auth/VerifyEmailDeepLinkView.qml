pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// The e-mail verification of a link: sends the token once when shown, then tells the outcome.
// "Закрыть" works in every state; closing before the answer shows nothing of it.
Item {
    id: verify

    objectName: "verifyEmailView"

    required property AuthService auth
    required property string token
    // Lets tests reach the screen's state.
    readonly property alias model: model

    signal closeRequested()

    implicitWidth: 400
    implicitHeight: 260

    Component.onCompleted: model.start()

    VerifyEmailModel {
        id: model
        auth: verify.auth
        token: verify.token
    }

    ColumnLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 24
        spacing: 16

        Text {
            Layout.fillWidth: true
            text: "Подтверждение email"
            wrapMode: Text.WordWrap
            font: Typography.font(Typography.Title2, Font.Bold)
            color: AppTheme.deepBlack
        }

        // A slim track with a running segment: the request has no measurable progress.
        Rectangle {
            id: track

            objectName: "progress"
            Layout.fillWidth: true
            implicitHeight: 4
            radius: 2
            clip: true
            color: AppTheme.withOpacity(AppTheme.primary, 0.15)
            visible: model.status === VerifyEmailModel.Loading

            Rectangle {
                width: track.width / 3
                height: track.height
                radius: track.radius
                color: AppTheme.primary

                NumberAnimation on x {
                    from: -track.width / 3
                    to: track.width
                    duration: 1100
                    loops: Animation.Infinite
                    running: track.visible
                    easing.type: Easing.InOutQuad
                }
            }
        }

        RowLayout {
            objectName: "outcome"
            Layout.fillWidth: true
            visible: model.status !== VerifyEmailModel.Loading
            spacing: 8

            readonly property color tint: model.status === VerifyEmailModel.Success ? AppTheme.success : AppTheme.error

            AppIcon {
                Layout.alignment: Qt.AlignTop
                name: model.status === VerifyEmailModel.Success ? "checkmark.circle.fill"
                                                                : "exclamationmark.triangle.fill"
                color: parent.tint
            }
            // The outcome, either way, is spoken as it shows, with its words.
            AlertText {
                objectName: "outcomeText"
                shown: model.status !== VerifyEmailModel.Loading
                Layout.fillWidth: true
                text: model.message
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font: Typography.font(Typography.Body)
                color: parent.tint
            }
        }

        PrimaryButton {
            objectName: "closeButton"
            text: "Закрыть"
            onClicked: verify.closeRequested()
        }
    }
}
