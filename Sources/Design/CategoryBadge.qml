import QtQuick
import Tessmark.Design

// A category's display name on a faint capsule, both in the category's colour.
Rectangle {
    id: root

    property string categoryId
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
        color: root.tint
    }
}
