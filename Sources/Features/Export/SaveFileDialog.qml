pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Qt.labs.folderlistmodel
import Tessmark.Design
import Tessmark.Features.Export

// "Сохранить PDF": a folder view with our own name field and buttons. Whatever was navigated
// before, "Сохранить" and Return in the name field save under the name the field shows; a folder
// never puts its name into the field. An existing file is replaced only after "Заменить".
// Reports as a file dialog does: accepted() with selectedFile and currentFolder, or rejected().
T.Popup {
    id: dialog

    // What a screen reader calls the dialog.
    readonly property string title: "Сохранить PDF"
    property url startFolder
    property string suggestedName
    readonly property url currentFolder: folders.folder
    property url selectedFile

    signal accepted()
    signal rejected()

    // The answer is given once, by a button, Return, a double-click or Escape.
    property bool answered: false

    function finish(path) {
        selectedFile = folders.destinationUrl(path)
        answered = true
        close()
        accepted()
    }

    function save() {
        const path = folders.destination(nameField.text)
        if (path === "")
            return
        if (folders.fileExists(path)) {
            replace.path = path
            replace.open()
            return
        }
        finish(path)
    }

    function cancel() {
        answered = true
        close()
        rejected()
    }

    // Opens the row's folder, or saves under the row's file name.
    function activate(index) {
        if (listing.get(index, "fileIsDir")) {
            folders.folder = listing.get(index, "fileUrl")
        } else {
            nameField.text = listing.get(index, "fileName")
            save()
        }
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
    }

    FolderListModel {
        id: listing

        folder: folders.folder
        nameFilters: ["*.pdf", "*.PDF"]
        showDirsFirst: true
        showDotAndDotDot: false
        showHidden: false
        caseSensitive: false
        sortCaseSensitive: false
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
                Accessible.name: "На папку выше"
                onClicked: folders.goUp()
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

                objectName: "folderRows"
                anchors.fill: parent
                anchors.margins: 1
                clip: true
                model: listing
                currentIndex: -1
                activeFocusOnTab: true
                keyNavigationEnabled: true
                boundsBehavior: Flickable.StopAtBounds
                Accessible.role: Accessible.List
                Accessible.name: "Папки и PDF-файлы"
                // A new folder starts with no row chosen.
                onModelChanged: currentIndex = -1
                Keys.onReturnPressed: if (currentIndex >= 0) dialog.activate(currentIndex)
                Keys.onEnterPressed: if (currentIndex >= 0) dialog.activate(currentIndex)

                Connections {
                    target: folders
                    function onFolderChanged() { rows.currentIndex = -1 }
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
                    implicitHeight: 36
                    leftPadding: 12
                    rightPadding: 12
                    focusPolicy: Qt.NoFocus
                    highlighted: ListView.isCurrentItem
                    Accessible.role: Accessible.ListItem
                    Accessible.name: (fileIsDir ? "Папка " : "Файл ") + fileName
                    onClicked: {
                        rows.currentIndex = index
                        // A file's name is the one to replace; a folder's never lands in the field.
                        if (!fileIsDir)
                            nameField.text = fileName
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
                            color: AppTheme.textSecondary
                        }
                        Text {
                            text: folders.dateText(row.fileModified)
                            font: Typography.font(Typography.Footnote)
                            color: AppTheme.textSecondary
                        }
                    }
                }
            }
        }

        AppTextField {
            id: nameField

            objectName: "fileNameField"
            Layout.fillWidth: true
            title: "Имя файла"
            systemImage: "doc.text"
            onAccepted: dialog.save()
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
                enabled: folders.destination(nameField.text) !== ""
                onClicked: dialog.save()
            }
        }
    }

    AppConfirmationDialog {
        id: replace

        property string path

        objectName: "replaceFileAlert"
        title: path === "" ? "" : folders.replaceQuestion(path)
        buttons: [{ text: "Заменить", role: "destructive" }, { text: "Отмена", role: "cancel" }]
        onTriggered: index => {
            if (index === 0)
                dialog.finish(path)
            else
                nameField.input.forceActiveFocus()
        }
    }
}
