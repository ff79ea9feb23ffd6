pragma ComponentBehavior: Bound
import QtQuick
import Tessmark.Design
import Tessmark.Features.Projects

// The sheet that starts a new project: sphere, name, client, currency and an optional template.
// The list creates the project; the sheet closes itself once it has been created. A creation the
// backend may have made without saying so is told inside the sheet, which then only closes.
Item {
    id: root

    required property ProjectsListViewModel list
    readonly property CreateProjectViewModel viewModel: sheetModel
    // Whether the sheet closed on a project it made.
    property bool madeProject: false

    signal closed()

    function open() {
        sheet.open()
        nameField.input.forceActiveFocus()
    }

    CreateProjectViewModel {
        id: sheetModel

        list: root.list
        onCreated: {
            root.madeProject = true
            sheet.close()
        }
        onUnsettled: {
            scroller.contentY = 0
            sheet.focusConfirm()
        }
    }

    AppSheet {
        id: sheet

        objectName: "createProjectSheet"
        anchors.fill: parent
        title: "Новый проект"
        cancelText: sheetModel.isUnsettled ? "" : "Отмена"
        confirmText: sheetModel.confirmText
        confirmEnabled: sheetModel.canSubmit || sheetModel.isUnsettled
        cancelEnabled: !sheetModel.isSubmitting
        minimumWidth: 460
        minimumHeight: 560
        onConfirmed: sheetModel.isUnsettled ? sheet.close() : sheetModel.submit()
        onClosed: root.closed()

        Flickable {
            id: scroller

            anchors.fill: parent
            contentWidth: width
            contentHeight: form.implicitHeight + 40
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            Column {
                id: form

                x: 20
                y: 20
                width: scroller.width - 40
                spacing: 20
                SubmitOnReturn.onSubmitted: {
                    if (sheetModel.canSubmit)
                        sheetModel.submit()
                }

                AlertText {
                    objectName: "creationNotice"
                    width: parent.width
                    shown: sheetModel.isUnsettled
                    text: sheetModel.notice
                    font: Typography.font(Typography.Subheadline)
                }
                SpherePickerView {
                    width: parent.width
                    enabled: !sheetModel.isUnsettled
                    selectedSphereId: sheetModel.sphereId
                    onSelectedSphereIdChanged: sheetModel.sphereId = selectedSphereId
                }
                AppTextField {
                    id: nameField

                    objectName: "nameField"
                    width: parent.width
                    enabled: !sheetModel.isUnsettled
                    title: "Название"
                    systemImage: "doc.text"
                    text: sheetModel.name
                    onTextChanged: sheetModel.name = text
                }
                AppTextField {
                    objectName: "clientField"
                    width: parent.width
                    enabled: !sheetModel.isUnsettled
                    title: "Клиент (необязательно)"
                    systemImage: "person.crop.circle"
                    text: sheetModel.clientName
                    onTextChanged: sheetModel.clientName = text
                }
                AppSelect {
                    objectName: "currencySelect"
                    width: parent.width
                    enabled: !sheetModel.isUnsettled
                    title: "Валюта"
                    systemImage: "chevron.down"
                    selection: sheetModel.currency
                    options: sheetModel.currencies.map(code => ({ value: code, label: code }))
                    onActivated: value => sheetModel.currency = value
                }
                Column {
                    objectName: "templateSection"
                    width: parent.width
                    enabled: !sheetModel.isUnsettled
                    visible: sheetModel.hasTemplates
                    spacing: 8

                    Text {
                        text: "Шаблон (необязательно)"
                        font: Typography.font(Typography.Headline)
                        color: AppTheme.primary
                    }
                    TemplatePickerView {
                        width: parent.width
                        templates: sheetModel.templates
                        onSelected: index => sheetModel.selectTemplate(index)
                    }
                    SecondaryButton {
                        objectName: "clearTemplateButton"
                        visible: sheetModel.hasSelectedTemplate
                        text: "Без шаблона"
                        color: AppTheme.error
                        onClicked: sheetModel.clearTemplate()
                    }
                }
            }
        }
    }
}
