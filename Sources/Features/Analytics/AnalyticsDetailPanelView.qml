import QtQuick
import Tessmark.Design

// Stand-in of the detail pane of one analytics row.
Rectangle {
    id: panel

    required property var row
    signal openPayments()

    color: AppTheme.background

    Column {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12
        Text {
            width: parent.width
            text: panel.row ? panel.row.name : ""
            font: Typography.font(Typography.Title2, Font.Bold)
            elide: Text.ElideRight
            color: AppTheme.deepBlack
        }
        SecondaryButton {
            text: "Платежи"
            systemImage: "creditcard"
            onClicked: panel.openPayments()
        }
    }
}
