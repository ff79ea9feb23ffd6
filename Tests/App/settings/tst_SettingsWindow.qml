import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design

// The settings section inside the whole window: signing in from the guest's sheet rebuilds the
// window (the sheet goes with it), signing out and leaving guest mode show the welcome screen.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }

    TestCase {
        name: "SettingsWindow"
        when: windowShown
        visible: true

        function init() {
            testEnvironment.reset()
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        function openSettings(root) {
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            root.currentScreen.viewModel.mainSection = "settings"
            let view = null
            tryVerify(() => (view = findChild(root.currentScreen, "settingsView")) !== null)
            waitForRendering(view)
            return view
        }

        function test_signInFromTheGuestSheetRebuildsTheWindow() {
            testEnvironment.setPreference("guest_mode_active", true)
            const root = createTemporaryObject(rootComponent, host)
            const view = openSettings(root)
            mouseClick(findChild(view, "settingsSignInButton"))
            tryVerify(() => findChild(view, "settingsLoginSheet").opened)
            tryVerify(() => findChild(view, "settingsLoginView") !== null)

            verify(testEnvironment.signIn(root.viewModel.auth, testEnvironment.demoEmail()))
            tryCompare(root.viewModel, "screen", RootViewModel.AccountShell)
            compare(String(testEnvironment.preference("guest_mode_active")), "false")
            // The new window settles with no sheet of the old one left over it.
            const account = openSettings(root)
            tryVerify(() => findChild(account, "profileEmail").visible)
            verify(!root.viewModel.showLoginSheet)
        }

        function test_leaving_data() {
            return [
                { tag: "guest", guest: true },
                { tag: "account", guest: false },
            ]
        }

        function test_leaving(data) {
            testEnvironment.setPreference("guest_mode_active", data.guest)
            const root = createTemporaryObject(rootComponent, host)
            if (!data.guest)
                verify(testEnvironment.signIn(root.viewModel.auth, testEnvironment.demoEmail()))
            const view = openSettings(root)
            // The last row lies below the window's height.
            view.contentItem.contentY = view.contentHeight - view.height
            waitForRendering(view)
            mouseClick(findChild(view, "leaveButton"))
            tryCompare(root.viewModel, "screen", RootViewModel.Welcome)
        }
    }
}
