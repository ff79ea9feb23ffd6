pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtCharts
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Analytics

// The analytics page: money of the chosen estimates, every payment by status, the bar chart and
// the donut of statuses, and the table whose chosen card the detail column shows.
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

    AnalyticsDashboardModel {
        id: dashboardModel
        projectsService: dashboard.projectsService
        selectedRow: dashboard.selectedRow
        onSelectedRowChanged: dashboard.rowSelected(dashboardModel.selectedRow)
        onFiguresChanged: {
            donut.rebuild()
            valueAxis.rebuild()
        }
    }
    Component.onCompleted: dashboardModel.refresh()

    // The donut's sectors are coloured when they are made.
    Connections {
        target: AppTheme
        function onAppearanceChanged() { donut.rebuild() }
    }

    Shortcut {
        sequences: [StandardKey.Refresh]
        onActivated: dashboardModel.refresh()
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
        required property string title
        required property string value
        required property string icon
        property string subtitle
        inset: 14
        spacing: 8
        // Read as one figure: its title, then the value and the sums.
        Accessible.name: title
        Accessible.description: [value, subtitle].filter(text => text !== "" && text !== "—").join(", ")
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
            visible: card.subtitle !== "" && card.subtitle !== "—"
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

    component MetricLabel: Column {
        id: metric
        required property string title
        required property string value
        spacing: 2
        Text {
            text: metric.title
            font: Typography.font(Typography.Caption)
            color: AppTheme.textSecondary
        }
        Text {
            text: metric.value
            textFormat: Text.PlainText
            font: Typography.font(Typography.Caption)
            color: AppTheme.deepBlack
        }
    }

    ScrollView {
        id: scroll
        objectName: "analyticsScroll"
        anchors.fill: parent
        contentWidth: availableWidth
        ScrollBar.vertical.policy: ScrollBar.AsNeeded

        Item {
            id: page
            objectName: "analyticsColumn"
            readonly property real cap: dashboard.AdaptiveMetrics.placeholderMaxWidth
            readonly property real padding: dashboard.AdaptiveMetrics.placeholderPadding
            width: page.cap < 0 ? scroll.availableWidth : Math.min(scroll.availableWidth, page.cap)
            x: (scroll.availableWidth - page.width) / 2
            implicitHeight: column.implicitHeight + 2 * page.padding

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
                            objectName: "analyticsScope"
                            Layout.fillWidth: true
                            options: [{ value: dashboardModel.scopeValues[0], label: dashboardModel.scopeLabels[0] },
                                      { value: dashboardModel.scopeValues[1], label: dashboardModel.scopeLabels[1] }]
                            selection: dashboardModel.scope
                            onActivated: value => dashboardModel.scope = value
                        }
                    }

                    CardGrid {
                        id: kpiGrid
                        objectName: "kpiGrid"
                        KpiCard {
                            title: "Смет в выборке"
                            value: String(dashboardModel.count)
                            icon: "folder.fill"
                        }
                        KpiCard {
                            title: "План"
                            value: dashboardModel.planText
                            icon: "chart.line.uptrend.xyaxis"
                        }
                        KpiCard {
                            title: "Выполнено"
                            value: dashboardModel.doneText
                            icon: "checkmark.circle.fill"
                        }
                        KpiCard {
                            title: "Оплачено (сметы)"
                            value: dashboardModel.paidText
                            icon: "rublesign.circle.fill"
                        }
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
                            KpiCard {
                                title: "Всего записей"
                                value: String(dashboardModel.paymentsCount)
                                icon: "list.bullet.rectangle"
                            }
                            KpiCard {
                                title: "Получено"
                                value: String(dashboardModel.receivedCount)
                                icon: "checkmark.seal.fill"
                                subtitle: dashboardModel.receivedSums
                            }
                            KpiCard {
                                title: "Ожидается"
                                value: String(dashboardModel.pendingCount)
                                icon: "clock.fill"
                                subtitle: dashboardModel.pendingSums
                            }
                            KpiCard {
                                title: "Просрочено"
                                value: String(dashboardModel.overdueCount)
                                icon: "exclamationmark.triangle.fill"
                                subtitle: dashboardModel.overdueSums
                            }
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
                                    // The project names stand in the row below the chart, where they wrap
                                    // and show the whole name on hover; the axis would cut them short.
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
                            // One name under each group of bars: up to two lines where there is room,
                            // slanted where the groups stand close; the whole name on hover.
                            Item {
                                id: barLabels
                                objectName: "barLabels"
                                readonly property int count: Math.max(1, dashboardModel.barLabels.length)
                                readonly property real cell: barChart.plotArea.width / count
                                readonly property bool slanted: cell < 48
                                // The longest label's run, slanted at 45 degrees, sets the height.
                                property real longest: 0
                                Layout.fillWidth: true
                                implicitHeight: slanted ? Math.ceil(longest * 0.71) + 16 : 32
                                Repeater {
                                    model: dashboardModel.barLabels
                                    Item {
                                        id: barCell
                                        required property string modelData
                                        required property int index
                                        x: barChart.plotArea.x + index * barLabels.cell
                                        width: barLabels.cell
                                        height: barLabels.height
                                        HoverHandler { id: labelHover }
                                        ToolTip.visible: labelHover.hovered
                                        ToolTip.delay: 400
                                        ToolTip.text: dashboardModel.barNames[index] ?? ""
                                        Text {
                                            objectName: "barLabel-" + barCell.index
                                            x: barLabels.slanted ? barCell.width / 2 - width : 0
                                            y: 4
                                            width: barLabels.slanted ? implicitWidth : barCell.width
                                            rotation: barLabels.slanted ? -45 : 0
                                            transformOrigin: Item.TopRight
                                            leftPadding: 2
                                            rightPadding: 2
                                            text: barCell.modelData
                                            textFormat: Text.PlainText
                                            wrapMode: barLabels.slanted ? Text.NoWrap : Text.WrapAtWordBoundaryOrAnywhere
                                            maximumLineCount: 2
                                            elide: barLabels.slanted ? Text.ElideNone : Text.ElideRight
                                            horizontalAlignment: barLabels.slanted ? Text.AlignRight : Text.AlignHCenter
                                            font: Typography.font(Typography.Caption2)
                                            color: AppTheme.deepBlack
                                            onImplicitWidthChanged: barLabels.longest = Math.max(barLabels.longest, implicitWidth)
                                        }
                                    }
                                }
                            }
                            Flow {
                                objectName: "barLegend"
                                Layout.fillWidth: true
                                Layout.topMargin: 6
                                spacing: 14
                                Repeater {
                                    model: [
                                        { label: "План", color: AppTheme.withOpacity(AppTheme.primary, 0.4) },
                                        { label: "Выполнено", color: AppTheme.accent },
                                        { label: "Оплачено", color: AppTheme.success },
                                    ]
                                    Row {
                                        required property var modelData
                                        spacing: 6
                                        Rectangle {
                                            anchors.verticalCenter: parent.verticalCenter
                                            width: 10
                                            height: 10
                                            radius: 2
                                            color: parent.modelData.color
                                        }
                                        Text {
                                            text: parent.modelData.label
                                            font: Typography.font(Typography.Caption)
                                            color: AppTheme.deepBlack
                                        }
                                    }
                                }
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
                                legend.alignment: Qt.AlignRight
                                legend.labelColor: AppTheme.deepBlack
                                legend.font: Typography.font(Typography.Caption)

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
                        }
                    }

                    ColumnLayout {
                        objectName: "analyticsTable"
                        visible: dashboardModel.count > 0
                        Layout.fillWidth: true
                        spacing: 12

                        Heading {
                            objectName: "analyticsTableTitle"
                            text: dashboardModel.tableTitle
                        }

                        Repeater {
                            model: dashboardModel

                            Item {
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

                                objectName: "analyticsRow-" + projectId
                                Layout.fillWidth: true
                                implicitHeight: card.implicitHeight
                                // A list row for readers and the keyboard: Tab reaches it, Return or
                                // Space selects it, the menu key opens its menu.
                                activeFocusOnTab: true
                                Accessible.role: Accessible.ListItem
                                Accessible.name: title
                                Accessible.description: spokenFigures
                                Accessible.selectable: true
                                Accessible.selected: isSelected
                                Accessible.focusable: true
                                Accessible.focused: activeFocus
                                Keys.onReturnPressed: dashboardModel.select(index)
                                Keys.onEnterPressed: dashboardModel.select(index)
                                Keys.onSpacePressed: dashboardModel.select(index)
                                Keys.onMenuPressed: {
                                    rowMenu.row = index
                                    rowMenu.popup(rowCard, rowCard.width / 2, rowCard.height / 2)
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
                                        MetricLabel { title: "План"; value: rowCard.plannedText }
                                        Item { Layout.fillWidth: true }
                                        MetricLabel { title: "Выполн."; value: rowCard.doneText }
                                        Item { Layout.fillWidth: true }
                                        MetricLabel { title: "Оплач."; value: rowCard.paidText }
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
                                            rowMenu.popup()
                                        } else {
                                            dashboardModel.select(rowCard.index)
                                        }
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    // One menu for all table cards: the card is selected first, then its payments open. The
    // section switch destroys this page, so it waits until the menu is done.
    Menu {
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
