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

    TestCase {
        name: "EditorFlow"
        when: windowShown
        visible: true

        function init() {
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
                mouseWheel(list, list.width / 2, list.height / 2, 0, -120)
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
