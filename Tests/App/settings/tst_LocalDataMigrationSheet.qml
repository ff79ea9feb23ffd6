import QtQuick
import QtQuick.Window
import QtTest
import Tessmark.Design
import Tessmark.Features.Auth

// The offer to move device projects into the account, against the test backend: the form,
// a run with one failed upload, and no way to close the sheet while a run goes on.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: sheetComponent
        LocalDataMigrationSheet {
            anchors.fill: parent
        }
    }

    // Lower than the sheet asks: it opens shorter, inside this window.
    Component {
        id: smallWindowComponent
        Window {
            width: 600
            height: 420
            visible: true
        }
    }

    TestCase {
        name: "LocalDataMigrationSheet"
        when: windowShown
        visible: true

        function init() {
            testEnvironment.reset()
            // No tour: its demo project would be one more upload.
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        // The sheet over a signed-in window's offer of `count` device projects.
        function openSheet(count, parentItem) {
            testEnvironment.addDeviceProjects(count)
            const shell = testEnvironment.accountShell()
            verify(shell)
            verify(shell.migration.shown)
            const sheet = createTemporaryObject(sheetComponent, parentItem ?? host, { offer: shell.migration })
            verify(sheet)
            sheet.open()
            tryVerify(() => sheet.opened)
            return sheet
        }

        // What the sheet shows as a popup: its content lives in the window's overlay.
        function shown(sheet, name) {
            for (let i = 0; i < sheet.data.length; ++i) {
                if (sheet.data[i].modal !== undefined)
                    return findChild(sheet.data[i].contentItem, name)
            }
            return null
        }

        function text(sheet, name) {
            return shown(sheet, name).text
        }

        function confirm(sheet) {
            mouseClick(shown(sheet, "confirmButton"))
        }

        function test_form() {
            const sheet = openSheet(3)
            const cloud = sheet.model.cloudCount
            compare(text(sheet, "migrationCounts"), "На устройстве найдено локальных проектов: 3. В облаке сейчас: "
                    + cloud + ". Выберите, как объединить данные.")
            compare(sheet.model.policy, "mergeAll")
            compare(text(sheet, "policyExplanation"),
                    "Все локальные проекты будут загружены в аккаунт как новые. Облачные проекты не изменятся.")
            verify(!shown(sheet, "migrationErrorSection").visible)
            compare(shown(sheet, "confirmButton").text, "Применить")
            compare(shown(sheet, "cancelButton").text, "Не сейчас")

            mouseClick(shown(sheet, "policy-cloudOnly"))
            compare(sheet.model.policy, "cloudOnly")
            compare(text(sheet, "policyExplanation"),
                    "Локальные черновики на устройстве будут удалены. Останутся только проекты из облака.")
        }

        // The second of two uploads is refused, or answered with a project the account listed
        // before or one it does not hold: the sheet stays with the one left, and a second run
        // ends it.
        function test_failedUploadKeepsTheSheetOpen_data() {
            return [ { tag: "refused" }, { tag: "listed" }, { tag: "unknown" } ]
        }
        function test_failedUploadKeepsTheSheetOpen(data) {
            const sheet = openSheet(2)
            const offer = sheet.offer
            testEnvironment.failUpload(2, data.tag)
            confirm(sheet)
            verify(sheet.model.isRunning)
            tryVerify(() => !sheet.model.isRunning, 10000)
            verify(sheet.opened)
            verify(offer.shown)
            verify(shown(sheet, "migrationErrorSection").visible)
            verify(text(sheet, "migrationError").indexOf("1 из 2") >= 0, text(sheet, "migrationError"))
            compare(sheet.model.localCount, 1)
            verify(text(sheet, "migrationCounts").startsWith("На устройстве найдено локальных проектов: 1. "))
            compare(testEnvironment.deviceProjectCount(), 1)
            verify(shown(sheet, "confirmButton").enabled)

            confirm(sheet)
            // A new run clears the old failure before it starts.
            verify(!shown(sheet, "migrationErrorSection").visible)
            tryVerify(() => !sheet.opened, 10000)
            verify(!offer.shown)
            verify(!offer.dismissedThisSession)
            compare(testEnvironment.deviceProjectCount(), 0)
        }

        // A run that ends after its sheet is gone moves the projects and touches nothing else.
        function test_sheetGoneMidRun() {
            const sheet = openSheet(1)
            const offer = sheet.offer
            // The upload waits, so the run surely outlives the sheet.
            testEnvironment.hold("POST", "projects")
            sheet.model.apply()
            verify(sheet.model.isRunning)
            testEnvironment.watch(sheet)
            sheet.destroy()
            tryVerify(() => !testEnvironment.watchedExists())
            compare(testEnvironment.deviceProjectCount(), 1)
            testEnvironment.release()
            tryVerify(() => testEnvironment.deviceProjectCount() === 0, 10000)
            tryVerify(() => testEnvironment.requestCount("POST", "projects") === 1)
            verify(offer.shown)
            verify(!offer.dismissedThisSession)
        }

        function test_notNowSkips() {
            const sheet = openSheet(1)
            const offer = sheet.offer
            mouseClick(shown(sheet, "cancelButton"))
            tryVerify(() => !sheet.opened)
            verify(offer.dismissedThisSession)
            verify(!offer.shown)
            compare(testEnvironment.deviceProjectCount(), 1)
        }

        function test_noDismissalWhileRunning_data() {
            return [
                { tag: "popup", small: false },
                { tag: "in a window lower than the sheet", small: true },
            ]
        }

        function test_noDismissalWhileRunning(data) {
            let parentItem = host
            if (data.small) {
                const small = createTemporaryObject(smallWindowComponent, host)
                verify(waitForRendering(small.contentItem))
                parentItem = small.contentItem
            }
            const sheet = openSheet(1, parentItem)
            const frame = findChild(sheet, "sheetBody").parent
            compare(frame.Window.window, parentItem.Window.window)
            verify(frame.height <= parentItem.Window.window.height - 32)
            const offer = sheet.offer
            testEnvironment.refuseUploads()
            testEnvironment.hold("POST", "projects")
            sheet.model.apply()
            verify(sheet.model.isRunning)
            compare(sheet.confirmText, "…")
            verify(!sheet.confirmEnabled)
            verify(!sheet.cancelEnabled)

            // Escape and the cancel button both end in cancel().
            keyClick(Qt.Key_Escape)
            sheet.cancel()
            verify(sheet.opened)
            verify(offer.shown)
            verify(!offer.dismissedThisSession)

            testEnvironment.release()
            tryVerify(() => !sheet.model.isRunning, 10000)
            verify(sheet.opened)
            verify(sheet.cancelEnabled)
            sheet.cancel()
            tryVerify(() => !sheet.opened)
            verify(offer.dismissedThisSession)
        }
    }
}
