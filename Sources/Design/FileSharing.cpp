#include "FileSharing.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace FileSharing {

QMimeData *clipboardData(const QUrl &file)
{
    auto *data = new QMimeData;
    data->setUrls({file});
    data->setData(QStringLiteral("x-special/gnome-copied-files"), "copy\n" + file.toEncoded());
    return data;
}

bool copyToClipboard(const QUrl &file)
{
    if (!file.isLocalFile() || !QFileInfo(file.toLocalFile()).isFile())
        return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(clipboardData(file));
    // Read back: a clipboard that refused the data leaves something else there.
    const QMimeData *held = clipboard->mimeData();
    return held && held->urls() == QList<QUrl>{file};
}

void showInFolder(const QUrl &file, QObject *context, Opener open, std::function<void(bool)> done)
{
    if (!file.isLocalFile()) {
        done(false);
        return;
    }
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(file.toLocalFile()).absolutePath());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        done(open(folder));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{file.toString(QUrl::FullyEncoded)} << QString();
    // Asked without waiting: a file manager that is slow to start must not freeze the window.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [folder, open = std::move(open), done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         done(!finished->isError() || open(folder));
                     });
}

} // namespace FileSharing
