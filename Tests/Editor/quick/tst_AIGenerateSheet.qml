pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.Features.Editor

// The AI sheet on an editor built here: the button's rule, a generation that replaces the
// lines and closes, a failure that keeps everything, and no way out while the request runs.
Item {
    id: host
    width: 1000
    height: 800

    Component {
        id: editorComponent
        ProjectEditorViewModel {
            projectsService: sheetEnv.projectsService
        }
    }
    Component {
        id: sheetComponent
        AIGenerateSheet {}
    }
    SignalSpy {
        id: closedSpy
        signalName: "closed"
    }

    TestCase {
        name: "AIGenerateSheet"
        when: windowShown
        visible: true

        property var editor
        property var sheet

        function init() {
            sheetEnv.reset()
            editor = createTemporaryObject(editorComponent, host)
            editor.loadProject(sheetEnv.sampleProject("Магазин", "USD", 2))
            sheet = createTemporaryObject(sheetComponent, host, { editor: editor, projectsService: sheetEnv.projectsService })
            closedSpy.clear()
            closedSpy.target = sheet
            sheet.open()
            tryVerify(() => findChild(sheet, "generateButton").visible)
        }

        function type(text) {
            for (const ch of text) {
                if (ch === "\n")
                    keyClick(Qt.Key_Return)
                else
                    keyClick(ch)
            }
        }

        // With room in the window the sheet is as tall as its form: the budget toggle and its
        // field are whole in sight without scrolling.
        function test_budgetIsInSightWithoutScrolling() {
            const toggle = findChild(sheet, "budgetToggle")
            let viewport = toggle
            while (viewport && viewport.contentY === undefined)
                viewport = viewport.parent
            compare(viewport.contentY, 0)
            const inSight = item => {
                const top = item.mapToItem(viewport, 0, 0).y
                return top >= 0 && top + item.height <= viewport.height
            }
            verify(inSight(toggle))
            mouseClick(toggle)
            const field = findChild(sheet, "budgetField")
            tryVerify(() => field.visible)
            waitForRendering(field)
            compare(viewport.contentY, 0)
            verify(inSight(field))
        }

        function test_requirementsHaveFocusAndTheRuleHolds() {
            const area = findChild(sheet, "requirementsArea")
            verify(area.input.activeFocus)
            const button = findChild(sheet, "generateButton")
            type("123456789")
            verify(!button.enabled)
            type("0")
            verify(button.enabled)
            // The ceiling field is there only with the toggle, titled with the currency.
            const budget = findChild(sheet, "budgetField")
            verify(!budget.visible)
            mouseClick(findChild(sheet, "budgetToggle"))
            verify(budget.visible)
            compare(budget.title, "Потолок, USD")
        }

        function test_generateReplacesLinesAndCloses() {
            sheetEnv.answer("POST", "ai/generate", 200,
                            '{"items":[{"title":"Дизайн","description":"","category":"design","hours":4,"rate":0}]}', 1000)
            type("Catalog, cart\nand payment")
            keyClick(Qt.Key_Return, Qt.ControlModifier)
            tryVerify(() => sheet.model.isGenerating)
            // Nothing dismisses the sheet while the request runs.
            verify(findChild(sheet, "generatingIndicator").visible)
            verify(!findChild(sheet, "generateButton").enabled)
            verify(!findChild(sheet, "cancelButton").enabled)
            keyClick(Qt.Key_Escape)
            mouseClick(findChild(sheet, "cancelButton"))
            compare(closedSpy.count, 0)
            verify(sheet.model.isGenerating)
            tryCompare(closedSpy, "count", 1, 10000)
            compare(sheetEnv.lineTitles(editor), ["Дизайн"])
            verify(editor.isDirty)
            const sent = sheetEnv.bodies("POST", "ai/generate")
            compare(sent.length, 1)
            compare(sent[0].requirements, "Catalog, cart\nand payment")
            compare(sent[0].projectName, "Магазин")
            compare(sent[0].currency, "USD")
        }

        function test_failureKeepsTheSheetAndShowsTheText() {
            sheetEnv.answer("POST", "ai/generate", 400, '{"message":"Слишком коротко"}', 0)
            type("Catalog and cart")
            mouseClick(findChild(sheet, "modePicker"), 5, 5)
            mouseClick(findChild(sheet, "generateButton"))
            const box = findChild(sheet, "errorBox")
            tryVerify(() => box.visible, 10000)
            const text = findChild(sheet, "errorText")
            compare(text.text, "Слишком коротко")
            compare(text.textFormat, Text.PlainText)
            compare(closedSpy.count, 0)
            compare(findChild(sheet, "requirementsArea").text, "Catalog and cart")
            compare(sheetEnv.lineTitles(editor), ["Строка 1", "Строка 2"])
            verify(findChild(sheet, "cancelButton").enabled)
            keyClick(Qt.Key_Escape)
            tryCompare(closedSpy, "count", 1)
        }
    }
}
