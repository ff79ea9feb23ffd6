import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Editor
import Tessmark.Features.Finance

// The editor's scrolling content: finance strip or guest notice, the iterations bar, the project
// fields, totals, the group-mode control, and the lines by section (or the empty state).
// Not a bound component file: Qt 6.4 creates section delegates outside their creation context.
ListView {
    id: list

    required property ProjectEditorScreenModel screen
    readonly property ProjectEditorViewModel editor: screen.editor
    // The row last opened in the form, to give the focus back to it; the line the form saved,
    // a new one included, takes it at its own card.
    property int lastOpenedRow: -1
    property string savedLineId: ""
    Connections {
        target: list.screen
        function onLineSaved(lineId) { list.savedLineId = lineId }
    }

    function focusLastOpened() {
        const row = list.savedLineId !== "" ? list.editor.sections.rowOfLine(list.savedLineId) : lastOpenedRow
        list.savedLineId = ""
        if (row < 0)
            return
        list.positionViewAtIndex(row, ListView.Contain)
        FocusLanding.landInView(list.itemAtIndex(row))
    }

    // The estimate's first field, the name, takes the keyboard.
    function focusFirstField() {
        if (list.headerItem) {
            list.positionViewAtBeginning()
            FocusLanding.land(list.headerItem.nameInput)
        }
    }

    // A save refused by the validation puts the keyboard on what stopped it: the name, or the line.
    Connections {
        target: list.editor
        function onValidationFailed(lineId) {
            const row = lineId !== "" ? list.editor.sections.rowOfLine(lineId) : -1
            if (row < 0) {
                list.focusFirstField()
                return
            }
            list.positionViewAtIndex(row, ListView.Contain)
            FocusLanding.land(list.itemAtIndex(row))
        }
    }

    // A regrouping (or a reload that moved lines) rebuilds the rows, which sends a list to its
    // top: what was first in view is noted before and put back where it was drawn. That is the
    // header while any of it shows (the group control stays under the pointer), else the first
    // line in view: by its identity across a regrouping, by its row across a reload.
    EditorScrollKeeper {
        id: keeper
    }
    function noteAnchor() {
        const head = list.headerItem
        if (head !== null && list.contentY < head.y + head.height) {
            keeper.noteHeader(head.y - list.contentY)
            return
        }
        keeper.forget()
        for (let y = 0; y < list.height; y += 4) {
            const card = list.itemAt(list.width / 2, list.contentY + y)
            if (card && card.lineId !== undefined) {
                keeper.noteLine(card.lineId, card.index, card.y - list.contentY)
                return
            }
        }
    }
    function restoreAnchor() {
        const onHeader = keeper.onHeader()
        const row = keeper.rowToRestore(list.editor.sections)
        if (!onHeader && row < 0)
            return
        list.forceLayout()
        if (onHeader) {
            list.contentY = keeper.contentYFor(list.headerItem.y)
        } else {
            list.positionViewAtIndex(row, ListView.Beginning)
            const card = list.itemAtIndex(row)
            if (card)
                list.contentY = keeper.contentYFor(card.y)
        }
        keeper.forget()
    }
    Connections {
        target: list.editor.sections
        function onModelAboutToBeReset() { list.noteAnchor() }
        function onModelReset() { Qt.callLater(list.restoreAnchor) }
    }

    objectName: "editorLines"
    clip: true
    reuseItems: true
    spacing: 8
    bottomMargin: 20
    boundsBehavior: Flickable.StopAtBounds
    keyNavigationEnabled: false
    // No current row: the view would keep the first line's card made wherever it scrolls, place
    // it anew by the estimated heights at each jump, and glide its (invisible) highlight after it
    // at 400 px a second, drawing frames for as long as a drag far down takes it to arrive.
    currentIndex: -1
    highlightFollowsCurrentItem: false
    model: editor.sections
    ScrollBar.vertical: ScrollBar {
        objectName: "editorScrollBar"
        Accessible.name: "Прокрутка: Смета"
    }
    OnboardingSpotlight.active: list.Onboarding.highlight === OnboardingHighlightTarget.editorTableOverview
    OnboardingSpotlight.highlight: OnboardingHighlightTarget.editorTableOverview

    header: Column {
        id: head
        readonly property Item nameInput: nameField.input
        width: list.width
        topPadding: 8
        bottomPadding: 8
        spacing: 0
        // The header grows as its texts wrap and the banner fills in, upwards: a list at its top
        // stays at its top; one scrolled below it keeps what it shows.
        property real previousHeight: 0
        onHeightChanged: {
            if (!list.moving && keeper.wasAtTop(list.contentY, head.y, head.height, head.previousHeight))
                Qt.callLater(list.positionViewAtBeginning)
            head.previousHeight = head.height
        }

        // Finance strip, or what a guest does not have.
        Item {
            width: head.width
            implicitHeight: (list.screen.isGuestSession ? guestNotice.implicitHeight : banner.implicitHeight) + 16

            ProjectFinanceBanner {
                id: banner
                objectName: "financeBanner"
                visible: !list.screen.isGuestSession
                x: 16
                y: 8
                width: head.width - 32
                analytics: list.screen.analytics
                currency: list.editor.currency
                isLoading: list.screen.analyticsLoading
                onOpenPayments: list.screen.showFinance = true
            }

            Rectangle {
                id: guestNotice
                objectName: "guestNotice"
                visible: list.screen.isGuestSession
                x: 16
                y: 8
                width: head.width - 32
                implicitHeight: noticeRow.implicitHeight + 24
                radius: 12
                color: AppTheme.withOpacity(AppTheme.accent, 0.08)

                RowLayout {
                    id: noticeRow
                    anchors.fill: parent
                    anchors.margins: 12
                    spacing: 10
                    AppIcon {
                        Layout.alignment: Qt.AlignTop
                        name: "internaldrive"
                        color: AppTheme.primary
                    }
                    Column {
                        Layout.fillWidth: true
                        spacing: 4
                        Text {
                            width: parent.width
                            text: "Локально на устройстве"
                            color: AppTheme.deepBlack
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                        }
                        Text {
                            width: parent.width
                            text: "Платежи и облачная аналитика недоступны без аккаунта. ИИ-смета отключена для гостя."
                            wrapMode: Text.Wrap
                            color: AppTheme.textSecondary
                            font: Typography.font(Typography.Caption)
                        }
                    }
                }
            }
        }

        // The bar of an iterative project.
        Item {
            width: head.width
            visible: list.screen.showsIterationsBar
            implicitHeight: visible ? iterationsBar.implicitHeight + 12 : 0

            Rectangle {
                id: iterationsBar
                objectName: "iterationsBar"
                x: 16
                y: 4
                width: head.width - 32
                implicitHeight: barColumn.implicitHeight + 28
                radius: AppTheme.cornerRadiusMedium
                color: AppTheme.cardBackground

                Column {
                    id: barColumn
                    x: 14
                    y: 14
                    width: parent.width - 28
                    spacing: 8
                    Row {
                        spacing: 6
                        AppIcon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "arrow.triangle.branch"
                            size: 15
                            color: AppTheme.primary
                        }
                        Text {
                            text: "Итеративный проект"
                            color: AppTheme.primary
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                        }
                    }
                    Text {
                        objectName: "currentIteration"
                        width: parent.width
                        visible: text !== ""
                        text: list.screen.currentIterationText
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        color: AppTheme.textSecondary
                        font: Typography.font(Typography.Subheadline)
                    }
                    Text {
                        width: parent.width
                        text: "Переключение и новые итерации — в списке «Проекты» (раскройте проект). ПКМ по итерации — платежи или удаление."
                        wrapMode: Text.Wrap
                        color: AppTheme.textSecondary
                        font: Typography.font(Typography.Caption)
                    }
                }
            }
        }

        // The project's fields, no wider than the column of the scrolling screens: a field across
        // a wide window is hard to read.
        Column {
            objectName: "editorFields"
            x: 16
            width: list.AdaptiveMetrics.placeholderMaxWidth < 0 ? head.width - 32
                   : Math.min(head.width - 32, list.AdaptiveMetrics.placeholderMaxWidth)
            topPadding: 8
            bottomPadding: 12
            spacing: 12

            Text {
                text: "Проект"
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Footnote, Font.DemiBold)
            }
            SpherePickerView {
                id: spheres
                width: parent.width
                selectedSphereId: list.screen.activeSphereId
                onSelectedSphereIdChanged: list.screen.activeSphereId = spheres.selectedSphereId
            }
            // Each field holds its whole text only while it is edited (AppTextField's value).
            AppTextField {
                id: nameField
                objectName: "nameField"
                width: parent.width
                title: "Название"
                systemImage: "doc.text"
                value: list.editor.name
                idleText: list.editor.shownName
                onTextEdited: list.editor.name = wholeText
            }
            AppTextField {
                objectName: "clientField"
                width: parent.width
                title: "Клиент"
                systemImage: "person.crop.circle"
                value: list.editor.clientName
                idleText: list.editor.shownClientName
                onTextEdited: list.editor.clientName = wholeText
            }
            AppSelect {
                objectName: "typeSelect"
                width: parent.width
                title: "Тип"
                options: list.screen.projectTypeOptions
                selection: list.editor.projectType
                onActivated: value => list.editor.projectType = value
            }
            AppSelect {
                objectName: "statusSelect"
                width: parent.width
                title: "Статус"
                options: list.editor.statusOptions
                selection: list.editor.status
                onActivated: value => list.editor.status = value
            }
            AppSelect {
                objectName: "currencySelect"
                width: parent.width
                title: "Валюта"
                options: list.screen.currencyOptions
                selection: list.editor.currency
                onActivated: value => list.editor.currency = value
            }
            AppTextField {
                id: rateField
                objectName: "defaultRateField"
                width: parent.width
                title: "Ставка по умолчанию"
                systemImage: "rublesign.circle"
                onTextEdited: list.editor.setDefaultRateFromText(text)
                // Typing is not rewritten; the rate's own text comes back when the field is left.
                Binding on text {
                    when: !rateField.input.activeFocus
                    value: list.editor.defaultRateText
                    restoreMode: Binding.RestoreNone
                }
            }
            SecondaryButton {
                objectName: "applyRateButton"
                text: "Применить ставку к незаблокированным"
                bordered: true
                onClicked: list.editor.applyDefaultRateToUnlocked()
            }
        }

        // Totals.
        Rectangle {
            x: 16
            width: head.width - 32
            implicitHeight: totals.implicitHeight + 20
            radius: 12
            color: AppTheme.cardBackground
            border.color: AppTheme.border

            Column {
                id: totals
                x: 14
                y: 10
                width: parent.width - 28
                spacing: 8
                Repeater {
                    model: [
                        { label: "Часы", icon: "clock", value: list.editor.totalHoursText, tint: AppTheme.primary, name: "totalHours" },
                        { label: "Сумма", icon: "rublesign.circle", value: list.editor.totalCostText, tint: AppTheme.accent, name: "totalCost" }
                    ]
                    delegate: RowLayout {
                        id: totalRow
                        required property var modelData
                        width: totals.width
                        spacing: 8
                        Accessible.role: Accessible.StaticText
                        Accessible.name: modelData.label
                        Accessible.description: modelData.value
                        AppIcon {
                            name: totalRow.modelData.icon
                            size: 15
                        }
                        Text {
                            Layout.fillWidth: true
                            Layout.minimumWidth: Math.ceil(implicitWidth)
                            text: totalRow.modelData.label
                            color: AppTheme.deepBlack
                            font: Typography.font(Typography.Body)
                        }
                        // A total of hundreds of digits wraps inside its box, flush right.
                        Text {
                            objectName: totalRow.modelData.name
                            Layout.fillWidth: true
                            Layout.maximumWidth: Math.ceil(implicitWidth)
                            text: totalRow.modelData.value
                            textFormat: Text.PlainText
                            wrapMode: Text.WrapAnywhere
                            horizontalAlignment: Text.AlignRight
                            color: totalRow.modelData.tint
                            font: Typography.font(Typography.Body, Font.DemiBold)
                        }
                    }
                }
            }
        }

        Item {
            width: 1
            height: 12
        }

        AppSegmentedControl {
            objectName: "groupModeControl"
            x: 16
            width: head.width - 32
            visible: list.editor.itemCount > 0
            options: list.editor.groupModeOptions
            selection: list.editor.groupMode
            onActivated: value => list.editor.groupMode = value
        }

        readonly property Item addLineButton: emptyAddLine

        EmptyStateView {
            objectName: "emptyEstimate"
            width: head.width
            visible: list.editor.itemCount === 0
            systemImage: "doc.text"
            title: "Смета пуста"
            description: "Добавьте строки вручную, шаблон или ИИ."

            SecondaryButton {
                id: emptyAddLine
                objectName: "emptyAddLine"
                text: "Добавить строку"
                systemImage: "plus"
                onClicked: list.screen.openNewItem()
            }
            SecondaryButton {
                objectName: "emptyAI"
                visible: !list.screen.isGuestSession
                text: "ИИ-смета"
                systemImage: "sparkles"
                onClicked: list.screen.showAI = true
            }
        }
    }

    section.property: "sectionId"
    section.delegate: Item {
        id: sectionHead
        // The view's own context property, not a required one: Qt 6.4 hands a cached header to
        // another section by that property only.
        readonly property string sectionId: section
        readonly property estimateSection info: {
            list.editor.sections.headerRevision
            return list.editor.sections.section(sectionHead.sectionId)
        }
        width: list.width
        implicitHeight: headRow.implicitHeight + 18
        // A section's title with its sums.
        Accessible.role: Accessible.StaticText
        Accessible.name: info.title
        Accessible.description: info.subtitle

        RowLayout {
            id: headRow
            x: 20
            y: 12
            width: parent.width - 40
            Text {
                objectName: "sectionTitle"
                Layout.fillWidth: true
                Layout.minimumWidth: Math.min(Math.ceil(implicitWidth), headRow.width / 2)
                text: sectionHead.info.title
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: AppTheme.primary
                font.capitalization: Font.AllUppercase
                font.pixelSize: Typography.font(Typography.Caption).pixelSize
                font.weight: Font.DemiBold
            }
            Text {
                Layout.fillWidth: true
                Layout.maximumWidth: Math.ceil(implicitWidth)
                text: sectionHead.info.subtitle
                textFormat: Text.PlainText
                elide: Text.ElideRight
                horizontalAlignment: Text.AlignRight
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Caption)
            }
        }
    }

    delegate: EstimateLineCard {
        id: card
        x: 16
        width: list.width - 32
        tabStop: card.activeFocus || card.index === Math.min(list.tabLine, list.count - 1)
        // Read for its change signal: the gap moves whenever the landing row does.
        gapShift: {
            lineDrag.toRow
            return lineDrag.shiftOf(card.index)
        }
        Behavior on gapShift {
            enabled: lineDrag.active
            NumberAnimation { duration: 120; easing.type: Easing.OutCubic }
        }
        onActiveFocusChanged: if (card.activeFocus) list.tabLine = card.index
        onEditRequested: {
            list.lastOpenedRow = card.index
            list.screen.editLine(card.lineId)
        }
        onDeleteRequested: list.deleteLine(card.lineId)
        onMenuRequested: list.openLineMenu(card.index, card, card.width / 2, card.height / 2, true)
        onDragStarted: {
            list.draggedCard = card
            lineDrag.begin(card.index, card.height + list.spacing)
        }
        onDragMoved: centerY => lineDrag.hover(list.indexAt(list.width / 2, centerY))
        onDropped: {
            list.draggedCard = null
            lineDrag.drop()
        }
        onDragCanceled: {
            list.draggedCard = null
            lineDrag.cancel()
        }
    }

    // The card being dragged by its grip. Cards stay built further out meanwhile, so that the
    // dragged one outlives the scroll; near an edge the list scrolls under the pointer.
    // The line Tab enters the list at: the last one the focus was on, the first at the start.
    property int tabLine: 0
    property EstimateLineCard draggedCard: null
    EditorLineDrag {
        id: lineDrag
        screen: list.screen
    }
    cacheBuffer: draggedCard ? height * 4 : 320
    onContentYChanged: {
        if (draggedCard)
            draggedCard.followPointer()
    }
    Timer {
        interval: 16
        repeat: true
        running: list.draggedCard !== null
        onTriggered: {
            const card = list.draggedCard
            keeper.autoScroll(list, list.mapFromItem(null, 0, card.pointerSceneY).y, card.y)
        }
    }

    // Deletes the line asked for from its card (the Delete key, its menu, its swipe), however it
    // was asked: the keyboard goes on along the lines, to the next line, else the one before (the
    // new last line), else the button that adds one. That is shown whole, with its ring when a
    // key deleted the line.
    function deleteLine(lineId) {
        const row = list.editor.sections.rowOfLine(lineId)
        if (row < 0)
            return
        const beside = list.editor.sections.rowBeside(row)
        // Before the deletion, so that the focus never leaves the lines.
        if (beside >= 0) {
            list.positionViewAtIndex(beside, ListView.Contain)
            FocusLanding.landInView(list.itemAtIndex(beside))
        }
        list.editor.deleteLine(lineId)
        if (beside < 0 && list.headerItem)
            FocusLanding.landInView(list.headerItem.addLineButton)
    }

    // One context menu for all cards: a right-click on a card, or the Menu key or Shift+F10 on
    // the focused one. The handler lives on the content item, which scrolls: the row is found from
    // the point in the scene, whatever item the position is relative to.
    function openLineMenu(row, at, x, y, byKeyboard) {
        const card = list.itemAtIndex(row)
        if (!card)
            return
        const window = list.Window.window
        lineMenu.lineId = card.lineId
        lineMenu.title = card.shownTitle
        lineMenu.focusBefore = window ? window.activeFocusItem : null
        // A card the keyboard is on gets the focus back, or hands it on when its line goes.
        lineMenu.focusRow = card.activeFocus ? row : -1
        lineMenu.byKeyboard = byKeyboard
        lineMenu.deleted = false
        lineMenu.popup(at, x, y)
    }
    // Gives the item the focus for that reason: one the focus came back to for another reason
    // (a closing popup hands it back quietly) shows its ring when the keyboard brought it.
    function focusWithReason(item, reason) {
        if (item.activeFocus && reason === Qt.TabFocusReason && !item.visualFocus)
            item.focus = false
        item.forceActiveFocus(reason)
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: point => {
            const at = list.contentItem.mapFromItem(null, point.scenePosition.x, point.scenePosition.y)
            const row = list.indexAt(at.x, at.y)
            if (row >= 0)
                list.openLineMenu(row, list.contentItem, at.x, at.y, false)
        }
    }
    AppMenu {
        id: lineMenu
        objectName: "lineMenu"
        property string lineId
        property Item focusBefore: null
        property int focusRow: -1
        property bool byKeyboard: false
        property bool deleted: false
        AppMenuItem {
            objectName: "lineMenuDelete"
            text: "Удалить"
            onTriggered: {
                lineMenu.deleted = true
                list.deleteLine(lineMenu.lineId)
            }
        }
        // The focus goes back where it was: to the card it was opened on, or where it stood
        // before a right-click. A deletion has put it on the line beside instead.
        onClosed: {
            const reason = lineMenu.byKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason
            const card = lineMenu.focusRow >= 0 ? list.itemAtIndex(lineMenu.focusRow) : null
            if (!lineMenu.deleted) {
                if (card)
                    list.focusWithReason(card, reason)
                else if (lineMenu.focusRow < 0 && lineMenu.focusBefore && lineMenu.focusBefore.visible)
                    lineMenu.focusBefore.forceActiveFocus(reason)
            }
            lineMenu.focusBefore = null
            lineMenu.focusRow = -1
        }
    }
}
