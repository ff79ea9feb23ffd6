pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// The raised card of the welcome and sign-in screens, over their gradient: its rows stand in a
// column `spacing` apart (use Layout.fillWidth).
T.Control {
    id: control

    default property alias content: column.data

    padding: 24
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    contentItem: ColumnLayout {
        id: column

        spacing: control.spacing
    }

    background: Item {
        BoxShadow {
            anchors.fill: parent
            anchors.margins: -margin
            radius: AppTheme.cornerRadiusLarge
            blur: 24
            offsetY: 12
            color: Qt.rgba(0, 0, 0, 0.12)
        }
        Rectangle {
            anchors.fill: parent
            radius: AppTheme.cornerRadiusLarge
            color: AppTheme.cardBackground
        }
    }
}
