#pragma once

#include <QDateTime>
#include <QString>

// One row of the save dialog's folder listing: a folder, or a PDF file, lying right in the folder shown.
struct FolderEntry
{
    QString name;
    bool isFolder = false;
    // Of a file only; a folder's is 0.
    qint64 size = 0;
    QDateTime modified;

    friend bool operator==(const FolderEntry &, const FolderEntry &) = default;
};
