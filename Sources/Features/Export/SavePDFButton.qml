pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Features.Export

// Saves a copy of the rendered proposal where the user chooses, through the desktop's file dialog
// or, where there is none, our own. Disabled while a dialog is open. Our own dialog has the copy
// made while it is open and tells a failure inside itself; any other failure is reported in an
// alert.
PrimaryButton {
    id: button

    required property ExportPDFViewModel viewModel
    // Makes the dialog: an object with open(), accepted(), rejected(), selectedFile and
    // currentFolder; one that also has saveRequested(file) asks for the copy itself and is answered
    // with saveFinished(error). Tests may put a fake in its place.
    property Component dialog: fileDialog
    // Our own dialog while it is open.
    property QtObject ownDialog: null

    text: viewModel.isSaving ? "Сохранение…" : "Сохранить PDF…"
    systemImage: "square.and.arrow.down"
    enabled: !viewModel.isSaving

    // Once the dialog has closed, the copy is done and its failure told, the keyboard comes back here.
    property bool focusWanted: false
    function landFocus() {
        if (button.focusWanted && button.enabled && !failure.opened) {
            button.focusWanted = false
            FocusLanding.land(button)
        }
    }
    onEnabledChanged: landFocus()

    // The desktop's own dialog where it offers one; ours where it does not.
    onClicked: {
        button.viewModel.beginSave()
        if (button.viewModel.isSaving)
            portal.askSavePDF(button, button.viewModel.suggestedFilename, button.viewModel.saveFolder)
    }

    // Whichever dialog answered, the keys come back to the button once it is enabled again.
    function dialogAnswered() {
        button.focusWanted = true
        Qt.callLater(button.landFocus)
    }

    // A place chosen in a desktop dialog that came up late, after ours, is the answer: ours goes.
    // One chosen after the save ended is told over the window as not used.
    PortalFileChooser {
        id: portal

        objectName: "portalFileChooser"
        lateAnswers: LateSaveAnswers
        onChosen: file => {
            button.withdrawOwnDialog()
            button.viewModel.finishSave(file)
            button.dialogAnswered()
        }
        onCancelled: {
            button.viewModel.cancelSave()
            button.dialogAnswered()
        }
        onFailed: message => {
            button.withdrawOwnDialog()
            button.viewModel.failSave(message)
            button.dialogAnswered()
        }
        // Unless the sheet has given up on the save meanwhile.
        onUnavailable: {
            if (button.viewModel.isSaving)
                button.openOwnDialog()
        }
    }
    // The save is over (or the sheet gave up on it): the desktop's dialog goes with it, and a
    // late one is no longer its answer.
    Connections {
        target: button.viewModel
        function onSaveChanged() {
            if (!button.viewModel.isSaving)
                portal.dismiss(button.viewModel.savedFile)
        }
    }

    function openOwnDialog() {
        const chooser = button.dialog.createObject(button)
        if (!chooser) {
            button.viewModel.cancelSave()
            return
        }
        const savesItself = chooser.saveRequested !== undefined
        if (savesItself) {
            chooser.saveRequested.connect(function(file) {
                chooser.saveFinished(button.viewModel.saveInDialog(file))
            })
        }
        chooser.accepted.connect(function() {
            if (button.ownDialog !== chooser)
                return
            button.ownDialog = null
            if (!savesItself)
                button.viewModel.finishSave(chooser.selectedFile, chooser.currentFolder)
            chooser.destroy()
            button.dialogAnswered()
        })
        chooser.rejected.connect(function() {
            if (button.ownDialog !== chooser)
                return
            button.ownDialog = null
            button.viewModel.cancelSave()
            chooser.destroy()
            button.dialogAnswered()
        })
        button.ownDialog = chooser
        chooser.open()
    }

    // Gone without an answer of its own.
    function withdrawOwnDialog() {
        const own = button.ownDialog
        button.ownDialog = null
        if (own)
            own.destroy()
    }

    // Qt Quick's own save dialog loses a name typed after a change of folder and never takes
    // Return: ours does it all itself.
    Component {
        id: fileDialog

        SaveFileDialog {
            startFolder: button.viewModel.saveFolder
            suggestedName: button.viewModel.suggestedFilename
        }
    }

    AppConfirmationDialog {
        id: failure

        objectName: "saveFailedAlert"
        title: "Не удалось сохранить"
        message: button.viewModel.saveError
        buttons: [{ text: "OK", role: "cancel" }]
        onClosed: {
            button.viewModel.clearSaveError()
            Qt.callLater(button.landFocus)
        }

        Connections {
            target: button.viewModel
            function onSaveChanged() {
                if (button.viewModel.saveError !== "")
                    failure.open()
            }
        }
    }
}
