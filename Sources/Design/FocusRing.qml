import QtQuick
import Tessmark.Design

// The mark around a control that has the keyboard focus: drawn only when the focus came from
// the keyboard (Tab, Shift+Tab, a shortcut), never after a click. Put inside the control.
Rectangle {
    // The control's `visualFocus`, or any other condition for items that are no controls.
    property bool shown: parent && parent.visualFocus === true

    anchors.fill: parent
    anchors.margins: -3
    z: 100
    radius: 10
    visible: shown
    color: "transparent"
    border.width: 2
    border.color: AppTheme.accent
}
