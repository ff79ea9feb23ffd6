import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Projects
import Tessmark.Services

// The list column of the projects section: a tree of roots and iterations when signed in, cards
// for a guest; searched, refreshed, created into and deleted from. The selection is shared with
// the window through `selectedProjectId` ("" for none).
Rectangle {
    id: projectsView

    objectName: "projectsList"

    required property ProjectsService projectsService
    property string selectedProjectId: ""
    required property bool isGuest
    // Whether iteration rows offer "Платежи" (openFinance).
    property bool offersFinance: true
    property bool showCreateSheet: false
    readonly property ProjectsListViewModel viewModel: listModel

    signal openFinance(string projectId)

    function openCreateSheet() {
        showCreateSheet = true
    }

    // Where the keyboard starts in the list: its rows (the row the keys stand on brought into view:
    // the selected one, or the one that took the keys from a deleted one), or the action shown in
    // their place; none while it loads.
    function firstControl() {
        const state = listModel.contentState
        const view = state === "tree" ? treeList : state === "cards" ? cardGrid : null
        // Positioned only once laid out: this Qt's table fails on a table not yet built.
        if (view !== null && listModel.currentIndex >= 0 && view.contentItem.children.length > 0)
            view.positionViewAtIndex(listModel.currentIndex, ListView.Contain)
        return view ?? (state === "empty" ? emptyCreateButton
                                          : state === "error" ? errorRetryButton
                                                              : state === "noResults" ? searchInput : null)
    }
    // The keyboard goes to what the list shows; nowhere while it loads.
    function focusContent() {
        const target = projectsView.firstControl()
        if (target === null)
            return false
        FocusLanding.land(target)
        return true
    }

    // The selected row comes wholly into view when the selection changes (a project just made,
    // one chosen elsewhere) and when the list shows again: once the list shows and has built its
    // rows, and again while the rows above it settle (their heights change as they are made),
    // until the person moves the list or its keys.
    property bool revealWanted: false
    property bool keepsSelection: false
    function revealSelection() {
        projectsView.revealWanted = true
        treeBar.keepsEnd = false
        cardsBar.keepsEnd = false
        Qt.callLater(projectsView.placeSelection)
    }
    function placeSelection() {
        if (!projectsView.revealWanted && !projectsView.keepsSelection)
            return
        const state = listModel.contentState
        const view = state === "tree" ? treeList : state === "cards" ? cardGrid : null
        // Positioned only once laid out: this Qt's table fails on a table not yet built.
        if (view === null || !projectsView.visible || view.height <= 0 || view.contentItem.children.length === 0)
            return
        const index = listModel.selectedIndex
        projectsView.revealWanted = false
        projectsView.keepsSelection = index >= 0
        if (index < 0)
            return
        let row = view.itemAtIndex(index)
        let top = row !== null ? row.mapToItem(view, 0, 0).y : -1
        if (row === null || top < 0 || top + row.height > view.height) {
            view.positionViewAtIndex(index, ListView.Contain)
            row = view.itemAtIndex(index)
            if (row === null)
                return
            top = row.mapToItem(view, 0, 0).y
        }
        // With room for the selection's ring, as far as the list's margins go.
        const ring = 6
        const bottom = top + row.height
        const first = view.originY - view.topMargin
        const last = Math.max(first, view.originY + view.contentHeight + view.bottomMargin - view.height)
        if (top < ring)
            view.contentY = Math.max(first, view.contentY - (ring - top))
        else if (bottom > view.height - ring)
            view.contentY = Math.min(last, view.contentY + bottom - (view.height - ring))
    }
    onVisibleChanged: if (visible) projectsView.revealSelection()
    Connections {
        target: listModel
        function onSelectedProjectIdChanged() { projectsView.revealSelection() }
    }

    // The same once the list has loaded, unless the keyboard was put somewhere meanwhile.
    property bool focusWanted: false
    function takeFocus() {
        projectsView.focusWanted = true
        projectsView.landWantedFocus()
        // The keys that have no control wait on the list while it loads.
        const current = projectsView.Window.activeFocusItem
        if (projectsView.focusWanted && (current === null || !current.activeFocusOnTab))
            FocusLanding.park(projectsView)
    }
    function landWantedFocus() {
        if (!projectsView.focusWanted)
            return
        // A control the person went to meanwhile (or the tour's card) keeps the keyboard.
        const current = projectsView.Window.activeFocusItem
        if (current !== null && current.activeFocusOnTab && current.visible && current.enabled)
            projectsView.focusWanted = false
        else if (projectsView.focusContent())
            projectsView.focusWanted = false
    }
    Connections {
        target: listModel
        function onContentChanged() {
            Qt.callLater(projectsView.landWantedFocus)
            Qt.callLater(projectsView.placeSelection)
        }
    }

    function focusSearch() {
        searchInput.forceActiveFocus()
        searchInput.selectAll()
    }

    // The context menu of a row or card, at the item given, named by the project it is for.
    function openMenu(item, projectId, title, offersFinance, deleteTitle, x, y) {
        const entries = []
        if (offersFinance)
            entries.push({ kind: "finance", text: "Платежи", systemImage: "creditcard" })
        if (deleteTitle !== "")
            entries.push({ kind: "delete", text: deleteTitle, systemImage: "" })
        // A menu without entries never opens.
        if (entries.length === 0)
            return
        rowMenu.projectId = projectId
        rowMenu.title = title
        rowMenu.entries = entries
        rowMenu.popup(item, x, y)
    }

    // The arrows move the keyboard over the rows and keep it in view; Return or Space opens. The
    // view is the keys' from then on: kept on the selection too, it would be pulled between both.
    function moveCurrent(delta) {
        projectsView.keepsSelection = false
        treeBar.keepsEnd = false
        cardsBar.keepsEnd = false
        listModel.moveCurrent(delta)
        const view = projectsView.isGuest ? cardGrid : treeList
        if (listModel.currentIndex >= 0)
            view.positionViewAtIndex(listModel.currentIndex, ListView.Contain)
    }

    // Home, End, Page Up and Page Down move the keyboard as the arrows do: to the first or the
    // last row or card, or a page away. The last one is shown at the list's end, which a long
    // list finds only as it makes its last rows.
    function pageKey(event, paging, count, bar) {
        const row = paging.rowFor(event, listModel.currentIndex, count)
        if (row < 0)
            return false
        projectsView.moveCurrent(row - listModel.currentIndex)
        if (row === count - 1)
            bar.keepEnd()
        return true
    }

    // The menu of the row or card the keyboard stands on.
    function openCurrentMenu() {
        const view = projectsView.isGuest ? cardGrid : treeList
        const at = listModel.currentIndex
        const item = at >= 0 ? view.itemAtIndex(at) : null
        if (item !== null)
            item.menuRequested(item.width / 2, item.height / 2)
    }

    color: AppTheme.background
    implicitWidth: AdaptiveMetrics.width < 1100 ? 300 : 340
    implicitHeight: 400

    ProjectsListViewModel {
        id: listModel

        projectsService: projectsView.projectsService
        isGuest: projectsView.isGuest
        offersFinance: projectsView.offersFinance
        listWidth: projectsView.width
        windowWidth: projectsView.AdaptiveMetrics.width
        isCompact: projectsView.AdaptiveMetrics.isCompact
        searchText: searchInput.text
        onSelectedProjectIdChanged: projectsView.selectedProjectId = listModel.selectedProjectId
        onDeleteRequested: deleteDialog.open()
    }
    Binding {
        target: listModel
        property: "selectedProjectId"
        value: projectsView.selectedProjectId
    }
    // After the window's initial selection has arrived (it is an initial value, not a change),
    // and after the window's next frame, which never waits for the list.
    Component.onCompleted: Qt.callLater(() => listModel.appearAfterFrame(projectsView.Window.window))

    Shortcut {
        sequence: "Ctrl+N"
        onActivated: projectsView.openCreateSheet()
    }
    Shortcut {
        sequence: StandardKey.Find
        onActivated: projectsView.focusSearch()
    }
    Shortcut {
        sequences: ["F5", "Ctrl+R"]
        enabled: !listModel.isLoading
        onActivated: listModel.refresh()
    }

    Text {
        id: heading

        x: 20
        y: 16
        text: "Проекты"
        font: Typography.font(Typography.Title2, Font.Bold)
        color: AppTheme.deepBlack
    }
    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.verticalCenter: heading.verticalCenter
        spacing: 16

        SecondaryButton {
            objectName: "refreshButton"
            anchors.verticalCenter: parent.verticalCenter
            systemImage: "arrow.clockwise"
            enabled: !listModel.isLoading
            Accessible.name: "Обновить"
            onClicked: listModel.refresh()
        }
        SecondaryButton {
            objectName: "createButton"
            anchors.verticalCenter: parent.verticalCenter
            systemImage: "plus"
            text: "Создать"
            onClicked: projectsView.openCreateSheet()
        }
    }

    Rectangle {
        id: searchField

        objectName: "projectsSearchField"
        x: 16
        y: heading.y + heading.height + 12
        width: projectsView.width - 32
        height: 36
        radius: 10
        color: AppTheme.fieldBackground
        border.width: 1
        border.color: AppTheme.border

        FocusRing {
            anchors.margins: 0
            radius: parent.radius
            shown: searchInput.activeFocus
        }

        AppIcon {
            id: searchIcon

            x: 10
            anchors.verticalCenter: parent.verticalCenter
            name: "magnifyingglass"
            size: 18
        }
        TextInput {
            id: searchInput

            objectName: "projectsSearchInput"
            anchors.left: searchIcon.right
            anchors.leftMargin: 8
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            clip: true
            font: Typography.font(Typography.Body)
            color: AppTheme.deepBlack
            selectionColor: AppTheme.withOpacity(AppTheme.accent, 0.35)
            selectedTextColor: AppTheme.deepBlack
            activeFocusOnTab: true
            Accessible.role: Accessible.EditableText
            Accessible.name: "Поиск по названию"
            Accessible.searchEdit: true
            SelectAllOnFocus {}
            OneLinePaste {}
            // Down, as Tab, goes to the first result (or the selection, when the search shows it).
            Keys.onDownPressed: (projectsView.isGuest ? cardGrid : treeList).forceActiveFocus(Qt.TabFocusReason)
            Keys.onEscapePressed: event => {
                event.accepted = text !== ""
                text = ""
            }

            Text {
                anchors.fill: parent
                visible: searchInput.text === ""
                text: "Поиск по названию"
                color: AppTheme.textSecondary
                font: searchInput.font
                elide: Text.ElideRight
            }
        }
    }

    Rectangle {
        id: notice

        objectName: "projectsListNotice"
        x: 16
        y: searchField.y + searchField.height + 10
        width: projectsView.width - 32
        height: visible ? Math.max(noticeText.implicitHeight, retryButton.implicitHeight) + 24 : 0
        visible: listModel.hasBanner
        radius: 10
        color: AppTheme.withOpacity(AppTheme.accent, 0.12)

        AppIcon {
            id: noticeIcon

            x: 12
            y: 12
            name: "exclamationmark.triangle.fill"
            color: AppTheme.warning
        }
        AlertText {
            id: noticeText

            objectName: "projectsListNoticeText"
            // A failed load, creation or deletion: spoken as it shows, with its words. A failed
            // save is spoken by its editor: here it is read as text.
            Accessible.role: listModel.bannerSpeaks ? Accessible.AlertMessage : Accessible.StaticText
            anchors.left: noticeIcon.right
            anchors.leftMargin: 8
            anchors.right: retryButton.left
            anchors.rightMargin: 8
            y: 12
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            text: listModel.bannerMessage
            color: AppTheme.deepBlack
            font: Typography.font(Typography.Subheadline)
        }
        SecondaryButton {
            id: retryButton

            objectName: "bannerRetryButton"
            anchors.right: parent.right
            anchors.rightMargin: 12
            y: 12
            text: "Повторить"
            font: Typography.font(Typography.Subheadline)
            onClicked: listModel.refresh()
        }
    }

    Item {
        id: content

        anchors.top: notice.visible ? notice.bottom : searchField.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom

        Column {
            objectName: "projectsLoading"
            anchors.centerIn: parent
            visible: listModel.contentState === "loading"
            spacing: 12

            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                running: parent.visible
            }
            Text {
                text: "Загрузка проектов…"
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Subheadline)
            }
        }

        EmptyStateView {
            objectName: "projectsError"
            anchors.fill: parent
            visible: listModel.contentState === "error"
            systemImage: "wifi.exclamationmark"
            title: "Ошибка сети"
            description: listModel.errorMessage
            describesError: true

            PrimaryButton {
                id: errorRetryButton
                objectName: "errorRetryButton"
                text: "Повторить"
                onClicked: listModel.refresh()
            }
        }

        EmptyStateView {
            objectName: "projectsEmpty"
            anchors.fill: parent
            visible: listModel.contentState === "empty"
            systemImage: "folder"
            title: "Нет проектов"
            description: listModel.emptyDescription

            PrimaryButton {
                id: emptyCreateButton
                objectName: "emptyCreateButton"
                text: "Создать проект"
                onClicked: projectsView.openCreateSheet()
            }
        }

        EmptyStateView {
            objectName: "projectsNoResults"
            anchors.fill: parent
            visible: listModel.contentState === "noResults"
            systemImage: "magnifyingglass"
            title: listModel.noResultsText
        }

        ListView {
            id: treeList

            objectName: "projectTree"
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.max(0, listModel.contentWidth - 2 * listModel.contentPadding)
            topMargin: 12
            bottomMargin: listModel.contentPadding
            visible: listModel.contentState === "tree"
            clip: true
            model: listModel.treeModel
            boundsBehavior: Flickable.StopAtBounds
            keyNavigationEnabled: false
            activeFocusOnTab: true
            // Set by FocusLanding: whether the focus it gives comes from a click.
            property alias focusFromPointer: treeFocus.fromPointer
            // The row the keyboard stands on holds the list's focus, for a reader too.
            currentIndex: listModel.currentIndex
            // The keys bring their row into view (moveCurrent); the view itself never runs after it.
            highlightFollowsCurrentItem: false
            Accessible.role: Accessible.Tree
            Accessible.name: "Проекты"
            onContentHeightChanged: Qt.callLater(projectsView.placeSelection)
            onOriginYChanged: Qt.callLater(projectsView.placeSelection)
            onMovementStarted: projectsView.keepsSelection = false
            // At the column's edge, where the other list's bar lies too: shown with its own list alone.
            ScrollBar.vertical: ListScrollBar {
                id: treeBar
                objectName: "projectTreeScrollBar"
                view: treeList
                parent: treeList.parent
                anchors.top: treeList.top
                anchors.bottom: treeList.bottom
                anchors.right: parent.right
                visible: treeList.visible
                onUsed: projectsView.keepsSelection = false
            }

            Keys.onUpPressed: projectsView.moveCurrent(-1)
            Keys.onDownPressed: projectsView.moveCurrent(1)
            Keys.onLeftPressed: listModel.expandCurrent(false)
            Keys.onRightPressed: listModel.expandCurrent(true)
            Keys.onReturnPressed: listModel.activateCurrent()
            Keys.onEnterPressed: listModel.activateCurrent()
            Keys.onSpacePressed: listModel.activateCurrent()
            Keys.onDeletePressed: listModel.requestDeleteCurrent()
            Keys.onPressed: event => {
                if (event.key === Qt.Key_Menu) {
                    projectsView.openCurrentMenu()
                    event.accepted = true
                } else {
                    event.accepted = projectsView.pageKey(event, treePaging, treeList.count, treeBar)
                }
            }
            ListPageKeys {
                id: treePaging
                view: treeList
            }

            delegate: ProjectTreeRowView {
                id: treeRow

                width: treeList.width
                viewModel: listModel
                isCurrent: treeRow.ListView.isCurrentItem
                focus: isCurrent
                keyboardFocused: treeFocus.showsRing
                onPressed: treeFocus.takeByPointer()
                onMenuRequested: (x, y) => projectsView.openMenu(treeRow, treeRow.projectId, treeRow.title,
                                                                 treeRow.offersFinance, treeRow.deleteTitle, x, y)
            }
        }

        ListKeyboardFocus {
            id: treeFocus
            target: treeList
        }
        ListKeyboardFocus {
            id: cardFocus
            target: cardGrid
        }

        // A table of cards, so that each row of the grid is as tall as its tallest card.
        TableView {
            id: cardGrid

            readonly property real cellWidth: listModel.cardWidth + 12

            // The list's index of a card to its cell, for the keys and the context menu.
            function itemAtIndex(index) {
                return index < 0 ? null : cardGrid.itemAtCell(gridModel.cellOf(index))
            }
            function positionViewAtIndex(index, mode) {
                if (index < 0)
                    return
                const cell = gridModel.cellOf(index)
                if (mode !== ListView.Beginning && mode !== ListView.End) {
                    cardGrid.positionViewAtCell(cell, TableView.Contain)
                    return
                }
                // At an edge: the rows that come into view are made now, for the keys to count.
                cardGrid.positionViewAtRow(cell.y, mode === ListView.Beginning ? TableView.AlignTop
                                                                              : TableView.AlignBottom)
                cardGrid.forceLayout()
            }

            objectName: "projectCards"
            // The keys' card comes into view at once, as the tree's row does.
            animate: false
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.horizontalCenter: parent.horizontalCenter
            width: listModel.cardColumns * cellWidth
            topMargin: 12
            bottomMargin: listModel.contentPadding
            visible: listModel.contentState === "cards"
            clip: true
            columnWidthProvider: () => cardGrid.cellWidth
            // A card found by its project is the one drawn for it, never one waiting in the pool.
            reuseItems: false
            model: ProjectCardGridModel {
                id: gridModel
                source: listModel.cardsModel
                columns: listModel.cardColumns
            }
            boundsBehavior: Flickable.StopAtBounds
            keyNavigationEnabled: false
            activeFocusOnTab: true
            property alias focusFromPointer: cardFocus.fromPointer
            Accessible.role: Accessible.List
            Accessible.name: "Проекты"
            onContentHeightChanged: Qt.callLater(projectsView.placeSelection)
            onOriginYChanged: Qt.callLater(projectsView.placeSelection)
            onMovementStarted: projectsView.keepsSelection = false
            // At the column's edge, where the other list's bar lies too: shown with its own list alone.
            ScrollBar.vertical: ListScrollBar {
                id: cardsBar
                objectName: "projectCardsScrollBar"
                view: cardGrid
                parent: cardGrid.parent
                anchors.top: cardGrid.top
                anchors.bottom: cardGrid.bottom
                anchors.right: parent.right
                visible: cardGrid.visible
                onUsed: projectsView.keepsSelection = false
            }

            Keys.onUpPressed: projectsView.moveCurrent(-listModel.cardColumns)
            Keys.onDownPressed: projectsView.moveCurrent(listModel.cardColumns)
            Keys.onLeftPressed: projectsView.moveCurrent(-1)
            Keys.onRightPressed: projectsView.moveCurrent(1)
            Keys.onReturnPressed: listModel.activateCurrent()
            Keys.onEnterPressed: listModel.activateCurrent()
            Keys.onSpacePressed: listModel.activateCurrent()
            Keys.onDeletePressed: listModel.requestDeleteCurrent()
            Keys.onPressed: event => {
                if (event.key === Qt.Key_Menu) {
                    projectsView.openCurrentMenu()
                    event.accepted = true
                } else {
                    event.accepted = projectsView.pageKey(event, cardPaging, listModel.cardsModel.count, cardsBar)
                }
            }
            ListPageKeys {
                id: cardPaging
                view: cardGrid
                columns: listModel.cardColumns
            }

            delegate: ProjectCardView {
                id: card

                implicitWidth: cardGrid.cellWidth
                // The cells after the last card stay empty.
                visible: card.projectId !== ""
                // A name that wraps once the card has its width: the row measures again.
                onImplicitHeightChanged: Qt.callLater(cardGrid.forceLayout)
                isCurrent: card.projectId !== "" && card.projectId === listModel.currentProjectId
                listFocused: cardFocus.hasFocus
                keyboardFocused: cardFocus.showsRing
                onPressed: {
                    cardFocus.takeByPointer()
                    listModel.activate(card.projectId, "")
                }
                onMenuRequested: (x, y) => projectsView.openMenu(card, card.projectId, card.name, false, "Удалить",
                                                                 x, y)
            }
        }

        // The keyboard on a list with no row to stand on: the list itself shows the ring.
        FocusRing {
            objectName: "listFocusRing"
            anchors.fill: treeList.visible ? treeList : cardGrid
            anchors.margins: 1
            shown: listModel.currentIndex < 0 && (treeFocus.showsRing || cardFocus.showsRing)
        }
    }

    AppMenu {
        id: rowMenu

        objectName: "projectRowMenu"

        property string projectId: ""
        property var entries: []

        Instantiator {
            model: rowMenu.entries
            delegate: AppMenuItem {
                required property var modelData
                objectName: "rowMenuEntry-" + modelData.kind
                text: modelData.text
                systemImage: modelData.systemImage
                // Deleting is the destructive entry.
                destructive: modelData.kind === "delete"
                onTriggered: {
                    if (modelData.kind === "finance")
                        projectsView.openFinance(rowMenu.projectId)
                    else
                        listModel.requestDelete(rowMenu.projectId)
                }
            }
            onObjectAdded: (index, object) => rowMenu.insertItem(index, object)
            onObjectRemoved: (index, object) => rowMenu.removeItem(object)
        }
    }

    AppConfirmationDialog {
        id: deleteDialog

        objectName: "deleteDialog"
        title: listModel.deleteDialogTitle
        message: listModel.deleteDialogMessage
        buttons: [
            { text: listModel.deleteConfirmTitle, role: "destructive" },
            { text: "Отмена", role: "cancel" }
        ]
        onTriggered: index => {
            if (index === 0)
                listModel.confirmDelete()
            else
                listModel.cancelDelete()
            // The keyboard goes on in the list, with its ring only when the answer was a key.
            Qt.callLater(projectsView.focusContent)
        }
    }

    Loader {
        id: createSheetLoader

        active: projectsView.showCreateSheet
        sourceComponent: CreateProjectSheet {
            id: createSheet
            list: listModel
            // The loader goes inactive only once the closing sheet is done with. The keyboard goes
            // on at the new project, selected in the list.
            onClosed: {
                const made = createSheet.madeProject
                Qt.callLater(() => {
                    projectsView.showCreateSheet = false
                    if (made)
                        projectsView.focusContent()
                })
            }
        }
        onLoaded: item.open()
    }
}
