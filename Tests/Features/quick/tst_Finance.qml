import QtQuick
import QtTest
import Tessmark.Design
import Tessmark.Features.Finance

// The payments screens as a user drives them, on the test backend.
Item {
    id: host
    width: 900
    height: 1500

    Component {
        id: viewComponent
        ProjectFinanceView {
            anchors.fill: parent
            projectName: "Сайт студии"
            currency: "RUB"
        }
    }

    Component {
        id: sheetComponent
        ProjectFinanceSheet {
            anchors.fill: parent
            projectName: "Сайт студии"
            currency: "RUB"
        }
    }

    Component {
        id: hubComponent
        PaymentsHubView {
            anchors.fill: parent
        }
    }

    Component {
        id: bannerComponent
        ProjectFinanceBanner {
            width: 600
            currency: "RUB"
        }
    }

    // A control outside the payments screen, for the keyboard to go to.
    Component {
        id: elsewhereComponent
        TextInput {
            z: 1
            width: 200
            height: 30
            activeFocusOnTab: true
        }
    }

    // As in the window: a control the keys go to is shown.
    KeyboardFocusInView {}

    SignalSpy { id: changedSpy; signalName: "paymentsChanged" }
    SignalSpy { id: closedSpy; signalName: "closed" }
    SignalSpy { id: openSpy; signalName: "openPayments" }

    TestCase {
        id: testCase
        name: "Finance"
        when: windowShown
        visible: true

        property var projectsService: null

        function init() {
            financeBackend.reset()
            projectsService = financeBackend.projectsService()
        }

        function openView(projectId) {
            const view = createTemporaryObject(viewComponent, host,
                                               { projectId: projectId, projectsService: projectsService })
            verify(view)
            tryVerify(() => !view.finance.isLoading)
            changedSpy.target = view
            changedSpy.clear()
            return view
        }

        function typeInto(field, text) {
            mouseClick(field.input)
            field.input.selectAll()
            keyClick(Qt.Key_Backspace)
            for (const c of text)
                keyClick(c)
        }

        // Whether the history card's face lies under the item where it is drawn.
        function onHistoryCard(view, item) {
            const face = findChild(view, "historyCard")
            const at = item.mapToItem(face, 0, 0)
            return face.visible && at.x >= 0 && at.y >= 0 && at.x + item.width <= face.width
                    && at.y + item.height <= face.height
        }

        function test_history() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            financeBackend.addPayment(id, 1000, "received", "<b>аванс</b>")
            const second = financeBackend.addPayment(id, 2000, "pending", "")
            const view = openView(id)
            compare(findChild(view, "historyHeader").text, "История (2)")
            tryVerify(() => findChild(view, "paymentRow-1") !== null)
            const first = findChild(view, "paymentRow-0")
            const last = findChild(view, "paymentRow-1")
            for (const item of [findChild(view, "historyHeader"), first, last])
                tryVerify(() => onHistoryCard(view, item), 5000, item.objectName)
            verify(findChild(first, "divider").visible)
            verify(!findChild(last, "divider").visible)
            // Notes are shown as typed, never as markup.
            const note = findChild(first, "paymentNote")
            compare(note.text, "<b>аванс</b>")
            compare(note.textFormat, Text.PlainText)
            verify(!findChild(last, "paymentNote").visible)

            // A status press re-states the payment and tells the owner.
            mouseClick(findChild(findChild(last, "rowStatus"), "segment1"))
            tryCompare(changedSpy, "count", 1)
            compare(financeBackend.requestCount("PATCH", "projects/payments/" + second), 1)

            // Deleting the first payment leaves one, without a divider.
            mouseClick(findChild(first, "deleteButton"))
            tryCompare(changedSpy, "count", 2)
            tryCompare(findChild(view, "historyHeader"), "text", "История (1)")
            tryVerify(() => !findChild(findChild(view, "paymentRow-0"), "divider").visible)

            // A reload that fails empties the history and says why.
            financeBackend.fail("GET", "projects/" + id + "/payments", 500, "Сервис недоступен", 0)
            mouseClick(findChild(view, "refreshButton"))
            tryCompare(findChild(view, "historyHeader"), "text", "История (0)")
            compare(findChild(view, "financeScroll").count, 0)
            tryVerify(() => findChild(view, "historyEmpty").visible)
            const error = findChild(view, "errorLine")
            tryCompare(error, "text", "Сервис недоступен")
            verify(error.visible)
        }

        function test_returnAddsOnce() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const view = openView(id)
            verify(findChild(view, "historyEmpty").visible)
            tryVerify(() => onHistoryCard(view, findChild(view, "historyEmpty")))
            const button = findChild(view, "addPaymentButton")
            verify(!button.enabled)
            const amount = findChild(view, "amountField")
            typeInto(amount, "1,5")
            verify(button.enabled)
            const path = "projects/" + id + "/payments"
            keyClick(Qt.Key_Return)
            keyClick(Qt.Key_Return)
            tryCompare(changedSpy, "count", 1)
            compare(financeBackend.requestCount("POST", path), 1)
            compare(amount.text, "")
            compare(findChild(view, "historyHeader").text, "История (1)")

            // With the amount empty, Return sends nothing.
            keyClick(Qt.Key_Return)
            wait(50)
            compare(financeBackend.requestCount("POST", path), 1)
        }

        function textsOf(item) {
            let texts = item.text !== undefined ? [String(item.text)] : []
            for (let i = 0; item.children && i < item.children.length; ++i)
                texts = texts.concat(textsOf(item.children[i]))
            return texts
        }

        function test_amountsThatWouldChangeOnTheirWay() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const view = openView(id)
            const button = findChild(view, "addPaymentButton")
            const amount = findChild(view, "amountField")
            const path = "projects/" + id + "/payments"

            // More digits than a double holds: unreadable, so nothing can be sent.
            for (const text of ["12345678901234567890", "9007199254740993", "0,1234567890123456"]) {
                typeInto(amount, text)
                verify(!button.enabled, text)
                keyClick(Qt.Key_Return)
                wait(50)
                compare(financeBackend.requestCount("POST", path), 0, text)
            }

            // "-0" is zero, and the new payment shows without a sign.
            typeInto(amount, "-0")
            verify(button.enabled)
            mouseClick(button)
            tryCompare(changedSpy, "count", 1)
            compare(financeBackend.requestCount("POST", path), 1)
            tryVerify(() => findChild(view, "paymentRow-0") !== null)
            const shown = textsOf(findChild(view, "paymentRow-0")).filter(text => text.indexOf("₽") >= 0)
            compare(shown, ["0\u00a0₽"])
        }

        // A thousand payments: the history makes the rows in sight alone, reuses them as it
        // scrolls, Tab walks them in the payments' order, and an add leaves the rows shown as
        // they are.
        function test_thousandPaymentsMakeTheRowsInSight() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const ids = []
            for (let i = 0; i < 1000; ++i)
                ids.push(financeBackend.addPayment(id, 1000 + i, "pending", i % 2 ? "Аванс" : ""))
            const view = openView(id)
            compare(findChild(view, "historyHeader").text, "История (1000)")
            const list = findChild(view, "financeScroll")
            const made = () => Array.from(list.contentItem.children).filter(c => c.objectName.startsWith("paymentRow-")).length
            verify(made() > 0 && made() < 40, made())

            // The add reloads the history: the rows shown stay the same items, one more joins.
            typeInto(findChild(view, "amountField"), "500")
            // The rows come in once the list has laid them out, later on a busy machine.
            tryVerify(() => list.itemAtIndex(1) !== null)
            const shown = list.itemAtIndex(1)
            mouseClick(findChild(view, "addPaymentButton"))
            tryCompare(changedSpy, "count", 1)
            compare(findChild(view, "historyHeader").text, "История (1001)")
            compare(list.itemAtIndex(1), shown)
            compare(shown.paymentId, ids[1])

            // From the form by keys down the rows, in the payments' order.
            mouseClick(findChild(view, "noteField").input)
            for (let row = 0; row < 30; ++row) {
                keyClick(Qt.Key_Tab)
                const entry = view.rowHolding(view.Window.activeFocusItem)
                verify(entry !== null && entry.paymentId === ids[row], row)
                keyClick(Qt.Key_Tab)
                compare(view.Window.activeFocusItem, entry.deleteButton)
            }
            keyClick(Qt.Key_Backtab)
            keyClick(Qt.Key_Backtab)
            compare(view.rowHolding(view.Window.activeFocusItem).paymentId, ids[28])

            // Far down by the wheel, then to the end: still a screen's worth of rows.
            const before = list.contentY
            for (let i = 0; i < 20; ++i)
                mouseWheel(list, list.width / 2, list.height / 2, 0, -1200)
            tryVerify(() => !list.moving)
            verify(list.contentY > before + list.height)
            verify(made() < 40, made())
            list.positionViewAtEnd()
            let last = null
            tryVerify(() => (last = list.itemAtIndex(1000)) !== null)
            verify(!findChild(last, "divider").visible)
            verify(made() < 40, made())
        }

        // Home, End, Page Up and Page Down in a long history take the keys to the first payment,
        // the last, or the one a page away, at its status with its ring, and show it whole.
        function test_historyPagingKeys_data() {
            return [
                { tag: "End", keys: [Qt.Key_End], expect: "last" },
                { tag: "End from the delete button", keys: [Qt.Key_Tab, Qt.Key_End], expect: "last" },
                { tag: "Home after End", keys: [Qt.Key_End, Qt.Key_Home], expect: "first" },
                { tag: "Page Down", keys: [Qt.Key_PageDown], expect: "down" },
                { tag: "Page Down twice", keys: [Qt.Key_PageDown, Qt.Key_PageDown], expect: "down" },
                { tag: "Page Up after End", keys: [Qt.Key_End, Qt.Key_PageUp], expect: "up" },
                { tag: "Page Down at the end", keys: [Qt.Key_End, Qt.Key_PageDown], expect: "last" },
                { tag: "Page Up at the start", keys: [Qt.Key_PageUp], expect: "first" },
            ]
        }
        function test_historyPagingKeys(data) {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const count = 300
            for (let i = 0; i < count; ++i)
                financeBackend.addPayment(id, 1000 + i, "pending", i % 3 ? "" : "Аванс")
            const view = openView(id)
            const list = findChild(view, "financeScroll")
            // Into the history from the form, at the first payment.
            mouseClick(findChild(view, "noteField").input)
            keyClick(Qt.Key_Tab)
            compare(view.rowHolding(view.Window.activeFocusItem).index, 0)
            let before = 0
            for (const key of data.keys) {
                const entry = view.rowHolding(view.Window.activeFocusItem)
                before = entry ? entry.index : -1
                keyClick(key)
            }
            const entry = view.rowHolding(view.Window.activeFocusItem)
            verify(entry !== null)
            const at = entry.index
            compare(view.Window.activeFocusItem, entry.statusStop())
            verify(entry.statusStop().visualFocus)
            // The control shown whole, once the rows on the way have their heights.
            const stop = entry.statusStop()
            const shown = () => {
                const box = stop.mapToItem(list, 0, 0)
                return box.y >= 0 && box.y + stop.height <= list.height
            }
            tryVerify(shown, 5000, "the status of row " + at + " is out of view")
            if (data.expect === "first" || data.expect === "last") {
                compare(at, data.expect === "first" ? 0 : count - 1)
                return
            }
            // A page: further than the next row, which is not wholly in view.
            const step = data.expect === "down" ? 1 : -1
            verify(data.expect === "down" ? at > before + 1 : at < before - 1, before + " -> " + at)
            const next = list.itemAtIndex(at + step)
            const top = next === null ? -1 : next.mapToItem(list, 0, 0).y
            verify(top < 0 || top + next.height > list.height, "row " + (at + step) + " at " + top)
        }

        // After a delete or a status change, done by keys or by a click, the keyboard stands on the
        // payment beside the deleted one (the next, else the one before, else the amount) or on the
        // same payment's status, with its ring after keys only.
        function test_keyboardKeepsItsPlace_data() {
            return [
                { tag: "delete by keys", count: 3, row: 1, status: false, byKeys: true, next: 2 },
                { tag: "delete last by click", count: 3, row: 2, status: false, byKeys: false, next: 1 },
                { tag: "delete only by keys", count: 1, row: 0, status: false, byKeys: true, next: -1 },
                { tag: "status by keys", count: 2, row: 1, status: true, byKeys: true, next: 1 },
                { tag: "status by click", count: 2, row: 0, status: true, byKeys: false, next: 0 },
                { tag: "status refused by keys", count: 2, row: 0, status: true, byKeys: true, next: 0, refused: true },
            ]
        }
        function test_keyboardKeepsItsPlace(data) {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const ids = []
            for (let i = 0; i < data.count; ++i)
                ids.push(financeBackend.addPayment(id, 1000 * (i + 1), "pending", ""))
            if (data.refused)
                financeBackend.fail("PATCH", "projects/payments/" + ids[data.row], 500, "Сбой", 0)
            const view = openView(id)
            let row = null
            tryVerify(() => (row = findChild(view, "paymentRow-" + data.row)) !== null)
            const statusOf = entry => findChild(entry, "rowStatus")
            const target = data.status ? findChild(statusOf(row), "segment0") : findChild(row, "deleteButton")
            if (data.byKeys) {
                mouseClick(findChild(view, "amountField").input)
                for (let i = 0; i < 40 && !target.activeFocus; ++i)
                    keyClick(Qt.Key_Tab)
                verify(target.activeFocus)
                keyClick(data.status ? Qt.Key_Right : Qt.Key_Space)
            } else {
                mouseClick(data.status ? findChild(statusOf(row), "segment1") : target)
            }
            tryCompare(changedSpy, "count", 1)
            tryVerify(() => !view.finance.isLoading)
            if (data.next < 0) {
                const amount = findChild(view, "amountField").input
                tryVerify(() => amount.activeFocus)
                return
            }
            let shown = null
            for (let i = 0; i < view.finance.payments.count && shown === null; ++i) {
                const entry = findChild(view, "paymentRow-" + i)
                if (entry && entry.paymentId === ids[data.next])
                    shown = entry
            }
            verify(shown)
            // A refused change puts the picker back to the stored status.
            const expected = data.status ? findChild(statusOf(shown), data.refused ? "segment0" : "segment1")
                                         : findChild(shown, "deleteButton")
            tryVerify(() => expected.activeFocus)
            compare(expected.visualFocus, data.byKeys)
            compare(view.Window.activeFocusItem, expected)
            // The status stays one Tab stop, at the chosen segment.
            for (let i = 0; data.status && i < 3; ++i) {
                const segment = findChild(statusOf(shown), "segment" + i)
                compare(segment.activeFocusOnTab, segment === expected, segment.objectName)
            }
        }

        // A refresh (F5) with the keyboard in a payment's row hides the cards while the history
        // reloads, and no hidden control keeps the keyboard meanwhile; it comes back to the same
        // control of that payment (or of the form), with its ring, unless the person went
        // elsewhere meanwhile or the screen is gone.
        function test_refreshKeepsTheKeyboard_data() {
            return [
                { tag: "status", row: 1, place: "status" },
                { tag: "delete of the last", row: 2, place: "delete" },
                { tag: "amount", row: 0, place: "amount" },
                { tag: "elsewhere meanwhile", row: 1, place: "status", elsewhere: true },
                { tag: "screen gone", row: 0, place: "delete", gone: true },
            ]
        }
        function test_refreshKeepsTheKeyboard(data) {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const ids = []
            for (let i = 0; i < 3; ++i)
                ids.push(financeBackend.addPayment(id, 1000 * (i + 1), "pending", ""))
            const view = openView(id)
            const other = createTemporaryObject(elsewhereComponent, host, { y: host.height - 40 })
            let row = null
            tryVerify(() => (row = findChild(view, "paymentRow-" + data.row)) !== null)
            const control = () => data.place === "status" ? findChild(findChild(row, "rowStatus"), "segment0")
                                : data.place === "delete" ? findChild(row, "deleteButton")
                                : findChild(view, "amountField").input
            mouseClick(findChild(view, "amountField").input)
            for (let i = 0; i < 40 && !control().activeFocus; ++i)
                keyClick(Qt.Key_Tab)
            verify(control().activeFocus)
            const path = "projects/" + id + "/payments"
            financeBackend.hold("GET", path)
            keyClick(Qt.Key_F5)
            tryVerify(() => financeBackend.requestCount("GET", path) === 2)
            verify(view.finance.isLoading)
            const waiting = view.Window.activeFocusItem
            verify(waiting === null || waiting.visible, String(waiting))
            if (data.gone) {
                view.destroy()
                tryVerify(() => findChild(host, "projectFinanceView") === null)
                financeBackend.release()
                wait(500) // the answer lands on nothing
                return
            }
            if (data.elsewhere) {
                mouseClick(other)
                verify(other.activeFocus)
            }
            financeBackend.release()
            tryVerify(() => !view.finance.isLoading)
            tryVerify(() => (row = findChild(view, "paymentRow-" + data.row)) !== null && row.visible)
            compare(row.paymentId, ids[data.row])
            if (data.elsewhere) {
                wait(50)
                verify(other.activeFocus)
                return
            }
            tryVerify(() => control().activeFocus)
            if (data.place !== "amount")
                verify(control().visualFocus)
            compare(view.Window.activeFocusItem, control())
        }

        // A refresh begun in the same turn as the end of the one before (F5 pressed twice, a busy
        // machine) still gives the amount its keys back at the end of the second.
        function test_refreshRightAfterARefreshKeepsTheKeyboard() {
            const view = openView(financeBackend.addProject({ name: "Сайт студии" }))
            const amount = findChild(view, "amountField").input
            mouseClick(amount)
            let again = true
            const refreshAgain = () => {
                if (again && !view.finance.isLoading) {
                    again = false
                    view.reload()
                }
            }
            view.finance.isLoadingChanged.connect(refreshAgain)
            keyClick(Qt.Key_F5)
            tryVerify(() => !again && !view.finance.isLoading)
            view.finance.isLoadingChanged.disconnect(refreshAgain)
            tryVerify(() => amount.activeFocus)
        }

        // A delete answered after its screen is gone reloads nothing and moves no focus.
        function test_lateDeleteChangesNothing() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const paymentId = financeBackend.addPayment(id, 500, "pending", "")
            const view = openView(id)
            financeBackend.fail("DELETE", "projects/payments/" + paymentId, 200, "", 0)
            financeBackend.hold("DELETE", "projects/payments/" + paymentId)
            tryVerify(() => findChild(view, "paymentRow-0") !== null)
            mouseClick(findChild(findChild(view, "paymentRow-0"), "deleteButton"))
            tryVerify(() => financeBackend.requestCount("DELETE", "projects/payments/" + paymentId) === 1)
            view.destroy()
            tryVerify(() => findChild(host, "projectFinanceView") === null)
            financeBackend.release()
            wait(500) // the answer lands on nothing
            compare(financeBackend.requestCount("GET", "projects/" + id + "/payments"), 1)
        }

        function test_failedDeleteSaysSoAtOnce() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            const paymentId = financeBackend.addPayment(id, 500, "pending", "")
            const view = openView(id)
            financeBackend.fail("DELETE", "projects/payments/" + paymentId, 500, "Нельзя удалить", 0)
            tryVerify(() => findChild(view, "paymentRow-0") !== null)
            mouseClick(findChild(findChild(view, "paymentRow-0"), "deleteButton"))
            const error = findChild(view, "errorLine")
            tryCompare(error, "text", "Нельзя удалить")
            verify(error.visible)
            compare(error.textFormat, Text.PlainText)
            compare(changedSpy.count, 0)
            compare(findChild(view, "historyHeader").text, "История (1)")
        }

        function test_sheetClosesWithoutWaiting() {
            const id = financeBackend.addProject({ name: "Сайт студии" })
            financeBackend.fail("GET", "projects/" + id + "/payments", 500, "медленно", 0)
            financeBackend.hold("GET", "projects/" + id + "/payments")
            const sheet = createTemporaryObject(sheetComponent, host,
                                                { projectId: id, projectsService: projectsService })
            closedSpy.target = sheet
            closedSpy.clear()
            sheet.open()
            const frame = findChild(sheet, "financeSheet")
            tryVerify(() => frame.opened)
            const body = findChild(sheet, "sheetBody")
            const bar = body.parent
            compare(findChild(bar, "sheetSubtitle").text, "Сайт студии")
            verify(findChild(bar, "sheetRefreshButton") !== null)
            verify(!findChild(body, "financeHeader").visible)
            verify(frame.minimumWidth >= 480 && frame.minimumHeight >= 560)
            mouseClick(findChild(bar, "cancelButton"))
            tryCompare(closedSpy, "count", 1)
            verify(!frame.opened)
            sheet.destroy()
            tryVerify(() => findChild(host, "financeSheet") === null)
            financeBackend.release()
            wait(500) // the slow answer lands on nothing
        }

        function test_hub() {
            const alpha = financeBackend.addProject({ name: "Альфа", projectType: "iterative" })
            financeBackend.addProject({ name: "Запуск", parentProjectId: alpha, version: 1, iterationName: "Запуск" })
            financeBackend.addProject({ name: "Бета" })
            const hub = createTemporaryObject(hubComponent, host, { projectsService: projectsService })
            const list = findChild(hub, "hubList")
            tryCompare(list, "count", 3)
            let row = null
            tryVerify(() => (row = findChild(hub, "hubRow-1")) !== null)
            compare(row.title, "  Запуск")
            mouseClick(row)
            compare(hub.selectedProjectId, row.projectId)
            verify(findChild(row, "checkMark").visible)
            mouseClick(row)
            compare(hub.selectedProjectId, row.projectId)

            // The owner moves the selection: the check mark follows.
            hub.selectedProjectId = alpha
            verify(!findChild(row, "checkMark").visible)
            verify(findChild(findChild(hub, "hubRow-0"), "checkMark").visible)

            const search = findChild(hub, "hubSearch")
            search.text = "  БЕТ\t"
            tryCompare(list, "count", 1)
            search.text = "бетааа"
            tryCompare(list, "count", 0)
            verify(list.visible)
            verify(!findChild(hub, "hubEmpty").visible)
        }

        function test_hubEmpty() {
            const hub = createTemporaryObject(hubComponent, host, { projectsService: projectsService })
            tryVerify(() => findChild(hub, "hubEmpty").visible)
            compare(findChild(hub, "hubEmpty").title, "Нет проектов")
        }

        function test_banner() {
            const banner = createTemporaryObject(bannerComponent, host, { isLoading: true })
            openSpy.target = banner
            openSpy.clear()
            verify(findChild(banner, "bannerSpinner").visible)
            verify(!findChild(banner, "bannerMetrics").visible)
            const button = findChild(banner, "openPaymentsButton")
            verify(button.enabled)
            mouseClick(button)
            compare(openSpy.count, 1)
            banner.isLoading = false
            verify(findChild(banner, "bannerMetrics").visible)
            verify(!findChild(banner, "deltaMetric").visible)
            compare(findChild(banner, "paidFill").width, 0)
        }
    }
}
