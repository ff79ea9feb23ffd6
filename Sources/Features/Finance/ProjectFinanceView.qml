import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services

// Stand-in of the payment screen of one project: its title and its payments.
Rectangle {
    id: finance

    required property string projectId
    required property string projectName
    required property string currency
    property var onChanged: null

    color: AppTheme.background

    FinanceService { id: financeService }
    Component.onCompleted: financeService.loadPayments(projectId)

    Label {
        id: heading
        x: 20
        y: 16
        width: parent.width - 40
        text: finance.projectName
        font.pixelSize: 22
        font.bold: true
        elide: Text.ElideRight
        color: AppTheme.deepBlack
    }

    ListView {
        anchors.fill: parent
        anchors.topMargin: heading.y + heading.height + 12
        anchors.margins: 20
        clip: true
        spacing: 6
        model: financeService.payments
        delegate: Label {
            required property var modelData
            text: modelData.paidAt + " — " + modelData.amount + " " + modelData.currency
            color: AppTheme.deepBlack
        }
    }
}
