pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// One half of the sign-in / registration switch: filled when selected.
T.TabButton {
    id: control

    required property bool selected

    // Both halves share the width equally, whatever their titles.
    Layout.fillWidth: true
    Layout.preferredWidth: 1
    implicitWidth: implicitContentWidth
    implicitHeight: implicitContentHeight + 20
    font: Typography.font(Typography.Subheadline, Font.DemiBold)
    // A tab for readers: the chosen half is the checked one.
    checked: selected

    FocusRing {}

    contentItem: Text {
        text: control.text
        font: control.font
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        color: control.selected ? (AppTheme.dark ? AppTheme.background : "white") : AppTheme.textSecondary
        opacity: control.enabled ? 1 : 0.6
    }

    background: Rectangle {
        radius: 9
        color: control.selected ? AppTheme.primary : "transparent"
    }
}
