import QtQuick
import QtQuick.Controls
import QtTest
import Tessmark.Design
import Tessmark.Features.Editor

// The editor screen as a user drives it: the actions menu, the save status, the line form, drag
// and the keys.
Item {
    id: host
    width: 900
    height: 900

    Component {
        id: editorComponent
        ProjectEditorView {
            anchors.fill: parent
        }
    }

    Component {
        id: containerComponent
        ProjectDetailContainer {
            anchors.fill: parent
        }
    }

    TestCase {
        name: "EditorScreen"
        when: windowShown
        visible: true

        function openEditor(guest, lines, type) {
            const view = createTemporaryObject(editorComponent, host, {
                projectsService: guest ? editorFixture.guestService() : editorFixture.accountService(),
                isGuestSession: guest,
                project: editorFixture.project(lines, type ?? "one_time")
            })
            verify(view)
            waitForRendering(view)
            return view
        }

        function lines(view) { return findChild(view, "editorLines") }
        function card(view, row) {
            let found = null
            tryVerify(() => (found = lines(view).itemAtIndex(row)) !== null)
            return found
        }
        function titles(view) {
            const model = view.screen.editor.sections
            const out = []
            for (let row = 0; row < model.count; ++row)
                out.push(lines(view).itemAtIndex(row) ? lines(view).itemAtIndex(row).shownTitle : "?")
            return out
        }

        function test_menu_data() {
            return [
                { tag: "guest one-off", guest: true, type: "one_time",
                  entries: ["Добавить строку", "PDF / Share", "Шаблоны"] },
                { tag: "guest iterative", guest: true, type: "iterative",
                  entries: ["Добавить строку", "PDF / Share", "Шаблоны"] },
                { tag: "account one-off", guest: false, type: "one_time",
                  entries: ["Добавить строку", "ИИ-смета", "PDF / Share", "Шаблоны"] },
                { tag: "account iterative", guest: false, type: "iterative",
                  entries: ["Добавить строку", "ИИ-смета", "PDF / Share", "Все итерации", "Новая итерация", "Шаблоны"] },
            ]
        }
        function test_menu(data) {
            const view = openEditor(data.guest, 2, data.type)
            mouseClick(findChild(view, "actionsMenuButton"))
            const menu = view.toolbar.actionsMenu
            tryVerify(() => menu.opened)
            compare(menu.count, data.entries.length)
            const symbols = { "Добавить строку": "plus", "ИИ-смета": "sparkles", "PDF / Share": "square.and.arrow.up",
                              "Все итерации": "list.bullet", "Новая итерация": "plus.rectangle.on.rectangle",
                              "Шаблоны": "doc.on.doc" }
            for (let i = 0; i < data.entries.length; ++i) {
                compare(menu.itemAt(i).text, data.entries[i])
                // Each entry draws its symbol, and the icon font has a glyph for it.
                compare(menu.itemAt(i).systemImage, symbols[data.entries[i]])
                verify(Icons.glyph(menu.itemAt(i).systemImage) !== "")
            }
            compare(findChild(view, "paymentsButton").enabled, !data.guest)
            menu.close()
        }

        // The payments button's tip shows on hover and is gone once the button opened the sheet,
        // also after the sheet closes with the pointer still there.
        function test_paymentsTipLeavesWithTheClick() {
            const view = openEditor(false, 2)
            const button = findChild(view, "paymentsButton")
            const cell = button.parent
            // In, and on: the tip waits for the pointer to move over the button.
            mouseMove(button, button.width / 2 - 3, button.height / 2)
            mouseMove(button, button.width / 2, button.height / 2)
            tryVerify(() => cell.ToolTip.visible)
            mouseClick(button)
            verify(view.screen.showFinance)
            verify(!cell.ToolTip.visible)
            view.screen.showFinance = false
            wait(50)
            verify(!cell.ToolTip.visible)
        }

        // A right click at the window's edge opens the line menu inside the window.
        function test_lineMenuStaysInsideTheWindow() {
            const view = openEditor(true, 5)
            const row = card(view, 0)
            const list = lines(view)
            list.positionViewAtIndex(0, ListView.Beginning)
            waitForRendering(view)
            const menu = findChild(view, "lineMenu")
            const at = row.mapToItem(host, row.width - 2, row.height / 2)
            mouseClick(host, at.x, at.y, Qt.RightButton)
            tryVerify(() => menu.opened)
            const frame = menu.contentItem.parent.mapToItem(host, 0, 0)
            verify(frame.x >= 0 && frame.x + menu.width <= host.width + 0.5, "menu at " + frame.x)
            verify(frame.y >= 0 && frame.y + menu.height <= host.height + 0.5, "menu at " + frame.y)
            menu.close()
        }

        // Choosing the iterative type adds the iteration entries before any save.
        function test_menuFollowsType() {
            const view = openEditor(false, 1, "one_time")
            view.screen.editor.projectType = "iterative"
            compare(view.toolbar.actionsMenu.count, 6)
            view.screen.editor.projectType = "one_time"
            compare(view.toolbar.actionsMenu.count, 4)
        }

        function test_statusLabel_data() {
            return [
                { tag: "clean", edit: false, error: "", shown: "" },
                { tag: "dirty", edit: true, error: "", shown: "saveStatus-dirty" },
                { tag: "error", edit: false, error: "Строка один\nСтрока два\nСтрока три", shown: "saveStatus-error" },
            ]
        }
        function test_statusLabel(data) {
            const view = openEditor(true, 2)
            const editor = view.screen.editor
            if (data.edit) {
                editor.deleteLine(card(view, 0).lineId)
            }
            if (data.error !== "") {
                // A failed validation is an error state with its message.
                editor.name = ""
                wait(0)
                editor.save()
                compare(editor.saveState, "error")
            }
            if (data.shown === "") {
                verify(findChild(view, "saveStatus-dirty") === null || !findChild(view, "saveStatus-dirty").visible)
                return
            }
            const shown = findChild(view, data.shown)
            verify(shown)
            if (data.shown === "saveStatus-dirty")
                compare(findChild(view, "saveStatusText").text, "Есть изменения")
        }

        // A failed save shows the server's message, two lines of three.
        function test_statusLabelCutsErrors() {
            editorFixture.failSaves("Первая строка ошибки сервера\nВторая строка ошибки\nТретья строка")
            const view = openEditor(false, 1)
            view.screen.editor.save()
            tryCompare(view.screen.editor, "saveState", "error")
            const label = findChild(view, "saveStatusText")
            verify(label.visible)
            compare(label.lineCount, 2)
            verify(label.truncated)
        }

        // A save shows its progress, then "Сохранено".
        function test_statusSaved() {
            editorFixture.answerSaves(300)
            const view = openEditor(false, 1)
            view.screen.editor.save()
            verify(findChild(view, "saveStatus-saving").visible)
            tryCompare(view.screen.editor, "saveState", "saved")
            verify(findChild(view, "saveStatus-saved").visible)
            compare(findChild(view, "saveButton").enabled, true)
        }

        function test_formParse_data() {
            return [
                { tag: "comma", hours: "1,5", hoursValue: 1.5 },
                { tag: "exponent", hours: "2e1", hoursValue: 20 },
                { tag: "blank inside", hours: "1 000", hoursValue: 0 },
                { tag: "negative", hours: "-3", hoursValue: 0 },
            ]
        }
        function test_formParse(data) {
            const view = openEditor(true, 0)
            view.screen.openNewItem()
            let title = null
            tryVerify(() => (title = findChild(view, "formTitle")) !== null && title.visible)
            verify(title.input.activeFocus)
            keyClick(Qt.Key_A)
            const hours = findChild(view, "formHours")
            hours.input.forceActiveFocus()
            hours.input.selectAll()
            for (const ch of data.hours)
                keyClick(ch)
            keyClick(Qt.Key_Return)
            tryCompare(view.screen, "showItemForm", false)
            compare(view.screen.editor.itemCount, 1)
            compare(view.screen.editor.sections.count, 1)
            compare(card(view, 0).hoursText, data.hoursValue.toFixed(1) + " ч")
        }

        // "Готово" waits for a title with more than spaces; Escape leaves the lines alone.
        function test_formEnablement() {
            const view = openEditor(true, 0)
            view.screen.openNewItem()
            let title = null
            tryVerify(() => (title = findChild(view, "formTitle")) !== null && title.visible)
            keyClick(Qt.Key_Space)
            compare(view.screen.form.canSave, false)
            keyClick(Qt.Key_Return)
            compare(view.screen.showItemForm, true)
            keyClick(Qt.Key_B)
            compare(view.screen.form.canSave, true)
            keyClick(Qt.Key_Escape)
            tryCompare(view.screen, "showItemForm", false)
            compare(view.screen.editor.itemCount, 0)
        }

        function test_drag_data() {
            return [
                { tag: "category", mode: "category", moved: true },
                { tag: "cost", mode: "costDesc", moved: false },
                { tag: "hours", mode: "hoursDesc", moved: false },
            ]
        }
        // Rows of the first section swap in the category mode; elsewhere the card returns.
        function test_drag(data) {
            const view = openEditor(true, 12)
            view.screen.editor.groupMode = data.mode
            const list = lines(view)
            list.positionViewAtIndex(0, ListView.Beginning)
            const first = card(view, 0)
            const second = card(view, 1)
            const before = [first.lineId, second.lineId]
            const grip = findChild(first, "lineGrip")
            const distance = second.y + second.height / 2 - (first.y + first.height / 2) + 10
            // In the list's coordinates: the grip moves with the card it drags.
            const from = grip.mapToItem(list, grip.width / 2, grip.height / 2)
            mouseDrag(list, from.x, from.y, 0, distance)
            wait(50)
            const after = [card(view, 0).lineId, card(view, 1).lineId]
            if (data.moved)
                compare(after, [before[1], before[0]])
            else
                compare(after, before)
            compare(card(view, 0).dragOffset, 0)
        }

        // Enter opens the focused card, Delete removes it, the form gives the focus back.
        function test_keys() {
            const view = openEditor(true, 3)
            const first = card(view, 0)
            const firstId = first.lineId
            first.forceActiveFocus()
            keyClick(Qt.Key_Return)
            tryCompare(view.screen, "showItemForm", true)
            compare(view.screen.form.sheetTitle, "Редактирование")
            keyClick(Qt.Key_Escape)
            tryCompare(view.screen, "showItemForm", false)
            tryVerify(() => card(view, 0).activeFocus)
            keyClick(Qt.Key_Delete)
            compare(view.screen.editor.itemCount, 2)
            tryVerify(() => card(view, 0).lineId !== firstId)
            compare(findChild(view, "saveStatusText").text, "Есть изменения")
        }

        // Ctrl+S saves as the button does.
        function test_ctrlS() {
            const view = openEditor(true, 1)
            view.screen.editor.name = ""
            wait(0)
            keySequence(StandardKey.Save)
            compare(view.screen.editor.saveState, "error")
        }

        // Ctrl+S pressed while a save runs saves once more after it, however often it is pressed:
        // what is stored ends as what is shown.
        function test_ctrlSWhileSaving() {
            const view = createTemporaryObject(editorComponent, host, {
                projectsService: editorFixture.accountService(), isGuestSession: false,
                project: editorFixture.storedProject(400)
            })
            waitForRendering(view)
            const editor = view.screen.editor
            const name = editor.name
            mouseClick(findChild(view, "nameField").input)
            keyClick(Qt.Key_End)
            keyClick("A")
            keyClick("1")
            keySequence(StandardKey.Save)
            compare(editor.saveState, "saving")
            keyClick("B")
            keyClick("2")
            keySequence(StandardKey.Save)
            keySequence(StandardKey.Save)
            tryCompare(editor, "saveState", "saved", 10000)
            compare(editor.name, name + "A1B2")
            compare(editorFixture.storedName(editor.projectId), editor.name)
            verify(!editor.isDirty)
        }

        // The empty state offers the AI only to a signed-in user; the group control needs lines.
        function test_emptyState_data() {
            return [ { tag: "guest", guest: true }, { tag: "account", guest: false } ]
        }
        function test_emptyState(data) {
            const view = openEditor(data.guest, 0)
            verify(findChild(view, "emptyEstimate").visible)
            compare(findChild(view, "emptyAI").visible, !data.guest)
            verify(!findChild(view, "groupModeControl").visible)
            compare(findChild(view, "guestNotice").visible, data.guest)
            compare(findChild(view, "financeBanner").visible, !data.guest)
        }

        // The default-rate field reads "1,5" and keeps the rate on a text that does not read.
        function test_defaultRate() {
            const view = openEditor(true, 1)
            const field = findChild(view, "defaultRateField")
            field.input.forceActiveFocus()
            field.input.selectAll()
            for (const ch of "1,5")
                keyClick(ch)
            compare(view.screen.editor.defaultRate, 1.5)
            compare(field.text, "1,5")
            keyClick(Qt.Key_A)
            compare(view.screen.editor.defaultRate, 1.5)
            findChild(view, "nameField").input.forceActiveFocus()
            compare(field.text, "1.5")
        }

        // The detail column: the editor of a stored project, its deletion after the question,
        // and "Назад" for a project that is not there; the names stay plain text.
        function test_container() {
            const id = editorFixture.addGuestProject("g-1", "<b>Жирный</b>")
            const detail = createTemporaryObject(containerComponent, host, {
                projectsService: editorFixture.guestService(), projectId: id, isGuestSession: true
            })
            tryCompare(detail.controller, "content", "editor")
            const deleted = signalSpy.createObject(detail, { target: detail, signalName: "deleted" })
            mouseClick(findChild(detail, "deleteButton"))
            const dialog = findChild(detail, "deleteConfirmation")
            tryVerify(() => dialog.opened)
            compare(dialog.title, "Удалить проект «<b>Жирный</b>»?")
            tryVerify(() => dialog.safeButton().activeFocus)
            dialog.trigger(0)
            deleted.wait(5000)
            compare(deleted.count, 1)

            const missing = createTemporaryObject(containerComponent, host, {
                projectsService: editorFixture.guestService(), projectId: "none", isGuestSession: true
            })
            tryCompare(missing.controller, "content", "notFound")
            const moved = signalSpy.createObject(missing, { target: missing, signalName: "projectIdChangeRequested" })
            mouseClick(findChild(missing, "detailBack"))
            moved.wait(5000)
            compare(moved.signalArguments[0][0], "")
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }
}
