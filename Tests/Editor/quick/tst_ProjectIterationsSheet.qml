pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.Features.Editor

// The iterations sheet: rows and the line's summary, a pick handed over only after the sheet
// has closed, and a creation that cannot be started twice.
Item {
    id: host
    width: 1000
    height: 800

    Component {
        id: sheetComponent
        ProjectIterationsSheet {}
    }

    TestCase {
        name: "ProjectIterationsSheet"
        when: windowShown
        visible: true

        property var sheet
        property var events: []

        function openSheet(rootId) {
            events = []
            sheet = createTemporaryObject(sheetComponent, host,
                                          { projectsService: sheetEnv.projectsService, rootProjectId: rootId })
            sheet.closed.connect(() => events.push("closed"))
            sheet.iterationSelected.connect(id => events.push("selected " + id))
            sheet.open()
            tryVerify(() => !sheet.model.isLoading, 10000)
        }

        // Delegates and the dialog's contents are visual children only.
        function row(index) {
            return findChild(findChild(sheet, "iterationRows"), "iterationRow-" + index)
        }
        function inDialog(dialog, name) {
            waitForRendering(dialog.contentItem)
            return findChild(dialog.contentItem, name)
        }

        function init() {
            sheetEnv.reset()
        }

        function test_pickAnIteration() {
            const root = sheetEnv.addRoot()
            const second = sheetEnv.addIteration(root, { version: 2, iterationName: "" })
            const third = sheetEnv.addIteration(root, { version: 3, status: "completed" })
            openSheet(root)
            verify(findChild(sheet, "lineSummaryCard").visible)
            compare(findChild(row(0), "iterationTitle").text, "")
            compare(findChild(row(1), "iterationTitle").text, "v3")
            mouseClick(row(1))
            tryVerify(() => events.length === 2)
            compare(events, ["closed", "selected " + third])
        }

        function test_keyboardPicksARow() {
            const root = sheetEnv.addRoot()
            sheetEnv.addIteration(root, { version: 2 })
            const third = sheetEnv.addIteration(root, { version: 3 })
            openSheet(root)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            tryVerify(() => events.length === 2)
            compare(events, ["closed", "selected " + third])
        }

        // Tab runs round every control in the order drawn: the bar's two buttons, then the rows
        // (one stop, at the current row); the summary's figures read as texts.
        function test_tabReachesEveryControl() {
            const root = sheetEnv.addRoot()
            sheetEnv.addIteration(root, { version: 2 })
            sheetEnv.addIteration(root, { version: 3 })
            openSheet(root)
            const rows = findChild(sheet, "iterationRows")
            tryVerify(() => rows.activeFocus)
            const cancel = findChild(sheet, "cancelButton")
            const confirm = findChild(sheet, "confirmButton")
            for (let round = 0; round < 2; ++round) {
                keyClick(Qt.Key_Tab)
                verify(cancel.activeFocus)
                keyClick(Qt.Key_Tab)
                verify(confirm.activeFocus)
                keyClick(Qt.Key_Tab)
                verify(rows.activeFocus)
            }
            keyClick(Qt.Key_Backtab)
            verify(confirm.activeFocus)

            const card = findChild(sheet, "lineSummaryCard")
            const spoken = []
            for (let i = 0; i < 3; ++i) {
                const line = findChild(card, "summaryLine-" + i)
                compare(line.Accessible.role, Accessible.StaticText)
                spoken.push(line.Accessible.name)
            }
            compare(spoken[0], "Итераций: 2")
            compare(spoken[1], "Часы всего: " + sheet.model.totalHoursText)
            compare(spoken[2], "Сумма: " + sheet.model.totalCostText)

            keyClick(Qt.Key_Tab)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            tryVerify(() => events.length === 2)
        }

        function test_emptyStateCreatesOnce() {
            const root = sheetEnv.addRoot()
            openSheet(root)
            const empty = findChild(sheet, "emptyIterations")
            verify(empty.visible)
            verify(!findChild(sheet, "iterationRows").visible)
            sheetEnv.answer("POST", "projects/" + root + "/iterate", 500, '{"message":"нет"}', 0)
            mouseClick(findChild(sheet, "createFirstIteration"))
            const dialog = findChild(sheet, "newIterationDialog")
            tryVerify(() => dialog.opened)
            const field = inDialog(dialog, "iterationNameField")
            tryVerify(() => field.input.activeFocus)
            keyClick(" ")
            keyClick("A")
            mouseClick(inDialog(dialog, "dialogButton1"))
            // A failure changes nothing: the sheet stays, the name too.
            tryVerify(() => !sheet.model.isCreating, 10000)
            compare(events, [])
            compare(sheet.model.newName, " A")

            sheetEnv.reset()
            // The backend knows the iteration it answers with.
            const made = sheetEnv.addIteration(root, { version: 2 })
            sheetEnv.answer("POST", "projects/" + root + "/iterate", 201, sheetEnv.projectJson(made), 800)
            mouseClick(findChild(sheet, "createFirstIteration"))
            tryVerify(() => dialog.opened)
            mouseClick(inDialog(dialog, "dialogButton1"))
            tryVerify(() => sheet.model.isCreating)
            // While it runs neither way of asking for another is open.
            verify(!findChild(sheet, "createFirstIteration").enabled)
            verify(!findChild(sheet, "confirmButton").enabled)
            tryVerify(() => events.length === 2, 10000)
            compare(events, ["closed", "selected " + made])
            const sent = sheetEnv.bodies("POST", "projects/" + root + "/iterate")
            compare(sent.length, 1)
            compare(sent[0].iterationName, " A")
            compare(sent[0].copyBudget, false)
            compare(sent[0].items, [])
        }

        // Iterations that could not be read are told as a failure with its text, never as none;
        // the keys wait on "Повторить", which reads them again.
        function test_failureShownWithRetry_data() {
            const unread = "Ошибка разбора ответа: сервер прислал данные, которые приложение не может прочитать. "
                           + "Попробуйте позже; если ошибка повторится, обратитесь в поддержку."
            return [
                { tag: "500 with JSON", status: 500, body: '{"message":"Сервер занят"}', text: "Сервер занят" },
                { tag: "500 with HTML", status: 500, body: "<html><body>Internal Server Error</body></html>",
                  text: "Ошибка сервера (500)" },
                { tag: "truncated", status: 200, body: '[{"id":"it-1","name":"Се', text: unread },
                { tag: "wrong type", status: 200, body: '[{"id":7,"name":"v2"}]', text: unread },
                { tag: "object in place of the list", status: 200, body: '{"items":[]}', text: unread },
            ]
        }
        function test_failureShownWithRetry(data) {
            const root = sheetEnv.addRoot()
            sheetEnv.addIteration(root, { version: 2 })
            sheetEnv.answer("GET", "projects/" + root + "/iterations", data.status, data.body, 0)
            openSheet(root)
            const failure = findChild(sheet, "iterationsError")
            verify(failure.visible)
            compare(failure.description, data.text)
            verify(failure.describesError)
            verify(!findChild(sheet, "emptyIterations").visible)
            verify(!findChild(sheet, "createFirstIteration").visible)
            const retry = findChild(sheet, "retryIterations")
            tryVerify(() => retry.activeFocus)

            sheetEnv.reset()
            keyClick(Qt.Key_Space)
            tryVerify(() => findChild(sheet, "iterationRows").activeFocus, 10000)
            verify(!failure.visible)
            verify(findChild(sheet, "lineSummaryCard").visible)
            compare(findChild(row(0), "iterationTitle").text, "v2")
        }

        // A creation answered with the root is not taken in: the sheet says why, as an alert,
        // above the list read again, which shows the iteration the backend made.
        function test_creationNotTakenInReloads() {
            const root = sheetEnv.addRoot()
            openSheet(root)
            // Made, though the answer names the root.
            sheetEnv.addIteration(root, { version: 2 })
            sheetEnv.answer("POST", "projects/" + root + "/iterate", 201, sheetEnv.projectJson(root), 0)
            mouseClick(findChild(sheet, "createFirstIteration"))
            const dialog = findChild(sheet, "newIterationDialog")
            tryVerify(() => dialog.opened)
            mouseClick(inDialog(dialog, "dialogButton0"))
            tryVerify(() => !sheet.model.isCreating, 10000)
            compare(events, [])
            const notice = findChild(sheet, "creationNotice")
            const text = "Сервер не подтвердил, что итерация создана. Проверьте список итераций, прежде чем "
                         + "создавать её снова."
            verify(notice.visible)
            compare(notice.Accessible.role, Accessible.AlertMessage)
            compare(notice.Accessible.name, text)
            verify(findChild(sheet, "iterationRows").visible)
            compare(sheet.model.count, 1)
            compare(findChild(row(0), "iterationTitle").text, "v2")
            // The list lies below the notice.
            const rows = findChild(sheet, "iterationRows")
            verify(rows.mapToItem(notice, 0, 0).y >= notice.height)
        }

        function test_escapeCloses() {
            const root = sheetEnv.addRoot()
            openSheet(root)
            keyClick(Qt.Key_Escape)
            tryVerify(() => events.length === 1)
            compare(events, ["closed"])
        }
    }
}
