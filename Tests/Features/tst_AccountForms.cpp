// The account screens' view models on the test backend: the sign-in form's checks and requests,
// recovery, reset and verification, and what a reply changes once its screen is gone.
#include "API/APIClient.h"
#include "Await.h"
#include "Auth/AuthService.h"
#include "Features/Auth/AccountScreenMetrics.h"
#include "Features/Auth/ForgotPasswordModel.h"
#include "Features/Auth/LoginFormModel.h"
#include "Features/Auth/ResetPasswordModel.h"
#include "Features/Auth/VerifyEmailModel.h"
#include "InMemoryTokenStore.h"
#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
const QString post = QStringLiteral("POST");
const QString loginPath = QStringLiteral("auth/login");
const QString registerPath = QStringLiteral("auth/register");
const QString forgotPath = QStringLiteral("auth/forgot-password");
const QString resetPath = QStringLiteral("auth/reset-password");
const QString verifyPath = QStringLiteral("auth/verify-email");
const QString email = QStringLiteral("anna@example.test");
const QString password = QStringLiteral("secret-1");
// "é" as e + combining acute: two code units, one character on screen.
const QString eAcuteNfd = QStringLiteral("e\u0301");
} // namespace

class TestAccountForms : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestBackend> m_backend;
    std::unique_ptr<APIClient> m_api;
    InMemoryTokenStore m_tokens;
    std::unique_ptr<AuthService> m_auth;

    qsizetype sent(const QString &path) const { return m_backend->requests(post, path).size(); }
    QJsonObject lastBody(const QString &path) const { return m_backend->requests(post, path).last().json().toObject(); }
    void waitIdle() { QTRY_VERIFY(!m_auth->isLoading()); }
    std::unique_ptr<LoginFormModel> form()
    {
        auto model = std::make_unique<LoginFormModel>();
        model->setAuth(m_auth.get());
        return model;
    }

private Q_SLOTS:
    void init()
    {
        m_backend = std::make_unique<TestBackend>();
        QVERIFY(m_backend->start() != 0);
        m_backend->data().addAccount(email, password, true);
        m_backend->data().addAccount(QStringLiteral("new@example.test"), password, false);
        m_api = std::make_unique<APIClient>(m_backend->baseUrl());
        m_api->setTokenProvider([this] { return m_tokens.token; });
        m_tokens = InMemoryTokenStore();
        m_auth = std::make_unique<AuthService>(*m_api, m_tokens);
    }
    void cleanup()
    {
        m_auth.reset();
        m_api.reset();
        m_backend.reset();
    }

    void emailCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("error"); // empty: passes
        QTest::newRow("empty") << ""
                               << ""
                               << "Укажите email";
        QTest::newRow("spaces only") << "   "
                                     << ""
                                     << "Укажите email";
        QTest::newRow("spaces and a line end around it") << " \ta@b.c\n "
                                                         << "a@b.c"
                                                         << "";
        QTest::newRow("@ without a dot") << "a@b"
                                         << "a@b"
                                         << "Некорректный email";
        QTest::newRow("a dot without @") << "a.b"
                                         << "a.b"
                                         << "Некорректный email";
        QTest::newRow("dot before @") << "a.b@c"
                                      << "a.b@c"
                                      << "";
    }
    void emailCheck()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QFETCH(QString, error);
        QCOMPARE(LoginFormModel::trimmedEmail(typed), sent);
        QCOMPARE(LoginFormModel::emailProblem(sent).value_or(QString()), error);
    }

    void passwordCheck_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << ""
                               << "Введите пароль";
        QTest::newRow("five characters") << "12345"
                                         << "Минимум 6 символов";
        QTest::newRow("six spaces") << "      "
                                    << "";
        QTest::newRow("six graphemes in eight code units (NFD)")
            << eAcuteNfd + eAcuteNfd + QStringLiteral("abcd") << "";
        QTest::newRow("five graphemes in six code units (NFD)")
            << eAcuteNfd + QStringLiteral("abcd") << "Минимум 6 символов";
        // A flag right after an emoji is still one character: five in all, not six.
        QTest::newRow("five graphemes: a flag after an emoji")
            << QStringLiteral("ab\U0001F600\U0001F1F7\U0001F1FAc") << "Минимум 6 символов";
    }
    void passwordCheck()
    {
        QFETCH(QString, password);
        QFETCH(QString, error);
        QCOMPARE(LoginFormModel::passwordProblem(password).value_or(QString()), error);
    }

    void names_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("sent"); // null: absent
        QTest::newRow("empty") << "" << QVariant();
        QTest::newRow("spaces and tabs") << " \t " << QVariant();
        QTest::newRow("padded: sent as typed") << " Анна " << QVariant(QStringLiteral(" Анна "));
        QTest::newRow("a line end is not blank") << "\n" << QVariant(QStringLiteral("\n"));
    }
    void names()
    {
        QFETCH(QString, typed);
        QFETCH(QVariant, sent);
        const std::optional<QString> name = LoginFormModel::nameToSend(typed);
        QCOMPARE(name ? QVariant(*name) : QVariant(), sent);
    }

    void resetChecks_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty, though they differ") << ""
                                                   << "x"
                                                   << "Минимум 6 символов";
        QTest::newRow("five, though they differ") << "12345"
                                                  << "x"
                                                  << "Минимум 6 символов";
        QTest::newRow("six, different") << "123456"
                                        << "123457"
                                        << "Пароли не совпадают";
        QTest::newRow("NFD and NFC of the same text")
            << eAcuteNfd + QStringLiteral("tude1") << QStringLiteral("\u00E9tude1") << "";
        QTest::newRow("six spaces, same") << "      "
                                          << "      "
                                          << "";
        QTest::newRow("not trimmed") << "123456"
                                     << "123456 "
                                     << "Пароли не совпадают";
    }
    void resetChecks()
    {
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(QString, error);
        QCOMPARE(ResetPasswordModel::problem(password, confirm).value_or(QString()), error);
    }

    void columnWidth_data()
    {
        QTest::addColumn<double>("window");
        QTest::addColumn<double>("column");
        QTest::newRow("wide: the upper bound") << 900.0 << 440.0;
        QTest::newRow("390") << 390.0 << 342.0;
        QTest::newRow("narrow: the lower bound") << 300.0 << 320.0;
    }
    void columnWidth()
    {
        QFETCH(double, window);
        QFETCH(double, column);
        QCOMPARE(AccountScreenMetrics::columnWidth(window), column);
    }

    // Both errors at once, and nothing sent.
    void invalidFormSendsNothing()
    {
        auto model = form();
        m_auth->showErrorMessage(QStringLiteral("старая ошибка"));
        QVERIFY(!model->submit());
        QCOMPARE(model->emailError(), std::optional<QString>(QStringLiteral("Укажите email")));
        QCOMPARE(model->passwordError(), std::optional<QString>(QStringLiteral("Введите пароль")));
        QVERIFY(!m_auth->hasErrorMessage());
        QTest::qWait(50);
        QCOMPARE(sent(loginPath), 0);
    }

    void signIn_data()
    {
        QTest::addColumn<QString>("typedEmail");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("error"); // empty: signed in
        QTest::newRow("padded address") << "  anna@example.test\n" << password << "";
        QTest::newRow("wrong password") << email << "wrong-1"
                                        << "Неверный email или пароль";
        QTest::newRow("unverified address") << "new@example.test" << password << "Подтвердите email, чтобы войти";
        QTest::newRow("six spaces are sent as they are") << email << "      "
                                                         << "Неверный email или пароль";
    }
    void signIn()
    {
        QFETCH(QString, typedEmail);
        QFETCH(QString, password);
        QFETCH(QString, error);
        auto model = form();
        model->setEmail(typedEmail);
        model->setPassword(password);
        QVERIFY(model->submit());
        waitIdle();
        QCOMPARE(lastBody(loginPath).value(QStringLiteral("email")).toString(), typedEmail.trimmed());
        QCOMPARE(lastBody(loginPath).value(QStringLiteral("password")).toString(), password);
        QCOMPARE(m_auth->hasUser(), error.isEmpty());
        QCOMPARE(m_auth->errorMessageText(), error);
        QCOMPARE(model->errorText(), error);
    }

    // Back to sign-in with the text kept; the notice stays until the next request.
    void registrationRoundTrip()
    {
        auto model = form();
        model->setRegister(true);
        model->setEmail(QStringLiteral("fresh@example.test"));
        model->setPassword(password);
        model->setFirstName(QStringLiteral(" \t"));
        model->setLastName(QStringLiteral(" Иванова"));
        QVERIFY(model->submit());
        waitIdle();
        const QJsonObject body = lastBody(registerPath);
        QVERIFY(!body.contains(QStringLiteral("firstName")));
        QCOMPARE(body.value(QStringLiteral("lastName")).toString(), QStringLiteral(" Иванова"));
        QVERIFY(!model->isRegister());
        QVERIFY(model->showsNotice());
        QCOMPARE(model->email(), QStringLiteral("fresh@example.test"));
        QCOMPARE(model->password(), password);
        // Switching modes keeps the notice.
        model->toggleMode();
        model->toggleMode();
        QVERIFY(model->showsNotice());
        QVERIFY(model->submit()); // unverified: 403, and the notice is gone
        waitIdle();
        QVERIFY(!model->showsNotice());
        QCOMPARE(m_auth->errorMessageText(), QStringLiteral("Подтвердите email, чтобы войти"));
    }

    void registrationFailures_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("error");
        QTest::newRow("taken") << email << "Пользователь с таким email уже зарегистрирован";
        QTest::newRow("backend's list") << "x@y."
                                        << "";
    }
    void registrationFailures()
    {
        QFETCH(QString, email);
        QFETCH(QString, error);
        if (error.isEmpty()) // the backend wants an @ in a part the device does not look at
            m_backend->setOverride(
                post, registerPath,
                BackendReply::json(
                    400,
                    QJsonObject{{QStringLiteral("message"), QJsonArray{QStringLiteral("a"), QStringLiteral("b")}}}));
        auto model = form();
        model->setRegister(true);
        model->setEmail(email);
        model->setPassword(password);
        QVERIFY(model->submit());
        waitIdle();
        QVERIFY(model->isRegister());
        QCOMPARE(model->email(), email);
        QCOMPARE(m_auth->errorMessageText(), error.isEmpty() ? QStringLiteral("a, b") : error);
    }

    // An empty message still means the account was made: sign-in mode, but no empty banner.
    void emptyNoticeSwitchesWithoutBanner()
    {
        m_backend->setOverride(post, registerPath, BackendReply::message(201, QString()));
        auto model = form();
        model->setRegister(true);
        model->setEmail(QStringLiteral("fresh@example.test"));
        model->setPassword(password);
        QVERIFY(model->submit());
        waitIdle();
        QVERIFY(m_auth->hasRegistrationNotice());
        QVERIFY(!model->isRegister());
        QVERIFY(!model->showsNotice());
    }

    // Typing clears the three errors once, then publishes nothing more.
    void typingClearsErrorsOnce()
    {
        auto model = form();
        model->setEmail(QStringLiteral("a"));
        QVERIFY(!model->submit());
        m_auth->showErrorMessage(QStringLiteral("ошибка"));
        QSignalSpy serviceError(m_auth.get(), &AuthService::errorMessageChanged);
        QSignalSpy emailError(model.get(), &LoginFormModel::emailErrorChanged);
        QSignalSpy passwordError(model.get(), &LoginFormModel::passwordErrorChanged);
        model->setFirstName(QStringLiteral("Анна")); // a name clears nothing
        QCOMPARE(serviceError.size() + emailError.size() + passwordError.size(), 0);
        model->setPassword(QStringLiteral("s"));
        model->setPassword(QStringLiteral("se"));
        model->setEmail(QStringLiteral("ab"));
        QCOMPARE(serviceError.size(), 1);
        QCOMPARE(emailError.size(), 1);
        QCOMPARE(passwordError.size(), 1);
        QVERIFY(!m_auth->hasErrorMessage() && !model->emailError() && !model->passwordError());
    }

    void switchingModesClearsErrorsOnly()
    {
        auto model = form();
        QVERIFY(!model->submit());
        m_auth->showErrorMessage(QStringLiteral("ошибка"));
        model->setRegister(false); // the current mode: nothing
        QVERIFY(model->emailError() && m_auth->hasErrorMessage());
        model->setRegister(true);
        QVERIFY(!model->emailError() && !model->passwordError() && !m_auth->hasErrorMessage());
    }

    // While a request runs, a second submit (a Return) sends nothing.
    void submitWhileBusySendsNothing()
    {
        m_backend->setOverride(post, registerPath, BackendReply::message(201, QStringLiteral("ok")).after(300));
        auto model = form();
        model->setRegister(true);
        model->setEmail(QStringLiteral("fresh@example.test"));
        model->setPassword(password);
        QVERIFY(model->submit());
        QVERIFY(m_auth->isLoading());
        QVERIFY(!model->submit());
        waitIdle();
        QCOMPARE(sent(registerPath), 1);
        QVERIFY(!m_auth->hasErrorMessage());
    }

    // A reply to a screen that has closed takes back its failure text: no other screen shows it.
    void goneScreenLeavesNoError_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("sign-in") << "sign-in";
        QTest::newRow("registration") << "registration";
        QTest::newRow("verification") << "verification";
        QTest::newRow("recovery") << "recovery";
        QTest::newRow("reset") << "reset";
    }
    void goneScreenLeavesNoError()
    {
        QFETCH(QString, screen);
        const BackendReply refused = BackendReply::message(400, QStringLiteral("нет")).after(200);
        for (const QString &path : {loginPath, registerPath, verifyPath, forgotPath, resetPath})
            m_backend->setOverride(post, path, refused);
        std::unique_ptr<QObject> owner;
        if (screen == QLatin1String("sign-in") || screen == QLatin1String("registration")) {
            auto model = form();
            model->setRegister(screen == QLatin1String("registration"));
            model->setEmail(email);
            model->setPassword(password);
            QVERIFY(model->submit());
            owner = std::move(model);
        } else if (screen == QLatin1String("verification")) {
            auto model = std::make_unique<VerifyEmailModel>();
            model->setAuth(m_auth.get());
            model->setToken(QStringLiteral("t"));
            model->start();
            owner = std::move(model);
        } else if (screen == QLatin1String("recovery")) {
            auto model = std::make_unique<ForgotPasswordModel>();
            model->setAuth(m_auth.get());
            model->setEmail(email);
            model->send();
            owner = std::move(model);
        } else {
            auto model = std::make_unique<ResetPasswordModel>();
            model->setAuth(m_auth.get());
            model->setPassword(password);
            model->setConfirm(password);
            model->save();
            owner = std::move(model);
        }
        QVERIFY(m_auth->isLoading());
        owner.reset();
        waitIdle();
        QTest::qWait(20);
        QVERIFY2(!m_auth->hasErrorMessage(), qPrintable(m_auth->errorMessageText()));
    }

    void recovery()
    {
        ForgotPasswordModel model;
        model.setAuth(m_auth.get());
        model.setEmail(QStringLiteral(" \n "));
        QVERIFY(!model.canSend());
        model.setEmail(QStringLiteral("  ") + email + QStringLiteral("\n"));
        QVERIFY(model.canSend());
        model.send();
        QVERIFY(!model.canSend()); // busy
        waitIdle();
        QCOMPARE(lastBody(forgotPath).value(QStringLiteral("email")).toString(), email);
        QVERIFY(model.hasSuccess());
        QVERIFY(!m_backend->data().resetTokenFor(email).isEmpty());
        // The form is not checked here; a failed send hides the earlier success.
        m_backend->setOverride(post, forgotPath, BackendReply::message(500, QStringLiteral("сбой")));
        model.setEmail(QStringLiteral("no-at-sign"));
        model.send();
        waitIdle();
        QCOMPARE(lastBody(forgotPath).value(QStringLiteral("email")).toString(), QStringLiteral("no-at-sign"));
        QVERIFY(!model.hasSuccess());
        QCOMPARE(m_auth->errorMessageText(), QStringLiteral("сбой"));
    }

    void reset()
    {
        await(m_auth->forgotPassword(email));
        const QString token = m_backend->data().resetTokenFor(email);
        QVERIFY(!token.isEmpty());
        ResetPasswordModel model;
        model.setAuth(m_auth.get());
        model.setToken(token);
        model.setPassword(QStringLiteral("12345"));
        model.setConfirm(QStringLiteral("x"));
        model.save();
        QCOMPARE(model.errorText(), QStringLiteral("Минимум 6 символов"));
        // The check's text is the screen's, and goes once the check passes; the next check's
        // text waits for the next save.
        QVERIFY(!m_auth->hasErrorMessage());
        model.setPassword(QStringLiteral("     "));
        QCOMPARE(model.errorText(), QStringLiteral("Минимум 6 символов"));
        model.setPassword(QStringLiteral("      "));
        QVERIFY(!model.hasError());
        model.save();
        QCOMPARE(model.errorText(), QStringLiteral("Пароли не совпадают"));
        QCOMPARE(sent(resetPath), 0);
        model.setConfirm(QStringLiteral("     "));
        QCOMPARE(model.errorText(), QStringLiteral("Пароли не совпадают"));
        model.setConfirm(QStringLiteral("      "));
        QVERIFY(!model.hasError());
        model.save();
        waitIdle();
        QCOMPARE(lastBody(resetPath).value(QStringLiteral("token")).toString(), token);
        QCOMPARE(lastBody(resetPath).value(QStringLiteral("password")).toString(), QStringLiteral("      "));
        QVERIFY(model.hasSuccess());
        QVERIFY(!model.canSave());
        model.setPassword(QStringLiteral("another-1"));
        QVERIFY(!model.canSave());
        QVERIFY(!m_auth->hasUser()); // never signs in
    }

    void resetWithBadToken()
    {
        ResetPasswordModel model;
        model.setAuth(m_auth.get());
        model.setToken(QStringLiteral("a+b&c"));
        model.setPassword(password);
        model.setConfirm(password);
        model.save();
        waitIdle();
        QCOMPARE(lastBody(resetPath).value(QStringLiteral("token")).toString(), QStringLiteral("a+b&c"));
        QVERIFY(!model.hasSuccess());
        QVERIFY(model.canSave());
        QCOMPARE(m_auth->errorMessageText(), QStringLiteral("Ссылка сброса пароля недействительна или устарела"));
        // The backend's refusal stays while the entries are edited: only a save answers it.
        QCOMPARE(model.errorText(), m_auth->errorMessageText());
        model.setConfirm(password + QStringLiteral("x"));
        model.setConfirm(password);
        QCOMPARE(model.errorText(), m_auth->errorMessageText());
    }

    // The refusal that asked to confirm the address goes once a link confirmed it (the service
    // clears its text); another screen's check stays.
    void serviceClearingClearsItsText()
    {
        auto login = form();
        login->setEmail(QStringLiteral("new@example.test"));
        login->setPassword(password);
        QVERIFY(login->submit());
        waitIdle();
        QCOMPARE(login->errorText(), QStringLiteral("Подтвердите email, чтобы войти"));
        ResetPasswordModel reset;
        reset.setAuth(m_auth.get());
        reset.save(); // "Минимум 6 символов"
        VerifyEmailModel verify;
        verify.setAuth(m_auth.get());
        verify.setToken(m_backend->data().issueVerificationToken(
            m_backend->data().accountByEmail(QStringLiteral("new@example.test"))->id));
        verify.start();
        QTRY_COMPARE(verify.status(), VerifyEmailModel::Success);
        QVERIFY(!login->hasError() && reset.hasError());
    }

    void verification_data()
    {
        QTest::addColumn<QString>("token"); // "real": the one the registration mailed
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("success: the backend's message")
            << "real" << int(VerifyEmailModel::Success) << "Email подтверждён. Теперь можно войти.";
        QTest::newRow("refused token: the backend's message")
            << "bogus" << int(VerifyEmailModel::Error) << "Ссылка подтверждения недействительна или устарела";
        QTest::newRow("empty error text is shown empty") << "empty" << int(VerifyEmailModel::Error) << "";
        QTest::newRow("no error text: the fallback")
            << "cleared" << int(VerifyEmailModel::Error) << "Не удалось подтвердить email";
    }
    void verification()
    {
        QFETCH(QString, token);
        QFETCH(int, status);
        QFETCH(QString, message);
        if (token == QLatin1String("real")) {
            await(m_auth->registerAccount(QStringLiteral("fresh@example.test"), password, {}, {}));
            token = m_backend->data().verificationTokenFor(QStringLiteral("fresh@example.test"));
        } else if (token == QLatin1String("empty")) {
            m_backend->setOverride(post, verifyPath, BackendReply::message(400, QString()));
        } else if (token == QLatin1String("cleared")) {
            // Something else (a sign-out) clears the text before the screen reads it.
            connect(m_auth.get(), &AuthService::errorMessageChanged, m_auth.get(), [this] {
                if (m_auth->hasErrorMessage())
                    m_auth->clearErrorMessage();
            });
        }
        VerifyEmailModel model;
        model.setAuth(m_auth.get());
        model.setToken(token);
        QSignalSpy outcome(&model, &VerifyEmailModel::outcomeChanged);
        model.start();
        model.start(); // once per showing
        QCOMPARE(model.status(), VerifyEmailModel::Loading);
        QTRY_COMPARE(outcome.size(), 1);
        QCOMPARE(int(model.status()), status);
        QCOMPARE(model.message(), message);
        QCOMPARE(sent(verifyPath), 1);
        QVERIFY(!m_auth->hasUser());
    }
};

QTEST_MAIN(TestAccountForms)
#include "tst_AccountForms.moc"
