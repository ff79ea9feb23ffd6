pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services

// Stand-in of the project's payments as a sheet over the editor.
Item {
    id: root
    property ProjectsService projectsService
    property string projectId
    property string projectName
    property string currency
    // Payments were added, re-stated or deleted.
    signal paymentsChanged()
    signal closed()

    function open() { sheet.open() }

    AppSheet {
        id: sheet

        title: "Платежи"
        cancelText: "Закрыть"
        minimumWidth: 400
        minimumHeight: 300
        onClosed: root.closed()

        Text {
            anchors.centerIn: parent
            text: "Скоро"
            color: AppTheme.textSecondary
            font: Typography.font(Typography.Body)
        }
    }
}
