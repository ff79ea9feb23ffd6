pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Features.Analytics

// Stand-in of the detail pane of one analytics row.
Rectangle {
    id: panel

    required property analyticsProjectRow row
    signal openPayments()

    color: AppTheme.background

    Column {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12
        Text {
            objectName: "analyticsDetailTitle"
            width: parent.width
            text: panel.row.name
            textFormat: Text.PlainText
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
