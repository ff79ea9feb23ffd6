// What happens before the window: the start-up flag, the URL argument and the single instance.
#include "App/OpenedUrlInbox.h"
#include "App/SingleInstance.h"
#include "App/StartupArguments.h"
#include "Settings/Preferences.h"

#include <QLocalServer>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_IMPORT_QML_PLUGIN(Tessmark_ServicesPlugin)

class TestAppEntry : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void resetOnboardingFlag_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("removed");
        QTest::newRow("none") << QStringList{"tessmark"} << false;
        QTest::newRow("exact") << QStringList{"tessmark", "--estimate-reset-onboarding"} << true;
        QTest::newRow("after a URL") << QStringList{"tessmark", "tessmark://x", "--estimate-reset-onboarding"} << true;
        QTest::newRow("other case") << QStringList{"tessmark", "--Estimate-Reset-Onboarding"} << false;
        QTest::newRow("part of a longer argument") << QStringList{"tessmark", "--estimate-reset-onboarding=1"} << false;
        QTest::newRow("with a blank") << QStringList{"tessmark", " --estimate-reset-onboarding"} << false;
    }

    void resetOnboardingFlag()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, removed);
        Preferences preferences(m_dir.filePath(QStringLiteral("prefs.ini")));
        preferences.setValue("estimate.onboarding.main.completedVersion", 2);
        preferences.setValue("estimate.onboarding.demoProjectId", "local-1");
        preferences.setValue("estimate.onboarding.replayRequestNonce", 4);
        preferences.setValue("guest_mode_active", true);

        QSignalSpy changes(&preferences, &Preferences::valueChanged);
        StartupArguments::apply(arguments, preferences);

        QCOMPARE(!preferences.contains("estimate.onboarding.main.completedVersion"), removed);
        QCOMPARE(!preferences.contains("estimate.onboarding.demoProjectId"), removed);
        QVERIFY(preferences.contains("estimate.onboarding.replayRequestNonce"));
        QVERIFY(preferences.contains("guest_mode_active"));
        if (removed) {
            QCOMPARE(changes.size(), 2);
            QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("estimate.onboarding.main.completedVersion"));
            QCOMPARE(changes.at(1).at(0).toString(), QStringLiteral("estimate.onboarding.demoProjectId"));
        } else {
            QCOMPARE(changes.size(), 0);
        }
    }

    void openedUrl_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("url");
        QTest::newRow("none") << QStringList{"tessmark"} << QString();
        QTest::newRow("program name is not a URL") << QStringList{"tessmark://x"} << QString();
        QTest::newRow("link") << QStringList{"tessmark", "tessmark://verify-email?token=a%20b"}
                              << "tessmark://verify-email?token=a%20b";
        QTest::newRow("after the flag") << QStringList{"tessmark", "--estimate-reset-onboarding", "https://h/reset-password?token=t"}
                                        << "https://h/reset-password?token=t";
        QTest::newRow("plain word") << QStringList{"tessmark", "hello"} << QString();
    }

    void openedUrl()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, url);
        QCOMPARE(StartupArguments::openedUrl(arguments).value_or(QString()), url);
    }

    void secondStartHandsItsUrlToTheFirst()
    {
        const QString name = QStringLiteral("tessmark-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(name);
        QVERIFY(!first.forwardToRunning(QStringLiteral("nobody listens"), 200));
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        SingleInstance second(name);
        QVERIFY(second.forwardToRunning(QStringLiteral("tessmark://reset-password?token=%D1%8F")));
        QVERIFY(received.wait(2000) || received.size() == 1);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("tessmark://reset-password?token=%D1%8F"));

        // A start without a URL still reaches the window, as an empty message.
        QVERIFY(second.forwardToRunning(QString()));
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received.at(1).at(0).toString(), QString());
    }

    void socketOfADeadInstanceIsReplaced()
    {
        const QString name = QStringLiteral("tessmark-stale-%1").arg(QCoreApplication::applicationPid());
        {
            // A server whose socket file stays behind, as after a crash.
            QLocalServer stale;
            QVERIFY(stale.listen(name));
            stale.setSocketOptions(QLocalServer::UserAccessOption);
            const QString path = stale.fullServerName();
            stale.close();
            QFile file(path);
            if (!file.exists()) {
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.close();
            }
        }
        SingleInstance instance(name);
        QVERIFY(!instance.forwardToRunning(QStringLiteral("x"), 200));
        QVERIFY(instance.listen());
    }

    void qmlSeesTheSharedPreferences()
    {
        // A change written from a view must reach the C++ listeners of the one store.
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine);
        component.setData("import QtQml\nimport Tessmark.Services\nQtObject { property var store: Preferences }", QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QCOMPARE(object->property("store").value<QObject *>(), &Preferences::shared());
    }

    void storeThatCannotBeOpenedStopsTheProgram()
    {
        // The data location lies below a plain file, so the store's folder cannot be made.
        QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), blocker.fileName() + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(TESSMARK_APP_BINARY), {});
        QVERIFY(app.waitForFinished(30000));
        QVERIFY(app.exitStatus() == QProcess::CrashExit || app.exitCode() != 0);
        QVERIFY2(app.readAllStandardError().contains("SQLite store: "), "the stop names the store");
    }

    void secondProcessHandsOverAndExits()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("app-data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("app-config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(TESSMARK_APP_BINARY), {});
        QVERIFY(first.waitForStarted());
        QTest::qWait(1500); // until it listens

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(TESSMARK_APP_BINARY), {QStringLiteral("tessmark://verify-email?token=abc")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    void urlsWaitUntilTaken()
    {
        OpenedUrlInbox *inbox = OpenedUrlInbox::instance();
        inbox->takePending();
        inbox->post(QStringLiteral("a"));
        inbox->post(QStringLiteral("b"));
        QCOMPARE(inbox->takePending(), (QStringList{"a", "b"}));
        QVERIFY(inbox->takePending().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAppEntry)
#include "tst_AppEntry.moc"
