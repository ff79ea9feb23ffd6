import QtQuick
import QtQuick.Controls
import Tessmark.Design

// A popup menu of AppMenuItems, read as a menu named by its `title`: the name of what opened it
// (the line's title, "Поделиться"). As it opens the keyboard goes to its first entry that can be
// chosen, not to the menu itself, with the ring when a key opened it and without after a click;
// the arrows go on from that entry.
Menu {
    id: menu

    function focusFirstEntry() {
        for (let i = 0; i < menu.count; ++i) {
            const entry = menu.itemAt(i)
            if (entry && entry.enabled && entry.visible) {
                menu.currentIndex = i
                FocusLanding.land(entry)
                return
            }
        }
    }

    onOpened: focusFirstEntry()
    // The landing tells a key from a click by its watch of the input, which starts with its first
    // use: here, before the menu first opens.
    Component.onCompleted: FocusLanding.pressedByKeyboard(null)
}
