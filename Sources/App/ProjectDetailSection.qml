import QtQuick
import Tessmark.Features.Editor
import Tessmark.App

// The chosen project's detail column. The main window loads this file by its address when a
// project is first chosen, so that its start does not load the editor's types.
Loader {
    id: section

    required property MainShellViewModel shellModel
    // A new selection builds a new container; the same identity keeps it.
    property string projectId: shellModel.selectedProjectId
    readonly property var editor: item ? item.editor : null
    // The project chosen from inside the editor (a new iteration, another one): its editor takes
    // the keyboard, as the editor had it.
    property string editorFocusFor: ""

    onProjectIdChanged: {
        active = false
        active = true
    }
    onLoaded: {
        if (section.editorFocusFor === section.projectId)
            item.focusEditorWhenShown()
        section.editorFocusFor = ""
    }
    sourceComponent: ProjectDetailContainer {
        projectsService: section.shellModel.projectsService
        projectId: section.shellModel.selectedProjectId
        isGuestSession: section.shellModel.isGuest
        onDeleted: section.shellModel.projectDeleted()
        onProjectIdChangeRequested: newId => section.shellModel.projectIdChangedByDetail(newId)
        // A person's choice: asked about unsaved edits like a click in the list.
        onProjectChosen: newId => {
            section.editorFocusFor = newId
            section.shellModel.selectedProjectId = newId
        }
    }
}
