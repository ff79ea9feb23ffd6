import QtQuick
import Tessmark.Design
import Tessmark.Features.Auth
import Tessmark.Services

// The guest's way into an account from the settings: the sign-in screen in a sheet. A successful
// sign-in rebuilds the main window, and this sheet goes with it.
Item {
    id: root

    required property AuthService auth
    readonly property bool opened: sheet.opened

    signal closed()

    function open() {
        sheet.open()
    }

    function close() {
        sheet.close()
    }

    AppSheet {
        id: sheet

        objectName: "settingsLoginSheet"
        visible: false
        minimumWidth: 440
        minimumHeight: 560
        contentHeight: loginScreen.item ? loginScreen.item.implicitHeight : 0
        // Named by the form's mode, as its switch reads.
        accessibleName: loginScreen.item && loginScreen.item.form.isRegister ? "Регистрация" : "Вход"
        cancelText: "Закрыть"
        onClosed: root.closed()

        // Built for each showing, so that a second opening starts from empty fields.
        Loader {
            id: loginScreen

            anchors.fill: parent
            active: sheet.opened
            sourceComponent: LoginView {
                objectName: "settingsLoginView"
                auth: root.auth
            }
        }
    }
}
