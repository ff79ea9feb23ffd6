import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Projects

// Stand-in of the analytics dashboard: the account's projects with their planned cost.
Rectangle {
    id: dashboard
    objectName: "analyticsDashboard"

    required property ProjectsService projectsService
    property var selectedRow
    signal openFinance(string projectId)

    color: AppTheme.background

    ProjectRowsModel {
        id: rowsModel
        projectsService: dashboard.projectsService
        Component.onCompleted: load(true)
    }

    Text {
        id: heading
        x: 20
        y: 16
        text: "Аналитика"
        font: Typography.font(Typography.Title2, Font.Bold)
        color: AppTheme.deepBlack
    }

    ListView {
        id: rows
        anchors.fill: parent
        anchors.topMargin: heading.y + heading.height + 12
        clip: true
        spacing: 6
        model: rowsModel
        OnboardingSpotlight.active: rows.Onboarding.highlight === "analyticsHub"
        OnboardingSpotlight.highlight: "analyticsHub"

        delegate: ItemDelegate {
            id: row
            required property string projectId
            required property string name
            required property string title
            required property string clientName
            required property string currency
            required property string status
            required property bool isIteration
            required property real totalCost
            required property real totalHours
            required property string costText
            x: 12
            width: rows.width - 24
            highlighted: !!dashboard.selectedRow && dashboard.selectedRow.id === projectId
            text: title + " — " + costText
            font: Typography.font(Typography.Body)
            // The chosen row is tinted lightly, so its text keeps the normal colour.
            palette.highlightedText: AppTheme.deepBlack
            palette.text: AppTheme.deepBlack
            onClicked: dashboard.selectedRow = {
                id: projectId, name: name, subtitle: clientName || null, currency: currency, status: status,
                isIteration: isIteration, plannedCost: totalCost, plannedHours: totalHours, doneCost: 0, paidCost: 0
            }
            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
        }
    }
}
