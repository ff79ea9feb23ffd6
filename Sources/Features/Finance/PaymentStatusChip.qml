pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design

// A payment's status as a small capsule in the status's colour.
Rectangle {
    id: root

    // Raw status: "pending", "received" or "cancelled".
    required property string status
    required property string label
    readonly property color tint: status === "received" ? AppTheme.success
                                  : status === "cancelled" ? AppTheme.textSecondary
                                  : AppTheme.warning

    implicitWidth: text.implicitWidth + 16
    implicitHeight: text.implicitHeight + 8
    radius: height / 2
    color: AppTheme.withOpacity(tint, 0.14)

    Text {
        id: text

        objectName: "statusChipLabel"
        anchors.centerIn: parent
        Accessible.role: Accessible.StaticText
        Accessible.name: root.label
        text: root.label
        textFormat: Text.PlainText
        font: Typography.font(Typography.Caption2, Font.DemiBold)
        color: AppTheme.readableText(root.tint, 0.14, AppTheme.dark)
    }
}
