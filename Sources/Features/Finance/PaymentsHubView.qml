pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services
import Tessmark.Features.Finance

// The payments section's list: every project and iteration of the account, searchable, to pick
// the one whose payments the detail column shows.
Rectangle {
    id: hub

    objectName: "paymentsHub"

    required property ProjectsService projectsService
    property string selectedProjectId: ""

    color: AppTheme.background
    OnboardingSpotlight.active: hub.Onboarding.highlight === OnboardingHighlightTarget.paymentsHub
    OnboardingSpotlight.highlight: OnboardingHighlightTarget.paymentsHub

    FinanceProjectOptionsModel {
        id: options

        projectsService: hub.projectsService
        Component.onCompleted: refresh()
    }

    ColumnLayout {
        id: top

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.topMargin: 16
        spacing: 12

        RowLayout {
            Layout.fillWidth: true

            Text {
                Layout.fillWidth: true
                text: "Платежи"
                textFormat: Text.PlainText
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
            }
            SecondaryButton {
                objectName: "hubRefreshButton"
                systemImage: "arrow.clockwise"
                Accessible.name: "Обновить"
                ToolTip.visible: hovered
                ToolTip.text: "Обновить"
                onClicked: options.refresh()
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: search.implicitHeight + 20
            radius: 10
            color: AppTheme.fieldBackground
            border.width: 1
            border.color: AppTheme.border

            FocusRing {
                anchors.margins: 0
                radius: parent.radius
                border.width: 1.5
                shown: search.activeFocus
            }

            TextInput {
                id: search

                objectName: "hubSearch"
                anchors.fill: parent
                anchors.leftMargin: 12
                anchors.rightMargin: 12
                verticalAlignment: TextInput.AlignVCenter
                clip: true
                font: Typography.font(Typography.Body)
                color: AppTheme.deepBlack
                selectByMouse: true
                selectionColor: AppTheme.withOpacity(AppTheme.accent, 0.35)
                selectedTextColor: AppTheme.deepBlack
                onTextChanged: options.searchText = text
                activeFocusOnTab: true
                Accessible.role: Accessible.EditableText
                Accessible.name: "Проект или итерация"
                Accessible.searchEdit: true
                SelectAllOnFocus {}
                OneLinePaste {}
                Keys.onEscapePressed: search.clear()

                Text {
                    anchors.fill: parent
                    verticalAlignment: Text.AlignVCenter
                    visible: search.text.length === 0
                    text: "Проект или итерация"
                    textFormat: Text.PlainText
                    font: search.font
                    color: AppTheme.textSecondary
                    elide: Text.ElideRight
                }
            }
        }
    }

    Item {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: top.bottom
        anchors.bottom: parent.bottom

        Row {
            objectName: "hubLoading"
            anchors.centerIn: parent
            visible: options.state === FinanceProjectOptionsModel.Loading
            spacing: 10

            BusyIndicator {
                palette.dark: AppTheme.textSecondary
                palette.text: AppTheme.textSecondary
                anchors.verticalCenter: parent.verticalCenter
                implicitWidth: 28
                implicitHeight: 28
                running: parent.visible
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "Загрузка проектов…"
                textFormat: Text.PlainText
                font: Typography.font(Typography.Subheadline)
                color: AppTheme.textSecondary
            }
        }

        EmptyStateView {
            objectName: "hubEmpty"
            anchors.fill: parent
            visible: options.state === FinanceProjectOptionsModel.Empty
            systemImage: "folder"
            title: "Нет проектов"
            description: "Создайте проект в разделе «Проекты», чтобы вести платежи."
        }

        ListView {
            id: list

            objectName: "hubList"
            anchors.fill: parent
            visible: options.state === FinanceProjectOptionsModel.List
            clip: true
            spacing: 8
            readonly property real inset: hub.AdaptiveMetrics.isCompact ? 20 : 28
            topMargin: inset
            bottomMargin: inset
            model: options
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { Accessible.name: "Прокрутка: Проекты и итерации" }

            // Keyed by position: one project may stand in two places of the list.
            delegate: AbstractButton {
                id: row

                required property int index
                required property string projectId
                required property string title
                required property string subtitle
                required property bool isIteration
                readonly property bool selected: hub.selectedProjectId !== "" && hub.selectedProjectId === projectId

                objectName: "hubRow-" + index
                x: list.inset
                width: list.width - 2 * list.inset
                padding: 14
                implicitHeight: rowContent.implicitHeight + 28
                onClicked: hub.selectedProjectId = projectId
                text: title
                Accessible.role: Accessible.ListItem
                Accessible.name: title
                Accessible.description: subtitle
                Accessible.selectable: true
                Accessible.selected: selected

                background: Rectangle {
                    radius: 12
                    color: row.selected ? AppTheme.withOpacity(AppTheme.accent, 0.1) : AppTheme.cardBackground
                    border.width: 1
                    border.color: row.selected ? AppTheme.withOpacity(AppTheme.primary, 0.35) : AppTheme.border

                    // Over the row's own edge: the list clips what lies outside it.
                    FocusRing {
                        anchors.margins: 0
                        radius: 12
                        shown: row.visualFocus
                    }
                }
                contentItem: RowLayout {
                    id: rowContent

                    spacing: 12

                    AppIcon {
                        Layout.alignment: Qt.AlignTop
                        Layout.preferredWidth: 22
                        name: row.isIteration ? "arrow.turn.down.right" : "folder.fill"
                        color: row.isIteration ? AppTheme.accent : AppTheme.primary
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 4

                        // A name of hundreds of letters without a break takes three lines at most.
                        Text {
                            Layout.fillWidth: true
                            text: row.title
                            textFormat: Text.PlainText
                            wrapMode: Text.Wrap
                            maximumLineCount: 3
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            color: AppTheme.deepBlack
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.subtitle
                            textFormat: Text.PlainText
                            wrapMode: Text.Wrap
                            maximumLineCount: 3
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Caption)
                            color: AppTheme.textSecondary
                        }
                    }
                    AppIcon {
                        objectName: "checkMark"
                        Layout.alignment: Qt.AlignTop
                        visible: row.selected
                        name: "checkmark.circle.fill"
                        color: AppTheme.accent
                    }
                }
            }
        }
    }
}
