pragma ComponentBehavior: Bound
import QtQuick
import Tessmark.Design

// A notice or an error above the form: a symbol and the text, in one colour on a tint of it.
Rectangle {
    id: root

    required property string systemImage
    required property string text
    required property color tint

    implicitHeight: row.implicitHeight + 24
    radius: 10
    color: AppTheme.withOpacity(root.tint, 0.1)

    Row {
        id: row

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 12
        spacing: 10

        AppIcon {
            id: symbol
            name: root.systemImage
            color: root.tint
        }
        AlertText {
            objectName: "bannerText"
            width: row.width - symbol.width - row.spacing
            // An error is spoken as it shows, with its words; a notice is read as text.
            Accessible.role: Qt.colorEqual(root.tint, AppTheme.error) ? Accessible.AlertMessage : Accessible.StaticText
            text: root.text
            horizontalAlignment: Text.AlignLeft
            color: root.tint
            font: Typography.font(Typography.Subheadline)
        }
    }
}
