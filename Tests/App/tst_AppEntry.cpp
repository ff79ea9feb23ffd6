// What happens before the window: the start-up flag, the URL argument, the single instance, the
// modes of the user's files and the stops that the start can come to.
#include "App/OpenedUrlInbox.h"
#include "App/SingleInstance.h"
#include "App/StartupArguments.h"
#include "FocusWatch.h"
#include "Config/AppConfig.h"
#include "Data/ModelContainer.h"
#include "Settings/Preferences.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <future>

#include <sys/stat.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(Tessmark_ServicesPlugin)

namespace {

int modeOf(const QString &path)
{
    struct stat info
    {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sets an environment variable for the life of a scope and puts back what was there.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QString &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

using Forwarding = SingleInstance::Forwarding;

// A second start's hand-over, from another thread: this one serves the running instance meanwhile.
Forwarding forwardFromAnotherThread(const QString &name, const QString &message, int timeoutMs = 5000)
{
    auto outcome = std::async(std::launch::async, [name, message, timeoutMs] {
        return SingleInstance(name).forwardToRunning(message, timeoutMs);
    });
    while (outcome.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QTest::qWait(5);
    return outcome.get();
}

// What a second start writes: the length, then the bytes.
QByteArray frame(qint64 length, const QByteArray &bytes)
{
    QByteArray header(4, Qt::Uninitialized);
    qToBigEndian(quint32(length), header.data());
    return header + bytes;
}

} // namespace

class TestAppEntry : public QObject
{
    Q_OBJECT

    FocusWatch m_focusWatch;
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
        QTest::newRow("flag after a URL")
            << QStringList{"tessmark", "tessmark://x", "--estimate-reset-onboarding"} << true << "tessmark://x";
        QTest::newRow("URL after the flag")
            << QStringList{"tessmark", "--estimate-reset-onboarding", "https://h/reset-password?token=t"} << true
            << "https://h/reset-password?token=t";
        QTest::newRow("flag in other case")
            << QStringList{"tessmark", "--Estimate-Reset-Onboarding"} << false << QString();
        QTest::newRow("flag in a longer argument")
            << QStringList{"tessmark", "--estimate-reset-onboarding=1"} << false << QString();
        QTest::newRow("flag with a blank")
            << QStringList{"tessmark", " --estimate-reset-onboarding"} << false << QString();
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
        QCOMPARE(first.forwardToRunning(QStringLiteral("nobody listens"), 200), Forwarding::NoInstance);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        QCOMPARE(forwardFromAnotherThread(name, QStringLiteral("tessmark://reset-password?token=%D1%8F")),
                 Forwarding::Taken);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("tessmark://reset-password?token=%D1%8F"));

        // A start without a URL still reaches the window, as an empty message.
        QCOMPARE(forwardFromAnotherThread(name, QString()), Forwarding::Taken);
        QCOMPARE(received.size(), 2);
        QCOMPARE(received.at(1).at(0).toString(), QString());
    }

    // A link arrives whole and once, or the second start learns that it did not.
    void linksArriveWhole_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<Forwarding>("outcome");
        const QString verify = QStringLiteral("tessmark://verify-email?token=");
        QTest::newRow("line feeds") << verify + QStringLiteral("a\nb\r\n\nc\n") << Forwarding::Taken;
        QTest::newRow("longest link") << QString(SingleInstance::maxMessageBytes, QLatin1Char('a'))
                                      << Forwarding::Taken;
        QTest::newRow("one byte more") << QString(SingleInstance::maxMessageBytes + 1, QLatin1Char('a'))
                                       << Forwarding::TooLong;
        QTest::newRow("70 KB link") << verify + QString(70 * 1000, QLatin1Char('a')) << Forwarding::TooLong;
        // Two bytes a letter: the limit counts bytes.
        QTest::newRow("Cyrillic over the limit in bytes")
            << QString(SingleInstance::maxMessageBytes / 2 + 1, QChar(0x044F)) << Forwarding::TooLong;
    }
    void linksArriveWhole()
    {
        QFETCH(QString, link);
        QFETCH(Forwarding, outcome);
        const QString name = QStringLiteral("tessmark-whole-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(name);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        QCOMPARE(forwardFromAnotherThread(name, link), outcome);
        if (outcome == Forwarding::Taken) {
            QCOMPARE(received.size(), 1);
            QCOMPARE(received.at(0).at(0).toString(), link);
        }
        QCOMPARE(forwardFromAnotherThread(name, QStringLiteral("tessmark://next")), Forwarding::Taken);
        QTRY_VERIFY(!received.isEmpty() && received.last().at(0).toString() == QStringLiteral("tessmark://next"));
        QCOMPARE(received.size(), outcome == Forwarding::Taken ? 2 : 1);
    }

    // One that listens but never confirms is not taken for a running window that got the link.
    void silentInstanceIsNoHandOver()
    {
        QLocalServer silent;
        QVERIFY(silent.listen(QStringLiteral("tessmark-silent-%1").arg(QCoreApplication::applicationPid())));
        QList<QLocalSocket *> accepted;
        connect(&silent, &QLocalServer::newConnection, &silent, [&] {
            while (QLocalSocket *socket = silent.nextPendingConnection())
                accepted.append(socket);
        });
        QCOMPARE(forwardFromAnotherThread(silent.fullServerName(), QStringLiteral("tessmark://x"), 300),
                 Forwarding::NoAnswer);
        QCOMPARE(accepted.size(), 1);
    }

    // The socket lies where no other user can bind it first: the user's runtime folder, or a
    // folder of ours that only we can enter.
    void socketFolder_data()
    {
        QTest::addColumn<QString>("runtime"); // XDG_RUNTIME_DIR: "" unset, else "private" or "open"
        QTest::addColumn<int>("ownFolderBefore"); // mode of our folder before, 0: none yet
        QTest::addColumn<bool>("inRuntime"); // else in our own folder
        QTest::newRow("runtime folder") << "private" << 0 << true;
        QTest::newRow("no runtime folder") << "" << 0 << false;
        QTest::newRow("own folder left open") << "" << 0755 << false;
        QTest::newRow("runtime folder open to others") << "open" << 0 << false;
    }
    void socketFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(int, ownFolderBefore);
        QFETCH(bool, inRuntime);
        const QTemporaryDir scratch;
        const QString runtimeFolder = scratch.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkdir(runtimeFolder));
        QVERIFY(chmod(QFile::encodeName(runtimeFolder).constData(), runtime == QStringLiteral("open") ? 0755 : 0700)
                == 0);
        const QString temp = scratch.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkdir(temp));
        const QString ownFolder = temp + QStringLiteral("/tessmark-%1").arg(getuid());
        if (ownFolderBefore != 0) {
            QVERIFY(QDir().mkdir(ownFolder));
            QVERIFY(chmod(QFile::encodeName(ownFolder).constData(), mode_t(ownFolderBefore)) == 0);
        }
        const ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", runtime.isEmpty() ? QString() : runtimeFolder);
        const ScopedEnv tempEnv("TMPDIR", temp);

        const QString folder = SingleInstance::socketFolder();
        QCOMPARE(folder, inRuntime ? runtimeFolder : ownFolder);
        QCOMPARE(modeOf(folder), 0700);
        const QString name = SingleInstance::defaultServerName();
        QCOMPARE(QFileInfo(name).absolutePath(), folder);

        SingleInstance first(name);
        QVERIFY(first.listen());
        const QString socketFile = folder + QLatin1Char('/') + QFileInfo(name).fileName();
        QVERIFY(QFileInfo(socketFile).exists());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QCOMPARE(forwardFromAnotherThread(name, QStringLiteral("tessmark://x")), Forwarding::Taken);
        QCOMPARE(received.size(), 1);
    }

    // A folder of that name that another user made first is not taken: then there is no socket
    // at all rather than one that user can reach.
    void ownFolderOfAnotherUserIsRefused()
    {
        if (getuid() != 0)
            QSKIP("making a folder of another user needs root");
        const QTemporaryDir scratch;
        const QString ownFolder = scratch.filePath(QStringLiteral("tessmark-%1").arg(getuid()));
        QVERIFY(QDir().mkdir(ownFolder));
        QVERIFY(chown(QFile::encodeName(ownFolder).constData(), 4242, 4242) == 0);
        const ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", QString());
        const ScopedEnv tempEnv("TMPDIR", scratch.path());
        QCOMPARE(SingleInstance::socketFolder(), QString());
        QCOMPARE(SingleInstance::defaultServerName(), QString());
        SingleInstance instance(SingleInstance::defaultServerName());
        QCOMPARE(instance.forwardToRunning(QStringLiteral("tessmark://reset-password?token=t"), 200),
                 Forwarding::NoInstance);
        QVERIFY(!instance.listen());
    }

    void peerCheck_data()
    {
        QTest::addColumn<int>("peer"); // -1: could not be read
        QTest::addColumn<int>("own");
        QTest::addColumn<bool>("talks");
        QTest::newRow("same user") << 1000 << 1000 << true;
        QTest::newRow("another user") << 1001 << 1000 << false;
        QTest::newRow("root peer of a user") << 0 << 1000 << false;
        QTest::newRow("user peer of root") << 1000 << 0 << false;
        QTest::newRow("root and root") << 0 << 0 << true;
        QTest::newRow("peer unknown") << -1 << 1000 << false;
    }
    void peerCheck()
    {
        QFETCH(int, peer);
        QFETCH(int, own);
        QFETCH(bool, talks);
        const std::optional<uint> peerUid = peer < 0 ? std::nullopt : std::optional<uint>(uint(peer));
        QCOMPARE(SingleInstance::isOwnPeer(peerUid, uint(own)), talks);
    }

    // Both ends of a real connection read the other's user, which is this one.
    void peerOfAConnectionIsThisUser()
    {
        QLocalServer server;
        QVERIFY(server.listen(QStringLiteral("tessmark-peer-%1").arg(QCoreApplication::applicationPid())));
        QLocalSocket client;
        client.connectToServer(server.fullServerName());
        QVERIFY(client.waitForConnected(2000));
        QVERIFY(server.waitForNewConnection(2000));
        QLocalSocket *accepted = server.nextPendingConnection();
        QVERIFY(accepted);
        QCOMPARE(SingleInstance::peerUid(client.socketDescriptor()), std::optional<uint>(getuid()));
        QCOMPARE(SingleInstance::peerUid(accepted->socketDescriptor()), std::optional<uint>(getuid()));
        QCOMPARE(SingleInstance::peerUid(-1), std::nullopt);
    }

    // A URL is short; a connection that announces a longer message is answered no before it grows
    // the app.
    void longMessages_data()
    {
        QTest::addColumn<qint64>("length"); // announced
        QTest::addColumn<bool>("received");
        QTest::newRow("longest message") << SingleInstance::maxMessageBytes << true;
        QTest::newRow("one byte more") << SingleInstance::maxMessageBytes + 1 << false;
        QTest::newRow("megabytes") << qint64(16 * 1024 * 1024) << false;
    }
    void longMessages()
    {
        QFETCH(qint64, length);
        QFETCH(bool, received);
        const QString name = QStringLiteral("tessmark-long-%1").arg(QCoreApplication::applicationPid());
        SingleInstance instance(name);
        QVERIFY(instance.listen());
        QSignalSpy messages(&instance, &SingleInstance::messageReceived);

        QLocalSocket client;
        QSignalSpy disconnected(&client, &QLocalSocket::disconnected);
        QByteArray answer;
        connect(&client, &QLocalSocket::readyRead, this, [&] { answer += client.readAll(); });
        client.connectToServer(name);
        QVERIFY(client.waitForConnected(2000));
        // A refused sender need not get far: the header alone decides.
        client.write(frame(length, QByteArray(received ? length : 1024, 'a')));
        // Either way the instance answers and hangs up.
        QTRY_VERIFY_WITH_TIMEOUT(!disconnected.isEmpty(), 20000);
        answer += client.readAll();
        QCOMPARE(answer, QByteArray(1, received ? SingleInstance::takenAnswer : SingleInstance::tooLongAnswer));
        QCOMPARE(messages.size(), received ? 1 : 0);
        if (received)
            QCOMPARE(messages.at(0).at(0).toString().size(), length);

        // The instance still takes the next start's URL.
        QCOMPARE(forwardFromAnotherThread(name, QStringLiteral("tessmark://next")), Forwarding::Taken);
        QCOMPARE(messages.last().at(0).toString(), QStringLiteral("tessmark://next"));
        QCOMPARE(messages.size(), received ? 2 : 1);
    }

    // Connections that stop before their message ends are closed a few seconds later, all of them.
    void stalledConnectionsAreClosed()
    {
        const QString name = QStringLiteral("tessmark-stalled-%1").arg(QCoreApplication::applicationPid());
        SingleInstance instance(name);
        QVERIFY(instance.listen());
        QSignalSpy messages(&instance, &SingleInstance::messageReceived);

        const QList<QByteArray> starts{QByteArray(), QByteArray(2, '\0'), frame(40, "tessmark://verify-email?")};
        std::vector<std::unique_ptr<QLocalSocket>> clients;
        for (int i = 0; i < 30; ++i) {
            auto client = std::make_unique<QLocalSocket>();
            client->connectToServer(name);
            QVERIFY(client->waitForConnected(2000));
            client->write(starts.at(i % starts.size()));
            QVERIFY(client->waitForBytesWritten(2000) || starts.at(i % starts.size()).isEmpty());
            clients.push_back(std::move(client));
        }
        const auto openCount = [&clients] {
            return std::count_if(clients.begin(), clients.end(), [](const std::unique_ptr<QLocalSocket> &client) {
                return client->state() != QLocalSocket::UnconnectedState;
            });
        };
        QTRY_COMPARE_WITH_TIMEOUT(openCount(), 0, 4 * SingleInstance::messageTimeoutMs);
        QVERIFY(messages.isEmpty());
        for (const std::unique_ptr<QLocalSocket> &client : clients)
            QVERIFY(client->readAll().isEmpty());

        QCOMPARE(forwardFromAnotherThread(name, QStringLiteral("tessmark://next")), Forwarding::Taken);
        QCOMPARE(messages.size(), 1);
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
        QCOMPARE(instance.forwardToRunning(QStringLiteral("x"), 200), Forwarding::NoInstance);
        QVERIFY(instance.listen());
    }

    // Every save replaces the settings file; the new one keeps the user-only mode.
    void settingsFileStaysPrivate()
    {
        const QString folder = m_dir.filePath(QStringLiteral("loose-settings"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        const QString path = folder + QStringLiteral("/prefs.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nguest_mode_active=true\n");
        file.close();
        QVERIFY(chmod(QFile::encodeName(path).constData(), 0644) == 0);

        Preferences preferences(path);
        QCOMPARE(modeOf(folder), 0700);
        QCOMPARE(modeOf(path), 0600);
        preferences.setValue(QStringLiteral("app.colorSchemePreference"), QStringLiteral("dark"));
        preferences.remove(QStringLiteral("guest_mode_active"));
        QCOMPARE(modeOf(path), 0600);
        QVERIFY(contentOf(path).contains("dark"));
        QVERIFY(!contentOf(path).contains("guest_mode_active"));
    }

    void qmlSeesTheSharedPreferences()
    {
        // A change written from a view must reach the C++ listeners of the one store.
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine);
        component.setData("import QtQml\nimport Tessmark.Services\nQtObject { property var store: Preferences }",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QCOMPARE(object->property("store").value<QObject *>(), &Preferences::shared());
    }

    // A start that cannot go on shows why in a window (closed by the test seam) and leaves with a
    // failure status instead of aborting.
    void stopsShowTheirReason_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("store folder cannot be made") << QStringLiteral("blocked");
        QTest::newRow("store of another program") << QStringLiteral("foreign");
        QTest::newRow("store folder that may not be written") << QStringLiteral("closed");
        QTest::newRow("no base URL") << QStringLiteral("baseUrl");
    }
    void stopsShowTheirReason()
    {
        QFETCH(QString, kind);
        const QString root = m_dir.filePath(QStringLiteral("stop-") + kind);
        QVERIFY(QDir().mkpath(root));
        QString dataHome = root + QStringLiteral("/data");
        QProcessEnvironment env = appEnvironment(dataHome, QStringLiteral("stop-%1/config").arg(kind));
        env.insert(QStringLiteral("TESSMARK_TEST_CLOSE_STOP_WINDOW"), QStringLiteral("1"));
        QString storeFile = dataHome + QStringLiteral("/Tessmark/Tessmark/LocalProjects.sqlite");
        QByteArray foreignBytes;
        QString expected;
        if (kind == QStringLiteral("blocked")) {
            // The data location lies below a plain file.
            QFile blocker(root + QStringLiteral("/blocker"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.close();
            dataHome = blocker.fileName() + QStringLiteral("/data");
            storeFile = dataHome + QStringLiteral("/Tessmark/Tessmark/LocalProjects.sqlite");
            env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
            expected =
                QStringLiteral("Не удаётся открыть хранилище проектов на устройстве.\nПапку хранилища проектов «")
                + QFileInfo(storeFile).absolutePath() + QStringLiteral("» нельзя создать: «") + blocker.fileName()
                + QStringLiteral("» — это файл, а не папка.");
        } else if (kind == QStringLiteral("foreign")) {
            QVERIFY(QDir().mkpath(QFileInfo(storeFile).absolutePath()));
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
                db.setDatabaseName(storeFile);
                QVERIFY(db.open());
                QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE notes (text TEXT)")));
                QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO notes VALUES ('клиент')")));
            }
            QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
            foreignBytes = contentOf(storeFile);
            QVERIFY(!foreignBytes.isEmpty());
            expected = QStringLiteral("Не удаётся открыть хранилище проектов на устройстве.\nВ файле «") + storeFile
                + QStringLiteral("» хранятся данные другой программы (таблица «notes»).");
        } else if (kind == QStringLiteral("closed")) {
            // The folder exists: given to another user where this test may (as root, whose app
            // would write anyway), else closed to writing.
            const QString folder = QFileInfo(storeFile).absolutePath();
            QVERIFY(QDir().mkpath(folder));
            const bool given = ::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0;
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
            expected =
                QStringLiteral("Не удаётся открыть хранилище проектов на устройстве.\nПапка хранилища проектов «")
                + folder
                + (given ? QStringLiteral("» принадлежит другому пользователю.")
                         : QStringLiteral("» доступна только для чтения: проекты в ней не сохранить."));
        } else {
            const QString info = root + QStringLiteral("/Info.json");
            QFile file(info);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(R"json({"API_BASE_URL":"$(API_BASE_URL)","version":"1","build":"1"})json");
            file.close();
            env.insert(QStringLiteral("TESSMARK_TEST_INFO_JSON"), info);
            expected = AppConfig::missingBaseUrlMessage();
        }

        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(TESSMARK_APP_BINARY), {});
        QVERIFY(app.waitForFinished(30000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 1);
        const QString shown = QString::fromUtf8(app.readAllStandardOutput());
        const QString logged = QString::fromUtf8(app.readAllStandardError());
        QVERIFY2(shown.startsWith(QStringLiteral("stop window: ") + expected), qPrintable(shown));
        QVERIFY2(logged.contains(expected), qPrintable(logged));
        if (kind != QStringLiteral("baseUrl")) {
            // The file's path is named, so the user knows which file to look at.
            QVERIFY2(shown.contains(storeFile), qPrintable(shown));
        }
        if (kind == QStringLiteral("foreign")) {
            QCOMPARE(contentOf(storeFile), foreignBytes);
            QVERIFY(!QFile::exists(storeFile + QStringLiteral("-wal")));
        }
    }

    // What the user typed is readable by the user alone, also in files of an earlier version.
    void filesAreTheUsersOnly_data()
    {
        QTest::addColumn<bool>("looseFromBefore");
        QTest::newRow("first start") << false;
        QTest::newRow("files of an earlier start open to all") << true;
    }
    void filesAreTheUsersOnly()
    {
        QFETCH(bool, looseFromBefore);
        const QString root = m_dir.filePath(looseFromBefore ? QStringLiteral("loose") : QStringLiteral("fresh"));
        const QString dataFolder = root + QStringLiteral("/data/Tessmark/Tessmark");
        const QString configFolder = root + QStringLiteral("/config/Tessmark");
        const QString store = dataFolder + QStringLiteral("/LocalProjects.sqlite");
        const QString settings = configFolder + QStringLiteral("/Tessmark.conf");
        const QStringList files{store, store + QStringLiteral("-wal"), store + QStringLiteral("-shm"), settings};
        if (looseFromBefore) {
            QVERIFY(QDir().mkpath(dataFolder));
            QVERIFY(QDir().mkpath(configFolder));
            // A store of ours, and journals as a crash of an earlier version left them.
            ModelContainer::open(store)->upsert(QStringLiteral("local-1"), "{}");
            for (const QString &journal : {store + QStringLiteral("-wal"), store + QStringLiteral("-shm")}) {
                QFile file(journal);
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
            QFile conf(settings);
            QVERIFY(conf.open(QIODevice::WriteOnly));
            conf.write("[General]\nguest_mode_active=true\n");
            conf.close();
            for (const QString &file : files)
                QVERIFY(chmod(QFile::encodeName(file).constData(), 0644) == 0);
            for (const QString &folder : {dataFolder, configFolder})
                QVERIFY(chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        }

        QProcess app;
        app.setProcessEnvironment(
            appEnvironment(root + QStringLiteral("/data"), QFileInfo(root).fileName() + QStringLiteral("/config")));
        app.start(QStringLiteral(TESSMARK_APP_BINARY), {});
        QVERIFY(app.waitForStarted());
        // Each path with its mode, -1 while it is missing.
        const auto modes = [&] {
            QStringList out;
            for (const QString &path : files + QStringList{dataFolder, configFolder})
                out.append(QStringLiteral("%1 %2").arg(path.mid(root.size())).arg(modeOf(path), 0, 8));
            return out;
        };
        QStringList expected;
        for (const QString &path : files)
            expected.append(path.mid(root.size()) + QStringLiteral(" 600"));
        for (const QString &path : {dataFolder, configFolder})
            expected.append(path.mid(root.size()) + QStringLiteral(" 700"));
        QTRY_COMPARE_WITH_TIMEOUT(modes(), expected, 20000);
        QCOMPARE(app.state(), QProcess::Running);
        app.kill();
        app.waitForFinished();
        if (looseFromBefore)
            QCOMPARE(ModelContainer::open(store)->count(), 1);
    }

    void secondProcessHandsOverAndExits()
    {
        const QProcessEnvironment env =
            appEnvironment(m_dir.filePath(QStringLiteral("app-data")), QStringLiteral("app-config"));
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

        // A link too long to hand over is not passed off as taken.
        QProcessEnvironment closing = env;
        closing.insert(QStringLiteral("TESSMARK_TEST_CLOSE_STOP_WINDOW"), QStringLiteral("1"));
        QProcess third;
        third.setProcessEnvironment(closing);
        third.start(QStringLiteral(TESSMARK_APP_BINARY),
                    {QStringLiteral("tessmark://verify-email?token=") + QString(70 * 1000, QLatin1Char('a'))});
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitStatus(), QProcess::NormalExit);
        QCOMPARE(third.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(third.readAllStandardOutput()).trimmed(),
                 QStringLiteral("stop window: Ссылка слишком длинная: Tessmark открывает ссылки не длиннее 64 КБ."));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    // The first start stopped on its window (over a store of another program) takes no link: a
    // second start is told so, with the window and status of a link not taken.
    void linkToAStoppedStartIsRefused()
    {
        const QString root = m_dir.filePath(QStringLiteral("stopped-first"));
        const QString dataHome = root + QStringLiteral("/data");
        const QString storeFile = dataHome + QStringLiteral("/Tessmark/Tessmark/LocalProjects.sqlite");
        QVERIFY(QDir().mkpath(QFileInfo(storeFile).absolutePath()));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("stopped"));
            db.setDatabaseName(storeFile);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE notes (text TEXT)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("stopped"));
        QProcessEnvironment env = appEnvironment(dataHome, QStringLiteral("stopped-first/config"));

        QProcessEnvironment held = env;
        held.insert(QStringLiteral("TESSMARK_TEST_CLOSE_STOP_WINDOW"), QStringLiteral("60000"));
        QProcess first;
        first.setProcessEnvironment(held);
        first.start(QStringLiteral(TESSMARK_APP_BINARY), {});
        QVERIFY(first.waitForStarted());
        QByteArray shown;
        QTRY_VERIFY_WITH_TIMEOUT((shown += first.readAllStandardOutput()).startsWith("stop window: "), 20000);

        env.insert(QStringLiteral("TESSMARK_TEST_CLOSE_STOP_WINDOW"), QStringLiteral("1"));
        for (const QString &link : {QStringLiteral("tessmark://verify-email?token=x"), QString()}) {
            QProcess second;
            second.setProcessEnvironment(env);
            second.start(QStringLiteral(TESSMARK_APP_BINARY), link.isEmpty() ? QStringList() : QStringList{link});
            QVERIFY(second.waitForFinished(20000));
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 1);
            const QString told = QString::fromUtf8(second.readAllStandardOutput()).trimmed();
            QVERIFY2(told.startsWith(QStringLiteral("stop window: Tessmark уже запущен, но ")), qPrintable(told));
            QCOMPARE(told.contains(QStringLiteral("не может открыть ссылку")), !link.isEmpty());
            QCOMPARE(first.state(), QProcess::Running);
        }
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
