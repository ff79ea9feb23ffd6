import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services
import Tessmark.App

// Stand-in of the offer to move device projects into the account.
Dialog {
    id: sheet

    property var locals
    property var cloudProjects
    property ProjectsService projectsService
    // Shown while true; closing reports through closed().
    property bool presented: false

    signal finished()
    signal skipped()

    modal: true
    anchors.centerIn: Overlay.overlay
    width: Math.max(480, implicitWidth)
    title: "Локальные черновики"
    onPresentedChanged: presented ? open() : close()
    closePolicy: migration.isRunning ? Popup.NoAutoClose : Popup.CloseOnEscape

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
        width: parent.width
        spacing: 12
        Label {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            color: AppTheme.textSecondary
            text: "На устройстве найдено локальных проектов: " + migration.localCount + ". В облаке сейчас: "
                  + migration.cloudCount + ". Выберите, как объединить данные."
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
    }

    footer: DialogButtonBox {
        Button {
            text: "Не сейчас"
            enabled: !migration.isRunning
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            onClicked: {
                sheet.skipped()
                sheet.close()
            }
        }
        Button {
            text: migration.isRunning ? "…" : "Применить"
            enabled: !migration.isRunning
            highlighted: true
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: migration.apply()
        }
    }
}
