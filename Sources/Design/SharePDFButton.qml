pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Tessmark.Design

// "Share" for a file: a menu that copies the file to the clipboard or shows it in its folder. The
// owner does either and tells the outcome.
T.AbstractButton {
    id: button

    required property url pdfUrl
    property string label: "Поделиться"

    signal copyRequested()
    signal showInFolderRequested()

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    topPadding: 8
    bottomPadding: 8
    font: Typography.font(Typography.Subheadline, Font.Medium)
    opacity: pressed ? 0.7 : (enabled ? 1 : 0.45)
    text: label
    // Beside its label, centred on the button: in the room between the actions above and below,
    // so that it covers neither.
    onClicked: {
        const labelEnd = row.mapToItem(button, row.width, 0).x
        menu.popup(button, Math.max(0, Math.min(labelEnd + 8, button.width - menu.width)),
                   (button.height - menu.height) / 2)
    }
    Accessible.role: Accessible.ButtonMenu
    AccessibleState.role: Accessible.ButtonMenu
    Accessible.name: label

    FocusRing {}

    // The label stands in the middle of the full width it is given.
    contentItem: Item {
        implicitWidth: row.implicitWidth
        implicitHeight: row.implicitHeight

        Row {
            id: row

            anchors.centerIn: parent
            spacing: 6

            AppIcon {
                anchors.verticalCenter: parent.verticalCenter
                name: "square.and.arrow.up"
                size: 15
                color: AppTheme.primary
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: button.label
                font: button.font
                color: AppTheme.primary
            }
        }
    }

    AppMenu {
        id: menu

        objectName: "shareMenu"
        title: button.label
        // As narrow as its entries, to stand beside the label.
        width: Math.max(copyItem.implicitWidth, showItem.implicitWidth) + leftPadding + rightPadding

        AppMenuItem {
            id: copyItem
            objectName: "copyFileItem"
            text: "Копировать файл"
            onTriggered: button.copyRequested()
        }
        AppMenuItem {
            id: showItem
            objectName: "showInFolderItem"
            text: "Показать в папке"
            onTriggered: button.showInFolderRequested()
        }
    }
}
