import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Finance

// A captioned date-only picker: the chosen day as text, a month grid in a popup below it. In the
// popup the arrows move the day by a day or a week, Page Up and Page Down by a month, Return or
// Space picks it and Escape closes the popup alone; the focus then goes back to the field.
// Not ComponentBehavior: Bound, as the calendar's delegates read their roles from the context.
Column {
    id: root

    required property string title
    required property string dateText
    required property int year
    required property int monthIndex
    required property int day

    signal picked(int year, int monthIndex, int day)

    function openCalendar() {
        calendar.byKeyboard = field.visualFocus
        page.focusOn(root.year, root.monthIndex, root.day)
        calendar.open()
    }

    spacing: 6

    // The caption is the button's name.
    Text {
        width: parent.width
        Accessible.ignored: true
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
        Accessible.name: root.title
        Accessible.description: root.dateText
        onClicked: root.openCalendar()

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

    T.Dialog {
        id: calendar

        // The keyboard opened the popup or moved in it: the focused day shows its ring, and the
        // field shows its own once the popup is gone.
        property bool byKeyboard: false

        function pick(year, monthIndex, day) {
            root.picked(year, monthIndex, day)
            calendar.close()
        }
        function focusDay() {
            const cell = grid.cellOf(page.focusYear, page.focusMonthIndex, page.focusDay)
            if (cell)
                cell.forceActiveFocus(calendar.byKeyboard ? Qt.TabFocusReason : Qt.OtherFocusReason)
        }

        objectName: "datePopup"
        title: root.title
        y: field.y + field.height + 4
        width: 300
        implicitHeight: implicitContentHeight + topPadding + bottomPadding
        padding: 12
        // Kept inside the window: low in a short window it moves up over the field.
        margins: 8
        modal: true
        focus: true
        // A plain popup: the window under it stays as it is, only closed to input.
        T.Overlay.modal: Item {}
        onOpened: calendar.focusDay()
        // Before the popup gives the focus back by itself, which would hide the field's ring.
        onAboutToHide: field.forceActiveFocus(calendar.byKeyboard ? Qt.TabFocusReason : Qt.MouseFocusReason)

        background: Rectangle {
            radius: 12
            color: AppTheme.cardBackground
            border.color: AppTheme.border
        }

        contentItem: ColumnLayout {
            spacing: 6

            // Escape closes the popup alone (the popup takes it before a sheet's shortcut), and
            // the field shows its ring again.
            Keys.onEscapePressed: {
                calendar.byKeyboard = true
                calendar.close()
            }

            RowLayout {
                Layout.fillWidth: true

                SecondaryButton {
                    objectName: "previousMonth"
                    text: "‹"
                    Accessible.name: "Предыдущий месяц"
                    onClicked: page.showPrevious()
                }
                Text {
                    objectName: "monthTitle"
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
                // Each day names its whole date: the weekdays' heads add nothing for a reader.
                Accessible.ignored: true
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

                // The drawn cell of a day, when the page shows it.
                function cellOf(year, monthIndex, day) {
                    const cells = grid.contentItem.children
                    for (let i = 0; i < cells.length; ++i) {
                        const cell = cells[i]
                        if (cell.isDay && cell.year === year && cell.month === monthIndex && cell.day === day)
                            return cell
                    }
                    return null
                }

                objectName: "monthGrid"
                Layout.fillWidth: true
                year: page.year
                month: page.monthIndex
                locale: Qt.locale("ru_RU")
                Accessible.role: Accessible.List
                Accessible.name: page.title

                // The days' keys: the focused day moves, and the focus with it.
                Keys.onPressed: event => {
                    const moves = {
                        [Qt.Key_Left]: () => page.moveDays(-1),
                        [Qt.Key_Right]: () => page.moveDays(1),
                        [Qt.Key_Up]: () => page.moveDays(-7),
                        [Qt.Key_Down]: () => page.moveDays(7),
                        [Qt.Key_PageUp]: () => page.moveMonths(-1),
                        [Qt.Key_PageDown]: () => page.moveMonths(1),
                    }
                    const move = event.modifiers === Qt.NoModifier ? moves[event.key] : undefined
                    if (move !== undefined) {
                        calendar.byKeyboard = true
                        move()
                        calendar.focusDay()
                        event.accepted = true
                    } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter
                               || event.key === Qt.Key_Space) {
                        calendar.byKeyboard = true
                        calendar.pick(page.focusYear, page.focusMonthIndex, page.focusDay)
                        event.accepted = true
                    }
                }

                delegate: Rectangle {
                    id: cell

                    readonly property bool isDay: true
                    readonly property int year: model.year
                    readonly property int month: model.month
                    readonly property int day: model.day
                    readonly property bool chosen: year === root.year && month === root.monthIndex && day === root.day
                    readonly property bool focusDay: year === page.focusYear && month === page.focusMonthIndex
                                                     && day === page.focusDay

                    implicitWidth: 34
                    implicitHeight: 30
                    radius: 8
                    color: chosen ? AppTheme.primary : "transparent"
                    // One Tab stop in the grid: the focused day (still the one that has the focus
                    // while it moves to the next).
                    activeFocusOnTab: focusDay || activeFocus
                    Accessible.role: Accessible.ListItem
                    Accessible.name: page.dayName(cell.year, cell.month, cell.day)
                    Accessible.selectable: true
                    Accessible.selected: chosen
                    Accessible.focusable: true

                    FocusRing {
                        radius: 10
                        shown: cell.activeFocus && calendar.byKeyboard
                    }
                    // The cell's own numbers: a JavaScript date may fall on another day by time zone.
                    TapHandler {
                        onTapped: {
                            calendar.byKeyboard = false
                            calendar.pick(cell.year, cell.month, cell.day)
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
