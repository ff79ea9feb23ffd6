pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Projects

// One row of the account tree: a root with its unfold toggle, or an iteration under it. The rows
// of one group draw one card between them.
Item {
    id: row

    required property ProjectsListViewModel viewModel
    required property string projectId
    required property string rootId
    required property bool isIteration
    required property string title
    required property string subtitle
    required property string countText
    required property bool hasChildren
    required property bool isExpanded
    required property bool isSelected
    required property bool isHovered
    required property bool groupHoldsSelection
    required property bool isFirstInGroup
    required property bool isLastInGroup
    required property bool offersFinance
    required property string deleteTitle
    property bool keyboardFocused: false
    // The list took the focus from a press: no ring, which is the keyboard's.
    property bool focusFromPointer: false

    signal pressed()
    signal menuRequested(real x, real y)

    objectName: "projectRow-" + projectId
    implicitHeight: body.height + (isLastInGroup ? 8 : 0)
    // The list takes the keys; a reader hears the row the selection is on.
    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.description: [subtitle, countText].filter(text => text !== "").join(", ")
    Accessible.selectable: true
    Accessible.selected: isSelected
    Accessible.focusable: true
    Accessible.focused: keyboardFocused && isSelected

    // The group's card, cut at the row's edges: only the group's first and last rows show its
    // rounded corners and its top and bottom border.
    Item {
        id: piece

        width: parent.width
        height: body.height
        clip: true

        Rectangle {
            id: card

            y: row.isFirstInGroup ? 0 : -20
            width: parent.width
            height: parent.height + (row.isFirstInGroup ? 0 : 20) + (row.isLastInGroup ? 0 : 20)
            radius: 12
            color: AppTheme.cardBackground
        }
        Rectangle {
            objectName: "rowHighlight"
            x: card.x
            y: card.y
            width: card.width
            height: card.height
            radius: card.radius
            color: row.isSelected ? AppTheme.withOpacity(AppTheme.accent, 0.14)
                 : row.isHovered ? AppTheme.withOpacity(AppTheme.accent, 0.08) : "transparent"
        }
        Rectangle {
            x: card.x
            y: card.y
            width: card.width
            height: card.height
            radius: card.radius
            color: "transparent"
            border.width: 1
            border.color: row.groupHoldsSelection ? AppTheme.withOpacity(AppTheme.primary, 0.35) : AppTheme.border
        }
        // Keyboard focus on the selected row, inside it: the list clips what lies outside.
        FocusRing {
            anchors.margins: 2
            radius: 10
            shown: row.keyboardFocused && !row.focusFromPointer && row.isSelected
        }
    }

    HoverHandler {
        onHoveredChanged: hovered ? row.viewModel.hoverEntered(row.projectId) : row.viewModel.hoverLeft(row.projectId)
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: point => row.menuRequested(point.position.x, point.position.y)
    }

    RowLayout {
        id: body

        width: parent.width
        spacing: 0

        Item {
            Layout.preferredWidth: 44
            Layout.preferredHeight: 44
            Layout.alignment: Qt.AlignTop

            T.AbstractButton {
                objectName: "expandToggle"
                anchors.fill: parent
                visible: row.hasChildren && !row.isIteration
                focusPolicy: Qt.NoFocus
                Accessible.name: row.isExpanded ? "Свернуть итерации" : "Показать итерации"
                onClicked: row.viewModel.toggleRoot(row.rootId)

                contentItem: Item {
                    AppIcon {
                        anchors.centerIn: parent
                        name: row.isExpanded ? "chevron.down.circle.fill" : "chevron.right.circle.fill"
                        size: 24
                        color: AppTheme.primary
                    }
                }
            }
        }

        Item {
            id: label

            objectName: "rowLabel"
            Layout.fillWidth: true
            implicitHeight: labelRow.implicitHeight + 24

            TapHandler {
                onTapped: {
                    row.pressed()
                    row.viewModel.activate(row.projectId, row.rootId)
                }
            }

            RowLayout {
                id: labelRow

                anchors.left: parent.left
                anchors.right: parent.right
                anchors.rightMargin: 14
                y: 12
                spacing: 12

                AppIcon {
                    Layout.preferredWidth: 28
                    Layout.leftMargin: row.isIteration ? 4 : 0
                    Layout.alignment: Qt.AlignTop
                    name: row.isIteration ? "arrow.turn.down.right" : "folder.fill"
                    size: 20
                    color: row.isIteration ? AppTheme.accent : AppTheme.primary
                }
                Column {
                    Layout.fillWidth: true
                    spacing: 4

                    Row {
                        width: parent.width
                        spacing: 6

                        // As wide as the title on one line (the badge follows it), three lines at
                        // most for a name of hundreds of letters.
                        Text {
                            objectName: "rowTitle"
                            width: Math.min(Math.ceil(titleWidth.advanceWidth) + 1,
                                            parent.width - (badge.visible ? badge.width + 6 : 0))
                            anchors.verticalCenter: parent.verticalCenter
                            text: row.title
                            textFormat: Text.PlainText
                            wrapMode: Text.Wrap
                            maximumLineCount: 3
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            color: AppTheme.deepBlack
                        }
                        TextMetrics {
                            id: titleWidth
                            text: row.title
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                        }
                        Rectangle {
                            id: badge

                            objectName: "rowBadge"
                            anchors.verticalCenter: parent.verticalCenter
                            visible: row.countText !== ""
                            width: badgeText.implicitWidth + 12
                            height: badgeText.implicitHeight + 4
                            radius: height / 2
                            color: AppTheme.withOpacity(AppTheme.primary, 0.12)

                            Text {
                                id: badgeText

                                anchors.centerIn: parent
                                text: row.countText
                                font: Typography.font(Typography.Caption2, Font.Bold)
                                color: AppTheme.primary
                            }
                        }
                    }
                    Text {
                        objectName: "rowSubtitle"
                        width: parent.width
                        text: row.subtitle
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        maximumLineCount: 3
                        elide: Text.ElideRight
                        font: Typography.font(Typography.Caption)
                        color: AppTheme.textSecondary
                    }
                }
                AppIcon {
                    Layout.alignment: Qt.AlignTop
                    Layout.leftMargin: 8
                    visible: row.isSelected
                    name: "checkmark.circle.fill"
                    size: 20
                    color: AppTheme.accent
                }
            }
        }
    }
}
