pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.App

// The guest projects list: a device record that cannot be read leaves the others listed and is
// reported above them.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }

    TestCase {
        name: "ProjectsList"
        when: windowShown
        visible: true

        function init() {
            testEnvironment.reset()
            testEnvironment.setPreference("guest_mode_active", true)
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        function test_unreadableRecordNotice_data() {
            return [
                { tag: "all records read", unreadable: false },
                { tag: "one record does not read", unreadable: true },
            ]
        }

        function test_unreadableRecordNotice(data) {
            const ids = testEnvironment.addDeviceProjects(2)
            if (data.unreadable)
                testEnvironment.addUnreadableDeviceRecord("local-broken")
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            const shell = root.currentScreen
            tryVerify(() => findChild(shell, "projectRow-" + ids[0]) !== null)
            verify(findChild(shell, "projectRow-" + ids[1]) !== null)
            verify(findChild(shell, "projectRow-local-broken") === null)

            const notice = findChild(shell, "projectsListNotice")
            verify(notice)
            const service = shell.viewModel.projectsService
            compare(notice.visible, data.unreadable)
            if (data.unreadable) {
                verify(service.errorMessage !== "")
                const text = findChild(notice, "projectsListNoticeText")
                compare(text.text, service.errorMessage)
                compare(text.textFormat, Text.PlainText)
            }
        }
    }
}
