pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Export

// "Новая папка": asks for a name above the save dialog and makes the folder in the dialog's
// folder. Return or "Создать" makes it; a name that cannot be used keeps the prompt open with the
// reason under the field; Escape or "Отмена" closes the prompt alone.
T.Dialog {
    id: prompt

    required property SaveFileDialogModel folders
    // Why the last attempt failed, or empty.
    property string error
    // The prompt closed because the folder was made; the dialog stands in it.
    property bool made: false

    function create() {
        const problem = prompt.folders.createFolder(nameField.text)
        if (problem !== "") {
            prompt.error = problem
            nameField.input.forceActiveFocus()
            return
        }
        prompt.made = true
        close()
    }

    objectName: "newFolderPrompt"
    title: "Новая папка"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(380, parent ? parent.width - 40 : 380)
    implicitHeight: contentItem.implicitHeight + topPadding + bottomPadding
    modal: true
    focus: true
    closePolicy: T.Popup.NoAutoClose
    padding: 20

    onAboutToShow: {
        nameField.text = prompt.folders.freeFolderName()
        prompt.error = ""
        prompt.made = false
    }
    onOpened: {
        nameField.input.forceActiveFocus()
        nameField.input.selectAll()
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.32)
    }

    background: Item {
        BoxShadow {
            anchors.fill: parent
            anchors.margins: -margin
            radius: AppTheme.cornerRadiusLarge
            blur: 24
            offsetY: 8
            color: Qt.rgba(0, 0, 0, AppTheme.dark ? 0.5 : 0.18)
        }
        Rectangle {
            anchors.fill: parent
            radius: AppTheme.cornerRadiusLarge
            color: AppTheme.cardBackground
            border.width: 1
            border.color: AppTheme.border
        }
    }

    // Holds the focus while no control has it, so that Escape reaches it from anywhere inside.
    contentItem: ColumnLayout {
        spacing: 14
        focus: true
        Keys.onEscapePressed: prompt.close()

        Text {
            Layout.fillWidth: true
            text: prompt.title
            textFormat: Text.PlainText
            font: Typography.font(Typography.Headline)
            color: AppTheme.deepBlack
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        AppTextField {
            id: nameField

            objectName: "newFolderName"
            Layout.fillWidth: true
            title: "Имя папки"
            systemImage: "folder"
            error: prompt.error !== "" ? prompt.error : null
            onTextEdited: prompt.error = ""
            onAccepted: prompt.create()
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Item { Layout.fillWidth: true }
            SecondaryButton {
                objectName: "newFolderCancel"
                bordered: true
                text: "Отмена"
                onClicked: prompt.close()
            }
            PrimaryButton {
                objectName: "newFolderCreate"
                Layout.fillWidth: false
                text: "Создать"
                onClicked: prompt.create()
            }
        }
    }
}
