pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// The first screen when nobody is signed in and guest mode is off: two ways on. Each button only
// sets one of the flags the root view owns; the root does the rest.
Item {
    id: welcome

    required property AuthService auth
    property bool guestModeActive: false
    property bool showLoginSheet: false

    readonly property bool compact: welcome.AdaptiveMetrics.isCompact

    implicitWidth: 440
    implicitHeight: 520
    // The keyboard starts on the first way on, and comes back there when it has no place.
    function focusFirstControl() {
        FocusLanding.land(guestButton)
    }
    Component.onCompleted: focusFirstControl()
    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    AuthGradient {
        anchors.fill: parent
    }

    AccountScrollView {
        id: scroller

        anchors.fill: parent
        contentHeight: column.height + column.y + 28

        // The column with its side inset is capped, then centred.
        Column {
            id: column

            readonly property real inset: AccountScreenMetrics.sideInset(welcome.compact)
            readonly property real outerWidth: Math.min(AccountScreenMetrics.columnWidth(welcome.AdaptiveMetrics.width),
                                                        scroller.width)

            width: outerWidth - 2 * inset
            x: (scroller.width - width) / 2
            y: AccountScreenMetrics.welcomeTopInset(welcome.compact)
            spacing: 28

            AccountBranding {
                width: parent.width
                tagline: "Сметы на устройстве или в облаке"
            }

            AccountCard {
                objectName: "welcomeCard"
                width: parent.width
                spacing: 16

                Text {
                    Layout.fillWidth: true
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    wrapMode: Text.WordWrap
                    color: AppTheme.textSecondary
                    font: Typography.font(Typography.Subheadline)
                    text: "Продолжайте без аккаунта — сметы и черновики хранятся только на этом устройстве. Войдите в аккаунт, чтобы синхронизировать проекты с облаком и веб-версией."
                }
                PrimaryButton {
                    id: guestButton
                    objectName: "guestButton"
                    text: "Продолжить как гость"
                    onClicked: welcome.guestModeActive = true
                }
                SecondaryButton {
                    objectName: "signInButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Войти или зарегистрироваться"
                    enabled: !welcome.auth.isLoading
                    onClicked: welcome.showLoginSheet = true
                }
            }
        }
    }
}
