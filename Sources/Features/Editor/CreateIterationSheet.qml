pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services

// Stand-in of the new-iteration sheet: creates an iteration of the root from the stored estimate, the given lines or nothing.
Item {
    id: root
    property ProjectsService projectsService
    property string rootProjectId
    // The editor's current lines (a list of ProjectItem), offered as one of the sources.
    property var copyFromCurrentItems
    signal created(string projectId)
    signal closed()

    function open() { sheet.open() }

    AppSheet {
        id: sheet

        title: "Новая итерация"
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
