import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// A modal question with buttons of the caller's own texts, in the caller's order. `buttons` is
// a list of {text, role} with role "destructive", "cancel" or none. Any button closes the dialog
// and emits `triggered(index)`; Escape counts as the cancel button when there is one, and goes no
// further (never to a sheet under the dialog). Every showing starts on the safe button, with its
// ring whichever device opened it, so that Return or Space presses the choice that destroys or
// replaces nothing. Items put inside (a text field, say) stand between the message and the
// buttons; such a form starts on its `formField` instead. A question reads as a modal alert
// named by its title and described by its message, whatever else it shows; a form (one with a
// `formField`) as a modal dialog. `answering` tells while one of its buttons is held down.
T.Dialog {
    id: dialog

    property string message
    property var buttons: []
    // The button every showing starts on: by default the cancel button, else the only one.
    property int safeIndex: defaultSafeIndex()
    // A form's field to type into, where every showing starts instead.
    property Item formField: null
    // Where every showing starts, and where the window's keeper puts the keys back; taken as the
    // dialog shows (the buttons are made after the list of them is set).
    property Item firstControl: null
    default property alias extraContent: extra.data
    // The button held down by a key or the pointer, until it is let go.
    property Item heldButton: null
    readonly property bool answering: heldButton !== null

    signal triggered(int index)

    function trigger(index) {
        close()
        triggered(index)
    }

    function cancelIndex() {
        for (let i = 0; i < buttons.length; ++i) {
            if (buttons[i].role === "cancel")
                return i
        }
        return -1
    }

    function defaultSafeIndex() {
        const cancel = cancelIndex()
        return cancel >= 0 || buttons.length !== 1 ? cancel : 0
    }

    function safeButton() {
        return safeIndex >= 0 ? choices.itemAt(safeIndex) : null
    }

    // Whatever was pressed the last time, and wherever a popup closing beneath gives the focus.
    onAboutToShow: firstControl = formField ?? safeButton()
    onOpened: FocusLanding.land(firstControl)

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    closePolicy: T.Popup.NoAutoClose
    AccessibleState.role: formField !== null ? Accessible.Dialog : Accessible.AlertMessage
    width: 340
    padding: 20
    implicitHeight: contentItem.implicitHeight + topPadding + bottomPadding

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.32)
    }

    background: Item {
        BoxShadow {
            anchors.fill: parent
            anchors.margins: -margin
            radius: AppTheme.cornerRadiusLarge
            blur: 24
            offsetY: 8
            color: Qt.rgba(0, 0, 0, AppTheme.dark ? 0.5 : 0.18)
        }
        Rectangle {
            anchors.fill: parent
            radius: AppTheme.cornerRadiusLarge
            color: AppTheme.cardBackground
            border.width: 1
            border.color: AppTheme.border
        }
    }

    // Holds the focus while no button has it, so that Escape reaches it from anywhere inside.
    contentItem: ColumnLayout {
        spacing: 8
        focus: true
        Keys.onEscapePressed: {
            const index = dialog.cancelIndex()
            if (index >= 0)
                dialog.trigger(index)
        }

        Text {
            Layout.fillWidth: true
            visible: dialog.title !== ""
            text: dialog.title
            textFormat: Text.PlainText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            font: Typography.font(Typography.Headline)
            color: AppTheme.deepBlack
        }
        Text {
            Layout.fillWidth: true
            visible: dialog.message !== ""
            text: dialog.message
            textFormat: Text.PlainText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.textSecondary
        }
        Column {
            id: extra

            Layout.fillWidth: true
            Layout.topMargin: children.length > 0 ? 4 : 0
            spacing: 8
        }
        Column {
            Layout.fillWidth: true
            Layout.topMargin: 8
            spacing: 8

            Repeater {
                id: choices

                model: dialog.buttons

                T.AbstractButton {
                    id: button

                    required property var modelData
                    required property int index
                    readonly property string role: modelData.role ?? ""

                    objectName: "dialogButton" + index
                    width: parent.width
                    implicitHeight: 40
                    text: modelData.text
                    font: Typography.font(Typography.Body, role === "cancel" ? Font.Normal : Font.DemiBold)
                    opacity: pressed ? 0.7 : 1
                    onClicked: dialog.trigger(index)
                    onPressedChanged: {
                        if (pressed)
                            dialog.heldButton = button
                        else if (dialog.heldButton === button)
                            dialog.heldButton = null
                    }

                    contentItem: Text {
                        text: button.text
                        font: button.font
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                        color: button.role === "destructive" ? AppTheme.error
                             : button.role === "cancel" ? AppTheme.deepBlack : AppTheme.primary
                    }
                    // Return presses the focused button: it is marked after a click too.
                    FocusRing {
                        objectName: "dialogFocusRing"
                        radius: AppTheme.cornerRadiusSmall + 3
                        shown: button.activeFocus
                    }

                    background: Rectangle {
                        radius: AppTheme.cornerRadiusSmall
                        color: AppTheme.fieldBackground
                        border.width: 1
                        border.color: AppTheme.border
                    }
                }
            }
        }
    }
}
