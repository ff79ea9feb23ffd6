pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Editor

// The editor's title and commands above its content: save status, payments, the actions menu,
// save and, when the host offers it, delete.
Rectangle {
    id: bar

    required property ProjectEditorScreenModel screen
    property bool canDelete: false
    readonly property alias actionsMenu: actionsMenu
    readonly property Item actionsButton: menuButton

    signal deleteRequested()

    implicitHeight: titleRow.implicitHeight + row.implicitHeight + 26
    color: AppTheme.background

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: AppTheme.border
    }

    // The title, and where the save stands beside it.
    RowLayout {
        id: titleRow
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 10
        spacing: 12

        Text {
            objectName: "editorTitle"
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            text: bar.screen.title
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: AppTheme.deepBlack
            font: Typography.font(Typography.Headline)
        }
        SaveStatusLabel {
            Layout.alignment: Qt.AlignTop | Qt.AlignRight
            Layout.maximumWidth: Math.min(260, titleRow.width / 2)
            Layout.preferredWidth: implicitWidth
            editor: bar.screen.editor
        }
    }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titleRow.bottom
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 6
        spacing: 12

        Item {
            Layout.fillWidth: true
        }

        Item {
            id: paymentsCell
            // A click opens the payments sheet: the tip stays away until the pointer comes back,
            // or it would still stand over the title when the sheet closes.
            property bool tipDismissed: false
            // Where the pointer came in. A sheet that closes finds the pointer here without it
            // having moved (its "Готово" stands over this button): the tip waits for a move.
            property point enteredAt
            implicitWidth: payments.implicitWidth
            implicitHeight: payments.implicitHeight
            HoverHandler {
                id: paymentsHover
                onHoveredChanged: {
                    paymentsCell.enteredAt = point.scenePosition
                    if (!hovered)
                        paymentsCell.tipDismissed = false
                }
            }
            ToolTip.visible: paymentsHover.hovered && !paymentsCell.tipDismissed
                             && paymentsHover.point.scenePosition !== paymentsCell.enteredAt
            ToolTip.delay: 600
            ToolTip.text: "Платежи и аналитика проекта"

            SecondaryButton {
                id: payments
                objectName: "paymentsButton"
                text: "Платежи"
                systemImage: "creditcard.fill"
                enabled: !bar.screen.isGuestSession
                onClicked: {
                    paymentsCell.tipDismissed = true
                    bar.screen.showFinance = true
                }
            }
        }

        ToolButton {
            id: menuButton
            objectName: "actionsMenuButton"
            implicitWidth: 34
            implicitHeight: 34
            Accessible.name: "Действия"
            OnboardingSpotlight.active: menuButton.Onboarding.highlight === OnboardingHighlightTarget.editorTemplatesMenu
            OnboardingSpotlight.highlight: OnboardingHighlightTarget.editorTemplatesMenu
            contentItem: AppIcon {
                name: "ellipsis.circle"
                size: 20
                color: AppTheme.primary
            }
            background: Rectangle {
                radius: 8
                color: menuButton.down || actionsMenu.visible ? AppTheme.withOpacity(AppTheme.primary, 0.12)
                                                              : "transparent"
            }
            FocusRing {
                radius: 11
            }
            onClicked: actionsMenu.popup(menuButton, 0, menuButton.height)

            AppMenu {
                id: actionsMenu
                objectName: "editorActionsMenu"
                title: menuButton.Accessible.name

                // Only the entries that apply exist: a hidden MenuItem would still take a row.
                Instantiator {
                    model: bar.screen.menuEntries
                    delegate: AppMenuItem {
                        required property var modelData
                        objectName: "menuEntry-" + modelData.value
                        text: modelData.label
                        systemImage: modelData.icon
                        onTriggered: bar.screen.triggerMenuEntry(modelData.value)
                    }
                    onObjectAdded: (index, object) => actionsMenu.insertItem(index, object)
                    onObjectRemoved: (index, object) => actionsMenu.removeItem(object)
                }
            }
        }

        PrimaryButton {
            id: saveButton
            objectName: "saveButton"
            Layout.fillWidth: false
            topPadding: 8
            bottomPadding: 8
            text: "Сохранить"
            enabled: bar.screen.editor.saveState !== "saving"
            opacity: enabled ? 1 : 0.5
            OnboardingSpotlight.active: saveButton.Onboarding.highlight === OnboardingHighlightTarget.editorSaveExport
            OnboardingSpotlight.highlight: OnboardingHighlightTarget.editorSaveExport
            onClicked: bar.screen.editor.save()
        }

        SecondaryButton {
            objectName: "deleteButton"
            visible: bar.canDelete
            text: "Удалить"
            color: AppTheme.error
            onClicked: bar.deleteRequested()
        }
    }
}
