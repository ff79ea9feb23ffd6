import QtQuick
import Tessmark.Design

// Stand-in of the payment screen of one project or iteration.
Rectangle {
    id: finance

    required property string projectId
    required property string projectName
    required property string currency
    property var onChanged: null

    color: AppTheme.background

    Column {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 8
        Text {
            width: parent.width
            text: finance.projectName
            font: Typography.font(Typography.Title2, Font.Bold)
            elide: Text.ElideRight
            color: AppTheme.deepBlack
        }
        Text {
            text: "Платежи · " + finance.currency
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.textSecondary
        }
    }
}
