#include "FileSharing.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

FileSharing::FileSharing(QObject *parent)
    : QObject(parent)
{
}

QMimeData *FileSharing::clipboardData(const QUrl &file)
{
    auto *data = new QMimeData;
    data->setUrls({file});
    data->setData(QStringLiteral("x-special/gnome-copied-files"), "copy\n" + file.toEncoded());
    return data;
}

void FileSharing::copyToClipboard(const QUrl &file) const
{
    if (!file.isLocalFile())
        return;
    QGuiApplication::clipboard()->setMimeData(clipboardData(file));
}

void FileSharing::showInFolder(const QUrl &file)
{
    if (!file.isLocalFile())
        return;
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(file.toLocalFile()).absolutePath());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{file.toString(QUrl::FullyEncoded)} << QString();
    // Asked without waiting: a file manager that is slow to start must not freeze the window.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [folder](QDBusPendingCallWatcher *finished) {
        if (finished->isError())
            QDesktopServices::openUrl(folder);
        finished->deleteLater();
    });
}
