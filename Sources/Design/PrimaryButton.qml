import QtQuick
import QtQuick.Layouts
import QtQuick.Shapes
import QtQuick.Templates as T
import Tessmark.Design

// The filled button of the main action: full width, primary fill, pressed look animated. While
// `busy`, a spinning ring in the label's colour stands in place of the label, on the fill of a
// disabled button: an owner may leave it enabled so that it keeps the keys meanwhile.
T.AbstractButton {
    id: control

    property string systemImage
    property bool busy: false
    readonly property color foreground: AppTheme.dark ? AppTheme.background : "white"

    Layout.fillWidth: true
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    topPadding: 14
    bottomPadding: 14
    leftPadding: 16
    rightPadding: 16
    font: Typography.font(Typography.Body, Font.DemiBold)

    opacity: pressed ? 0.9 : 1
    scale: pressed ? 0.985 : 1
    Behavior on opacity { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }
    Behavior on scale { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }

    contentItem: Item {
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight

        Row {
            id: label
            anchors.centerIn: parent
            spacing: 8
            visible: !control.busy

            AppIcon {
                anchors.verticalCenter: parent.verticalCenter
                visible: control.systemImage !== ""
                name: control.systemImage
                color: control.foreground
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                font: control.font
                color: control.foreground
                elide: Text.ElideRight
            }
        }

        Shape {
            objectName: "busyIndicator"
            anchors.centerIn: parent
            width: 20
            height: 20
            visible: control.busy

            ShapePath {
                strokeColor: control.foreground
                strokeWidth: 2.5
                fillColor: "transparent"
                capStyle: ShapePath.RoundCap
                PathAngleArc {
                    centerX: 10
                    centerY: 10
                    radiusX: 8
                    radiusY: 8
                    startAngle: 0
                    sweepAngle: 270
                }
            }

            RotationAnimator on rotation {
                from: 0
                to: 360
                duration: 900
                loops: Animation.Infinite
                running: control.busy
            }
        }
    }

    FocusRing {
        radius: AppTheme.cornerRadiusSmall + 3
    }

    background: Rectangle {
        radius: AppTheme.cornerRadiusSmall
        color: control.enabled && !control.busy ? AppTheme.primary : AppTheme.withOpacity(AppTheme.primary, 0.45)
    }
}
