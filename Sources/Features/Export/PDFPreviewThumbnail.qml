pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design

// The first page of the rendered proposal, at most 220 wide, with rounded corners, a border and a
// shadow; a document symbol on a card when the page cannot be drawn.
Item {
    id: root

    // An image address of the preview provider (ExportPDFViewModel.previewSource).
    required property url source
    // What a screen reader hears of the page (ExportPDFViewModel.previewName).
    required property string accessibleName
    readonly property bool showsPage: page.status === Image.Ready

    Accessible.role: Accessible.Graphic
    Accessible.name: accessibleName

    implicitWidth: 220
    implicitHeight: Math.round(220 / 0.707)

    BoxShadow {
        anchors.fill: parent
        anchors.margins: -margin
        radius: 12
        blur: 12
        offsetY: 4
        color: AppTheme.cardShadow
    }

    Rectangle {
        anchors.fill: parent
        radius: 12
        color: AppTheme.cardBackground
        visible: !root.showsPage

        AppIcon {
            anchors.centerIn: parent
            name: "doc.richtext.fill"
            size: 48
            color: AppTheme.primary
        }
    }

    Image {
        id: page

        objectName: "previewImage"
        anchors.fill: parent
        source: root.source
        sourceSize: Qt.size(Math.ceil(root.width * Screen.devicePixelRatio),
                            Math.ceil(root.height * Screen.devicePixelRatio))
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        cache: false
        smooth: true
        mipmap: true
    }

    Rectangle {
        anchors.fill: parent
        radius: 12
        color: "transparent"
        border.width: 1
        border.color: AppTheme.border
    }
}
