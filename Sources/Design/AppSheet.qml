import QtQuick
import QtQuick.Templates as T
import QtQuick.Window
import Tessmark.Design

// A modal sheet: a title bar with cancel and confirm buttons, an optional subtitle and toolbar
// action, over the content put inside it.
// It opens as a popup over the window, or as a modal window of its own when its minimum size
// does not fit in the window. Cancelling (the button, Escape, the window's close button) closes
// the sheet and emits `cancelled`; confirming emits `confirmed`, and the owner closes the sheet
// when the work is done. While `cancelEnabled` is false (work in flight) every way of cancelling
// is refused. A sheet with no title and no buttons has no title bar. It reads as a dialog named
// by its title, Tab stays inside it, and the focus goes back where it was when it closes.
Item {
    id: sheet

    property string title
    property string subtitle
    // A toolbar action built in the title bar beside the confirmation (e.g. refresh).
    property Component toolbarAction
    property string cancelText
    property string confirmText
    property bool confirmEnabled: true
    property bool cancelEnabled: true
    property real minimumWidth: 400
    property real minimumHeight: 300
    // The height the content needs below the title bar (0: none given). The sheet grows to it,
    // up to the window's height less 16 on each side, so that its content scrolls only in a
    // window too small for it.
    property real contentHeight: 0
    readonly property bool opened: popup.opened || inWindow
    readonly property bool inWindow: windowFrame.item !== null && windowFrame.item.visible
    readonly property bool hasHeader: title !== "" || subtitle !== "" || cancelText !== "" || confirmText !== ""
                                      || toolbarAction !== null
    default property alias content: body.data

    signal cancelled()
    signal confirmed()
    signal closed()

    // The sheet's height below a title bar of `headerHeight` in a room `room` high: the content's
    // own height, kept 16 clear of the room's edges, never below the minimum.
    function fittedHeight(headerHeight, room) {
        return Math.max(minimumHeight, Math.min(headerHeight + contentHeight, room - 2 * 16))
    }

    // Where the keyboard focus was before the sheet opened; a destroyed item reads as null.
    property Item focusBefore: null

    function restoreFocus() {
        if (focusBefore && focusBefore.visible && focusBefore.enabled)
            focusBefore.forceActiveFocus(Qt.OtherFocusReason)
        focusBefore = null
    }

    function open() {
        const host = sheet.Window.window
        if (!opened)
            focusBefore = host ? host.activeFocusItem : null
        const margin = 24
        const fits = host && minimumWidth <= host.width - 2 * margin && minimumHeight <= host.height - 2 * margin
        if (fits) {
            body.parent = popupBody
            popup.open()
        } else {
            windowFrame.active = true
            const frame = windowFrame.item
            body.parent = frame.bodyParent
            frame.transientParent = host
            frame.visible = true
            frame.requestActivate()
        }
    }

    function close() {
        if (popup.opened)
            popup.close()
        if (inWindow)
            windowFrame.item.hide()
    }

    function cancel() {
        if (!cancelEnabled)
            return
        close()
        cancelled()
    }

    Item {
        id: body

        objectName: "sheetBody"
        anchors.fill: parent
        visible: sheet.opened
    }

    // A dialog for its accessible role and name (its title); the look is the sheet's own.
    T.Dialog {
        id: popup

        title: sheet.title
        parent: T.Overlay.overlay
        anchors.centerIn: parent
        modal: true
        focus: true
        closePolicy: T.Popup.NoAutoClose
        width: sheet.minimumWidth
        height: sheet.fittedHeight(popupHeader.height, parent ? parent.height : 0)
        padding: 0
        onClosed: {
            sheet.restoreFocus()
            sheet.closed()
        }

        Shortcut {
            sequence: StandardKey.Cancel
            enabled: popup.opened
            onActivated: sheet.cancel()
        }

        T.Overlay.modal: Rectangle {
            color: Qt.rgba(0, 0, 0, 0.32)
        }

        background: Item {
            BoxShadow {
                anchors.fill: parent
                anchors.margins: -margin
                radius: AppTheme.cornerRadiusMedium
                blur: 24
                offsetY: 8
                color: Qt.rgba(0, 0, 0, AppTheme.dark ? 0.5 : 0.18)
            }
            Rectangle {
                anchors.fill: parent
                radius: AppTheme.cornerRadiusMedium
                color: AppTheme.background
                border.width: 1
                border.color: AppTheme.border
            }
        }

        contentItem: Item {
            clip: true

            SheetHeader {
                id: popupHeader

                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 1
                height: sheet.hasHeader ? implicitHeight : 0
                visible: sheet.hasHeader
                radius: AppTheme.cornerRadiusMedium - 1
                title: sheet.title
                subtitle: sheet.subtitle
                action: sheet.toolbarAction
                cancelText: sheet.cancelText
                confirmText: sheet.confirmText
                confirmEnabled: sheet.confirmEnabled
                cancelEnabled: sheet.cancelEnabled
                onCancelClicked: sheet.cancel()
                onConfirmClicked: sheet.confirmed()

                // Square off the header's lower corners, beneath the header's own content.
                Rectangle {
                    z: -1
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 1
                    height: parent.radius
                    color: parent.color
                }
            }
            Item {
                id: popupBody

                anchors.top: popupHeader.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
            }
        }
    }

    // The sheet's own window exists only while the sheet is open in it: a hidden window would
    // still be listed to screen readers.
    Loader {
        id: windowFrame

        active: false
        sourceComponent: Window {
            readonly property Item bodyParent: windowBody

            title: sheet.title
            modality: Qt.WindowModal
            flags: Qt.Dialog
            minimumWidth: sheet.minimumWidth
            minimumHeight: sheet.minimumHeight
            width: sheet.minimumWidth
            height: sheet.fittedHeight(windowHeader.height, Screen.desktopAvailableHeight)
            color: AppTheme.background
            onClosing: function(close) {
                close.accepted = false
                sheet.cancel()
            }
            onVisibleChanged: {
                if (visible)
                    return
                body.parent = sheet
                sheet.restoreFocus()
                // Dropped later, as this window is still emitting.
                windowFrame.active = false
                sheet.closed()
            }

            Shortcut {
                sequence: StandardKey.Cancel
                onActivated: sheet.cancel()
            }

            KeyboardFocusInView {}

            SheetHeader {
                id: windowHeader

                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                height: sheet.hasHeader ? implicitHeight : 0
                visible: sheet.hasHeader
                title: sheet.title
                subtitle: sheet.subtitle
                action: sheet.toolbarAction
                cancelText: sheet.cancelText
                confirmText: sheet.confirmText
                confirmEnabled: sheet.confirmEnabled
                cancelEnabled: sheet.cancelEnabled
                onCancelClicked: sheet.cancel()
                onConfirmClicked: sheet.confirmed()
            }
            Item {
                id: windowBody

                anchors.top: windowHeader.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
            }
        }
    }
}
