pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Features.Analytics

// The detail column of the analytics section: the selected row's figures, what is left to pay,
// the planned hours and the way to its payments. Stacked by columns, which place each part by
// its height as it is: wrapped figures change theirs with the width.
Rectangle {
    id: panel
    objectName: "analyticsDetail"

    required property analyticsProjectRow row
    signal openPayments()

    color: AppTheme.background

    // One line of figures: the title, and the value at the far side; a value too long for the
    // room beside the title wraps, between any two characters where it has no break, and never
    // pushes the pane wider. Read as one text, title and figure.
    component MetricRow: Item {
        id: metric
        required property analyticsFigure figure
        readonly property string title: figure.title
        readonly property string value: figure.value
        implicitHeight: Math.max(titleText.implicitHeight, valueText.implicitHeight)
        Accessible.role: Accessible.StaticText
        Accessible.name: figure.spokenLine
        Text {
            id: titleText
            text: metric.title
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.textSecondary
        }
        Text {
            id: valueText
            objectName: "metricValue"
            x: titleText.implicitWidth + 12
            width: metric.width - x
            text: metric.value
            textFormat: Text.PlainText
            wrapMode: Text.WrapAtWordBoundaryOrAnywhere
            horizontalAlignment: Text.AlignRight
            font: Typography.font(Typography.Subheadline, Font.DemiBold)
            color: AppTheme.deepBlack
        }
    }

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth
        ScrollBar.vertical.Accessible.name: "Прокрутка: Детали"

        Column {
            x: 20
            width: scroll.availableWidth - 40
            topPadding: 20
            bottomPadding: 20
            spacing: 16

            // The pane's heading, then the project it tells of: a reader reaches both.
            Text {
                objectName: "analyticsDetailHeading"
                Accessible.role: Accessible.Heading
                Accessible.name: text
                text: "Детали"
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }

            Column {
                width: parent.width
                spacing: 6
                Text {
                    objectName: "analyticsDetailTitle"
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: panel.row.titleText
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: Typography.font(Typography.Title3, Font.Bold)
                    color: AppTheme.primary
                }
                Text {
                    objectName: "analyticsDetailSecondLine"
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
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
                width: parent.width
                height: 1
                color: AppTheme.border
            }

            Repeater {
                model: panel.row.figures
                MetricRow {
                    required property int index
                    required property analyticsFigure modelData
                    objectName: ["plannedRow", "doneRow", "paidRow", "remainingRow", "hoursRow"][index] ?? ""
                    width: parent.width
                    figure: modelData
                }
            }

            PrimaryButton {
                objectName: "analyticsDetailPayments"
                width: parent.width
                text: "Платежи"
                systemImage: "creditcard.fill"
                // Opening the payments replaces this panel: not from inside its own click.
                onClicked: Qt.callLater(() => panel.openPayments())
            }
        }
    }
}
