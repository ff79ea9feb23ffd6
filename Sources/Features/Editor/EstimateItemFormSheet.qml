pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.Features.Editor

// The line form: edits a copy of one line and hands it back only on "Готово".
Item {
    id: root

    required property EstimateItemFormModel form

    signal closed()

    function open() {
        sheet.open()
        descriptionField.input.cursorPosition = 0
        titleField.input.forceActiveFocus()
        // The popup takes the focus as it opens; the title field gets it back.
        Qt.callLater(() => titleField.input.forceActiveFocus())
    }

    function confirm() {
        if (root.form.save())
            sheet.close()
    }

    AppSheet {
        id: sheet

        title: root.form.sheetTitle
        cancelText: "Отмена"
        confirmText: "Готово"
        confirmEnabled: root.form.canSave
        minimumWidth: 420
        minimumHeight: 580
        onConfirmed: root.confirm()
        onClosed: root.closed()

        Flickable {
            id: flick
            anchors.fill: parent
            contentHeight: fields.implicitHeight + 40
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            SubmitOnReturn.onSubmitted: if (root.form.canSave) root.confirm()

            Column {
                id: fields
                x: 20
                y: 20
                width: flick.width - 40
                spacing: 14

                AppTextField {
                    id: titleField
                    objectName: "formTitle"
                    width: parent.width
                    title: "Название"
                    systemImage: "text.alignleft"
                    // The whole text only while edited (AppTextField's value).
                    value: root.form.title
                    idleText: root.form.shownTitle
                    onTextEdited: root.form.title = wholeText
                }
                AppTextField {
                    id: descriptionField
                    objectName: "formDescription"
                    width: parent.width
                    title: "Описание"
                    systemImage: "text.quote"
                    value: root.form.description
                    idleText: root.form.shownDescription
                    onTextEdited: root.form.description = wholeText
                }
                AppSelect {
                    objectName: "formCategory"
                    width: parent.width
                    visible: root.form.categoryOptions.length > 0
                    title: "Категория"
                    systemImage: "chevron.down"
                    options: root.form.categoryOptions
                    selection: root.form.category
                    onActivated: value => root.form.category = value
                }
                AppTextField {
                    objectName: "formHours"
                    width: parent.width
                    title: "Часы"
                    systemImage: "clock"
                    text: root.form.hoursText
                    error: root.form.hoursError
                    onTextEdited: root.form.hoursText = text
                }
                AppTextField {
                    objectName: "formRate"
                    width: parent.width
                    title: root.form.rateTitle
                    systemImage: "rublesign.circle"
                    text: root.form.rateText
                    error: root.form.rateError
                    onTextEdited: root.form.rateText = text
                }
                AppToggle {
                    objectName: "formLock"
                    text: "Зафиксировать ставку"
                    checked: root.form.isLocked
                    onToggled: root.form.isLocked = checked
                }
                SecondaryButton {
                    objectName: "formDefaultRate"
                    text: root.form.defaultRateButtonText
                    onClicked: root.form.useDefaultRate()
                }
            }
        }
    }
}
