import QtQuick
import QtQuick.Layouts
import Tessmark.Design

// The title bar of a sheet: cancellation on the left, the title in the middle, confirmation on
// the right; a button whose text is empty is left out.
Rectangle {
    id: root

    property string title
    property string cancelText
    property string confirmText
    property bool confirmEnabled: true
    property bool cancelEnabled: true

    signal cancelClicked()
    signal confirmClicked()

    implicitHeight: 52
    color: AppTheme.cardBackground

    SecondaryButton {
        objectName: "cancelButton"
        anchors.left: parent.left
        anchors.leftMargin: 18
        anchors.verticalCenter: parent.verticalCenter
        visible: root.cancelText !== ""
        enabled: root.cancelEnabled
        text: root.cancelText
        font: Typography.font(Typography.Body)
        onClicked: root.cancelClicked()
    }
    Text {
        anchors.centerIn: parent
        width: Math.min(implicitWidth, parent.width - 2 * 120)
        text: root.title
        elide: Text.ElideRight
        font: Typography.font(Typography.Headline)
        color: AppTheme.deepBlack
    }
    SecondaryButton {
        objectName: "confirmButton"
        anchors.right: parent.right
        anchors.rightMargin: 18
        anchors.verticalCenter: parent.verticalCenter
        visible: root.confirmText !== ""
        enabled: root.confirmEnabled
        text: root.confirmText
        font: Typography.font(Typography.Body, Font.DemiBold)
        onClicked: root.confirmClicked()
    }
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: AppTheme.border
    }
}
