import QtQuick
import QtTest
import Tessmark.Features.Auth

// The sign-in and registration screen against the test backend.
Item {
    id: host
    width: 480
    height: 720

    Component {
        id: loginComponent
        LoginView {
            anchors.fill: parent
            auth: backend.auth
        }
    }
    Component {
        id: verifyComponent
        VerifyEmailDeepLinkView {
            auth: backend.auth
        }
    }

    TestCase {
        name: "LoginView"
        when: windowShown
        visible: true

        function init() { backend.reset() }

        function createLogin() {
            const view = createTemporaryObject(loginComponent, host)
            verify(view)
            waitForRendering(view)
            return view
        }
        function field(view, name) { return findChild(view, name) }
        function fill(view, email, password) {
            field(view, "emailField").text = email
            field(view, "passwordField").text = password
        }
        function bannerText(view, name) { return findChild(findChild(view, name), "bannerText").text }

        function test_registrationNoticeThenSignIn() {
            const view = createLogin()
            mouseClick(field(view, "registerModeButton"))
            verify(view.form.isRegister)
            fill(view, "fresh@example.test", "secret-1")
            field(view, "firstNameField").text = "Анна"
            mouseClick(field(view, "submitButton"))
            tryCompare(view.form, "isRegister", false)
            verify(field(view, "noticeBanner").visible)
            compare(bannerText(view, "noticeBanner"), "Регистрация прошла успешно. Проверьте почту и подтвердите email.")
            compare(field(view, "emailField").text, "fresh@example.test")
            compare(field(view, "passwordField").text, "secret-1")
            compare(backend.lastBody("auth/register").firstName, "Анна")
            // The mailed link verifies the address; then signing in works and the notice goes.
            const link = createTemporaryObject(verifyComponent, host,
                                               { token: backend.verificationTokenFor("fresh@example.test") })
            tryCompare(link.model, "status", VerifyEmailModel.Success)
            link.visible = false
            mouseClick(field(view, "submitButton"))
            tryCompare(backend.auth, "hasUser", true)
            verify(!field(view, "noticeBanner").visible)
            verify(!field(view, "errorBanner").visible)
        }

        function test_rejections_data() {
            return [
                { tag: "wrong password", email: "anna@example.test", password: "wrong-1", text: "Неверный email или пароль" },
                { tag: "unverified", email: "new@example.test", password: "secret-1", text: "Подтвердите email, чтобы войти" },
            ]
        }
        function test_rejections(data) {
            const view = createLogin()
            fill(view, data.email, data.password)
            mouseClick(field(view, "submitButton"))
            tryCompare(field(view, "errorBanner"), "visible", true)
            compare(bannerText(view, "errorBanner"), data.text)
            // The backend's text is shown as it is, never as markup.
            compare(findChild(field(view, "errorBanner"), "bannerText").textFormat, Text.PlainText)
            // Typing clears it.
            field(view, "passwordField").text = data.password + "x"
            verify(!field(view, "errorBanner").visible)
        }

        function test_busyWithADelayedReply() {
            backend.answer("auth/login", 401, "Неверный email или пароль", 400)
            const view = createLogin()
            fill(view, "anna@example.test", "secret-1")
            const submit = field(view, "submitButton")
            mouseClick(submit)
            verify(backend.auth.isLoading)
            verify(submit.busy)
            for (const name of ["submitButton", "signInModeButton", "registerModeButton", "forgotPasswordButton",
                                "modeToggleButton"])
                verify(!field(view, name).enabled, name)
            tryCompare(backend.auth, "isLoading", false)
            verify(!submit.busy)
            verify(submit.enabled && field(view, "modeToggleButton").enabled)
        }

        // The field and the card both see a Return: one press, one request.
        function test_oneReturnOneRequest() {
            backend.answer("auth/login", 401, "Неверный email или пароль", 300)
            const view = createLogin()
            fill(view, "anna@example.test", "secret-1")
            field(view, "passwordField").input.forceActiveFocus()
            keyClick(Qt.Key_Return)
            verify(backend.auth.isLoading)
            keyClick(Qt.Key_Return) // while busy: nothing
            keyClick(Qt.Key_Enter)
            tryCompare(backend.auth, "isLoading", false)
            compare(backend.requestCount("auth/login"), 1)
        }

        function test_returnInEmailMovesOn() {
            const view = createLogin()
            field(view, "emailField").input.forceActiveFocus()
            keyClick("a")
            keyClick(Qt.Key_Return)
            verify(field(view, "passwordField").input.activeFocus)
            compare(view.form.passwordError, undefined)
            wait(50)
            compare(backend.requestCount("auth/login"), 0)
        }

        function test_recoverySheetFromTheLink() {
            const view = createLogin()
            mouseClick(field(view, "forgotPasswordButton"))
            tryCompare(view.forgotSheet, "opened", true)
            let screen = null
            tryVerify(() => (screen = findChild(view.forgotSheet, "sendButton")) !== null)
            verify(!screen.enabled)
            keyClick(Qt.Key_Escape)
            tryCompare(view.forgotSheet, "opened", false)
        }
    }
}
