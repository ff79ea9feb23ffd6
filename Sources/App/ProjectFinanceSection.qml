import QtQuick
import Tessmark.Features.Finance
import Tessmark.App

// The payments of the chosen project, loaded by its address when they are first shown.
Loader {
    id: section

    required property MainShellViewModel shellModel
    property string projectId: shellModel.financeProjectId

    onProjectIdChanged: {
        active = false
        active = true
    }
    sourceComponent: ProjectFinanceView {
        projectsService: section.shellModel.projectsService
        projectId: section.shellModel.financeProjectId
        projectName: section.shellModel.financeProjectName
        currency: section.shellModel.financeProjectCurrency
    }
}
