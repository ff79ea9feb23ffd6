pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services

// Stand-in of the iterations sheet: lists a root's iterations and opens one.
Item {
    id: root
    property ProjectsService projectsService
    property string rootProjectId
    signal iterationSelected(string projectId)
    signal closed()

    function open() { sheet.open() }

    AppSheet {
        id: sheet

        title: "Итерации"
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
