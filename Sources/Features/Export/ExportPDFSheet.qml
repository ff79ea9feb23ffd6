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
        Qt.callLater(root.landFocus)
    }

    // The keyboard starts on the sheet's first control: "Сохранить PDF…" once the file is ready,
    // "Повторить" after a failure, and the sheet's first button while the file is made. It follows
    // the state for as long as nobody moved it.
    property Item landedOn: null
    function landFocus() {
        if (!sheet.opened)
            return
        const current = root.Window.activeFocusItem
        if (root.landedOn !== null && current !== root.landedOn && current !== null && current.visible
                && current.enabled)
            return
        let target = scroller.visible ? saveButton : errorContent.visible ? retryButton : null
        // No control of its own yet: the first one Tab reaches in the sheet.
        if (target === null && current !== null && root.landedOn === null)
            target = current.nextItemInFocusChain(true)
        if (target === null)
            return
        root.landedOn = target
        FocusLanding.land(target)
    }
    Connections {
        target: exporter
        function onStateChanged() { Qt.callLater(root.landFocus) }
    }

    ExportPDFViewModel {
        id: exporter

        input: root.input
    }

    AppSheet {
        id: sheet

        title: "Коммерческое предложение"
        cancelText: "Закрыть"
        // Wide enough for the whole title, tall enough for a readable page above the actions.
        minimumWidth: 460
        minimumHeight: 560
        onClosed: {
            exporter.discard()
            root.closed()
        }

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

            // A turning arc in the theme's colour (the stock indicator is lost on a dark sheet).
            Canvas {
                id: spinner

                property color stroke: AppTheme.primary

                Layout.alignment: Qt.AlignHCenter
                implicitWidth: 32
                implicitHeight: 32
                onStrokeChanged: requestPaint()
                onPaint: {
                    const context = getContext("2d")
                    context.reset()
                    context.lineWidth = 3
                    context.lineCap = "round"
                    context.strokeStyle = spinner.stroke
                    context.beginPath()
                    context.arc(width / 2, height / 2, width / 2 - 2, 0, Math.PI * 1.5)
                    context.stroke()
                }

                RotationAnimator on rotation {
                    from: 0
                    to: 360
                    duration: 900
                    loops: Animation.Infinite
                    running: exporter.isGenerating
                }
            }
            Text {
                objectName: "progressText"
                Layout.fillWidth: true
                text: "Формируем PDF…"
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                horizontalAlignment: Text.AlignHCenter
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Body)
            }
        }

        ColumnLayout {
            id: errorContent
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
            AlertText {
                objectName: "errorText"
                Layout.fillWidth: true
                text: exporter.errorMessage
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                font: Typography.font(Typography.Body)
            }
            SecondaryButton {
                id: retryButton
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

                // The page gives up height (down to 160) so that the actions stay in view; a
                // smaller window scrolls.
                PDFPreviewThumbnail {
                    objectName: "preview"
                    Layout.alignment: Qt.AlignHCenter
                    Layout.preferredHeight: Math.max(160, Math.min(311, scroller.availableHeight - actions.implicitHeight - 60))
                    Layout.preferredWidth: Math.round(Layout.preferredHeight * 0.707)
                    source: exporter.previewSource
                    accessibleName: exporter.previewName
                }

                ColumnLayout {
                    id: actions

                    Layout.fillWidth: true
                    spacing: 16

                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: "PDF готов"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        color: AppTheme.deepBlack
                        font: Typography.font(Typography.Headline)
                    }
                    Text {
                        objectName: "notice"
                        Layout.fillWidth: true
                        Layout.leftMargin: 16
                        Layout.rightMargin: 16
                        visible: exporter.notice !== ""
                        text: exporter.notice
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        horizontalAlignment: Text.AlignHCenter
                        color: AppTheme.success
                        font: Typography.font(Typography.Subheadline)
                    }
                    SavePDFButton {
                        id: saveButton
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
                        onCopyRequested: exporter.copyFile()
                        onShowInFolderRequested: exporter.showInFolder()
                    }
                    SecondaryButton {
                        objectName: "openButton"
                        Layout.alignment: Qt.AlignHCenter
                        text: "Открыть в просмотрщике"
                        onClicked: exporter.openInViewer()
                    }
                }

                Item { Layout.preferredHeight: 0 }
            }
        }

        // A copy, the folder or the viewer that failed: what failed and what to do instead.
        AppConfirmationDialog {
            id: actionFailure

            objectName: "actionFailedAlert"
            title: exporter.actionErrorTitle
            message: exporter.actionError
            buttons: [{ text: "OK", role: "cancel" }]
            onClosed: exporter.clearActionError()

            Connections {
                target: exporter
                function onSaveChanged() {
                    if (exporter.actionError !== "" && !actionFailure.opened)
                        actionFailure.open()
                }
            }
        }
    }
}
