import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Tessmark.Design

// The catalog's spheres as chips under the heading "Сфера", in as many rows as they need. The host binds
// `selectedSphereId` and hears of a press through its change; an identifier that no sphere has
// marks no chip.
Column {
    id: root

    property string selectedSphereId

    spacing: 8

    Text {
        text: "Сфера"
        font: Typography.font(Typography.Subheadline, Font.Medium)
        color: AppTheme.textSecondary
    }

    // Every sphere in view: chips that do not fit go on to the next row.
    Item {
        width: parent.width
        height: chips.implicitHeight

        Flow {
            id: chips

            objectName: "sphereChips"
            width: parent.width
            spacing: 8

            // One Tab stop; the arrow keys move the choice.
            ChoiceGroup {
                id: choices
                repeater: sphereRepeater
            }

            Repeater {
                id: sphereRepeater
                model: CatalogSpheres.list()

                delegate: T.RadioButton {
                    id: chip

                    required property var modelData
                    required property int index
                    readonly property bool selected: root.selectedSphereId === modelData.id

                    objectName: "sphereChip-" + modelData.id
                    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                                            implicitContentWidth + leftPadding + rightPadding)
                    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                                             implicitContentHeight + topPadding + bottomPadding)
                    padding: 0
                    leftPadding: 12
                    rightPadding: 12
                    topPadding: 8
                    bottomPadding: 8
                    focusPolicy: choices.isTabStop(index) ? Qt.StrongFocus : Qt.ClickFocus
                    Keys.onPressed: event => choices.move(index, event)
                    text: modelData.name
                    checked: selected
                    Accessible.name: modelData.name
                    onClicked: root.selectedSphereId = modelData.id

                    contentItem: Row {
                        spacing: 6

                        Text {
                            visible: chip.modelData.icon !== ""
                            anchors.verticalCenter: parent.verticalCenter
                            text: chip.modelData.icon
                            textFormat: Text.PlainText
                            font: Typography.font(Typography.Subheadline)
                            color: nameText.color
                        }
                        Text {
                            id: nameText

                            anchors.verticalCenter: parent.verticalCenter
                            text: chip.modelData.name
                            textFormat: Text.PlainText
                            font: Typography.font(Typography.Subheadline,
                                                  chip.selected ? Font.DemiBold : Font.Normal)
                            color: chip.selected ? (AppTheme.dark ? AppTheme.background : "white")
                                                 : AppTheme.deepBlack
                        }
                    }

                    background: Rectangle {
                        radius: height / 2
                        color: chip.selected ? AppTheme.accent : AppTheme.fieldBackground
                        border.width: 1
                        border.color: chip.selected ? AppTheme.accent : AppTheme.border

                        FocusRing {
                            radius: height / 2
                            shown: chip.visualFocus
                        }
                    }
                }
            }
        }
    }
}
