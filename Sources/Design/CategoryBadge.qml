import QtQuick
import Tessmark.Design

// A category's display name on a faint capsule, both in the category's colour (the name in a
// shade of it that reads on the capsule).
Rectangle {
    id: root

    property string categoryId
    // How much of the category's colour the surface under the badge already shows.
    property real surfaceTint: 0
    readonly property color tint: CategoryTheme.color(categoryId, AppTheme.dark)

    implicitWidth: label.implicitWidth + 16
    implicitHeight: label.implicitHeight + 8
    radius: height / 2
    color: AppTheme.withOpacity(tint, 0.12)

    Text {
        id: label

        anchors.centerIn: parent
        width: Math.min(implicitWidth, root.width - 16)
        text: CategoryTheme.name(root.categoryId)
        textFormat: Text.PlainText
        maximumLineCount: 1
        elide: Text.ElideRight
        font: Typography.font(Typography.Caption2, Font.DemiBold)
        color: AppTheme.readableText(root.tint, 1 - (1 - 0.12) * (1 - root.surfaceTint), AppTheme.dark)
    }
}
