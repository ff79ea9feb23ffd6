pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services

// Stand-in of the proposal export sheet: previews, saves and shares the PDF of `input`.
Item {
    id: root
    // A CommercialProposalInput, built by the editor when it opens the sheet.
    property var input

    signal closed()

    function open() { sheet.open() }

    AppSheet {
        id: sheet

        title: "Коммерческое предложение"
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
