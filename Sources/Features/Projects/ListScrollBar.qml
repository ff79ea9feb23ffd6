import QtQuick
import QtQuick.Controls

// The projects list's scroll bar, drawn as every other one. A drag on its handle moves the list;
// a click in the track beside the handle moves it by a page towards the click.
ScrollBar {
    id: bar

    // The person moved the list with the bar.
    signal used()

    Accessible.name: "Прокрутка: Проекты"
    stepSize: bar.size
    onPressedChanged: if (pressed) bar.used()

    MouseArea {
        anchors.fill: parent
        onPressed: mouse => {
            const handle = bar.contentItem
            // The handle itself is dragged by the bar.
            if (mouse.y >= handle.y && mouse.y <= handle.y + handle.height) {
                mouse.accepted = false
                return
            }
            bar.used()
            if (mouse.y < handle.y)
                bar.decrease()
            else
                bar.increase()
        }
    }
}
