#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

// The desktop portal's file chooser as a test stands it up on its own session bus, on a connection
// of its own as the real portal has: it records what SaveFile was asked and answers on the
// request's object when the test says so.
class FakeFileChooserPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")

    Q_PROPERTY(int requests MEMBER m_requests NOTIFY changed)
    Q_PROPERTY(bool closed MEMBER m_closed NOTIFY changed)
    // Closes refused since the start, as the request was not set up.
    Q_PROPERTY(int refusedCloses MEMBER m_refusedCloses NOTIFY changed)
    // The last request: parentWindow, title, acceptLabel, modal, currentName, currentFolder (the
    // bytes without their one closing NUL, else "no NUL"), filters and currentFilter as
    // "signature name: kind pattern, ...".
    Q_PROPERTY(QVariantMap asked MEMBER m_asked NOTIFY changed)

public:
    enum Mode {
        Answering,
        // Puts the request on an object path of its own making, as older portals did.
        AnsweringElsewhere,
        // The service without a file chooser.
        WithoutChooser,
        // Takes the request but never answers the call.
        Silent,
        // Takes the request only on takeRequest(), as a busy portal starting cold.
        Late,
        // Late, and its backend starting cold too: the request is named before its dialog is set
        // up, and a Close is refused as an unknown method until setUpRequest().
        Cold,
    };
    Q_ENUM(Mode)

    explicit FakeFileChooserPortal(QObject *parent = nullptr);
    ~FakeFileChooserPortal() override;

    Q_INVOKABLE bool start(int mode);
    // Leaves the bus, as a portal that stops.
    Q_INVOKABLE void stop();
    // Late: makes the request asked for and replies with its path.
    Q_INVOKABLE void takeRequest();
    // Cold: the dialog is set up; a Close is taken from now on.
    Q_INVOKABLE void setUpRequest();
    // Ends the last request with the response code and, when given, the chosen file's URI.
    Q_INVOKABLE void respond(uint response, const QString &uri = QString());
    // The URI a portal sends for the path: percent-encoded UTF-8.
    Q_INVOKABLE static QString fileUri(const QString &path);

    int requests() const { return m_requests; }
    bool closed() const { return m_closed; }
    int refusedCloses() const { return m_refusedCloses; }

public Q_SLOTS:
    Q_SCRIPTABLE QDBusObjectPath SaveFile(const QString &parent_window, const QString &title,
                                          const QVariantMap &options);
    // On the request's object.
    Q_SCRIPTABLE void Close();

Q_SIGNALS:
    void changed();

private:
    QDBusConnection m_bus;
    bool m_started = false;
    Mode m_mode = Answering;
    int m_requests = 0;
    bool m_closed = false;
    int m_refusedCloses = 0;
    bool m_setUp = false;
    QVariantMap m_asked;
    QString m_sender;
    // Where the last request lives on this bus, still known after it closed.
    QString m_handle;
    // Late: the call not replied to yet.
    QDBusMessage m_heldCall;
};
