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

    QTemporaryDir m_dir;

    QProcessEnvironment appEnvironment(const QString &dataHome, const QString &configFolder) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(configFolder));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

private Q_SLOTS:
    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("resets"); // the onboarding flag is there
        QTest::addColumn<QString>("url"); // the opened URL, empty: none
        QTest::newRow("none") << QStringList{"tessmark"} << false << QString();
        QTest::newRow("program name is not a URL") << QStringList{"tessmark://x"} << false << QString();
        QTest::newRow("exact flag") << QStringList{"tessmark", "--estimate-reset-onboarding"} << true << QString();
        QTest::newRow("flag after a URL") << QStringList{"tessmark", "tessmark://x", "--estimate-reset-onboarding"}
                                          << true << "tessmark://x";
        QTest::newRow("URL after the flag")
            << QStringList{"tessmark", "--estimate-reset-onboarding", "https://h/reset-password?token=t"} << true
            << "https://h/reset-password?token=t";
        QTest::newRow("flag in other case") << QStringList{"tessmark", "--Estimate-Reset-Onboarding"} << false << QString();
        QTest::newRow("flag in a longer argument") << QStringList{"tessmark", "--estimate-reset-onboarding=1"} << false << QString();
        QTest::newRow("flag with a blank") << QStringList{"tessmark", " --estimate-reset-onboarding"} << false << QString();
        QTest::newRow("link") << QStringList{"tessmark", "tessmark://verify-email?token=a%20b"} << false
                              << "tessmark://verify-email?token=a%20b";
        QTest::newRow("plain word") << QStringList{"tessmark", "hello"} << false << QString();
    }

    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, resets);
        QFETCH(QString, url);
        QCOMPARE(StartupArguments::openedUrl(arguments).value_or(QString()), url);

        const QStringList tourKeys{"estimate.onboarding.main.completedVersion", "estimate.onboarding.demoProjectId"};
        const QStringList keptKeys{"estimate.onboarding.replayRequestNonce", "guest_mode_active"};
        Preferences preferences(m_dir.filePath(QStringLiteral("prefs.ini")));
        for (const QString &key : tourKeys + keptKeys)
            preferences.setValue(key, 1);
        QSignalSpy changes(&preferences, &Preferences::valueChanged);
        StartupArguments::apply(arguments, preferences);
        QStringList changed;
        for (const QList<QVariant> &change : changes)
            changed << change.at(0).toString();
        QCOMPARE(changed, resets ? tourKeys : QStringList());
        for (const QString &key : tourKeys)
            QCOMPARE(preferences.contains(key), !resets);
        for (const QString &key : keptKeys)
            QVERIFY(preferences.contains(key));
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
        app.setProcessEnvironment(appEnvironment(blocker.fileName() + QStringLiteral("/data"), QStringLiteral("config")));
        app.start(QStringLiteral(TESSMARK_APP_BINARY), {});
        QVERIFY(app.waitForFinished(30000));
        QVERIFY(app.exitStatus() == QProcess::CrashExit || app.exitCode() != 0);
        QVERIFY2(app.readAllStandardError().contains("SQLite store: "), "the stop names the store");
    }

    void secondProcessHandsOverAndExits()
    {
        const QProcessEnvironment env = appEnvironment(m_dir.filePath(QStringLiteral("app-data")), QStringLiteral("app-config"));
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
