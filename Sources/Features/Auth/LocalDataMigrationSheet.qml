pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth

// Stand-in of the offer to move device projects into the account.
AppSheet {
    id: sheet

    // The window's offer: shown while it says so; closing the sheet closes the offer.
    required property LocalDataMigrationOffer offer

    visible: false
    title: "Локальные черновики"
    minimumWidth: 480
    minimumHeight: 420
    cancelText: "Не сейчас"
    confirmText: migration.isRunning ? "…" : "Применить"
    confirmEnabled: !migration.isRunning

    Connections {
        target: sheet.offer
        function onShownChanged() { sheet.offer.shown ? sheet.open() : sheet.close() }
    }
    onCancelled: sheet.offer.skip()
    onConfirmed: migration.apply()
    onClosed: sheet.offer.close()

    LocalDataMigrationSheetModel {
        id: migration
        offer: sheet.offer
        // Reported only after the window's list was reloaded.
        onFinished: sheet.close()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12
        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: AppTheme.textSecondary
            text: "На устройстве найдено локальных проектов: " + migration.localCount + ". В облаке сейчас: "
                  + migration.cloudCount + ". Выберите, как объединить данные."
        }
        Label {
            text: "Политика"
            font.bold: true
            color: AppTheme.deepBlack
        }
        Repeater {
            model: migration.policies
            RadioButton {
                required property string value
                required property string label
                text: label
                checked: migration.policy === value
                onClicked: migration.policy = value
            }
        }
        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: AppTheme.textSecondary
            text: migration.explanation
        }
        Label {
            Layout.fillWidth: true
            visible: migration.errorText !== ""
            wrapMode: Text.WordWrap
            color: AppTheme.error
            text: migration.errorText
            textFormat: Text.PlainText
        }
        Item { Layout.fillHeight: true }
    }
}
