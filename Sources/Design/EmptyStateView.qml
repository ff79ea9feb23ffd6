import QtQuick
import Tessmark.Design

// What a column shows when it has nothing to show: a large symbol, a title, an optional
// description and optional action buttons (put them inside), centred in the space given. Texts
// wrap between words, and inside a word that has no break (a backend's message may be one).
Item {
    id: root

    property string systemImage
    property string title
    property string description
    property color color: AppTheme.deepBlack
    // The description tells of a failure: a screen reader speaks it as it shows.
    property bool describesError: false
    default property alias actions: actionRow.data

    implicitWidth: 400
    implicitHeight: column.implicitHeight + 40

    Column {
        id: column

        anchors.centerIn: parent
        width: Math.max(0, Math.min(360, root.width - 40))
        spacing: 10

        AppIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: root.systemImage !== ""
            name: root.systemImage
            size: 44
            color: AppTheme.textSecondary
        }
        Item {
            width: 1
            height: 2
        }
        Text {
            width: parent.width
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.title
            textFormat: Text.PlainText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font: Typography.font(Typography.Title3, Font.DemiBold)
            color: root.color
        }
        AlertText {
            width: parent.width
            Accessible.role: root.describesError ? Accessible.AlertMessage : Accessible.StaticText
            text: root.description
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font: Typography.font(Typography.Subheadline)
            color: AppTheme.textSecondary
        }
        Row {
            id: actionRow

            anchors.horizontalCenter: parent.horizontalCenter
            visible: children.length > 0
            topPadding: 6
            spacing: 16
        }
    }
}
