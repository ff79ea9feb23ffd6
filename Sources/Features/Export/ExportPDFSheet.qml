pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Export

// The proposal export: renders the PDF when opened, shows its first page, saves a copy, shares
// the file and opens it in the viewer. A failed render offers a retry.
Item {
    id: root

    // A CommercialProposalInput, built by the editor when it opens the sheet.
    property var input
    // The sheet's state, for tests.
    readonly property ExportPDFViewModel viewModel: exporter

    signal closed()

    function open() {
        sheet.open()
        exporter.start()
    }

    ExportPDFViewModel {
        id: exporter

        input: root.input
    }

    AppSheet {
        id: sheet

        title: "Коммерческое предложение"
        cancelText: "Закрыть"
        minimumWidth: 400
        minimumHeight: 460
        onClosed: root.closed()

        Rectangle {
            anchors.fill: parent
            color: AppTheme.background
        }

        ColumnLayout {
            objectName: "loadingContent"
            anchors.centerIn: parent
            width: parent.width - 32
            spacing: 16
            visible: exporter.isGenerating

            BusyIndicator {
                Layout.alignment: Qt.AlignHCenter
                running: exporter.isGenerating
            }
            Text {
                Layout.fillWidth: true
                text: "Формируем PDF…"
                horizontalAlignment: Text.AlignHCenter
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Body)
            }
        }

        ColumnLayout {
            objectName: "errorContent"
            anchors.centerIn: parent
            width: parent.width - 32
            spacing: 16
            visible: !exporter.isGenerating && exporter.errorMessage !== ""

            AppIcon {
                Layout.alignment: Qt.AlignHCenter
                name: "exclamationmark.triangle.fill"
                size: 40
                color: AppTheme.error
            }
            Text {
                objectName: "errorText"
                Layout.fillWidth: true
                text: exporter.errorMessage
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                color: AppTheme.error
                font: Typography.font(Typography.Body)
            }
            SecondaryButton {
                objectName: "retryButton"
                Layout.alignment: Qt.AlignHCenter
                text: "Повторить"
                onClicked: exporter.generate()
            }
        }

        ScrollView {
            id: scroller

            objectName: "readyContent"
            anchors.fill: parent
            visible: !exporter.isGenerating && exporter.pdfUrl.toString() !== ""
            contentWidth: availableWidth
            ScrollBar.vertical.policy: ScrollBar.AsNeeded

            ColumnLayout {
                width: scroller.availableWidth
                spacing: 20

                Item { Layout.preferredHeight: 0 }

                PDFPreviewThumbnail {
                    objectName: "preview"
                    Layout.alignment: Qt.AlignHCenter
                    Layout.preferredWidth: Math.min(220, scroller.availableWidth - 32)
                    Layout.preferredHeight: Math.round(Layout.preferredWidth / 0.707)
                    source: exporter.previewSource
                }
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: "PDF готов"
                    color: AppTheme.deepBlack
                    font: Typography.font(Typography.Headline)
                }
                Text {
                    objectName: "saveNotice"
                    Layout.fillWidth: true
                    Layout.leftMargin: 16
                    Layout.rightMargin: 16
                    visible: exporter.saveNotice !== ""
                    text: exporter.saveNotice
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    horizontalAlignment: Text.AlignHCenter
                    color: AppTheme.success
                    font: Typography.font(Typography.Subheadline)
                }
                SavePDFButton {
                    objectName: "saveButton"
                    Layout.fillWidth: true
                    Layout.leftMargin: 16
                    Layout.rightMargin: 16
                    viewModel: exporter
                }
                SharePDFButton {
                    objectName: "shareButton"
                    Layout.fillWidth: true
                    Layout.leftMargin: 16
                    Layout.rightMargin: 16
                    pdfUrl: exporter.pdfUrl
                }
                SecondaryButton {
                    objectName: "openButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Открыть в просмотрщике"
                    onClicked: exporter.openInViewer()
                }

                Item { Layout.preferredHeight: 0 }
            }
        }
    }
}
