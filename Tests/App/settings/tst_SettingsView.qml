import QtQuick
import QtTest
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Settings

// The settings screen on its own: the cards by mode, the profile by the account's state, the
// column's width by the window's, the appearance picker, the tour button, the way out and the
// tour's ring.
Item {
    id: host
    width: 1000
    height: 800

    // The window's metrics come from `metricsWidth`; the screen itself is wider, so that the
    // cap is what limits the column.
    Component {
        id: screenComponent
        // The reader stands inside a plain item: destroyed as the root of the temporary object,
        // it would still be asked for its metrics by the items it is tearing down.
        Item {
            id: wrapper
            property AuthService auth
            property bool isGuest
            property string highlight
            property real metricsWidth: 1000
            property real viewHeight: 2000
            readonly property SettingsView view: screen
            readonly property Item frames: lit

            AdaptiveMetricsReader {
                width: wrapper.metricsWidth
                height: 800

                Item {
                    id: lit
                    width: 1000
                    height: wrapper.viewHeight
                    Onboarding.highlight: wrapper.highlight
                    Onboarding.collectsFrames: true

                    SettingsView {
                        id: screen
                        anchors.fill: parent
                        auth: wrapper.auth
                        isGuest: wrapper.isGuest
                    }
                }
            }
        }
    }

    TestCase {
        name: "SettingsView"
        when: windowShown
        visible: true

        function init() {
            testEnvironment.reset()
        }

        function signedIn(email) {
            const auth = testEnvironment.newAuth()
            verify(testEnvironment.signIn(auth, email ?? testEnvironment.demoEmail()))
            return auth
        }

        function open(isGuest, auth, extra) {
            const properties = Object.assign({ auth: auth ?? testEnvironment.newAuth(), isGuest: isGuest }, extra ?? {})
            const reader = createTemporaryObject(screenComponent, host, properties)
            verify(reader)
            waitForRendering(reader.view)
            return reader
        }

        function shownParts(view) {
            const column = findChild(view, "settingsColumn")
            const names = []
            let lastY = -1
            for (let i = 0; i < column.children.length; ++i) {
                const item = column.children[i]
                if (!item.visible || item.objectName === "")
                    continue
                verify(item.y > lastY, item.objectName + " stands below the one before")
                lastY = item.y
                names.push(item.objectName)
            }
            return names
        }

        function test_cards_data() {
            return [
                { tag: "guest", isGuest: true, tips: 2, leave: "Выйти из гостевого режима",
                  parts: ["settingsTitle", "guestAccountCard", "appearanceCard", "tourCard", "profileCard", "tipsCard",
                          "aboutCard", "leaveButton"] },
                { tag: "account", isGuest: false, tips: 4, leave: "Выйти",
                  parts: ["settingsTitle", "appearanceCard", "tourCard", "profileCard", "tipsCard", "aboutCard",
                          "leaveButton"] },
            ]
        }

        function test_cards(data) {
            const reader = open(data.isGuest, data.isGuest ? undefined : signedIn())
            compare(shownParts(reader.view), data.parts)
            const tips = findChild(reader.view, "tipRows")
            compare(tips.count, data.tips)
            compare(tips.itemAt(0).modelData, "Сохраняйте смету перед экспортом — так вы не потеряете правки.")
            compare(tips.itemAt(1).modelData, "PDF / Share — коммерческое предложение без сервера.")
            compare(findChild(reader.view, "leaveButton").text, data.leave)
            compare(findChild(findChild(reader.view, "buildRow"), "profileValue").text, "Tessmark Native")
            verify(/^.+ \(.+\)$/.test(findChild(findChild(reader.view, "versionRow"), "profileValue").text))
        }

        // What the profile card shows: exactly one of its bodies, and the name only when there is one.
        function test_profile_data() {
            return [
                { tag: "guest", isGuest: true, shown: ["profileGuestText"] },
                { tag: "blank first name, no last name", account: ["blank@example.test", "  \t ", undefined],
                  shown: ["profileEmail", "profileSyncText"], email: "blank@example.test" },
                { tag: "padded names", account: ["padded@example.test", " \tАнна  ", "\tПетрова "],
                  shown: ["profileEmail", "profileName", "profileSyncText"], email: "padded@example.test",
                  name: "Анна Петрова" },
                { tag: "loading", restoring: true, shown: ["profileLoading"] },
                { tag: "no account", shown: ["profileUnavailable"] },
            ]
        }

        function test_profile(data) {
            let auth
            if (data.account) {
                testEnvironment.addAccount(data.account[0], data.account[1], data.account[2])
                auth = signedIn(data.account[0])
            } else if (data.restoring) {
                testEnvironment.storeDemoToken()
                auth = testEnvironment.newAuth()
                verify(auth.isLoading)
            }
            const reader = open(data.isGuest === true, auth)
            const bodies = ["profileGuestText", "profileLoading", "profileEmail", "profileName", "profileSyncText",
                            "profileUnavailable"]
            compare(bodies.filter(name => findChild(reader.view, name).visible), data.shown)
            if (data.email)
                compare(findChild(findChild(reader.view, "profileEmail"), "profileValue").text, data.email)
            if (data.name)
                compare(findChild(findChild(reader.view, "profileName"), "profileValue").text, data.name)
        }

        // The restore that started with the service ends: the loading row gives way to the account.
        function test_profileFollowsTheRestore() {
            testEnvironment.storeDemoToken()
            const auth = testEnvironment.newAuth()
            const reader = open(false, auth)
            verify(findChild(reader.view, "profileLoading").visible)
            testEnvironment.release()
            tryVerify(() => findChild(reader.view, "profileEmail").visible, 5000)
            verify(!findChild(reader.view, "profileLoading").visible)
            compare(testEnvironment.requestCount("GET", "users/profile"), 1)
        }

        function test_columnWidth_data() {
            return [
                { tag: "519", width: 519, cap: -1, margin: 20 },
                { tag: "520", width: 520, cap: 520, margin: 28 },
                { tag: "899", width: 899, cap: 520, margin: 28 },
                { tag: "900", width: 900, cap: 640, margin: 28 },
            ]
        }

        function test_columnWidth(data) {
            const reader = open(true, undefined, { metricsWidth: data.width })
            const column = findChild(reader.view, "settingsColumn")
            const available = reader.view.availableWidth
            const box = data.cap < 0 ? available : data.cap
            compare(column.width, box - 2 * data.margin)
            compare(column.x, (available - box) / 2 + data.margin)
            compare(column.y, data.margin)
        }

        function test_unknownThemeShowsSystemAndStays() {
            testEnvironment.setPreference("app.colorSchemePreference", "auto")
            const reader = open(true)
            const picker = findChild(reader.view, "themePicker")
            compare(picker.selection, "system")
            verify(findChild(picker, "segment0").chosen)
            compare(testEnvironment.preference("app.colorSchemePreference"), "auto")

            mouseClick(findChild(picker, "segment2"))
            compare(testEnvironment.preference("app.colorSchemePreference"), "dark")
            compare(picker.selection, "dark")
            verify(findChild(picker, "segment2").chosen)
            // The store outside the screen follows at once.
            mouseClick(findChild(picker, "segment1"))
            compare(testEnvironment.preference("app.colorSchemePreference"), "light")
            compare(picker.selection, "light")
        }

        function test_tourReplay_data() {
            return [{ tag: "guest", isGuest: true }, { tag: "account", isGuest: false }]
        }

        function test_tourReplay(data) {
            testEnvironment.setPreference("estimate.onboarding.replayRequestNonce", 5)
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
            testEnvironment.setPreference("estimate.onboarding.welcomeIntro.v1.done", true)
            const reader = open(data.isGuest, data.isGuest ? undefined : signedIn())
            const button = findChild(reader.view, "replayTourButton")
            mouseClick(button)
            compare(Number(testEnvironment.preference("estimate.onboarding.replayRequestNonce")), 6)
            compare(Number(testEnvironment.preference("estimate.onboarding.main.completedVersion")), 0)
            compare(String(testEnvironment.preference("estimate.onboarding.welcomeIntro.v1.done")), "false")
            mouseClick(button)
            compare(Number(testEnvironment.preference("estimate.onboarding.replayRequestNonce")), 7)
        }

        function test_leaveGuestModeKeepsTheDeviceProjects() {
            testEnvironment.setPreference("guest_mode_active", true)
            testEnvironment.addDeviceProjects(2)
            const reader = open(true)
            mouseClick(findChild(reader.view, "leaveButton"))
            compare(String(testEnvironment.preference("guest_mode_active")), "false")
            compare(testEnvironment.deviceProjectCount(), 2)
        }

        function test_signOutTakesOneClick() {
            const auth = signedIn()
            const reader = open(false, auth)
            mouseClick(findChild(reader.view, "leaveButton"))
            verify(!auth.hasUser)
            tryVerify(() => !testEnvironment.hasToken(), 5000)
            compare(testEnvironment.requestCount("POST", "auth/logout"), 1)
        }

        // Only the lit card shows the ring and reports its frame.
        function test_spotlight_data() {
            return [
                { tag: "none", highlight: "", lit: "" },
                { tag: "appearance", highlight: OnboardingHighlightTarget.settingsAppearance, lit: "appearanceCard" },
                { tag: "tour", highlight: OnboardingHighlightTarget.settingsGuidedTour, lit: "tourCard" },
                { tag: "tips", highlight: OnboardingHighlightTarget.settingsTips, lit: "tipsCard" },
                { tag: "elsewhere", highlight: OnboardingHighlightTarget.paymentsHub, lit: "" },
            ]
        }

        function test_spotlight(data) {
            const reader = open(true, undefined, { highlight: data.highlight })
            const cards = ["guestAccountCard", "appearanceCard", "tourCard", "profileCard", "tipsCard", "aboutCard"]
            const ringed = cards.filter(name => {
                const ring = findChild(reader.view, name).OnboardingSpotlight.ring
                return ring !== null && ring.visible
            })
            compare(ringed, data.lit === "" ? [] : [data.lit])
            const reported = Object.keys(reader.frames.Onboarding.frames)
            compare(reported, data.lit === "" ? [] : [data.highlight])
        }

        // A card lit below the visible part of a short view is scrolled into it.
        function test_litCardScrollsIntoView() {
            const reader = open(false, signedIn(), { viewHeight: 400 })
            compare(reader.view.contentItem.contentY, 0)
            reader.highlight = OnboardingHighlightTarget.settingsTips
            const card = findChild(reader.view, "tipsCard")
            tryVerify(() => reader.view.contentItem.contentY > 0)
            const top = card.mapToItem(reader.view, 0, 0).y
            verify(top >= 0 && top + card.height <= reader.view.height, "card at " + top)
        }

        function test_signInSheetOpensAndCloses() {
            const reader = open(true)
            mouseClick(findChild(reader.view, "settingsSignInButton"))
            const sheet = findChild(reader.view, "settingsLoginSheet")
            tryVerify(() => sheet.opened)
            verify(sheet.minimumWidth >= 440 && sheet.minimumHeight >= 560)
            let login = null
            tryVerify(() => (login = findChild(reader.view, "settingsLoginView")) !== null)
            compare(login.auth, reader.auth)
            // "Закрыть", and nothing else happens.
            keyClick(Qt.Key_Escape)
            tryVerify(() => !sheet.opened)
            tryVerify(() => findChild(reader.view, "settingsLoginView") === null)
            verify(!reader.auth.hasUser)
        }
    }
}
