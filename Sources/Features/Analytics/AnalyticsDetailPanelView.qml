import QtQuick
import QtQuick.Controls
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
        Label {
            width: parent.width
            text: panel.row ? panel.row.name : ""
            font.pixelSize: 22
            font.bold: true
            elide: Text.ElideRight
            color: AppTheme.deepBlack
        }
        Label {
            text: panel.row ? "План: " + panel.row.plannedCost + " " + panel.row.currency : ""
            color: AppTheme.textSecondary
        }
        Button {
            text: "Платежи"
            onClicked: panel.openPayments()
        }
    }
}
