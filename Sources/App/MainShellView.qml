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

    // The account's analytics page takes the width: the detail column keeps to its narrowest.
    readonly property bool dashboardWide: !shell.isGuest && shellModel.mainSection === "analytics"

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
                SplitView.minimumWidth: shell.AdaptiveMetrics.sidebarMinWidth
                SplitView.preferredWidth: shell.AdaptiveMetrics.sidebarIdealWidth
                SplitView.maximumWidth: shell.AdaptiveMetrics.sidebarMaxWidth
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
                SplitView.minimumWidth: shell.AdaptiveMetrics.contentMinWidth
                SplitView.preferredWidth: shell.AdaptiveMetrics.contentIdealWidth
                SplitView.fillWidth: shell.dashboardWide

                Loader {
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
        function onIsAskingChanged() {
            if (shellModel.unsavedEdits.isAsking)
                unsavedDialog.open()
            else if (unsavedDialog.opened)
                unsavedDialog.close()
        }
    }

    Component {
        id: projectDetail
        Loader {
            // A new selection builds a new container; the same identity keeps it.
            property string projectId: shellModel.selectedProjectId
            readonly property var editor: item ? item.editor : null
            onProjectIdChanged: {
                active = false
                active = true
            }
            sourceComponent: ProjectDetailContainer {
                projectsService: shellModel.projectsService
                projectId: shellModel.selectedProjectId
                isGuestSession: shell.isGuest
                onDeleted: shellModel.projectDeleted()
                onProjectIdChangeRequested: newId => shellModel.projectIdChangedByDetail(newId)
                // A person's choice: asked about unsaved edits like a click in the list.
                onProjectChosen: newId => shellModel.selectedProjectId = newId
            }
        }
    }

    Component {
        id: paymentsHub
        PaymentsHubView {
            id: hub
            projectsService: shellModel.projectsService
            Binding { target: hub; property: "selectedProjectId"; value: shellModel.selectedFinanceProjectId }
            onSelectedProjectIdChanged: shellModel.selectedFinanceProjectId = hub.selectedProjectId
        }
    }

    Component {
        id: financeView
        Loader {
            property string projectId: shellModel.financeProjectId
            onProjectIdChanged: {
                active = false
                active = true
            }
            sourceComponent: ProjectFinanceView {
                projectsService: shellModel.projectsService
                projectId: shellModel.financeProjectId
                projectName: shellModel.financeProjectName
                currency: shellModel.financeProjectCurrency
            }
        }
    }

    Component {
        id: analyticsHub
        AnalyticsPlaceholderView {
            projectsService: shellModel.projectsService
            selectedRow: shellModel.selectedAnalyticsRow
            onRowSelected: row => shellModel.selectedAnalyticsRow = row
            onOpenFinance: projectId => shellModel.openPayments(projectId)
        }
    }

    Component {
        id: analyticsDetail
        AnalyticsDetailPanelView {
            row: shellModel.selectedAnalyticsRow
            onOpenPayments: shellModel.openPaymentsFromAnalyticsDetail()
        }
    }

    Component {
        id: settings
        SettingsView {
            auth: shell.auth
            isGuest: shell.isGuest
        }
    }

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

    LocalDataMigrationSheet {
        offer: shellModel.migration
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
