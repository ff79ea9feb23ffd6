pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design
import Tessmark.Features.Projects

// The guest projects list: a device record that cannot be read leaves the others listed and is
// reported above them; search, create, delete and the keys; the card grid's columns.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }

    SignalSpy {
        id: finishedSpy
        signalName: "deleteFinished"
    }

    Component {
        id: listComponent
        ProjectsListView {}
    }

    TestCase {
        name: "ProjectsList"
        when: windowShown
        visible: true

        function init() {
            testEnvironment.reset()
            testEnvironment.setPreference("guest_mode_active", true)
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        function test_unreadableRecordNotice_data() {
            return [
                { tag: "all records read", unreadable: false },
                { tag: "one record does not read", unreadable: true },
            ]
        }

        function test_unreadableRecordNotice(data) {
            const ids = testEnvironment.addDeviceProjects(2)
            if (data.unreadable)
                testEnvironment.addUnreadableDeviceRecord("local-broken")
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            const shell = root.currentScreen
            tryVerify(() => findChild(shell, "projectRow-" + ids[0]) !== null)
            verify(findChild(shell, "projectRow-" + ids[1]) !== null)
            verify(findChild(shell, "projectRow-local-broken") === null)

            const notice = findChild(shell, "projectsListNotice")
            verify(notice)
            const service = shell.viewModel.projectsService
            compare(notice.visible, data.unreadable)
            if (data.unreadable) {
                verify(service.errorMessage !== "")
                const text = findChild(notice, "projectsListNoticeText")
                compare(text.text, service.errorMessage)
                compare(text.textFormat, Text.PlainText)
            }
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

        function openList() {
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            const shell = root.currentScreen
            let list = null
            tryVerify(() => (list = findChild(shell, "projectsList")) !== null)
            return list
        }

        function typeText(text) {
            for (const c of text)
                keyClick(c)
        }

        function test_searchCreateDeleteAndKeys() {
            const ids = testEnvironment.addDeviceProjects(3)
            const list = openList()
            const vm = list.viewModel
            tryCompare(vm, "contentState", "cards")
            tryVerify(() => findChild(list, "projectRow-" + ids[2]) !== null)

            // Ctrl+F, a query that matches nothing, Escape clears it.
            keyClick(Qt.Key_F, Qt.ControlModifier)
            const input = findChild(list, "projectsSearchInput")
            verify(input.activeFocus)
            typeText(" zzz")
            compare(vm.contentState, "noResults")
            verify(findChild(list, "projectsNoResults").visible)
            compare(vm.noResultsText, "Нет результатов для «zzz»")
            keyClick(Qt.Key_Escape)
            compare(input.text, "")
            compare(vm.contentState, "cards")

            // Ctrl+N: the name is focused, Enter creates, the sheet closes and the new card is selected.
            keyClick(Qt.Key_N, Qt.ControlModifier)
            let sheet = null
            tryVerify(() => (sheet = findChild(list, "createProjectSheet")) !== null && sheet.opened)
            const confirm = findChild(sheet, "confirmButton")
            verify(!confirm.enabled)
            typeText("Nova")
            verify(confirm.enabled)
            keyClick(Qt.Key_Return)
            tryVerify(() => findChild(list, "createProjectSheet") === null)
            tryCompare(vm.cardsModel, "count", 4)
            tryVerify(() => list.selectedProjectId !== "" && ids.indexOf(list.selectedProjectId) < 0)
            compare(vm.selectedIndex, 0)

            // Keys over the cards; Delete asks, the destructive button deletes, the selection clears.
            const grid = findChild(list, "projectCards")
            let shell = list
            while (shell && !findChild(shell, "projectsPanel"))
                shell = shell.parent
            showList(shell)
            mouseClick(findChild(list, "projectRow-" + ids[1]))
            // A project picked in the folded list folds it away again.
            tryVerify(() => !findChild(shell, "projectsPanel").visible)
            showList(shell)
            compare(list.selectedProjectId, ids[1])
            verify(grid.activeFocus)
            const at = vm.selectedIndex
            keyClick(Qt.Key_Right)
            compare(vm.currentIndex, at + 1)
            compare(list.selectedProjectId, ids[1])
            keyClick(Qt.Key_Left)
            compare(vm.currentIndex, at)
            keyClick(Qt.Key_Delete)
            finishedSpy.target = vm
            const dialog = findChild(list, "deleteDialog")
            tryVerify(() => dialog.opened)
            compare(dialog.title, "Удалить проект «Проект 2»?")
            tryVerify(() => dialog.safeButton().activeFocus)
            waitForRendering(dialog.contentItem) // centred once its height is known
            mouseClick(findChild(dialog.contentItem, "dialogButton0"))
            // The delete ends once the list read off the window's thread is back.
            tryCompare(finishedSpy, "count", 1)
            verify(finishedSpy.signalArguments[0][0])
            tryCompare(vm.cardsModel, "count", 3)
            compare(list.selectedProjectId, "")
            verify(!dialog.opened)
        }

        // Escape leaves the sheet unless a creation runs; a blank name keeps "Создать" off.
        function test_createSheetCancel() {
            testEnvironment.addDeviceProjects(1)
            const list = openList()
            tryCompare(list.viewModel, "contentState", "cards")
            mouseClick(findChild(list, "createButton"))
            let sheet = null
            tryVerify(() => (sheet = findChild(list, "createProjectSheet")) !== null && sheet.opened)
            typeText("   ")
            verify(!findChild(sheet, "confirmButton").enabled)
            keyClick(Qt.Key_Escape)
            tryVerify(() => findChild(list, "createProjectSheet") === null)
            compare(list.viewModel.cardsModel.count, 1)
        }

        function test_gridColumns_data() {
            return [
                { tag: "600", width: 600, columns: 1 },
                { tag: "1200", width: 1200, columns: 4 },
            ]
        }

        function test_gridColumns(data) {
            testEnvironment.addDeviceProjects(6)
            const shellList = openList()
            const service = shellList.projectsService
            const list = createTemporaryObject(listComponent, host,
                                               { projectsService: service, isGuest: true, width: data.width,
                                                 height: 600 })
            verify(list)
            tryCompare(list.viewModel, "contentState", "cards")
            const grid = findChild(list, "projectCards")
            compare(Math.round(grid.width / grid.cellWidth), data.columns)
            compare(list.viewModel.cardColumns, data.columns)
        }

        // The tree's rows: the pointer going from one row to the next leaves the hover on the
        // next; Up and Down go over the rows, Space opens one, Delete asks about the one reached.
        function test_treeHoverAndKeys() {
            const ids = testEnvironment.addDeviceProjects(3)
            const service = testEnvironment.guestProjectsService()
            const list = createTemporaryObject(listComponent, host,
                                               { projectsService: service, isGuest: false, width: 420,
                                                 height: 600 })
            verify(list)
            const vm = list.viewModel
            tryCompare(vm, "contentState", "tree")
            let first = null
            tryVerify(() => (first = findChild(list, "projectRow-" + ids[0])) !== null)
            const second = findChild(list, "projectRow-" + ids[1])
            mouseMove(first, first.width / 2, first.height / 2)
            compare(vm.hoveredRowId, ids[0])
            mouseMove(second, second.width / 2, 2)
            compare(vm.hoveredRowId, ids[1])
            compare(findChild(second, "rowHighlight").color, AppTheme.withOpacity(AppTheme.accent, 0.08))

            mouseClick(first, first.width / 2, first.height / 2)
            compare(list.selectedProjectId, ids[0])
            keyClick(Qt.Key_Down)
            compare(vm.currentProjectId, ids[1])
            compare(list.selectedProjectId, ids[0])
            keyClick(Qt.Key_Space)
            compare(list.selectedProjectId, ids[1])
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Up)
            compare(vm.currentProjectId, ids[0])
            keyClick(Qt.Key_Delete)
            const dialog = findChild(list, "deleteDialog")
            tryVerify(() => dialog.opened)
            compare(dialog.title, "Удалить проект «Проект 1»?")
            tryVerify(() => dialog.safeButton().activeFocus)
            keyClick(Qt.Key_Escape)
            tryVerify(() => !dialog.opened)
            verify(!vm.hasProjectToDelete)
        }

        // Home, End, Page Up and Page Down over a long tree and a long grid of cards move the
        // keyboard to the first or the last project, or a page away (in the same column), and
        // show it whole; the selection stays where it was, as with the arrows.
        function test_pagingKeys_data() {
            const rows = []
            for (const cards of [false, true]) {
                const list = cards ? "cards" : "tree"
                rows.push({ tag: list + " End", cards: cards, keys: [Qt.Key_End], expect: "last" },
                          { tag: list + " Home after End", cards: cards, keys: [Qt.Key_End, Qt.Key_Home],
                            expect: "first" },
                          { tag: list + " Page Down", cards: cards, keys: [Qt.Key_PageDown], expect: "down" },
                          { tag: list + " Page Down twice", cards: cards, keys: [Qt.Key_PageDown, Qt.Key_PageDown],
                            expect: "down" },
                          { tag: list + " Page Up after End", cards: cards, keys: [Qt.Key_End, Qt.Key_PageUp],
                            expect: "up" },
                          { tag: list + " Page Down at the end", cards: cards, keys: [Qt.Key_End, Qt.Key_PageDown],
                            expect: "last" },
                          { tag: list + " Page Up at the start", cards: cards, keys: [Qt.Key_PageUp],
                            expect: "first" })
            }
            return rows
        }
        function test_pagingKeys(data) {
            const ids = testEnvironment.addDeviceProjects(150)
            const list = createTemporaryObject(listComponent, host,
                                               { projectsService: testEnvironment.guestProjectsService(),
                                                 isGuest: data.cards, width: data.cards ? 900 : 420, height: 600 })
            verify(list)
            const vm = list.viewModel
            tryCompare(vm, "contentState", data.cards ? "cards" : "tree")
            const view = findChild(list, data.cards ? "projectCards" : "projectTree")
            const columns = data.cards ? vm.cardColumns : 1
            verify(columns > 1 || !data.cards)
            compare(vm.currentIndex, 0)
            const firstId = vm.currentProjectId
            let first = null
            tryVerify(() => (first = findChild(list, "projectRow-" + firstId)) !== null)
            mouseClick(first, first.width / 2, first.height / 2)
            compare(list.selectedProjectId, firstId)
            verify(view.activeFocus)
            waitForRendering(list) // the click's selection is shown
            const count = ids.length
            // Wholly in the list's view, or why not.
            const outOfView = index => {
                const item = view.itemAtIndex(index)
                if (item === null)
                    return "row " + index + " is not made"
                const top = item.mapToItem(view, 0, 0).y
                return top >= 0 && top + item.height <= view.height ? "" : "row " + index + " at " + top
            }
            let before = vm.currentIndex
            for (const key of data.keys) {
                before = vm.currentIndex
                keyClick(key)
            }
            const at = vm.currentIndex
            // Shown once the rows on the way have their heights.
            tryVerify(() => outOfView(at) === "", 5000, "row " + at + " is not shown whole")
            compare(list.selectedProjectId, firstId)
            const row = findChild(list, "projectRow-" + vm.currentProjectId)
            verify(row && (data.cards ? row.isCurrent : row.ListView.isCurrentItem))
            if (data.expect === "first" || data.expect === "last") {
                compare(at, data.expect === "first" ? 0 : count - 1)
                return
            }
            // A page: further than the next row in that direction, which is not wholly in view.
            const step = (data.expect === "down" ? 1 : -1) * columns
            verify(data.expect === "down" ? at > before + step : at < before + step, before + " -> " + at)
            compare(at % columns, before % columns)
            verify(outOfView(at + step) !== "", at + step)
        }
    }
}
