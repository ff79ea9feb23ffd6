import QtQuick
import QtTest
import Tessmark.Features.Auth

// Recovery, reset and verification against the test backend, with the tokens it mails.
Item {
    id: host
    width: 480
    height: 560

    Component {
        id: forgotComponent
        ForgotPasswordView {
            anchors.fill: parent
            auth: backend.auth
        }
    }
    Component {
        id: resetComponent
        ResetPasswordView {
            anchors.fill: parent
            auth: backend.auth
        }
    }
    Component {
        id: verifyComponent
        VerifyEmailDeepLinkView {
            anchors.fill: parent
            auth: backend.auth
        }
    }
    Component {
        id: welcomeComponent
        WelcomeView {
            anchors.fill: parent
            auth: backend.auth
        }
    }

    TestCase {
        name: "AccountLinks"
        when: windowShown
        visible: true

        function init() { backend.reset() }

        function test_recoveryThenReset() {
            const forgot = createTemporaryObject(forgotComponent, host)
            const send = findChild(forgot, "sendButton")
            findChild(forgot, "emailField").text = "   "
            verify(!send.enabled)
            findChild(forgot, "emailField").text = " anna@example.test "
            verify(send.enabled)
            mouseClick(send)
            verify(send.busy && send.enabled)
            mouseClick(send)
            tryCompare(findChild(forgot, "successBox"), "visible", true)
            compare(backend.requestCount("auth/forgot-password"), 1)
            compare(backend.lastBody("auth/forgot-password").email, "anna@example.test")
            const token = backend.resetTokenFor("anna@example.test")
            verify(token !== "")

            const reset = createTemporaryObject(resetComponent, host, { token: token })
            const save = findChild(reset, "saveButton")
            findChild(reset, "passwordField").text = "new-secret"
            findChild(reset, "confirmField").text = "new-secreT"
            mouseClick(save)
            compare(findChild(reset, "errorLine").text, "Пароли не совпадают")
            verify(findChild(reset, "errorLine").visible)
            compare(backend.requestCount("auth/reset-password"), 0)
            findChild(reset, "confirmField").text = "new-secret"
            findChild(reset, "confirmField").input.forceActiveFocus()
            keyClick(Qt.Key_Return)
            // Busy, it stays enabled to keep the keys, and a press sends nothing more.
            verify(save.busy && save.enabled)
            mouseClick(save)
            keyClick(Qt.Key_Return)
            tryCompare(findChild(reset, "successLine"), "visible", true)
            compare(backend.requestCount("auth/reset-password"), 1)
            compare(findChild(reset, "successLine").text, "Пароль изменён. Войдите с новым паролем.")
            verify(!findChild(reset, "errorLine").visible)
            verify(!save.enabled)
            compare(backend.lastBody("auth/reset-password").token, token)
        }

        // A token longer than any the backend sends is refused as the link opens: no entries to
        // fill, nothing sent.
        function test_resetTokenBound_data() {
            return [{ tag: "at the bound", size: 16384, refused: false },
                    { tag: "over the bound", size: 16385, refused: true }]
        }
        function test_resetTokenBound(data) {
            const reset = createTemporaryObject(resetComponent, host, { token: "t".repeat(data.size) })
            const errorLine = findChild(reset, "errorLine")
            compare(errorLine.visible, data.refused)
            compare(errorLine.text, data.refused ? "Ссылка повреждена: ключ в ней слишком длинный. "
                                                   + "Запросите новое письмо и откройте ссылку из него." : "")
            for (const name of ["passwordField", "confirmField", "saveButton"])
                compare(findChild(reset, name).visible, !data.refused)
            compare(findChild(reset, "passwordField").input.activeFocus, !data.refused)
            // Passwords that pass the checks: only the token's bound keeps the request back.
            findChild(reset, "passwordField").text = "new-secret"
            findChild(reset, "confirmField").text = "new-secret"
            reset.model.save()
            compare(reset.auth.isLoading, !data.refused)
            tryCompare(reset.auth, "isLoading", false)
            compare(backend.requestCount("auth/reset-password"), data.refused ? 0 : 1)
        }

        function test_verification_data() {
            return [
                { tag: "mailed token", token: "", status: VerifyEmailModel.Success,
                  text: "Email подтверждён. Теперь можно войти." },
                { tag: "bad token", token: "bogus", status: VerifyEmailModel.Error,
                  text: "Ссылка подтверждения недействительна или устарела" },
            ]
        }
        function test_verification(data) {
            const token = data.token !== "" ? data.token : backend.verificationTokenFor("new@example.test")
            const view = createTemporaryObject(verifyComponent, host, { token: token })
            verify(findChild(view, "progress").visible)
            tryCompare(view.model, "status", data.status)
            verify(!findChild(view, "progress").visible)
            compare(findChild(view, "outcomeText").text, data.text)
            compare(backend.requestCount("auth/verify-email"), 1)
        }

        function test_verificationClosesWhileLoading() {
            backend.answer("auth/verify-email", 400, "нет", 300)
            const view = createTemporaryObject(verifyComponent, host, { token: "t" })
            const closed = signalSpy.createObject(view, { target: view, signalName: "closeRequested" })
            mouseClick(findChild(view, "closeButton"))
            compare(closed.count, 1)
        }

        // Restoring a session: the sign-in way waits, the guest way does not.
        function test_welcomeWhileBusy() {
            backend.answer("auth/forgot-password", 200, "ok", 300)
            const welcome = createTemporaryObject(welcomeComponent, host)
            const forgot = createTemporaryObject(forgotComponent, host)
            findChild(forgot, "emailField").text = "a@b.c"
            mouseClick(findChild(forgot, "sendButton"))
            forgot.visible = false
            verify(!findChild(welcome, "signInButton").enabled)
            const guest = findChild(welcome, "guestButton")
            verify(guest.enabled)
            mouseClick(guest)
            verify(welcome.guestModeActive)
            tryCompare(backend.auth, "isLoading", false)
            verify(findChild(welcome, "signInButton").enabled)
            mouseClick(findChild(welcome, "signInButton"))
            verify(welcome.showLoginSheet)
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }
}
