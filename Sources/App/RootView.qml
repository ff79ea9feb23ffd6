import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.App

// Chooses between the welcome screen and the main window and hosts the sign-in and link sheets.
Item {
    id: root

    // Lets tests open links and read the state the window shows.
    property alias viewModel: rootModel
    readonly property Item currentScreen: screenLoader.item

    signal activationRequested()
    // The window may close after all: the unsaved edits were answered or the running save ended.
    signal closeApproved()

    // The main window's guard of unsaved edits; none on the welcome screen.
    readonly property var unsavedEdits: screenLoader.item && screenLoader.item.viewModel
                                        ? screenLoader.item.viewModel.unsavedEdits : null

    // The window asks to close: true when it may close now; otherwise closeApproved() follows
    // once it may.
    function requestClose() {
        if (!rootModel.requestClose())
            return false
        const guard = root.unsavedEdits
        return !guard || guard.requestClose()
    }

    RootViewModel {
        id: rootModel
        unsavedEdits: root.unsavedEdits
        onActivationRequested: root.activationRequested()
        onCloseApproved: root.closeApproved()
        Component.onCompleted: listenForOpenedUrls()
    }

    // The stored appearance drives the theme; an empty scheme follows the system.
    Binding {
        target: AppTheme
        property: "preference"
        value: rootModel.colorScheme === "" ? "system" : rootModel.colorScheme
    }

    // The keys always have a place: where the screen shown starts them, when the control that had
    // them goes.
    FocusKeeper {
        home: screenLoader.item
    }

    // Everything of the window, the sheets included, sees the metrics of the window.
    AdaptiveMetricsReader {
        id: metricsReader
        anchors.fill: parent

        // Each change of mode builds a new screen. The main window is loaded by its address, so
        // that the welcome screen's start does not load the types of every section with it.
        Loader {
            id: screenLoader
            anchors.fill: parent
        }

        AppSheet {
            id: loginSheet
            objectName: "loginSheet"
            visible: false
            minimumWidth: 440
            minimumHeight: 560
            contentHeight: loginScreen.item ? loginScreen.item.implicitHeight : 0
            // Named by the form's mode, as its switch reads.
            accessibleName: loginScreen.item && loginScreen.item.form.isRegister ? "Регистрация" : "Вход"
            cancelText: "Закрыть"
            // Closing resets the flag; over edits the ended session left, it asks about them.
            onClosed: {
                rootModel.signInSheetClosed()
                if (!rootModel.showLoginSheet && !rootModel.signInWaitsForLink)
                    loginScreen.active = false
            }

            // Built for each showing: it starts empty in sign-in mode, and a reply that comes
            // after closing finds no screen to change. While a link's sheet stands in front of
            // it, it stays with what was typed.
            Loader {
                id: loginScreen
                anchors.fill: parent
                active: false
                sourceComponent: LoginView {
                    objectName: "loginView"
                    auth: rootModel.auth
                    sessionNotice: rootModel.sessionNotice
                }
            }
        }

        AppSheet {
            id: deepLinkSheet
            objectName: "deepLinkSheet"
            visible: false
            minimumWidth: 420
            minimumHeight: 480
            // The verification screen has its own close button.
            title: rootModel.deepLinkKind === "reset" ? "Сброс пароля" : ""
            accessibleName: rootModel.deepLinkKind === "reset" ? "Сброс пароля" : "Подтверждение email"
            cancelText: rootModel.deepLinkKind === "reset" ? "Закрыть" : ""
            onClosed: rootModel.closeDeepLink()

            Loader {
                id: deepLinkScreen
                objectName: "deepLinkScreen"
                anchors.fill: parent
                active: false
                sourceComponent: rootModel.deepLinkKind === "verify" ? verifyScreen : resetScreen
            }
        }
    }

    readonly property url shellUrl: Qt.resolvedUrl("MainShellView.qml")
    // Held once the welcome screen is drawn, so that the main window's types are ready when it opens.
    property Component shellTypes: null

    function showScreen() {
        screenLoader.sourceComponent = undefined
        if (rootModel.screen === RootViewModel.Welcome) {
            screenLoader.sourceComponent = welcome
            return
        }
        screenLoader.setSource(root.shellUrl, {
            auth: rootModel.auth,
            isGuest: rootModel.screen === RootViewModel.GuestShell
        })
    }

    Component.onCompleted: showScreen()

    // After the welcome screen's first frame the main window's types load in the background.
    Connections {
        target: root.shellTypes === null && rootModel.screen === RootViewModel.Welcome ? root.Window.window : null
        function onFrameSwapped() {
            root.shellTypes = Qt.createComponent(root.shellUrl, Component.Asynchronous)
        }
    }

    Component {
        id: welcome
        WelcomeView {
            id: welcomeView
            auth: rootModel.auth
            onGuestModeActiveChanged: rootModel.guestModeActive = guestModeActive
            onShowLoginSheetChanged: rootModel.showLoginSheet = showLoginSheet

            // Two-way: the screen writes the flags, and the root's changes come back.
            Binding { target: welcomeView; property: "guestModeActive"; value: rootModel.guestModeActive }
            Binding { target: welcomeView; property: "showLoginSheet"; value: rootModel.showLoginSheet }
        }
    }

    Connections {
        target: root.unsavedEdits
        function onCloseApproved() { root.closeApproved() }
        function onIsWaitingToCloseChanged() { root.presentCloseWait() }
        function onPresentRequested() { root.presentCloseWait() }
    }

    // The wait is in sight exactly while the window waits.
    function presentCloseWait() {
        if (root.unsavedEdits && root.unsavedEdits.isWaitingToClose) {
            if (!closeWaitDialog.visible)
                closeWaitDialog.open()
        } else if (closeWaitDialog.visible) {
            closeWaitDialog.close()
        }
    }

    // The window closes once the running save (or the move of device projects into the account)
    // is over; meanwhile it says so, and the person may close without waiting (the edits not
    // stored yet are then asked about) or keep the window: a work that ends while a button is
    // held down waits for the answer.
    AppConfirmationDialog {
        id: closeWaitDialog

        readonly property bool forSave: !root.unsavedEdits || root.unsavedEdits.isWaitingForSave

        objectName: "closeWaitDialog"
        title: forSave ? "Идёт сохранение" : "Идёт перенос проектов"
        message: forSave ? "Окно закроется, когда изменения будут сохранены."
                         : "Окно закроется, когда проекты будут перенесены в аккаунт."
        buttons: [{ text: "Закрыть без ожидания" }, { text: "Отмена", role: "cancel" }]
        onTriggered: index => {
            if (!root.unsavedEdits)
                return
            if (index === 0)
                root.unsavedEdits.closeWithoutWaiting()
            else
                root.unsavedEdits.stayOpen()
        }
        onAnsweringChanged: {
            if (root.unsavedEdits)
                root.unsavedEdits.holdAnswer(answering)
        }

        // The message says what runs.
        BusyIndicator {
            Accessible.ignored: true
            anchors.horizontalCenter: parent.horizontalCenter
            implicitWidth: 24
            implicitHeight: 24
            running: closeWaitDialog.visible
        }
    }

    Connections {
        target: rootModel
        function onScreenChanged() { root.showScreen() }
        function onShowLoginSheetChanged() { root.presentLoginSheet() }
        function onAuthDeepLinkChanged() { root.presentDeepLinkSheet() }
        function onSessionChanged() { root.presentEditsQuestion() }
    }

    function presentLoginSheet() {
        if (rootModel.showLoginSheet) {
            // Opened first, so that the sheet takes the focus of the window before the form does.
            if (!loginSheet.opened)
                loginSheet.open()
            loginScreen.active = true
        } else if (loginSheet.opened) {
            loginSheet.close()
        }
    }

    // The edits an ended session left: whether they go, asked before anything is dropped.
    AppConfirmationDialog {
        id: editsQuestion

        objectName: "endedSessionDialog"
        title: rootModel.editsQuestionTitle
        message: rootModel.editsQuestionMessage
        buttons: rootModel.editsQuestion === RootViewModel.OtherAccount
                 ? [{ text: "Отмена", role: "cancel", keep: true },
                    { text: "Продолжить", role: "destructive", keep: false }]
                 : [{ text: "Войти снова", role: "cancel", keep: true },
                    { text: "Не сохранять", role: "destructive", keep: false }]
        onTriggered: index => rootModel.answerEditsQuestion(buttons[index].keep)
    }

    // A place chosen in the desktop's save dialog after its save had ended: told here, as the
    // export sheet may be gone by then.
    LateSaveAnswerAlert {}

    function presentEditsQuestion() {
        if (rootModel.editsQuestion !== RootViewModel.NoQuestion && !editsQuestion.opened)
            editsQuestion.open()
        else if (rootModel.editsQuestion === RootViewModel.NoQuestion && editsQuestion.opened)
            editsQuestion.close()
    }

    // The sheet is keyed by the link's identity: another link builds its screen anew.
    function presentDeepLinkSheet() {
        deepLinkScreen.active = false
        if (rootModel.deepLinkId === "") {
            if (deepLinkSheet.opened)
                deepLinkSheet.close()
            return
        }
        deepLinkScreen.active = true
        if (!deepLinkSheet.opened)
            deepLinkSheet.open()
    }

    Component {
        id: verifyScreen
        VerifyEmailDeepLinkView {
            auth: rootModel.auth
            token: rootModel.deepLinkToken
            // Closing destroys the screen whose button asked for it: after the click has ended.
            onCloseRequested: Qt.callLater(rootModel.closeDeepLink)
        }
    }

    Component {
        id: resetScreen
        ResetPasswordView {
            auth: rootModel.auth
            token: rootModel.deepLinkToken
            onCloseRequested: Qt.callLater(rootModel.closeDeepLink)
            // The disabled save button leaves the keys nowhere: they go to "Закрыть".
            onSucceeded: deepLinkSheet.focusFirstControl()
        }
    }
}
