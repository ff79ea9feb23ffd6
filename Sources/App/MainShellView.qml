import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services
import Tessmark.App

// The main window: sidebar, the section's list and the chosen item, with the guided tour over it.
Item {
    id: shell

    required property AuthService auth
    required property bool isGuest
    readonly property alias viewModel: shellModel

    MainShellViewModel {
        id: shellModel
        auth: shell.auth
        isGuest: shell.isGuest
    }

    // The lit elements below the content report their frames to the content's collector.
    Binding {
        target: shellModel.tour
        property: "frameSource"
        value: content.Onboarding
    }

    // The keyboard starts in the projects list once it has loaded, unless the tour holds it; and
    // goes on in the section the tour left shown once the tour ends.
    property bool focusListWhenShown: !shellModel.tour.running
    property bool tourWasRunning: false
    Component.onCompleted: tourWasRunning = shellModel.tour.running

    // Where the keys start in the section shown: the projects' rows at the selected one (folded
    // away, the list's button), else the first control of the section's list, of its detail, or
    // the section's row in the sidebar.
    function firstControl() {
        const list = listLoader.item
        if (shellModel.mainSection === "projects" && list !== null) {
            const rows = columns.contentFolded ? listButton : list.firstControl()
            if (rows !== null)
                return rows
        }
        return shell.firstIn(listLoader.item) ?? shell.firstIn(detailLoader.item) ?? shell.sectionRow()
    }
    function firstIn(area) {
        const next = area !== null && area.visible ? area.nextItemInFocusChain(true) : null
        return next !== null && FocusLanding.holds(area, next) ? next : null
    }
    function sectionRow() {
        for (let i = 0; i < sidebarRows.count; ++i) {
            if (sidebarRows.itemAt(i).isSelected)
                return sidebarRows.itemAt(i)
        }
        return null
    }
    function focusSection() {
        const list = listLoader.item
        // The rows still loading take the keys once they show.
        if (shellModel.mainSection === "projects" && list !== null && !columns.contentFolded && !list.focusContent())
            list.takeFocus()
        else
            FocusLanding.landInView(shell.firstControl())
    }
    // Where the window's keeper puts the keys that have no place.
    function focusFirstControl() {
        shell.focusSection()
    }
    // A section shown by any route (the sidebar, a menu, a pane's button) starts at its first
    // control; the tour keeps the keys on its card while it shows the sections.
    Connections {
        target: shellModel
        function onMainSectionChanged() {
            if (!shellModel.tour.running)
                Qt.callLater(shell.focusSection)
        }
    }
    Connections {
        target: shellModel.tour
        function onTourPreferencesChanged() {
            const running = shellModel.tour.running
            if (shell.tourWasRunning && !running)
                Qt.callLater(shell.focusSection)
            shell.tourWasRunning = running
        }
    }

    // The account's analytics page takes the width: the detail column keeps to its narrowest.
    readonly property bool dashboardWide: !shell.isGuest && shellModel.mainSection === "analytics"

    // The editor keeps its own minimum width; where the sidebar and the list leave it less, the
    // list folds into a rail whose button shows it over the editor.
    ShellColumns {
        id: columns
        width: shell.AdaptiveMetrics.width
        detailNeeds: shellModel.mainSection === "projects" && shellModel.selectedProjectId !== ""
                     ? columns.editorMinWidth : 0
        onContentFoldedChanged: listPanel.fold(contentFolded)
    }

    Rectangle {
        anchors.fill: parent
        color: AppTheme.background
    }

    Item {
        id: content
        anchors.fill: parent
        // Every view below reads the element the tour lights; lit elements report their frames here.
        Onboarding.highlight: shellModel.tour.currentHighlight
        Onboarding.collectsFrames: true

        SplitView {
            id: split
            anchors.fill: parent
            orientation: Qt.Horizontal
            palette.highlight: AppTheme.primary
            handle: Rectangle {
                implicitWidth: 1
                color: AppTheme.border
            }

            Item {
                id: sidebar
                objectName: "sidebar"
                SplitView.minimumWidth: columns.sidebarMinWidth
                SplitView.preferredWidth: columns.sidebarIdealWidth
                SplitView.maximumWidth: columns.sidebarMaxWidth
                OnboardingSpotlight.active: shellModel.tour.running
                                            && shellModel.tour.currentHighlight === OnboardingHighlightTarget.mainNavigation
                OnboardingSpotlight.highlight: OnboardingHighlightTarget.mainNavigation

                Rectangle {
                    anchors.fill: parent
                    color: AppTheme.paper
                }

                Column {
                    anchors.fill: parent
                    anchors.margins: 8
                    spacing: 6

                    Text {
                        text: "Tessmark"
                        font: Typography.font(Typography.Title3, Font.Bold)
                        color: AppTheme.primary
                        leftPadding: 12
                        rightPadding: 12
                        topPadding: 16
                        bottomPadding: 8
                    }

                    Repeater {
                        id: sidebarRows
                        model: AppSections.all
                        SidebarNavRow {
                            required property var modelData
                            objectName: "sidebarRow-" + modelData.id
                            width: parent.width
                            title: modelData.title
                            systemImage: modelData.icon
                            isSelected: shellModel.mainSection === modelData.id
                            onClicked: shellModel.mainSection = modelData.id
                        }
                    }
                }
            }

            Item {
                id: contentColumn
                objectName: "contentColumn"
                // Its folded list shows over the editor's column.
                z: listPanel.shown ? 1 : 0
                SplitView.minimumWidth: columns.contentMinWidth
                SplitView.preferredWidth: columns.contentIdealWidth
                SplitView.maximumWidth: columns.contentMaxWidth
                SplitView.fillWidth: shell.dashboardWide

                // The folded list's rail.
                Rectangle {
                    anchors.fill: parent
                    visible: columns.contentFolded
                    color: AppTheme.background

                    ToolButton {
                        id: listButton
                        objectName: "showProjectsButton"
                        anchors.horizontalCenter: parent.horizontalCenter
                        y: 12
                        implicitWidth: 36
                        implicitHeight: 36
                        Accessible.name: "Список проектов"
                        ToolTip.visible: hovered && !listPanel.shown
                        ToolTip.delay: 600
                        ToolTip.text: "Список проектов"
                        contentItem: AppIcon {
                            name: "list.bullet"
                            size: 20
                            color: AppTheme.primary
                        }
                        background: Rectangle {
                            radius: 8
                            color: listButton.down || listPanel.shown ? AppTheme.withOpacity(AppTheme.primary, 0.12)
                                                                      : "transparent"
                        }
                        FocusRing {
                            radius: 11
                        }
                        onClicked: listPanel.show(FocusLanding.pressedByKeyboard(listButton))
                    }
                }

                Loader {
                    id: listLoader
                    // Folded, the list lives in the panel that shows it over the editor.
                    anchors.fill: parent
                    active: shellModel.projectsService !== null
                    sourceComponent: {
                        switch (shellModel.mainSection) {
                        case "projects": return projectsList
                        case "payments": return shell.isGuest ? paymentsPlaceholder : paymentsHub
                        case "analytics": return shell.isGuest ? analyticsPlaceholder : analyticsHub
                        default: return settings
                        }
                    }
                }
            }

            Item {
                id: detailColumn
                objectName: "detailColumn"
                SplitView.minimumWidth: shell.AdaptiveMetrics.detailMinWidth
                SplitView.preferredWidth: shell.AdaptiveMetrics.detailMinWidth
                SplitView.fillWidth: !shell.dashboardWide

                Loader {
                    id: detailLoader
                    anchors.fill: parent
                    active: shellModel.projectsService !== null
                    sourceComponent: {
                        switch (shellModel.mainSection) {
                        case "projects":
                            return shellModel.selectedProjectId !== "" ? projectDetail : projectsEmpty
                        case "payments":
                            if (shell.isGuest)
                                return paymentsGuestEmpty
                            return shellModel.hasFinanceProject ? financeView : paymentsEmpty
                        case "analytics":
                            if (shell.isGuest)
                                return analyticsGuestEmpty
                            return shellModel.selectedAnalyticsRow.isValid ? analyticsDetail : analyticsEmpty
                        default:
                            return settingsEmpty
                        }
                    }
                }
            }
        }
    }

    Component {
        id: projectsList
        ProjectsListView {
            id: list
            projectsService: shellModel.projectsService
            isGuest: shell.isGuest
            Binding { target: list; property: "selectedProjectId"; value: shellModel.selectedProjectId }
            onSelectedProjectIdChanged: shellModel.selectedProjectId = list.selectedProjectId
            onOpenFinance: projectId => shellModel.openPayments(projectId)
            Component.onCompleted: {
                if (shell.focusListWhenShown) {
                    shell.focusListWhenShown = false
                    if (columns.contentFolded)
                        FocusLanding.land(listButton)
                    else
                        list.takeFocus()
                }
            }
        }
    }

    // The folded list, shown over the editor beside its rail. A project picked in it with the
    // pointer, Escape, a click beside it or the focus leaving it folds it away again; the keys
    // browse it while it stays. It lies in the list's column, so that Tab reaches it where it
    // stands on screen: after the sidebar and the rail, before the editor.
    MouseArea {
        objectName: "projectsPanelScrim"
        // Everything under it waits, as under a sheet's backdrop.
        readonly property bool modalLayer: true
        parent: contentColumn
        x: -contentColumn.x
        width: content.width
        height: content.height
        z: 4
        visible: listPanel.shown
        onPressed: listPanel.hide()
        Rectangle {
            anchors.fill: parent
            color: Qt.rgba(0, 0, 0, AppTheme.dark ? 0.4 : 0.16)
        }
    }
    FocusScope {
        id: listPanel
        objectName: "projectsPanel"

        property bool shown: false
        // Opened from the keyboard: the focus goes into the list, and back to the rail after.
        property bool byKeyboard: false

        // The list goes into the panel or back into its column; the focus it had goes to the
        // rail's button, not into the folded list, where no one sees it, and from the rail's
        // button, which goes, into the section shown.
        property bool folding: false
        function fold(folded) {
            const focused = shell.Window.activeFocusItem
            const hadFocus = focused !== null && (FocusLanding.holds(listPanel, focused) || FocusLanding.holds(contentColumn, focused))
            listPanel.folding = true
            listPanel.shown = false
            listLoader.parent = folded ? listPanel : contentColumn
            listPanel.folding = false
            if (folded && hadFocus)
                FocusLanding.land(listButton)
            else if (!folded && focused === listButton)
                Qt.callLater(shell.focusSection)
        }
        // Opened by a click, the keys go to the rows (without the ring), not to the panel itself.
        function show(byKeyboard) {
            listPanel.byKeyboard = byKeyboard
            listPanel.shown = true
            const rows = !byKeyboard && listLoader.item !== null ? listLoader.item.firstControl() : null
            const first = rows ?? listPanel.nextItemInFocusChain(true)
            if (first === null || !FocusLanding.holds(listPanel, first))
                listPanel.forceActiveFocus()
            else if (byKeyboard)
                first.forceActiveFocus(Qt.TabFocusReason)
            else
                FocusLanding.land(first)
        }

        parent: contentColumn
        x: contentColumn.width
        width: columns.foldedListWidth
        height: content.height
        z: 5
        visible: shown
        Accessible.role: Accessible.Pane
        Accessible.name: "Список проектов"
        Keys.onEscapePressed: listPanel.hide()
        property string pressedOn: ""
        TapHandler {
            onPressedChanged: if (pressed) listPanel.pressedOn = shellModel.selectedProjectId
            onTapped: Qt.callLater(() => {
                if (shellModel.selectedProjectId !== listPanel.pressedOn)
                    listPanel.hide()
            })
        }
        // Tab out of it folds it; the list's own menus and sheets open above it and keep it.
        onActiveFocusChanged: {
            // The focus sent into the folded list (Ctrl+F to its search) shows it.
            if (activeFocus && !shown && !folding) {
                byKeyboard = true
                shown = true
                return
            }
            if (!activeFocus && shown)
                Qt.callLater(() => {
                    const focused = shell.Window.activeFocusItem
                    if (focused && !FocusLanding.holds(listPanel, focused) && FocusLanding.holds(content, focused))
                        listPanel.hide()
                })
        }
        // Folds it away; the focus it had goes back to the rail's button, with its ring when the
        // keyboard opened it. A button the focus fell back to quietly takes it again.
        function hide() {
            if (!shown)
                return
            const inside = listPanel.activeFocus
            shown = false
            if (!inside || !columns.contentFolded)
                return
            const reason = byKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason
            if (listButton.activeFocus && byKeyboard && !listButton.visualFocus)
                listButton.focus = false
            listButton.forceActiveFocus(reason)
        }

        BoxShadow {
            anchors.fill: parent
            anchors.margins: -margin
            blur: 24
            offsetX: 8
            color: Qt.rgba(0, 0, 0, AppTheme.dark ? 0.5 : 0.18)
        }
        Rectangle {
            anchors.fill: parent
            color: AppTheme.background
            border.width: 1
            border.color: AppTheme.border
        }
    }

    // The editor on screen, for the question about its unsaved edits.
    Binding {
        target: shellModel.unsavedEdits
        property: "editor"
        value: detailLoader.item && detailLoader.item.editor !== undefined ? detailLoader.item.editor : null
    }

    AppConfirmationDialog {
        id: unsavedDialog
        objectName: "unsavedEditsDialog"
        title: "Сохранить изменения?"
        // Saving is the choice that loses nothing.
        safeIndex: 0
        buttons: [
            { text: "Сохранить" },
            { text: "Не сохранять", role: "destructive" },
            { text: "Отмена", role: "cancel" }
        ]
        onTriggered: index => {
            if (index === 0)
                shellModel.unsavedEdits.save()
            else if (index === 1)
                shellModel.unsavedEdits.discard()
            else
                shellModel.unsavedEdits.cancel()
        }
    }
    Connections {
        target: shellModel.unsavedEdits
        function onIsAskingChanged() { shell.presentUnsavedQuestion() }
        function onPresentRequested() { shell.presentUnsavedQuestion() }
    }
    // The question is in sight exactly while the guard asks.
    function presentUnsavedQuestion() {
        if (shellModel.unsavedEdits.isAsking) {
            if (!unsavedDialog.visible)
                unsavedDialog.open()
        } else if (unsavedDialog.visible) {
            unsavedDialog.close()
        }
    }

    // The sections off the first screen (the editor, payments, analytics with its charts, the
    // settings) are loaded by their files' addresses when first shown, so that the window's start
    // does not load their types.
    component Section: Loader {
        required property url file
        required property MainShellViewModel viewModel
        readonly property var editor: item && item.editor !== undefined ? item.editor : null
        Component.onCompleted: setSource(file, { shellModel: viewModel })
    }
    Component { id: projectDetail; Section { file: Qt.resolvedUrl("ProjectDetailSection.qml"); viewModel: shellModel } }
    Component { id: paymentsHub; Section { file: Qt.resolvedUrl("PaymentsHubSection.qml"); viewModel: shellModel } }
    Component { id: financeView; Section { file: Qt.resolvedUrl("ProjectFinanceSection.qml"); viewModel: shellModel } }
    Component { id: analyticsHub; Section { file: Qt.resolvedUrl("AnalyticsHubSection.qml"); viewModel: shellModel } }
    Component { id: analyticsDetail; Section { file: Qt.resolvedUrl("AnalyticsDetailSection.qml"); viewModel: shellModel } }
    Component { id: settings; Section { file: Qt.resolvedUrl("SettingsSection.qml"); viewModel: shellModel } }

    Component {
        id: paymentsPlaceholder
        GuestOnlySection {
            objectName: "paymentsPlaceholder"
            title: "Платежи"
            message: "Учёт платежей и синхронизация с облаком доступны после входа в аккаунт."
            tour: shellModel.tour
            highlight: OnboardingHighlightTarget.paymentsHub
        }
    }

    Component {
        id: analyticsPlaceholder
        GuestOnlySection {
            objectName: "analyticsPlaceholder"
            title: "Аналитика"
            message: "Сводная аналитика по облачным данным. Локальные сметы доступны в разделе «Проекты»."
            tour: shellModel.tour
            highlight: OnboardingHighlightTarget.analyticsHub
        }
    }

    Component { id: projectsEmpty; EmptyStateView { objectName: "detailEmpty"; title: "Выберите проект"; systemImage: "doc.text"; color: AppTheme.textSecondary } }
    Component { id: paymentsEmpty; EmptyStateView { objectName: "detailEmpty"; title: "Выберите проект или итерацию"; systemImage: "creditcard"; color: AppTheme.textSecondary } }
    Component { id: paymentsGuestEmpty; EmptyStateView { objectName: "detailEmpty"; title: "Платежи"; systemImage: "creditcard"; color: AppTheme.textSecondary } }
    Component { id: analyticsEmpty; EmptyStateView { objectName: "detailEmpty"; title: "Выберите проект в таблице"; systemImage: "chart.bar"; color: AppTheme.textSecondary } }
    Component { id: analyticsGuestEmpty; EmptyStateView { objectName: "detailEmpty"; title: "Аналитика"; systemImage: "chart.bar"; color: AppTheme.textSecondary } }
    Component { id: settingsEmpty; EmptyStateView { objectName: "detailEmpty"; title: "Настройки"; systemImage: "gearshape"; color: AppTheme.textSecondary } }

    // The offer to move the device's projects, built the first time it shows: most windows never
    // show it. Once built it opens and closes with the offer.
    Loader {
        id: migrationSheet

        // Latched rather than bound: the load that `active` starts would otherwise change what
        // `active` reads while it is being set.
        readonly property bool wanted: shellModel.migration.shown

        active: false
        onWantedChanged: if (wanted) active = true
        Component.onCompleted: active = wanted
        sourceComponent: LocalDataMigrationSheet {
            offer: shellModel.migration
            // Opened by the window itself, the sheet took the keyboard from no control: it goes on
            // in the section, as it would have without the sheet.
            onClosed: Qt.callLater(() => {
                const current = shell.Window.activeFocusItem
                if (current === null || !current.activeFocusOnTab || !current.visible)
                    shell.focusSection()
            })
        }
        onLoaded: {
            if (shellModel.migration.shown)
                item.open()
        }
    }

    MainOnboardingOverlay {
        objectName: "onboardingOverlay"
        anchors.fill: parent
        step: shellModel.tour.step
        hasHighlightRect: shellModel.tour.hasHighlightRect
        highlightRect: shellModel.tour.highlightRect
        running: shellModel.tour.running
        onStepRequested: newStep => shellModel.tour.step = newStep
        onCloseRequested: shellModel.tour.closeForRun()
    }
}
