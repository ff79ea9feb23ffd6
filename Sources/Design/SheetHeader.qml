import QtQuick
import QtQuick.Layouts
import Tessmark.Design

// The title bar of a sheet: cancellation on the left, the title (and a subtitle under it) in the
// middle, an optional action and confirmation on the right; a button whose text is empty is left
// out.
Rectangle {
    id: root

    property string title
    property string subtitle
    // Built beside the confirmation, e.g. a refresh button.
    property Component action
    property string cancelText
    property string confirmText
    property bool confirmEnabled: true
    property bool cancelEnabled: true
    readonly property Item confirmButton: confirm

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
    Column {
        anchors.centerIn: parent
        width: Math.min(Math.max(titleText.implicitWidth, subtitleText.implicitWidth), parent.width - 2 * 120)

        Text {
            id: titleText

            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: root.title
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font: Typography.font(Typography.Headline)
            color: AppTheme.deepBlack
        }
        Text {
            id: subtitleText

            objectName: "sheetSubtitle"
            width: parent.width
            visible: root.subtitle !== ""
            horizontalAlignment: Text.AlignHCenter
            text: root.subtitle
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font: Typography.font(Typography.Caption)
            color: AppTheme.textSecondary
        }
    }
    Loader {
        objectName: "sheetAction"
        anchors.right: confirm.visible ? confirm.left : parent.right
        anchors.rightMargin: 18
        anchors.verticalCenter: parent.verticalCenter
        sourceComponent: root.action
    }
    SecondaryButton {
        id: confirm

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
