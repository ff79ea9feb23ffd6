import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services

// Stand-in of the welcome screen: the two ways on.
Rectangle {
    id: welcome

    required property AuthService auth
    property bool guestModeActive: false
    property bool showLoginSheet: false

    gradient: Gradient {
        GradientStop { position: 0; color: AppTheme.primary }
        GradientStop { position: 1; color: AppTheme.accent }
    }

    Column {
        anchors.centerIn: parent
        width: Math.min(Math.max(welcome.width - 48, 320), 440) - 56
        spacing: 28

        Column {
            width: parent.width
            spacing: 10
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Tessmark"
                color: "white"
                font.pixelSize: 26
                font.bold: true
            }
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Сметы на устройстве или в облаке"
                color: Qt.rgba(1, 1, 1, 0.82)
            }
        }

        Rectangle {
            width: parent.width
            height: card.implicitHeight + 48
            radius: AppTheme.cornerRadiusLarge
            color: AppTheme.cardBackground

            Column {
                id: card
                anchors.fill: parent
                anchors.margins: 24
                spacing: 16
                Label {
                    width: parent.width
                    wrapMode: Text.WordWrap
                    color: AppTheme.textSecondary
                    text: "Продолжайте без аккаунта — сметы и черновики хранятся только на этом устройстве. Войдите в аккаунт, чтобы синхронизировать проекты с облаком и веб-версией."
                }
                Button {
                    objectName: "guestButton"
                    width: parent.width
                    text: "Продолжить как гость"
                    highlighted: true
                    onClicked: welcome.guestModeActive = true
                }
                Button {
                    objectName: "signInButton"
                    width: parent.width
                    text: "Войти или зарегистрироваться"
                    flat: true
                    enabled: !welcome.auth.isLoading
                    onClicked: welcome.showLoginSheet = true
                }
            }
        }
    }
}
