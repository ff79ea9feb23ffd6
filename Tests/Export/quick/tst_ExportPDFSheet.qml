import QtQuick
import QtQuick.Templates as T
import QtTest
import Tessmark.Design
import Tessmark.Features.Export
import Tessmark.Tests

TestCase {
    id: testCase

    name: "ExportPDFSheet"
    width: 720
    height: 680
    visible: true
    when: windowShown

    // The save dialog last opened by the sheet's save button.
    property QtObject dialog: null

    // As in the application's window: Return presses the focused button (a list row is one).
    Component {
        id: returnKey

        ButtonReturnKey {}
    }

    Component {
        id: sheetComponent

        ExportPDFSheet {}
    }

    Component {
        id: fakeDialog

        QtObject {
            property url selectedFile

            signal accepted()
            signal rejected()

            function open() { testCase.dialog = this }
        }
    }

    SignalSpy {
        id: closedSpy

        signalName: "closed"
    }

    // As over the application's window: a place chosen in a desktop dialog after its save ended.
    LateSaveAnswerAlert {
        id: lateAlert
    }

    // No desktop file dialog unless a test stands one up.
    function cleanup() {
        lateAlert.close()
        exportTest.releaseRenders()
        exportTest.portal.stop()
        exportTest.restoreAccess()
        testCase.width = 720
        testCase.height = 680
    }

    function openSheet(lines) {
        const sheet = createTemporaryObject(sheetComponent, testCase, { input: exportTest.proposal(lines) })
        exportTest.rendersOnTestThreads(sheet.viewModel)
        sheet.open()
        return sheet
    }

    function waitUntilReady(sheet) {
        tryVerify(() => findChild(sheet, "readyContent").visible, 30000)
    }

    // Scrolls the ready content until the item is in view, as the user would.
    function reveal(sheet, name) {
        const item = findChild(sheet, name)
        const flickable = findChild(sheet, "readyContent").contentItem
        const column = flickable.contentItem.children[0]
        waitForItemPolished(column) // the layout settles after a notice appears
        const at = item.mapToItem(flickable.contentItem, 0, 0)
        flickable.contentY = Math.max(0, Math.min(at.y + item.height - flickable.height + 8,
                                                  flickable.contentHeight - flickable.height))
        waitForItemPolished(column)
        return item
    }

    // Chooses `name` in the fake dialog, or cancels it when the name is empty.
    function save(sheet, name) {
        const button = reveal(sheet, "saveButton")
        button.dialog = fakeDialog
        testCase.dialog = null
        mouseClick(button)
        tryVerify(() => testCase.dialog !== null)
        if (name === "") {
            testCase.dialog.rejected()
        } else {
            testCase.dialog.selectedFile = exportTest.fileUrl(name)
            testCase.dialog.accepted()
        }
    }

    // The last (topmost) visible item inside item, down the item tree, that matches.
    function findItem(item, matches) {
        if (!item.visible)
            return null
        for (let i = item.children.length - 1; i >= 0; --i) {
            const found = findItem(item.children[i], matches)
            if (found)
                return found
        }
        return matches(item) ? item : null
    }
    function itemWithText(item, text) {
        return findItem(item, candidate => candidate.text === text)
    }

    // Opens the real save dialog from the sheet's button; its name field (the text input).
    function openSaveDialog(sheet) {
        const button = reveal(sheet, "saveButton")
        mouseClick(button)
        let field = null
        tryVerify(() => {
            const dialog = findChild(button, "saveFileDialog")
            field = dialog && dialog.opened ? findChild(dialog.contentItem, "fileNameField") : null
            testCase.saveDialog = dialog
            return field !== null && field.width > 0
        })
        tryVerify(() => field.input.activeFocus)
        waitForItemPolished(testCase.saveDialog.contentItem) // the dialog's layout settles
        return field.input
    }

    // Types the name over the field's text, after clicking into it as a person does.
    function typeName(field, typed) {
        mouseClick(field)
        verify(field.activeFocus)
        keySequence(StandardKey.SelectAll)
        exportTest.typeText(field, typed)
        compare(field.text, typed)
    }

    // Saves through the real dialog, with the name typed in when one is given.
    function saveThroughDialog(sheet, typed) {
        const field = openSaveDialog(sheet)
        if (typed !== "")
            typeName(field, typed)
        mouseClick(itemWithText(dialogOf(field).contentItem, "Сохранить"))
        tryCompare(sheet.viewModel, "isSaving", false)
    }

    // The save dialog last opened.
    property QtObject saveDialog: null
    function dialogOf(field) {
        return testCase.saveDialog
    }

    // Waits until the question is up and laid out, so that a click lands on its buttons.
    // A question starts on its safe button, every showing.
    function waitForQuestion(alert) {
        tryVerify(() => alert.opened)
        if (alert.safeButton)
            tryVerify(() => alert.safeButton().activeFocus, 1000, alert.title)
        waitForItemPolished(alert.contentItem)
    }

    // An item of the open dialog by its name.
    function dialogItem(field, name) {
        return findItem(dialogOf(field).contentItem, item => item.objectName === name)
    }

    // The window at a size of the test's choosing; the dialog follows it.
    function resizeWindow(width, height) {
        const window = testCase.Window.window
        window.width = width
        window.height = height
        tryVerify(() => window.width === width && window.height === height)
    }

    // Whether the row is wholly inside the list's visible part.
    function rowInView(rows, row) {
        const at = row.mapToItem(rows, 0, 0)
        return at.y >= -0.5 && at.y + row.height <= rows.height + 0.5
    }

    // The row of a folder or file in the open dialog.
    function folderRow(field, name) {
        let row = null
        tryVerify(() => (row = findItem(dialogOf(field).contentItem, item => item.objectName === "folderRow-" + name)) !== null)
        return row
    }

    function test_rendersAndShowsTheFirstPage() {
        // The render waits, so that a fast one is not done before the first look: while it runs,
        // only the loading content shows.
        exportTest.holdRenders()
        const sheet = openSheet(5)
        verify(sheet.viewModel.isGenerating)
        verify(findChild(sheet, "loadingContent").visible)
        verify(!findChild(sheet, "readyContent").visible)
        verify(!findChild(sheet, "errorContent").visible)
        exportTest.releaseRenders()
        waitUntilReady(sheet)
        verify(!findChild(sheet, "loadingContent").visible)
        const preview = findChild(sheet, "preview")
        tryVerify(() => preview.showsPage, 10000)
        verify(preview.width <= 220)
        verify(!findChild(sheet, "notice").visible)
    }

    function test_emptyEstimateIsReadyToo() {
        const sheet = openSheet(0)
        waitUntilReady(sheet)
        tryVerify(() => findChild(sheet, "preview").showsPage, 10000)
    }

    function test_savesTwiceAndCancelKeepsTheLastNotice() {
        const sheet = openSheet(2)
        waitUntilReady(sheet)
        const button = reveal(sheet, "saveButton")
        const notice = findChild(sheet, "notice")
        compare(button.text, "Сохранить PDF…")

        // While the dialog is open the button reads "Сохранение…" and cannot be pressed.
        button.dialog = fakeDialog
        mouseClick(button)
        tryVerify(() => testCase.dialog !== null)
        const first = testCase.dialog
        compare(button.text, "Сохранение…")
        verify(!button.enabled)
        testCase.dialog = null
        mouseClick(button)
        compare(testCase.dialog, null)
        first.selectedFile = exportTest.fileUrl("Моё КП.pdf")
        first.accepted()
        compare(button.text, "Сохранить PDF…")
        verify(button.enabled)
        verify(notice.visible)
        compare(notice.text, "Сохранено: Моё КП.pdf")
        compare(exportTest.fileSize(exportTest.fileUrl("Моё КП.pdf")), exportTest.fileSize(sheet.viewModel.pdfUrl))

        save(sheet, "second.pdf")
        compare(notice.text, "Сохранено: second.pdf")
        save(sheet, "")
        compare(notice.text, "Сохранено: second.pdf")
        verify(button.enabled)
    }

    function test_failedSaveShowsTheAlert() {
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        save(sheet, "missing-folder/copy.pdf")
        const alert = findChild(sheet, "saveFailedAlert")
        waitForQuestion(alert)
        compare(alert.title, "Не удалось сохранить")
        verify(alert.message !== "")
        keyClick(Qt.Key_Escape)
        tryVerify(() => !alert.opened)
        compare(sheet.viewModel.saveError, "")
        verify(findChild(sheet, "saveButton").enabled)
        verify(!findChild(sheet, "notice").visible)
    }

    // Whatever the user types as the name, the copy lands under it, with ".pdf" added when left out.
    function test_savesThroughTheRealDialogWithAnEditedName_data() {
        return [
            { tag: "Cyrillic without the suffix", typed: "Моё КП", saved: "Моё КП.pdf" },
            { tag: "Latin with the suffix", typed: "proposal.pdf", saved: "proposal.pdf" },
            { tag: "a # in the name", typed: "КП #2", saved: "КП #2.pdf" },
        ]
    }
    function test_savesThroughTheRealDialogWithAnEditedName(data) {
        const home = exportTest.newHome(true)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        compare(openSaveDialog(sheet).text, "KP-Сайт-студии.pdf")
        keyClick(Qt.Key_Escape)
        tryCompare(sheet.viewModel, "isSaving", false)
        saveThroughDialog(sheet, data.typed)
        compare(sheet.viewModel.saveError, "")
        compare(findChild(sheet, "notice").text, "Сохранено: " + data.saved)
        const saved = exportTest.fileUrl(home.toString().split("/").pop() + "/Documents/" + data.saved)
        compare(exportTest.fileSize(saved), exportTest.fileSize(sheet.viewModel.pdfUrl))
    }

    // The dialog's texts are Russian, its sizes and dates too.
    function test_realDialogSpeaksRussian() {
        const home = exportTest.newHome(true)
        exportTest.writeFile(home + "/Documents/old.pdf", 4096)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const dialog = dialogOf(field).contentItem
        verify(itemWithText(dialog, "Имя файла") !== null)
        verify(itemWithText(dialog, "Сохранить PDF") !== null)
        verify(itemWithText(dialog, "File name") === null)
        const row = folderRow(field, "old.pdf")
        verify(findItem(row, item => item.text === "4,0\u00A0КБ") !== null)
        // The up button is named by the word it shows.
        const up = dialogItem(field, "folderUpButton")
        compare(up.Accessible.name, up.text)
        compare(up.Accessible.description, "На папку выше")
        const cancel = itemWithText(dialog, "Отмена")
        verify(cancel !== null)
        mouseClick(cancel)
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(sheet.viewModel.saveError, "")
    }

    // Without a documents folder the dialog shows the home folder, and the copy lands there.
    function test_savesIntoTheHomeFolderWithoutDocuments() {
        const home = exportTest.newHome(false)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        compare(sheet.viewModel.saveFolder, home)
        saveThroughDialog(sheet, "")
        compare(sheet.viewModel.saveError, "")
        compare(findChild(sheet, "notice").text, "Сохранено: KP-Сайт-студии.pdf")
        verify(exportTest.fileSize(Qt.resolvedUrl(home + "/KP-Сайт-студии.pdf")) > 0)
    }

    // A read-only folder: the reason in Russian with the path inside the dialog, which stays open
    // with its name; the earlier notice gone. Once the folder may be written, the same dialog saves.
    function test_saveIntoAReadOnlyFolderTellsWhy() {
        const home = exportTest.newHome(true)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        saveThroughDialog(sheet, "first")
        compare(findChild(sheet, "notice").text, "Сохранено: first.pdf")
        verify(exportTest.makeReadOnly(sheet.viewModel.saveFolder))
        const field = openSaveDialog(sheet)
        mouseClick(dialogItem(field, "saveDialogSave"))
        const error = dialogItem(field, "saveDialogError")
        verify(error !== null)
        compare(error.text, "Не удалось сохранить файл: нет доступа к папке.\n"
                + sheet.viewModel.saveFolder.toString().slice(7) + "/KP-Сайт-студии.pdf")
        verify(dialogOf(field).opened)
        verify(sheet.viewModel.isSaving)
        verify(!findChild(sheet, "notice").visible)
        verify(!findChild(sheet, "saveFailedAlert").opened)
        exportTest.restoreAccess()
        mouseClick(dialogItem(field, "saveDialogSave"))
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: KP-Сайт-студии.pdf")
    }

    // A person's way through the dialog: into a folder, the name typed, then Return; then the same
    // with the button. The copy lands under the typed name in the folder shown.
    function test_typedNameIsSavedAfterAChangeOfFolder_data() {
        return [ { tag: "Return", key: true }, { tag: "button", key: false } ]
    }
    function test_typedNameIsSavedAfterAChangeOfFolder(data) {
        const home = exportTest.newHome(true)
        exportTest.makeFolder(home + "/Documents/Клиенты")
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        mouseDoubleClickSequence(folderRow(field, "Клиенты"))
        tryVerify(() => dialogOf(field).currentFolder.toString().endsWith("/Documents/Клиенты"))
        // Entering the folder keeps the name, and a folder's name never lands in the field.
        compare(field.text, "KP-Сайт-студии.pdf")
        typeName(field, "Предложение Ромашка")
        if (data.key)
            keyClick(Qt.Key_Return)
        else
            mouseClick(itemWithText(dialogOf(field).contentItem, "Сохранить"))
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(sheet.viewModel.saveError, "")
        compare(findChild(sheet, "notice").text, "Сохранено: Предложение Ромашка.pdf")
        compare(exportTest.fileSize(Qt.resolvedUrl(home + "/Documents/Клиенты/Предложение Ромашка.pdf")),
                exportTest.fileSize(sheet.viewModel.pdfUrl))
    }

    // The same by keyboard alone: Tab to the list, Down and Return into the folder, Tab back to the
    // name, Return.
    function test_keyboardAloneChangesFolderAndSaves() {
        const home = exportTest.newHome(true)
        exportTest.makeFolder(home + "/Documents/Архив")
        createTemporaryObject(returnKey, testCase)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const rows = findChild(dialogOf(field).contentItem, "folderRows")
        folderRow(field, "Архив")
        for (let i = 0; i < 8 && !rows.activeFocus; ++i)
            keyClick(Qt.Key_Tab)
        verify(rows.activeFocus)
        keyClick(Qt.Key_Down)
        compare(rows.currentIndex, 0)
        keyClick(Qt.Key_Return)
        tryVerify(() => dialogOf(field).currentFolder.toString().endsWith("/Documents/Архив"))
        compare(field.text, "KP-Сайт-студии.pdf")
        for (let i = 0; i < 8 && !field.activeFocus; ++i)
            keyClick(Qt.Key_Tab)
        verify(field.activeFocus)
        keySequence(StandardKey.SelectAll)
        exportTest.typeText(field, "Архивная копия")
        keyClick(Qt.Key_Enter)
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: Архивная копия.pdf")
        verify(exportTest.fileSize(Qt.resolvedUrl(home + "/Documents/Архив/Архивная копия.pdf")) > 0)
    }

    // Going up to the home folder: the folder's name stays out of the field, and the button saves
    // the name shown at that moment, while the field still has the focus.
    function test_goingUpKeepsTheName() {
        const home = exportTest.newHome(true)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        typeName(field, "КП для клиента")
        mouseClick(findItem(dialogOf(field).contentItem, item => item.objectName === "folderUpButton"))
        tryVerify(() => dialogOf(field).currentFolder === home)
        compare(field.text, "КП для клиента")
        // A click on a folder chooses it, and leaves the name alone.
        mouseClick(folderRow(field, "Documents"))
        compare(field.text, "КП для клиента")
        mouseClick(field)
        exportTest.typeText(field, " 2")
        verify(field.activeFocus)
        const save = itemWithText(dialogOf(field).contentItem, "Сохранить")
        verify(findItem(dialogOf(field).contentItem, item => item.objectName === "saveDialogSave").enabled)
        mouseClick(save)
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: КП для клиента 2.pdf")
        verify(exportTest.fileSize(Qt.resolvedUrl(home + "/КП для клиента 2.pdf")) > 0)
    }

    // Saving over a file asks first; "Отмена" goes back to the dialog and the old file keeps its
    // bytes, "Заменить" replaces it.
    function test_replacingAFileAsksFirst() {
        const home = exportTest.newHome(true)
        const old = home + "/Documents/Смета.pdf"
        exportTest.writeFile(old, 1234)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const dialog = dialogOf(field)
        typeName(field, "Смета")
        keyClick(Qt.Key_Return)
        const alert = findChild(dialog, "replaceFileAlert")
        waitForQuestion(alert)
        compare(alert.title, "Файл «Смета.pdf» уже существует. Заменить его?")
        verify(itemWithText(alert.contentItem, "Заменить") !== null)
        mouseClick(itemWithText(alert.contentItem, "Отмена"))
        tryVerify(() => !alert.opened)
        verify(dialog.opened)
        verify(sheet.viewModel.isSaving)
        compare(exportTest.fileSize(Qt.resolvedUrl(old)), 1234)
        tryVerify(() => field.activeFocus)

        // Escape closes only the question; the dialog stays.
        keyClick(Qt.Key_Return)
        waitForQuestion(alert)
        keyClick(Qt.Key_Escape)
        tryVerify(() => !alert.opened)
        verify(dialog.opened)
        compare(exportTest.fileSize(Qt.resolvedUrl(old)), 1234)

        // Picking the file in the list and pressing "Сохранить" asks the same.
        mouseClick(folderRow(field, "Смета.pdf"))
        compare(field.text, "Смета.pdf")
        mouseClick(itemWithText(dialog.contentItem, "Сохранить"))
        waitForQuestion(alert)
        mouseClick(itemWithText(alert.contentItem, "Заменить"))
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: Смета.pdf")
        compare(exportTest.fileSize(Qt.resolvedUrl(old)), exportTest.fileSize(sheet.viewModel.pdfUrl))
    }

    // Thirty folders: the wheel and the scroll bar move the list, and a click reaches the last one,
    // at the smallest window and at a common one.
    function test_wheelAndScrollBarReachTheLastFolder_data() {
        return [ { tag: "900x600", width: 900, height: 600 }, { tag: "1280x800", width: 1280, height: 800 } ]
    }
    function test_wheelAndScrollBarReachTheLastFolder(data) {
        const home = exportTest.newHome(true)
        for (let i = 1; i <= 30; ++i)
            exportTest.makeFolder(home + "/Documents/Папка " + (i < 10 ? "0" + i : i))
        resizeWindow(data.width, data.height)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const rows = dialogItem(field, "folderRows")
        tryCompare(rows, "count", 30)
        let bar = null
        tryVerify(() => (bar = dialogItem(field, "folderScrollBar")) !== null && bar.width > 0, 3000, "the scroll bar shows")
        compare(rows.contentY, 0)

        // Each turn of the wheel moves the list (a flick that takes a moment).
        for (let i = 0; i < 40 && !rows.atYEnd; ++i) {
            const before = rows.contentY
            mouseWheel(rows, rows.width / 2, rows.height / 2, 0, -120)
            tryVerify(() => rows.contentY > before && !rows.moving)
        }
        verify(rows.atYEnd)
        verify(bar.position > 0.5)
        const last = folderRow(field, "Папка 30")
        verify(rowInView(rows, last))
        // Rows the list keeps ready above its view, or shows a sliver of, read as out of sight; the
        // ones drawn, as shown.
        const drawn = row => Math.min(row.mapToItem(rows, 0, row.height).y, rows.height)
                             - Math.max(row.mapToItem(rows, 0, 0).y, 0) >= 2
        const held = Array.from(rows.contentItem.children).filter(row => row.objectName.startsWith("folderRow-"))
        verify(held.some(row => !drawn(row)))
        held.forEach(row => compare(exportTest.readAsShowing(row), drawn(row), row.objectName))
        mouseClick(last)
        compare(rows.currentIndex, 29)
        compare(field.text, "KP-Сайт-студии.pdf")
        mouseDoubleClickSequence(last)
        tryVerify(() => dialogOf(field).currentFolder.toString().endsWith("/Documents/Папка 30"))

        // Back up, and the handle dragged from the top to the bottom of its bar.
        keyClick(Qt.Key_Backspace)
        tryVerify(() => dialogOf(field).currentFolder.toString().endsWith("/Documents"))
        tryCompare(rows, "currentIndex", 29)
        verify(rowInView(rows, rows.currentItem))
        // The chosen row no longer pulls the list to itself.
        rows.positionViewAtBeginning()
        verify(!rows.atYEnd)
        const handle = bar.contentItem
        mouseDrag(handle, handle.width / 2, handle.height / 2, 0, bar.height)
        tryVerify(() => rows.atYEnd)
        mouseClick(dialogItem(field, "saveDialogCancel"))
        tryCompare(sheet.viewModel, "isSaving", false)
        resizeWindow(testCase.width, testCase.height)
    }

    // The keys move a visible selection that stays in view, go into folders and back up to the
    // folder left; a file chosen by keys gives its name, a folder never does.
    function test_keysMoveTheSelectionAndOpenFolders() {
        const home = exportTest.newHome(true)
        for (let i = 1; i <= 20; ++i)
            exportTest.makeFolder(home + "/Documents/Клиент " + (i < 10 ? "0" + i : i) + "/Договоры")
        exportTest.writeFile(home + "/Documents/Старое КП.pdf", 100)
        createTemporaryObject(returnKey, testCase)
        resizeWindow(900, 600)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const dialog = dialogOf(field)
        const rows = dialogItem(field, "folderRows")
        tryCompare(rows, "count", 21)
        for (let i = 0; i < 8 && !rows.activeFocus; ++i)
            keyClick(Qt.Key_Tab)
        verify(rows.activeFocus)
        compare(rows.currentIndex, -1)

        keyClick(Qt.Key_Down)
        compare(rows.currentIndex, 0)
        verify(rows.currentItem.highlighted)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Up)
        compare(rows.currentIndex, 1)
        compare(field.text, "KP-Сайт-студии.pdf")
        keyClick(Qt.Key_PageDown)
        verify(rows.currentIndex > 2)
        verify(rowInView(rows, rows.currentItem))
        keyClick(Qt.Key_End)
        compare(rows.currentIndex, 20)
        verify(rowInView(rows, rows.currentItem))
        compare(field.text, "Старое КП.pdf")
        keyClick(Qt.Key_Home)
        compare(rows.currentIndex, 0)
        verify(rowInView(rows, rows.currentItem))
        compare(field.text, "Старое КП.pdf")

        // Return opens the folder; its first row is chosen, the list keeps the keys.
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents/Клиент 02"))
        tryCompare(rows, "currentIndex", 0)
        verify(rows.activeFocus)
        keyClick(Qt.Key_Enter)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Клиент 02/Договоры"))
        // Backspace goes up and chooses the folder left.
        keyClick(Qt.Key_Backspace)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents/Клиент 02"))
        tryCompare(rows, "currentIndex", 0)
        keyClick(Qt.Key_Backspace)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents"))
        tryCompare(rows, "currentIndex", 1)
        compare(rows.currentItem.fileName, "Клиент 02")

        // Space opens too; Alt+Up goes up from the name field as well.
        keyClick(Qt.Key_End)
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Space)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents/Клиент 20"))
        mouseClick(field)
        verify(field.activeFocus)
        keyClick(Qt.Key_Up, Qt.AltModifier)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents"))
        tryCompare(rows, "currentIndex", 19)
        verify(rowInView(rows, rows.currentItem))
        compare(field.text, "Старое КП.pdf")
        keyClick(Qt.Key_Escape)
        tryCompare(sheet.viewModel, "isSaving", false)
        resizeWindow(testCase.width, testCase.height)
    }

    // Files made and removed while the dialog is open show up at once, and the chosen row stays
    // chosen; a folder that cannot be read shows why instead of rows, and going up chooses it.
    function test_listingFollowsTheDiskAndTellsWhatItCannotShow_data() {
        return [ { tag: "900x600", width: 900, height: 600 }, { tag: "default", width: 720, height: 680 } ]
    }
    function test_listingFollowsTheDiskAndTellsWhatItCannotShow(data) {
        const home = exportTest.newHome(true)
        exportTest.makeFolder(home + "/Documents/Закрытая")
        exportTest.writeFile(home + "/Documents/Б.pdf", 10)
        exportTest.writeFile(home + "/Documents/Г.pdf", 10)
        createTemporaryObject(returnKey, testCase)
        resizeWindow(data.width, data.height)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const dialog = dialogOf(field)
        const rows = dialogItem(field, "folderRows")
        tryCompare(rows, "count", 3)
        for (let i = 0; i < 8 && !rows.activeFocus; ++i)
            keyClick(Qt.Key_Tab)
        verify(rows.activeFocus)
        keyClick(Qt.Key_End)
        compare(field.text, "Г.pdf")

        exportTest.writeFile(home + "/Documents/А.pdf", 10)
        exportTest.writeFile(home + "/Documents/В.pdf", 10)
        // The view moves its current row with the rows' changes at its next layout, after the count.
        tryCompare(rows, "count", 5)
        tryCompare(rows, "currentIndex", 4)
        compare(rows.currentItem.fileName, "Г.pdf")
        verify(rows.currentItem.highlighted)
        verify(exportTest.removeFile(home + "/Documents/Б.pdf"))
        tryCompare(rows, "count", 4)
        tryCompare(rows, "currentIndex", 3)
        compare(rows.currentItem.fileName, "Г.pdf")
        verify(rowInView(rows, rows.currentItem))
        compare(field.text, "Г.pdf")

        verify(exportTest.makeUnreadable(home + "/Documents/Закрытая"))
        keyClick(Qt.Key_Home)
        keyClick(Qt.Key_Return)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents/Закрытая"))
        compare(rows.count, 0)
        const note = dialogItem(field, "folderNote")
        verify(note !== null, "the note shows")
        compare(note.text, "Нет прав на просмотр этой папки.")
        keyClick(Qt.Key_Backspace)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents"))
        compare(rows.currentIndex, 0)
        compare(rows.currentItem.fileName, "Закрытая")
        verify(!note.visible)
        compare(field.text, "Г.pdf")
        keyClick(Qt.Key_Escape)
        tryCompare(sheet.viewModel, "isSaving", false)
        resizeWindow(testCase.width, testCase.height)
    }

    // "Новая папка" by mouse and by keys: a taken name is told in the prompt, which stays; Escape
    // closes the prompt alone; a free name makes the folder, enters it, and the copy lands there.
    function test_newFolder_data() {
        return [ { tag: "mouse", keys: false }, { tag: "keys", keys: true } ]
    }
    function test_newFolder(data) {
        const home = exportTest.newHome(true)
        createTemporaryObject(returnKey, testCase)
        exportTest.makeFolder(home + "/Documents/Клиенты")
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const dialog = dialogOf(field)
        const button = dialogItem(field, "newFolderButton")
        const prompt = findChild(dialog, "newFolderPrompt")
        const openPrompt = () => {
            if (data.keys) {
                for (let i = 0; i < 8 && !button.activeFocus; ++i)
                    keyClick(Qt.Key_Tab)
                verify(button.activeFocus)
                keyClick(Qt.Key_Space)
            } else {
                mouseClick(button)
            }
            waitForQuestion(prompt)
            const name = findChild(prompt.contentItem, "newFolderName")
            tryVerify(() => name.input.activeFocus)
            return name
        }
        const create = () => {
            if (data.keys)
                keyClick(Qt.Key_Return)
            else
                mouseClick(findChild(prompt.contentItem, "newFolderCreate"))
        }

        let name = openPrompt()
        compare(name.text, "Новая папка")
        keySequence(StandardKey.SelectAll)
        exportTest.typeText(name.input, "Клиенты")
        create()
        verify(prompt.opened)
        const error = findChild(name, "errorLine")
        verify(error.visible)
        compare(error.text, "Здесь уже есть папка или файл с таким именем.")
        verify(dialog.opened)

        // Escape closes only the prompt; the keyboard goes back to its button.
        keyClick(Qt.Key_Escape)
        tryVerify(() => !prompt.opened)
        verify(dialog.opened)
        tryVerify(() => button.activeFocus)

        name = openPrompt()
        keySequence(StandardKey.SelectAll)
        exportTest.typeText(name.input, "Проекты 2026")
        create()
        tryVerify(() => !prompt.opened)
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents/Проекты 2026"))
        verify(exportTest.exists(Qt.resolvedUrl(home + "/Documents/Проекты 2026")))
        tryVerify(() => field.activeFocus)
        compare(field.text, "KP-Сайт-студии.pdf")
        keyClick(Qt.Key_Return)
        tryCompare(sheet.viewModel, "isSaving", false)
        verify(exportTest.fileSize(Qt.resolvedUrl(home + "/Documents/Проекты 2026/KP-Сайт-студии.pdf")) > 0)
    }

    // A failed save keeps the dialog open at its folder with the typed name and tells the cause
    // inside it, as an alert, wrapped within the dialog; then a good name saves from the same dialog.
    function test_failedSaveKeepsTheDialogOpen_data() {
        return [
            { tag: "name too long", typed: "Б".repeat(300), readOnly: false,
              reason: "имя файла слишком длинное для этого диска. Сократите его." },
            { tag: "no permission", typed: "Предложение", readOnly: true, reason: "нет доступа к папке." },
        ]
    }
    function test_failedSaveKeepsTheDialogOpen(data) {
        const home = exportTest.newHome(true)
        exportTest.makeFolder(home + "/Documents/Клиенты")
        resizeWindow(900, 600)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        const dialog = dialogOf(field)
        mouseDoubleClickSequence(folderRow(field, "Клиенты"))
        tryVerify(() => dialog.currentFolder.toString().endsWith("/Documents/Клиенты"))
        if (data.readOnly)
            verify(exportTest.makeReadOnly(dialog.currentFolder))
        typeName(field, data.typed)
        keyClick(Qt.Key_Return)
        exportTest.restoreAccess()

        const error = dialogItem(field, "saveDialogError")
        verify(error !== null)
        verify(error.text.startsWith("Не удалось сохранить файл: " + data.reason + "\n"), error.text)
        verify(error.text.indexOf("/Documents/Клиенты/") > 0)
        compare(error.Accessible.role, Accessible.AlertMessage)
        compare(error.Accessible.name, error.text)
        verify(dialog.opened)
        verify(dialog.currentFolder.toString().endsWith("/Documents/Клиенты"))
        compare(field.text, data.typed)
        verify(field.activeFocus)
        verify(sheet.viewModel.isSaving)
        // Wrapped inside the dialog's box, whatever the length of the path.
        const box = dialog.contentItem
        waitForItemPolished(box)
        const at = error.mapToItem(box, 0, 0)
        verify(at.x >= 0 && at.x + error.width <= box.width + 0.5, JSON.stringify(at))
        verify(error.contentWidth <= error.width + 0.5)
        verify(at.y + error.height <= box.height + 0.5)

        typeName(field, "Ромашка")
        verify(!error.visible)
        keyClick(Qt.Key_Return)
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: Ромашка.pdf")
        verify(exportTest.fileSize(Qt.resolvedUrl(home + "/Documents/Клиенты/Ромашка.pdf")) > 0)
        resizeWindow(testCase.width, testCase.height)
    }

    // A name whose file would not lie in the folder shown ("." wrote the folder's name beside it,
    // ".." the home folder's) is refused with the reason, by Return or the button; the dialog stays.
    function test_namesLeavingTheFolderAreRefused_data() {
        const dots = "Имена «.» и «..» заняты системой. Выберите другое."
        return [
            { tag: ". by Return", typed: ".", key: true, error: dots },
            { tag: ".. by the button", typed: "..", key: false, error: dots },
            { tag: "a path", typed: "../КП", key: true, error: "В имени файла не может быть знака «/»." },
        ]
    }
    function test_namesLeavingTheFolderAreRefused(data) {
        const home = exportTest.newHome(true)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const field = openSaveDialog(sheet)
        typeName(field, data.typed)
        if (data.key)
            keyClick(Qt.Key_Return)
        else
            mouseClick(dialogItem(field, "saveDialogSave"))
        compare(dialogItem(field, "saveDialogError").text, data.error)
        verify(dialogOf(field).opened && field.activeFocus)
        compare(exportTest.fileCount(home), 0)
        verify(!exportTest.exists(Qt.resolvedUrl(home + ".pdf")))
        keyClick(Qt.Key_Escape)
        tryCompare(sheet.viewModel, "isSaving", false)
    }

    // Stands the desktop's dialog up (a fake portal), opens a sheet and presses "Сохранить PDF…"
    // as a person does: a click, or Return where the keyboard landed. The portal has the request.
    function saveThroughPortal(byKey) {
        verify(exportTest.portal.start(FakeFileChooserPortal.Answering))
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const button = reveal(sheet, "saveButton")
        if (byKey) {
            createTemporaryObject(returnKey, testCase)
            tryVerify(() => button.activeFocus)
            keyClick(Qt.Key_Return)
        } else {
            mouseClick(button)
        }
        tryCompare(exportTest.portal, "requests", 1)
        return sheet
    }

    // Asked with our title, name, folder and filter; the copy lands where the desktop's dialog
    // chose, under a name with blanks, Cyrillic, quotes and "#".
    function test_savesWhereTheDesktopDialogChose_data() {
        return [
            { tag: "click, default window", byKey: false, width: 960, height: 640 },
            { tag: "Return, default window", byKey: true, width: 960, height: 640 },
            { tag: "click, smallest window", byKey: false, width: 900, height: 600 },
            { tag: "Return, smallest window", byKey: true, width: 900, height: 600 },
        ]
    }
    function test_savesWhereTheDesktopDialogChose(data) {
        testCase.width = data.width
        testCase.height = data.height
        tryCompare(testCase.Window.window, "height", data.height)
        const folder = exportTest.localPath(exportTest.newHome(true)) + "/Documents"
        const sheet = saveThroughPortal(data.byKey)
        // In the order of the keys, for a readable difference.
        compare(JSON.stringify(exportTest.portal.asked), JSON.stringify({
            acceptLabel: "Сохранить", currentFilter: "(sa(us)) PDF: 0 *.pdf, 1 application/pdf",
            currentFolder: folder, currentName: "KP-Сайт-студии.pdf",
            filters: "a(sa(us)) PDF: 0 *.pdf, 1 application/pdf", modal: true, parentWindow: "",
            title: "Сохранить PDF" }))
        const button = findChild(sheet, "saveButton")
        compare(button.text, "Сохранение…")
        verify(!button.enabled)
        exportTest.portal.respond(0, exportTest.portal.fileUri(folder + "/КП #1 для «Ромашки».pdf"))
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: КП #1 для «Ромашки».pdf")
        verify(exportTest.sameBytes(folder + "/КП #1 для «Ромашки».pdf", sheet.viewModel.pdfUrl))
        compare(findChild(button, "saveFileDialog"), null)
        tryVerify(() => button.activeFocus)
    }

    // Cancelled (1) or closed some other way (2: the GTK dialog's Escape) in the desktop's dialog:
    // nothing written, nothing shown. A broken answer: the alert.
    function test_desktopDialogEndsWithoutAFile_data() {
        const tryAgain = " Попробуйте сохранить ещё раз."
        return [
            { tag: "cancelled", response: 1, alert: "" },
            { tag: "ended otherwise", response: 2, alert: "" },
            { tag: "chosen, no file", response: 0, alert: "Окно сохранения не сообщило, куда сохранить файл." + tryAgain },
            { tag: "unknown code", response: 3, alert: "Окно сохранения вернуло непонятный ответ." + tryAgain },
            // Its dialog belongs to another process and may still be on the screen.
            { tag: "portal gone", response: -1, alert: "Окно сохранения перестало отвечать: место, выбранное в "
                + "нём, не будет использовано. Закройте это окно." + tryAgain },
        ]
    }
    function test_desktopDialogEndsWithoutAFile(data) {
        const home = exportTest.newHome(true)
        const sheet = saveThroughPortal(false)
        if (data.response < 0) {
            exportTest.portal.stop()
        } else {
            exportTest.portal.respond(data.response)
        }
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(exportTest.fileCount(Qt.resolvedUrl(home + "/Documents")), 0)
        verify(!findChild(sheet, "notice").visible)
        const alert = findChild(sheet, "saveFailedAlert")
        compare(alert.visible, data.alert !== "")
        if (data.alert !== "") {
            waitForQuestion(alert)
            compare(alert.message, data.alert)
            mouseClick(itemWithText(alert.contentItem, "OK"))
        }
        tryVerify(() => !alert.opened)
        tryVerify(() => findChild(sheet, "saveButton").activeFocus)
    }

    // No portal, one without a file chooser, or one that does not answer: our own dialog.
    function test_withoutADesktopDialogOursOpens_data() {
        return [
            { tag: "no portal", mode: -1 },
            { tag: "no file chooser", mode: FakeFileChooserPortal.WithoutChooser },
            { tag: "no answer", mode: FakeFileChooserPortal.Silent },
        ]
    }
    function test_withoutADesktopDialogOursOpens(data) {
        exportTest.newHome(true)
        if (data.mode >= 0)
            verify(exportTest.portal.start(data.mode))
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        findChild(reveal(sheet, "saveButton"), "portalFileChooser").callTimeout = 300
        compare(openSaveDialog(sheet).text, "KP-Сайт-студии.pdf")
        // A portal that has the request but is too slow to reply is asked to close its dialog.
        if (data.mode === FakeFileChooserPortal.Silent)
            tryVerify(() => exportTest.portal.closed)
        keyClick(Qt.Key_Escape)
        tryCompare(sheet.viewModel, "isSaving", false)
    }

    // A portal that takes the request only after ours opened: one dialog at a time. Its dialog is
    // closed as soon as it names the request, and ours stays with the keys; one whose backend
    // starts cold refuses the close until its dialog is set up, and is asked again until it takes
    // it. A place chosen there before the close took effect is saved to, and ours goes; one chosen
    // after ours saved is told as not used, over the sheet, and nothing is written there.
    function test_lateDesktopDialogWhileOursIsOpen_data() {
        return [
            { tag: "closed as it is named", mode: FakeFileChooserPortal.Late, chosen: "" },
            { tag: "chosen before the close", mode: FakeFileChooserPortal.Late, chosen: "before ours" },
            { tag: "cold, closed once set up", mode: FakeFileChooserPortal.Cold, chosen: "" },
            { tag: "cold, chosen while the close is refused", mode: FakeFileChooserPortal.Cold, chosen: "before ours" },
            { tag: "cold, chosen after ours saved", mode: FakeFileChooserPortal.Cold, chosen: "after ours" },
        ]
    }
    function test_lateDesktopDialogWhileOursIsOpen(data) {
        const home = exportTest.newHome(true)
        const folder = exportTest.localPath(home) + "/Documents"
        verify(exportTest.portal.start(data.mode))
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        const button = reveal(sheet, "saveButton")
        findChild(button, "portalFileChooser").callTimeout = 300
        const field = openSaveDialog(sheet)
        const ours = testCase.saveDialog
        tryCompare(exportTest.portal, "requests", 1)
        verify(!exportTest.portal.closed)
        exportTest.portal.takeRequest()
        if (data.mode === FakeFileChooserPortal.Cold) {
            tryVerify(() => exportTest.portal.refusedCloses >= 2)
            verify(ours.opened && field.activeFocus)
        }
        if (data.chosen === "before ours") {
            exportTest.portal.respond(0, exportTest.portal.fileUri(folder + "/late.pdf"))
            tryCompare(sheet.viewModel, "isSaving", false)
            tryVerify(() => findChild(button, "saveFileDialog") === null)
            compare(findChild(sheet, "notice").text, "Сохранено: late.pdf")
            verify(exportTest.sameBytes(folder + "/late.pdf", sheet.viewModel.pdfUrl))
            tryVerify(() => button.activeFocus)
            verify(!lateAlert.opened)
            return
        }
        if (data.chosen === "") {
            exportTest.portal.setUpRequest()
            tryVerify(() => exportTest.portal.closed)
            verify(ours.opened && field.activeFocus)
            verify(sheet.viewModel.isSaving)
        }
        keyClick(Qt.Key_Return)
        tryCompare(sheet.viewModel, "isSaving", false)
        compare(findChild(sheet, "notice").text, "Сохранено: KP-Сайт-студии.pdf")
        compare(exportTest.fileCount(Qt.resolvedUrl("file://" + folder)), 1)
        tryVerify(() => button.activeFocus)
        if (data.chosen === "after ours") {
            // The refused close is still repeated, and the answer still heard.
            const refused = exportTest.portal.refusedCloses
            tryVerify(() => exportTest.portal.refusedCloses > refused)
            exportTest.portal.respond(0, exportTest.portal.fileUri(folder + "/late.pdf"))
            waitForQuestion(lateAlert)
            verify(lateAlert.message.startsWith("Место «" + folder + "/late.pdf», выбранное в окне сохранения, "
                                                + "не использовано"), lateAlert.message)
            verify(lateAlert.message.includes("«" + folder + "/KP-Сайт-студии.pdf»"), lateAlert.message)
            compare(exportTest.fileCount(Qt.resolvedUrl("file://" + folder)), 1)
            createTemporaryObject(returnKey, testCase)
            keyClick(Qt.Key_Return)
            tryVerify(() => !lateAlert.opened)
            tryVerify(() => button.activeFocus)
        }
        verify(!lateAlert.opened)
    }

    // The sheet closed while the desktop's dialog is open: that dialog closes, and its late answer
    // writes nothing, whether the sheet is gone already or not yet. A portal whose backend starts
    // cold names the request after the sheet went and refuses the close: a place chosen in its
    // dialog then is told as not used, over the window.
    function test_lateDesktopAnswerAfterTheSheetClosed_data() {
        return [
            { tag: "sheet destroyed", destroyed: true, cold: false },
            { tag: "sheet only closed", destroyed: false, cold: false },
            { tag: "cold, sheet destroyed", destroyed: true, cold: true },
        ]
    }
    function test_lateDesktopAnswerAfterTheSheetClosed(data) {
        const folder = exportTest.localPath(exportTest.newHome(true)) + "/Documents"
        let first = null
        if (data.cold) {
            verify(exportTest.portal.start(FakeFileChooserPortal.Cold))
            first = openSheet(1)
            waitUntilReady(first)
            mouseClick(reveal(first, "saveButton"))
            tryCompare(exportTest.portal, "requests", 1)
        } else {
            first = saveThroughPortal(false)
        }
        closedSpy.target = first
        closedSpy.clear()
        keyClick(Qt.Key_Escape)
        tryCompare(closedSpy, "count", 1)
        if (data.destroyed)
            first.destroy()
        if (data.cold) {
            exportTest.portal.takeRequest()
            tryVerify(() => exportTest.portal.refusedCloses >= 2)
            exportTest.portal.respond(0, exportTest.portal.fileUri(folder + "/late.pdf"))
            waitForQuestion(lateAlert)
            compare(lateAlert.message, "Место «" + folder + "/late.pdf», выбранное в окне сохранения, не "
                    + "использовано: к тому времени сохранение уже закончилось. Чтобы сохранить PDF туда, "
                    + "сохраните его ещё раз.")
            keyClick(Qt.Key_Escape)
            tryVerify(() => !lateAlert.opened)
            compare(exportTest.fileCount(Qt.resolvedUrl("file://" + folder)), 0)
            return
        }
        tryVerify(() => exportTest.portal.closed)
        exportTest.portal.respond(0, exportTest.portal.fileUri(folder + "/late.pdf"))

        // The next sheet's save, answered after the late one, lands; the late one never did, nor
        // was it told: its dialog had closed.
        const next = openSheet(1)
        waitUntilReady(next)
        mouseClick(reveal(next, "saveButton"))
        tryCompare(exportTest.portal, "requests", 2)
        exportTest.portal.respond(0, exportTest.portal.fileUri(folder + "/next.pdf"))
        tryCompare(findChild(next, "notice"), "text", "Сохранено: next.pdf")
        compare(exportTest.fileCount(Qt.resolvedUrl("file://" + folder)), 1)
        verify(!lateAlert.opened)
    }

    function test_failedRenderShowsTheErrorAndRetries() {
        verify(exportTest.breakTempFolder())
        const sheet = openSheet(3)
        const error = findChild(sheet, "errorContent")
        tryVerify(() => error.visible, 30000)
        compare(findChild(sheet, "errorText").text, "Не удалось создать PDF")
        verify(!findChild(sheet, "readyContent").visible)

        verify(exportTest.repairTempFolder())
        exportTest.holdRenders()
        mouseClick(findChild(sheet, "retryButton"))
        verify(!error.visible)
        verify(findChild(sheet, "loadingContent").visible)
        exportTest.releaseRenders()
        waitUntilReady(sheet)
    }

    function test_opensTheTemporaryFileInTheViewer() {
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        exportTest.captureViewer(sheet.viewModel)
        save(sheet, "elsewhere.pdf")
        mouseClick(reveal(sheet, "openButton"))
        compare(exportTest.openedUrl, sheet.viewModel.pdfUrl)
    }

    function test_shareCopiesTheFile() {
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        mouseClick(reveal(sheet, "shareButton"))
        const menu = findChild(sheet, "shareMenu")
        tryVerify(() => menu.opened)
        const copy = findChild(menu, "copyFileItem")
        compare(copy.text, "Копировать файл")
        compare(findChild(menu, "showInFolderItem").text, "Показать в папке")
        mouseClick(copy)
        tryVerify(() => !menu.opened)
        compare(exportTest.clipboardUrls().length, 1)
        compare(exportTest.clipboardUrls()[0], sheet.viewModel.pdfUrl)
    }

    // Opens the share menu and picks the item.
    function share(sheet, name) {
        mouseClick(reveal(sheet, "shareButton"))
        const menu = findChild(sheet, "shareMenu")
        tryVerify(() => menu.opened)
        mouseClick(findChild(menu, name))
        tryVerify(() => !menu.opened)
    }

    // The failure alert is up with this title; its message names the way out. Closed with "OK".
    function expectActionAlert(sheet, title) {
        const alert = findChild(sheet, "actionFailedAlert")
        tryVerify(() => alert.opened, 30000)
        waitForQuestion(alert)
        compare(alert.title, title)
        verify(alert.message.indexOf("Сохраните") >= 0, alert.message)
        verify(!findChild(sheet, "notice").visible)
        mouseClick(itemWithText(alert.contentItem, "OK"))
        tryVerify(() => !alert.opened)
        compare(sheet.viewModel.actionError, "")
    }

    // A machine with no PDF viewer and no file manager: each action says it failed and what to do.
    function test_noViewerAndNoFileManagerAreTold() {
        exportTest.newHome(true)
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        exportTest.captureViewer(sheet.viewModel, false)
        saveThroughDialog(sheet, "")
        mouseClick(reveal(sheet, "openButton"))
        compare(exportTest.openedUrl, sheet.viewModel.pdfUrl)
        expectActionAlert(sheet, "Не удалось открыть PDF")

        share(sheet, "showInFolderItem")
        expectActionAlert(sheet, "Не удалось показать файл в папке")
    }

    // A copy says it worked; a copy of a file that is gone says it did not.
    function test_copyTellsItsOutcome() {
        const sheet = openSheet(1)
        waitUntilReady(sheet)
        share(sheet, "copyFileItem")
        const notice = findChild(sheet, "notice")
        verify(notice.visible)
        compare(notice.text, "Файл скопирован")
        verify(exportTest.removeFile(sheet.viewModel.pdfUrl))
        share(sheet, "copyFileItem")
        expectActionAlert(sheet, "Не удалось скопировать файл")
    }

    // Closing the sheet takes its render along; a render on the clipboard stays for the paste.
    function test_closingRemovesTheRenderUnlessCopied_data() {
        return [ { tag: "closed", copied: false }, { tag: "copied, then closed", copied: true } ]
    }
    function test_closingRemovesTheRenderUnlessCopied(data) {
        const sheet = openSheet(1)
        closedSpy.target = sheet
        closedSpy.clear()
        waitUntilReady(sheet)
        const render = sheet.viewModel.pdfUrl
        verify(exportTest.exists(render))
        if (data.copied)
            share(sheet, "copyFileItem")
        keyClick(Qt.Key_Escape)
        tryCompare(closedSpy, "count", 1)
        compare(exportTest.exists(render), data.copied)
        compare(exportTest.folderExists(render), data.copied)
    }

    function test_closesOnEscape() {
        const sheet = openSheet(1)
        closedSpy.target = sheet
        closedSpy.clear()
        waitUntilReady(sheet)
        keyClick(Qt.Key_Escape)
        tryCompare(closedSpy, "count", 1)
    }
}
