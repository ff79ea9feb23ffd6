import QtQuick
import QtQuick.Templates as T
import QtQuick.Window
import Tessmark.Design

// A modal sheet: a title bar with cancel and confirm buttons, an optional subtitle and toolbar
// action, over the content put inside it.
// It opens as a popup over the dimmed window, at its minimum size or the height its content
// needs, but never taller or wider than the window less 16 on each side: a window too small for
// it gets a shorter sheet, whose content scrolls. Cancelling (the button, Escape) closes the
// sheet and emits `cancelled`; confirming emits `confirmed`, and the owner closes the sheet when
// the work is done. While `cancelEnabled` is false (work in flight) every way of cancelling is
// refused. Escape reaches the sheet only when nothing inside it (an open list, say) took it. A
// sheet with no title and no buttons has no title bar. It reads as a modal dialog named by its
// title (or by `accessibleName` where it has none), Tab stays inside it, and the focus goes back
// where it was when it closes. Open, it has the keyboard on one of its controls: the one its
// owner gave it, else `initialFocus` (once it shows), else its first.
Item {
    id: sheet

    property string title
    // What a screen reader calls the sheet when it shows no title.
    property string accessibleName: title
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
    readonly property bool opened: popup.opened
    readonly property bool hasHeader: title !== "" || subtitle !== "" || cancelText !== "" || confirmText !== ""
                                      || toolbarAction !== null
    default property alias content: body.data

    signal cancelled()
    signal confirmed()
    signal closed()

    // The sheet's height below a title bar of `headerHeight` in a room `room` high: the content's
    // own height or the minimum, whichever is more, kept 16 clear of the room's edges.
    function fittedHeight(headerHeight, room) {
        return Math.min(Math.max(minimumHeight, headerHeight + contentHeight), room - 2 * 16)
    }

    // The control the keyboard starts at when nothing inside has it as the sheet opens.
    property Item initialFocus: null
    // Where the keyboard focus was before the sheet opened; a destroyed item reads as null.
    property Item focusBefore: null

    function restoreFocus() {
        if (focusBefore && focusBefore.visible && focusBefore.enabled)
            FocusLanding.land(focusBefore)
        focusBefore = null
    }

    // The scope of the sheet's content holds the focus when no control inside has it. Content
    // built anew for each showing leaves the focus on a scope around it (a Loader whose item had
    // the keys when it went), which is no control either.
    function focusInside() {
        const scope = popup.contentItem
        const focused = sheet.Window.activeFocusItem
        for (let at = focused; at !== null && at !== scope; at = at.parent) {
            if (at.parent === scope && FocusLanding.canHoldKeys(focused))
                return
        }
        FocusLanding.land(sheet.initialFocus ?? scope.nextItemInFocusChain(true))
    }

    // Puts the keys on the control the sheet starts on, as when it opened.
    function focusFirstControl() {
        FocusLanding.land(sheet.initialFocus ?? popup.contentItem.nextItemInFocusChain(true))
    }

    // Puts the keys on the confirmation, when it becomes the one thing left to do.
    function focusConfirm() {
        FocusLanding.land(header.confirmButton)
    }

    function open() {
        const host = sheet.Window.window
        if (!opened)
            focusBefore = host ? host.activeFocusItem : null
        popup.open()
    }

    function close() {
        if (popup.opened)
            popup.close()
    }

    function cancel() {
        if (!cancelEnabled)
            return
        close()
        cancelled()
    }

    // A dialog for its accessible role and name; the look is the sheet's own.
    T.Dialog {
        id: popup

        objectName: "sheetPopup"
        title: sheet.accessibleName
        parent: T.Overlay.overlay
        anchors.centerIn: parent
        modal: true
        focus: true
        closePolicy: T.Popup.NoAutoClose
        width: Math.min(sheet.minimumWidth, parent ? parent.width - 2 * 16 : sheet.minimumWidth)
        height: sheet.fittedHeight(header.height, parent ? parent.height : 0)
        padding: 0
        // Where the keys go when the control that had them inside goes.
        readonly property Item firstControl: sheet.initialFocus
        onOpened: sheet.focusInside()
        onClosed: {
            sheet.restoreFocus()
            sheet.closed()
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

        // Takes the keys that nothing focused inside the sheet took. What the sheet holds keeps
        // to its rounded corners, whatever it fills its body with.
        contentItem: RoundedClipScope {
            focus: true
            radius: AppTheme.cornerRadiusMedium
            Keys.onEscapePressed: sheet.cancel()

            SheetHeader {
                id: header

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
                id: body

                objectName: "sheetBody"
                anchors.top: header.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
            }
            // The frame's outline over the content's edge, which the clip leaves unsmoothed.
            Rectangle {
                anchors.fill: parent
                radius: AppTheme.cornerRadiusMedium
                color: "transparent"
                border.width: 1
                border.color: AppTheme.border
            }
        }
    }
}
