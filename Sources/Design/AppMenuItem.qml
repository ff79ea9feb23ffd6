import QtQuick
import QtQuick.Controls
import Tessmark.Design

// A menu entry with a symbol of the icon map before its text; a destructive entry reads in the
// error colour. The entry under the pointer or reached by the arrows takes a light tint of the
// primary colour, so that its text and symbol keep their colours in both themes. When any entry
// of the menu has a symbol, the texts of all stand in one column.
MenuItem {
    id: entry

    property string systemImage
    property bool destructive: false
    // Whether a symbol's room stands before the text: this entry's own, or the room its menu's
    // other entries keep.
    readonly property bool keepsSymbolRoom: {
        if (systemImage !== "")
            return true
        const count = menu ? menu.count : 0
        for (let i = 0; i < count; ++i) {
            const other = menu.itemAt(i)
            if (other && other.systemImage !== undefined && other.systemImage !== "")
                return true
        }
        return false
    }

    // Room for the focus ring around the tint, within the entry.
    leftInset: 4
    rightInset: 4
    topInset: 2
    bottomInset: 2

    // As wide as the widest entry needs, from a modest minimum.
    background: Rectangle {
        implicitWidth: 140
        implicitHeight: 20
        radius: 6
        color: entry.down ? AppTheme.withOpacity(AppTheme.primary, 0.18)
                          : entry.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.1) : "transparent"

        // Inside the entry: the menu clips its list.
        FocusRing {
            anchors.margins: -2
            radius: 8
            shown: entry.visualFocus
        }
    }

    contentItem: Item {
        readonly property real iconWidth: entry.keepsSymbolRoom ? 18 + 10 : 0

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
