import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Finance

// A captioned date-only picker: the chosen day as text, a month grid in a popup below it.
// Not ComponentBehavior: Bound, as the calendar's delegates read their roles from the context.
Column {
    id: root

    required property string title
    required property string dateText
    required property int year
    required property int monthIndex
    required property int day

    signal picked(int year, int monthIndex, int day)

    spacing: 6

    Text {
        width: parent.width
        text: root.title
        textFormat: Text.PlainText
        font: Typography.font(Typography.Subheadline, Font.Medium)
        color: AppTheme.textSecondary
    }

    AbstractButton {
        id: field

        objectName: "dateField"
        width: parent.width
        leftPadding: 14
        rightPadding: 14
        topPadding: 12
        bottomPadding: 12
        Accessible.name: root.title + ": " + root.dateText
        onClicked: {
            page.show(root.year, root.monthIndex)
            calendar.open()
        }

        background: Rectangle {
            radius: 12
            color: AppTheme.fieldBackground
            border.width: 1
            border.color: AppTheme.border

            FocusRing {
                radius: 14
                shown: field.visualFocus
            }
        }
        contentItem: RowLayout {
            spacing: 10

            AppIcon {
                Layout.preferredWidth: 22
                name: "clock"
                color: AppTheme.accent
            }
            Text {
                Layout.fillWidth: true
                text: root.dateText
                textFormat: Text.PlainText
                font: Typography.font(Typography.Body)
                color: AppTheme.deepBlack
                elide: Text.ElideRight
            }
            AppIcon {
                name: "chevron.down"
                size: 15
                color: AppTheme.textSecondary
            }
        }
    }

    CalendarPage {
        id: page
    }

    Popup {
        id: calendar

        objectName: "datePopup"
        y: field.y + field.height + 4
        width: 300
        padding: 12
        modal: false
        focus: true

        background: Rectangle {
            radius: 12
            color: AppTheme.cardBackground
            border.color: AppTheme.border
        }

        contentItem: ColumnLayout {
            spacing: 6

            RowLayout {
                Layout.fillWidth: true

                SecondaryButton {
                    objectName: "previousMonth"
                    text: "‹"
                    Accessible.name: "Предыдущий месяц"
                    onClicked: page.showPrevious()
                }
                Text {
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    text: page.title
                    textFormat: Text.PlainText
                    font: Typography.font(Typography.Subheadline, Font.DemiBold)
                    color: AppTheme.deepBlack
                }
                SecondaryButton {
                    objectName: "nextMonth"
                    text: "›"
                    Accessible.name: "Следующий месяц"
                    onClicked: page.showNext()
                }
            }

            DayOfWeekRow {
                Layout.fillWidth: true
                locale: grid.locale
                // Context roles, not required properties: the calendar sets its delegates'
                // context itself.
                delegate: Text {
                    text: model.shortName
                    textFormat: Text.PlainText
                    horizontalAlignment: Text.AlignHCenter
                    font: Typography.font(Typography.Caption)
                    color: AppTheme.textSecondary
                }
            }

            MonthGrid {
                id: grid

                objectName: "monthGrid"
                Layout.fillWidth: true
                year: page.year
                month: page.monthIndex
                locale: Qt.locale("ru_RU")
                delegate: Rectangle {
                    id: cell

                    readonly property int year: model.year
                    readonly property int month: model.month
                    readonly property int day: model.day
                    readonly property bool chosen: year === root.year && month === root.monthIndex && day === root.day

                    implicitWidth: 34
                    implicitHeight: 30
                    radius: 8
                    color: chosen ? AppTheme.primary : "transparent"

                    // The cell's own numbers: a JavaScript date may fall on another day by time zone.
                    TapHandler {
                        onTapped: {
                            root.picked(cell.year, cell.month, cell.day)
                            calendar.close()
                        }
                    }
                    Text {
                        anchors.centerIn: parent
                        text: cell.day
                        font: Typography.font(Typography.Subheadline, cell.chosen ? Font.DemiBold : Font.Normal)
                        color: cell.chosen ? (AppTheme.dark ? AppTheme.background : "white")
                               : cell.month === grid.month ? AppTheme.deepBlack : AppTheme.textSecondary
                    }
                }
            }
        }
    }
}
