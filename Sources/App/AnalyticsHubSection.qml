import QtQuick
import Tessmark.Features.Analytics
import Tessmark.App

// The account's analytics with its charts, loaded by its address when the section is first shown.
AnalyticsPlaceholderView {
    required property MainShellViewModel shellModel

    projectsService: shellModel.projectsService
    selectedRow: shellModel.selectedAnalyticsRow
    onRowSelected: row => shellModel.selectedAnalyticsRow = row
    onOpenFinance: projectId => shellModel.openPayments(projectId)
}
