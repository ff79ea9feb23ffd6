import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services

// Stand-in of the payments hub: projects and iterations to pick one for its payments.
Rectangle {
    id: hub
    objectName: "paymentsHub"

    required property ProjectsService projectsService
    property string selectedProjectId: ""
    property string searchText: ""

    color: AppTheme.background
    Component.onCompleted: projectsService.refresh(true)

    Label {
        id: heading
        x: 20
        y: 16
        text: "Платежи"
        font.pixelSize: 22
        font.bold: true
        color: AppTheme.deepBlack
    }

    ListView {
        id: rows
        anchors.fill: parent
        anchors.topMargin: heading.y + heading.height + 12
        clip: true
        spacing: 6
        model: hub.projectsService.projects
        OnboardingSpotlight.active: rows.Onboarding.highlight === "paymentsHub"
        OnboardingSpotlight.highlight: "paymentsHub"

        delegate: ItemDelegate {
            id: row
            required property var modelData
            readonly property bool isIteration: !!modelData.parentProjectId && modelData.parentProjectId !== modelData.id
            x: isIteration ? 36 : 12
            width: rows.width - x - 12
            highlighted: hub.selectedProjectId === modelData.id
            text: isIteration ? (modelData.iterationName || ("v" + modelData.version)) + " · " + modelData.name : modelData.name
            onClicked: hub.selectedProjectId = modelData.id
            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
        }
    }
}
