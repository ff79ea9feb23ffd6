pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Finance

// The editor's finance strip: planned and paid money of the project, the difference from the
// last AI estimate, a bar of the paid share, and a button that opens the payments.
Rectangle {
    id: root

    objectName: "financeBanner"

    // An EstimateAnalytics value, or undefined while there is none.
    property var analytics
    property string currency
    property bool isLoading

    signal openPayments()

    implicitHeight: content.implicitHeight + 28
    radius: AppTheme.cornerRadiusMedium
    color: AppTheme.cardBackground
    border.width: 1
    border.color: AppTheme.border

    FinanceBannerFigures {
        id: figures

        analytics: root.analytics
        currency: root.currency
    }

    component Metric: ColumnLayout {
        id: metric

        required property string title
        required property string value
        property bool subdued: false

        // A figure of hundreds of digits gives way with an ellipsis; the caption stays whole.
        Layout.fillWidth: true
        Layout.minimumWidth: Math.ceil(metricTitle.implicitWidth)
        Layout.maximumWidth: Math.ceil(implicitWidth)
        spacing: 2
        Accessible.role: Accessible.StaticText
        Accessible.name: title
        Accessible.description: value

        Text {
            id: metricTitle
            text: metric.title
            textFormat: Text.PlainText
            font: Typography.font(Typography.Caption2)
            color: AppTheme.textSecondary
        }
        Text {
            Layout.fillWidth: true
            text: metric.value
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font: Typography.font(Typography.Subheadline, Font.DemiBold)
            color: metric.subdued ? AppTheme.textSecondary : AppTheme.deepBlack
        }
    }

    ColumnLayout {
        id: content

        anchors.fill: parent
        anchors.margins: 14
        spacing: 12

        RowLayout {
            Layout.fillWidth: true

            AppIcon {
                name: "rublesign.circle.fill"
                color: AppTheme.primary
            }
            Text {
                Layout.fillWidth: true
                text: "Финансы"
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                textFormat: Text.PlainText
                font: Typography.font(Typography.Subheadline, Font.DemiBold)
                color: AppTheme.primary
            }
            AbstractButton {
                id: paymentsButton

                objectName: "openPaymentsButton"
                text: "Платежи"
                leftPadding: 12
                rightPadding: 12
                topPadding: 6
                bottomPadding: 6
                onClicked: root.openPayments()

                readonly property color foreground: AppTheme.dark ? AppTheme.background : "white"

                FocusRing {
                    radius: 11
                }

                contentItem: Row {
                    spacing: 6

                    AppIcon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "creditcard.fill"
                        size: 15
                        color: paymentsButton.foreground
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: paymentsButton.text
                        textFormat: Text.PlainText
                        font: Typography.font(Typography.Subheadline, Font.DemiBold)
                        color: paymentsButton.foreground
                    }
                }
                background: Rectangle {
                    radius: 8
                    color: paymentsButton.pressed ? Qt.darker(AppTheme.primary, 1.15) : AppTheme.primary
                }
            }
        }

        BusyIndicator {
            palette.dark: AppTheme.textSecondary
            palette.text: AppTheme.textSecondary
            objectName: "bannerSpinner"
            visible: root.isLoading
            running: root.isLoading
            implicitWidth: 24
            implicitHeight: 24
        }

        RowLayout {
            objectName: "bannerMetrics"
            visible: !root.isLoading
            Layout.fillWidth: true
            spacing: 16

            Metric {
                title: "План"
                value: figures.planText
            }
            Metric {
                title: "Оплачено"
                value: figures.paidText
            }
            Metric {
                objectName: "deltaMetric"
                visible: figures.hasDelta
                title: "Δ от ИИ"
                value: figures.deltaText
                subdued: true
            }
            Item {
                Layout.fillWidth: true
            }
        }

        Item {
            objectName: "paidBar"
            visible: !root.isLoading
            Layout.fillWidth: true
            implicitHeight: 6

            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: AppTheme.withOpacity(AppTheme.primary, 0.12)
            }
            Rectangle {
                objectName: "paidFill"
                width: parent.width * figures.paidShare
                height: parent.height
                radius: height / 2
                color: AppTheme.accent
            }
        }
    }
}
