#pragma once

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class QMimeData;

// What "share" means on a Linux desktop: the file copied to the clipboard, so that it can be
// pasted into a mail, a chat or a file manager, or shown in its folder.
class FileSharing : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit FileSharing(QObject *parent = nullptr);

    // A file URL list, and the form GNOME's and KDE's file managers paste as a copy.
    static QMimeData *clipboardData(const QUrl &file);

    Q_INVOKABLE void copyToClipboard(const QUrl &file) const;
    // Asks the file manager to select the file; when none answers, opens the folder instead.
    Q_INVOKABLE void showInFolder(const QUrl &file);
};
