import QtQuick
import QtQuick.Templates as T
import Tessmark.Design

// A text button in the primary colour, without chrome; `bordered` gives it a frame, for a
// command that stands among fields and would otherwise read as a label.
T.AbstractButton {
    id: control

    property string systemImage
    property color color: AppTheme.primary
    property bool bordered: false

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: bordered ? 8 : 0
    leftPadding: bordered ? 14 : 0
    rightPadding: bordered ? 14 : 0
    font: Typography.font(Typography.Subheadline, Font.Medium)
    opacity: pressed ? 0.7 : (enabled ? 1 : 0.45)

    background: Rectangle {
        visible: control.bordered
        radius: 10
        color: control.down ? AppTheme.withOpacity(control.color, 0.12) : AppTheme.cardBackground
        border.width: 1
        border.color: AppTheme.withOpacity(control.color, 0.55)
    }

    // Around the frame, or with some room beside a bare label.
    FocusRing {
        anchors.leftMargin: control.bordered ? -3 : -6
        anchors.rightMargin: control.bordered ? -3 : -6
        radius: control.bordered ? 13 : 6
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
