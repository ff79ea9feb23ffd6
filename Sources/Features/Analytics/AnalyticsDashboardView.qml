import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtCharts
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Analytics

// The analytics page: money of the chosen estimates, every payment by status, the bar chart and
// the donut of statuses, and the table whose chosen card the detail column shows.
// Not a bound component file: Qt 6.4 creates a list's header outside its creation context.
Item {
    id: dashboard
    objectName: "analyticsDashboard"

    required property ProjectsService projectsService
    // The window's selection; the page hands over every new one through rowSelected.
    required property analyticsProjectRow selectedRow
    signal rowSelected(analyticsProjectRow row)
    signal openFinance(string projectId)

    readonly property AnalyticsDashboardModel model: dashboardModel
    readonly property real chartHeight: dashboard.AdaptiveMetrics.isCompact ? 240 : 280
    // The page's margins. Its column takes the whole width between them, so that the charts and
    // the cards use all the room the window gives the section.
    readonly property real padding: dashboard.AdaptiveMetrics.placeholderPadding

    AnalyticsDashboardModel {
        id: dashboardModel
        projectsService: dashboard.projectsService
        selectedRow: dashboard.selectedRow
        onSelectedRowChanged: dashboard.rowSelected(dashboardModel.selectedRow)
    }
    Component.onCompleted: dashboardModel.refresh()

    Shortcut {
        sequences: [StandardKey.Refresh]
        onActivated: dashboard.reload()
    }

    // A reload hides the page's content and makes the table's cards anew: the keyboard on the
    // scope switch or on a card waits on the page meanwhile (where the table cannot hand it to
    // its first card), and comes back to the switch, or to the same project's card, once the
    // figures show; unless the person took it elsewhere meanwhile.
    property var keyboardPlace: null
    function reload() {
        dashboard.noteKeyboardPlace()
        dashboard.parkKeyboard()
        dashboardModel.refresh()
    }
    function changeScope(value) {
        dashboard.noteKeyboardPlace()
        dashboardModel.scope = value
        // After the switch is done with the key, which it keeps.
        Qt.callLater(dashboard.parkKeyboard)
    }
    function noteKeyboardPlace() {
        const focused = dashboard.Window.activeFocusItem
        dashboard.keyboardPlace = null
        if (focused === null || !FocusLanding.holds(table, focused))
            return
        const head = table.headerItem
        if (head !== null && FocusLanding.holds(head.scopeControl, focused)) {
            dashboard.keyboardPlace = { onScope: true }
            return
        }
        // Waiting on the list for a row scrolled away: that row's place.
        if (focused === table && table.count > 0) {
            const row = Math.min(table.tabRow, table.count - 1)
            dashboard.keyboardPlace = { onScope: false, projectId: dashboardModel.rowAt(row).id, row: row }
            return
        }
        for (let at = focused; at !== null; at = at.parent) {
            if (at.parent === table.contentItem && at.projectId !== undefined) {
                dashboard.keyboardPlace = { onScope: false, projectId: at.projectId, row: at.index }
                return
            }
        }
    }
    function parkKeyboard() {
        const focused = dashboard.Window.activeFocusItem
        // The keys that fell from the rebuilt switch onto the page wait there as well.
        if (dashboard.keyboardPlace !== null
                && (focused === null || focused === dashboard || FocusLanding.holds(table, focused)))
            FocusLanding.park(dashboard)
    }
    function landKeyboard() {
        // Left over from the end of an earlier load and run after the next one began: the place
        // is kept for the end of that one.
        if (dashboardModel.state === AnalyticsDashboardModel.Loading)
            return
        const place = dashboard.keyboardPlace
        dashboard.keyboardPlace = null
        if (place === null || dashboard.Window.activeFocusItem !== dashboard || table.headerItem === null)
            return
        let target = table.headerItem.scopeControl.tabStop()
        if (!place.onScope && table.count > 0) {
            const found = dashboardModel.rowOf(place.projectId)
            const row = found >= 0 ? found : Math.min(place.row, table.count - 1)
            table.positionViewAtIndex(row, ListView.Contain)
            target = table.itemAtIndex(row) ?? target
        }
        FocusLanding.landInView(target)
    }
    Connections {
        target: dashboardModel
        function onStateChanged() {
            // Once the table has its cards again.
            if (dashboardModel.state !== AnalyticsDashboardModel.Loading)
                Qt.callLater(dashboard.landKeyboard)
        }
    }

    Rectangle {
        anchors.fill: parent
        color: AppTheme.background
    }

    component Caption: Text {
        Layout.fillWidth: true
        wrapMode: Text.Wrap
        font: Typography.font(Typography.Caption)
        color: AppTheme.textSecondary
    }
    component Heading: Text {
        Layout.fillWidth: true
        wrapMode: Text.Wrap
        font: Typography.font(Typography.Headline)
        color: AppTheme.primary
    }

    // One figure: its symbol and title, the value (shrunk before it is cut) and the sums below.
    component KpiCard: AppCard {
        id: card
        required property analyticsFigure figure
        readonly property string title: figure.title
        readonly property string value: figure.value
        readonly property string icon: figure.icon
        readonly property string subtitle: figure.subtitle
        inset: 14
        spacing: 8
        // Read as one figure: its title, then the value and the sums.
        Accessible.name: figure.title
        Accessible.description: figure.spokenValue
        // Equal preferred widths share a row evenly; filling keeps the grid as wide as its column.
        Layout.preferredWidth: 140
        Layout.fillWidth: true
        Layout.fillHeight: true
        Row {
            Layout.fillWidth: true
            spacing: 6
            AppIcon {
                anchors.verticalCenter: parent.verticalCenter
                name: card.icon
                size: 13
                color: AppTheme.textSecondary
            }
            Text {
                width: parent.width - 19
                text: card.title
                wrapMode: Text.Wrap
                font: Typography.font(Typography.Caption, Font.DemiBold)
                color: AppTheme.textSecondary
            }
        }
        Text {
            objectName: "kpiValue"
            Layout.fillWidth: true
            text: card.value
            textFormat: Text.PlainText
            // A line per currency; an amount too long for the card goes on between any two
            // digits, and the fourth line ends in "…".
            wrapMode: Text.WrapAtWordBoundaryOrAnywhere
            maximumLineCount: 4
            elide: Text.ElideRight
            fontSizeMode: Text.HorizontalFit
            font: Typography.font(Typography.Title3, Font.Bold)
            minimumPixelSize: Math.floor(font.pixelSize * 0.75)
            color: AppTheme.primary
        }
        Text {
            objectName: "kpiSubtitle"
            Layout.fillWidth: true
            visible: card.figure.showsSubtitle
            text: card.subtitle
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            font: Typography.font(Typography.Caption2)
            color: AppTheme.textSecondary
        }
        Item {
            Layout.fillHeight: true
        }
    }

    // Cards at least 140 wide, as many to a row as fit.
    component CardGrid: GridLayout {
        Layout.fillWidth: true
        columns: Math.max(1, Math.floor((width + columnSpacing) / (140 + columnSpacing)))
        columnSpacing: 12
        rowSpacing: 12
    }

    // One figure of a table card, a third of its width: a sum too long for it ends in "…".
    component MetricLabel: Column {
        id: metric
        required property string title
        required property string value
        property int alignment: Text.AlignLeft
        Layout.fillWidth: true
        Layout.preferredWidth: 1
        spacing: 2
        Text {
            width: metric.width
            text: metric.title
            elide: Text.ElideRight
            horizontalAlignment: metric.alignment
            font: Typography.font(Typography.Caption)
            color: AppTheme.textSecondary
        }
        Text {
            objectName: "metricValue"
            width: metric.width
            text: metric.value
            textFormat: Text.PlainText
            elide: Text.ElideRight
            horizontalAlignment: metric.alignment
            font: Typography.font(Typography.Caption)
            color: AppTheme.deepBlack
        }
    }

    // A swatch and its name, in a chart's legend.
    component LegendEntry: Row {
        id: entry
        required property string label
        required property color swatch
        spacing: 6
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 10
            height: 10
            radius: 2
            color: entry.swatch
        }
        Text {
            text: entry.label
            textFormat: Text.PlainText
            font: Typography.font(Typography.Caption)
            color: AppTheme.deepBlack
        }
    }

    // The page is one list: everything above the table is its header, and only the table's cards
    // in view are made, however many projects there are. Not inside a ScrollView, which resizes
    // the list while it makes its header and would have it made twice.
    ListView {
        id: table
        objectName: "analyticsScroll"
        anchors.fill: parent
        clip: true
        reuseItems: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded; Accessible.name: "Прокрутка: Аналитика" }
        // The row Tab enters the table at: the last one the focus was on, the first at the start.
        property int tabRow: 0
        // The previous load's rows stay in the model while the next one runs; the cards show
        // with the content only.
        model: dashboardModel.state === AnalyticsDashboardModel.Content ? dashboardModel : 0
        spacing: 12
        onCountChanged: tabRow = Math.min(tabRow, Math.max(0, count - 1))

        // The header grows and shrinks with the load's state. A view that stands in it (the page
        // read from its top) keeps its place there, as one down among the rows keeps its rows;
        // a row the keyboard is on stays in view. Only the header's own change of height moves
        // the view: the list also moves its origin as it scrolls, by its estimate of the rows it
        // has not made, and a scroll by the bar, the wheel or the keys stays where it went.
        property real offsetInHeader: 0
        property bool inHeader: true
        property int focusedRow: -1
        property real placedHeaderHeight: 0
        onContentYChanged: {
            offsetInHeader = contentY - originY
            inHeader = headerItem !== null && offsetInHeader < headerItem.height
        }
        onOriginYChanged: {
            const headerHeight = headerItem !== null ? headerItem.height : 0
            if (headerHeight === placedHeaderHeight)
                return
            placedHeaderHeight = headerHeight
            if (focusedRow >= 0)
                Qt.callLater(() => {
                    if (table.focusedRow >= 0)
                        table.showRow(table.focusedRow)
                })
            else if (inHeader)
                contentY = originY + Math.max(0, Math.min(offsetInHeader, contentHeight - height))
        }
        // The keys of a row the person scrolled away (by the bar or the wheel) wait on the list,
        // which the window's keeper leaves them on; Tab or Shift+Tab brings them back to that
        // row, placed in view again.
        function parkKeys(card) {
            tabRow = card.index
            // The list is a focus scope: the card gives up its place in it, or the list would
            // hand the keys straight back to the card as it is reused for another row.
            card.focus = false
            FocusLanding.park(table)
        }
        Keys.onTabPressed: event => table.unparkKeys(event, Qt.TabFocusReason)
        Keys.onBacktabPressed: event => table.unparkKeys(event, Qt.BacktabFocusReason)
        function unparkKeys(event, reason) {
            if (!table.activeFocus || table.count === 0) {
                event.accepted = false
                return
            }
            const row = Math.min(table.tabRow, table.count - 1)
            table.positionViewAtIndex(row, ListView.Contain)
            const card = table.itemAtIndex(row)
            if (card)
                card.forceActiveFocus(reason)
        }
        // Places the row in view by the list, which knows where its rows stand before it has made
        // them, with room around it for its focus ring.
        function showRow(index) {
            positionViewAtIndex(index, ListView.Contain)
            const row = itemAtIndex(index)
            if (!row)
                return
            const ring = 4
            const top = row.y - contentY
            const bottom = top + row.height
            if (top < ring)
                contentY = Math.max(originY, contentY - (ring - top))
            else if (bottom > height - ring)
                contentY = Math.min(Math.max(originY, originY + contentHeight - height), contentY + bottom - (height - ring))
        }

        header: Item {
            id: page
            objectName: "analyticsColumn"
            readonly property real padding: dashboard.padding
            readonly property Item scopeControl: scopeSelect
            width: table.width
            implicitHeight: page.padding + column.implicitHeight + (table.count > 0 ? table.spacing : 0)

            // The charts are drawn from lists: they are rebuilt with the figures and, as the
            // donut's sectors are coloured when they are made, with the theme.
            Connections {
                target: dashboardModel
                function onFiguresChanged() {
                    donut.rebuild()
                    valueAxis.rebuild()
                }
            }
            Connections {
                target: AppTheme
                function onAppearanceChanged() { donut.rebuild() }
            }

            ColumnLayout {
                id: column
                x: page.padding
                y: page.padding
                width: page.width - 2 * page.padding
                spacing: 20

                Text {
                    text: "Аналитика"
                    font: Typography.font(Typography.Title2, Font.Bold)
                    color: AppTheme.deepBlack
                }

                Text {
                    Layout.fillWidth: true
                    text: "Сводка по сметам и платежам в облаке: план, выполнение, оплаты и статусы. Платежи учитываются по всем проектам и итерациям."
                    wrapMode: Text.Wrap
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.textSecondary
                }

                ColumnLayout {
                    objectName: "analyticsLoading"
                    visible: dashboardModel.state === AnalyticsDashboardModel.Loading
                    Layout.fillWidth: true
                    Layout.minimumHeight: 200
                    spacing: 10
                    Item { Layout.fillHeight: true }
                    BusyIndicator {
                        Layout.alignment: Qt.AlignHCenter
                        running: parent.visible
                        palette.dark: AppTheme.textSecondary
                    }
                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: "Загрузка аналитики…"
                        font: Typography.font(Typography.Subheadline)
                        color: AppTheme.textSecondary
                    }
                    Item { Layout.fillHeight: true }
                }

                EmptyStateView {
                    objectName: "analyticsEmpty"
                    visible: dashboardModel.state === AnalyticsDashboardModel.Empty
                    Layout.fillWidth: true
                    Layout.preferredHeight: implicitHeight + 40
                    title: "Нет данных"
                    systemImage: "chart.bar"
                    description: "Создайте проекты и платежи в облаке — здесь появятся сводки."
                }

                ColumnLayout {
                    id: content
                    objectName: "analyticsContent"
                    visible: dashboardModel.state === AnalyticsDashboardModel.Content
                    Layout.fillWidth: true
                    spacing: 20

                    Rectangle {
                        objectName: "analyticsWarning"
                        visible: dashboardModel.hasLoadWarning
                        Layout.fillWidth: true
                        implicitHeight: warningRow.implicitHeight + 24
                        radius: 10
                        color: AppTheme.withOpacity(AppTheme.warning, 0.12)
                        RowLayout {
                            id: warningRow
                            anchors.fill: parent
                            anchors.margins: 12
                            spacing: 8
                            AppIcon {
                                Layout.alignment: Qt.AlignTop
                                name: "exclamationmark.triangle.fill"
                                color: AppTheme.warning
                            }
                            Text {
                                Layout.fillWidth: true
                                Layout.alignment: Qt.AlignTop
                                text: dashboardModel.loadWarning
                                textFormat: Text.PlainText
                                wrapMode: Text.Wrap
                                font: Typography.font(Typography.Subheadline)
                                color: AppTheme.deepBlack
                            }
                        }
                    }

                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        Text {
                            text: "Выборка проектов"
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            color: AppTheme.textSecondary
                        }
                        AppSegmentedControl {
                            id: scopeSelect
                            objectName: "analyticsScope"
                            Layout.fillWidth: true
                            options: [{ value: dashboardModel.scopeValues[0], label: dashboardModel.scopeLabels[0] },
                                      { value: dashboardModel.scopeValues[1], label: dashboardModel.scopeLabels[1] }]
                            selection: dashboardModel.scope
                            onActivated: value => dashboard.changeScope(value)
                        }
                    }

                    CardGrid {
                        id: kpiGrid
                        objectName: "kpiGrid"
                        KpiCard { figure: dashboardModel.kpiFigures[0] }
                        KpiCard { figure: dashboardModel.kpiFigures[1] }
                        KpiCard { figure: dashboardModel.kpiFigures[2] }
                        KpiCard { figure: dashboardModel.kpiFigures[3] }
                    }

                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 12
                        Heading { text: "Платежи" }
                        Caption {
                            text: "По всем записям платежей, включая итерации. Просрочка — ожидающий платёж с датой раньше сегодня."
                        }
                        CardGrid {
                            id: paymentsGrid
                            objectName: "paymentsGrid"
                            KpiCard { figure: dashboardModel.paymentFigures[0] }
                            KpiCard { figure: dashboardModel.paymentFigures[1] }
                            KpiCard { figure: dashboardModel.paymentFigures[2] }
                            KpiCard { figure: dashboardModel.paymentFigures[3] }
                        }
                    }

                    ColumnLayout {
                        objectName: "analyticsCharts"
                        visible: dashboardModel.count > 0
                        Layout.fillWidth: true
                        spacing: 16

                        Heading { text: "План / выполнено / оплачено" }
                        AppCard {
                            Layout.fillWidth: true
                            inset: 12
                            spacing: 0
                            ChartView {
                                id: barChart
                                objectName: "barChart"
                                // The value names the chart plots under.
                                Accessible.role: Accessible.Chart
                                Accessible.name: "План / выполнено / оплачено"
                                Accessible.description: "Проект, Сумма, Метрика"
                                Layout.fillWidth: true
                                Layout.preferredHeight: dashboard.chartHeight
                                antialiasing: true
                                backgroundColor: "transparent"
                                plotAreaColor: "transparent"
                                backgroundRoundness: 0
                                margins { left: 0; right: 0; top: 0; bottom: 0 }
                                // Its legend stands below the project names, in the row after them.
                                legend.visible: false

                                BarSeries {
                                    // The project names stand in the row below the chart, where
                                    // they break between words; the axis would cut them short.
                                    axisX: BarCategoryAxis {
                                        categories: dashboardModel.barAxisLabels
                                        labelsVisible: false
                                        gridVisible: false
                                        color: AppTheme.border
                                    }
                                    // Money marks: grouped digits and the currency.
                                    axisY: CategoryAxis {
                                        id: valueAxis
                                        min: 0
                                        max: dashboardModel.barAxisMaximum
                                        labelsPosition: CategoryAxis.AxisLabelsPositionOnValue
                                        labelsColor: AppTheme.deepBlack
                                        labelsFont: Typography.font(Typography.Caption2)
                                        gridLineColor: AppTheme.border
                                        color: AppTheme.border
                                        function rebuild() {
                                            for (const label of valueAxis.categoriesLabels)
                                                valueAxis.remove(label)
                                            const ticks = dashboardModel.barAxisTicks
                                            const labels = dashboardModel.barAxisTickLabels
                                            for (let i = 0; i < ticks.length; ++i)
                                                valueAxis.append(labels[i], ticks[i])
                                        }
                                        Component.onCompleted: rebuild()
                                    }
                                    BarSet {
                                        label: "План"
                                        values: dashboardModel.barPlanned
                                        color: AppTheme.withOpacity(AppTheme.primary, 0.4)
                                        borderColor: "transparent"
                                    }
                                    BarSet {
                                        label: "Выполнено"
                                        values: dashboardModel.barDone
                                        color: AppTheme.accent
                                        borderColor: "transparent"
                                    }
                                    BarSet {
                                        label: "Оплачено"
                                        values: dashboardModel.barPaid
                                        color: AppTheme.success
                                        // Outlined so that a short bar still shows on the dark card.
                                        borderColor: AppTheme.dark ? Qt.lighter(AppTheme.success, 1.5) : "transparent"
                                    }
                                }
                            }
                            // One name under each group of bars, broken between words, on up to
                            // three lines where each of its words fits the group's width; slanted
                            // and shorter where the groups stand close or a word would not fit;
                            // all the group's names in full on hover over its bars or its name.
                            Item {
                                id: barLabels
                                objectName: "barLabels"
                                readonly property int count: Math.max(1, dashboardModel.barTitles.length)
                                readonly property real cell: barChart.plotArea.width / count
                                readonly property bool slanted: cell < 48 || !straightNames.fits
                                AnalyticsBarNames {
                                    id: straightNames
                                    names: dashboardModel.barTitles
                                    font: Typography.font(Typography.Caption2)
                                    // Less the label's padding.
                                    width: barLabels.cell - 4
                                    maximumLineCount: 3
                                }
                                // The tallest name, or the longest slanted run (at 45 degrees).
                                property real needed: 0
                                function measure() {
                                    let most = 0
                                    for (let i = 0; i < names.count; ++i) {
                                        const name = names.itemAt(i)
                                        if (name)
                                            most = Math.max(most, name.needed)
                                    }
                                    needed = Math.ceil(most)
                                }
                                onSlantedChanged: Qt.callLater(measure)
                                Layout.fillWidth: true
                                implicitHeight: needed + (slanted ? 16 : 8)
                                Repeater {
                                    id: names
                                    model: dashboardModel.barTitles
                                    onItemAdded: Qt.callLater(barLabels.measure)
                                    onItemRemoved: Qt.callLater(barLabels.measure)
                                    Item {
                                        id: barCell
                                        required property string modelData
                                        required property int index
                                        readonly property real needed: barLabels.slanted
                                            ? slantedLabel.implicitWidth * 0.71 : straightLabel.implicitHeight
                                        x: barChart.plotArea.x + index * barLabels.cell
                                        width: barLabels.cell
                                        height: barLabels.height
                                        // From the top of the plot down through the name.
                                        Item {
                                            objectName: "barHover-" + barCell.index
                                            y: barChart.y + barChart.plotArea.y - barLabels.y
                                            width: parent.width
                                            height: parent.height - y
                                            HoverHandler { id: labelHover }
                                        }
                                        ToolTip.visible: labelHover.hovered
                                        ToolTip.delay: 400
                                        ToolTip.text: dashboardModel.barNames[index] ?? ""
                                        // Each form a text of its own: one sized by its cell,
                                        // the other by its words.
                                        Text {
                                            id: straightLabel
                                            objectName: barLabels.slanted ? "" : "barLabel-" + barCell.index
                                            visible: !barLabels.slanted
                                            y: 4
                                            width: barCell.width
                                            leftPadding: 2
                                            rightPadding: 2
                                            // The name whose words its lines hold whole.
                                            readonly property string wrapsWordsOf: barCell.modelData
                                            text: straightNames.texts[barCell.index] ?? ""
                                            textFormat: Text.PlainText
                                            horizontalAlignment: Text.AlignHCenter
                                            font: Typography.font(Typography.Caption2)
                                            color: AppTheme.deepBlack
                                            onImplicitHeightChanged: Qt.callLater(barLabels.measure)
                                        }
                                        Text {
                                            id: slantedLabel
                                            objectName: barLabels.slanted ? "barLabel-" + barCell.index : ""
                                            visible: barLabels.slanted
                                            x: barCell.width / 2 - width
                                            y: 4
                                            rotation: -45
                                            transformOrigin: Item.TopRight
                                            leftPadding: 2
                                            rightPadding: 2
                                            text: dashboardModel.barShortTitles[barCell.index] ?? ""
                                            textFormat: Text.PlainText
                                            horizontalAlignment: Text.AlignRight
                                            font: Typography.font(Typography.Caption2)
                                            color: AppTheme.deepBlack
                                            onImplicitWidthChanged: Qt.callLater(barLabels.measure)
                                        }
                                    }
                                }
                            }
                            Flow {
                                objectName: "barLegend"
                                Layout.fillWidth: true
                                Layout.topMargin: 6
                                spacing: 14
                                LegendEntry { label: "План"; swatch: AppTheme.withOpacity(AppTheme.primary, 0.4) }
                                LegendEntry { label: "Выполнено"; swatch: AppTheme.accent }
                                LegendEntry { label: "Оплачено"; swatch: AppTheme.success }
                            }
                        }

                        Heading { text: "Статусы в выборке" }
                        AppCard {
                            Layout.fillWidth: true
                            inset: 12
                            ChartView {
                                objectName: "statusChart"
                                Accessible.role: Accessible.Chart
                                Accessible.name: "Статусы в выборке"
                                Accessible.description: "Статус, Кол-во"
                                Layout.fillWidth: true
                                Layout.preferredHeight: 200
                                antialiasing: true
                                backgroundColor: "transparent"
                                plotAreaColor: "transparent"
                                backgroundRoundness: 0
                                margins { left: 0; right: 0; top: 0; bottom: 0 }
                                // The legend below wraps its names rather than cutting them.
                                legend.visible: false

                                PieSeries {
                                    id: donut
                                    objectName: "statusSeries"
                                    holeSize: 0.55
                                    size: 0.9

                                    // One sector per status with rows, in status order, in the
                                    // status badge's colour; the card's colour between sectors
                                    // keeps them apart.
                                    function rebuild() {
                                        donut.clear()
                                        const values = dashboardModel.statusValues
                                        const labels = dashboardModel.statusLabels
                                        const counts = dashboardModel.statusCounts
                                        for (let i = 0; i < labels.length; ++i) {
                                            const slice = donut.append(labels[i], counts[i])
                                            slice.color = ProjectStatusStyle.color(values[i], AppTheme.dark)
                                            slice.borderColor = AppTheme.cardBackground
                                            slice.borderWidth = 2
                                        }
                                    }
                                    Component.onCompleted: donut.rebuild()
                                }
                            }
                            Flow {
                                objectName: "statusLegend"
                                Layout.fillWidth: true
                                spacing: 14
                                Repeater {
                                    model: dashboardModel.statusLabels
                                    LegendEntry {
                                        required property string modelData
                                        required property int index
                                        label: modelData
                                        swatch: ProjectStatusStyle.color(dashboardModel.statusValues[index] ?? "", AppTheme.dark)
                                    }
                                }
                            }
                        }
                    }

                    Heading {
                        objectName: "analyticsTableTitle"
                        visible: dashboardModel.count > 0
                        text: dashboardModel.tableTitle
                    }
                }
            }
        }

        footer: Item {
            width: table.width
            height: dashboard.padding
        }

        delegate: Item {
            id: rowCard
            required property int index
            required property string projectId
            required property string title
            required property string secondLine
            required property bool hasSecondLine
            required property string status
            required property string plannedText
            required property string doneText
            required property string paidText
            required property bool isSelected
            required property string spokenFigures

            // A row waiting in the list's pool keeps the index it last had: no Tab stop.
            property bool pooled: false

            objectName: "analyticsRow-" + projectId
            x: dashboard.padding
            width: table.width - 2 * dashboard.padding
            implicitHeight: card.implicitHeight
            // A list row for readers and the keyboard: Tab enters the table at one row and then
            // runs from row to row, Return or Space selects, the menu key opens its menu.
            activeFocusOnTab: !pooled
                              && (rowCard.activeFocus || rowCard.index === Math.min(table.tabRow, table.count - 1))
            // Scrolled out of the list's reach with the keys on it: they wait on the list.
            ListView.onPooled: {
                if (rowCard.activeFocus)
                    table.parkKeys(rowCard)
                pooled = true
            }
            ListView.onReused: pooled = false
            // The row the keyboard is on is placed in view, and again while rows above settle.
            onActiveFocusChanged: {
                if (!rowCard.activeFocus) {
                    if (table.focusedRow === rowCard.index)
                        table.focusedRow = -1
                    return
                }
                table.tabRow = rowCard.index
                table.focusedRow = rowCard.index
                table.showRow(rowCard.index)
            }
            function keepInView() {
                if (rowCard.activeFocus)
                    table.showRow(rowCard.index)
            }
            onYChanged: if (rowCard.activeFocus) Qt.callLater(rowCard.keepInView)
            onHeightChanged: if (rowCard.activeFocus) Qt.callLater(rowCard.keepInView)
            Accessible.role: Accessible.ListItem
            Accessible.name: title
            Accessible.description: spokenFigures
            Accessible.selectable: true
            Accessible.selected: isSelected
            Accessible.focusable: true
            Accessible.focused: activeFocus
            Keys.onTabPressed: event => rowCard.tabAlong(event, 1)
            Keys.onBacktabPressed: event => rowCard.tabAlong(event, -1)
            Keys.onReturnPressed: dashboardModel.select(index)
            Keys.onEnterPressed: dashboardModel.select(index)
            Keys.onSpacePressed: dashboardModel.select(index)
            Keys.onMenuPressed: {
                rowMenu.row = index
                rowMenu.popup(rowCard, rowCard.width / 2, rowCard.height / 2)
            }

            // The next or previous row by its place in the table, made when it is out of view;
            // past the first or the last row, what stands before or after the table.
            function tabAlong(event, step) {
                const reason = step > 0 ? Qt.TabFocusReason : Qt.BacktabFocusReason
                const target = rowCard.index + step
                let next = null
                if (target >= 0 && target < table.count) {
                    next = table.itemAtIndex(target)
                    if (!next) {
                        table.positionViewAtIndex(target, ListView.Contain)
                        next = table.itemAtIndex(target)
                    }
                } else {
                    next = rowCard.nextItemInFocusChain(step > 0)
                    for (let i = 0; next && next !== rowCard && next.parent === rowCard.parent && i < 1000; ++i)
                        next = next.nextItemInFocusChain(step > 0)
                }
                if (next && next !== rowCard) {
                    event.accepted = true
                    next.forceActiveFocus(reason)
                }
            }

            AppCard {
                id: card
                anchors.fill: parent
                // The row reads for it.
                Accessible.ignored: true
                inset: 12
                spacing: 8
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8
                    ColumnLayout {
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        spacing: 2
                        Text {
                            objectName: "rowTitle"
                            Layout.fillWidth: true
                            text: rowCard.title
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            color: AppTheme.deepBlack
                        }
                        Text {
                            objectName: "rowSecondLine"
                            Layout.fillWidth: true
                            visible: rowCard.hasSecondLine
                            text: rowCard.secondLine
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Caption)
                            color: AppTheme.textSecondary
                        }
                    }
                    ProjectStatusBadge {
                        Layout.alignment: Qt.AlignTop
                        status: rowCard.status
                    }
                }
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 12
                    MetricLabel { title: "План"; value: rowCard.plannedText }
                    MetricLabel { title: "Выполн."; value: rowCard.doneText; alignment: Text.AlignHCenter }
                    MetricLabel { title: "Оплач."; value: rowCard.paidText; alignment: Text.AlignRight }
                }
            }
            Rectangle {
                objectName: "selectionBorder"
                anchors.fill: parent
                visible: rowCard.isSelected
                radius: AppTheme.cornerRadiusMedium
                color: "transparent"
                border.width: 2
                border.color: AppTheme.withOpacity(AppTheme.primary, 0.45)
            }
            FocusRing {
                radius: AppTheme.cornerRadiusMedium + 3
                shown: rowCard.activeFocus
            }
            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                cursorShape: Qt.PointingHandCursor
                onClicked: mouse => {
                    if (mouse.button === Qt.RightButton) {
                        rowMenu.row = rowCard.index
                        rowMenu.title = rowCard.title
                        rowMenu.popup()
                    } else {
                        dashboardModel.select(rowCard.index)
                    }
                }
            }
        }
    }

    // One menu for all table cards: the card is selected first, then its payments open. The
    // section switch destroys this page, so it waits until the menu is done.
    AppMenu {
        id: rowMenu
        objectName: "analyticsRowMenu"
        property int row: -1
        AppMenuItem {
            objectName: "analyticsRowPayments"
            text: "Платежи"
            systemImage: "creditcard"
            onTriggered: {
                dashboardModel.select(rowMenu.row)
                const projectId = dashboardModel.rowAt(rowMenu.row).id
                Qt.callLater(() => dashboard.openFinance(projectId))
            }
        }
    }
}
