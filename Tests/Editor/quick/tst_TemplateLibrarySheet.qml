pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.Features.Editor

// The template library: the sphere follows both ways, a card asks before it applies, "Отмена"
// returns to the list, and the keyboard picks a card.
Item {
    id: host
    width: 1000
    height: 800

    property string sphere: "software"

    Component {
        id: sheetComponent
        TemplateLibrarySheet {
            selectedSphereId: host.sphere
            onSelectedSphereIdChanged: host.sphere = selectedSphereId
        }
    }
    SignalSpy {
        id: closedSpy
        signalName: "closed"
    }
    SignalSpy {
        id: applySpy
        signalName: "applyRequested"
    }

    TestCase {
        name: "TemplateLibrarySheet"
        when: windowShown
        visible: true

        property var sheet

        // Delegates and the dialog's buttons are visual children only.
        function card(row) {
            return findChild(findChild(sheet, "templateCards"), "templateCard-" + row)
        }
        function dialogButton(dialog, index) {
            waitForRendering(dialog.contentItem)
            return findChild(dialog.contentItem, "dialogButton" + index)
        }

        function init() {
            sheetEnv.reset()
            host.sphere = "software"
            sheet = createTemporaryObject(sheetComponent, host)
            closedSpy.clear()
            closedSpy.target = sheet
            applySpy.clear()
            applySpy.target = sheet
            sheet.open()
            tryVerify(() => card(1) !== null)
        }

        function test_choices_data() {
            return [
                { tag: "replace", button: 0, applied: true, replace: true },
                { tag: "add", button: 1, applied: true, replace: false },
                { tag: "cancel", button: 2, applied: false },
                { tag: "escape", button: -1, applied: false },
                { tag: "space on the safe button", button: -2, applied: false },
            ]
        }

        function test_choices(data) {
            mouseClick(card(1))
            const dialog = findChild(sheet, "templateConfirmation")
            tryVerify(() => dialog.opened)
            compare(dialog.message, sheet.model.confirmationMessage(1))
            verify(dialog.message.startsWith("«" + sheetEnv.templateName(sheet.model.templateAt(1)) + "» — "))
            tryVerify(() => dialog.safeButton().activeFocus)
            if (data.button < 0)
                keyClick(data.button === -1 ? Qt.Key_Escape : Qt.Key_Space)
            else
                mouseClick(dialogButton(dialog, data.button))
            tryVerify(() => !dialog.opened)
            if (data.applied) {
                compare(applySpy.count, 1)
                compare(sheetEnv.templateName(applySpy.signalArguments[0][0]),
                        sheetEnv.templateName(sheet.model.templateAt(1)))
                compare(applySpy.signalArguments[0][1], data.replace)
                tryCompare(closedSpy, "count", 1)
            } else {
                wait(50)
                compare(applySpy.count, 0)
                compare(closedSpy.count, 0)
                verify(findChild(sheet, "templateCards").visible)
            }
        }

        function test_sphereFollowsBothWays() {
            const cards = findChild(sheet, "templateCards")
            const before = cards.count
            // The chips are placed once the opened sheet is laid out.
            waitForRendering(findChild(sheet, "spherePicker"))
            mouseClick(findChild(findChild(sheet, "spherePicker"), "sphereChip-design"))
            compare(host.sphere, "design")
            tryVerify(() => cards.count !== before)
            // The sheet wrote its own value, so the host sets it there from now on.
            sheet.selectedSphereId = "marketing"
            compare(findChild(sheet, "spherePicker").selectedSphereId, "marketing")
            compare(sheet.model.sphereId, "marketing")
            sheet.selectedSphereId = "no-such-sphere"
            verify(findChild(sheet, "emptyTemplates").visible)
            verify(!cards.visible)
        }

        function test_keyboardPicksACard() {
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            const dialog = findChild(sheet, "templateConfirmation")
            tryVerify(() => dialog.opened)
            compare(dialog.message, sheet.model.confirmationMessage(1))
            tryVerify(() => dialog.safeButton().activeFocus)
            mouseClick(dialogButton(dialog, 2))
            tryVerify(() => !dialog.opened)
            keyClick(Qt.Key_Escape)
            tryCompare(closedSpy, "count", 1)
            compare(applySpy.count, 0)
        }
    }
}
