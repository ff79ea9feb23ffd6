import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Stand-in of the e-mail verification screen of a link.
Item {
    id: verify

    required property AuthService auth
    required property string token
    property bool loading: true
    property string message: ""

    signal closeRequested()

    AccountActions {
        id: actions
        auth: verify.auth
        onEmailVerified: result => {
            verify.loading = false
            verify.message = result ? result : (verify.auth.errorMessage || "Не удалось подтвердить email")
        }
    }
    Component.onCompleted: actions.verifyEmail(token)

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 28
        spacing: 16
        BusyIndicator {
            Layout.alignment: Qt.AlignHCenter
            running: verify.loading
            visible: verify.loading
        }
        Text {
            Layout.fillWidth: true
            text: verify.message
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            color: AppTheme.deepBlack
            font: Typography.font(Typography.Body)
        }
        Item { Layout.fillHeight: true }
        SecondaryButton {
            Layout.fillWidth: true
            text: "Закрыть"
            onClicked: verify.closeRequested()
        }
    }
}
