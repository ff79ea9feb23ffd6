pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Features.Editor

// Where the save stands: unsaved changes, a save running, saved, or the failure (two lines at most).
Item {
    id: root

    required property ProjectEditorViewModel editor
    readonly property string statusCase: editor.saveState === "idle" ? (editor.isDirty ? "dirty" : "clean")
                                                                : editor.saveState

    implicitWidth: Math.min(260, shown.implicitWidth)
    implicitHeight: Math.max(20, shown.implicitHeight)
    visible: statusCase !== "clean"

    Item {
        id: shown
        objectName: "saveStatus-" + root.statusCase
        anchors.verticalCenter: parent.verticalCenter
        width: root.width
        implicitWidth: root.statusCase === "saving" ? busy.implicitWidth
                     : root.statusCase === "saved" ? savedRow.implicitWidth : Math.ceil(oneLine.advanceWidth)
        implicitHeight: root.statusCase === "saving" ? busy.implicitHeight
                      : root.statusCase === "saved" ? savedRow.implicitHeight : message.implicitHeight
        height: implicitHeight

        BusyIndicator {
            id: busy
            visible: root.statusCase === "saving"
            running: visible
            implicitWidth: 20
            implicitHeight: 20
        }
        Row {
            id: savedRow
            visible: root.statusCase === "saved"
            spacing: 4
            AppIcon {
                anchors.verticalCenter: parent.verticalCenter
                name: "checkmark.circle.fill"
                size: 13
                color: AppTheme.success
            }
            Text {
                text: "Сохранено"
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                color: AppTheme.success
                font: Typography.font(Typography.Caption)
            }
        }
        AlertText {
            id: message
            objectName: "saveStatusText"
            shown: root.statusCase === "dirty" || root.statusCase === "error"
            // A failed save is spoken as it shows, with its words; unsaved changes are read as text.
            Accessible.role: root.statusCase === "error" ? Accessible.AlertMessage : Accessible.StaticText
            width: root.width
            text: root.statusCase === "dirty" ? "Есть изменения" : root.editor.saveErrorText
            maximumLineCount: 2
            elide: Text.ElideRight
            color: root.statusCase === "dirty" ? AppTheme.warning : AppTheme.error
            font: Typography.font(Typography.Caption)
        }
        // The message's width on one line, so that the label asks for no more than it needs.
        TextMetrics {
            id: oneLine
            text: message.text
            font: message.font
        }
    }
}
