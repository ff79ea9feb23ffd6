import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Projects
import Tessmark.Services

// Stand-in of the project detail: the chosen project's name, client and lines.
Rectangle {
    id: detail
    objectName: "projectDetail"

    required property ProjectsService projectsService
    required property string projectId

    signal deleted()
    signal projectIdChangeRequested(string newId)

    readonly property var project: rowsModel.count >= 0 ? rowsModel.project(projectId) : ({})
    readonly property bool found: project.id !== undefined

    color: AppTheme.background

    ProjectRowsModel {
        id: rowsModel
        projectsService: detail.projectsService
    }

    Text {
        anchors.centerIn: parent
        visible: !detail.found
        text: "Загрузка…"
        color: AppTheme.textSecondary
        font: Typography.font(Typography.Subheadline)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        visible: detail.found
        spacing: 12

        ColumnLayout {
            id: overview
            Layout.fillWidth: true
            spacing: 4
            OnboardingSpotlight.active: overview.Onboarding.highlight === OnboardingTargets.editorTableOverview
            OnboardingSpotlight.highlight: OnboardingTargets.editorTableOverview

            Text {
                Layout.fillWidth: true
                text: detail.project.name || ""
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
                elide: Text.ElideRight
            }
            Text {
                text: [detail.project.clientName, detail.project.costText].filter(Boolean).join(" · ")
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Subheadline)
            }
        }

        ListView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 4
            model: detail.project.items || []
            delegate: Rectangle {
                required property var modelData
                width: ListView.view.width
                height: 40
                radius: 8
                color: AppTheme.cardBackground
                border.color: AppTheme.border
                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 12
                    anchors.right: cost.left
                    anchors.rightMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData.title
                    elide: Text.ElideRight
                    color: AppTheme.deepBlack
                    font: Typography.font(Typography.Body)
                }
                Text {
                    id: cost
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData.hours + " ч · " + modelData.cost
                    color: AppTheme.textSecondary
                    font: Typography.font(Typography.Footnote)
                }
            }
        }
    }
}
