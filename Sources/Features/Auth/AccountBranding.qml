pragma ComponentBehavior: Bound
import QtQuick
import Tessmark.Design

// The header of the welcome and sign-in screens: the app's symbol, its name and a tagline.
Column {
    id: root

    required property string tagline

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
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: root.tagline
        color: Qt.rgba(1, 1, 1, 0.82)
        font: Typography.font(Typography.Subheadline)
    }
}
