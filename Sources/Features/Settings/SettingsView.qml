import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services

// Stand-in of the settings screen: appearance, the tour, tips and the account.
ScrollView {
    id: settings
    objectName: "settingsView"

    required property AuthService auth
    required property bool isGuest

    contentWidth: availableWidth
    background: Rectangle { color: AppTheme.background }

    AppAppearanceStore { id: appearance }

    component Card: Rectangle {
        id: card
        property string title
        property string highlight
        default property alias content: body.data
        Layout.fillWidth: true
        implicitHeight: body.implicitHeight + 32
        radius: AppTheme.cornerRadiusMedium
        color: AppTheme.cardBackground
        border.color: AppTheme.border
        OnboardingSpotlight.active: card.highlight !== "" && card.Onboarding.highlight === card.highlight
        OnboardingSpotlight.highlight: card.highlight
        ColumnLayout {
            id: body
            anchors.fill: parent
            anchors.margins: 16
            spacing: 10
            Text {
                text: card.title
                font: Typography.font(Typography.Headline)
                color: AppTheme.deepBlack
            }
        }
    }

    ColumnLayout {
        width: Math.min(settings.availableWidth, 640) - 40
        x: (settings.availableWidth - width) / 2
        spacing: 16

        Item { implicitHeight: 4 }

        Text {
            text: "Настройки"
            font: Typography.font(Typography.Title2, Font.Bold)
            color: AppTheme.deepBlack
        }

        Card {
            title: "Оформление"
            highlight: OnboardingHighlightTarget.settingsAppearance
            AppSegmentedControl {
                Layout.fillWidth: true
                options: [{ value: "system", label: "Как в системе" }, { value: "light", label: "Светлая" },
                          { value: "dark", label: "Тёмная" }]
                selection: appearance.preference
                onActivated: value => appearance.preference = value
            }
        }

        Card {
            title: "Обучение"
            highlight: OnboardingHighlightTarget.settingsGuidedTour
            Label {
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                color: AppTheme.textSecondary
                text: "Тур по приложению: проекты и смета, шаблоны, сохранение и экспорт, разделы. На экране подсвечиваются нужные кнопки — нажимайте «Далее» и читайте подсказки."
            }
            SecondaryButton {
                objectName: "replayTourButton"
                Layout.fillWidth: true
                text: "Пройти обучение"
                onClicked: {
                    const nonce = Number(Preferences.value("estimate.onboarding.replayRequestNonce", 0)) || 0
                    Preferences.setValue("estimate.onboarding.replayRequestNonce", nonce + 1)
                    Preferences.setValue("estimate.onboarding.main.completedVersion", 0)
                    Preferences.setValue("estimate.onboarding.welcomeIntro.v1.done", false)
                }
            }
        }

        Card {
            title: "Подсказки"
            highlight: OnboardingHighlightTarget.settingsTips
            Label {
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                color: AppTheme.textSecondary
                text: "Сохраняйте смету перед экспортом — так вы не потеряете правки."
            }
        }

        Card {
            title: settings.isGuest ? "Личный аккаунт" : "Профиль"
            Label {
                Layout.fillWidth: true
                wrapMode: Text.WordWrap
                color: AppTheme.textSecondary
                text: settings.isGuest
                      ? "Вы работаете локально на устройстве. Войдите в аккаунт, чтобы сохранить проекты в облаке, открыть платежи и аналитику."
                      : (settings.auth.hasUser ? settings.auth.user.email : "")
                textFormat: Text.PlainText
            }
            SecondaryButton {
                objectName: "leaveButton"
                Layout.fillWidth: true
                text: settings.isGuest ? "Выйти из гостевого режима" : "Выйти"
                onClicked: {
                    if (settings.isGuest)
                        Preferences.setValue("guest_mode_active", false)
                    else
                        settings.auth.logout()
                }
            }
        }

        Item { implicitHeight: 12 }
    }
}
