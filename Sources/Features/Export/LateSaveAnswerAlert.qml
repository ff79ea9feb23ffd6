import QtQuick
import Tessmark.Design
import Tessmark.Features.Export

// A place chosen in the desktop's save dialog after its save had ended, told over the window
// whether the export sheet is still open or long closed. Nothing was saved there.
AppConfirmationDialog {
    id: alert

    objectName: "placeNotUsedAlert"
    title: "Выбранное место не использовано"
    buttons: [{ text: "OK", role: "cancel" }]

    Connections {
        target: LateSaveAnswers
        function onPlaceNotUsed(message) {
            alert.message = message
            if (!alert.opened)
                alert.open()
        }
    }
}
