pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Projects
import Tessmark.Features.Editor
import Tessmark.Services

// Stand-in of the project detail: the chosen project's name, client and lines.
Rectangle {
    id: detail
    objectName: "projectDetail"

    required property ProjectsService projectsService
    required property string projectId

    signal deleted()
    signal projectIdChangeRequested(string newId)

    color: AppTheme.background

    ProjectDetailModel {
        id: project
        projectsService: detail.projectsService
        projectId: detail.projectId
    }

    Text {
        anchors.centerIn: parent
        visible: !project.found
        text: "Загрузка…"
        color: AppTheme.textSecondary
        font: Typography.font(Typography.Subheadline)
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        visible: project.found
        spacing: 12

        ColumnLayout {
            id: overview
            Layout.fillWidth: true
            spacing: 4
            OnboardingSpotlight.active: overview.Onboarding.highlight === OnboardingHighlightTarget.editorTableOverview
            OnboardingSpotlight.highlight: OnboardingHighlightTarget.editorTableOverview

            Text {
                Layout.fillWidth: true
                text: project.name
                textFormat: Text.PlainText
                font: Typography.font(Typography.Title2, Font.Bold)
                color: AppTheme.deepBlack
                elide: Text.ElideRight
            }
            Text {
                text: [project.clientName, project.costText].filter(Boolean).join(" · ")
                textFormat: Text.PlainText
                color: AppTheme.textSecondary
                font: Typography.font(Typography.Subheadline)
            }
        }

        ListView {
            id: lines
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 4
            model: project
            delegate: Rectangle {
                id: line
                required property string title
                required property double hours
                required property string costText
                width: lines.width
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
                    text: line.title
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: AppTheme.deepBlack
                    font: Typography.font(Typography.Body)
                }
                Text {
                    id: cost
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    text: line.hours + " ч · " + line.costText
                    textFormat: Text.PlainText
                    color: AppTheme.textSecondary
                    font: Typography.font(Typography.Footnote)
                }
            }
        }
    }
}
