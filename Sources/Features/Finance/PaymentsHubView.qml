import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Projects

// Stand-in of the payments hub: projects and iterations to pick one for its payments.
Rectangle {
    id: hub
    objectName: "paymentsHub"

    required property ProjectsService projectsService
    property string selectedProjectId: ""
    property string searchText: ""

    color: AppTheme.background

    ProjectRowsModel {
        id: rowsModel
        projectsService: hub.projectsService
        Component.onCompleted: load(true)
    }

    Text {
        id: heading
        x: 20
        y: 16
        text: "Платежи"
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
        OnboardingSpotlight.active: rows.Onboarding.highlight === OnboardingHighlightTarget.paymentsHub
        OnboardingSpotlight.highlight: OnboardingHighlightTarget.paymentsHub

        delegate: ItemDelegate {
            id: row
            required property string projectId
            required property string title
            required property bool isIteration
            x: isIteration ? 36 : 12
            width: rows.width - x - 12
            highlighted: hub.selectedProjectId === projectId
            text: title
            font: Typography.font(Typography.Body)
            // The chosen row is tinted lightly, so its text keeps the normal colour.
            palette.highlightedText: AppTheme.deepBlack
            palette.text: AppTheme.deepBlack
            onClicked: hub.selectedProjectId = projectId
            background: Rectangle {
                radius: 10
                color: row.highlighted ? AppTheme.withOpacity(AppTheme.primary, 0.12) : AppTheme.cardBackground
                border.color: AppTheme.border
            }
        }
    }
}
