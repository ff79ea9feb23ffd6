import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Editor

// The detail column of the selected project: loading, its editor, or why it is not there; and
// the confirmation of its deletion.
Rectangle {
    id: detail
    objectName: "projectDetail"

    required property ProjectsService projectsService
    required property string projectId
    property bool isGuestSession: projectsService ? projectsService.isGuestMode : false
    readonly property alias controller: controller
    // The working copy on screen, or null.
    readonly property ProjectEditorViewModel editor: editorLoader.item ? editorLoader.item.screen.editor : null

    signal deleted()
    signal projectIdChangeRequested(string newId)
    // The person chose another project in the editor (an iteration, a new iteration).
    signal projectChosen(string projectId)

    color: AppTheme.background

    ProjectDetailController {
        id: controller
        projectsService: detail.projectsService
        projectId: detail.projectId
        onDeleted: detail.deleted()
        onProjectIdChangeRequested: newId => detail.projectIdChangeRequested(newId)
    }

    Component.onCompleted: controller.load()

    // The editor's actions take the keyboard once the editor shows.
    property bool editorFocusWanted: false
    function focusEditorWhenShown() {
        detail.editorFocusWanted = true
        detail.landEditorFocus()
    }
    function landEditorFocus() {
        if (detail.editorFocusWanted && editorLoader.item) {
            detail.editorFocusWanted = false
            editorLoader.item.focusActions()
        }
    }

    Column {
        anchors.centerIn: parent
        visible: controller.content === "loading"
        spacing: 10
        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            running: parent.visible
        }
        Text {
            objectName: "detailLoading"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: "Загрузка…"
            color: AppTheme.textSecondary
            font: Typography.font(Typography.Subheadline)
        }
    }

    EmptyStateView {
        objectName: "detailNotFound"
        anchors.fill: parent
        visible: controller.content === "notFound"
        systemImage: "folder.badge.questionmark"
        title: "Не найден"
        description: controller.notFoundText

        SecondaryButton {
            objectName: "detailBack"
            text: "Назад"
            onClicked: controller.dismiss()
        }
    }

    Loader {
        id: editorLoader
        anchors.fill: parent
        // One editor per project: a newer copy of the same project goes to the same editor.
        active: controller.content === "editor"
        onLoaded: detail.landEditorFocus()
        sourceComponent: ProjectEditorView {
            projectsService: detail.projectsService
            isGuestSession: detail.isGuestSession
            project: controller.loadedProject
            canDelete: controller.canDelete
            onDeleteRequested: confirmation.open()
            onIterationSelected: projectId => detail.projectChosen(projectId)
        }
    }

    AppConfirmationDialog {
        id: confirmation
        objectName: "deleteConfirmation"
        title: controller.deleteDialogTitle
        message: controller.deleteDialogMessage
        buttons: [
            { text: controller.deleteButtonText, role: "destructive" },
            { text: "Отмена", role: "cancel" }
        ]
        onTriggered: index => {
            if (index === 0)
                controller.deleteProject()
        }
    }
}
