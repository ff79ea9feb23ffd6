import QtQuick
import QtQuick.Layouts
import QtTest
import Tessmark.Design

TestCase {
    id: testCase

    name: "Chrome"
    width: 600
    height: 500
    visible: true
    when: windowShown

    Component {
        id: sidebarComponent
        ColumnLayout {
            width: 220
            property int pressed: -1
            property alias first: first
            property alias second: second
            SidebarNavRow { id: first; title: "Проекты"; systemImage: "folder"; isSelected: true; onClicked: parent.pressed = 0 }
            SidebarNavRow {
                id: second
                title: "Очень длинное название раздела, которое не помещается"
                systemImage: "creditcard"
                onClicked: parent.pressed = 1
            }
        }
    }

    Component { id: badgeComponent; CategoryBadge {} }
    Component { id: buttonComponent; PrimaryButton { width: 300; text: "Сохранить" } }

    function test_pressAnywhereInTheRow() {
        const sidebar = createTemporaryObject(sidebarComponent, testCase)
        // Far right of the row, past the title.
        mouseClick(sidebar.first, sidebar.first.width - 4, sidebar.first.height / 2)
        compare(sidebar.pressed, 0)
        mouseClick(sidebar.second, 2, 2)
        compare(sidebar.pressed, 1)
    }

    function test_selectedLookAndLongTitles() {
        const sidebar = createTemporaryObject(sidebarComponent, testCase)
        const selected = sidebar.first
        const other = sidebar.second
        const title = row => row.contentItem.children[1]
        compare(title(selected).font.weight, Font.DemiBold)
        compare(title(other).font.weight, Font.Normal)
        verify(Qt.colorEqual(selected.foreground, AppTheme.primary))
        verify(Qt.colorEqual(other.foreground, AppTheme.textSecondary))
        // Only the selected row is tinted.
        verify(selected.background.color.a > 0)
        compare(other.background.color.a, 0)
        // A long title is cut on one line and keeps the symbol column.
        compare(title(selected).mapToItem(sidebar, 0, 0).x, title(other).mapToItem(sidebar, 0, 0).x)
        compare(title(other).lineCount, 1)
        verify(title(other).truncated)
    }

    function test_unknownCategoryBadgeShowsItsIdentifierInSecondaryColour() {
        const badge = createTemporaryObject(badgeComponent, testCase, { categoryId: "что-то-новое" })
        compare(badge.children[0].text, "что-то-новое")
        verify(Qt.colorEqual(badge.tint, AppTheme.textSecondary))
    }

    function test_disabledPrimaryButtonOnlyFades() {
        const enabled = createTemporaryObject(buttonComponent, testCase)
        const disabled = createTemporaryObject(buttonComponent, testCase, { enabled: false })
        compare(disabled.width, enabled.width)
        verify(Qt.colorEqual(disabled.foreground, enabled.foreground))
        verify(Qt.colorEqual(Qt.rgba(disabled.background.color.r, disabled.background.color.g,
                                     disabled.background.color.b, 1), enabled.background.color))
        verify(disabled.background.color.a < enabled.background.color.a)
    }

    // Busy keeps the button's size: the spinner stands where the label was.
    function test_busyReplacesTheLabel() {
        const idle = createTemporaryObject(buttonComponent, testCase)
        const busy = createTemporaryObject(buttonComponent, testCase, { busy: true })
        compare(busy.height, idle.height)
        const spinner = findChild(busy, "busyIndicator")
        verify(spinner.visible)
        verify(!findChild(idle, "busyIndicator").visible)
        verify(!busy.contentItem.children[0].visible)
        verify(idle.contentItem.children[0].visible)
    }
}
