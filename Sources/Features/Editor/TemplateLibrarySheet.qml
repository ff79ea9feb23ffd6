pragma ComponentBehavior: Bound

import QtQuick
import Tessmark.Design
import Tessmark.Services

// Stand-in of the template library: fills the estimate from a template of the chosen sphere.
Item {
    id: root
    // Two-way: the sheet writes the sphere chosen in it; the editor follows.
    property string selectedSphereId
    // estimateTemplate is an EstimateTemplate value; replace false adds its lines.
    signal applyRequested(var estimateTemplate, bool replace)
    signal closed()

    function open() { sheet.open() }

    AppSheet {
        id: sheet

        title: "Шаблоны"
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
