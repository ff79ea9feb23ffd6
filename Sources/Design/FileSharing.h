#pragma once

#include <QUrl>
#include <functional>

class QMimeData;
class QObject;

// What "share" means on a Linux desktop: the file copied to the clipboard, so that it can be
// pasted into a mail, a chat or a file manager, or shown in its folder.
namespace FileSharing {

// Opens a URL with the desktop's application for it; false when none took it.
using Opener = std::function<bool(const QUrl &)>;

// A file URL list, and the form GNOME's and KDE's file managers paste as a copy.
QMimeData *clipboardData(const QUrl &file);

// Puts the file on the clipboard. False when it is no local file that exists, or the clipboard
// did not take it.
bool copyToClipboard(const QUrl &file);

// Asks the file manager to select the file; when none answers, opens the folder with `open`.
// `done` learns whether either worked; it is not called once `context` is gone.
void showInFolder(const QUrl &file, QObject *context, Opener open, std::function<void(bool)> done);

} // namespace FileSharing
