import QtQuick
import QtQuick.Controls
import Tessmark.Design

// A menu entry with a symbol of the icon map before its text; a destructive entry reads in the
// error colour.
MenuItem {
    id: entry

    property string systemImage
    property bool destructive: false

    // Inside the entry: the menu clips its list.
    FocusRing {
        anchors.margins: 1
        radius: 6
    }

    contentItem: Item {
        readonly property real iconWidth: entry.systemImage !== "" ? 18 + 10 : 0

        implicitWidth: iconWidth + label.implicitWidth
        implicitHeight: Math.max(18, label.implicitHeight)

        AppIcon {
            anchors.verticalCenter: parent.verticalCenter
            visible: entry.systemImage !== ""
            name: entry.systemImage
            size: 18
            color: entry.destructive ? AppTheme.error : AppTheme.primary
        }
        Text {
            id: label
            anchors.left: parent.left
            anchors.leftMargin: parent.iconWidth
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            text: entry.text
            font: entry.font
            elide: Text.ElideRight
            color: entry.destructive ? AppTheme.error : AppTheme.deepBlack
            opacity: entry.enabled ? 1 : 0.4
        }
    }
}
