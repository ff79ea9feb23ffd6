pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Editor

// The iterations of a root with the line's summary. A picked or newly created iteration is
// handed over only after the sheet has closed, since opening it replaces the editor. Iterations
// that could not be read are told as a failure with a retry, never as none.
Item {
    id: root

    property ProjectsService projectsService
    property string rootProjectId
    readonly property alias model: iterations
    property string pendingProjectId
    // Room at the top for why a creation was not taken in.
    readonly property real noticeRoom: creationNotice.visible ? creationNotice.height + 16 : 0

    signal iterationSelected(string projectId)
    signal closed()

    function open() {
        iterations.load()
        sheet.open()
        rows.forceActiveFocus()
    }

    function select(projectId) {
        if (!sheet.opened)
            return
        pendingProjectId = projectId
        sheet.close()
    }

    function askName() {
        if (!iterations.isCreating)
            createDialog.open()
    }

    function finish() {
        const chosen = pendingProjectId
        pendingProjectId = ""
        root.closed()
        if (chosen !== "")
            root.iterationSelected(chosen)
    }

    ProjectIterationsModel {
        id: iterations

        projectsService: root.projectsService
        rootProjectId: root.rootProjectId
        onCreated: projectId => root.select(projectId)
        // The keys go to the retry once it shows.
        onLoadFailed: FocusLanding.land(retryButton)
    }

    AppSheet {
        id: sheet

        title: "Итерации"
        cancelText: "Закрыть"
        confirmText: "Новая"
        confirmEnabled: !iterations.isCreating
        minimumWidth: 440
        minimumHeight: 480
        onConfirmed: root.askName()
        onClosed: Qt.callLater(root.finish)

        // A creation not taken in: why, above what the backend holds now.
        AlertText {
            id: creationNotice

            objectName: "creationNotice"
            x: 16
            y: 16
            width: parent.width - 32
            shown: iterations.notice !== ""
            text: iterations.notice
            font: Typography.font(Typography.Subheadline)
        }

        Basic.BusyIndicator {
            objectName: "iterationsLoading"
            anchors.centerIn: parent
            visible: iterations.isLoading
            running: visible
        }

        EmptyStateView {
            objectName: "iterationsError"
            anchors.fill: parent
            anchors.topMargin: root.noticeRoom
            visible: !iterations.isLoading && iterations.hasLoadError
            systemImage: "exclamationmark.triangle.fill"
            title: "Не удалось загрузить итерации"
            description: iterations.loadError
            describesError: true

            PrimaryButton {
                id: retryButton

                objectName: "retryIterations"
                text: "Повторить"
                onClicked: iterations.load()
            }
        }

        EmptyStateView {
            objectName: "emptyIterations"
            anchors.fill: parent
            anchors.topMargin: root.noticeRoom
            visible: !iterations.isLoading && !iterations.hasLoadError && iterations.count === 0
            systemImage: "arrow.triangle.branch"
            title: "Нет итераций"
            description: "Создайте первую итерацию для iterative-проекта."

            PrimaryButton {
                objectName: "createFirstIteration"
                text: "Создать итерацию"
                enabled: !iterations.isCreating
                onClicked: root.askName()
            }
        }

        Item {
            anchors.fill: parent
            anchors.margins: 16
            anchors.topMargin: 16 + root.noticeRoom
            visible: !iterations.isLoading && iterations.count > 0

            Column {
                id: lineSummary

                width: parent.width
                spacing: 8

                Text {
                    visible: iterations.hasSummary
                    text: "Сводка линии"
                    font: Typography.font(Typography.Subheadline, Font.DemiBold)
                    color: AppTheme.textSecondary
                }
                Rectangle {
                    objectName: "lineSummaryCard"
                    width: parent.width
                    visible: iterations.hasSummary
                    height: summaryRows.implicitHeight + 24
                    radius: 14
                    color: AppTheme.cardBackground
                    border.width: 1
                    border.color: AppTheme.border

                    Column {
                        id: summaryRows

                        x: 14
                        y: 12
                        width: parent.width - 28
                        spacing: 8

                        Repeater {
                            model: [
                                { label: "Итераций", value: iterations.iterationsCountText },
                                { label: "Часы всего", value: iterations.totalHoursText },
                                { label: "Сумма", value: iterations.totalCostText },
                            ]

                            // One figure with its label, read as one text.
                            RowLayout {
                                id: summaryRow

                                required property int index
                                required property var modelData

                                objectName: "summaryLine-" + index
                                width: summaryRows.width
                                Accessible.role: Accessible.StaticText
                                Accessible.name: iterations.summarySpoken[index] ?? ""
                                Text {
                                    Layout.fillWidth: true
                                    Accessible.ignored: true
                                    Layout.minimumWidth: Math.ceil(implicitWidth)
                                    Layout.alignment: Qt.AlignTop
                                    text: summaryRow.modelData.label
                                    font: Typography.font(Typography.Body)
                                    color: AppTheme.deepBlack
                                }
                                // A total of hundreds of digits wraps beside its label, flush right.
                                Text {
                                    Accessible.ignored: true
                                    Layout.fillWidth: true
                                    Layout.maximumWidth: Math.ceil(implicitWidth)
                                    text: summaryRow.modelData.value
                                    textFormat: Text.PlainText
                                    wrapMode: Text.WrapAnywhere
                                    horizontalAlignment: Text.AlignRight
                                    font: Typography.font(Typography.Body, Font.DemiBold)
                                    color: AppTheme.deepBlack
                                }
                            }
                        }
                    }
                }
                // The list's heading, though the sheet bears the same title.
                Text {
                    objectName: "iterationsHeading"
                    topPadding: iterations.hasSummary ? 8 : 0
                    bottomPadding: 4
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                    text: "Итерации"
                    font: Typography.font(Typography.Subheadline, Font.DemiBold)
                    color: AppTheme.textSecondary
                }
            }

            ListView {
                id: rows

                objectName: "iterationRows"
                anchors.top: lineSummary.bottom
                anchors.topMargin: 4
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                clip: true
                spacing: 8
                model: iterations
                keyNavigationEnabled: true
                // A stop of its own after the sheet's buttons, at the current row.
                activeFocusOnTab: true
                boundsBehavior: Flickable.StopAtBounds
                // Shown only once loaded: the keys go to it from then on.
                onVisibleChanged: if (visible && sheet.opened) forceActiveFocus()
                // A reload starts at the first row, so that Return always has one to pick.
                onCountChanged: if (count > 0 && currentIndex < 0) currentIndex = 0
                Keys.onReturnPressed: if (currentItem) root.select(currentItem.projectId)
                Keys.onEnterPressed: if (currentItem) root.select(currentItem.projectId)

                Basic.ScrollBar.vertical: Basic.ScrollBar {}

                delegate: T.AbstractButton {
                    id: row

                    required property int index
                    required property string projectId
                    required property string title
                    required property string status
                    required property string detailText

                    objectName: "iterationRow-" + index
                    width: ListView.view.width
                    implicitHeight: rowContent.implicitHeight + 24
                    focusPolicy: Qt.NoFocus
                    opacity: pressed ? 0.8 : 1
                    text: title
                    Accessible.role: Accessible.ListItem
                    Accessible.name: title
                    Accessible.description: detailText
                    onClicked: root.select(projectId)

                    background: Rectangle {
                        radius: 14
                        color: AppTheme.cardBackground
                        border.width: 1
                        border.color: AppTheme.border

                        // Inside the row: the list clips what lies outside.
                        FocusRing {
                            anchors.margins: 2
                            radius: 12
                            shown: row.ListView.isCurrentItem && rows.activeFocus
                        }
                    }

                    contentItem: Item {}

                    Column {
                        id: rowContent

                        x: 14
                        y: 12
                        width: row.width - 28
                        spacing: 4

                        RowLayout {
                            width: parent.width
                            spacing: 8

                            Text {
                                objectName: "iterationTitle"
                                Layout.fillWidth: true
                                // The room beside the badge, however long the name.
                                Layout.preferredWidth: 0
                                text: row.title
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                font: Typography.font(Typography.Headline)
                                color: AppTheme.deepBlack
                            }
                            ProjectStatusBadge {
                                status: row.status
                            }
                        }
                        Text {
                            objectName: "iterationDetail"
                            width: parent.width
                            text: row.detailText
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Caption)
                            color: AppTheme.textSecondary
                        }
                    }
                }
            }
        }

        AppConfirmationDialog {
            id: createDialog

            objectName: "newIterationDialog"
            title: "Новая итерация"
            buttons: [
                { text: "Создать (копия сметы)" },
                { text: "Пустая" },
                { text: "Отмена", role: "cancel" },
            ]
            formField: nameField.input
            onTriggered: index => {
                if (index === 0)
                    iterations.createIteration(true)
                else if (index === 1)
                    iterations.createIteration(false)
            }

            AppTextField {
                id: nameField

                objectName: "iterationNameField"
                width: parent.width
                title: "Название"
                systemImage: "tag"
                text: iterations.newName
                onTextEdited: iterations.newName = text
            }
        }
    }
}
