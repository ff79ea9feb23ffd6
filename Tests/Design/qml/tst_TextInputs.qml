import QtQuick
import QtTest
import Tessmark.Design

TestCase {
    id: testCase

    name: "TextInputs"
    width: 500
    height: 400
    visible: true
    when: windowShown

    // Return presses the focused button, as in the application's window.
    ButtonReturnKey {}

    Component {
        id: fieldComponent
        AppTextField { width: 320; title: "Пароль"; systemImage: "lock.fill" }
    }

    Component {
        id: formComponent
        Column {
            property alias field: field
            property int submits: 0
            SubmitOnReturn.onSubmitted: ++submits
            AppTextField { id: field; width: 320; title: "Email"; systemImage: "envelope.fill" }
        }
    }

    Component {
        id: plainFormComponent
        Column {
            property alias field: field
            AppTextField { id: field; width: 320; title: "Email"; systemImage: "envelope.fill" }
        }
    }

    Component {
        id: mirroredComponent
        Item {
            property alias field: field
            width: 320
            height: 100
            LayoutMirroring.enabled: true
            LayoutMirroring.childrenInherit: true
            AppTextField {
                id: field
                width: 320; title: "Пароль"; systemImage: "lock.fill"
                isSecure: true; allowsPasswordReveal: true
            }
        }
    }

    Component {
        id: alertComponent
        AlertText { width: 300; shown: false }
    }

    Component {
        id: areaComponent
        AppTextArea { width: 320; title: "Требования" }
    }

    // A form taller than its scrolled area, with a long text in the middle.
    Component {
        id: scrolledFormComponent
        Item {
            property alias flick: flick
            property alias area: area
            width: 400
            height: 200
            KeyboardFocusInView {}
            Flickable {
                id: flick
                anchors.fill: parent
                clip: true
                contentHeight: column.height
                Column {
                    id: column
                    width: 320
                    spacing: 16
                    Repeater {
                        model: 3
                        AppTextField { required property int index; width: 320; title: "Поле " + index }
                    }
                    AppTextArea {
                        id: area
                        width: 320
                        title: "Описание"
                        text: Array.from({ length: 30 }, (_, i) => "Строка " + i).join("\n")
                    }
                    AppTextField { width: 320; title: "Последнее" }
                }
            }
        }
    }

    // A scrolled list whose content above its last button is still growing, as a page does
    // while its figures arrive.
    Component {
        id: settlingComponent
        Item {
            property alias flick: flick
            property alias spacer: spacer
            property alias last: last
            width: 400
            height: 200
            KeyboardFocusInView {}
            Flickable {
                id: flick
                anchors.fill: parent
                clip: true
                contentHeight: column.height
                Column {
                    id: column
                    width: 320
                    spacing: 16
                    AppTextField { width: 320; title: "Первое" }
                    Rectangle { id: spacer; width: 320; height: 40 }
                    SecondaryButton { id: last; bordered: true; text: "Последняя" }
                }
            }
        }
    }

    // The focus given by Tab stays in view while the content above it still grows; once the
    // wheel has scrolled, the view is the person's.
    function test_focusStaysInViewWhileTheLayoutSettles() {
        const page = createTemporaryObject(settlingComponent, testCase)
        waitForRendering(page)
        const flick = page.flick
        const field = page.flick.contentItem.children[0].children[0].input
        field.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verify(page.last.activeFocus)
        verify(inside(page.last, Qt.rect(0, 0, page.last.width, page.last.height), flick))
        // However many times, and however long after.
        for (const grown of [200, 300, 400, 500, 600, 700]) {
            waitForRendering(page)
            page.spacer.height = grown
            tryVerify(() => inside(page.last, Qt.rect(0, 0, page.last.width, page.last.height), flick),
                      1000, "out of view after the content grew to " + grown)
        }
        mouseWheel(flick, 10, 10, 0, 120)
        tryVerify(() => !flick.moving)
        const scrolled = flick.contentY
        page.spacer.height = 1000
        wait(50)
        compare(flick.contentY, scrolled)
    }

    function inside(item, rect, view) {
        const r = item.mapToItem(view, rect.x, rect.y, rect.width, rect.height)
        return r.y >= -1 && r.y + r.height <= view.height + 1
    }

    // Tab scrolls each field into view, a long text to its cursor; a click scrolls nothing.
    function test_keyboardFocusScrollsIntoView() {
        const form = createTemporaryObject(scrolledFormComponent, testCase)
        waitForRendering(form)
        const flick = form.flick
        const window = form.Window.window
        form.area.input.cursorPosition = form.area.text.length
        mouseClick(form.flick.contentItem.children[0].children[0].input)
        verify(window.activeFocusItem !== null)
        compare(flick.contentY, 0)
        const reached = []
        for (let i = 0; i < 4; ++i) {
            keyClick(Qt.Key_Tab)
            const focused = window.activeFocusItem
            reached.push(focused)
            if (focused === form.area.input) {
                const inner = focused.parent.parent
                verify(inside(focused, focused.cursorRectangle, inner), "the cursor is out of its field's view")
                verify(inside(inner, Qt.rect(0, 0, inner.width, inner.height), flick), "the text is out of view")
            } else {
                verify(inside(focused, Qt.rect(0, 0, focused.width, focused.height), flick),
                       "Tab " + i + " is out of view")
            }
        }
        verify(reached.indexOf(form.area.input) >= 0)
        verify(flick.contentY > 0)
        // A click on a field half shown at the bottom leaves the scroll where it is.
        const last = reached[reached.length - 1]
        flick.contentY = Math.round(Math.max(0, last.mapToItem(flick.contentItem, 0, 0).y - flick.height + last.height / 2))
        const before = flick.contentY
        verify(!inside(last, Qt.rect(0, 0, last.width, last.height), flick))
        form.area.input.forceActiveFocus()
        mouseClick(last, 4, 2)
        verify(last.activeFocus)
        compare(flick.contentY, before)
    }

    // Return breaks the line, Ctrl+Return submits; the text runs left to right even mirrored.
    function test_textAreaReturnAndSubmit() {
        const area = createTemporaryObject(areaComponent, testCase)
        const submitted = createTemporaryObject(spyComponent, testCase, { target: area, signalName: "submitted" })
        area.input.forceActiveFocus()
        keyClick("a")
        keyClick(Qt.Key_Return)
        keyClick("b")
        compare(area.text, "a\nb")
        compare(submitted.count, 0)
        keyClick(Qt.Key_Return, Qt.ControlModifier)
        keyClick(Qt.Key_Enter, Qt.ControlModifier)
        compare(submitted.count, 2)
        compare(area.text, "a\nb")
        verify(area.height >= area.minimumHeight)
        area.LayoutMirroring.enabled = true
        compare(area.input.effectiveHorizontalAlignment, TextEdit.AlignLeft)
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    // By a click (the keyboard stays in the field), or Tab from the field, with its ring, then
    // Space or Return; the button reads as the field's.
    function test_revealTogglesBetweenHiddenAndShownWithTheSameText_data() {
        return [{ tag: "click" }, { tag: "Space", key: Qt.Key_Space }, { tag: "Return", key: Qt.Key_Return }]
    }
    function test_revealTogglesBetweenHiddenAndShownWithTheSameText(data) {
        const field = createTemporaryObject(fieldComponent, testCase, { isSecure: true, allowsPasswordReveal: true, text: "секрет" })
        const reveal = findChild(field, "revealButton")
        verify(reveal.visible)
        field.input.forceActiveFocus()
        if (data.key !== undefined) {
            keyClick(Qt.Key_Tab)
            verify(reveal.activeFocus && findChild(reveal, "revealRing").visible)
        }
        for (const shown of [false, true, false]) {
            if (shown !== (field.input.echoMode === TextInput.Normal))
                data.key !== undefined ? keyClick(data.key) : mouseClick(reveal)
            compare(field.input.echoMode, shown ? TextInput.Normal : TextInput.Password)
            compare(reveal.Accessible.name, shown ? "Скрыть пароль" : "Показать пароль")
            // Of which field: a form with two passwords has two such buttons.
            compare(reveal.Accessible.description, "Пароль")
            compare(field.text, "секрет")
            verify(data.key !== undefined ? reveal.activeFocus : field.input.activeFocus)
        }
    }

    function test_revealNeedsBoth_data() {
        return [
            { tag: "secure without reveal", secure: true, reveal: false },
            { tag: "reveal without secure entry", secure: false, reveal: true }
        ]
    }
    function test_revealNeedsBoth(data) {
        const field = createTemporaryObject(fieldComponent, testCase, { isSecure: data.secure, allowsPasswordReveal: data.reveal })
        verify(!findChild(field, "revealButton").visible)
        compare(field.input.echoMode, data.secure ? TextInput.Password : TextInput.Normal)
    }

    function test_errorLook_data() {
        return [
            { tag: "absent", error: null, outline: 1, red: false, line: false },
            { tag: "undefined", error: undefined, outline: 1, red: false, line: false },
            { tag: "empty text", error: "", outline: 1.5, red: true, line: false },
            { tag: "text", error: "Неверный email", outline: 1.5, red: true, line: true }
        ]
    }
    function test_errorLook(data) {
        const field = createTemporaryObject(fieldComponent, testCase, { error: data.error })
        const frame = findChild(field, "fieldFrame")
        compare(frame.border.width, data.outline)
        compare(Qt.colorEqual(frame.border.color, AppTheme.error), data.red)
        compare(findChild(field, "errorLine").visible, data.line)
        if (data.line)
            compare(findChild(field, "errorLine").text, data.error)
    }

    // An alert shows only with its words, named by them as it shows, whichever of its text and
    // its owner's condition comes first (a field's error sets both at once); emptied, it hides.
    function test_alertShowsWithItsWords_data() {
        return [
            { tag: "text first", field: false, textFirst: true },
            { tag: "shown first", field: false, textFirst: false },
            { tag: "field error", field: true }
        ]
    }
    function test_alertShowsWithItsWords(data) {
        const owner = createTemporaryObject(data.field ? fieldComponent : alertComponent, testCase)
        const alert = data.field ? findChild(owner, "errorLine") : owner
        const namedAs = []
        alert.visibleChanged.connect(() => {
            if (alert.visible)
                namedAs.push(alert.Accessible.name)
        })
        verify(!alert.visible)
        if (data.field) {
            owner.error = "Неверный email"
        } else {
            if (data.textFirst)
                alert.text = "Неверный email"
            else
                alert.shown = true
            verify(!alert.visible)
            if (data.textFirst)
                alert.shown = true
            else
                alert.text = "Неверный email"
        }
        verify(alert.visible)
        compare(alert.Accessible.role, Accessible.AlertMessage)
        compare(namedAs, ["Неверный email"])
        if (data.field)
            owner.error = ""
        else
            alert.text = ""
        verify(!alert.visible)
        compare(alert.Accessible.name, "")
    }

    function test_placeholderOnlyWhileEmpty() {
        const field = createTemporaryObject(fieldComponent, testCase)
        const placeholder = findChild(field, "placeholder")
        verify(placeholder.visible)
        compare(placeholder.text, "Пароль")
        field.input.forceActiveFocus()
        keyClick(Qt.Key_A)
        verify(!placeholder.visible)
        compare(field.text, "a")
    }

    // Where a pasted text comes from.
    Component {
        id: clipboardSourceComponent
        TextEdit { textFormat: TextEdit.PlainText }
    }

    // Pasted line breaks come in as spaces, over the selection as any paste; what the field
    // holds is what it shows, and it tells of the edit.
    function test_pasteTakesLineBreaksAsSpaces_data() {
        return [
            { tag: "line feed", pasted: "abc\ndef", before: "", result: "abc def" },
            { tag: "CR LF and separators", pasted: "a\r\nb\u2029c\rd", before: "", result: "a b c d" },
            { tag: "over the selection", pasted: "new\nname", before: "старое", result: "new name" },
            { tag: "no break", pasted: "plain", before: "x", result: "plain" }
        ]
    }
    function test_pasteTakesLineBreaksAsSpaces(data) {
        const source = createTemporaryObject(clipboardSourceComponent, testCase, { text: data.pasted })
        source.selectAll()
        source.copy()
        const field = createTemporaryObject(fieldComponent, testCase, { text: data.before })
        let edits = 0
        field.textEdited.connect(() => ++edits)
        field.input.forceActiveFocus(Qt.TabFocusReason)
        keySequence(StandardKey.Paste)
        compare(field.text, data.result)
        compare(field.input.displayText, data.result)
        compare(edits > 0, true)
    }

    function test_symbolLeftAndRevealRightWhenMirrored() {
        const root = createTemporaryObject(mirroredComponent, testCase)
        const x = item => item.mapToItem(root, 0, 0).x
        verify(x(findChild(root.field, "symbol")) < x(root.field.input))
        verify(x(root.field.input) < x(findChild(root.field, "revealButton")))
    }

    function test_returnSubmitsOnce() {
        const form = createTemporaryObject(formComponent, testCase)
        form.field.input.forceActiveFocus()
        keyClick(Qt.Key_Return)
        compare(form.submits, 1)
        keyClick(Qt.Key_Enter)
        compare(form.submits, 2)
        keyClick(Qt.Key_Space)
        compare(form.submits, 2)
    }

    function test_returnWithoutSubmitDoesNothing() {
        const form = createTemporaryObject(plainFormComponent, testCase)
        form.field.input.forceActiveFocus()
        keyClick(Qt.Key_Return)
        verify(form.field.input.activeFocus)
    }

    // A field holding a rate, between two others.
    Component {
        id: filledFormComponent
        Column {
            property alias first: first
            property alias rate: rate
            property alias last: last
            AppTextField { id: first; width: 320; title: "Часы"; text: "0.0" }
            AppTextField { id: rate; width: 320; title: "Ставка"; text: "50.0" }
            AppTextField { id: last; width: 320; title: "Способ" }
        }
    }

    // How the focus came decides whether typing replaces the text: a key or the application
    // landing on the field selects it; a click or the window coming back leaves the caret.
    function test_focusSelectsText_data() {
        return [
            { tag: "Tab", key: Qt.Key_Tab, result: "12" },
            { tag: "Shift+Tab", key: Qt.Key_Backtab, result: "12" },
            { tag: "landed on", reason: Qt.OtherFocusReason, result: "12" },
            { tag: "window back", reason: Qt.ActiveWindowFocusReason, result: "50.012" },
            { tag: "click beside the text", frame: true, result: "50.012" }
        ]
    }
    function test_focusSelectsText(data) {
        const form = createTemporaryObject(filledFormComponent, testCase)
        const input = form.rate.input
        input.cursorPosition = input.text.length
        if (data.key !== undefined) {
            (data.key === Qt.Key_Tab ? form.first : form.last).input.forceActiveFocus()
            keyClick(data.key)
        } else if (data.frame) {
            const frame = findChild(form.rate, "fieldFrame")
            mouseClick(frame, 4, frame.height / 2)
        } else {
            input.forceActiveFocus(data.reason)
        }
        verify(input.activeFocus)
        keyClick("1")
        keyClick("2")
        compare(form.rate.text, data.result)
    }

    // A value far beyond TextInput's 32,767 characters, shown cut until the field is edited;
    // the cut stands in for the one the view models make.
    Component {
        id: longFieldComponent
        Column {
            property alias field: field
            property alias other: other
            property string stored: "Начало " + "клиент ".repeat(10000)
            property int edits: 0
            AppTextField {
                id: field
                width: 320
                title: "Клиент"
                value: parent.stored
                idleText: parent.stored.length > 40 ? parent.stored.substring(0, 40) + "…" : parent.stored
                onTextEdited: {
                    parent.stored = wholeText
                    ++parent.edits
                }
            }
            AppTextField { id: other; width: 320; title: "Другое" }
        }
    }

    function test_longValueWholeOnlyWhileEdited() {
        const form = createTemporaryObject(longFieldComponent, testCase)
        const input = form.field.input
        const whole = form.stored
        verify(whole.length > 70000)
        compare(input.text, whole.substring(0, 40) + "…")
        compare(input.cursorPosition, 0)
        mouseClick(input, 20, input.height / 2)
        verify(input.activeFocus)
        compare(form.field.wholeText, whole)
        // Laid out is a stretch from the start, where the caret is.
        verify(input.text.length < whole.length)
        compare(input.text, whole.substring(0, input.text.length))
        keyClick(Qt.Key_End)
        keyClick(Qt.Key_X)
        compare(form.edits, 1)
        compare(form.stored, whole + "x")
        form.other.input.forceActiveFocus()
        compare(input.text, (whole + "x").substring(0, 40) + "…")
        compare(form.stored, whole + "x")
    }

    // Where the press put the caret is where typing goes, though the whole text came in under it.
    function test_longValueEditedWhereClicked() {
        const form = createTemporaryObject(longFieldComponent, testCase)
        const input = form.field.input
        const whole = form.stored
        mouseClick(input, 1, input.height / 2)
        keyClick(Qt.Key_X)
        compare(form.stored, "x" + whole)
    }

    // The window itself on a bare input, narrow enough for a few keys to cross it.
    Component {
        id: windowComponent
        Item {
            id: page
            property alias input: input
            property alias window: window
            property string stored: "0123456789".repeat(30)
            width: 300
            height: 40
            TextInput {
                id: input
                anchors.fill: parent
                onTextEdited: {
                    window.takeEdit()
                    page.stored = window.text
                }
            }
            LongTextWindow {
                id: window
                input: input
                active: true
                value: page.stored
                idleText: page.stored.substring(0, 10) + "…"
                windowSize: 40
                windowMargin: 8
                onEdited: page.stored = window.text
            }
        }
    }

    function focusedWindow() {
        const page = createTemporaryObject(windowComponent, testCase)
        page.input.forceActiveFocus()
        compare(page.input.text, page.stored.substring(0, 40))
        return page
    }
    // Each key as a person presses them, the event loop turning in between.
    function press(key, times, modifiers) {
        for (let i = 0; i < times; ++i) {
            keyClick(key, modifiers === undefined ? Qt.NoModifier : modifiers)
            wait(0)
        }
    }

    // Arrows carry the caret past the window's edges: the window follows, typing lands where the
    // caret is in the whole text, and no more than a stretch is ever laid out.
    function test_windowFollowsTheCaret() {
        const page = focusedWindow()
        const whole = page.stored
        press(Qt.Key_Right, 100)
        verify(page.window.windowStart > 0)
        verify(page.input.text.length <= 60)
        keyClick("#")
        compare(page.stored, whole.substring(0, 100) + "#" + whole.substring(100))
        press(Qt.Key_Left, 60)
        keyClick("@")
        compare(page.stored, whole.substring(0, 41) + "@" + whole.substring(41, 100) + "#" + whole.substring(100))
        verify(page.input.text.length <= 60)
        // Another text given while edited (a reload after a save) shows around the caret.
        page.stored = "9876543210".repeat(30)
        keyClick("#")
        compare(page.stored, "9876543210".repeat(4) + "98#76543210" + "9876543210".repeat(25))
        // Left, the input shows the idle text again.
        page.input.focus = false
        compare(page.input.text, page.stored.substring(0, 10) + "…")
    }

    // Home and End go to the ends of the whole text; selecting to an end, or everything, takes in
    // the whole text, so that typing replaces what is selected and nothing else.
    function test_windowEndsAndSelections() {
        const page = focusedWindow()
        const whole = page.stored
        keyClick(Qt.Key_End)
        compare(page.window.windowStart, whole.length - 40)
        keyClick("e")
        compare(page.stored, whole + "e")
        keyClick(Qt.Key_Home)
        compare(page.window.windowStart, 0)
        keyClick("s")
        compare(page.stored, "s" + whole + "e")
        press(Qt.Key_Right, 149)
        keyClick(Qt.Key_End, Qt.ShiftModifier)
        keyClick(Qt.Key_Delete)
        compare(page.stored, "s" + whole.substring(0, 149))
        keyClick(Qt.Key_Home, Qt.ShiftModifier)
        keyClick("x")
        compare(page.stored, "x")
        page.stored = whole
        press(Qt.Key_Right, 200)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        keyClick("z")
        compare(page.stored, "z")
    }

    // A selection grown across the window's edge stays whole: typing replaces all of it.
    function test_windowKeepsTheSelection() {
        const page = focusedWindow()
        const whole = page.stored
        press(Qt.Key_Right, 50)
        press(Qt.Key_Right, 60, Qt.ShiftModifier)
        verify(page.window.windowStart > 0)
        compare(page.input.selectedText, whole.substring(50, 110))
        keyClick("#")
        compare(page.stored, whole.substring(0, 50) + "#" + whole.substring(110))
    }

    // Everything selected stands for the whole text, though only the first window is laid out:
    // typing, deleting and undoing act on the whole text, a move goes to its end.
    function test_windowSelectsWhole_data() {
        return [
            { tag: "typed over", keys: [["z"]], result: w => "z" },
            { tag: "deleted", keys: [[Qt.Key_Backspace]], result: w => "" },
            { tag: "to the end", keys: [[Qt.Key_Right], ["e"]], result: w => w + "e" },
            { tag: "to the start", keys: [[Qt.Key_Left], ["s"]], result: w => "s" + w },
            { tag: "shrunk", keys: [[Qt.Key_Left, Qt.ShiftModifier], ["x"]],
              result: w => "x" + w.substring(w.length - 1) },
            { tag: "undone", keys: [["z"], [Qt.Key_Z, Qt.ControlModifier]], result: w => w },
            { tag: "redone", keys: [["z"], [Qt.Key_Z, Qt.ControlModifier], [Qt.Key_Z, Qt.ControlModifier | Qt.ShiftModifier]],
              result: w => "z" }
        ]
    }
    function test_windowSelectsWhole(data) {
        const page = focusedWindow()
        const whole = page.stored
        press(Qt.Key_Right, 100)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        compare(page.input.text, whole.substring(0, 40))
        compare(page.input.selectedText, page.input.text)
        for (const key of data.keys) {
            keyClick(key[0], key[1] === undefined ? Qt.NoModifier : key[1])
            wait(0)
        }
        compare(page.stored, data.result(whole))
    }

    // Tab into a long value selects all of it without laying it all out; typing replaces it.
    function test_tabIntoLongValueReplacesItWhole() {
        const form = createTemporaryObject(longFieldComponent, testCase)
        form.other.input.forceActiveFocus()
        keyClick(Qt.Key_Backtab)
        verify(form.field.input.activeFocus)
        verify(form.field.input.text.length < form.stored.length)
        compare(form.field.input.selectedText, form.field.input.text)
        keyClick("x")
        compare(form.stored, "x")
    }
}
