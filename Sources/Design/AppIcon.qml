import QtQuick
import Tessmark.Design

// A symbol of the icon map, drawn from the bundled icon font; a reader skips it, as its glyph is
// no text (the control around it carries the name).
Item {
    id: root

    property string name
    property real size: 17
    property color color: AppTheme.textSecondary

    implicitWidth: size
    implicitHeight: size

    Text {
        anchors.centerIn: parent
        text: Icons.glyph(root.name)
        color: root.color
        rotation: Icons.rotation(root.name)
        font.family: Icons.fontFamily
        font.pixelSize: root.size
        Accessible.ignored: true
    }
}
