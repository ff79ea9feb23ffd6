pragma ComponentBehavior: Bound
import QtQuick
import Tessmark.Design

// The header of the welcome and sign-in screens: the app's symbol, its name and a tagline, in
// white on a plate of the gradient's dark end. The gradient behind passes from dark to light just
// where the header stands; the plate keeps the white readable wherever the window puts it. It
// reaches into the space above and below the header, so that the layout keeps its height.
Item {
    id: root

    required property string tagline

    implicitHeight: column.implicitHeight

    Rectangle {
        objectName: "brandingPlate"
        anchors.fill: parent
        anchors.topMargin: -12
        anchors.bottomMargin: -12
        radius: AppTheme.cornerRadiusLarge
        color: AppTheme.withOpacity(AppTheme.dark ? AppTheme.background : AppTheme.primary, 0.6)
    }

    Column {
        id: column

        width: parent.width
        spacing: 10

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 64
            height: 64
            radius: 18
            color: Qt.rgba(1, 1, 1, 0.14)

            AppIcon {
                anchors.centerIn: parent
                name: "doc.text.fill"
                size: 28
                color: "white"
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Tessmark"
            color: "white"
            font: Typography.sized(26, Font.Bold)
        }
        Text {
            // Clear of the plate's rounded corners.
            width: parent.width - 32
            anchors.horizontalCenter: parent.horizontalCenter
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: root.tagline
            color: Qt.rgba(1, 1, 1, 0.82)
            font: Typography.font(Typography.Subheadline)
        }
    }
}
