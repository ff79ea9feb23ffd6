import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design

// Which screen the root shows, and what the welcome screen and opened links change.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }

    TestCase {
        name: "RootView"
        when: windowShown
        visible: true

        function init() { testEnvironment.reset() }

        function createRoot() {
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            return root
        }

        function test_screenChoice_data() {
            return [
                { tag: "neither", guest: undefined, screen: RootViewModel.Welcome },
                { tag: "guest flag off", guest: false, screen: RootViewModel.Welcome },
                { tag: "guest flag on", guest: true, screen: RootViewModel.GuestShell },
            ]
        }

        function test_screenChoice(data) {
            if (data.guest !== undefined)
                testEnvironment.setPreference("guest_mode_active", data.guest)
            const root = createRoot()
            compare(root.viewModel.screen, data.screen)
            if (data.screen === RootViewModel.GuestShell)
                compare(root.currentScreen.isGuest, true)
            else
                verify(findChild(root, "guestButton"))
        }

        function test_guestButtonOpensTheGuestWindowAndIsRemembered() {
            const root = createRoot()
            mouseClick(findChild(root, "guestButton"))
            tryCompare(root.viewModel, "screen", RootViewModel.GuestShell)
            verify(root.currentScreen.isGuest)
            compare(String(testEnvironment.preference("guest_mode_active")), "true")
        }

        function test_signInButtonRaisesTheSheetAgainAfterClosing() {
            const root = createRoot()
            const button = findChild(root, "signInButton")
            mouseClick(button)
            tryCompare(root.viewModel, "showLoginSheet", true)
            root.viewModel.showLoginSheet = false
            mouseClick(button)
            tryCompare(root.viewModel, "showLoginSheet", true)
            compare(root.viewModel.screen, RootViewModel.Welcome)
        }

        function test_leavingGuestModeShowsWelcome() {
            testEnvironment.setPreference("guest_mode_active", true)
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
            const root = createRoot()
            mouseClick(findChild(root.currentScreen, "sidebarRow-settings"))
            waitForRendering(root)
            const leave = findChild(root.currentScreen, "leaveButton")
            verify(leave)
            // The last row of the settings lies below the window's height.
            const settings = findChild(root.currentScreen, "settingsView")
            settings.contentItem.contentY = settings.contentHeight - settings.height
            waitForRendering(settings)
            mouseClick(leave)
            tryCompare(root.viewModel, "screen", RootViewModel.Welcome)
            compare(String(testEnvironment.preference("guest_mode_active")), "false")
        }

        // The sheets stand inside the window's metrics: their screens lay out for the window's
        // width, not for the narrow default seen outside every reader.
        function test_sheetsSeeTheWindowMetrics_data() {
            return [
                { tag: "sign-in", content: "loginView", open: root => { root.viewModel.showLoginSheet = true } },
                { tag: "link", content: "deepLinkScreen",
                  open: root => root.viewModel.openUrl("tessmark://reset-password?token=abc") },
            ]
        }

        function test_sheetsSeeTheWindowMetrics(data) {
            const root = createRoot()
            data.open(root)
            let content = null
            tryVerify(() => (content = findChild(root, data.content)) !== null && content.visible)
            compare(content.AdaptiveMetrics.width, root.width)
            verify(!content.AdaptiveMetrics.isCompact)
            root.viewModel.closeDeepLink()
            root.viewModel.showLoginSheet = false
        }

        function test_links_data() {
            return [
                { tag: "verify", url: "tessmark://verify-email?token=abc", id: "verify-abc", kind: "verify" },
                { tag: "reset", url: "https://example.test/reset-password?token=t%2B1", id: "reset-t+1", kind: "reset" },
                { tag: "not ours", url: "tessmark://open?token=abc", id: "", kind: "" },
            ]
        }

        function test_links(data) {
            const root = createRoot()
            root.viewModel.openUrl(data.url)
            compare(root.viewModel.deepLinkId, data.id)
            compare(root.viewModel.deepLinkKind, data.kind)
            // Signed out: a recognised link raises the sign-in sheet as well, once its own sheet
            // is closed.
            verify(!root.viewModel.showLoginSheet)
            root.viewModel.closeDeepLink()
            compare(root.viewModel.deepLinkId, "")
            compare(root.viewModel.showLoginSheet, data.id !== "")
            root.viewModel.showLoginSheet = false
        }

        // Each showing of the sign-in sheet starts empty, in sign-in mode.
        function test_signInSheetStartsAfresh() {
            const root = createRoot()
            root.viewModel.showLoginSheet = true
            let login = null
            tryVerify(() => (login = findChild(root, "loginView")) !== null)
            login.form.isRegister = true
            login.form.email = "anna@example.test"
            root.viewModel.showLoginSheet = false
            tryVerify(() => findChild(root, "loginView") === null)
            root.viewModel.showLoginSheet = true
            tryVerify(() => (login = findChild(root, "loginView")) !== null)
            verify(!login.form.isRegister)
            compare(login.form.email, "")
            root.viewModel.showLoginSheet = false
        }

        // Escape closes the recovery sheet over the sign-in sheet, and only that one.
        function test_escapeClosesTheTopSheet() {
            const root = createRoot()
            root.viewModel.showLoginSheet = true
            let login = null
            tryVerify(() => (login = findChild(root, "loginView")) !== null)
            login.forgotSheet.open()
            tryVerify(() => login.forgotSheet.opened)
            keyClick(Qt.Key_Escape)
            tryVerify(() => !login.forgotSheet.opened)
            verify(root.viewModel.showLoginSheet)
            keyClick(Qt.Key_Escape)
            tryCompare(root.viewModel, "showLoginSheet", false)
        }

        // A link opened while signed out comes on top of the sign-in sheet, whether that sheet was
        // up already or the link raised it; each link's screen starts without an earlier one's error.
        function test_linksComeOverTheSignInSheet_data() {
            return [
                { tag: "sign-in sheet open before", signInFirst: true },
                { tag: "raised by the link", signInFirst: false },
            ]
        }

        function test_linksComeOverTheSignInSheet(data) {
            const root = createRoot()
            if (data.signInFirst) {
                mouseClick(findChild(root, "signInButton"))
                tryVerify(() => findChild(root, "loginView") !== null && findChild(root, "loginSheet").opened)
            }
            root.viewModel.openUrl("tessmark://verify-email?token=stale")
            // The sign-in sheet makes way for the link's.
            tryVerify(() => !findChild(root, "loginSheet").opened)
            let verifyView = null
            tryVerify(() => (verifyView = findChild(root, "verifyEmailView")) !== null && verifyView.visible)
            // The link has no backend here: it ends in an error.
            tryVerify(() => findChild(verifyView, "outcome").visible, 30000)
            verify(root.viewModel.auth.hasErrorMessage)

            root.viewModel.openUrl("tessmark://reset-password?token=abc")
            let reset = null
            tryVerify(() => (reset = findChild(root, "resetPasswordView")) !== null && reset.visible)
            waitForRendering(reset)
            verify(!findChild(reset, "errorLine").visible)
            // What the person sees on top takes the click and the typing.
            const field = findChild(reset, "passwordField")
            mouseClick(field)
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_B)
            compare(reset.model.password, "ab")
            keyClick(Qt.Key_Escape)
            tryCompare(root.viewModel, "deepLinkId", "")
            // Signed out, the sign-in sheet is back once the link's sheet is closed.
            tryVerify(() => findChild(root, "loginSheet").opened)
            root.viewModel.showLoginSheet = false
        }

        // In a window of the default size the sign-in sheet is as tall as its form, so that
        // "Войти" is in sight without scrolling.
        function test_signInSheetShowsTheWholeForm() {
            const root = createRoot()
            mouseClick(findChild(root, "signInButton"))
            let login = null
            tryVerify(() => (login = findChild(root, "loginView")) !== null && findChild(root, "loginSheet").opened)
            waitForRendering(login)
            const submit = findChild(login, "submitButton")
            compare(submit.text, "Войти")
            const bottom = submit.mapToItem(login, 0, submit.height).y
            verify(bottom <= login.height, bottom + " > " + login.height)
            verify(login.height < root.height)
            root.viewModel.showLoginSheet = false
        }

        // The verification screen's own button closes its sheet, which destroys the screen.
        function test_verifyScreenClosesItsSheet() {
            const root = createRoot()
            root.viewModel.openUrl("tessmark://verify-email?token=abc")
            root.viewModel.showLoginSheet = false
            let close = null
            tryVerify(() => (close = findChild(root, "closeButton")) !== null && close.visible)
            mouseClick(close)
            tryCompare(root.viewModel, "deepLinkId", "")
            tryVerify(() => findChild(root, "verifyEmailView") === null)
        }
    }
}
