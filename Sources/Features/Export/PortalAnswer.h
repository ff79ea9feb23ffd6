#pragma once

#include <QString>
#include <QUrl>

// How a request to the desktop's file dialog ended.
struct PortalAnswer
{
    enum class Kind {
        // The user chose `file`, a local file.
        Chosen,
        // The user closed the dialog without choosing.
        Cancelled,
        // The desktop offers no file dialog: the application shows its own.
        Unavailable,
        // The dialog failed; `message` says so in Russian.
        Failed,
    };

    Kind kind = Kind::Cancelled;
    QUrl file;
    QString message;
};
