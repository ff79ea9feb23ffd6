import QtQuick
import QtTest
import Tessmark.Design

TestCase {
    id: testCase

    name: "SelectionControls"
    width: 500
    height: 600
    visible: true
    when: windowShown

    Component {
        id: selectComponent
        AppSelect {
            width: 300
            title: "Категория"
        }
    }

    Component {
        id: segmentedComponent
        AppSegmentedControl {
            width: 360
        }
    }

    Component {
        id: ownerComponent
        Item {
            property string stored: "b"
            property alias select: boundSelect
            AppSelect {
                id: boundSelect
                width: 300
                selection: parent.stored
                options: [{ value: "a", label: "Первый" }, { value: "b", label: "Второй" }]
                onActivated: value => parent.stored = value
            }
        }
    }

    SignalSpy {
        id: activatedSpy
        signalName: "activated"
    }

    function child(root, name) {
        return findChild(root, name)
    }

    function visibleChecks(select) {
        let count = 0
        for (let i = 0; i < select.options.length; ++i) {
            const option = child(select, "option" + i)
            const check = findChild(option, "checkmark")
            if (check && check.visible)
                ++count
        }
        return count
    }

    function test_unmatchedSelectionShowsDash() {
        const select = createTemporaryObject(selectComponent, testCase, {
            selection: "missing", options: [{ value: "a", label: "Первый" }, { value: "b", label: "Второй" }]
        })
        compare(child(select, "selectedLabel").text, "—")
        mouseClick(child(select, "field"))
        verify(select.isOpen)
        compare(visibleChecks(select), 0)
    }

    function test_equalValuesShowTheFirstLabelAndCheckBoth() {
        const select = createTemporaryObject(selectComponent, testCase, {
            selection: "x", isOpen: true,
            options: [{ value: "x", label: "Первый" }, { value: "y", label: "Другой" }, { value: "x", label: "Второй" }]
        })
        compare(select.selectedLabel, "Первый")
        compare(visibleChecks(select), 2)
    }

    function test_emptyOptionsOpenToAnEmptyList() {
        const select = createTemporaryObject(selectComponent, testCase, { selection: "a", options: [] })
        mouseClick(child(select, "field"))
        const list = child(select, "optionList")
        verify(list.visible)
        compare(findChild(list, "option0"), null)
        compare(findChild(list, "divider"), null)
    }

    function test_dividersBetweenOptionsOnly_data() {
        return [
            { tag: "one option", count: 1 },
            { tag: "three options", count: 3 }
        ]
    }
    function test_dividersBetweenOptionsOnly(data) {
        const options = []
        for (let i = 0; i < data.count; ++i)
            options.push({ value: i, label: "Вариант " + i })
        const select = createTemporaryObject(selectComponent, testCase, { selection: 0, options: options, isOpen: true })
        let shown = 0
        for (let i = 0; i < data.count; ++i) {
            const entry = child(select, "option" + i).parent
            const divider = findChild(entry, "divider")
            if (divider.visible)
                ++shown
            if (i === data.count - 1)
                verify(!divider.visible)
        }
        compare(shown, data.count - 1)
    }

    function test_choosingWritesClosesAndReopensChecked() {
        const select = createTemporaryObject(selectComponent, testCase, {
            selection: "a", options: [{ value: "a", label: "Первый" }, { value: "b", label: "Второй" }]
        })
        activatedSpy.target = select
        activatedSpy.clear()
        mouseClick(child(select, "field"))
        verify(select.isOpen)
        mouseClick(child(select, "option1"))
        compare(select.selection, "b")
        verify(!select.isOpen)
        compare(activatedSpy.count, 1)
        compare(activatedSpy.signalArguments[0][0], "b")
        compare(child(select, "selectedLabel").text, "Второй")
        mouseClick(child(select, "field"))
        verify(select.isOpen)
        verify(findChild(child(select, "option1"), "checkmark").visible)
        verify(!findChild(child(select, "option0"), "checkmark").visible)
    }

    function test_anOwnersBindingSurvivesAChoice() {
        const owner = createTemporaryObject(ownerComponent, testCase)
        mouseClick(child(owner.select, "field"))
        mouseClick(child(owner.select, "option0"))
        compare(owner.stored, "a")
        owner.stored = "b"
        compare(owner.select.selection, "b")
        compare(owner.select.selectedLabel, "Второй")
    }

    function test_segmentWritesTheChosenValue() {
        const control = createTemporaryObject(segmentedComponent, testCase, {
            selection: "category",
            options: [{ value: "category", label: "Категории" }, { value: "cost", label: "Стоимость" },
                      { value: "hours", label: "Часы" }]
        })
        activatedSpy.target = control
        activatedSpy.clear()
        mouseClick(child(control, "segment2"))
        compare(control.selection, "hours")
        compare(activatedSpy.count, 1)
        verify(child(control, "segment2").chosen)
        verify(!child(control, "segment0").chosen)
        // Segments share the width equally.
        fuzzyCompare(child(control, "segment0").width, child(control, "segment2").width, 0.5)
    }

    function test_unmatchedSegmentSelectionLeavesAllUnselected() {
        const control = createTemporaryObject(segmentedComponent, testCase, {
            selection: 42, options: [{ value: 1, label: "Один" }, { value: 2, label: "Два" }]
        })
        verify(!child(control, "segment0").chosen)
        verify(!child(control, "segment1").chosen)
        verify(!child(control, "segment0").background.visible)
    }
}
