import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// A captioned one-line input with a leading symbol, optional secure entry with a reveal button,
// and an error line. `error` is null or undefined for none; any text, even "", draws the field
// in the error colour, and a non-empty one is also shown under the field.
// A value that may be megabytes long is given as `value` with `idleText` (the value cut for
// showing, made in C++) instead of `text`: the input shows the cut value while it has no focus and
// a stretch of the value around the caret while it has (LongTextWindow), so that a keystroke lays
// out no more than that stretch. `wholeText` reads the value as edited; `text`, what the input holds.
Column {
    id: root

    property string title
    property string systemImage
    property alias text: input.text
    property bool isSecure: false
    property bool allowsPasswordReveal: false
    property var error: null
    property string value
    property var idleText: undefined
    property bool isPasswordVisible: false

    readonly property bool hasError: error !== null && error !== undefined
    readonly property bool holdsLongText: idleText !== undefined && idleText !== null
    readonly property alias input: input
    readonly property string wholeText: holdsLongText ? longText.text : input.text

    signal textEdited()
    signal accepted()

    LongTextWindow {
        id: longText
        input: input
        active: root.holdsLongText
        value: root.value
        idleText: root.holdsLongText ? root.idleText : ""
        onEdited: root.textEdited()
    }

    spacing: 6

    // The input is named by it: a reader meets the caption once, as the field's name.
    Text {
        width: parent.width
        text: root.title
        Accessible.ignored: true
        font: Typography.font(Typography.Subheadline, Font.Medium)
        color: AppTheme.textSecondary
        elide: Text.ElideRight
    }

    // The frame and, over its right end, the reveal button: beside the frame rather than in it,
    // so that the frame with its ring is the input's control and the button one of its own.
    Item {
        width: parent.width
        implicitHeight: frame.implicitHeight

        Rectangle {
            id: frame
            objectName: "fieldFrame"
            width: parent.width
            implicitHeight: row.implicitHeight + 24
            radius: 12
            color: AppTheme.fieldBackground
            border.width: root.hasError ? 1.5 : 1
            border.color: root.hasError ? AppTheme.error : AppTheme.border

            // The accent frame marks the field that takes the typing, however it got the focus: the
            // caret alone is easy to miss. An error's frame stays, the accent one around it.
            FocusRing {
                anchors.margins: root.hasError ? -3 : 0
                radius: parent.radius + (root.hasError ? 3 : 0)
                border.width: root.hasError ? 2 : 1.5
                shown: input.activeFocus
            }

            TapHandler {
                onTapped: input.forceActiveFocus(Qt.MouseFocusReason)
            }

            RowLayout {
                id: row

                // The symbol stays on the left and the reveal button on the right in any direction.
                LayoutMirroring.enabled: false
                LayoutMirroring.childrenInherit: true
                anchors.fill: parent
                anchors.leftMargin: 14
                anchors.rightMargin: 14
                anchors.topMargin: 12
                anchors.bottomMargin: 12
                spacing: 10

                AppIcon {
                    objectName: "symbol"
                    Layout.preferredWidth: 22
                    name: root.systemImage
                    color: AppTheme.accent
                }

                TextInput {
                    id: input

                    objectName: "input"
                    // Shown whole when the keyboard brings the field into view: it draws the focus.
                    readonly property Item focusFrame: frame
                    Layout.fillWidth: true
                    activeFocusOnTab: true
                    Accessible.role: Accessible.EditableText
                    Accessible.name: root.title
                    Accessible.description: root.hasError ? String(root.error) : ""
                    clip: true
                    font: Typography.font(Typography.Body)
                    color: AppTheme.deepBlack
                    selectionColor: AppTheme.withOpacity(AppTheme.accent, 0.35)
                    selectedTextColor: AppTheme.deepBlack
                    horizontalAlignment: TextInput.AlignLeft
                    echoMode: root.isSecure && !root.isPasswordVisible ? TextInput.Password : TextInput.Normal
                    passwordCharacter: "•"
                    selectByMouse: true
                    onTextEdited: {
                        longText.takeEdit()
                        root.textEdited()
                    }
                    onAccepted: root.accepted()

                    SelectAllOnFocus {}
                    OneLinePaste {}

                    Text {
                        objectName: "placeholder"
                        anchors.fill: parent
                        verticalAlignment: Text.AlignVCenter
                        visible: input.text.length === 0
                        text: root.title
                        font: input.font
                        color: AppTheme.textSecondary
                        elide: Text.ElideRight
                    }
                }

                // The reveal button's place.
                Item {
                    visible: reveal.visible
                    implicitWidth: reveal.implicitWidth
                    implicitHeight: reveal.implicitHeight
                }
            }
        }

        // Tab reaches it right after the field; a click leaves the keyboard in the field.
        T.AbstractButton {
            id: reveal

            objectName: "revealButton"
            LayoutMirroring.enabled: false
            anchors.right: frame.right
            anchors.rightMargin: row.anchors.rightMargin
            anchors.verticalCenter: frame.verticalCenter
            visible: root.isSecure && root.allowsPasswordReveal
            focusPolicy: Qt.TabFocus
            implicitWidth: 22
            implicitHeight: 22
            Accessible.name: root.isPasswordVisible ? "Скрыть пароль" : "Показать пароль"
            // Which of a form's passwords it shows.
            Accessible.description: root.title
            onClicked: root.isPasswordVisible = !root.isPasswordVisible

            contentItem: AppIcon {
                name: root.isPasswordVisible ? "eye.slash.fill" : "eye.fill"
                color: AppTheme.textSecondary
            }

            FocusRing {
                objectName: "revealRing"
                radius: 6
            }
        }
    }

    AlertText {
        objectName: "errorLine"
        width: parent.width
        shown: root.hasError && String(root.error).length > 0
        text: root.hasError ? String(root.error) : ""
        font: Typography.font(Typography.Caption)
        wrapMode: Text.WordWrap
    }
}
