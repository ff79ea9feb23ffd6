pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Editor

// The template library: the sphere picker over the templates of the chosen sphere. A pressed card
// asks whether to replace the estimate's lines or add to them; the choice goes to
// `applyRequested` and the sheet closes.
Item {
    id: root

    // Two-way: the sheet writes the sphere chosen in it; the editor follows.
    property string selectedSphereId
    readonly property alias model: library
    // The row of the card the dialog is about; rows, not ids, since two templates may share one.
    property int pendingRow: -1

    // estimateTemplate is an EstimateTemplate value; replace false adds its lines.
    signal applyRequested(var estimateTemplate, bool replace)
    signal closed()

    function open() {
        library.load()
        sheet.open()
        cards.forceActiveFocus()
    }

    function ask(row) {
        pendingRow = row
        confirmation.open()
    }

    function apply(replace) {
        const chosen = library.templateAt(pendingRow)
        if (chosen === undefined)
            return
        root.applyRequested(chosen, replace)
        sheet.close()
    }

    TemplateLibraryModel {
        id: library

        sphereId: root.selectedSphereId
    }

    AppSheet {
        id: sheet

        title: "Шаблоны"
        cancelText: "Закрыть"
        minimumWidth: 480
        minimumHeight: 560
        onClosed: root.closed()

        Item {
            anchors.fill: parent
            anchors.margins: 16

            SpherePickerView {
                id: picker

                objectName: "spherePicker"
                width: parent.width
                onSelectedSphereIdChanged: {
                    if (root.selectedSphereId !== selectedSphereId)
                        root.selectedSphereId = selectedSphereId
                }
            }

            // A chip press replaces the picker's own binding; this one keeps following the editor.
            Binding {
                target: picker
                property: "selectedSphereId"
                value: root.selectedSphereId
            }

            Item {
                anchors.top: picker.bottom
                anchors.topMargin: 16
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom

                EmptyStateView {
                    objectName: "emptyTemplates"
                    anchors.fill: parent
                    visible: library.count === 0
                    systemImage: "doc.on.doc"
                    title: "Нет шаблонов"
                    description: "Для этой сферы шаблоны появятся после синхронизации каталога."
                }

                ListView {
                    id: cards

                    objectName: "templateCards"
                    anchors.fill: parent
                    visible: library.count > 0
                    clip: true
                    spacing: 10
                    model: library
                    // A Tab stop of its own, so that Tab comes back to the cards.
                    activeFocusOnTab: true
                    keyNavigationEnabled: true
                    boundsBehavior: Flickable.StopAtBounds
                    // Shown only once loaded: the keys go to it from then on.
                    onVisibleChanged: if (visible && sheet.opened) forceActiveFocus()
                    // A reload starts at the first row, so that Return always has one to pick.
                    onCountChanged: if (count > 0 && currentIndex < 0) currentIndex = 0
                    Keys.onReturnPressed: if (currentIndex >= 0) root.ask(currentIndex)
                    Keys.onEnterPressed: if (currentIndex >= 0) root.ask(currentIndex)

                    Basic.ScrollBar.vertical: Basic.ScrollBar {}

                    delegate: T.AbstractButton {
                        id: card

                        required property int index
                        required property string name
                        required property string sphereText
                        required property string descriptionText
                        required property bool hasDescription
                        required property string countText

                        objectName: "templateCard-" + index
                        width: ListView.view.width
                        implicitHeight: content.implicitHeight + 28
                        focusPolicy: Qt.NoFocus
                        opacity: pressed ? 0.8 : 1
                        text: name
                        Accessible.role: Accessible.ListItem
                        Accessible.name: name
                        Accessible.description: [sphereText, countText].filter(text => text !== "").join(", ")
                        onClicked: {
                            cards.currentIndex = index
                            root.ask(index)
                        }

                        background: Rectangle {
                            radius: 14
                            color: AppTheme.cardBackground
                            border.width: 1
                            border.color: AppTheme.border

                            // Within the card: the list clips at its sides.
                            FocusRing {
                                anchors.margins: 0
                                radius: 14
                                shown: card.ListView.isCurrentItem && cards.activeFocus
                            }
                        }

                        contentItem: Item {}

                        Column {
                            id: content

                            x: 14
                            y: 14
                            width: card.width - 28
                            spacing: 6

                            RowLayout {
                                width: parent.width
                                spacing: 8

                                Text {
                                    Layout.fillWidth: true
                                    text: card.name
                                    textFormat: Text.PlainText
                                    elide: Text.ElideRight
                                    font: Typography.font(Typography.Headline)
                                    color: AppTheme.deepBlack
                                }
                                Rectangle {
                                    implicitWidth: chipText.implicitWidth + 16
                                    implicitHeight: chipText.implicitHeight + 8
                                    radius: height / 2
                                    color: AppTheme.fieldBackground

                                    Text {
                                        id: chipText

                                        anchors.centerIn: parent
                                        text: card.sphereText
                                        textFormat: Text.PlainText
                                        font: Typography.font(Typography.Caption2, Font.DemiBold)
                                        color: AppTheme.deepBlack
                                    }
                                }
                            }
                            Text {
                                width: parent.width
                                visible: card.hasDescription
                                text: card.descriptionText
                                textFormat: Text.PlainText
                                wrapMode: Text.Wrap
                                font: Typography.font(Typography.Subheadline)
                                color: AppTheme.textSecondary
                            }
                            Text {
                                objectName: "countText"
                                width: parent.width
                                text: card.countText
                                textFormat: Text.PlainText
                                font: Typography.font(Typography.Caption)
                                color: AppTheme.textSecondary
                            }
                        }
                    }
                }
            }
        }

        AppConfirmationDialog {
            id: confirmation

            objectName: "templateConfirmation"
            title: "Загрузить шаблон?"
            message: library.confirmationMessage(root.pendingRow)
            buttons: [
                { text: "Заменить смету" },
                { text: "Добавить к смете" },
                { text: "Отмена", role: "cancel" },
            ]
            onTriggered: index => {
                if (index === 0)
                    root.apply(true)
                else if (index === 1)
                    root.apply(false)
            }
        }
    }
}
