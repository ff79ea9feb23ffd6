import QtQuick
import QtQuick.Controls
import Tessmark.Design
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
    Component.onCompleted: projectsService.refresh(!isGuest)

    Label {
        id: heading
        x: 20
        y: 16
        text: "Проекты"
        font.pixelSize: 22
        font.bold: true
        color: AppTheme.deepBlack
    }

    Label {
        anchors.centerIn: parent
        visible: rows.count === 0
        text: list.projectsService.isLoading ? "Загрузка…" : list.projectsService.errorMessage
        color: AppTheme.textSecondary
    }

    ListView {
        id: rows
        anchors.fill: parent
        anchors.topMargin: heading.y + heading.height + 12
        clip: true
        spacing: 6
        model: list.projectsService.projects
        ScrollBar.vertical: ScrollBar {}

        delegate: ItemDelegate {
            id: row
            objectName: "projectRow-" + modelData.id
            required property var modelData
            readonly property bool isIteration: !!modelData.parentProjectId && modelData.parentProjectId !== modelData.id
            readonly property string demoKey: "demoProjectRow:" + modelData.id
            x: isIteration ? 36 : 12
            width: rows.width - x - 12
            highlighted: list.selectedProjectId === modelData.id
            OnboardingSpotlight.active: row.Onboarding.highlight === row.demoKey
            OnboardingSpotlight.highlight: row.demoKey
            onClicked: list.selectedProjectId = modelData.id

            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
            contentItem: Column {
                spacing: 2
                Label {
                    width: parent.width
                    elide: Text.ElideRight
                    text: row.isIteration
                          ? (row.modelData.iterationName || ("v" + row.modelData.version)) + " · " + row.modelData.name
                          : row.modelData.name
                    color: AppTheme.deepBlack
                    font.bold: row.highlighted
                }
                Label {
                    width: parent.width
                    elide: Text.ElideRight
                    visible: text !== ""
                    text: row.modelData.clientName || ""
                    color: AppTheme.textSecondary
                    font.pixelSize: 12
                }
            }

            TapHandler {
                acceptedButtons: Qt.RightButton
                enabled: row.isIteration && !list.isGuest
                onTapped: financeMenu.popup()
            }
            Menu {
                id: financeMenu
                MenuItem {
                    text: "Платежи"
                    onTriggered: list.openFinance(row.modelData.id)
                }
            }
        }
    }
}
