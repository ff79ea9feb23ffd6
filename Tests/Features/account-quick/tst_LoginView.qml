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

    // The event loop's longest pause while it runs: a window that lays out a huge text stops here.
    Timer {
        id: probe
        interval: 10
        repeat: true
        property real last: 0
        property real worst: 0
        function restart() { last = Date.now(); worst = 0; start() }
        onTriggered: {
            const now = Date.now()
            worst = Math.max(worst, now - last)
            last = now
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

        // Whatever the server says, the screen lays out a few hundred characters and stays responsive.
        function test_hugeServerTexts_data() {
            const words = size => "слово ".repeat(size / 6)
            return [
                { tag: "1 MB refusal", path: "auth/login", status: 401, message: words(1 << 20),
                  banner: "errorBanner", register: false },
                { tag: "1 MB server error", path: "auth/login", status: 500, message: words(1 << 20),
                  banner: "errorBanner", register: false },
                { tag: "40 KB server error", path: "auth/login", status: 500, message: words(40000),
                  banner: "errorBanner", register: false },
                { tag: "1 MB registration refusal", path: "auth/register", status: 409, message: words(1 << 20),
                  banner: "errorBanner", register: true },
                { tag: "1 MB registration notice", path: "auth/register", status: 201, message: words(1 << 20),
                  banner: "noticeBanner", register: true },
            ]
        }
        function test_hugeServerTexts(data) {
            backend.answer(data.path, data.status, data.message, 0)
            const view = createLogin()
            if (data.register)
                mouseClick(field(view, "registerModeButton"))
            fill(view, "anna@example.test", "secret-1")
            probe.restart()
            mouseClick(field(view, "submitButton"))
            tryCompare(field(view, data.banner), "visible", true)
            waitForRendering(view)
            wait(100)
            probe.stop()
            const shown = bannerText(view, data.banner)
            verify(shown.length > 0 && shown.length <= 1201, shown.length)
            verify(shown.split("\n").length <= 3)
            verify(probe.worst < 2000, "the window stood still for " + probe.worst + " ms")
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
            backend.answer("auth/login", 401, "Неверный email или пароль", 0)
            backend.hold("auth/login")
            const view = createLogin()
            fill(view, "anna@example.test", "secret-1")
            field(view, "passwordField").input.forceActiveFocus()
            keyClick(Qt.Key_Return)
            verify(backend.auth.isLoading)
            keyClick(Qt.Key_Return) // while busy: nothing
            keyClick(Qt.Key_Enter)
            backend.release()
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
