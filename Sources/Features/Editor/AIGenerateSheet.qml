pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic as Basic
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Editor

// The AI estimate: a task described in words, a mode, optional context and ceiling; the answer's
// lines replace the editor's. While the request runs the sheet cannot be dismissed.
Item {
    id: root

    property ProjectEditorViewModel editor
    property ProjectsService projectsService
    readonly property alias model: generator

    signal closed()

    function open() {
        sheet.open()
        requirementsArea.input.forceActiveFocus()
    }

    AIGenerateSheetModel {
        id: generator

        editor: root.editor
        projectsService: root.projectsService
        onSucceeded: sheet.close()
    }

    AppSheet {
        id: sheet

        title: "ИИ-смета"
        cancelText: "Закрыть"
        cancelEnabled: !generator.isGenerating
        minimumWidth: 480
        minimumHeight: 580
        // The whole form and its footer, so that the budget is in sight when the window has room.
        contentHeight: scroller.contentHeight + footer.height
        onClosed: root.closed()

        Flickable {
            id: scroller

            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: footer.top
            contentWidth: width
            contentHeight: form.implicitHeight + 36
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            Basic.ScrollBar.vertical: Basic.ScrollBar {}

            Column {
                id: form

                x: 20
                y: 20
                width: scroller.width - 40
                spacing: 16

                Text {
                    width: parent.width
                    text: "Опишите задачу — ИИ предложит строки сметы. После генерации нажмите «Сохранить» в редакторе."
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.textSecondary
                }

                AppTextArea {
                    id: requirementsArea

                    objectName: "requirementsArea"
                    width: parent.width
                    title: "Требования"
                    text: generator.requirements
                    onTextChanged: generator.requirements = text
                    onSubmitted: generator.generate()
                }

                Column {
                    width: parent.width
                    spacing: 8

                    Text {
                        text: "Режим"
                        font: Typography.font(Typography.Subheadline, Font.Medium)
                        color: AppTheme.textSecondary
                    }
                    AppSegmentedControl {
                        objectName: "modePicker"
                        width: parent.width
                        options: generator.modeOptions
                        selection: generator.mode
                        onActivated: value => generator.mode = value
                    }
                }

                AppTextField {
                    objectName: "contextField"
                    width: parent.width
                    title: "Доп. контекст (необязательно)"
                    systemImage: "text.alignleft"
                    text: generator.additionalContext
                    onTextEdited: generator.additionalContext = text
                }

                AppToggle {
                    objectName: "budgetToggle"
                    text: "Ограничить бюджет"
                    checked: generator.useBudgetCap
                    onToggled: generator.useBudgetCap = checked
                }

                AppTextField {
                    objectName: "budgetField"
                    width: parent.width
                    visible: generator.useBudgetCap
                    title: generator.budgetCapTitle
                    systemImage: "banknote"
                    text: generator.budgetCapText
                    onTextEdited: generator.budgetCapText = text
                }
            }
        }

        // The error and the button stay in sight however long the form is.
        Rectangle {
            id: footer

            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: footerColumn.implicitHeight
            // The form above is clipped at this edge, so the sheet's own rounded corners show here.
            color: "transparent"

            Rectangle {
                width: parent.width
                height: 1
                visible: scroller.contentHeight > scroller.height
                color: AppTheme.border
            }

            Column {
                id: footerColumn

                width: parent.width
                leftPadding: 20
                rightPadding: 20
                bottomPadding: 20
                topPadding: 12
                spacing: 12

                Rectangle {
                    objectName: "errorBox"
                    width: footerColumn.width - 40
                    visible: generator.hasError
                    height: errorText.implicitHeight + 24
                    radius: 10
                    color: AppTheme.withOpacity(AppTheme.error, 0.1)

                    AlertText {
                        id: errorText

                        objectName: "errorText"
                        x: 12
                        y: 12
                        width: parent.width - 24
                        text: generator.errorMessage
                        font: Typography.font(Typography.Subheadline)
                    }
                }

                PrimaryButton {
                    id: generateButton

                    objectName: "generateButton"
                    width: footerColumn.width - 40
                    enabled: generator.canGenerate
                    text: generator.isGenerating ? "" : "Сгенерировать смету"
                    Accessible.name: "Сгенерировать смету"
                    onClicked: generator.generate()

                    AppIcon {
                        objectName: "generatingIndicator"
                        anchors.centerIn: parent
                        visible: generator.isGenerating
                        name: "arrow.clockwise"
                        size: 22
                        color: generateButton.foreground

                        RotationAnimator on rotation {
                            running: generator.isGenerating
                            from: 0
                            to: 360
                            duration: 900
                            loops: Animation.Infinite
                        }
                    }
                }
            }
        }
    }
}
