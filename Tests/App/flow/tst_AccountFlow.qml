pragma ComponentBehavior: Bound
import QtQuick
import QtTest
import Tessmark.App
import Tessmark.Design

// The account's ways in and out at the default size, driven with the mouse and keys: a session
// the backend ends while the editor holds edits, and the sheets of links over the sign-in form.
Item {
    id: host
    width: 960
    height: 640

    Component {
        id: rootComponent
        RootView { anchors.fill: parent }
    }
    // As in the application's window.
    ButtonReturnKey {}

    TestCase {
        name: "AccountFlow"
        when: windowShown
        visible: true

        readonly property string demoEmail: "demo@tessmark.test"
        readonly property string demoPassword: "demo12345"
        readonly property string expiredText: "Сессия истекла. Войдите снова."

        function init() {
            const window = host.Window.window
            window.requestActivate()
            tryVerify(() => window.active)
            testEnvironment.reset()
            testEnvironment.setPreference("estimate.onboarding.main.completedVersion", 2)
        }

        function typeText(text) {
            for (const c of text)
                keyClick(c)
        }

        // Clicks a text field and types into it, after what it holds.
        function typeInto(field, text) {
            mouseClick(field.input)
            verify(field.input.activeFocus)
            keyClick(Qt.Key_End)
            typeText(text)
        }

        function visibleChild(parent, name) {
            let found = null
            tryVerify(() => (found = findChild(parent, name)) !== null && found.visible, 5000, "no " + name)
            return found
        }

        function sheet(root, name) {
            const found = findChild(root, name)
            verify(found, "no " + name)
            return found
        }

        // The sheet's "Закрыть" in its title bar, clicked where it is drawn.
        function closeSheet(root, name) {
            const shown = sheet(root, name)
            tryVerify(() => shown.opened)
            const button = visibleChild(root.Window.window.contentItem, "cancelButton")
            mouseClick(button)
            tryVerify(() => !shown.opened)
        }

        // Every showing starts on the safe button, which Return presses.
        function answer(dialog, text) {
            tryVerify(() => dialog.opened)
            const safe = dialog.safeButton()
            tryVerify(() => safe.activeFocus, 1000, "the question starts on " + safe.text)
            if (safe.text === text) {
                keyClick(Qt.Key_Return)
                return
            }
            waitForRendering(dialog.contentItem)
            for (let i = 0; i < dialog.buttons.length; ++i) {
                if (dialog.buttons[i].text === text) {
                    mouseClick(findChild(dialog.contentItem, "dialogButton" + i))
                    return
                }
            }
            fail("no button " + text)
        }

        // Types into the open sign-in sheet and sends it with Return from the password.
        function signInThroughSheet(root, email, password) {
            tryVerify(() => sheet(root, "loginSheet").opened)
            const login = visibleChild(root, "loginView")
            waitForRendering(login)
            const emailField = findChild(login, "emailField")
            mouseClick(emailField.input)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            typeText(email)
            const passwordField = findChild(login, "passwordField")
            mouseClick(passwordField.input)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            typeText(password)
            keyClick(Qt.Key_Return)
        }

        // Beside an open editor the list is folded into a rail: its button shows the list.
        function showList(shell) {
            const button = findChild(shell, "showProjectsButton")
            const panel = findChild(shell, "projectsPanel")
            if (button && button.visible && !panel.visible) {
                mouseClick(button)
                tryVerify(() => panel.visible)
            }
        }

        function openAccountEditor() {
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            verify(testEnvironment.signIn(root.viewModel.auth))
            tryCompare(root.viewModel, "screen", RootViewModel.AccountShell)
            tryVerify(() => root.currentScreen && root.currentScreen.viewModel)
            const shell = root.currentScreen
            const rootId = testEnvironment.demoIteration().rootId
            mouseClick(visibleChild(shell, "projectRow-" + rootId))
            let editor = null
            tryVerify(() => (editor = findChild(shell, "projectEditor")) !== null
                      && editor.screen.editor.projectId === rootId, 5000)
            waitForRendering(editor)
            return { root: root, shell: shell, editor: editor, projectId: rootId }
        }

        // The backend ends the session while the name holds typed edits, answering the save or
        // the list's refresh with 401: the account window stays with the edits, says why and
        // asks for the sign-in; leaving it asks before the edits go; another account is asked
        // about; the same account signs in and the save goes through.
        function test_endedSessionKeepsTheEdits_data() {
            return [
                { tag: "save", via: "save", otherAccount: "Отмена" },
                { tag: "refresh", via: "refresh", otherAccount: "Продолжить" },
            ]
        }
        function test_endedSessionKeepsTheEdits(data) {
            const opened = openAccountEditor()
            const root = opened.root
            const editorModel = opened.editor.screen.editor
            const nameField = findChild(opened.editor, "nameField")
            const typedName = nameField.text + " (edit)"
            typeInto(nameField, " (edit)")
            verify(editorModel.isDirty)

            testEnvironment.endSessions()
            if (data.via === "save") {
                keySequence(StandardKey.Save)
                tryCompare(editorModel, "saveState", "error")
                compare(editorModel.saveErrorText, expiredText)
                compare(findChild(opened.editor, "saveStatusText").text, expiredText)
            } else {
                showList(opened.shell)
                mouseClick(visibleChild(opened.shell, "refreshButton"))
            }
            tryVerify(() => !root.viewModel.auth.hasUser, 5000)
            verify(root.viewModel.keepsEndedSession)
            // The backend is told of the ended session once, however many answers refused it.
            tryVerify(() => !testEnvironment.hasStoredToken(), 5000)
            compare(testEnvironment.requestCount("POST", "auth/logout"), 1)
            tryVerify(() => sheet(root, "loginSheet").opened)
            const notice = visibleChild(sheet(root, "loginSheet"), "sessionBanner")
            compare(notice.text, expiredText)
            verify(root.currentScreen === opened.shell)
            verify(editorModel.isDirty)
            compare(nameField.text, typedName)

            // Closing the sign-in sheet asks before the edits go; "Войти снова" brings it back.
            closeSheet(root, "loginSheet")
            const question = findChild(root, "endedSessionDialog")
            tryVerify(() => question.opened)
            answer(question, "Войти снова")
            tryVerify(() => sheet(root, "loginSheet").opened)
            verify(root.currentScreen === opened.shell)

            // Another account: the edits are not its own, and it is asked first.
            testEnvironment.addAccount("other@tessmark.test", "other12345")
            signInThroughSheet(root, "other@tessmark.test", "other12345")
            tryVerify(() => question.opened, 5000)
            compare(question.title, "Вход в другой аккаунт")
            answer(question, data.otherAccount)
            if (data.otherAccount === "Продолжить") {
                // The other account's own window: the edits went with the old one.
                tryVerify(() => root.currentScreen !== opened.shell && root.currentScreen !== null, 5000)
                compare(root.viewModel.auth.user.email, "other@tessmark.test")
                verify(!root.viewModel.keepsEndedSession)
                compare(testEnvironment.accountProjectName(opened.projectId) !== typedName, true)
                return
            }
            tryVerify(() => !root.viewModel.auth.hasUser, 5000)
            tryVerify(() => sheet(root, "loginSheet").opened)
            compare(visibleChild(sheet(root, "loginSheet"), "sessionBanner").text, expiredText)
            verify(editorModel.isDirty)

            // The same account again: the window and its edits stay, and the save goes through.
            signInThroughSheet(root, demoEmail, demoPassword)
            tryVerify(() => root.viewModel.auth.hasUser, 5000)
            // Gone, not just closing: a click into the fading sheet's backdrop reaches nothing.
            const signInPopup = findChild(sheet(root, "loginSheet"), "sheetPopup")
            tryVerify(() => !signInPopup.visible)
            verify(!root.viewModel.keepsEndedSession)
            verify(root.currentScreen === opened.shell)
            compare(nameField.text, typedName)
            // The session is back: the editor no longer says it ended, and still holds the edits.
            compare(editorModel.saveState, "idle")
            const status = findChild(opened.editor, "saveStatusText")
            verify(status.visible)
            compare(status.text, "Есть изменения")
            // The keys have found their place again before the person clicks on.
            tryVerify(() => root.Window.activeFocusItem !== root.Window.contentItem)
            mouseClick(nameField.input)
            keySequence(StandardKey.Save)
            tryCompare(editorModel, "saveState", "saved", 5000)
            compare(testEnvironment.accountProjectName(opened.projectId), typedName)
        }

        // Without edits to keep, the window goes to the welcome screen and says why in the
        // sign-in sheet; once that sheet closes, the next one is an ordinary sign-in.
        function test_endedSessionWithoutEditsSaysWhy() {
            const opened = openAccountEditor()
            const root = opened.root
            testEnvironment.endSessions()
            showList(opened.shell)
            mouseClick(visibleChild(opened.shell, "refreshButton"))
            tryCompare(root.viewModel, "screen", RootViewModel.Welcome, 5000)
            tryVerify(() => sheet(root, "loginSheet").opened)
            compare(visibleChild(sheet(root, "loginSheet"), "sessionBanner").text, expiredText)
            closeSheet(root, "loginSheet")
            verify(!findChild(root, "endedSessionDialog").opened)
            mouseClick(visibleChild(root.currentScreen, "signInButton"))
            tryVerify(() => sheet(root, "loginSheet").opened)
            const login = visibleChild(sheet(root, "loginSheet"), "loginView")
            verify(!findChild(login, "sessionBanner").visible)
        }

        // Welcome, "Войти" and an address typed; a reset link arrives and its checks and its
        // refusal show in its own sheet; closing it brings the sign-in form back as it was,
        // without the link's error. A verification link does the same.
        function test_linkErrorsStayInTheirSheet() {
            const root = createTemporaryObject(rootComponent, host)
            verify(root)
            tryVerify(() => root.currentScreen !== null)
            mouseClick(visibleChild(root.currentScreen, "signInButton"))
            tryVerify(() => sheet(root, "loginSheet").opened)
            let login = visibleChild(sheet(root, "loginSheet"), "loginView")
            waitForRendering(login)
            typeInto(findChild(login, "emailField"), "anna@example.test")

            root.viewModel.openUrl("tessmark://reset-password?token=bogus")
            tryVerify(() => sheet(root, "deepLinkSheet").opened)
            const reset = visibleChild(sheet(root, "deepLinkSheet"), "resetPasswordView")
            waitForRendering(reset)
            const errorLine = findChild(reset, "errorLine")
            typeInto(findChild(reset, "passwordField"), "secret-12")
            typeInto(findChild(reset, "confirmField"), "secret-1")
            mouseClick(findChild(reset, "saveButton"))
            tryVerify(() => errorLine.visible)
            compare(errorLine.text, "Пароли не совпадают")
            // The text goes as soon as the two match, before any save.
            typeInto(findChild(reset, "confirmField"), "2")
            verify(!errorLine.visible)
            mouseClick(findChild(reset, "saveButton"))
            tryVerify(() => errorLine.visible, 5000)
            compare(errorLine.text, "Ссылка сброса пароля недействительна или устарела")

            closeSheet(root, "deepLinkSheet")
            tryVerify(() => sheet(root, "loginSheet").opened)
            login = visibleChild(sheet(root, "loginSheet"), "loginView")
            compare(findChild(login, "emailField").text, "anna@example.test")
            verify(!findChild(login, "errorBanner").visible)

            root.viewModel.openUrl("tessmark://verify-email?token=bogus")
            tryVerify(() => sheet(root, "deepLinkSheet").opened)
            const verifyView = visibleChild(sheet(root, "deepLinkSheet"), "verifyEmailView")
            tryVerify(() => findChild(verifyView, "outcomeText").visible, 5000)
            compare(findChild(verifyView, "outcomeText").text, "Ссылка подтверждения недействительна или устарела")
            mouseClick(findChild(verifyView, "closeButton"))
            tryVerify(() => sheet(root, "loginSheet").opened)
            login = visibleChild(sheet(root, "loginSheet"), "loginView")
            compare(findChild(login, "emailField").text, "anna@example.test")
            verify(!findChild(login, "errorBanner").visible)

            // Closed and opened again: a fresh form, and still no error of the links.
            closeSheet(root, "loginSheet")
            mouseClick(visibleChild(root.currentScreen, "signInButton"))
            tryVerify(() => sheet(root, "loginSheet").opened)
            login = visibleChild(sheet(root, "loginSheet"), "loginView")
            verify(!findChild(login, "errorBanner").visible)
        }
    }
}
