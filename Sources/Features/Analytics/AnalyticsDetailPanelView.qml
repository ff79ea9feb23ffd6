pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Analytics

// The detail column of the analytics section: the selected row's figures, what is left to pay,
// the planned hours and the way to its payments.
Rectangle {
    id: panel
    objectName: "analyticsDetail"

    required property analyticsProjectRow row
    signal openPayments()

    color: AppTheme.background

    component MetricRow: RowLayout {
        id: metric
        required property string title
        required property string value
        Layout.fillWidth: true
        spacing: 12
        Text {
            text: metric.title
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.textSecondary
        }
        Item { Layout.fillWidth: true }
        Text {
            objectName: "metricValue"
            text: metric.value
            textFormat: Text.PlainText
            font: Typography.font(Typography.Subheadline, Font.DemiBold)
            color: AppTheme.deepBlack
        }
    }

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth

        ColumnLayout {
            x: 20
            width: scroll.availableWidth - 40
            spacing: 16

            Item { implicitHeight: 4 }

            Text {
                text: "Детали"
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 6
                Text {
                    objectName: "analyticsDetailTitle"
                    Layout.fillWidth: true
                    text: panel.row.titleText
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: Typography.font(Typography.Title3, Font.Bold)
                    color: AppTheme.primary
                }
                Text {
                    objectName: "analyticsDetailSecondLine"
                    Layout.fillWidth: true
                    visible: panel.row.hasSecondLine
                    text: panel.row.secondLineText
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.textSecondary
                }
                ProjectStatusBadge {
                    status: panel.row.status
                }
            }

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: 1
                color: AppTheme.border
            }

            MetricRow { title: "План"; value: panel.row.plannedText }
            MetricRow { title: "Выполнено"; value: panel.row.doneText }
            MetricRow { title: "Оплачено"; value: panel.row.paidText }
            MetricRow { objectName: "remainingRow"; title: "К оплате"; value: panel.row.remainingText }
            MetricRow { objectName: "hoursRow"; title: "Часы (план)"; value: panel.row.hoursText }

            PrimaryButton {
                objectName: "analyticsDetailPayments"
                text: "Платежи"
                systemImage: "creditcard.fill"
                // Opening the payments replaces this panel: not from inside its own click.
                onClicked: Qt.callLater(() => panel.openPayments())
            }

            Item { implicitHeight: 4 }
        }
    }
}
