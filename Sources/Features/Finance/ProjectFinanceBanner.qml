pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Tessmark.Design

// Stand-in of the editor's finance strip: the project's planned and paid money, and a button
// that opens its payments.
Rectangle {
    id: root

    // An EstimateAnalytics value, or undefined while there is none.
    property var analytics
    property string currency
    property bool isLoading

    signal openPayments()

    implicitHeight: 52
    radius: 12
    color: AppTheme.cardBackground
    border.color: AppTheme.border

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 14
        anchors.rightMargin: 14

        Text {
            Layout.fillWidth: true
            text: root.isLoading ? "Загрузка…" : "Финансы проекта"
            color: AppTheme.textSecondary
            font: Typography.font(Typography.Subheadline)
        }
        SecondaryButton {
            text: "Платежи"
            onClicked: root.openPayments()
        }
    }
}
