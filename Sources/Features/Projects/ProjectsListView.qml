pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Features.Projects
import Tessmark.Services

// Stand-in of the projects list: the service's projects, one row each; choosing one selects it.
Rectangle {
    id: list
    objectName: "projectsList"

    required property ProjectsService projectsService
    property string selectedProjectId: ""
    required property bool isGuest

    signal openFinance(string projectId)

    color: AppTheme.background

    ProjectRowsModel {
        id: rowsModel
        projectsService: list.projectsService
        Component.onCompleted: load(!list.isGuest)
    }

    Text {
        id: heading
        x: 20
        y: 16
        text: "Проекты"
        font: Typography.font(Typography.Title2, Font.Bold)
        color: AppTheme.deepBlack
    }

    // The service's error above the rows: a record that could not be read leaves the others
    // listed, and the user must still learn of it.
    Rectangle {
        id: notice
        objectName: "projectsListNotice"
        x: 12
        y: heading.y + heading.height + 8
        width: list.width - 24
        height: visible ? noticeText.implicitHeight + 16 : 0
        visible: rows.count > 0 && list.projectsService.errorMessage !== ""
        radius: 8
        color: AppTheme.withOpacity(AppTheme.error, 0.08)
        border.color: AppTheme.withOpacity(AppTheme.error, 0.4)

        Text {
            id: noticeText
            objectName: "projectsListNoticeText"
            x: 10
            y: 8
            width: parent.width - 20
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            text: list.projectsService.errorMessage
            color: AppTheme.deepBlack
            font: Typography.font(Typography.Footnote)
        }
    }

    Text {
        anchors.centerIn: parent
        visible: rows.count === 0
        text: list.projectsService.isLoading ? "Загрузка…" : list.projectsService.errorMessage
        textFormat: Text.PlainText
        color: AppTheme.textSecondary
        font: Typography.font(Typography.Subheadline)
    }

    ListView {
        id: rows
        anchors.fill: parent
        anchors.topMargin: heading.y + heading.height + 12 + (notice.visible ? notice.height + 8 : 0)
        clip: true
        spacing: 6
        model: rowsModel
        ScrollBar.vertical: ScrollBar {}

        // One handler and one menu for all rows: per-row ones made every row costly to create.
        TapHandler {
            id: rowMenuTap
            acceptedButtons: Qt.RightButton
            enabled: !list.isGuest
            onTapped: (point) => {
                const inContent = rowMenuTap.parent.mapToItem(rows.contentItem, point.position.x, point.position.y)
                const at = rows.indexAt(inContent.x, inContent.y)
                const row = at >= 0 ? rows.itemAtIndex(at) : null
                if (row === null || !row.isIteration)
                    return
                financeMenu.projectId = row.projectId
                financeMenu.popup()
            }
        }
        Menu {
            id: financeMenu
            objectName: "projectRowMenu"
            property string projectId: ""
            MenuItem {
                text: "Платежи"
                onTriggered: list.openFinance(financeMenu.projectId)
            }
        }

        delegate: ItemDelegate {
            id: row
            required property string projectId
            required property string title
            required property string clientName
            required property bool isIteration
            readonly property string demoKey: OnboardingHighlightTarget.demoProjectRow(projectId)
            objectName: "projectRow-" + projectId
            x: isIteration ? 36 : 12
            width: rows.width - x - 12
            highlighted: list.selectedProjectId === projectId
            OnboardingSpotlight.active: row.Onboarding.highlight === row.demoKey
            OnboardingSpotlight.highlight: row.demoKey
            onClicked: list.selectedProjectId = projectId

            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
            contentItem: Column {
                spacing: 2
                Text {
                    width: parent.width
                    elide: Text.ElideRight
                    text: row.title
                    textFormat: Text.PlainText
                    color: AppTheme.deepBlack
                    font: Typography.font(Typography.Body, row.highlighted ? Font.DemiBold : Font.Normal)
                }
                Text {
                    width: parent.width
                    elide: Text.ElideRight
                    visible: text !== ""
                    text: row.clientName
                    textFormat: Text.PlainText
                    color: AppTheme.textSecondary
                    font: Typography.font(Typography.Footnote)
                }
            }
        }
    }
}
