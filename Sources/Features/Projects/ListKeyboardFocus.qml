import QtQuick

// Where a list's focus came from: a press on a row gives the list the focus without the ring,
// which is the keyboard's, until the focus leaves the list and comes back. Shared by the tree
// and the card grid.
QtObject {
    id: tracker

    required property Item target
    // The list has the focus, from whichever device.
    readonly property bool hasFocus: target !== null && target.activeFocus
    // ... from the keyboard: its current row shows the ring.
    readonly property bool showsRing: hasFocus && !fromPointer
    property bool fromPointer: false

    function takeByPointer() {
        fromPointer = true
        target.forceActiveFocus(Qt.MouseFocusReason)
    }

    onHasFocusChanged: if (!hasFocus) fromPointer = false
}
