import QtQuick
import QtQuick.Controls

// The projects list's scroll bar, drawn as every other one. A drag on its handle moves the list;
// a click in the track beside the handle moves it by a page towards the click. A handle let go
// at the track's end shows the list's end.
ScrollBar {
    id: bar

    // The list the bar moves.
    required property Flickable view
    // The person moved the list with the bar.
    signal used()

    // The list kept at its end after a drag there (or a key) while it measures the rows it makes
    // at its end (they need not be as tall as it reckoned): until its figures have stayed the same
    // a while, or anything else moves it.
    property bool keepsEnd: false
    function keepEnd() {
        bar.keepsEnd = true
        bar.placeEnd()
    }
    onKeepsEndChanged: if (!keepsEnd) settling.stop()
    Timer {
        id: settling
        interval: 1000
        onTriggered: bar.keepsEnd = false
    }
    function placeEnd() {
        if (!bar.keepsEnd)
            return
        settling.restart()
        const view = bar.view
        // A list view makes its last rows where they belong first; a table makes them at the end
        // it reckons, and reckons anew as it measures them.
        if (view instanceof ListView)
            view.positionViewAtEnd()
        // Past the margin below the last row, where a drag or the wheel stops.
        view.contentY = Math.max(view.originY - view.topMargin,
                                 view.originY + view.contentHeight + view.bottomMargin - view.height)
    }
    Connections {
        target: bar.keepsEnd ? bar.view : null
        function onContentHeightChanged() { Qt.callLater(bar.placeEnd) }
        function onOriginYChanged() { Qt.callLater(bar.placeEnd) }
        function onMovementStarted() { bar.keepsEnd = false }
    }

    // How far the pointer took the handle: the bar's position lags behind it while the list
    // measures the rows the drag brings into view and moves its own figures under the bar.
    property real handleTopAtPress: 0
    property real dragTravel: 0
    PointHandler {
        id: pointer
        onTranslationChanged: if (bar.pressed) bar.dragTravel = pointer.translation.y
    }

    Accessible.name: "Прокрутка: Проекты"
    stepSize: bar.size
    onUsed: bar.keepsEnd = false
    onPressedChanged: {
        if (pressed) {
            bar.handleTopAtPress = bar.contentItem.y
            bar.dragTravel = 0
            bar.used()
        } else if (bar.handleTopAtPress + bar.dragTravel + bar.contentItem.height
                   >= bar.height - bar.bottomPadding - 0.5) {
            bar.keepEnd()
        }
    }

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
