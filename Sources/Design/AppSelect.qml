import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// A captioned field that opens its options in place, below itself, pushing what follows down.
// `options` is a list of {value, label}; choosing one emits `activated(value)` and writes it to
// `selection` unless the owner already has.
// By keyboard as a desktop drop-down: Space or Return opens the list with the focus on the chosen
// option, the arrows move along it, Return or Space chooses, Escape closes it keeping the value
// (and goes no further: a sheet around it stays). It reads as a combo box, expanded while open,
// holding the list of options.
Column {
    id: root

    property string title
    property var selection
    property var options: []
    property string systemImage: "chevron.down"
    property bool isOpen: false

    readonly property string selectedLabel: {
        for (const option of options) {
            if (option.value === selection)
                return option.label
        }
        return "—"
    }

    signal activated(var value)

    function choose(value) {
        activated(value)
        if (selection !== value)
            selection = value
        isOpen = false
    }

    // Opens the list with the focus on the chosen option (the first when none is), shown as the
    // keyboard's when the field had it from the keyboard.
    function openList() {
        const reason = field.visualFocus ? Qt.TabFocusReason : Qt.OtherFocusReason
        isOpen = true
        const option = optionChoices.tabStop()
        if (option)
            option.forceActiveFocus(reason)
    }

    // Closes the list; the focus inside it goes back to the field.
    function closeList() {
        let reason = -1
        for (let i = 0; i < optionRepeater.count; ++i) {
            const option = optionChoices.choiceAt(i)
            if (option && option.activeFocus)
                reason = option.visualFocus ? Qt.TabFocusReason : Qt.OtherFocusReason
        }
        isOpen = false
        if (reason >= 0)
            field.forceActiveFocus(reason)
    }

    spacing: 6
    Keys.onEscapePressed: event => {
        event.accepted = root.isOpen
        if (root.isOpen)
            root.closeList()
    }

    T.ButtonGroup {
        id: optionGroup
    }

    // The field is named by it: a reader meets the caption once, as the field's name.
    Text {
        width: parent.width
        text: root.title
        Accessible.ignored: true
        font: Typography.font(Typography.Subheadline, Font.Medium)
        color: AppTheme.textSecondary
        elide: Text.ElideRight
    }

    T.AbstractButton {
        id: field

        objectName: "field"
        width: parent.width
        implicitHeight: implicitContentHeight + topPadding + bottomPadding
        leftPadding: 14
        rightPadding: 14
        topPadding: 12
        bottomPadding: 12
        onClicked: {
            if (root.isOpen)
                root.closeList()
            else
                root.openList()
        }
        Accessible.role: Accessible.ComboBox
        AccessibleState.role: Accessible.ComboBox
        Accessible.name: root.title
        // Qt 6.4 gives QML no way to set an accessible value: the choice is the description.
        Accessible.description: root.selectedLabel
        AccessibleState.expandable: true
        AccessibleState.expanded: root.isOpen
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()

        contentItem: RowLayout {
            spacing: 10

            Text {
                objectName: "selectedLabel"
                Layout.fillWidth: true
                text: root.selectedLabel
                font: Typography.font(Typography.Body)
                color: AppTheme.deepBlack
                elide: Text.ElideRight
            }
            AppIcon {
                name: root.systemImage
                size: 13
                color: AppTheme.textSecondary
                rotation: root.isOpen ? 180 : 0
                Behavior on rotation { NumberAnimation { duration: 180; easing.type: Easing.OutQuad } }
            }
        }

        background: Rectangle {
            radius: 12
            color: AppTheme.fieldBackground
            border.width: root.isOpen ? 1.5 : 1
            border.color: root.isOpen ? AppTheme.accent : AppTheme.border
            Behavior on border.color { ColorAnimation { duration: 180; easing.type: Easing.OutQuad } }

            FocusRing {
                radius: 14
                shown: field.visualFocus
            }
        }

        // A child of the field, so that readers find the options inside the combo box; it stands
        // in the room the column keeps for it below the field.
        Item {
            id: list

            objectName: "optionList"
            y: field.height + root.spacing
            width: parent.width
            height: rows.implicitHeight
            Accessible.role: Accessible.List
            Accessible.name: root.title
            visible: root.isOpen
            opacity: root.isOpen ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 180; easing.type: Easing.OutQuad } }

            BoxShadow {
                anchors.fill: parent
                anchors.margins: -margin
                radius: 12
                blur: 12
                offsetY: 4
                color: Qt.rgba(0, 0, 0, 0.08)
            }
            Rectangle {
                anchors.fill: parent
                radius: 12
                color: AppTheme.cardBackground
                border.width: 1
                border.color: AppTheme.border
            }

            Column {
                id: rows

                width: parent.width

                // One Tab stop, entered at the chosen option; the arrow keys move the focus and
                // Return or Space chooses, as in a drop-down list.
                ChoiceGroup {
                    id: optionChoices
                    repeater: optionRepeater
                    choosesOnMove: false
                }

                Repeater {
                    id: optionRepeater
                    model: root.options

                    Column {
                        id: entry

                        required property var modelData
                        required property int index
                        readonly property bool chosen: modelData.value === root.selection
                        readonly property alias choice: option

                        width: rows.width

                        T.RadioButton {
                            id: option
                            objectName: "option" + entry.index
                            width: parent.width
                            implicitHeight: implicitContentHeight + topPadding + bottomPadding
                            leftPadding: 14
                            rightPadding: 14
                            topPadding: 11
                            bottomPadding: 11
                            text: entry.modelData.label
                            onClicked: {
                                // The closing list takes the focus along: it goes back to the field,
                                // with the ring only when the keyboard chose.
                                const reason = visualFocus ? Qt.TabFocusReason : Qt.MouseFocusReason
                                const focused = activeFocus
                                root.choose(entry.modelData.value)
                                if (focused)
                                    field.forceActiveFocus(reason)
                            }
                            Accessible.role: Accessible.ListItem
                            AccessibleState.role: Accessible.ListItem
                            Accessible.name: entry.modelData.label
                            Accessible.selectable: true
                            Accessible.selected: entry.chosen
                            // One group over the rows, each in its own column.
                            checked: entry.chosen
                            T.ButtonGroup.group: optionGroup
                            focusPolicy: optionChoices.isTabStop(entry.index) ? Qt.StrongFocus : Qt.ClickFocus
                            Keys.onReturnPressed: clicked()
                            Keys.onEnterPressed: clicked()
                            Keys.onPressed: event => optionChoices.move(entry.index, event)

                            FocusRing {
                                anchors.margins: 1
                                radius: 8
                            }

                            contentItem: RowLayout {
                                // The option's name already.
                                Text {
                                    Layout.fillWidth: true
                                    Accessible.ignored: true
                                    text: entry.modelData.label
                                    font: Typography.font(Typography.Body)
                                    color: AppTheme.deepBlack
                                    elide: Text.ElideRight
                                }
                                AppIcon {
                                    objectName: "checkmark"
                                    visible: entry.chosen
                                    name: "checkmark"
                                    size: 14
                                    color: AppTheme.accent
                                }
                            }
                        }
                        Rectangle {
                            objectName: "divider"
                            visible: entry.index < root.options.length - 1
                            x: 14
                            width: parent.width - 14
                            height: 1
                            color: AppTheme.border
                        }
                    }
                }
            }
        }
    }

    // Where the open list stands, under the field.
    Item {
        width: parent.width
        height: list.height
        visible: root.isOpen
    }
}
