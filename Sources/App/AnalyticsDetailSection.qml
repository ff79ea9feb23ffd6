import QtQuick
import Tessmark.Features.Analytics
import Tessmark.App

// The analytics of the chosen project, loaded by its address when it is first shown.
AnalyticsDetailPanelView {
    required property MainShellViewModel shellModel

    row: shellModel.selectedAnalyticsRow
    onOpenPayments: shellModel.openPaymentsFromAnalyticsDetail()
}
