import QtQuick

// Exclusive choices made by a Repeater, worked from the keyboard as a desktop radio group: the
// group is one Tab stop, entered at the checked choice (the first when none is), and the arrow
// keys move along it. Each choice asks `isTabStop(index)` for its focus policy and hands its
// arrow keys to `move`.
QtObject {
    id: group

    // The Repeater whose items are the choices, or whose items hold one as `choice`.
    property Item repeater
    // Whether a move by arrow also chooses (a radio group), or only moves the focus until Return
    // or Space chooses (a list of options).
    property bool choosesOnMove: true

    readonly property int checkedIndex: {
        const count = repeater ? repeater.count : 0
        for (let i = 0; i < count; ++i) {
            const button = choiceAt(i)
            if (button && button.checked)
                return i
        }
        return -1
    }

    function choiceAt(index) {
        const item = repeater ? repeater.itemAt(index) : null
        return item && item.choice !== undefined ? item.choice : item
    }

    function isTabStop(index) {
        return index === Math.max(0, checkedIndex)
    }
    // The choice Tab stops at: the checked one, else the first.
    function tabStop() {
        return choiceAt(Math.max(0, checkedIndex))
    }

    // The arrow key's event on the choice at `index`: the next or previous enabled choice takes
    // the focus, in the order they are drawn (Left is forward when the layout is mirrored).
    function move(index, event) {
        let step = 0
        if (event.key === Qt.Key_Up || event.key === Qt.Key_Left)
            step = -1
        else if (event.key === Qt.Key_Down || event.key === Qt.Key_Right)
            step = 1
        if (step === 0 || event.modifiers !== Qt.NoModifier)
            return
        event.accepted = true
        const from = choiceAt(index)
        if (from && from.mirrored && (event.key === Qt.Key_Left || event.key === Qt.Key_Right))
            step = -step
        const count = repeater ? repeater.count : 0
        for (let i = index + step; i >= 0 && i < count; i += step) {
            const button = choiceAt(i)
            if (!button || !button.enabled || !button.visible)
                continue
            button.forceActiveFocus(Qt.TabFocusReason)
            if (choosesOnMove) {
                button.clicked()
                // A choice that rebuilds a list around the group moves the list's focus to its
                // current row: the keys stay with the group.
                if (!button.activeFocus)
                    button.forceActiveFocus(Qt.TabFocusReason)
            }
            return
        }
    }
}
