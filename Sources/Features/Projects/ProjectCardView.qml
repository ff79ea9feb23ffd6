pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Tessmark.Design

// One guest project card in its grid cell: name, client, storage note and status on top, hours
// and cost below, at the foot of the cell however tall the row. Carries the tour's spotlight for
// the demo project.
Item {
    id: cell

    required property string projectId
    required property string name
    required property string clientName
    required property string status
    required property string hoursText
    required property string costText
    required property string storageNote
    required property bool isSelected
    property bool keyboardFocused: false
    // The list took the focus from a press: no ring, which is the keyboard's.
    property bool focusFromPointer: false
    readonly property string demoKey: OnboardingHighlightTarget.demoProjectRow(projectId)

    signal pressed()
    signal menuRequested(real x, real y)

    objectName: "projectRow-" + projectId
    // Its texts and the card's insets: the grid's row takes the tallest card's height.
    implicitHeight: cardContent.implicitHeight + 2 * 16 + 12
    Accessible.role: Accessible.ListItem
    Accessible.name: name
    Accessible.description: [clientName, storageNote, hoursText, costText].filter(text => text !== "").join(", ")
    Accessible.selectable: true
    Accessible.selected: isSelected
    Accessible.focusable: true
    Accessible.focused: keyboardFocused && isSelected
    OnboardingSpotlight.active: cell.Onboarding.highlight === cell.demoKey
    OnboardingSpotlight.highlight: cell.demoKey

    Rectangle {
        id: card

        objectName: "projectCard"
        x: 6
        y: 6
        width: parent.width - 12
        height: parent.height - 12
        radius: AppTheme.cornerRadiusMedium
        color: AppTheme.cardBackground
        border.width: 1
        border.color: cell.isSelected ? AppTheme.withOpacity(AppTheme.primary, 0.4) : AppTheme.border

        FocusRing {
            radius: AppTheme.cornerRadiusMedium + 3
            shown: cell.keyboardFocused && !cell.focusFromPointer && cell.isSelected
        }

        BoxShadow {
            z: -1
            anchors.fill: parent
            anchors.margins: -margin
            radius: AppTheme.cornerRadiusMedium
            blur: 10
            offsetY: 3
            color: AppTheme.cardShadow
        }

        TapHandler {
            onTapped: cell.pressed()
        }
        TapHandler {
            acceptedButtons: Qt.RightButton
            onTapped: point => cell.menuRequested(point.position.x, point.position.y)
        }

        ColumnLayout {
            id: cardContent
            anchors.fill: parent
            anchors.margins: 16
            spacing: 10

            RowLayout {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignTop
                spacing: 8

                Column {
                    Layout.fillWidth: true
                    // What is left beside the badge, however wide a text inside would be.
                    Layout.preferredWidth: 0
                    Layout.alignment: Qt.AlignTop
                    spacing: 4

                    Text {
                        objectName: "cardName"
                        width: parent.width
                        text: cell.name
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        maximumLineCount: 2
                        elide: Text.ElideRight
                        font: Typography.font(Typography.Headline)
                        color: AppTheme.deepBlack
                    }
                    Text {
                        objectName: "cardClient"
                        width: parent.width
                        visible: cell.clientName !== ""
                        text: cell.clientName
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        font: Typography.font(Typography.Subheadline)
                        color: AppTheme.textSecondary
                    }
                    Row {
                        visible: cell.storageNote !== ""
                        spacing: 4

                        AppIcon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "internaldrive"
                            size: 12
                        }
                        Text {
                            objectName: "cardStorageNote"
                            anchors.verticalCenter: parent.verticalCenter
                            text: cell.storageNote
                            textFormat: Text.PlainText
                            font: Typography.font(Typography.Caption2, Font.Medium)
                            color: AppTheme.textSecondary
                        }
                    }
                }
                ProjectStatusBadge {
                    Layout.alignment: Qt.AlignTop
                    status: cell.status
                }
            }
            Item {
                Layout.fillHeight: true
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 12

                AppIcon {
                    name: "clock"
                    size: 15
                }
                // Figures of hundreds of digits give way with an ellipsis, the cost keeping at least
                // half of the row.
                Text {
                    objectName: "cardHours"
                    Layout.fillWidth: true
                    Layout.maximumWidth: Math.ceil(implicitWidth)
                    text: cell.hoursText
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.textSecondary
                }
                Item {
                    Layout.fillWidth: true
                }
                Text {
                    objectName: "cardCost"
                    Layout.fillWidth: true
                    Layout.minimumWidth: Math.min(Math.ceil(implicitWidth), cardContent.width / 2)
                    Layout.maximumWidth: Math.ceil(implicitWidth)
                    text: cell.costText
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    horizontalAlignment: Text.AlignRight
                    font: Typography.font(Typography.Subheadline, Font.DemiBold)
                    color: AppTheme.primary
                }
            }
        }
    }
}
