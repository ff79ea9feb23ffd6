import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Services

// Stand-in of the project detail: the chosen project's name, client and lines.
Rectangle {
    id: detail
    objectName: "projectDetail"

    required property ProjectsService projectsService
    required property string projectId

    signal deleted()
    signal projectIdChangeRequested(string newId)

    readonly property var project: {
        const all = projectsService.projects
        for (let i = 0; i < all.length; ++i) {
            if (all[i].id === projectId)
                return all[i]
        }
        return null
    }

    color: AppTheme.background

    Label {
        anchors.centerIn: parent
        visible: detail.project === null
        text: "Загрузка…"
        color: AppTheme.textSecondary
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        visible: detail.project !== null
        spacing: 12

        ColumnLayout {
            id: overview
            Layout.fillWidth: true
            spacing: 4
            OnboardingSpotlight.active: overview.Onboarding.highlight === "editorTableOverview"
            OnboardingSpotlight.highlight: "editorTableOverview"

            Label {
                Layout.fillWidth: true
                text: detail.project ? detail.project.name : ""
                font.pixelSize: 22
                font.bold: true
                color: AppTheme.deepBlack
                elide: Text.ElideRight
            }
            Label {
                text: detail.project ? [detail.project.clientName, detail.project.currency].filter(Boolean).join(" · ") : ""
                color: AppTheme.textSecondary
            }
        }

        ListView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 4
            model: detail.project ? detail.project.items : []
            delegate: Rectangle {
                required property var modelData
                width: ListView.view.width
                height: 40
                radius: 8
                color: AppTheme.cardBackground
                border.color: AppTheme.border
                Label {
                    anchors.left: parent.left
                    anchors.leftMargin: 12
                    anchors.right: hours.left
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData.title
                    elide: Text.ElideRight
                    color: AppTheme.deepBlack
                }
                Label {
                    id: hours
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData.hours + " ч × " + modelData.rate
                    color: AppTheme.textSecondary
                }
            }
        }
    }
}
