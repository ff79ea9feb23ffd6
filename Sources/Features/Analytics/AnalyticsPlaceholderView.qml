import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services

// Stand-in of the analytics dashboard: the account's projects with their planned cost.
Rectangle {
    id: dashboard
    objectName: "analyticsDashboard"

    required property ProjectsService projectsService
    property var selectedRow
    signal openFinance(string projectId)

    color: AppTheme.background
    Component.onCompleted: projectsService.refresh(true)

    function rowOf(project) {
        const isIteration = !!project.parentProjectId && project.parentProjectId !== project.id
        return {
            id: project.id, name: project.name, subtitle: project.clientName || null,
            currency: project.currency, status: project.status, isIteration: isIteration,
            plannedCost: project.totalCost || 0, plannedHours: project.totalHours || 0,
            doneCost: 0, paidCost: 0
        }
    }

    Label {
        id: heading
        x: 20
        y: 16
        text: "Аналитика"
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
        model: dashboard.projectsService.projects
        OnboardingSpotlight.active: rows.Onboarding.highlight === "analyticsHub"
        OnboardingSpotlight.highlight: "analyticsHub"

        delegate: ItemDelegate {
            id: row
            required property var modelData
            x: 12
            width: rows.width - 24
            highlighted: !!dashboard.selectedRow && dashboard.selectedRow.id === modelData.id
            text: modelData.name + " — " + (modelData.totalCost || 0) + " " + modelData.currency
            onClicked: dashboard.selectedRow = dashboard.rowOf(modelData)
            onPressAndHold: dashboard.openFinance(modelData.id)
            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
        }
    }
}
