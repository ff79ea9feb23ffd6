#include "FakeFileChooserPortal.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QFile>
#include <QStringList>
#include <QUrl>

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// One filter, (sa(us)), as "name: kind pattern, kind pattern".
QString filterText(const QDBusArgument &argument)
{
    QString name;
    QStringList rules;
    argument.beginStructure();
    argument >> name;
    argument.beginArray();
    while (!argument.atEnd()) {
        uint kind = 0;
        QString pattern;
        argument.beginStructure();
        argument >> kind >> pattern;
        argument.endStructure();
        rules << QString::number(kind) + QLatin1Char(' ') + pattern;
    }
    argument.endArray();
    argument.endStructure();
    return name + QStringLiteral(": ") + rules.join(QStringLiteral(", "));
}

// A filter or a list of them, after their signature.
QString filtersText(const QVariant &value)
{
    const QDBusArgument argument = value.value<QDBusArgument>();
    QString text = argument.currentSignature();
    if (argument.currentType() != QDBusArgument::ArrayType)
        return text + QLatin1Char(' ') + filterText(argument);
    argument.beginArray();
    while (!argument.atEnd())
        text += QLatin1Char(' ') + filterText(argument);
    argument.endArray();
    return text;
}

} // namespace

FakeFileChooserPortal::FakeFileChooserPortal(QObject *parent)
    : QObject(parent)
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-file-chooser-portal")))
{
}

FakeFileChooserPortal::~FakeFileChooserPortal()
{
    stop();
    QDBusConnection::disconnectFromBus(m_bus.name());
}

bool FakeFileChooserPortal::start(int mode)
{
    stop();
    m_mode = Mode(mode);
    m_requests = 0;
    m_closed = false;
    m_refusedCloses = 0;
    m_setUp = false;
    m_asked.clear();
    m_handle.clear();
    m_heldCall = QDBusMessage();
    Q_EMIT changed();
    if (m_mode != WithoutChooser && !m_bus.registerObject(portalPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    m_started = m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    return m_started;
}

void FakeFileChooserPortal::stop()
{
    if (!m_handle.isEmpty())
        m_bus.unregisterObject(m_handle);
    m_bus.unregisterObject(portalPath);
    if (m_started)
        m_bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    m_started = false;
}

QDBusObjectPath FakeFileChooserPortal::SaveFile(const QString &parent_window, const QString &title,
                                                const QVariantMap &options)
{
    QByteArray folder = options.value(QStringLiteral("current_folder")).toByteArray();
    const bool nulEnded = folder.endsWith('\0') && folder.count('\0') == 1;
    folder.chop(1);
    m_asked = {
        {QStringLiteral("parentWindow"), parent_window},
        {QStringLiteral("title"), title},
        {QStringLiteral("acceptLabel"), options.value(QStringLiteral("accept_label"))},
        {QStringLiteral("modal"), options.value(QStringLiteral("modal"))},
        {QStringLiteral("currentName"), options.value(QStringLiteral("current_name"))},
        {QStringLiteral("currentFolder"), nulEnded ? QFile::decodeName(folder) : QStringLiteral("no NUL")},
        {QStringLiteral("filters"), filtersText(options.value(QStringLiteral("filters")))},
        {QStringLiteral("currentFilter"), filtersText(options.value(QStringLiteral("current_filter")))},
    };
    ++m_requests;
    Q_EMIT changed();
    // The path the caller can foresee from its name and token.
    m_sender = message().service();
    const QString foreseen = portalPath + QStringLiteral("/request/")
        + m_sender.mid(1).replace(QLatin1Char('.'), QLatin1Char('_')) + QLatin1Char('/')
        + options.value(QStringLiteral("handle_token")).toString();
    if (!m_handle.isEmpty())
        m_bus.unregisterObject(m_handle);
    m_handle =
        m_mode == AnsweringElsewhere ? portalPath + QStringLiteral("/request/elsewhere/%1").arg(m_requests) : foreseen;
    if (m_mode == Late || m_mode == Cold) {
        setDelayedReply(true);
        m_heldCall = message();
        return {};
    }
    m_bus.registerObject(m_handle, requestInterface, this, QDBusConnection::ExportScriptableSlots);
    // A silent portal has its dialog up but its reply never comes.
    if (m_mode == Silent)
        setDelayedReply(true);
    return QDBusObjectPath(m_handle);
}

void FakeFileChooserPortal::takeRequest()
{
    m_bus.registerObject(m_handle, requestInterface, this, QDBusConnection::ExportScriptableSlots);
    m_bus.send(m_heldCall.createReply(QVariant::fromValue(QDBusObjectPath(m_handle))));
}

void FakeFileChooserPortal::setUpRequest()
{
    m_setUp = true;
}

void FakeFileChooserPortal::Close()
{
    if (message().path() != m_handle)
        return;
    if (m_mode == Cold && !m_setUp) {
        ++m_refusedCloses;
        Q_EMIT changed();
        sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("The request is not set up yet"));
        return;
    }
    m_closed = true;
    m_bus.unregisterObject(m_handle);
    Q_EMIT changed();
}

void FakeFileChooserPortal::respond(uint response, const QString &uri)
{
    QVariantMap results;
    if (!uri.isEmpty())
        results.insert(QStringLiteral("uris"), QStringList{uri});
    QDBusMessage signal =
        QDBusMessage::createTargetedSignal(m_sender, m_handle, requestInterface, QStringLiteral("Response"));
    signal << response << results;
    m_bus.send(signal);
}

QString FakeFileChooserPortal::fileUri(const QString &path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}
