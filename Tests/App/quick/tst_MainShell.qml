import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design

// The guest main window: its sections and placeholders, the selection handed between the list
// and the detail, and the tour's overlay driving the window.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }

    Component {
        id: analyticsDetailComponent
        AnalyticsDetailPanelView {}
    }

    TestCase {
        name: "MainShell"
        when: windowShown
        visible: true

        function init() {
            testEnvironment.reset()
            testEnvironment.setPreference("guest_mode_active", true)
        }

        function openShell(tourFinished) {
            if (tourFinished)
                testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            return root.currentScreen
        }

        function detailTitle(shell) {
            const empty = findChild(shell, "detailEmpty")
            return empty ? empty.title : ""
        }

        function test_sections_data() {
            return [
                { tag: "payments", section: "payments", content: "paymentsPlaceholder", detail: "Платежи",
                  message: "Учёт платежей и синхронизация с облаком доступны после входа в аккаунт." },
                { tag: "analytics", section: "analytics", content: "analyticsPlaceholder", detail: "Аналитика",
                  message: "Сводная аналитика по облачным данным. Локальные сметы доступны в разделе «Проекты»." },
                { tag: "settings", section: "settings", content: "settingsView", detail: "Настройки" },
                { tag: "projects", section: "projects", content: "projectsList", detail: "Выберите проект" },
            ]
        }

        function test_sections(data) {
            const shell = openShell(true)
            compare(shell.viewModel.mainSection, "projects")
            mouseClick(findChild(shell, "sidebarRow-" + data.section))
            compare(shell.viewModel.mainSection, data.section)
            tryVerify(() => findChild(shell, data.content) !== null)
            compare(detailTitle(shell), data.detail)
            if (data.message)
                compare(findChild(shell, data.content).message, data.message)
        }

        function test_selectionHandOff() {
            const ids = testEnvironment.addDeviceProjects(3)
            const shell = openShell(true)
            let row = null
            tryVerify(() => (row = findChild(shell, "projectRow-" + ids[1])) !== null)
            mouseClick(row)
            compare(shell.viewModel.selectedProjectId, ids[1])
            tryVerify(() => findChild(shell, "projectDetail") !== null)
            compare(findChild(shell, "projectDetail").projectId, ids[1])

            // The detail reports a deletion: back to the empty state.
            shell.viewModel.projectDeleted()
            tryCompare(shell.viewModel, "selectedProjectId", "")
            tryVerify(() => detailTitle(shell) === "Выберите проект")
        }

        // The analytics selection is a typed row made from the listed project; the detail pane
        // shows it and hands its identity to the payments section.
        function test_analyticsRowReachesTheDetail() {
            const ids = testEnvironment.addDeviceProjects(2)
            const shell = openShell(true)
            tryVerify(() => findChild(shell, "projectRow-" + ids[1]) !== null)
            verify(!shell.viewModel.selectedAnalyticsRow.isValid)
            shell.viewModel.selectAnalyticsProject(ids[1])
            const row = shell.viewModel.selectedAnalyticsRow
            verify(row.isValid)
            compare(row.id, ids[1])
            compare(row.name, "Проект 2")
            verify(!row.hasSubtitle)

            const detail = createTemporaryObject(analyticsDetailComponent, host, { row: row })
            verify(detail)
            compare(findChild(detail, "analyticsDetailTitle").text, "Проект 2")
            detail.openPayments.connect(shell.viewModel.openPaymentsFromAnalyticsDetail)
            detail.openPayments()
            compare(shell.viewModel.mainSection, "payments")
            compare(shell.viewModel.selectedFinanceProjectId, ids[1])

            shell.viewModel.selectAnalyticsProject("local-none")
            verify(!shell.viewModel.selectedAnalyticsRow.isValid)
        }

        function test_tourOverlayDrivesTheWindow() {
            const shell = openShell(false)
            const overlay = findChild(shell, "onboardingOverlay")
            verify(overlay.visible)
            tryVerify(() => shell.viewModel.tour.hasDemoProject, 5000)
            const demoId = shell.viewModel.tour.demoProjectId
            compare(shell.viewModel.tour.currentHighlight, OnboardingHighlightTarget.demoProjectRow(demoId))
            verify(!overlay.model.canGoBack)

            const next = findChild(overlay, "onboardingNext")
            mouseClick(next)
            compare(shell.viewModel.tour.step, 1)
            compare(shell.viewModel.selectedProjectId, demoId)

            overlay.model.goTo(4)
            compare(shell.viewModel.mainSection, "payments")
            tryVerify(() => shell.viewModel.tour.hasHighlightRect)

            overlay.model.goTo(9)
            compare(next.text, "Готово")
            compare(shell.viewModel.mainSection, "projects")
            mouseClick(next)
            compare(String(testEnvironment.preference("estimate.onboarding.main.completedVersion")), "2")
            compare(shell.viewModel.tour.step, 0)
            verify(!shell.viewModel.tour.running)
            compare(shell.viewModel.tour.currentHighlight, "")
            tryCompare(overlay, "visible", false)
        }

        // Each lit element stays in view beside the step's card: the card never lies over it.
        function test_cardStandsBesideTheLitElement_data() {
            return [{ tag: "demo card", step: 0 }, { tag: "save button", step: 3 }, { tag: "payments", step: 4 },
                    { tag: "sidebar", step: 9 }]
        }
        function test_cardStandsBesideTheLitElement(data) {
            const shell = openShell(false)
            const overlay = findChild(shell, "onboardingOverlay")
            tryVerify(() => shell.viewModel.tour.hasDemoProject, 5000)
            shell.viewModel.tour.step = data.step
            tryVerify(() => shell.viewModel.tour.hasHighlightRect)
            waitForRendering(shell)
            const lit = shell.viewModel.tour.highlightRect
            const card = findChild(overlay, "onboardingCard")
            const at = card.mapToItem(null, 0, 0)
            const apart = at.x >= lit.x + lit.width || at.x + card.width <= lit.x
                          || at.y >= lit.y + lit.height || at.y + card.height <= lit.y
            verify(apart, "card " + at.x + "," + at.y + " " + card.width + "x" + card.height + " over " + lit)
        }

        function test_overlayAboveTheLastStep() {
            const shell = openShell(false)
            const overlay = findChild(shell, "onboardingOverlay")
            shell.viewModel.tour.step = 12
            compare(overlay.model.currentIndex, 9)
            compare(findChild(overlay, "onboardingNext").text, "Готово")
            verify(overlay.model.canGoBack)
            overlay.model.back()
            compare(shell.viewModel.tour.step, 11)
        }

        // "Пропустить" with the switch off closes the tour for this window and stores nothing, so
        // the next start (or a replay) shows it again.
        function test_skipWithTheSwitchOffClosesTheTourForThisRun() {
            const shell = openShell(false)
            const overlay = findChild(shell, "onboardingOverlay")
            shell.viewModel.tour.step = 4
            waitForRendering(shell)
            mouseClick(findChild(overlay, "onboardingDontShowAgain"))
            compare(overlay.dontShowAgain, false)
            mouseClick(findChild(overlay, "onboardingSkip"))
            verify(!shell.viewModel.tour.running)
            compare(shell.viewModel.tour.currentHighlight, "")
            tryCompare(overlay, "visible", false)
            compare(testEnvironment.preference("estimate.onboarding.main.completedVersion"), undefined)
            compare(overlay.dontShowAgain, true)

            // A replay from the settings brings it back.
            mouseClick(findChild(shell, "sidebarRow-settings"))
            waitForRendering(shell)
            mouseClick(findChild(shell, "replayTourButton"))
            verify(shell.viewModel.tour.running)
            tryCompare(overlay, "visible", true)
        }

        function test_replayFromSettings() {
            const shell = openShell(true)
            mouseClick(findChild(shell, "sidebarRow-settings"))
            waitForRendering(shell)
            const replay = findChild(shell, "replayTourButton")
            verify(replay)
            mouseClick(replay)
            verify(shell.viewModel.tour.running)
            compare(shell.viewModel.mainSection, "projects")
            compare(shell.viewModel.tour.step, 0)
            compare(String(testEnvironment.preference("estimate.onboarding.welcomeIntro.v1.done")), "false")
            tryVerify(() => shell.viewModel.tour.hasDemoProject, 5000)
        }
    }
}
