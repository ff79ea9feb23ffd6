import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services

// Stand-in of the new-password screen of a reset link.
Item {
    id: reset

    required property AuthService auth
    required property string token
    property string message: ""

    signal closeRequested()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 12
        TextField {
            id: password
            Layout.fillWidth: true
            placeholderText: "Новый пароль"
            echoMode: TextInput.Password
        }
        Label {
            Layout.fillWidth: true
            visible: text !== ""
            text: reset.message !== "" ? reset.message : reset.auth.errorMessage
            wrapMode: Text.WordWrap
            color: reset.message !== "" ? AppTheme.deepBlack : AppTheme.error
        }
        Button {
            Layout.fillWidth: true
            text: "Сохранить"
            highlighted: true
            enabled: !reset.auth.isLoading && password.text !== ""
            onClicked: reset.auth.resetPassword(reset.token, password.text).then(function(result) {
                reset.message = result || ""
            })
        }
        Item { Layout.fillHeight: true }
        Button {
            text: "Закрыть"
            onClicked: reset.closeRequested()
        }
    }
}
