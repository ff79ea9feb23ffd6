pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Auth

// The offer to move the device's projects into the account: the counts, the policy to apply
// and the failure of the last run. Nothing closes it while a migration runs.
AppSheet {
    id: sheet

    objectName: "localDataMigrationSheet"

    // The window's offer: shown while it says so; closing the sheet closes the offer.
    required property LocalDataMigrationOffer offer
    readonly property alias model: migration

    visible: false
    title: "Локальные черновики"
    minimumWidth: 480
    // Room for the form with its error section without scrolling.
    minimumHeight: 560
    cancelText: "Не сейчас"
    confirmText: migration.isRunning ? "…" : "Применить"
    confirmEnabled: !migration.isRunning
    // A dismissal in the middle of a run would report a skip while projects are moving.
    cancelEnabled: !migration.isRunning

    Connections {
        target: sheet.offer
        function onShownChanged() { sheet.offer.shown ? sheet.open() : sheet.close() }
    }
    // The keyboard starts at the chosen policy, the form's first control.
    onOpenedChanged: {
        if (sheet.opened)
            FocusLanding.land(policyChoices.tabStop())
    }
    onCancelled: sheet.offer.skip()
    onConfirmed: migration.apply()
    onClosed: sheet.offer.close()

    LocalDataMigrationSheetModel {
        id: migration

        offer: sheet.offer
        // Reported only after the window's list was reloaded.
        onFinished: sheet.close()
    }

    // A section of the grouped form: an optional header over a rounded group.
    component FormSection: ColumnLayout {
        id: section

        property string header
        default property alias content: group.data

        Layout.fillWidth: true
        spacing: 6

        Text {
            Layout.leftMargin: 12
            visible: section.header !== ""
            text: section.header
            font: Typography.font(Typography.Footnote, Font.DemiBold)
            color: AppTheme.textSecondary
        }
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: group.implicitHeight + 24
            radius: AppTheme.cornerRadiusSmall
            color: AppTheme.cardBackground
            border.width: 1
            border.color: AppTheme.border

            ColumnLayout {
                id: group

                anchors.fill: parent
                anchors.margins: 12
                spacing: 8
            }
        }
    }

    Flickable {
        id: flick

        anchors.fill: parent
        contentWidth: width
        contentHeight: form.implicitHeight + 40
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        ColumnLayout {
            id: form

            x: 20
            y: 20
            width: flick.width - 40
            spacing: 18

            FormSection {
                Text {
                    objectName: "migrationCounts"
                    Layout.fillWidth: true
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: migration.countsText
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.textSecondary
                }
            }

            FormSection {
                header: "Политика"

                Text {
                    text: "Действие"
                    font: Typography.font(Typography.Body, Font.Medium)
                    color: AppTheme.deepBlack
                }
                ColumnLayout {
                    objectName: "policyPicker"
                    Layout.fillWidth: true
                    spacing: 0

                    // One Tab stop; the arrow keys move the choice.
                    ChoiceGroup {
                        id: policyChoices
                        repeater: policyRepeater
                    }

                    Repeater {
                        id: policyRepeater
                        model: migration.policies

                        T.RadioButton {
                            id: option

                            required property int index
                            required property string value
                            required property string label
                            readonly property bool chosen: migration.policy === value

                            objectName: "policy-" + value
                            Layout.fillWidth: true
                            enabled: !migration.isRunning
                            implicitHeight: 36
                            text: label
                            checked: chosen
                            focusPolicy: policyChoices.isTabStop(index) ? Qt.StrongFocus : Qt.ClickFocus
                            Keys.onPressed: event => policyChoices.move(index, event)
                            Accessible.name: label
                            onClicked: migration.policy = value

                            FocusRing {}

                            contentItem: RowLayout {
                                spacing: 10

                                Rectangle {
                                    implicitWidth: 18
                                    implicitHeight: 18
                                    radius: 9
                                    color: "transparent"
                                    border.width: option.chosen ? 5 : 1.5
                                    border.color: option.chosen ? AppTheme.accent : AppTheme.textSecondary
                                    opacity: option.enabled ? 1 : 0.5
                                }
                                Text {
                                    Layout.fillWidth: true
                                    text: option.label
                                    elide: Text.ElideRight
                                    font: Typography.font(Typography.Body)
                                    color: AppTheme.deepBlack
                                    opacity: option.enabled ? 1 : 0.5
                                }
                            }

                            background: Rectangle {
                                color: option.hovered ? AppTheme.fieldBackground : "transparent"
                                radius: 6
                                Rectangle {
                                    visible: option.index > 0
                                    anchors.left: parent.left
                                    anchors.right: parent.right
                                    anchors.leftMargin: 28
                                    height: 1
                                    color: AppTheme.border
                                }
                            }
                        }
                    }
                }
                Text {
                    objectName: "policyExplanation"
                    Layout.fillWidth: true
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: migration.explanation
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Footnote)
                    color: AppTheme.textSecondary
                }
            }

            FormSection {
                objectName: "migrationErrorSection"
                visible: migration.errorText !== ""

                AlertText {
                    objectName: "migrationError"
                    Layout.fillWidth: true
                    text: migration.errorText
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Body)
                }
            }
        }
    }
}
