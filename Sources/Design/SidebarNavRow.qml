import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// One entry of the main window's sidebar: symbol and title over the row's full width, tinted
// and backed when its section is the current one. The whole padded row takes the press and
// emits `clicked`. Tab reaches it, Return or Space opens its section; a click gives no focus.
T.TabButton {
    id: control

    property string title
    property string systemImage
    property bool isSelected: false

    readonly property color foreground: isSelected ? AppTheme.primary : AppTheme.textSecondary

    Layout.fillWidth: true
    text: title
    focusPolicy: Qt.TabFocus
    Accessible.name: title
    // A tab for readers: the current section's row is the checked one.
    checked: isSelected
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    leftPadding: 12
    rightPadding: 12
    topPadding: 9
    bottomPadding: 9

    contentItem: RowLayout {
        spacing: 10

        AppIcon {
            Layout.preferredWidth: 22
            name: control.systemImage
            size: 18
            color: control.foreground
        }
        Text {
            Layout.fillWidth: true
            text: control.title
            maximumLineCount: 1
            elide: Text.ElideRight
            font: Typography.font(Typography.Body, control.isSelected ? Font.DemiBold : Font.Normal)
            color: control.foreground
        }
    }

    background: Rectangle {
        radius: 10
        color: control.isSelected ? AppTheme.withOpacity(AppTheme.primary, 0.10) : "transparent"

        FocusRing {
            anchors.margins: 0
            shown: control.visualFocus
        }
    }
}
