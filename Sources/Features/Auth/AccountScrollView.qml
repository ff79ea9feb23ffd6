pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls

// The vertical scroll of the account screens, with its bar shown whenever there is more to see.
Flickable {
    id: scroller

    objectName: "accountScroller"
    contentWidth: width
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    ScrollBar.vertical: ScrollBar {
        policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }
}
