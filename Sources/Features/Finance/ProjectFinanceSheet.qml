import QtQuick
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Finance

// The payments of the project being edited, as a sheet over the editor. Closing never waits
// for work in flight: what arrives afterwards is dropped with the view.
// (No ComponentBehavior: Bound here: the refresh action is a component built by the sheet's bar.)
Item {
    id: root

    property ProjectsService projectsService
    property string projectId
    property string projectName
    property string currency

    // Payments were added, re-stated or deleted.
    signal paymentsChanged()
    signal closed()

    function open() {
        sheet.open()
    }

    AppSheet {
        id: sheet

        objectName: "financeSheet"
        title: "Платежи"
        subtitle: root.projectName
        cancelText: "Закрыть"
        minimumWidth: 480
        minimumHeight: 560
        // The new payment's amount, once the payments have loaded.
        initialFocus: financeView.amountInput
        onClosed: root.closed()

        toolbarAction: Component {
            SecondaryButton {
                objectName: "sheetRefreshButton"
                systemImage: "arrow.clockwise"
                Accessible.name: "Обновить"
                onClicked: financeView.reload()
            }
        }

        ProjectFinanceView {
            id: financeView

            anchors.fill: parent
            showsHeader: false
            projectsService: root.projectsService
            projectId: root.projectId
            projectName: root.projectName
            currency: root.currency
            onPaymentsChanged: root.paymentsChanged()
        }
    }
}
