import QtQuick
import Tessmark.Features.Finance
import Tessmark.App

// The account's payments list, loaded by its address when the section is first shown.
PaymentsHubView {
    id: hub

    required property MainShellViewModel shellModel

    projectsService: shellModel.projectsService
    onSelectedProjectIdChanged: shellModel.selectedFinanceProjectId = hub.selectedProjectId

    Binding { target: hub; property: "selectedProjectId"; value: hub.shellModel.selectedFinanceProjectId }
}
