pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Editor

// Stand-in of the AI estimate sheet: asks the AI service for lines and puts them into `editor`.
Item {
    id: root
    property ProjectEditorViewModel editor
    property ProjectsService projectsService

    signal closed()

    function open() { sheet.open() }

    AppSheet {
        id: sheet

        title: "ИИ-смета"
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
