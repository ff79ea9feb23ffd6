import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// Stand-in of the offer to move device projects into the account.
AppSheet {
    id: sheet

    property var locals
    property var cloudProjects
    property ProjectsService projectsService
    // Shown while true; closing reports through closed().
    property bool presented: false

    signal finished()
    signal skipped()

    visible: false
    title: "Локальные черновики"
    minimumWidth: 480
    minimumHeight: 420
    cancelText: "Не сейчас"
    confirmText: migration.isRunning ? "…" : "Применить"
    confirmEnabled: !migration.isRunning

    onPresentedChanged: presented ? open() : close()
    onCancelled: sheet.skipped()
    onConfirmed: migration.apply()

    LocalDataMigrationSheetModel {
        id: migration
        locals: sheet.locals
        cloudProjects: sheet.cloudProjects
        projectsService: sheet.projectsService
        onFinished: {
            sheet.finished()
            sheet.close()
        }
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
                required property var modelData
                text: modelData.label
                checked: migration.policy === modelData.value
                onClicked: migration.policy = modelData.value
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
        }
        Item { Layout.fillHeight: true }
    }
}
