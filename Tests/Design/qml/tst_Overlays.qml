import QtQuick
import QtTest
import Tessmark.Design

TestCase {
    id: testCase

    name: "Overlays"
    width: 700
    height: 500
    visible: true
    when: windowShown

    Component {
        id: sheetComponent
        AppSheet {
            title: "Новая итерация"; cancelText: "Отмена"; confirmText: "Создать"
            Text { text: "Содержимое" }
        }
    }

    Component {
        id: dialogComponent
        AppConfirmationDialog {
            title: "Загрузить шаблон?"
            message: "«Лендинг» — 6 поз."
            buttons: [
                { text: "Заменить смету", role: "destructive" },
                { text: "Добавить к смете" },
                { text: "Отмена", role: "cancel" }
            ]
        }
    }

    SignalSpy { id: cancelledSpy; signalName: "cancelled" }
    SignalSpy { id: confirmedSpy; signalName: "confirmed" }
    SignalSpy { id: closedSpy; signalName: "closed" }
    SignalSpy { id: triggeredSpy; signalName: "triggered" }

    function test_sheetThatFitsOpensOverTheWindow() {
        const sheet = createTemporaryObject(sheetComponent, testCase, { minimumWidth: 420, minimumHeight: 300 })
        cancelledSpy.target = confirmedSpy.target = sheet
        cancelledSpy.clear(); confirmedSpy.clear()
        sheet.open()
        tryVerify(() => sheet.opened)
        verify(!sheet.inWindow)
        const content = findChild(sheet, "sheetBody")
        verify(content.visible)
        waitForRendering(content)
        mouseClick(findChild(content.parent.parent, "confirmButton"))
        compare(confirmedSpy.count, 1)
        verify(sheet.opened)
        mouseClick(findChild(content.parent.parent, "cancelButton"))
        compare(cancelledSpy.count, 1)
        tryVerify(() => !sheet.opened)
    }

    Component {
        id: subtitledSheetComponent
        AppSheet {
            title: "Платежи"; subtitle: "<b>Сайт</b>"; cancelText: "Закрыть"
            toolbarAction: Component { SecondaryButton { objectName: "action"; text: "Обновить" } }
        }
    }

    // The subtitle stands under the title as plain text; the action sits where confirmation would.
    function test_sheetSubtitleAndAction() {
        const sheet = createTemporaryObject(subtitledSheetComponent, testCase, { minimumWidth: 420, minimumHeight: 300 })
        sheet.open()
        tryVerify(() => sheet.opened)
        const bar = findChild(sheet, "sheetBody").parent.parent
        const subtitle = findChild(bar, "sheetSubtitle")
        compare(subtitle.text, "<b>Сайт</b>")
        compare(subtitle.textFormat, Text.PlainText)
        verify(subtitle.visible)
        const action = findChild(bar, "action")
        verify(action !== null)
        verify(!findChild(bar, "confirmButton").visible)
        verify(action.mapToItem(bar, 0, 0).x > bar.width / 2)
        sheet.close()
        tryVerify(() => !sheet.opened)
    }

    function test_sheetLargerThanTheWindowGetsItsOwnWindow() {
        const sheet = createTemporaryObject(sheetComponent, testCase, { minimumWidth: 900, minimumHeight: 300 })
        sheet.open()
        tryVerify(() => sheet.inWindow)
        const body = findChild(sheet, "sheetBody")
        verify(body.Window.window !== testCase.Window.window)
        compare(body.Window.window.minimumWidth, 900)
        cancelledSpy.target = sheet
        cancelledSpy.clear()
        closedSpy.target = sheet
        closedSpy.clear()
        body.Window.window.close()
        compare(cancelledSpy.count, 1)
        tryVerify(() => !sheet.opened)
        compare(closedSpy.count, 1)
        // The content is back in the sheet, its window gone.
        compare(body.Window.window, testCase.Window.window)
        sheet.open()
        tryVerify(() => sheet.inWindow)
        verify(body.Window.window !== testCase.Window.window)
        sheet.close()
        tryVerify(() => !sheet.opened)
        compare(closedSpy.count, 2)
    }

    // Without a title or buttons the content starts at the top.
    function test_sheetWithoutHeader() {
        const sheet = createTemporaryObject(sheetComponent, testCase,
                                            { minimumWidth: 420, minimumHeight: 300, title: "", cancelText: "",
                                              confirmText: "" })
        sheet.open()
        tryVerify(() => sheet.opened)
        const body = findChild(sheet, "sheetBody")
        verify(body.parent.y <= 1)
        sheet.close()
        tryVerify(() => !sheet.opened)
    }

    // Work in flight: neither the button, Escape nor the window's close button cancels.
    function test_refusedCancel_data() {
        return [{ tag: "popup", minimumWidth: 420 }, { tag: "own window", minimumWidth: 900 }]
    }
    function test_refusedCancel(data) {
        const sheet = createTemporaryObject(sheetComponent, testCase,
                                            { minimumWidth: data.minimumWidth, minimumHeight: 300 })
        cancelledSpy.target = sheet
        cancelledSpy.clear()
        sheet.cancelEnabled = false
        sheet.open()
        tryVerify(() => sheet.opened)
        const body = findChild(sheet, "sheetBody")
        waitForRendering(body)
        verify(!findChild(body.parent.parent, "cancelButton").enabled)
        keyClick(Qt.Key_Escape)
        if (sheet.inWindow)
            body.Window.window.close()
        sheet.cancel()
        wait(50)
        compare(cancelledSpy.count, 0)
        verify(sheet.opened)
        sheet.cancelEnabled = true
        sheet.cancel()
        compare(cancelledSpy.count, 1)
        tryVerify(() => !sheet.opened)
    }

    function openDialog() {
        const dialog = createTemporaryObject(dialogComponent, testCase)
        triggeredSpy.target = dialog
        triggeredSpy.clear()
        dialog.open()
        tryVerify(() => dialog.opened)
        return dialog
    }

    function test_dialogButtonsInOrder() {
        const dialog = openDialog()
        const second = findChild(dialog.contentItem, "dialogButton1")
        compare(second.text, "Добавить к смете")
        waitForRendering(dialog.contentItem)
        mouseClick(second)
        compare(triggeredSpy.count, 1)
        compare(triggeredSpy.signalArguments[0][0], 1)
        tryVerify(() => !dialog.visible)
    }

    function test_escapeIsTheCancelButton() {
        openDialog()
        keyClick(Qt.Key_Escape)
        compare(triggeredSpy.count, 1)
        compare(triggeredSpy.signalArguments[0][0], 2)
    }
}
