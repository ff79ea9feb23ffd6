import QtQuick
import Tessmark.Design

// A project's status on a faint capsule, both in the status's colour (the text in a shade of it
// that reads on the capsule).
Rectangle {
    id: root

    // The status's raw text: "draft", "in_progress", "completed" or "rejected".
    property string status: "draft"
    readonly property color tint: ProjectStatusStyle.color(status, AppTheme.dark)

    implicitWidth: label.implicitWidth + 20
    implicitHeight: label.implicitHeight + 10
    radius: height / 2
    color: AppTheme.withOpacity(tint, 0.14)

    Text {
        id: label

        objectName: "statusBadgeLabel"
        anchors.centerIn: parent
        // A state, in the status's colour even when that is the error colour: read as text.
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        text: ProjectStatusStyle.label(root.status)
        textFormat: Text.PlainText
        font: Typography.font(Typography.Caption, Font.DemiBold)
        color: AppTheme.readableText(root.tint, 0.14, AppTheme.dark)
    }
}
