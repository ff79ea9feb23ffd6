import QtQuick
import QtQuick.Controls.Basic
import Tessmark.Design

// An on/off switch with a rounded track, tinted with the accent when on.
Switch {
    id: control

    font: Typography.font(Typography.Subheadline)
    spacing: 10

    indicator: Rectangle {
        implicitWidth: 40
        implicitHeight: 22
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        radius: height / 2
        color: control.checked ? AppTheme.accent : AppTheme.withOpacity(AppTheme.textSecondary, 0.3)
        opacity: control.enabled ? 1 : 0.45
        Behavior on color { ColorAnimation { duration: 120 } }

        FocusRing {
            radius: height / 2
            shown: control.visualFocus
        }

        Rectangle {
            width: 18
            height: 18
            radius: 9
            y: 2
            x: control.checked ? parent.width - width - 2 : 2
            color: "white"
            border.width: 1
            border.color: AppTheme.withOpacity(AppTheme.border, 0.6)
            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
        }
    }

    contentItem: Text {
        text: control.text
        font: control.font
        color: AppTheme.deepBlack
        opacity: control.enabled ? 1 : 0.45
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.Wrap
        leftPadding: control.indicator.width + control.spacing
    }
}
