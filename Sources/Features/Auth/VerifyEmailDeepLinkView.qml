import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services

// Stand-in of the e-mail verification screen of a link.
Item {
    id: verify

    required property AuthService auth
    required property string token
    property bool loading: true
    property string message: ""

    signal closeRequested()

    Component.onCompleted: {
        auth.verifyEmail(token).then(function(result) {
            verify.loading = false
            verify.message = result ? result
                           : (verify.auth.errorMessage !== "" ? verify.auth.errorMessage : "Не удалось подтвердить email")
        })
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 16
        BusyIndicator { running: verify.loading; visible: verify.loading }
        Label {
            Layout.fillWidth: true
            text: verify.message
            wrapMode: Text.WordWrap
            color: AppTheme.deepBlack
        }
        Item { Layout.fillHeight: true }
        Button {
            text: "Закрыть"
            onClicked: verify.closeRequested()
        }
    }
}
