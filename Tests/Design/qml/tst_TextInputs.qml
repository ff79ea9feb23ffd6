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
        id: areaComponent
        AppTextArea { width: 320; title: "Требования" }
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

    function test_revealTogglesBetweenHiddenAndShownWithTheSameText() {
        const field = createTemporaryObject(fieldComponent, testCase, { isSecure: true, allowsPasswordReveal: true, text: "секрет" })
        const reveal = findChild(field, "revealButton")
        verify(reveal.visible)
        for (const shown of [false, true, false]) {
            if (shown !== (field.input.echoMode === TextInput.Normal))
                mouseClick(reveal)
            compare(field.input.echoMode, shown ? TextInput.Normal : TextInput.Password)
            compare(reveal.Accessible.name, shown ? "Скрыть пароль" : "Показать пароль")
            compare(field.text, "секрет")
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
}
