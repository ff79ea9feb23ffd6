pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic as Basic
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Editor

// A new iteration of the root: an optional name and where its lines come from. The created
// iteration is handed over only after the sheet has closed, since opening it replaces the editor.
// A creation the backend may have made without saying so is told inside the sheet, which then
// only closes.
Item {
    id: root

    property ProjectsService projectsService
    property string rootProjectId
    // The editor's current lines (a list of ProjectItem), offered as one of the sources.
    property var copyFromCurrentItems
    readonly property alias model: form
    property string pendingProjectId

    signal created(string projectId)
    signal closed()

    function open() {
        sheet.open()
        nameField.input.forceActiveFocus()
    }

    function finish() {
        const made = pendingProjectId
        pendingProjectId = ""
        root.closed()
        if (made !== "")
            root.created(made)
    }

    CreateIterationModel {
        id: form

        projectsService: root.projectsService
        rootProjectId: root.rootProjectId
        copyFromCurrentItems: root.copyFromCurrentItems
        onCreated: projectId => {
            if (!sheet.opened)
                return
            root.pendingProjectId = projectId
            sheet.close()
        }
        onUnsettled: {
            scroller.contentY = 0
            sheet.focusConfirm()
        }
    }

    AppSheet {
        id: sheet

        title: "Новая итерация"
        cancelText: form.isUnsettled ? "" : "Отмена"
        confirmText: form.submitText
        confirmEnabled: !form.isSubmitting
        cancelEnabled: !form.isSubmitting
        minimumWidth: 440
        minimumHeight: 400
        onConfirmed: form.isUnsettled ? sheet.close() : form.submit()
        onClosed: Qt.callLater(root.finish)

        Flickable {
            id: scroller

            anchors.fill: parent
            contentWidth: width
            contentHeight: fields.implicitHeight + 40
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            SubmitOnReturn.onSubmitted: form.submit()

            Basic.ScrollBar.vertical: Basic.ScrollBar {}

            Column {
                id: fields

                x: 20
                y: 20
                width: scroller.width - 40
                spacing: 18

                AlertText {
                    objectName: "creationNotice"
                    width: parent.width
                    shown: form.isUnsettled
                    text: form.notice
                    font: Typography.font(Typography.Subheadline)
                }
                AppTextField {
                    id: nameField

                    objectName: "iterationNameField"
                    width: parent.width
                    enabled: !form.isUnsettled
                    title: "Название (необязательно)"
                    systemImage: "tag"
                    text: form.name
                    onTextEdited: form.name = text
                }

                AppSelect {
                    objectName: "sourceSelect"
                    width: parent.width
                    enabled: !form.isUnsettled
                    title: "Источник сметы"
                    systemImage: "chevron.down"
                    options: form.sourceOptions
                    selection: form.source
                    onActivated: value => form.source = value
                }

                Text {
                    objectName: "sourceHint"
                    width: parent.width
                    text: form.sourceHint
                    wrapMode: Text.WordWrap
                    font: Typography.font(Typography.Footnote)
                    color: AppTheme.textSecondary
                }
            }
        }
    }
}
