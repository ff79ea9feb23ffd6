pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Finance

// The payments of one project or iteration: the estimate's summary, a form for a new payment
// and the history, where a payment's status is changed or the payment deleted.
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
    readonly property Item amountInput: amountField.input

    // The header and the cards stand in one centred column, capped as the scrolling screens cap
    // theirs, so that the form's fields do not stretch across a wide window.
    readonly property real columnWidth: view.AdaptiveMetrics.placeholderMaxWidth < 0 ? view.width - 40
                                        : Math.min(view.width - 40, view.AdaptiveMetrics.placeholderMaxWidth)
    readonly property real columnX: (view.width - view.columnWidth) / 2

    // A payment was added, deleted or re-stated.
    signal paymentsChanged()

    // Reloads the payments. The keyboard in a payment's row comes back to the same control of
    // that payment once the history shows again.
    function reload() {
        const focused = view.Window.activeFocusItem
        for (let i = 0; focused !== null && i < history.count; ++i) {
            const entry = history.itemAt(i)
            const onStatus = entry !== null && FocusLanding.holds(entry.statusControl, focused)
            if (onStatus || (entry !== null && FocusLanding.holds(entry.deleteButton, focused))) {
                finance.refreshKeepingPlace(entry.paymentId, onStatus)
                return
            }
        }
        finance.refresh()
    }

    // While the payments reload, the cards are hidden: the keyboard waits on the view, not on a
    // hidden control that keys would still work. A control of the form gets it back once they
    // show; a payment's row, through keyboardPlaceShown.
    property Item parkedFocus: null
    function parkFocus() {
        const focused = view.Window.activeFocusItem
        if (focused === null || !FocusLanding.holds(column, focused))
            return
        view.parkedFocus = focused
        FocusLanding.park(scroller)
    }
    function unparkFocus() {
        // A call left over from the end of an earlier load, run after the next one began, keeps
        // the parked control for the end of that one.
        if (finance.isLoading)
            return
        const parked = view.parkedFocus
        view.parkedFocus = null
        if (parked !== null && parked.visible && view.Window.activeFocusItem === scroller)
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

    color: AppTheme.background

    ProjectFinanceModel {
        id: finance

        projectsService: view.projectsService
        projectId: view.projectId
        currency: view.currency
        onPaymentsChanged: view.paymentsChanged()
        // The next payment starts at its amount.
        onPaymentAdded: view.landUnlessElsewhere(amountField.input, null)
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
            const entry = row >= 0 ? history.itemAt(row) : null
            const target = entry === null ? amountField.input : onStatus ? entry.statusStop() : entry.deleteButton
            view.landUnlessElsewhere(target, historyCard)
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

    Flickable {
        id: scroller

        objectName: "financeScroll"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.topMargin: view.showsHeader ? 8 : 0
        anchors.bottom: parent.bottom
        // While the payments reload, the cards give way to the indicator: the content keeps the
        // cards' last height (until the cards are laid out again) and the indicator stands at the
        // top of the view, so that the view does not move and the cards come back where they stood.
        property real cardsHeight: 0

        clip: true
        contentWidth: width
        contentHeight: Math.max(column.implicitHeight, cardsHeight) + 40
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }

        // Return in a text field and the button's key are one action: the filter takes Return
        // from the fields, Keys takes it from anything else in the view.
        SubmitOnReturn.onSubmitted: finance.addPayment()
        Keys.onReturnPressed: finance.addPayment()
        Keys.onEnterPressed: finance.addPayment()

        ColumnLayout {
            id: column

            x: view.columnX
            y: 20
            width: view.columnWidth
            spacing: 16
            onImplicitHeightChanged: {
                if (!finance.isLoading)
                    scroller.cardsHeight = implicitHeight
            }

            Item {
                objectName: "loadingState"
                visible: finance.isLoading
                Layout.fillWidth: true
                Layout.preferredHeight: 120
                Layout.topMargin: Math.max(0, scroller.contentY - column.y)

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

            AppCard {
                objectName: "summaryCard"
                visible: !finance.isLoading
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
                visible: !finance.isLoading
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
                    objectName: "noteField"
                    Layout.fillWidth: true
                    title: "Заметка"
                    systemImage: "note.text"
                    text: finance.note
                    onTextEdited: finance.note = text
                }
                PrimaryButton {
                    objectName: "addPaymentButton"
                    Layout.fillWidth: true
                    text: "Добавить платёж"
                    enabled: finance.amountReadable && !finance.isAdding
                    onClicked: finance.addPayment()
                }
            }

            AppCard {
                id: historyCard

                objectName: "historyCard"
                visible: !finance.isLoading
                Layout.fillWidth: true
                inset: 16
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
                    visible: history.count === 0
                    text: "Платежей пока нет"
                    textFormat: Text.PlainText
                    font: Typography.font(Typography.Body)
                    color: AppTheme.textSecondary
                }
                Repeater {
                    id: history

                    model: finance.payments

                    ColumnLayout {
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

                        // The status segment the keyboard stops at.
                        function statusStop() {
                            return rowStatus.tabStop()
                        }

                        objectName: "paymentRow-" + index
                        Layout.fillWidth: true
                        // The amount, its status and note as one entry of the history.
                        Accessible.role: Accessible.ListItem
                        Accessible.name: amountText
                        Accessible.description: spokenDetails
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
                            text: "Удалить"
                            systemImage: "trash"
                            color: AppTheme.error
                            font: Typography.font(Typography.Caption, Font.Medium)
                            onClicked: finance.deletePayment(row.paymentId)
                        }
                        Rectangle {
                            objectName: "divider"
                            visible: row.index < history.count - 1
                            Layout.fillWidth: true
                            implicitHeight: 1
                            color: AppTheme.border
                        }
                    }
                }
            }

            AlertText {
                objectName: "errorLine"
                shown: finance.hasErrorMessage && finance.errorMessage !== ""
                Layout.fillWidth: true
                text: finance.errorMessage
                font: Typography.font(Typography.Subheadline)
            }
        }
    }
}
