import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services

// Stand-in of the sign-in screen: e-mail and password through the shared sign-in service.
Item {
    id: login

    required property AuthService auth

    implicitWidth: 440
    implicitHeight: form.implicitHeight + 48

    ColumnLayout {
        id: form
        anchors.fill: parent
        anchors.margins: 24
        spacing: 12

        Label {
            text: "Вход"
            font.pixelSize: 22
            font.bold: true
            color: AppTheme.deepBlack
        }
        TextField {
            id: email
            objectName: "emailField"
            Layout.fillWidth: true
            placeholderText: "Email"
            inputMethodHints: Qt.ImhEmailCharactersOnly
        }
        TextField {
            id: password
            objectName: "passwordField"
            Layout.fillWidth: true
            placeholderText: "Пароль"
            echoMode: TextInput.Password
            onAccepted: signIn.clicked()
        }
        Label {
            Layout.fillWidth: true
            visible: text !== ""
            text: login.auth.errorMessage
            color: AppTheme.error
            wrapMode: Text.WordWrap
        }
        Button {
            id: signIn
            objectName: "signInButton"
            Layout.fillWidth: true
            text: login.auth.isLoading ? "…" : "Войти"
            highlighted: true
            enabled: !login.auth.isLoading && email.text !== "" && password.text !== ""
            onClicked: login.auth.login(email.text, password.text)
        }
        Item { Layout.fillHeight: true }
    }
}
