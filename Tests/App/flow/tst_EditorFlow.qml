pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design

// The editor in the guest window at the default size, driven with the mouse and keys at the
// places the items are drawn, after scrolling: the context menu, the drag handle, the group
// control and the save keeping the place, and the question about unsaved edits.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }
    // As in the application's window.
    ButtonReturnKey {}

    TestCase {
        name: "EditorFlow"
        when: windowShown
        visible: true

        function init() {
            // Keys and shortcuts go to the active window: the test's own, again after a test
            // that opened the application's window.
            const window = host.Window.window
            window.requestActivate()
            tryVerify(() => window.active)
            testEnvironment.reset()
            testEnvironment.setPreference("guest_mode_active", true)
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        function openWindow() {
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            return root.currentScreen
        }

        // Clicks the project's card in the list and waits for its editor.
        function openProject(shell, id) {
            let row = null
            tryVerify(() => (row = findChild(shell, "projectRow-" + id)) !== null && row.visible)
            mouseClick(row)
            let editor = null
            tryVerify(() => (editor = findChild(shell, "projectEditor")) !== null
                      && editor.screen.editor.projectId === id)
            const list = findChild(editor, "editorLines")
            waitForRendering(list)
            return editor
        }

        // Turns the wheel over the list until it has moved at least `by` pixels down.
        function scrollDown(list, by) {
            const start = list.contentY
            for (let i = 0; i < 40 && list.contentY - start < by; ++i) {
                mouseWheel(list, list.width / 2, list.height / 2, 0, -480)
                tryVerify(() => !list.moving)
            }
            verify(list.contentY - start >= by)
            waitForRendering(list)
        }

        // The first card drawn from the list's vertical middle down (a section's head may be
        // at the middle itself).
        function cardInMiddle(list) {
            for (let y = list.height / 2; y < list.height; y += 10) {
                const card = list.itemAt(list.width / 2, list.contentY + y)
                if (card && card.lineId !== undefined)
                    return card
            }
            fail("no card in the lower half of the list")
        }

        // Beside an open editor the list is folded into a rail: its button shows the list.
        function showList(shell) {
            const button = findChild(shell, "showProjectsButton")
            const panel = findChild(shell, "projectsPanel")
            if (button && button.visible && !panel.visible) {
                mouseClick(button)
                tryVerify(() => panel.visible)
            }
        }

        function typeText(text) {
            for (const c of text)
                keyClick(c)
        }

        // Types a new name into the editor's name field, as a person does.
        function editName(editor, text) {
            const field = findChild(editor, "nameField")
            mouseClick(field.input)
            verify(field.input.activeFocus)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            typeText(text)
            verify(editor.screen.editor.isDirty)
        }

        // The items shown that a reader hears as alerts with the given words.
        function shownAlerts(parent, text) {
            const found = []
            const walk = item => {
                if (!item.visible)
                    return
                if (item.text === text && testEnvironment.accessibleRole(item) === Accessible.AlertMessage)
                    found.push(item)
                for (let i = 0; i < item.children.length; ++i)
                    walk(item.children[i])
            }
            walk(parent)
            return found
        }

        function unsavedDialog(shell) {
            const dialog = findChild(shell, "unsavedEditsDialog")
            verify(dialog)
            return dialog
        }

        // The dialog's button of that text, clicked where it is drawn; every showing starts on
        // the safe button, which Return presses.
        function answer(dialog, text) {
            tryVerify(() => dialog.opened)
            const safe = dialog.safeButton()
            tryVerify(() => safe.activeFocus, 1000, "the question starts on " + safe.text)
            if (safe.text === text) {
                keyClick(Qt.Key_Return)
                return
            }
            waitForRendering(dialog.contentItem)
            for (let i = 0; i < dialog.buttons.length; ++i) {
                if (dialog.buttons[i].text === text) {
                    mouseClick(findChild(dialog.contentItem, "dialogButton" + i))
                    return
                }
            }
            fail("no button " + text)
        }

        // Another project is clicked while the editor holds typed edits: the question comes, and
        // each answer does what it says.
        function test_selectAnotherProjectWithUnsavedEdits_data() {
            return [
                { tag: "save", answer: "Сохранить", moves: true, stored: true },
                { tag: "discard", answer: "Не сохранять", moves: true, stored: false },
                { tag: "cancel", answer: "Отмена", moves: false, stored: false },
            ]
        }

        function test_selectAnotherProjectWithUnsavedEdits(data) {
            const first = testEnvironment.addDeviceProject("Первый", 3, false)
            const second = testEnvironment.addDeviceProject("Второй", 3, false)
            const shell = openWindow()
            const editor = openProject(shell, first)
            editName(editor, "Renamed")

            showList(shell)
            mouseClick(findChild(shell, "projectRow-" + second))
            const dialog = unsavedDialog(shell)
            tryVerify(() => dialog.opened)
            compare(dialog.title, "Сохранить изменения?")
            compare(shell.viewModel.selectedProjectId, first)
            answer(dialog, data.answer)
            tryVerify(() => !dialog.opened)

            if (data.moves) {
                tryVerify(() => {
                    const shown = findChild(shell, "projectEditor")
                    return shown !== null && shown.screen.editor.projectId === second
                })
            } else {
                wait(50)
                compare(shell.viewModel.selectedProjectId, first)
                const list = findChild(shell, "projectsList")
                tryCompare(list, "selectedProjectId", first)
                verify(findChild(shell, "projectEditor") === editor)
                verify(editor.screen.editor.isDirty)
                compare(findChild(editor, "nameField").text, "Renamed")
            }
            compare(testEnvironment.deviceProjectName(first), data.stored ? "Renamed" : "Первый")
        }

        // "Сохранить" whose save is refused (no name) stays, the error shown.
        function test_refusedSaveStays() {
            const first = testEnvironment.addDeviceProject("Первый", 2, false)
            const second = testEnvironment.addDeviceProject("Второй", 2, false)
            const shell = openWindow()
            const editor = openProject(shell, first)
            const field = findChild(editor, "nameField")
            mouseClick(field.input)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_Delete)
            verify(editor.screen.editor.isDirty)
            mouseClick(findChild(shell, "sidebarRow-settings"))
            answer(unsavedDialog(shell), "Сохранить")
            tryCompare(editor.screen.editor, "saveState", "error")
            compare(shell.viewModel.mainSection, "projects")
            verify(findChild(shell, "projectEditor") === editor)
            compare(testEnvironment.deviceProjectName(first), "Первый")
        }

        // The device's disk is full when the edits are saved: the editor says so and what to
        // do, and keeps them; once there is room the same save goes through.
        function test_fullDiskKeepsTheEdits() {
            const id = testEnvironment.addDeviceProject("Полный диск", 60, false)
            const shell = openWindow()
            const editor = openProject(shell, id)
            editName(editor, "Renamed")
            verify(testEnvironment.setDeviceDiskFull(true))
            keySequence(StandardKey.Save)
            tryCompare(editor.screen.editor, "saveState", "error")
            const status = findChild(editor, "saveStatusText")
            verify(status.visible)
            const full = "Диск заполнен: данные не записаны. Освободите место на диске и повторите."
            compare(status.text, full)
            // Spoken once, by the editor: the list's banner, shown over it, reads it as text.
            showList(shell)
            const notice = findChild(shell, "projectsListNoticeText")
            tryVerify(() => notice.visible)
            compare(notice.text, full)
            const alerts = shownAlerts(shell, full)
            compare(alerts.length, 1)
            verify(alerts[0] === status)
            verify(editor.screen.editor.isDirty)
            compare(findChild(editor, "nameField").text, "Renamed")
            compare(testEnvironment.deviceProjectName(id), "Полный диск")

            verify(testEnvironment.setDeviceDiskFull(false))
            keySequence(StandardKey.Save)
            tryCompare(editor.screen.editor, "saveState", "saved")
            compare(testEnvironment.deviceProjectName(id), "Renamed")
        }

        // Where an item is drawn in the list's own coordinates.
        function yInList(list, item) {
            return item.mapToItem(list, 0, 0).y
        }

        // The group control clicked with the list scrolled: the list stays where it is, so the
        // next click lands on the next segment. A save keeps the line in view where it was.
        function test_groupSwitchAndSaveKeepThePlace() {
            const id = testEnvironment.addDeviceProject("Длинная смета", 24, false)
            const editor = openProject(openWindow(), id)
            const list = findChild(editor, "editorLines")
            const control = findChild(editor, "groupModeControl")
            const editorModel = editor.screen.editor
            // Scrolled until the control is near the top of the list.
            for (let i = 0; i < 40 && yInList(list, control) > 80; ++i) {
                mouseWheel(list, list.width / 2, list.height / 2, 0, -120)
                tryVerify(() => !list.moving)
            }
            verify(yInList(list, control) <= 80 && yInList(list, control) >= 0)
            const controlY = yInList(list, control)
            const modes = []
            for (let i = 1; i < control.options.length; ++i) {
                const segment = findChild(control, "segment" + i)
                mouseClick(segment)
                waitForItemPolished(list)
                waitForRendering(list)
                modes.push(editorModel.groupMode)
                compare(yInList(list, control), controlY, "the list moved after choosing " + control.options[i].value)
            }
            compare(modes, control.options.slice(1).map(o => o.value))

            // Far down: delete a line through its menu, then Ctrl+S.
            scrollDown(list, 1200)
            waitForItemPolished(list)
            const card = cardInMiddle(list)
            mouseClick(card, card.width / 2, card.height / 2, Qt.RightButton)
            const menu = findChild(editor, "lineMenu")
            tryVerify(() => menu.opened)
            mouseClick(menu.itemAt(0))
            tryVerify(() => !menu.opened)
            waitForItemPolished(list)
            waitForRendering(list)
            // The save reloads the lines with new identities: the same line is the same row.
            const anchor = cardInMiddle(list)
            const anchorRow = anchor.index
            const anchorTitle = anchor.shownTitle
            const anchorY = yInList(list, anchor)
            verify(editorModel.isDirty)
            keySequence(StandardKey.Save)
            tryCompare(editorModel, "saveState", "saved")
            waitForItemPolished(list)
            waitForRendering(list)
            const after = list.itemAtIndex(anchorRow)
            verify(after, "the line in view is no longer drawn")
            compare(after.shownTitle, anchorTitle)
            compare(yInList(list, after), anchorY)
        }

        // A line dragged by its grip, which shows on hover: the card follows the pointer one to
        // one, the list scrolls while the pointer holds it at the bottom edge, and the line lands
        // where it is dropped, far below where it started.
        function test_dragByTheGripAcrossAScroll() {
            const id = testEnvironment.addDeviceProject("Один раздел", 24, true)
            const editor = openProject(openWindow(), id)
            const list = findChild(editor, "editorLines")
            const editorModel = editor.screen.editor
            // The first cards in view.
            let card = null
            for (let i = 0; i < 40 && !(card = list.itemAtIndex(0)) || yInList(list, card) > list.height / 2; ++i) {
                mouseWheel(list, list.width / 2, list.height / 2, 0, -120)
                tryVerify(() => !list.moving)
            }
            waitForRendering(list)
            card = list.itemAtIndex(0)
            const title = card.shownTitle
            const icon = findChild(card, "lineGripIcon")
            verify(!icon.visible)
            mouseMove(card, card.width / 2, card.height / 2)
            tryVerify(() => icon.visible)

            const grip = findChild(card, "lineGrip")
            const start = grip.mapToItem(list, grip.width / 2, grip.height / 2)
            mousePress(list, start.x, start.y)
            // One to one: 60 pixels down moves the card 60 pixels.
            const cardY = yInList(list, card.contentItem)
            for (let dy = 10; dy <= 60; dy += 10)
                mouseMove(list, start.x, start.y + dy)
            compare(yInList(list, card.contentItem) - cardY, 60)

            // Held at the bottom edge: the list scrolls and the card stays under the pointer.
            const scrolledFrom = list.contentY
            const edgeY = list.height - 10
            for (let y = start.y + 60; y < edgeY; y += 20)
                mouseMove(list, start.x, Math.min(y, edgeY))
            mouseMove(list, start.x, edgeY)
            tryVerify(() => list.contentY - scrolledFrom > 800, 5000)
            mouseMove(list, start.x, list.height / 2)
            wait(50)
            // The card is still under the pointer.
            const pointerInCard = card.contentItem.mapFromItem(list, start.x, list.height / 2)
            verify(pointerInCard.y >= 0 && pointerInCard.y <= card.height, "the card left the pointer: " + pointerInCard.y)
            const lineId = card.lineId
            mouseRelease(list, start.x, list.height / 2)
            waitForItemPolished(list)
            const row = editorModel.sections.rowOfLine(lineId)
            verify(row > 3, "dropped at row " + row)
            tryVerify(() => list.itemAtIndex(row) && list.itemAtIndex(row).shownTitle === title)
            verify(editorModel.isDirty)
        }

        // Items named prefix* under parent, each drawn whole inside the frame item.
        function verifyAllInside(parent, prefix, frame) {
            let count = 0
            for (let i = 0; i < parent.children.length; ++i) {
                const item = parent.children[i]
                if (!item.objectName.startsWith(prefix))
                    continue
                ++count
                const at = item.mapToItem(frame, 0, 0)
                verify(at.x >= 0 && at.x + item.width <= frame.width, item.objectName + " is cut off at " + at.x)
            }
            return count
        }

        // At the default size the editor shows every sphere and the new-project sheet every
        // template, on more rows where one is not enough.
        function test_allSpheresAndTemplatesInView() {
            const id = testEnvironment.addDeviceProject("Сферы", 1, false)
            const shell = openWindow()
            const editor = openProject(shell, id)
            const chip = findChild(editor, "sphereChip-" + testEnvironment.lastSphereId())
            verify(chip)
            verify(verifyAllInside(chip.parent, "sphereChip-", editor) >= 5)

            showList(shell)
            mouseClick(findChild(shell, "createButton"))
            let sheet = null
            tryVerify(() => (sheet = findChild(shell, "createProjectSheet")) !== null && sheet.opened)
            const cards = findChild(sheet, "templateCards")
            tryVerify(() => cards.visible)
            let first = null
            tryVerify(() => (first = findChild(cards, "templateCard-0")) !== null)
            const flow = first.parent
            waitForRendering(flow)
            verify(verifyAllInside(flow, "templateCard-", cards) >= 4)
            keyClick(Qt.Key_Escape)
            tryVerify(() => findChild(shell, "createProjectSheet") === null)
        }

        // The application's own window, shown and active; signed in to the demo account when asked.
        function appWindow(signedIn) {
            const component = Qt.createComponent("qrc:/qt/qml/Tessmark/App/Main.qml")
            compare(component.status, Component.Ready, component.errorString())
            const window = createTemporaryObject(component, null)
            verify(window)
            compare(window.width, 960)
            compare(window.height, 640)
            window.requestActivate()
            tryVerify(() => window.active)
            const root = findChild(window.contentItem, "rootView")
            if (signedIn) {
                verify(testEnvironment.signIn(root.viewModel.auth))
                tryCompare(root.viewModel, "screen", RootViewModel.AccountShell)
            }
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            return window
        }
        function shellOf(window) { return findChild(window.contentItem, "rootView").currentScreen }

        // The application's own window: closing it with typed edits asks; "Отмена" keeps it,
        // "Не сохранять" lets it go.
        function test_closingTheWindowAsks() {
            const id = testEnvironment.addDeviceProject("Первый", 2, false)
            const window = appWindow(false)
            const shell = shellOf(window)
            const editor = openProject(shell, id)
            editName(editor, "Renamed")

            window.close()
            const dialog = unsavedDialog(shell)
            tryVerify(() => dialog.opened)
            verify(window.visible)
            answer(dialog, "Отмена")
            tryVerify(() => !dialog.opened)
            wait(50)
            verify(window.visible)

            window.close()
            answer(dialog, "Не сохранять")
            tryVerify(() => !window.visible)
            compare(testEnvironment.deviceProjectName(id), "Первый")
        }

        // Closed while its save hangs, the window says that it waits; not waiting leads to the
        // question about the edits, whose "Не сохранять" lets the window go.
        function test_closingWhileTheSaveHangs() {
            const window = appWindow(true)
            const shell = shellOf(window)
            const id = testEnvironment.demoIteration().rootId
            testEnvironment.slowUpdates(id, 30000)
            const editor = openProject(shell, id)
            editName(editor, "Renamed")
            keySequence(StandardKey.Save)
            compare(editor.screen.editor.saveState, "saving")

            window.close()
            const waiting = findChild(findChild(window.contentItem, "rootView"), "closeWaitDialog")
            verify(waiting)
            tryVerify(() => waiting.opened)
            verify(window.visible)
            answer(waiting, "Закрыть без ожидания")
            answer(unsavedDialog(shell), "Не сохранять")
            tryVerify(() => !window.visible)
        }

        // An end signal during a save closes the window as its close button does: once the save
        // has stored the edits.
        function test_endSignalFinishesTheSave() {
            const window = appWindow(true)
            const shell = shellOf(window)
            const id = testEnvironment.demoIteration().rootId
            testEnvironment.slowUpdates(id, 300)
            const editor = openProject(shell, id)
            editName(editor, "Stored on the way out")
            keySequence(StandardKey.Save)
            testEnvironment.endOnSignals(window)
            testEnvironment.sendEndSignal()
            tryVerify(() => !window.visible, 10000)
            compare(editor.screen.editor.saveState, "saved")
            compare(testEnvironment.accountProjectName(id), "Stored on the way out")
        }

        // Right-click on a card of a scrolled list, "Удалить": that card's line goes, no other.
        function test_rightClickDeleteOnScrolledList() {
            const id = testEnvironment.addDeviceProject("Длинная смета", 24, false)
            const editor = openProject(openWindow(), id)
            const list = findChild(editor, "editorLines")
            scrollDown(list, 1500)
            const editorModel = editor.screen.editor
            for (let round = 0; round < 2; ++round) {
                waitForItemPolished(list)
                waitForRendering(list)
                const card = cardInMiddle(list)
                const target = card.lineId
                const title = card.shownTitle
                const count = editorModel.itemCount
                mouseClick(card, card.width / 2, card.height / 2, Qt.RightButton)
                const menu = findChild(editor, "lineMenu")
                tryVerify(() => menu.opened)
                mouseClick(menu.itemAt(0))
                tryVerify(() => !menu.opened)
                compare(editorModel.itemCount, count - 1)
                compare(editorModel.sections.rowOfLine(target), -1, "the line of " + title + " is still there")
            }
        }
    }
}
