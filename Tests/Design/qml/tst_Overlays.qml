import QtQuick
import QtQuick.Controls
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
        const content = findChild(sheet, "sheetBody")
        verify(content.visible)
        compare(content.Window.window, testCase.Window.window)
        waitForRendering(content)
        mouseClick(findChild(content.parent, "confirmButton"))
        compare(confirmedSpy.count, 1)
        verify(sheet.opened)
        mouseClick(findChild(content.parent, "cancelButton"))
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
        const bar = findChild(sheet, "sheetBody").parent
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

    // A sheet asking for more than the window has stays in it, 16 clear of its edges, with its
    // content shorter; its buttons take clicks and it opens again the same way.
    function test_sheetLargerThanTheWindowShrinksToIt() {
        const sheet = createTemporaryObject(sheetComponent, testCase, { minimumWidth: 900, minimumHeight: 800 })
        cancelledSpy.target = closedSpy.target = sheet
        cancelledSpy.clear(); closedSpy.clear()
        for (let round = 1; round <= 2; ++round) {
            sheet.open()
            tryVerify(() => sheet.opened)
            const body = findChild(sheet, "sheetBody")
            compare(body.Window.window, testCase.Window.window)
            const frame = body.parent
            const box = frame.mapToItem(null, 0, 0, frame.width, frame.height)
            verify(box.x >= 16 && box.y >= 16, JSON.stringify(box))
            verify(box.x + box.width <= testCase.width - 16 && box.y + box.height <= testCase.height - 16,
                   JSON.stringify(box))
            verify(body.height > 0 && body.height < 800)
            waitForRendering(body)
            mouseClick(findChild(frame, "cancelButton"))
            compare(cancelledSpy.count, round)
            tryVerify(() => !sheet.opened)
            compare(closedSpy.count, round)
        }
    }

    // Without a title or buttons the content starts at the top.
    function test_sheetWithoutHeader() {
        const sheet = createTemporaryObject(sheetComponent, testCase,
                                            { minimumWidth: 420, minimumHeight: 300, title: "", cancelText: "",
                                              confirmText: "" })
        sheet.open()
        tryVerify(() => sheet.opened)
        const body = findChild(sheet, "sheetBody")
        verify(body.y <= 1)
        sheet.close()
        tryVerify(() => !sheet.opened)
    }

    // Work in flight: neither the button nor Escape cancels, in a sheet that fits and in one
    // larger than the window.
    function test_refusedCancel_data() {
        return [{ tag: "fits", minimumWidth: 420, minimumHeight: 300 },
                { tag: "larger than the window", minimumWidth: 900, minimumHeight: 800 }]
    }
    function test_refusedCancel(data) {
        const sheet = createTemporaryObject(sheetComponent, testCase,
                                            { minimumWidth: data.minimumWidth, minimumHeight: data.minimumHeight })
        cancelledSpy.target = sheet
        cancelledSpy.clear()
        sheet.cancelEnabled = false
        sheet.open()
        tryVerify(() => sheet.opened)
        const body = findChild(sheet, "sheetBody")
        waitForRendering(body)
        verify(!findChild(body.parent, "cancelButton").enabled)
        keyClick(Qt.Key_Escape)
        sheet.cancel()
        wait(50)
        compare(cancelledSpy.count, 0)
        verify(sheet.opened)
        sheet.cancelEnabled = true
        sheet.cancel()
        compare(cancelledSpy.count, 1)
        tryVerify(() => !sheet.opened)
    }

    // A sheet with a field, a drop-down, a menu and a question of its own.
    Component {
        id: layeredSheetComponent
        AppSheet {
            property alias field: field
            property alias select: select
            property alias menu: menu
            property alias question: question
            title: "Строка"; cancelText: "Отмена"; minimumWidth: 420; minimumHeight: 360
            Column {
                anchors.fill: parent
                anchors.margins: 20
                spacing: 12
                AppTextField { id: field; width: parent.width; title: "Название"; systemImage: "doc.text" }
                AppSelect {
                    id: select
                    width: parent.width
                    title: "Категория"
                    selection: "a"
                    options: [{ value: "a", label: "Дизайн" }, { value: "b", label: "Frontend" }]
                }
            }
            Menu {
                id: menu
                AppMenuItem { text: "Удалить" }
            }
            AppConfirmationDialog {
                id: question
                title: "Удалить строку?"
                buttons: [{ text: "Удалить", role: "destructive" }, { text: "Отмена", role: "cancel" }]
            }
        }
    }

    // Escape closes only what stands innermost (an open list, a menu, a question over the sheet);
    // the sheet and what was typed into it stay, and the next Escape closes the sheet.
    function test_escapeClosesOnlyTheInnermost_data() {
        return [{ tag: "list" }, { tag: "menu" }, { tag: "question" }]
    }
    function test_escapeClosesOnlyTheInnermost(data) {
        const sheet = createTemporaryObject(layeredSheetComponent, testCase)
        cancelledSpy.target = sheet
        cancelledSpy.clear()
        sheet.open()
        tryVerify(() => sheet.opened)
        waitForRendering(sheet.field)
        sheet.field.input.forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_A)
        keyClick(Qt.Key_B)
        compare(sheet.field.text, "ab")
        let isOpen
        if (data.tag === "list") {
            const field = findChild(sheet.select, "field")
            field.forceActiveFocus(Qt.TabFocusReason)
            keyClick(Qt.Key_Space)
            isOpen = () => sheet.select.isOpen
        } else if (data.tag === "menu") {
            sheet.menu.open()
            isOpen = () => sheet.menu.opened
        } else {
            sheet.question.open()
            isOpen = () => sheet.question.opened
        }
        tryVerify(isOpen)
        keyClick(Qt.Key_Escape)
        tryVerify(() => !isOpen())
        verify(sheet.opened)
        compare(cancelledSpy.count, 0)
        compare(sheet.field.text, "ab")
        compare(sheet.select.selection, "a")
        keyClick(Qt.Key_Escape)
        compare(cancelledSpy.count, 1)
        tryVerify(() => !sheet.opened)
    }

    Component {
        id: mixedMenuComponent
        Menu {
            property alias withSymbol: withSymbol
            property alias withoutSymbol: withoutSymbol
            AppMenuItem { id: withSymbol; text: "Платежи"; systemImage: "creditcard" }
            AppMenuItem { id: withoutSymbol; text: "Удалить итерацию"; destructive: true }
        }
    }

    Component {
        id: menuButtonComponent
        Button {
            property alias menu: menu
            text: "Действия"
            onClicked: menu.popup(this, 0, height)
            AppMenu {
                id: menu
                title: "Действия"
                AppMenuItem { objectName: "unavailable"; text: "Недоступно"; enabled: false }
                AppMenuItem { objectName: "payments"; text: "Платежи" }
                AppMenuItem { objectName: "remove"; text: "Удалить" }
            }
        }
    }

    // A menu opens with the keyboard on its first entry that can be chosen, with the ring when a
    // key opened it and without after a click; the arrows go on from there.
    function test_menuFocusesFirstEntry_data() {
        return [
            { tag: "by key", byKey: true },
            { tag: "by click", byKey: false }
        ]
    }
    function test_menuFocusesFirstEntry(data) {
        const button = createTemporaryObject(menuButtonComponent, testCase)
        waitForRendering(button)
        FocusLanding.land(button)
        if (data.byKey)
            keyClick(Qt.Key_Space)
        else
            mouseClick(button)
        tryVerify(() => button.menu.opened)
        const first = findChild(button.menu.contentItem, "payments")
        tryVerify(() => first.activeFocus)
        compare(first.visualFocus, data.byKey)
        compare(button.menu.currentIndex, 1)
        keyClick(Qt.Key_Down)
        verify(findChild(button.menu.contentItem, "remove").activeFocus)
        keyClick(Qt.Key_Escape)
        tryVerify(() => !button.menu.visible)
    }

    // An entry without a symbol keeps its text in the column of the others'.
    function test_menuTextsStandInOneColumn() {
        const menu = createTemporaryObject(mixedMenuComponent, testCase)
        menu.open()
        tryVerify(() => menu.opened)
        waitForRendering(menu.contentItem)
        const textX = entry => {
            const label = entry.contentItem.children[1]
            compare(label.text, entry.text)
            return label.mapToItem(null, 0, 0).x
        }
        compare(textX(menu.withoutSymbol), textX(menu.withSymbol))
        menu.close()
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

    ButtonReturnKey {} // as in the application's window

    Component {
        id: askingComponent
        Button {
            property bool viaMenu
            property alias question: question
            text: "Удалить"
            onClicked: viaMenu ? menu.popup(this, 0, height) : question.open()
            AppMenu { id: menu; AppMenuItem { text: "Удалить"; onTriggered: question.open() } }
            AppConfirmationDialog { id: question; title: "Удалить проект?" }
        }
    }

    // Each showing of a question starts on its safe button with its ring, whatever was pressed
    // before and however it opened (a key, a click, a menu closing under it); Return presses it.
    function test_questionStartsOnItsSafeButton_data() {
        const kinds = [
            { kind: "deletion", safe: 1, other: 0,
              buttons: [{ text: "Удалить", role: "destructive" }, { text: "Отмена", role: "cancel" }] },
            { kind: "unsaved edits", safeIndex: 0, safe: 0, other: 1,
              buttons: [{ text: "Сохранить" }, { text: "Не сохранять" }, { text: "Отмена", role: "cancel" }] },
            { kind: "alert", safe: 0, other: 0, buttons: [{ text: "OK" }] }]
        return [].concat(...["key", "click", "menu"].map(
            way => kinds.map(kind => Object.assign({ tag: kind.kind + " by " + way, way: way }, kind))))
    }
    function test_questionStartsOnItsSafeButton(data) {
        const opener = createTemporaryObject(askingComponent, testCase, { viaMenu: data.way === "menu" })
        const dialog = opener.question
        dialog.buttons = data.buttons
        if (data.safeIndex !== undefined)
            dialog.safeIndex = data.safeIndex
        triggeredSpy.target = dialog
        triggeredSpy.clear()
        waitForRendering(opener)
        for (const pressed of [data.other, data.safe]) {
            if (data.way === "click") {
                mouseClick(opener)
            } else {
                FocusLanding.land(opener)
                keyClick(Qt.Key_Space)
            }
            if (data.way === "menu") {
                tryVerify(() => testCase.Window.activeFocusItem instanceof AppMenuItem)
                keyClick(Qt.Key_Space)
            }
            const safe = findChild(dialog.contentItem, "dialogButton" + data.safe)
            tryVerify(() => dialog.opened && safe.activeFocus)
            verify(findChild(safe, "dialogFocusRing").visible)
            waitForItemPolished(dialog.contentItem) // centred once its height is known
            if (pressed === data.safe)
                keyClick(Qt.Key_Return)
            else
                mouseClick(findChild(dialog.contentItem, "dialogButton" + pressed))
            tryVerify(() => !dialog.visible)
        }
        compare(triggeredSpy.signalArguments.map(args => args[0]), [data.other, data.safe])
    }

    Component {
        id: fieldSheetComponent
        AppSheet {
            title: "Новая итерация"; cancelText: "Отмена"
            TextField { objectName: "sheetField" }
        }
    }
    Component {
        id: fieldComponent
        TextField {}
    }

    // A landing asked for beneath an open modal popup (a late result of what lies under it)
    // leaves the keys where the person sees them; once the popup closes, it lands again.
    function test_landingWaitsForTheModalAbove() {
        const behind = createTemporaryObject(fieldComponent, testCase)
        const sheet = createTemporaryObject(fieldSheetComponent, testCase, { minimumWidth: 420, minimumHeight: 300 })
        sheet.open()
        tryVerify(() => sheet.opened)
        const field = findChild(sheet, "sheetField")
        FocusLanding.land(behind)
        verify(!behind.activeFocus)
        FocusLanding.land(field)
        verify(field.activeFocus)
        const question = createTemporaryObject(dialogComponent, testCase)
        question.open()
        tryVerify(() => question.opened)
        tryVerify(() => !field.activeFocus)
        const focused = testCase.Window.activeFocusItem
        FocusLanding.land(field)
        compare(testCase.Window.activeFocusItem, focused)
        question.close()
        tryVerify(() => !question.opened)
        FocusLanding.land(field)
        verify(field.activeFocus)
    }
}
