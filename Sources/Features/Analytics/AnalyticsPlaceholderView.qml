pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Analytics

// The analytics section as the main window shows it: the dashboard, lit whole by the tour when
// the tour points at the analytics hub.
Item {
    id: hub

    required property ProjectsService projectsService
    required property analyticsProjectRow selectedRow
    signal rowSelected(analyticsProjectRow row)
    signal openFinance(string projectId)

    AnalyticsDashboardView {
        id: dashboard
        anchors.fill: parent
        projectsService: hub.projectsService
        selectedRow: hub.selectedRow
        onRowSelected: row => hub.rowSelected(row)
        onOpenFinance: projectId => hub.openFinance(projectId)
        OnboardingSpotlight.active: dashboard.Onboarding.highlight === OnboardingHighlightTarget.analyticsHub
        OnboardingSpotlight.highlight: OnboardingHighlightTarget.analyticsHub
    }
}
