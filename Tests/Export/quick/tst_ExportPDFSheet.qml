import QtQuick
import QtTest
import Tessmark.Features.Export

TestCase {
    id: testCase

    name: "ExportPDFSheet"
    width: 720
    height: 680
    visible: true
    when: windowShown

    // The save dialog last opened by the sheet's save button.
    property QtObject dialog: null

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

    function openSheet(lines) {
        const sheet = createTemporaryObject(sheetComponent, testCase, { input: exportTest.proposal(lines) })
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
        verify(testCase.dialog !== null)
        if (name === "") {
            testCase.dialog.rejected()
        } else {
            testCase.dialog.selectedFile = exportTest.fileUrl(name)
            testCase.dialog.accepted()
        }
    }

    function test_rendersAndShowsTheFirstPage() {
        const sheet = openSheet(5)
        verify(sheet.viewModel.isGenerating)
        verify(findChild(sheet, "loadingContent").visible)
        verify(!findChild(sheet, "errorContent").visible)
        waitUntilReady(sheet)
        verify(!findChild(sheet, "loadingContent").visible)
        const preview = findChild(sheet, "preview")
        tryVerify(() => preview.showsPage, 10000)
        verify(preview.width <= 220)
        verify(!findChild(sheet, "saveNotice").visible)
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
        const notice = findChild(sheet, "saveNotice")
        compare(button.text, "Сохранить PDF…")

        // While the dialog is open the button reads "Сохранение…" and cannot be pressed.
        button.dialog = fakeDialog
        mouseClick(button)
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
        tryVerify(() => alert.opened)
        compare(alert.title, "Не удалось сохранить")
        verify(alert.message !== "")
        keyClick(Qt.Key_Escape)
        tryVerify(() => !alert.opened)
        compare(sheet.viewModel.saveError, "")
        verify(findChild(sheet, "saveButton").enabled)
        verify(!findChild(sheet, "saveNotice").visible)
    }

    function test_failedRenderShowsTheErrorAndRetries() {
        verify(exportTest.breakTempFolder())
        const sheet = openSheet(3)
        const error = findChild(sheet, "errorContent")
        tryVerify(() => error.visible, 30000)
        compare(findChild(sheet, "errorText").text, "Не удалось создать PDF")
        verify(!findChild(sheet, "readyContent").visible)

        verify(exportTest.repairTempFolder())
        mouseClick(findChild(sheet, "retryButton"))
        verify(!error.visible)
        verify(findChild(sheet, "loadingContent").visible)
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

    function test_closesOnEscape() {
        const sheet = openSheet(1)
        closedSpy.target = sheet
        closedSpy.clear()
        waitUntilReady(sheet)
        keyClick(Qt.Key_Escape)
        tryCompare(closedSpy, "count", 1)
    }
}
