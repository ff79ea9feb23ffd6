pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Projects
import Tessmark.Features.Analytics

// Stand-in of the analytics dashboard: the account's projects with their planned cost.
Rectangle {
    id: dashboard
    objectName: "analyticsDashboard"

    required property ProjectsService projectsService
    // The window's selection; a click asks for another through rowChosen.
    required property analyticsProjectRow selectedRow
    signal rowChosen(string projectId)
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
        OnboardingSpotlight.active: rows.Onboarding.highlight === OnboardingHighlightTarget.analyticsHub
        OnboardingSpotlight.highlight: OnboardingHighlightTarget.analyticsHub

        delegate: ItemDelegate {
            id: row
            required property string projectId
            required property string title
            required property string costText
            x: 12
            width: rows.width - 24
            highlighted: dashboard.selectedRow.isValid && dashboard.selectedRow.id === row.projectId
            text: row.title + " — " + row.costText
            font: Typography.font(Typography.Body)
            // The chosen row is tinted lightly, so its text keeps the normal colour.
            palette.highlightedText: AppTheme.deepBlack
            palette.text: AppTheme.deepBlack
            onClicked: dashboard.rowChosen(row.projectId)
            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
        }
    }
}
