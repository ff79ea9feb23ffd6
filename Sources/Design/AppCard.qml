import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design

// The card look: `inset` padding on a rounded card fill with a hairline border inside its edge
// and a soft shadow. What is put inside stands in a column `spacing` apart, as wide as the card
// allows (use Layout.fillWidth).
T.Control {
    id: control

    required property real inset
    default property alias content: column.data

    padding: inset
    spacing: 10
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
            radius: AppTheme.cornerRadiusMedium
            blur: 12
            offsetY: 4
            color: AppTheme.cardShadow
        }
        Rectangle {
            anchors.fill: parent
            radius: AppTheme.cornerRadiusMedium
            color: AppTheme.cardBackground
            border.width: 1
            border.color: AppTheme.border
        }
    }
}
