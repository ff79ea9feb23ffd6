import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Finance

// The payments of one project or iteration: the estimate's summary, a form for a new payment
// and the history, where a payment's status is changed or the payment deleted. The page is one
// list whose rows are the payments and whose header holds the cards above them: only the rows in
// sight are made, and the list reuses them as it scrolls, however long the history.
// Not a bound component file: Qt 6.4 makes a list's header and footer outside their creation
// context.
Rectangle {
    id: view

    objectName: "projectFinanceView"

    required property string projectId
    required property string projectName
    required property string currency
    // Payments go to the backend the projects come from.
    property ProjectsService projectsService: null
    // Off inside a sheet, whose own bar carries the title and the refresh button.
    property bool showsHeader: true
    readonly property alias finance: finance
    // Where the keyboard starts in the form of a new payment.
    readonly property Item amountInput: scroller.headerItem ? scroller.headerItem.amountInput : null

    // The header and the cards stand in one centred column, capped as the scrolling screens cap
    // theirs, so that the form's fields do not stretch across a wide window.
    readonly property real columnWidth: view.AdaptiveMetrics.placeholderMaxWidth < 0 ? view.width - 40
                                        : Math.min(view.width - 40, view.AdaptiveMetrics.placeholderMaxWidth)
    readonly property real columnX: (view.width - view.columnWidth) / 2

    // A payment was added, deleted or re-stated.
    signal paymentsChanged()

    // The history's row that holds the item, or null.
    function rowHolding(item) {
        for (let at = item; at !== null; at = at.parent) {
            if (at.parent === scroller.contentItem)
                return at.paymentId !== undefined ? at : null
        }
        return null
    }

    // Reloads the payments. The keyboard in a payment's row comes back to the same control of
    // that payment once the history shows again.
    function reload() {
        const focused = view.Window.activeFocusItem
        const entry = view.rowHolding(focused)
        const onStatus = entry !== null && FocusLanding.holds(entry.statusControl, focused)
        if (onStatus || (entry !== null && FocusLanding.holds(entry.deleteButton, focused)))
            finance.refreshKeepingPlace(entry.paymentId, onStatus)
        else
            finance.refresh()
    }

    // While the payments reload, the cards are hidden: the keyboard waits on the indicator, not
    // on a hidden control that keys would still work. A control of the form gets it back once
    // they show; a payment's row, through keyboardPlaceShown.
    property Item parkedFocus: null
    function parkFocus() {
        const focused = view.Window.activeFocusItem
        if (focused === null || !FocusLanding.holds(scroller.contentItem, focused))
            return
        view.parkedFocus = focused
        FocusLanding.park(loadingState)
    }
    function unparkFocus() {
        // A call left over from the end of an earlier load, run after the next one began, keeps
        // the parked control for the end of that one.
        if (finance.isLoading)
            return
        const parked = view.parkedFocus
        view.parkedFocus = null
        if (parked !== null && parked.visible && view.Window.activeFocusItem === loadingState)
            FocusLanding.land(parked)
    }

    // The keyboard goes to the target unless the person took it to a control outside `area`
    // meanwhile: a reload hides the cards, and leaves the focus on nothing or on a hidden control.
    function landUnlessElsewhere(target, area) {
        const current = view.Window.activeFocusItem
        if (!view.visible)
            return
        const elsewhere = current !== null && current.activeFocusOnTab && current.visible && current.enabled
                          && !FocusLanding.holds(area, current)
        if (!elsewhere)
            FocusLanding.land(target)
    }

    // The row at that index, made and brought into sight when the list had not made it.
    function historyRow(row) {
        // The list takes in the model's changes at its next frame; the rows must stand now.
        scroller.forceLayout()
        let entry = scroller.itemAtIndex(row)
        if (entry === null) {
            scroller.positionViewAtIndex(row, ListView.Contain)
            entry = scroller.itemAtIndex(row)
        }
        return entry
    }

    // Tab runs through the history row by row, in the payments' order (the list's own order of
    // rows is the order it made them in): from the form into the row it was last in, from row to
    // row, and past the last one on to what follows the list; Shift+Tab back the same way.
    function tabIntoHistory() {
        const entry = scroller.count > 0 ? view.historyRow(Math.min(scroller.tabRow, scroller.count - 1)) : null
        if (entry === null)
            return false
        entry.statusStop().forceActiveFocus(Qt.TabFocusReason)
        return true
    }
    function tabFromRow(entry, forward) {
        const target = entry.index + (forward ? 1 : -1)
        if (target >= 0 && target < scroller.count) {
            const next = view.historyRow(target)
            if (next === null)
                return false
            if (forward)
                next.statusStop().forceActiveFocus(Qt.TabFocusReason)
            else
                next.deleteButton.forceActiveFocus(Qt.BacktabFocusReason)
            return true
        }
        if (!forward) {
            const add = scroller.headerItem ? scroller.headerItem.lastControl() : null
            if (add === null)
                return false
            add.forceActiveFocus(Qt.BacktabFocusReason)
            return true
        }
        // Past the last row: the first control outside the list's content.
        let next = entry.deleteButton.nextItemInFocusChain(true)
        for (let i = 0; next !== null && FocusLanding.holds(scroller.contentItem, next) && i < 1000; ++i)
            next = next.nextItemInFocusChain(true)
        if (next === null || FocusLanding.holds(scroller.contentItem, next))
            return false
        next.forceActiveFocus(Qt.TabFocusReason)
        return true
    }

    // Home, End, Page Up and Page Down in the history take the keys to the first row, the last,
    // or the row a page away, at its status: shown, and kept in sight while the rows on the way
    // get their heights.
    ListPageKeys {
        id: historyPaging
        view: scroller
    }
    function pageFromRow(entry, event) {
        const target = historyPaging.rowFor(event, entry.index, scroller.count)
        const next = target >= 0 ? view.historyRow(target) : null
        if (next === null)
            return false
        scroller.positionViewAtIndex(target, ListView.Contain)
        FocusLanding.landInView(next.statusStop())
        return true
    }

    color: AppTheme.background

    ProjectFinanceModel {
        id: finance

        projectsService: view.projectsService
        projectId: view.projectId
        currency: view.currency
        onPaymentsChanged: view.paymentsChanged()
        // The next payment starts at its amount.
        onPaymentAdded: view.landUnlessElsewhere(view.amountInput, null)
        // After the history's own landing, which comes with the end of the load.
        onIsLoadingChanged: {
            if (finance.isLoading)
                view.parkFocus()
            else
                Qt.callLater(view.unparkFocus)
        }
        // After a status change the keyboard is back on that payment's status; after a delete on
        // the payment beside it, or on the amount when none is left.
        onKeyboardPlaceShown: (row, onStatus) => {
            view.parkedFocus = null
            const entry = row >= 0 ? view.historyRow(row) : null
            const target = entry === null ? view.amountInput : onStatus ? entry.statusStop() : entry.deleteButton
            view.landUnlessElsewhere(target, scroller.contentItem)
        }
    }

    Shortcut {
        sequence: "F5"
        onActivated: view.reload()
    }

    component CardHeader: RowLayout {
        id: cardHeader

        required property string text
        required property string systemImage

        Layout.fillWidth: true
        spacing: 8

        AppIcon {
            name: cardHeader.systemImage
            color: AppTheme.primary
        }
        Text {
            Layout.fillWidth: true
            text: cardHeader.text
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            textFormat: Text.PlainText
            font: Typography.font(Typography.Headline)
            color: AppTheme.primary
            elide: Text.ElideRight
        }
    }

    component SummaryRow: RowLayout {
        id: summaryRow

        required property string title
        required property string value

        Layout.fillWidth: true
        Accessible.role: Accessible.StaticText
        Accessible.name: title
        Accessible.description: value

        Text {
            Layout.fillWidth: true
            Layout.minimumWidth: Math.ceil(implicitWidth)
            Layout.alignment: Qt.AlignTop
            text: summaryRow.title
            textFormat: Text.PlainText
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.textSecondary
        }
        // A figure of hundreds of digits wraps beside its label, flush right.
        Text {
            Layout.fillWidth: true
            Layout.maximumWidth: Math.ceil(implicitWidth)
            text: summaryRow.value
            textFormat: Text.PlainText
            wrapMode: Text.WrapAnywhere
            horizontalAlignment: Text.AlignRight
            font: Typography.font(Typography.Subheadline, Font.DemiBold)
            color: AppTheme.deepBlack
        }
    }

    RowLayout {
        id: header

        objectName: "financeHeader"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: view.columnX
        anchors.rightMargin: view.columnX
        anchors.topMargin: view.showsHeader ? 16 : 0
        visible: view.showsHeader
        height: view.showsHeader ? implicitHeight : 0
        spacing: 12

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2

            Text {
                Layout.fillWidth: true
                text: "Платежи"
                textFormat: Text.PlainText
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }
            Text {
                objectName: "financeSubtitle"
                Layout.fillWidth: true
                text: view.projectName
                textFormat: Text.PlainText
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.textSecondary
                elide: Text.ElideRight
            }
        }
        SecondaryButton {
            objectName: "refreshButton"
            systemImage: "arrow.clockwise"
            Accessible.name: "Обновить"
            ToolTip.visible: hovered
            ToolTip.text: "Обновить (F5)"
            onClicked: view.reload()
        }
    }

    ListView {
        id: scroller

        objectName: "financeScroll"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.topMargin: view.showsHeader ? 8 : 0
        anchors.bottom: parent.bottom
        // The row Tab enters the history at: the last one the keyboard was in, the first at the start.
        property int tabRow: 0

        clip: true
        reuseItems: true
        spacing: 12
        model: finance.payments
        currentIndex: -1
        keyNavigationEnabled: false
        boundsBehavior: Flickable.StopAtBounds
        // While the payments reload, the cards and the rows give way to the indicator: they keep
        // their places, hidden, so that the view does not move and they come back where they stood.
        contentItem.visible: !finance.isLoading
        ScrollBar.vertical: ScrollBar {
            policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
            Accessible.name: "Прокрутка: Платежи"
        }

        // Return in a text field and the button's key are one action: the filter takes Return
        // from the fields, Keys takes it from anything else in the view.
        SubmitOnReturn.onSubmitted: finance.addPayment()
        Keys.onReturnPressed: finance.addPayment()
        Keys.onEnterPressed: finance.addPayment()

        Connections {
            target: finance
            // Another project's history is entered at its first row.
            function onProjectIdChanged() {
                scroller.tabRow = 0
            }
        }

        // The history card's face behind its rows, drawn only over the stretch in sight (and a
        // margin past each edge, beyond its shadow), as a card as long as the history would cost
        // a texture of its whole length.
        Item {
            id: historyFace

            readonly property real cardTop: scroller.headerItem ? scroller.headerItem.y + scroller.headerItem.historyTop
                                                                : 0
            readonly property real cardBottom: scroller.footerItem ? scroller.footerItem.y + scroller.footerItem.cardBottom
                                                                   : cardTop
            // Moved in steps, so that scrolling redraws the shadow now and then only.
            readonly property real step: 256
            readonly property real from: Math.max(cardTop, Math.floor((scroller.contentY - 64) / step) * step)
            readonly property real to: Math.min(cardBottom,
                                                Math.ceil((scroller.contentY + scroller.height + 64) / step) * step)

            objectName: "historyCard"
            // Among the rows, beneath them: a list keeps its own children beside its content.
            parent: scroller.contentItem
            z: -1
            x: view.columnX
            y: from
            width: view.columnWidth
            height: Math.max(0, to - from)
            visible: to > from

            BoxShadow {
                anchors.fill: parent
                anchors.margins: -margin
                radius: AppTheme.cornerRadiusMedium
                blur: 12
                offsetY: 4
                color: AppTheme.cardShadow
            }
            Rectangle {
                anchors.fill: parent
                radius: AppTheme.cornerRadiusMedium
                color: AppTheme.cardBackground
                border.width: 1
                border.color: AppTheme.border
            }
        }

        header: Item {
            id: page

            readonly property Item amountInput: amountField.input
            // Where the history card begins.
            readonly property real historyTop: column.y + historyTitle.y - 16
            // The form's last control, where Shift+Tab from the first row goes.
            function lastControl() {
                return addButton.enabled ? addButton : noteField.input
            }

            width: scroller.width
            implicitHeight: column.y + column.implicitHeight + (scroller.count > 0 ? scroller.spacing : 0)

            // The cards grow as the figures come in, and a list's header grows upwards: a page at
            // its top stays at its top; one scrolled further keeps what it shows.
            property real previousHeight: 0
            onHeightChanged: {
                const top = page.y + page.height - page.previousHeight
                if (!scroller.moving && scroller.contentY <= top + 0.5)
                    Qt.callLater(scroller.positionViewAtBeginning)
                page.previousHeight = page.height
            }

            // Tab past the form's last control goes into the history.
            Keys.onTabPressed: event => {
                const focused = view.Window.activeFocusItem
                const next = focused !== null ? focused.nextItemInFocusChain(true) : null
                event.accepted = next !== null && !FocusLanding.holds(page, next) && view.tabIntoHistory()
            }

            ColumnLayout {
                id: column

                x: view.columnX
                y: 20
                width: view.columnWidth
                spacing: 16

                AppCard {
                    objectName: "summaryCard"
                    Layout.fillWidth: true
                    inset: 16
                    spacing: 12

                    CardHeader {
                        text: "Сводка сметы"
                        systemImage: "chart.bar.fill"
                    }
                    SummaryRow {
                        visible: finance.hasAnalytics
                        title: "План (часы)"
                        value: finance.plannedHoursText
                    }
                    SummaryRow {
                        visible: finance.hasAnalytics
                        title: "План (сумма)"
                        value: finance.plannedCostText
                    }
                    SummaryRow {
                        visible: finance.hasAnalytics
                        title: "Оплачено"
                        value: finance.paidText
                    }
                    Rectangle {
                        visible: finance.hasAiSnapshot
                        Layout.fillWidth: true
                        implicitHeight: 1
                        color: AppTheme.border
                    }
                    RowLayout {
                        objectName: "aiBlock"
                        visible: finance.hasAiSnapshot
                        Layout.fillWidth: true
                        spacing: 8

                        AppIcon {
                            Layout.alignment: Qt.AlignTop
                            name: "sparkles"
                            color: AppTheme.accent
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 4

                            // Read as the rest of the card is: each text as it shows.
                            Text {
                                objectName: "aiTitle"
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                text: "Последний ИИ-снимок"
                                textFormat: Text.PlainText
                                font: Typography.font(Typography.Caption, Font.DemiBold)
                                color: AppTheme.deepBlack
                            }
                            Text {
                                objectName: "aiCost"
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                Layout.fillWidth: true
                                text: finance.aiSnapshotCostText
                                textFormat: Text.PlainText
                                wrapMode: Text.WrapAnywhere
                                font: Typography.font(Typography.Subheadline, Font.DemiBold)
                                color: AppTheme.deepBlack
                            }
                            Text {
                                objectName: "aiPreview"
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                visible: finance.hasAiPreview
                                Layout.fillWidth: true
                                text: finance.aiPreview
                                textFormat: Text.PlainText
                                wrapMode: Text.Wrap
                                maximumLineCount: 2
                                elide: Text.ElideRight
                                font: Typography.font(Typography.Caption)
                                color: AppTheme.textSecondary
                            }
                            Text {
                                objectName: "aiDelta"
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                visible: finance.hasDelta
                                Layout.fillWidth: true
                                text: finance.deltaText
                                textFormat: Text.PlainText
                                wrapMode: Text.Wrap
                                font: Typography.font(Typography.Caption)
                                color: AppTheme.textSecondary
                            }
                        }
                    }
                }

                AppCard {
                    objectName: "newPaymentCard"
                    Layout.fillWidth: true
                    inset: 16
                    spacing: 12

                    CardHeader {
                        text: "Новый платёж"
                        systemImage: "plus.circle.fill"
                    }
                    AppTextField {
                        id: amountField
                        objectName: "amountField"
                        Layout.fillWidth: true
                        title: "Сумма"
                        systemImage: "rublesign.circle"
                        text: finance.amountText
                        error: finance.amountError
                        onTextEdited: finance.amountText = text
                    }
                    Text {
                        text: "Статус"
                        textFormat: Text.PlainText
                        font: Typography.font(Typography.Subheadline, Font.Medium)
                        color: AppTheme.textSecondary
                    }
                    AppSegmentedControl {
                        objectName: "newPaymentStatus"
                        Layout.fillWidth: true
                        options: finance.statusOptions
                        selection: finance.paymentStatus
                        onActivated: value => finance.paymentStatus = value
                    }
                    PaymentDateField {
                        Layout.fillWidth: true
                        title: "Дата"
                        dateText: finance.paidDateText
                        year: finance.paidYear
                        monthIndex: finance.paidMonthIndex
                        day: finance.paidDay
                        onPicked: (year, monthIndex, day) => finance.setPaidDay(year, monthIndex, day)
                    }
                    AppTextField {
                        objectName: "methodField"
                        Layout.fillWidth: true
                        title: "Способ"
                        systemImage: "building.columns"
                        text: finance.method
                        onTextEdited: finance.method = text
                    }
                    AppTextField {
                        id: noteField
                        objectName: "noteField"
                        Layout.fillWidth: true
                        title: "Заметка"
                        systemImage: "note.text"
                        text: finance.note
                        onTextEdited: finance.note = text
                    }
                    PrimaryButton {
                        id: addButton
                        objectName: "addPaymentButton"
                        Layout.fillWidth: true
                        text: "Добавить платёж"
                        enabled: finance.amountReadable && !finance.isAdding
                        onClicked: finance.addPayment()
                    }
                }

                // The history card's top: its title, or the word that it is empty. Its rows are
                // the list's, its face is historyFace.
                ColumnLayout {
                    id: historyTitle

                    Layout.fillWidth: true
                    Layout.leftMargin: 16
                    Layout.rightMargin: 16
                    Layout.topMargin: 16
                    spacing: 12

                    CardHeader {
                        objectName: "historyHeader"
                        text: finance.historyTitle
                        systemImage: "list.bullet.rectangle"
                    }
                    Text {
                        objectName: "historyEmpty"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        visible: scroller.count === 0
                        text: "Платежей пока нет"
                        textFormat: Text.PlainText
                        font: Typography.font(Typography.Body)
                        color: AppTheme.textSecondary
                    }
                }
            }
        }

        delegate: FocusScope {
            id: row

            required property int index
            required property string paymentId
            required property string amountText
            required property string status
            required property string statusLabel
            required property string note
            required property bool hasNote
            required property string spokenDetails
            readonly property alias deleteButton: deleteButton
            readonly property alias statusControl: rowStatus
            // A row waiting in the list's pool keeps the index it last had: no Tab stop.
            property bool pooled: false
            // Only the row Tab enters the history at is in the window's Tab chain.
            readonly property bool tabStop: !pooled && index === Math.min(scroller.tabRow, scroller.count - 1)

            // The status segment the keyboard stops at.
            function statusStop() {
                return rowStatus.tabStop()
            }

            objectName: "paymentRow-" + index
            x: view.columnX + 16
            width: view.columnWidth - 32
            implicitHeight: entry.implicitHeight
            // The amount, its status and note as one entry of the history.
            Accessible.role: Accessible.ListItem
            Accessible.name: amountText
            Accessible.description: spokenDetails

            onActiveFocusChanged: if (activeFocus) scroller.tabRow = index
            ListView.onPooled: pooled = true
            ListView.onReused: {
                pooled = false
                rowStatus.selection = Qt.binding(() => row.status)
            }
            // Tab from the status to the delete button, and Shift+Tab from the status to the row
            // before (the list's own chain holds its rows in the order it made them).
            Keys.onTabPressed: event => {
                if (event.modifiers & Qt.ShiftModifier)
                    event.accepted = view.tabFromRow(row, false)
                else
                    deleteButton.forceActiveFocus(Qt.TabFocusReason)
            }
            Keys.onBacktabPressed: event => event.accepted = view.tabFromRow(row, false)
            Keys.onPressed: event => event.accepted = view.pageFromRow(row, event)

            ColumnLayout {
                id: entry

                width: parent.width
                spacing: 8

                RowLayout {
                    Layout.fillWidth: true

                    Text {
                        Layout.fillWidth: true
                        // The room beside the chip, however long the amount.
                        Layout.preferredWidth: 0
                        text: row.amountText
                        textFormat: Text.PlainText
                        font: Typography.font(Typography.Headline)
                        color: AppTheme.deepBlack
                        elide: Text.ElideRight
                    }
                    PaymentStatusChip {
                        status: row.status
                        label: row.statusLabel
                    }
                }
                AppSegmentedControl {
                    id: rowStatus

                    objectName: "rowStatus"
                    Layout.fillWidth: true
                    inTabChain: row.tabStop
                    keysFirstTo: [row]
                    options: finance.statusOptions
                    selection: row.status
                    onActivated: value => finance.setStatusOf(row.paymentId, value)

                    // A press moves the picker at once; the reload that follows puts it
                    // back to what the backend holds.
                    Connections {
                        target: finance
                        function onIsLoadingChanged() {
                            if (!finance.isLoading)
                                rowStatus.selection = Qt.binding(() => row.status)
                        }
                    }
                }
                Text {
                    objectName: "paymentNote"
                    visible: row.hasNote
                    Layout.fillWidth: true
                    text: row.note
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: Typography.font(Typography.Caption)
                    color: AppTheme.textSecondary
                }
                SecondaryButton {
                    id: deleteButton

                    objectName: "deleteButton"
                    Layout.alignment: Qt.AlignRight
                    focusPolicy: row.tabStop || activeFocus ? Qt.StrongFocus : Qt.ClickFocus
                    // On to the next row, or past the last one out of the list.
                    Keys.onTabPressed: event => {
                        if (event.modifiers & Qt.ShiftModifier)
                            row.statusStop().forceActiveFocus(Qt.BacktabFocusReason)
                        else
                            event.accepted = view.tabFromRow(row, true)
                    }
                    Keys.onBacktabPressed: row.statusStop().forceActiveFocus(Qt.BacktabFocusReason)
                    text: "Удалить"
                    systemImage: "trash"
                    color: AppTheme.error
                    font: Typography.font(Typography.Caption, Font.Medium)
                    onClicked: finance.deletePayment(row.paymentId)
                }
                Rectangle {
                    objectName: "divider"
                    visible: row.index < scroller.count - 1
                    Layout.fillWidth: true
                    implicitHeight: 1
                    color: AppTheme.border
                }
            }
        }

        footer: Item {
            // Where the history card ends.
            readonly property real cardBottom: 16

            width: scroller.width
            implicitHeight: errorLine.visible ? errorLine.y + errorLine.implicitHeight + 20 : cardBottom + 20

            AlertText {
                id: errorLine

                objectName: "errorLine"
                x: view.columnX
                y: parent.cardBottom + 16
                width: view.columnWidth
                shown: finance.hasErrorMessage && finance.errorMessage !== ""
                text: finance.errorMessage
                font: Typography.font(Typography.Subheadline)
            }
        }
    }

    // In place of the cards while the payments reload, at the top of what the view shows; the
    // error line, if any, under it.
    Column {
        id: loadingState

        objectName: "loadingState"
        x: view.columnX
        y: scroller.y + Math.max(0, (scroller.headerItem ? scroller.headerItem.y : scroller.originY) - scroller.contentY + 20)
        width: view.columnWidth
        visible: finance.isLoading
        spacing: 16

        Item {
            width: parent.width
            height: 120

            Row {
                anchors.centerIn: parent
                spacing: 10

                BusyIndicator {
                    palette.dark: AppTheme.textSecondary
                    palette.text: AppTheme.textSecondary
                    anchors.verticalCenter: parent.verticalCenter
                    implicitWidth: 28
                    implicitHeight: 28
                    running: finance.isLoading
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Загрузка…"
                    textFormat: Text.PlainText
                    font: Typography.font(Typography.Subheadline)
                    color: AppTheme.textSecondary
                }
            }
        }
        AlertText {
            objectName: "loadingErrorLine"
            width: parent.width
            shown: finance.isLoading && finance.hasErrorMessage && finance.errorMessage !== ""
            text: finance.errorMessage
            font: Typography.font(Typography.Subheadline)
        }
    }
}
