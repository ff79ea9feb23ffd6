import QtQuick
import Tessmark.Features.Settings
import Tessmark.App

// The settings, loaded by their address when the section is first shown.
SettingsView {
    required property MainShellViewModel shellModel

    auth: shellModel.auth
    isGuest: shellModel.isGuest
}
