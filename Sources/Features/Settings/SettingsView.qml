pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Settings

// The settings section: one column of cards (the guest's invitation, appearance, the tour,
// profile, tips, version) and the way out at the bottom.
ScrollView {
    id: settings

    objectName: "settingsView"

    required property AuthService auth
    required property bool isGuest
    readonly property alias viewModel: settingsModel

    contentWidth: availableWidth
    // Explicit: the sign-in sheet is a second item inside, which stops the view from measuring.
    contentHeight: page.implicitHeight
    ScrollBar.vertical.policy: ScrollBar.AsNeeded
    ScrollBar.vertical.Accessible.name: "Прокрутка: Настройки"
    background: Rectangle { color: AppTheme.background }

    SettingsViewModel {
        id: settingsModel

        auth: settings.auth
        isGuest: settings.isGuest
    }

    Component.onCompleted: settingsModel.restoreSession()

    // The card the tour lights is held in view while it is lit, as the layout settles.
    readonly property Item litCard: appearanceCard.OnboardingSpotlight.active ? appearanceCard
                                  : tourCard.OnboardingSpotlight.active ? tourCard
                                  : tipsCard.OnboardingSpotlight.active ? tipsCard : null
    Binding {
        target: settings.contentItem
        property: "contentY"
        when: settings.litCard !== null
        value: settings.litCard ? settingsModel.scrollToReveal(settings.litCard.y + column.y, settings.litCard.height,
                                                               settings.height, settings.contentHeight, 0)
                                : 0
        restoreMode: Binding.RestoreNone
    }

    component CardTitle: Row {
        required property string title
        required property string icon

        spacing: 8

        AppIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: parent.icon
            color: AppTheme.primary
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: parent.title
            font: Typography.font(Typography.Headline)
            color: AppTheme.primary
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    component Description: Text {
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Layout.fillWidth: true
        wrapMode: Text.WordWrap
        font: Typography.font(Typography.Subheadline)
        color: AppTheme.textSecondary
    }

    // A caption over a value that can be selected and copied.
    component ProfileRow: ColumnLayout {
        id: row

        required property string title
        required property string value

        Layout.fillWidth: true
        spacing: 4
        Accessible.role: Accessible.StaticText
        Accessible.name: title
        Accessible.description: value

        Text {
            text: row.title
            font: Typography.font(Typography.Caption, Font.Medium)
            color: AppTheme.textSecondary
        }
        TextEdit {
            objectName: "profileValue"
            Layout.fillWidth: true
            text: row.value
            textFormat: TextEdit.PlainText
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.Wrap
            font: Typography.font(Typography.Body)
            color: AppTheme.deepBlack
            selectionColor: AppTheme.withOpacity(AppTheme.accent, 0.35)
            selectedTextColor: AppTheme.deepBlack
        }
    }

    component TipRow: RowLayout {
        id: tip

        required property string modelData

        Layout.fillWidth: true
        spacing: 8

        AppIcon {
            Layout.alignment: Qt.AlignTop
            Layout.topMargin: 2
            name: "checkmark.circle.fill"
            size: Typography.font(Typography.Caption).pixelSize
            color: AppTheme.accent
        }
        Text {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            text: tip.modelData
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            wrapMode: Text.WordWrap
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.deepBlack
        }
    }

    Item {
        id: page

        width: settings.availableWidth
        implicitHeight: column.implicitHeight + 2 * column.frame.y

        ColumnLayout {
            id: column

            objectName: "settingsColumn"
            readonly property rect frame: settingsModel.columnFrame(
                parent.width, settings.AdaptiveMetrics.placeholderMaxWidth, settings.AdaptiveMetrics.placeholderPadding)

            x: frame.x
            y: frame.y
            width: frame.width
            spacing: 20

            Text {
                objectName: "settingsTitle"
                text: "Настройки"
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }

            AppCard {
                objectName: "guestAccountCard"
                Layout.fillWidth: true
                visible: settings.isGuest
                inset: 16
                spacing: 12

                CardTitle { title: "Личный аккаунт"; icon: "person.crop.circle.badge.plus" }
                Description {
                    text: "Вы работаете локально на устройстве. Войдите в аккаунт, чтобы сохранить проекты в облаке, открыть платежи и аналитику."
                }
                PrimaryButton {
                    objectName: "settingsSignInButton"
                    text: "Войти или создать аккаунт"
                    onClicked: loginSheet.open()
                }
            }

            AppCard {
                id: appearanceCard

                objectName: "appearanceCard"
                Layout.fillWidth: true
                inset: 16
                spacing: 14
                OnboardingSpotlight.active: appearanceCard.Onboarding.highlight === OnboardingHighlightTarget.settingsAppearance
                OnboardingSpotlight.highlight: OnboardingHighlightTarget.settingsAppearance

                CardTitle { title: "Оформление"; icon: "paintbrush.fill" }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 6

                    Text {
                        text: "Тема"
                        font: Typography.font(Typography.Subheadline)
                        color: AppTheme.textSecondary
                    }
                    AppSegmentedControl {
                        objectName: "themePicker"
                        Layout.fillWidth: true
                        options: settingsModel.themeOptions
                        selection: settingsModel.theme
                        onActivated: value => settingsModel.chooseTheme(value)
                    }
                }
            }

            AppCard {
                id: tourCard

                objectName: "tourCard"
                Layout.fillWidth: true
                inset: 16
                spacing: 12
                OnboardingSpotlight.active: tourCard.Onboarding.highlight === OnboardingHighlightTarget.settingsGuidedTour
                OnboardingSpotlight.highlight: OnboardingHighlightTarget.settingsGuidedTour

                CardTitle { title: "Обучение"; icon: "map.fill" }
                Description {
                    text: "Тур по приложению: проекты и смета, шаблоны, сохранение и экспорт, разделы. На экране подсвечиваются нужные кнопки — нажимайте «Далее» и читайте подсказки."
                }
                PrimaryButton {
                    objectName: "replayTourButton"
                    text: "Пройти обучение"
                    onClicked: settingsModel.replayTour()
                }
            }

            AppCard {
                objectName: "profileCard"
                Layout.fillWidth: true
                inset: 16
                spacing: 14

                CardTitle { title: "Профиль"; icon: "person.crop.circle.fill" }
                Description {
                    objectName: "profileGuestText"
                    visible: settingsModel.profileState === SettingsViewModel.Guest
                    text: "Гостевой режим — данные смет хранятся на устройстве (SQLite). ИИ-смета недоступна без аккаунта."
                }
                RowLayout {
                    objectName: "profileLoading"
                    visible: settingsModel.profileState === SettingsViewModel.Loading
                    spacing: 10

                    BusyIndicator {
                        Layout.alignment: Qt.AlignVCenter
                        Layout.preferredWidth: 20
                        Layout.preferredHeight: 20
                        running: parent.visible
                    }
                    Text {
                        Layout.alignment: Qt.AlignVCenter
                        text: "Загрузка…"
                        font: Typography.font(Typography.Body)
                        color: AppTheme.textSecondary
                    }
                }
                ProfileRow {
                    objectName: "profileEmail"
                    visible: settingsModel.profileState === SettingsViewModel.Account
                    title: "Email"
                    value: settingsModel.email
                }
                ProfileRow {
                    objectName: "profileName"
                    visible: settingsModel.profileState === SettingsViewModel.Account && settingsModel.displayName !== ""
                    title: "Имя"
                    value: settingsModel.displayName
                }
                Text {
                    objectName: "profileSyncText"
                    Layout.fillWidth: true
                    visible: settingsModel.profileState === SettingsViewModel.Account
                    text: "Проекты синхронизируются с облаком."
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Caption)
                    color: AppTheme.textSecondary
                }
                Text {
                    objectName: "profileUnavailable"
                    Layout.fillWidth: true
                    visible: settingsModel.profileState === SettingsViewModel.Unavailable
                    text: "Не удалось загрузить профиль"
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Body)
                    color: AppTheme.textSecondary
                }
            }

            AppCard {
                id: tipsCard

                objectName: "tipsCard"
                Layout.fillWidth: true
                inset: 16
                spacing: 12
                OnboardingSpotlight.active: tipsCard.Onboarding.highlight === OnboardingHighlightTarget.settingsTips
                OnboardingSpotlight.highlight: OnboardingHighlightTarget.settingsTips

                CardTitle { title: "Подсказки"; icon: "lightbulb.fill" }
                Repeater {
                    objectName: "tipRows"
                    model: settingsModel.tips
                    TipRow {}
                }
            }

            AppCard {
                objectName: "aboutCard"
                Layout.fillWidth: true
                inset: 16
                spacing: 10

                CardTitle { title: "О приложении"; icon: "info.circle.fill" }
                ProfileRow { objectName: "versionRow"; title: "Версия"; value: settingsModel.versionText }
                ProfileRow { objectName: "buildRow"; title: "Сборка"; value: "Tessmark Native" }
            }

            // The way out: one click, no confirmation.
            T.AbstractButton {
                id: leaveButton

                objectName: "leaveButton"
                Layout.fillWidth: true
                text: settings.isGuest ? "Выйти из гостевого режима" : "Выйти"
                padding: 16
                implicitWidth: implicitContentWidth + leftPadding + rightPadding
                implicitHeight: implicitContentHeight + topPadding + bottomPadding
                opacity: pressed ? 0.7 : 1
                onClicked: settingsModel.leave()

                contentItem: RowLayout {
                    spacing: 8

                    AppIcon {
                        name: settings.isGuest ? "door.left.hand.open" : "rectangle.portrait.and.arrow.right"
                        color: AppTheme.error
                    }
                    Text {
                        Layout.fillWidth: true
                        text: leaveButton.text
                        elide: Text.ElideRight
                        font: Typography.font(Typography.Body, Font.DemiBold)
                        color: AppTheme.error
                    }
                }

                background: Rectangle {
                    radius: AppTheme.cornerRadiusMedium
                    color: AppTheme.cardBackground
                    border.width: 1
                    border.color: AppTheme.withOpacity(AppTheme.error, 0.25)
                }

                FocusRing {
                    radius: AppTheme.cornerRadiusMedium + 3
                }
            }
        }
    }

    SettingsLoginSheet {
        id: loginSheet

        auth: settings.auth
    }
}
