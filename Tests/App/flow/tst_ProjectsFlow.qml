pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design

// The signed-in window at the default size, driven with the mouse and keys: refreshing and
// creating an iteration leave the tree with every iteration, the new one shown and selected; a
// creation answered with another project shows every project once and says so in its sheet.
Item {
    id: host
    width: 960
    height: 640

    ButtonReturnKey {} // as in the application's window

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }

    TestCase {
        name: "ProjectsFlow"
        when: windowShown
        visible: true

        function init() {
            const window = host.Window.window
            window.requestActivate()
            tryVerify(() => window.active)
            testEnvironment.reset()
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        function openAccountWindow() {
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            verify(testEnvironment.signIn(root.viewModel.auth))
            tryCompare(root.viewModel, "screen", RootViewModel.AccountShell)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            return root.currentScreen
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

        function row(shell, id) {
            showList(shell)
            let found = null
            tryVerify(() => (found = findChild(shell, "projectRow-" + id)) !== null && found.visible,
                      5000, "no row of " + id)
            return found
        }

        function test_refreshAndNewIterationKeepTheTree() {
            const iteration = testEnvironment.demoIteration()
            verify(iteration.id)
            const shell = openAccountWindow()
            const list = findChild(shell, "projectsList")
            tryCompare(list.viewModel, "contentState", "tree")
            row(shell, iteration.id)

            // The toolbar's refresh, then F5: the iteration's row stays.
            mouseClick(findChild(shell, "refreshButton"))
            tryVerify(() => !list.viewModel.isLoading)
            row(shell, iteration.id)
            keyClick(Qt.Key_F5)
            tryVerify(() => !list.viewModel.isLoading)
            const kept = row(shell, iteration.id)
            verify(row(shell, iteration.rootId).countText !== "")

            // "Новая итерация" from the root's editor: the new row is there and selected.
            mouseClick(row(shell, iteration.rootId))
            let editor = null
            tryVerify(() => (editor = findChild(shell, "projectEditor")) !== null
                      && editor.screen.editor.projectId === iteration.rootId)
            mouseClick(findChild(editor, "actionsMenuButton"))
            const menu = editor.toolbar.actionsMenu
            tryVerify(() => menu.opened)
            let entry = null
            for (let i = 0; i < menu.count; ++i) {
                if (menu.itemAt(i).text === "Новая итерация")
                    entry = menu.itemAt(i)
            }
            verify(entry)
            mouseClick(entry)
            let sheet = null
            tryVerify(() => (sheet = findChild(editor, "iterationNameField")) !== null && sheet.visible)
            keyClick(Qt.Key_S)
            keyClick(Qt.Key_Return)
            tryVerify(() => shell.viewModel.selectedProjectId !== iteration.rootId, 5000)
            const created = shell.viewModel.selectedProjectId
            verify(created !== "" && created !== iteration.id)
            const newRow = row(shell, created)
            tryVerify(() => newRow.isSelected)
            verify(!kept.isSelected)
        }

        // The visible rows of that project.
        function rowCount(item, id) {
            let count = item.objectName === "projectRow-" + id && item.visible ? 1 : 0
            for (let i = 0; i < item.children.length; ++i)
                count += rowCount(item.children[i], id)
            return count
        }

        // Ctrl+N, a name and Return; the backend makes the project but answers with an existing
        // project's record, or with one that does not read. The answer is not taken in: the list
        // is read again, the project made shows once and nothing is opened. The sheet says why
        // inside it, as an alert, and its one button left, "Закрыть", has the keys: a second
        // Return closes it and makes no second project.
        function test_createAnsweredWithAnotherProject_data() {
            return [ { tag: "listed identity", listed: true }, { tag: "unreadable answer", listed: false } ]
        }
        function test_createAnsweredWithAnotherProject(data) {
            const iteration = testEnvironment.demoIteration()
            const shell = openAccountWindow()
            const list = findChild(shell, "projectsList")
            tryCompare(list.viewModel, "contentState", "tree")
            row(shell, iteration.rootId)
            const made = testEnvironment.answerCreationWith(data.listed ? iteration.rootId : "", "Nova")
            keyClick(Qt.Key_N, Qt.ControlModifier)
            let sheet = null
            tryVerify(() => (sheet = findChild(shell, "createProjectSheet")) !== null && sheet.opened)
            for (const c of "Nova")
                keyClick(c)
            keyClick(Qt.Key_Return)
            const text = "Сервер не подтвердил, что проект создан. Проверьте список проектов, прежде чем "
                         + "создавать его снова."
            let notice = null
            tryVerify(() => (notice = findChild(sheet, "creationNotice")) !== null && notice.visible, 5000)
            compare(notice.text, text)
            compare(notice.Accessible.role, Accessible.AlertMessage)
            compare(notice.Accessible.name, text)
            compare(list.viewModel.bannerMessage, text)
            const confirm = findChild(sheet, "confirmButton")
            compare(confirm.text, "Закрыть")
            tryVerify(() => confirm.activeFocus)
            verify(!findChild(sheet, "cancelButton").visible)
            verify(!findChild(sheet, "nameField").enabled)
            // Seen within the sheet's frame, above its lower edge.
            const frame = findChild(sheet, "sheetBody")
            const top = notice.mapToItem(frame, 0, 0).y
            verify(top >= 0 && top + notice.height <= frame.height, top)
            keyClick(Qt.Key_Return)
            tryVerify(() => findChild(shell, "createProjectSheet") === null)
            compare(shell.viewModel.selectedProjectId, "")
            keyClick(Qt.Key_Return)
            wait(200)
            compare(testEnvironment.requestCount("POST", "projects"), 1)
            row(shell, made)
            compare(rowCount(shell, made), 1)
            compare(rowCount(shell, iteration.rootId), 1)
            compare(findChild(shell, "createProjectSheet"), null)
        }

        // A new iteration made while the editor holds typed edits: the edits are asked about
        // before the new iteration takes the editor's place.
        function test_newIterationAsksAboutUnsavedEdits() {
            const iteration = testEnvironment.demoIteration()
            const shell = openAccountWindow()
            mouseClick(row(shell, iteration.rootId))
            let editor = null
            tryVerify(() => (editor = findChild(shell, "projectEditor")) !== null
                      && editor.screen.editor.projectId === iteration.rootId)
            const client = findChild(editor, "clientField")
            mouseClick(client.input)
            keyClick(Qt.Key_End)
            keyClick(Qt.Key_X)
            verify(editor.screen.editor.isDirty)
            mouseClick(findChild(editor, "actionsMenuButton"))
            tryVerify(() => editor.toolbar.actionsMenu.opened)
            mouseClick(findChild(editor.toolbar.actionsMenu, "menuEntry-newIteration"))
            let name = null
            tryVerify(() => (name = findChild(editor, "iterationNameField")) !== null && name.visible)
            keyClick(Qt.Key_Return)
            const dialog = findChild(shell, "unsavedEditsDialog")
            tryVerify(() => dialog.opened, 5000)
            tryVerify(() => dialog.safeButton().activeFocus)
            compare(shell.viewModel.selectedProjectId, iteration.rootId)
            waitForRendering(dialog.contentItem)
            mouseClick(findChild(dialog.contentItem, "dialogButton1")) // "Не сохранять"
            tryVerify(() => shell.viewModel.selectedProjectId !== iteration.rootId, 5000)
            const created = shell.viewModel.selectedProjectId
            tryVerify(() => row(shell, created).isSelected)
        }
    }
}
