import QtQuick
import QtQuick.Templates as T
import Tessmark.Design

// A text button in the primary colour, without chrome.
T.AbstractButton {
    id: control

    property string systemImage
    property color color: AppTheme.primary

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: 0
    font: Typography.font(Typography.Subheadline, Font.Medium)
    opacity: pressed ? 0.7 : (enabled ? 1 : 0.45)

    FocusRing {
        radius: 6
    }

    contentItem: Row {
        spacing: 6

        AppIcon {
            anchors.verticalCenter: parent.verticalCenter
            visible: control.systemImage !== ""
            name: control.systemImage
            size: 15
            color: control.color
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: control.text
            font: control.font
            color: control.color
        }
    }
}
