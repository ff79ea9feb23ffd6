import QtQuick
import QtQuick.Controls
import QtTest
import Tessmark.Design
import Tessmark.Features.Analytics

// The dashboard's flow on the test backend: its three states, the warning, the scope, the
// table's selection and menu, the column by width, and a page that leaves mid-load.
TestCase {
    id: testCase
    name: "AnalyticsDashboard"
    width: 1200
    height: 900
    visible: true
    when: windowShown

    Component {
        id: hostComponent
        AdaptiveMetricsReader {
            id: host
            width: 1200
            height: 900
            property analyticsProjectRow selection
            property var events: []
            property bool shown: true
            Loader {
                anchors.fill: parent
                active: host.shown
                sourceComponent: AnalyticsPlaceholderView {
                    projectsService: analyticsBackend.projectsService
                    selectedRow: host.selection
                    onRowSelected: row => {
                        host.events.push("select " + row.id)
                        host.selection = row
                    }
                    onOpenFinance: projectId => host.events.push("open " + projectId)
                }
            }
        }
    }

    Component {
        id: detailComponent
        AnalyticsDetailPanelView {
            width: 400
            height: 600
        }
    }

    function init() {
        analyticsBackend.reset()
    }

    function open(properties) {
        const host = createTemporaryObject(hostComponent, testCase, properties || {})
        verify(host)
        return host
    }
    function item(host, name) {
        const found = findChild(host, name)
        verify(found, name)
        return found
    }
    function model(host) {
        return item(host, "analyticsDashboard").model
    }
    function waitLoaded(host) {
        tryVerify(() => !model(host).isLoading, 5000)
    }
    // The page settles after a load (charts and names take their sizes a frame later): brings
    // the item into view again until it stands still there.
    function settleInView(host, place) {
        const flick = item(host, "analyticsScroll")
        let last = null
        tryVerify(() => {
            const target = place()
            const at = target.mapToItem(flick, 0, 0)
            const shown = at.y >= 0 && at.y + target.height <= flick.height
            const still = last !== null && last.target === target && last.y === at.y
            last = { target: target, y: at.y }
            return shown && still
        }, 3000)
        return last.target
    }
    // The table's card of the project, made and brought into view: the page makes only the cards
    // near the view.
    function rowCard(host, projectId) {
        const list = item(host, "analyticsScroll")
        const rows = model(host)
        let at = -1
        for (let i = 0; i < rows.count; ++i) {
            if (rows.rowAt(i).id === projectId)
                at = i
        }
        verify(at >= 0, "no row of " + projectId)
        const card = settleInView(host, () => {
            list.positionViewAtIndex(at, ListView.Contain)
            return list.itemAtIndex(at)
        })
        compare(card.objectName, "analyticsRow-" + projectId)
        return card
    }
    // Scrolls the page until the item stands still inside the window.
    function reveal(host, name) {
        const flick = item(host, "analyticsScroll")
        return settleInView(host, () => {
            const target = item(host, name)
            const y = target.mapToItem(flick.contentItem, 0, 0).y
            const top = flick.originY - flick.topMargin
            const bottom = Math.max(top, flick.originY + flick.contentHeight + flick.bottomMargin - flick.height)
            flick.contentY = Math.max(top, Math.min(y - 40, bottom))
            return target
        })
    }

    function test_loadingThenContent() {
        analyticsBackend.addProject("Сайт", 1000)
        analyticsBackend.delayProjects(400)
        const host = open()
        const loading = item(host, "analyticsLoading")
        verify(loading.visible)
        verify(loading.height >= 200)
        verify(!item(host, "analyticsEmpty").visible)
        verify(!item(host, "analyticsContent").visible)
        waitLoaded(host)
        verify(!loading.visible)
        verify(item(host, "analyticsContent").visible)
    }

    function test_empty() {
        const host = open()
        waitLoaded(host)
        verify(item(host, "analyticsEmpty").visible)
        verify(!item(host, "analyticsContent").visible)
        verify(!item(host, "analyticsScope").visible)
    }

    // Every analytics request fails and no payment exists: no warning, the empty state.
    function test_totalFailureWithoutPaymentsIsEmpty() {
        analyticsBackend.failAnalytics(analyticsBackend.addProject("Сайт", 1000))
        const host = open()
        waitLoaded(host)
        verify(model(host).hasLoadWarning)
        verify(item(host, "analyticsEmpty").visible)
        verify(!item(host, "analyticsWarning").visible)
    }

    function test_contentInTwoCurrencies() {
        const rub = analyticsBackend.addProject("Сайт", 3000, 1000)
        const usd = analyticsBackend.addProject("App", 500, 0, "USD")
        analyticsBackend.addPayment(rub, 700, "received")
        analyticsBackend.addPayment(usd, 100, "received", "USD")
        analyticsBackend.addPayment(usd, 50, "pending", "USD")
        const host = open()
        waitLoaded(host)
        verify(item(host, "analyticsContent").visible)
        verify(!item(host, "analyticsWarning").visible)
        verify(item(host, "analyticsCharts").visible)
        const kpi = item(host, "kpiGrid")
        compare(kpi.children[0].value, "2")
        compare(kpi.children[1].value, analyticsBackend.money(3000, "RUB") + "\n" + analyticsBackend.money(500, "USD"))
        // Each card reads its figure after its title: amounts of every currency, then the sums.
        compare(kpi.children[1].Accessible.name, "План")
        compare(kpi.children[1].Accessible.description,
                analyticsBackend.money(3000, "RUB") + ", " + analyticsBackend.money(500, "USD"))
        const payments = item(host, "paymentsGrid")
        compare(payments.children[0].value, "3")
        compare(payments.children[1].Accessible.description,
                "2, " + analyticsBackend.money(700, "RUB") + " · " + analyticsBackend.money(100, "USD"))
        compare(payments.children[1].subtitle,
                analyticsBackend.money(700, "RUB") + " · " + analyticsBackend.money(100, "USD"))
        // "Просрочено": the pending payment's date is long past.
        compare(payments.children[3].value, "1")
        compare(item(host, "analyticsTableTitle").text, "Все сметы")
        // Largest planned first, outlined as the window's selection.
        const first = rowCard(host, rub)
        verify(findChild(first, "selectionBorder").visible)
        verify(!findChild(rowCard(host, usd), "selectionBorder").visible)
        compare(host.selection.id, rub)

        // The charts say what they show to assistive technology.
        const bars = item(host, "barChart")
        for (const name of ["Проект", "Сумма", "Метрика"])
            verify(bars.Accessible.description.indexOf(name) >= 0, name)
        const statuses = item(host, "statusChart")
        for (const name of ["Статус", "Кол-во"])
            verify(statuses.Accessible.description.indexOf(name) >= 0, name)
        // The value axis is written as money; each group's name stands below it in full.
        compare(bars.axisY(bars.series(0)).categoriesLabels, model(host).barAxisTickLabels)
        compare(findChild(bars.parent, "barLabel-0").text, "Сайт")
    }

    function test_partialFailureWarns() {
        analyticsBackend.addProject("A", 100)
        analyticsBackend.failAnalytics(analyticsBackend.addProject("B", 200))
        analyticsBackend.addProject("C", 300)
        const host = open()
        waitLoaded(host)
        const warning = item(host, "analyticsWarning")
        verify(warning.visible)
        verify(item(host, "analyticsScope").visible)
        compare(model(host).loadWarning, "Часть смет не загрузилась (1 из 3).")
    }

    // "Корневые": stored, loading again, the iteration leaves the table. The clicked choice keeps
    // the keyboard once the page shows again (not the table's first card), without a ring.
    function test_scopeChange() {
        const root = analyticsBackend.addProject("Сайт", 1000)
        const iteration = analyticsBackend.addProject("Спринт", 500, 0, "RUB", root, "Май")
        const host = open()
        waitLoaded(host)
        verify(rowCard(host, iteration))
        const roots = reveal(host, "segment0")
        mouseClick(roots)
        compare(analyticsBackend.preference("analytics.scope"), "roots")
        verify(item(host, "analyticsLoading").visible)
        waitLoaded(host)
        tryVerify(() => roots.activeFocus)
        verify(!roots.visualFocus)
        compare(item(host, "analyticsTableTitle").text, "Корневые проекты")
        tryVerify(() => findChild(host, "analyticsRow-" + iteration) === null)
        compare(model(host).count, 1)
        mouseClick(reveal(host, "segment1"))
        compare(analyticsBackend.preference("analytics.scope"), "allEstimates")
        waitLoaded(host)
        compare(item(host, "analyticsTableTitle").text, "Все сметы")
    }

    // A pressed card becomes the window's selection, which the detail panel shows.
    function test_rowSelectionReachesTheDetail() {
        const root = analyticsBackend.addProject("Сайт", 1000)
        const iteration = analyticsBackend.addProject("Спринт", 500, 250, "RUB", root, "Май")
        const host = open()
        waitLoaded(host)
        compare(host.selection.id, root)
        const card = rowCard(host, iteration)
        compare(findChild(card, "rowTitle").text, "Май · Спринт")
        compare(findChild(card, "rowSecondLine").text, "Сайт")
        mouseClick(rowCard(host, iteration))
        compare(host.selection.id, iteration)
        verify(findChild(rowCard(host, iteration), "selectionBorder").visible)
        verify(!findChild(rowCard(host, root), "selectionBorder").visible)

        const detail = createTemporaryObject(detailComponent, testCase, { row: host.selection })
        compare(findChild(detail, "analyticsDetailTitle").text, "Май · Спринт")
        compare(findChild(detail, "analyticsDetailSecondLine").text, "Сайт")
        compare(findChild(detail, "remainingRow").value, analyticsBackend.money(500, "RUB"))
        compare(findChild(detail, "hoursRow").value, "2.0 ч")
        // Each line of figures is one text to a reader: its title and its figure.
        compare(findChild(detail, "remainingRow").Accessible.role, Accessible.StaticText)
        compare(findChild(detail, "remainingRow").Accessible.name, "К оплате: " + analyticsBackend.money(500, "RUB"))
        compare(findChild(detail, "hoursRow").Accessible.name, "Часы (план): 2.0 ч")
    }

    // The menu's "Платежи" selects its card first, then asks for the payments.
    function test_contextMenuSelectsThenOpensPayments() {
        const first = analyticsBackend.addProject("Сайт", 1000)
        const second = analyticsBackend.addProject("App", 500)
        const host = open()
        waitLoaded(host)
        const card = rowCard(host, second)
        host.events = []
        mouseClick(card, card.width / 2, card.height / 2, Qt.RightButton)
        const menu = item(host, "analyticsRowMenu")
        tryVerify(() => menu.opened)
        mouseClick(item(host, "analyticsRowPayments"))
        tryCompare(host.events, "length", 2)
        compare(host.events, ["select " + second, "open " + second])
        compare(host.selection.id, second)
    }

    // The page takes the whole width it is given, between its margins, at every width: the
    // charts and the cards use the room of a wide window.
    function test_columnByWidth_data() {
        return [
            { tag: "500", width: 500, padding: 20, chart: 240 },
            { tag: "700", width: 700, padding: 28, chart: 280 },
            { tag: "1200", width: 1200, padding: 28, chart: 280 },
            { tag: "1900", width: 1900, padding: 28, chart: 280 },
        ]
    }
    function test_columnByWidth(data) {
        analyticsBackend.addProject("Сайт", 1000)
        const host = open({ width: data.width, horizontalSizeClass: SizeClass.Regular })
        waitLoaded(host)
        const column = item(host, "analyticsColumn")
        const available = item(host, "analyticsScroll").width
        compare(column.width, available)
        compare(column.x, 0)
        compare(column.padding, data.padding)
        // Cards share the column's width, each at least 140 wide; the charts take all of it.
        const kpi = item(host, "kpiGrid")
        tryCompare(kpi, "width", column.width - 2 * data.padding)
        tryVerify(() => item(host, "barChart").width >= column.width - 2 * data.padding - 2 * 12 - 1)
        for (let i = 0; i < kpi.children.length; ++i)
            tryVerify(() => kpi.children[i].width >= 140, 1000, "card " + i + " is " + kpi.children[i].width + " wide")
        compare(item(host, "barChart").height, data.chart)
        compare(item(host, "statusChart").height, 200)
    }

    // A page that leaves while its load runs: nothing reaches the window afterwards.
    function test_pageGoneMidLoadTouchesNothing() {
        const id = analyticsBackend.addProject("Сайт", 1000)
        analyticsBackend.holdAnalytics(id)
        const host = open()
        tryVerify(() => analyticsBackend.analyticsRequests(id) === 1)
        host.shown = false
        tryVerify(() => findChild(host, "analyticsDashboard") === null)
        analyticsBackend.release()
        wait(600)
        compare(host.events, [])
        verify(!host.selection.isValid)
    }

    // The wheel over a chart scrolls the page, as it does anywhere else on it.
    function test_wheelOverChartScrollsThePage_data() {
        return [{ tag: "bars", chart: "barChart" }, { tag: "statuses", chart: "statusChart" }]
    }
    function test_wheelOverChartScrollsThePage(data) {
        for (let i = 0; i < 12; ++i)
            analyticsBackend.addProject("Проект " + i, 1000 + i)
        const host = open()
        waitLoaded(host)
        const chart = reveal(host, data.chart)
        const flick = item(host, "analyticsScroll")
        const before = flick.contentY
        mouseMove(chart, chart.width / 2, chart.height / 2)
        mouseWheel(chart, chart.width / 2, chart.height / 2, 0, -120)
        tryVerify(() => flick.contentY > before, 2000, "the page stayed at " + before)
    }

    // Drags the page's scroll bar by its handle to the end of its track: the page goes down with
    // every move, as far as the bar shows, to its end; the table's last card comes in sight.
    function dragBarToEnd(host) {
        const list = item(host, "analyticsScroll")
        const bar = list.ScrollBar.vertical
        const x = bar.width / 2
        mouseMove(bar, x, bar.height / 2)
        const from = bar.contentItem.y + bar.contentItem.height / 2
        // On past the track's end, as a hand does.
        const to = bar.height + 20
        mousePress(bar, x, from)
        let lastY = list.contentY
        for (let step = 1; step <= 20; ++step) {
            mouseMove(bar, x, from + (to - from) * step / 20, -1, Qt.LeftButton)
            waitForRendering(list)
            verify(list.contentY > lastY || list.atYEnd, "step " + step + ": the page stood at " + list.contentY)
            verify(Math.abs(list.visibleArea.yPosition - bar.position) < 0.05,
                   "step " + step + ": the page at " + list.visibleArea.yPosition + ", the bar at " + bar.position)
            lastY = list.contentY
        }
        mouseRelease(bar, x, to)
        let last = null
        tryVerify(() => (last = list.itemAtIndex(list.count - 1)) !== null && inView(list, last), 2000)
        return last
    }
    function inView(list, card) {
        const at = card.mapToItem(list, 0, 0)
        return at.y >= 0 && at.y + card.height <= list.height
    }

    // Many estimates: the table makes only the cards in sight, the scroll bar dragged by hand
    // carries the page down to the last card, following the hand all the way, and Tab walks the
    // cards in the table's order; the keys of a card scrolled away wait on the list and come back
    // to it.
    function test_manyEstimatesMakeTheRowsInSight() {
        const ids = []
        for (let i = 0; i < 200; ++i) {
            // Roots and iterations, so that cards of one line and of two stand mixed.
            const parent = i % 2 === 1 ? ids[0] : ""
            ids.push(analyticsBackend.addProject("Проект " + i, 100000 - i * 10, 0, "RUB", parent, "Этап"))
        }
        const host = open()
        tryVerify(() => !model(host).isLoading, 60000)
        compare(model(host).count, ids.length)
        const list = item(host, "analyticsScroll")
        const made = () => Array.from(list.contentItem.children).filter(c => c.objectName.startsWith("analyticsRow-")).length
        verify(made() > 0 && made() < 40, made())

        // From the top of the page down to the end by the bar.
        compare(dragBarToEnd(host).objectName, "analyticsRow-" + ids[ids.length - 1])
        verify(made() < 40, made())

        // From the scope switch by Tab down the cards, each brought into view.
        const scope = reveal(host, "segment1")
        scope.forceActiveFocus(Qt.TabFocusReason)
        let row = 0
        for (let i = 0; i < 60 && row < 25; ++i) {
            keyClick(Qt.Key_Tab)
            const focused = testCase.Window.activeFocusItem
            if (!focused.objectName.startsWith("analyticsRow-"))
                continue
            compare(focused.objectName, "analyticsRow-" + ids[row])
            tryVerify(() => inView(list, focused), 1000, "card " + row + " out of view")
            ++row
        }
        compare(row, 25)
        verify(made() < 40, made())
        const keysOn = testCase.Window.activeFocusItem.objectName

        // Away from the keys' card: they wait on the list, which stays where the hand left it;
        // Tab shows their card again.
        const last = dragBarToEnd(host)
        wait(100)
        verify(inView(list, last))
        compare(testCase.Window.activeFocusItem, list)
        keyClick(Qt.Key_Tab)
        const back = testCase.Window.activeFocusItem
        compare(back.objectName, keysOn)
        tryVerify(() => inView(list, back), 1000)
        verify(made() < 40, made())
    }
}
