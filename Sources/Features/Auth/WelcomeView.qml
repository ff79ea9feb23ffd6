import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Stand-in of the welcome screen: the two ways on.
Item {
    id: welcome

    required property AuthService auth
    property bool guestModeActive: false
    property bool showLoginSheet: false

    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    AuthGradient { anchors.fill: parent }

    Column {
        anchors.centerIn: parent
        width: Math.min(Math.max(welcome.width - 48, 320), 440) - 56
        spacing: 28

        Column {
            width: parent.width
            spacing: 10
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Tessmark"
                color: "white"
                font: Typography.sized(26, Font.Bold)
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Сметы на устройстве или в облаке"
                color: Qt.rgba(1, 1, 1, 0.82)
                font: Typography.font(Typography.Subheadline)
            }
        }

        AppCard {
            id: welcomeCard
            width: parent.width
            inset: 24

            Column {
                id: card
                width: welcomeCard.availableWidth
                spacing: 16
                Text {
                    width: parent.width
                    wrapMode: Text.WordWrap
                    color: AppTheme.textSecondary
                    font: Typography.font(Typography.Subheadline)
                    text: "Продолжайте без аккаунта — сметы и черновики хранятся только на этом устройстве. Войдите в аккаунт, чтобы синхронизировать проекты с облаком и веб-версией."
                }
                PrimaryButton {
                    objectName: "guestButton"
                    width: parent.width
                    text: "Продолжить как гость"
                    onClicked: welcome.guestModeActive = true
                }
                SecondaryButton {
                    objectName: "signInButton"
                    width: parent.width
                    text: "Войти или зарегистрироваться"
                    enabled: !welcome.auth.isLoading
                    onClicked: welcome.showLoginSheet = true
                }
            }
        }
    }
}
