import QtQuick
import Tessmark.Design

// The accent ring of the tour around a lit element; it takes no pointer events.
Item {
    enabled: false

    BoxShadow {
        anchors.fill: parent
        anchors.margins: -margin
        radius: 10
        strokeWidth: 3
        blur: 10
        offsetY: 2
        color: AppTheme.withOpacity(AppTheme.accent, 0.4)
    }
    Rectangle {
        anchors.fill: parent
        radius: 10
        color: "transparent"
        border.width: 3
        border.color: AppTheme.accent
    }
}
