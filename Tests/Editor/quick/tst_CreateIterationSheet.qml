pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.Features.Editor

// The new-iteration sheet: the hint follows the source, each source's request, no way out while
// it is sent, and the new iteration handed over after the sheet has closed.
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
        CreateIterationSheet {}
    }

    TestCase {
        name: "CreateIterationSheet"
        when: windowShown
        visible: true

        property var sheet
        property var events: []
        property string root

        function openSheet(lines) {
            const editor = createTemporaryObject(editorComponent, host)
            editor.loadProject(sheetEnv.sampleProject("Сайт", "RUB", lines))
            events = []
            sheet = createTemporaryObject(sheetComponent, host, {
                projectsService: sheetEnv.projectsService,
                rootProjectId: root,
                copyFromCurrentItems: sheetEnv.projectItems(editor),
            })
            sheet.closed.connect(() => events.push("closed"))
            sheet.created.connect(id => events.push("created"))
            sheet.open()
            tryVerify(() => findChild(sheet, "sourceSelect").visible)
        }

        function choose(source) {
            const select = findChild(sheet, "sourceSelect")
            select.choose(source)
        }

        function init() {
            sheetEnv.reset()
            root = sheetEnv.addRoot()
        }

        function test_sources_data() {
            return [
                { tag: "server", source: "server", lines: 2,
                  hint: "Новая итерация получит копию сметы с сервера для текущей линии." },
                { tag: "form", source: "form", lines: 2,
                  hint: "Переносятся строки из открытой сметы (несохранённые правки)." },
                { tag: "form without lines", source: "form", lines: 0,
                  hint: "В форме нет строк — выберите другой источник." },
                { tag: "empty", source: "empty", lines: 2,
                  hint: "Итерация без позиций — заполните вручную или шаблоном." },
            ]
        }

        function test_sources(data) {
            openSheet(data.lines)
            choose(data.source)
            compare(findChild(sheet, "sourceHint").text, data.hint)
            // Enter in the name field creates.
            verify(findChild(sheet, "iterationNameField").input.activeFocus)
            keyClick(" ")
            keyClick(Qt.Key_Return)
            tryVerify(() => events.length === 2, 10000)
            compare(events, ["closed", "created"])
            // The lines the editor handed over reach the request (the bodies per source are
            // tested on the model).
            const sent = sheetEnv.bodies("POST", "projects/" + root + "/iterate")
            compare(sent.length, 1)
            if (data.tag === "form")
                compare(sent[0].items.length, 2)
        }

        // An answer naming the root itself, or one that does not read, is no new iteration:
        // nothing is handed over, and the sheet says why, as an alert, with the keys on its one
        // button left, "Закрыть". A second press closes it and creates nothing.
        function test_answerThatIsNoNewIteration_data() {
            return [ { tag: "the root" }, { tag: "truncated" } ]
        }
        function test_answerThatIsNoNewIteration(data) {
            openSheet(1)
            const answer = sheetEnv.projectJson(root)
            sheetEnv.answer("POST", "projects/" + root + "/iterate", 201,
                            data.tag === "truncated" ? answer.slice(0, 40) : answer, 0)
            verify(findChild(sheet, "iterationNameField").input.activeFocus)
            keyClick(Qt.Key_Return)
            tryVerify(() => !sheet.model.isSubmitting, 10000)
            compare(events, [])
            const notice = findChild(sheet, "creationNotice")
            const text = "Сервер не подтвердил, что итерация создана. Проверьте список итераций, прежде чем "
                         + "создавать её снова."
            verify(notice.visible)
            compare(notice.text, text)
            compare(notice.Accessible.role, Accessible.AlertMessage)
            compare(notice.Accessible.name, text)
            const confirm = findChild(sheet, "confirmButton")
            compare(confirm.text, "Закрыть")
            tryVerify(() => confirm.activeFocus)
            verify(!findChild(sheet, "cancelButton").visible)
            verify(!findChild(sheet, "iterationNameField").enabled)
            // Space: the window's Return for buttons is not in this host.
            keyClick(Qt.Key_Space)
            tryVerify(() => events.length === 1)
            compare(events, ["closed"])
            compare(sheetEnv.bodies("POST", "projects/" + root + "/iterate").length, 1)
        }

        function test_noWayOutWhileSending() {
            openSheet(1)
            sheetEnv.answer("POST", "projects/" + root + "/iterate", 500, '{"message":"нет"}', 0)
            sheetEnv.hold("POST", "projects/" + root + "/iterate")
            mouseClick(findChild(sheet, "confirmButton"))
            tryVerify(() => sheet.model.isSubmitting)
            compare(findChild(sheet, "confirmButton").text, "…")
            verify(!findChild(sheet, "confirmButton").enabled)
            verify(!findChild(sheet, "cancelButton").enabled)
            keyClick(Qt.Key_Escape)
            sheetEnv.release()
            tryVerify(() => !sheet.model.isSubmitting, 10000)
            // The failure leaves the sheet open and ready again.
            compare(events, [])
            compare(findChild(sheet, "confirmButton").text, "Создать")
            verify(findChild(sheet, "confirmButton").enabled)
            verify(findChild(sheet, "cancelButton").enabled)
            mouseClick(findChild(sheet, "cancelButton"))
            tryVerify(() => events.length === 1)
            compare(events, ["closed"])
        }
    }
}
