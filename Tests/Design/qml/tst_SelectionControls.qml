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

    readonly property var twoOptions: [{ value: "a", label: "Первый" }, { value: "b", label: "Второй" }]

    Component {
        id: selectComponent
        AppSelect { width: 300; title: "Категория" }
    }

    Component {
        id: segmentedComponent
        AppSegmentedControl { width: 360 }
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
                options: testCase.twoOptions
                onActivated: value => parent.stored = value
            }
        }
    }

    SignalSpy {
        id: activatedSpy
        signalName: "activated"
    }

    function spyOn(target) {
        activatedSpy.target = target
        activatedSpy.clear()
        return target
    }

    function checked(select, i) {
        const check = findChild(findChild(select, "option" + i), "checkmark")
        return check !== null && check.visible
    }

    function checkedCount(select) {
        let count = 0
        for (let i = 0; i < select.options.length; ++i)
            count += checked(select, i) ? 1 : 0
        return count
    }

    function test_unmatchedSelectionShowsDash() {
        const select = createTemporaryObject(selectComponent, testCase, { selection: "missing", options: twoOptions })
        compare(findChild(select, "selectedLabel").text, "—")
        mouseClick(findChild(select, "field"))
        verify(select.isOpen)
        compare(checkedCount(select), 0)
    }

    function test_equalValuesShowTheFirstLabelAndCheckBoth() {
        const select = createTemporaryObject(selectComponent, testCase, {
            selection: "x", isOpen: true,
            options: [{ value: "x", label: "Первый" }, { value: "y", label: "Другой" }, { value: "x", label: "Второй" }]
        })
        compare(select.selectedLabel, "Первый")
        compare(checkedCount(select), 2)
    }

    function test_dividersBetweenOptionsOnly_data() {
        return [{ tag: "none", count: 0 }, { tag: "one option", count: 1 }, { tag: "three options", count: 3 }]
    }
    function test_dividersBetweenOptionsOnly(data) {
        const options = []
        for (let i = 0; i < data.count; ++i)
            options.push({ value: i, label: "Вариант " + i })
        const select = createTemporaryObject(selectComponent, testCase, { selection: 0, options: options })
        mouseClick(findChild(select, "field"))
        verify(findChild(select, "optionList").visible)
        compare(findChild(select, "option" + data.count), null)
        let shown = 0
        for (let i = 0; i < data.count; ++i) {
            const divider = findChild(findChild(select, "option" + i).parent, "divider")
            shown += divider.visible ? 1 : 0
            if (i === data.count - 1)
                verify(!divider.visible)
        }
        compare(shown, Math.max(0, data.count - 1))
    }

    function test_choosingWritesClosesAndReopensChecked() {
        const select = spyOn(createTemporaryObject(selectComponent, testCase, { selection: "a", options: twoOptions }))
        mouseClick(findChild(select, "field"))
        verify(select.isOpen)
        mouseClick(findChild(select, "option1"))
        compare(select.selection, "b")
        verify(!select.isOpen)
        compare(activatedSpy.count, 1)
        compare(activatedSpy.signalArguments[0][0], "b")
        compare(findChild(select, "selectedLabel").text, "Второй")
        mouseClick(findChild(select, "field"))
        verify(select.isOpen)
        verify(checked(select, 1) && !checked(select, 0))
    }

    function test_anOwnersBindingSurvivesAChoice() {
        const owner = createTemporaryObject(ownerComponent, testCase)
        mouseClick(findChild(owner.select, "field"))
        mouseClick(findChild(owner.select, "option0"))
        compare(owner.stored, "a")
        owner.stored = "b"
        compare(owner.select.selection, "b")
        compare(owner.select.selectedLabel, "Второй")
    }

    function test_segmentWritesTheChosenValue() {
        const control = spyOn(createTemporaryObject(segmentedComponent, testCase, {
            selection: "category",
            options: [{ value: "category", label: "Категории" }, { value: "cost", label: "Стоимость" },
                      { value: "hours", label: "Часы" }]
        }))
        mouseClick(findChild(control, "segment2"))
        compare(control.selection, "hours")
        compare(activatedSpy.count, 1)
        verify(findChild(control, "segment2").chosen)
        verify(!findChild(control, "segment0").chosen)
        // Segments share the width equally.
        fuzzyCompare(findChild(control, "segment0").width, findChild(control, "segment2").width, 0.5)
    }

    // Too narrow for the labels on one line, every icon goes above its label and no label runs
    // past its segment; wide enough, they stand side by side again.
    function test_narrowSegmentsStack_data() {
        return [{ tag: "narrow", width: 240, stacked: true }, { tag: "wide", width: 480, stacked: false }]
    }

    function test_narrowSegmentsStack(data) {
        const control = createTemporaryObject(segmentedComponent, testCase, {
            width: data.width,
            options: [{ value: "system", label: "Как в системе", icon: "circle.lefthalf.filled" },
                      { value: "light", label: "Светлая", icon: "sun.max.fill" },
                      { value: "dark", label: "Тёмная", icon: "moon.fill" }]
        })
        waitForRendering(control)
        compare(control.stacked, data.stacked)
        for (let i = 0; i < 3; ++i) {
            const segment = findChild(control, "segment" + i)
            const face = segment.contentItem
            verify(face.childrenRect.width <= segment.availableWidth + 0.5, "segment " + i)
        }
    }

    // As narrow as the settings card at the window's smallest size: stacked, and still every
    // label on one line.
    function test_stackedLabelsKeepToOneLine() {
        const control = createTemporaryObject(segmentedComponent, testCase, {
            width: 230,
            selection: "light",
            options: [{ value: "system", label: "Как в системе", icon: "circle.lefthalf.filled" },
                      { value: "light", label: "Светлая", icon: "sun.max.fill" },
                      { value: "dark", label: "Тёмная", icon: "moon.fill" }]
        })
        waitForRendering(control)
        verify(control.stacked)
        for (let i = 0; i < 3; ++i) {
            const segment = findChild(control, "segment" + i)
            const title = findChild(segment, "segmentTitle")
            compare(title.lineCount, 1, "segment " + i)
            verify(!title.truncated, "segment " + i)
        }
        // The chosen segment is framed, so that it stands apart from the track in light.
        verify(findChild(control, "segment1").background.children[1].border.width > 0)
    }

    function test_unmatchedSegmentSelectionLeavesAllUnselected() {
        const control = createTemporaryObject(segmentedComponent, testCase, { selection: 42, options: twoOptions })
        verify(!findChild(control, "segment0").chosen)
        verify(!findChild(control, "segment1").chosen)
        verify(!findChild(control, "segment0").background.visible)
    }

    Component {
        id: sphereOwnerComponent
        Item {
            property string stored: "no-such-sphere"
            property alias picker: boundPicker
            SpherePickerView {
                id: boundPicker
                width: 480
                selectedSphereId: parent.stored
                onSelectedSphereIdChanged: parent.stored = selectedSphereId
            }
        }
    }

    // An unknown identifier marks no chip; a press marks that chip alone and reaches the owner.
    // Every chip lies within the picker's width, in as many rows as they need.
    function test_sphereChips() {
        const owner = createTemporaryObject(sphereOwnerComponent, testCase)
        const chips = findChild(owner.picker, "sphereChips")
        const buttons = []
        for (let i = 0; i < chips.children.length; ++i)
            if (chips.children[i].objectName.startsWith("sphereChip-"))
                buttons.push(chips.children[i])
        verify(buttons.length >= 2)
        for (const button of buttons)
            verify(button.mapToItem(owner.picker, 0, 0).x + button.width <= owner.picker.width, button.objectName)
        verify(buttons.every(b => !b.selected))
        waitForRendering(owner.picker)
        mouseClick(buttons[1])
        compare(owner.stored, buttons[1].objectName.substring("sphereChip-".length))
        verify(buttons[1].selected)
        mouseClick(buttons[0])
        verify(buttons[0].selected && !buttons[1].selected)
    }

    function test_statusBadgeLabels_data() {
        return [{ tag: "draft", label: "Черновик" }, { tag: "in_progress", label: "В работе" },
                { tag: "completed", label: "Завершён" }, { tag: "rejected", label: "Отказ" }]
    }
    function test_statusBadgeLabels(data) {
        const badge = createTemporaryObject(statusBadgeComponent, testCase, { status: data.tag })
        const label = findChild(badge, "statusBadgeLabel")
        compare(label.text, data.label)
        compare(badge.color.a.toFixed(2), (0.14 * label.color.a).toFixed(2))
    }

    Component {
        id: statusBadgeComponent
        ProjectStatusBadge {}
    }
}
