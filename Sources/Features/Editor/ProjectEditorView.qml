import QtQuick
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Editor
import Tessmark.Features.Finance
import Tessmark.Features.Export

// The editor of one loaded project: toolbar over the content, and the sheets it opens. Each sheet
// lives while its flag is set; a hand-over to another project waits until its sheet has closed.
Rectangle {
    id: view
    objectName: "projectEditor"

    required property ProjectsService projectsService
    required property bool isGuestSession
    // The Project to edit; a later copy of the same project is taken only while nothing was edited.
    required property var project
    property bool canDelete: false
    readonly property alias screen: screenModel
    readonly property alias toolbar: toolbar

    signal deleteRequested()
    signal iterationSelected(string projectId)

    // The project another sheet asked for, opened once that sheet is gone.
    property string pendingProjectId: ""

    function focusFirstField() {
        content.focusFirstField()
    }
    // A project just made or chosen from here starts at the actions, where it was asked for: its
    // filled fields stay as they are until the person goes to them.
    function focusActions() {
        FocusLanding.land(toolbar.actionsButton)
    }

    function handOverWhenClosed(projectId) {
        view.pendingProjectId = projectId
    }
    function sheetClosed(clear) {
        Qt.callLater(() => {
            clear()
            if (view.pendingProjectId !== "") {
                const id = view.pendingProjectId
                view.pendingProjectId = ""
                view.iterationSelected(id)
            }
        })
    }

    implicitWidth: 520
    implicitHeight: 560
    color: AppTheme.background

    ProjectEditorScreenModel {
        id: screenModel
        projectsService: view.projectsService
        isGuestSession: view.isGuestSession
        project: view.project
    }

    Component.onCompleted: screenModel.refreshFinance()

    // Also while a save runs: the editor then saves once more after it, so that the last edit is
    // what is stored.
    Shortcut {
        sequences: [StandardKey.Save]
        onActivated: screenModel.editor.save()
    }

    EditorToolbar {
        id: toolbar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        screen: screenModel
        canDelete: view.canDelete
        onDeleteRequested: view.deleteRequested()
    }

    ProjectEditorContent {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: toolbar.bottom
        anchors.bottom: parent.bottom
        screen: screenModel
    }

    Loader {
        active: screenModel.showItemForm
        onLoaded: item.open()
        sourceComponent: EstimateItemFormSheet {
            form: screenModel.form
            onClosed: Qt.callLater(() => {
                screenModel.showItemForm = false
                content.focusLastOpened()
            })
        }
    }
    Loader {
        active: screenModel.showFinance
        onLoaded: item.open()
        sourceComponent: ProjectFinanceSheet {
            projectsService: view.projectsService
            projectId: screenModel.editor.projectId
            projectName: screenModel.editor.shownName
            currency: screenModel.editor.currency
            onPaymentsChanged: screenModel.refreshFinance()
            onClosed: view.sheetClosed(() => screenModel.showFinance = false)
        }
    }
    Loader {
        active: screenModel.showAI
        onLoaded: item.open()
        sourceComponent: AIGenerateSheet {
            editor: screenModel.editor
            projectsService: view.projectsService
            onClosed: view.sheetClosed(() => screenModel.showAI = false)
        }
    }
    Loader {
        active: screenModel.showExportPDF
        onLoaded: item.open()
        sourceComponent: ExportPDFSheet {
            input: screenModel.exportInput()
            onClosed: view.sheetClosed(() => screenModel.showExportPDF = false)
        }
    }
    Loader {
        active: screenModel.showIterations
        onLoaded: item.open()
        sourceComponent: ProjectIterationsSheet {
            projectsService: view.projectsService
            rootProjectId: screenModel.editor.iterationRootId
            onIterationSelected: projectId => view.handOverWhenClosed(projectId)
            onClosed: view.sheetClosed(() => screenModel.showIterations = false)
        }
    }
    Loader {
        active: screenModel.showNewIteration
        onLoaded: item.open()
        sourceComponent: CreateIterationSheet {
            projectsService: view.projectsService
            rootProjectId: screenModel.editor.iterationRootId
            copyFromCurrentItems: screenModel.newIterationItems()
            onCreated: projectId => view.handOverWhenClosed(projectId)
            onClosed: view.sheetClosed(() => screenModel.showNewIteration = false)
        }
    }
    Loader {
        active: screenModel.showTemplateLibrary
        onLoaded: item.open()
        sourceComponent: TemplateLibrarySheet {
            id: templates
            selectedSphereId: screenModel.activeSphereId
            onSelectedSphereIdChanged: screenModel.activeSphereId = templates.selectedSphereId
            onApplyRequested: (estimateTemplate, replace) => screenModel.editor.applyTemplateValue(estimateTemplate, replace)
            onClosed: view.sheetClosed(() => screenModel.showTemplateLibrary = false)
        }
    }
}
