pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design

// A captioned multi-line input in the look of AppTextField: at least `minimumHeight` tall,
// scrolling once the text is longer. The text runs left to right in any layout direction.
// Return breaks the line; Ctrl+Return emits `submitted`.
Column {
    id: root

    property string title
    property alias text: input.text
    property real minimumHeight: 120
    readonly property alias input: input

    signal submitted()

    spacing: 8

    // The input is named by it: a reader meets the caption once, as the field's name.
    Text {
        width: parent.width
        visible: root.title !== ""
        text: root.title
        Accessible.ignored: true
        font: Typography.font(Typography.Subheadline, Font.Medium)
        color: AppTheme.textSecondary
        elide: Text.ElideRight
    }

    Rectangle {
        id: frame
        objectName: "fieldFrame"
        width: parent.width
        height: root.minimumHeight
        radius: 12
        color: AppTheme.fieldBackground
        border.width: 1
        border.color: AppTheme.border
        LayoutMirroring.enabled: false
        LayoutMirroring.childrenInherit: true

        // The accent frame marks the field that takes the typing, however it got the focus.
        FocusRing {
            anchors.margins: 0
            radius: parent.radius
            border.width: 1.5
            shown: input.activeFocus
        }

        TapHandler {
            onTapped: input.forceActiveFocus()
        }

        Flickable {
            id: flick

            anchors.fill: parent
            anchors.margins: 8
            clip: true
            contentWidth: width
            contentHeight: input.implicitHeight
            boundsBehavior: Flickable.StopAtBounds
            flickableDirection: Flickable.VerticalFlick

            function ensureVisible(r) {
                if (contentY >= r.y)
                    contentY = r.y
                else if (contentY + height <= r.y + r.height)
                    contentY = r.y + r.height - height
            }

            TextEdit {
                id: input

                objectName: "input"
                // Shown whole when the keyboard brings the field into view: it draws the focus.
                readonly property Item focusFrame: frame
                width: flick.width
                wrapMode: TextEdit.Wrap
                textFormat: TextEdit.PlainText
                horizontalAlignment: TextEdit.AlignLeft
                font: Typography.font(Typography.Body)
                color: AppTheme.deepBlack
                selectionColor: AppTheme.withOpacity(AppTheme.accent, 0.35)
                selectedTextColor: AppTheme.deepBlack
                selectByMouse: true
                // Tab leaves the field, as in every other field; the text takes no tabs.
                activeFocusOnTab: true
                Accessible.role: Accessible.EditableText
                Accessible.name: root.title
                Accessible.multiLine: true
                Keys.onTabPressed: function(event) {
                    event.accepted = true
                    input.nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
                }
                Keys.onBacktabPressed: function(event) {
                    event.accepted = true
                    input.nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
                }
                onCursorRectangleChanged: flick.ensureVisible(cursorRectangle)
                Keys.onPressed: function(event) {
                    if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
                            && (event.modifiers & Qt.ControlModifier)) {
                        event.accepted = true
                        root.submitted()
                    }
                }

                Text {
                    objectName: "placeholder"
                    width: parent.width
                    visible: input.text.length === 0
                    text: root.title
                    font: input.font
                    color: AppTheme.textSecondary
                    elide: Text.ElideRight
                }
            }
        }
    }
}
