pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Export

// "Сохранить PDF": a folder view with our own name field and buttons. Whatever was navigated
// before, "Сохранить" and Return in the name field save under the name the field shows; a folder
// never puts its name into the field. An existing file is replaced only after "Заменить".
// The list is worked as a desktop file dialog's: the wheel and the scroll bar move it; the arrows,
// Home, End, Page Up and Page Down move the selection; Return, Enter or Space open a folder;
// Backspace (in the list) or Alt+Up goes up and selects the folder left. "Новая папка" makes a
// folder and enters it.
// Saving asks the owner to write the file (saveRequested) while the dialog stays open; the owner
// answers with saveFinished(): the dialog closes on success, and on failure shows why inside and
// keeps its folder and the typed name. Ends with accepted() (selectedFile, currentFolder) after a
// save, or rejected().
T.Popup {
    id: dialog

    // What a screen reader calls the dialog.
    readonly property string title: "Сохранить PDF"
    property url startFolder
    property string suggestedName
    readonly property url currentFolder: folders.folder
    property url selectedFile
    // Why the last save failed or its name was refused, shown inside the dialog until the name or
    // the folder changes.
    property string failure
    // The rows of the folder shown, read by the time the folder changes.
    readonly property FolderEntriesModel listing: folders.entries

    signal accepted()
    signal rejected()
    signal saveRequested(url file)

    // The answer is given once, by a successful save, Escape or "Отмена".
    property bool answered: false

    // The owner's answer to saveRequested: "" once the file is written, else why it is not.
    function saveFinished(error) {
        if (answered)
            return
        if (error === "") {
            answered = true
            close()
            accepted()
            return
        }
        failure = error
        nameField.input.forceActiveFocus()
    }

    function finish(file) {
        selectedFile = file
        failure = ""
        saveRequested(file)
    }

    // A name whose file would not lie in the folder shown is refused with the reason, as the
    // new folder's are; the dialog stays.
    function save() {
        const problem = folders.fileNameProblem(nameField.text)
        if (problem !== "") {
            failure = problem
            nameField.input.forceActiveFocus()
            return
        }
        const path = folders.destination(nameField.text)
        const file = folders.destinationUrl(nameField.text)
        if (folders.fileExists(path)) {
            replace.path = path
            replace.file = file
            replace.open()
            return
        }
        finish(file)
    }

    function cancel() {
        answered = true
        close()
        rejected()
    }

    // Opens the row's folder, or saves under the row's file name.
    function activate(index) {
        if (listing.isFolder(index)) {
            openFolder(listing.fileUrl(index))
        } else {
            nameField.text = listing.fileName(index)
            save()
        }
    }

    // The new folder's first row is chosen while the list has the keyboard.
    function openFolder(folder) {
        folders.folder = folder
        if (rows.activeFocus && listing.count > 0)
            rows.currentIndex = 0
    }

    // Up a folder, with the folder left chosen and in view.
    function goUp() {
        const index = listing.indexOf(folders.goUp())
        if (index < 0)
            return
        rows.currentIndex = index
        rows.positionViewAtIndex(index, ListView.Contain)
    }

    // A row chosen by the keys: shown, and a file's name put into the field as a click does.
    function select(index) {
        if (listing.count === 0)
            return
        rows.currentIndex = Math.max(0, Math.min(listing.count - 1, index))
        rows.positionViewAtIndex(rows.currentIndex, ListView.Contain)
        if (!listing.isFolder(rows.currentIndex)) {
            nameField.text = listing.fileName(rows.currentIndex)
            failure = ""
        }
    }

    function listKey(event) {
        if (event.modifiers & (Qt.AltModifier | Qt.ControlModifier)) {
            event.accepted = false
            return
        }
        const current = rows.currentIndex
        const page = Math.max(1, Math.floor(rows.height / rows.rowHeight) - 1)
        switch (event.key) {
        case Qt.Key_Down:
            select(current < 0 ? 0 : current + 1)
            break
        case Qt.Key_Up:
            select(current < 0 ? 0 : current - 1)
            break
        case Qt.Key_Home:
            select(0)
            break
        case Qt.Key_End:
            select(listing.count - 1)
            break
        case Qt.Key_PageDown:
            select(current < 0 ? page : current + page)
            break
        case Qt.Key_PageUp:
            select(current - page)
            break
        case Qt.Key_Return:
        case Qt.Key_Enter:
        case Qt.Key_Space:
            if (current < 0) {
                event.accepted = false
                return
            }
            activate(current)
            break
        case Qt.Key_Backspace:
            goUp()
            break
        default:
            event.accepted = false
            return
        }
        event.accepted = true
    }

    objectName: "saveFileDialog"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(600, parent.width - 40)
    height: Math.min(500, parent.height - 40)
    modal: true
    focus: true
    closePolicy: T.Popup.CloseOnEscape
    padding: 20

    onAboutToShow: {
        folders.folder = startFolder
        nameField.text = suggestedName
        answered = false
        failure = ""
    }
    onOpened: {
        nameField.input.forceActiveFocus()
        // The name without its suffix is selected, ready to be typed over.
        const dot = nameField.text.toLowerCase().lastIndexOf(".pdf")
        nameField.input.select(0, dot > 0 ? dot : nameField.text.length)
    }
    onClosed: {
        if (!answered) {
            answered = true
            rejected()
        }
    }

    SaveFileDialogModel {
        id: folders

        onFolderChanged: dialog.failure = ""
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.32)
    }

    background: Rectangle {
        radius: AppTheme.cornerRadiusLarge
        color: AppTheme.cardBackground
        border.width: 1
        border.color: AppTheme.border
    }

    contentItem: ColumnLayout {
        spacing: 12
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Up && (event.modifiers & Qt.AltModifier)) {
                dialog.goUp()
                event.accepted = true
            }
        }

        Text {
            Layout.fillWidth: true
            text: dialog.title
            font: Typography.font(Typography.Headline)
            color: AppTheme.deepBlack
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            SecondaryButton {
                objectName: "folderUpButton"
                bordered: true
                text: "Вверх"
                enabled: folders.canGoUp
                // A reader names the button by the word shown, and tells where it goes.
                Accessible.name: text
                Accessible.description: "На папку выше"
                onClicked: dialog.goUp()
            }
            SecondaryButton {
                id: newFolderButton

                objectName: "newFolderButton"
                bordered: true
                text: "Новая папка"
                systemImage: "folder.badge.plus"
                onClicked: newFolder.open()
            }
            Text {
                objectName: "folderPath"
                Layout.fillWidth: true
                text: folders.folderText
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.textSecondary
                Accessible.role: Accessible.StaticText
                Accessible.name: folders.folderSpoken
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: AppTheme.cornerRadiusSmall
            color: AppTheme.fieldBackground
            border.width: 1
            border.color: rows.activeFocus ? AppTheme.accent : AppTheme.border

            ListView {
                id: rows

                readonly property real rowHeight: 36

                objectName: "folderRows"
                anchors.fill: parent
                anchors.margins: 1
                clip: true
                model: dialog.listing
                currentIndex: -1
                activeFocusOnTab: true
                keyNavigationEnabled: false
                boundsBehavior: Flickable.StopAtBounds
                Accessible.role: Accessible.List
                Accessible.name: "Папки и PDF-файлы"
                // The chosen row stays in view when a message takes room from the list.
                onHeightChanged: if (currentIndex >= 0) positionViewAtIndex(currentIndex, ListView.Contain)
                Keys.onPressed: event => dialog.listKey(event)

                Connections {
                    target: folders
                    // A new folder starts with no row chosen.
                    function onFolderChanged() {
                        rows.currentIndex = -1
                        rows.positionViewAtBeginning()
                    }
                }

                // The export sheet below is a modal popup too, which would take the wheel.
                PopupWheelScroll {
                    target: rows
                }

                // Drawn whenever there is more to see, and dragged as any scroll bar.
                T.ScrollBar.vertical: T.ScrollBar {
                    id: scrollBar

                    objectName: "folderScrollBar"
                    policy: T.ScrollBar.AlwaysOn
                    visible: size < 1
                    minimumSize: 0.08
                    padding: 2
                    implicitWidth: 12
                    Accessible.name: "Прокрутка: Папки и PDF-файлы"

                    contentItem: Rectangle {
                        implicitWidth: 8
                        radius: 4
                        color: scrollBar.pressed || scrollBar.hovered ? AppTheme.textSecondary
                             : AppTheme.withOpacity(AppTheme.textSecondary, 0.75)
                    }
                }

                delegate: T.ItemDelegate {
                    id: row

                    required property int index
                    required property string fileName
                    required property bool fileIsDir
                    required property var fileSize
                    required property var fileModified

                    objectName: "folderRow-" + fileName
                    width: ListView.view.width
                    implicitHeight: rows.rowHeight
                    leftPadding: 12
                    rightPadding: 12 + (scrollBar.visible ? scrollBar.width : 0)
                    focusPolicy: Qt.NoFocus
                    highlighted: ListView.isCurrentItem
                    Accessible.role: Accessible.ListItem
                    Accessible.name: (fileIsDir ? "Папка " : "Файл ") + fileName
                    Accessible.selected: highlighted
                    // The list hands the keyboard to its current row: the row's keys are the list's
                    // (Space and Return would only press the row as a button).
                    Keys.onPressed: event => dialog.listKey(event)
                    // A click gives the list the keyboard, as in any file dialog.
                    onPressed: rows.forceActiveFocus(Qt.MouseFocusReason)
                    onClicked: {
                        rows.currentIndex = index
                        // A file's name is the one to replace; a folder's never lands in the field.
                        if (!fileIsDir) {
                            nameField.text = fileName
                            dialog.failure = ""
                        }
                    }
                    onDoubleClicked: dialog.activate(index)

                    background: Rectangle {
                        color: row.highlighted ? AppTheme.withOpacity(AppTheme.accent, 0.16)
                             : row.hovered ? AppTheme.withOpacity(AppTheme.accent, 0.07) : "transparent"
                    }

                    contentItem: RowLayout {
                        spacing: 10

                        AppIcon {
                            name: row.fileIsDir ? "folder.fill" : "doc.fill"
                            size: 16
                            color: row.fileIsDir ? AppTheme.primary : AppTheme.textSecondary
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.fileName
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Body)
                            color: AppTheme.deepBlack
                        }
                        Text {
                            visible: !row.fileIsDir
                            text: row.fileIsDir ? "" : folders.sizeText(row.fileSize)
                            font: Typography.font(Typography.Footnote)
                            // The grey of a detail is too faint on the chosen row's tint.
                            color: row.highlighted ? AppTheme.deepBlack : AppTheme.textSecondary
                        }
                        Text {
                            text: folders.dateText(row.fileModified)
                            font: Typography.font(Typography.Footnote)
                            color: row.highlighted ? AppTheme.deepBlack : AppTheme.textSecondary
                        }
                    }
                }
            }
        }

        // Why rows are missing: a folder cut short, or one that cannot be read.
        Text {
            objectName: "folderNote"
            Layout.fillWidth: true
            visible: text !== ""
            text: dialog.listing.note
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            font: Typography.font(Typography.Footnote)
            color: AppTheme.textSecondary
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        AppTextField {
            id: nameField

            objectName: "fileNameField"
            Layout.fillWidth: true
            title: "Имя файла"
            systemImage: "doc.text"
            // Drawn in the error colour while the message below tells why the name failed.
            error: dialog.failure !== "" ? "" : null
            onAccepted: dialog.save()
            onTextEdited: dialog.failure = ""
        }

        // Why the last save failed: wrapped inside the dialog, the long path anywhere.
        AlertText {
            objectName: "saveDialogError"
            Layout.fillWidth: true
            text: dialog.failure
            wrapMode: Text.Wrap
            maximumLineCount: 6
            elide: Text.ElideRight
            font: Typography.font(Typography.Footnote)
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Item { Layout.fillWidth: true }
            SecondaryButton {
                objectName: "saveDialogCancel"
                bordered: true
                text: "Отмена"
                onClicked: dialog.cancel()
            }
            PrimaryButton {
                objectName: "saveDialogSave"
                Layout.fillWidth: false
                Layout.preferredWidth: Math.max(implicitWidth, 160)
                text: "Сохранить"
                onClicked: dialog.save()
            }
        }
    }

    NewFolderPrompt {
        id: newFolder

        folders: folders
        // In the new folder the name is what is left to give; a prompt given up goes back to its button.
        onClosed: {
            if (made) {
                nameField.input.forceActiveFocus()
            } else {
                FocusLanding.land(newFolderButton)
            }
        }
    }

    AppConfirmationDialog {
        id: replace

        property string path
        property url file

        objectName: "replaceFileAlert"
        title: path === "" ? "" : folders.replaceQuestion(path)
        buttons: [{ text: "Заменить", role: "destructive" }, { text: "Отмена", role: "cancel" }]
        onTriggered: index => {
            if (index === 0)
                dialog.finish(file)
            else
                nameField.input.forceActiveFocus()
        }
    }
}
