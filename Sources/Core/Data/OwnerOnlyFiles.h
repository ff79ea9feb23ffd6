#pragma once

#include <QString>

// Files only this user may read: the device store, its journals and the settings hold client
// names and amounts, and the user's other accounts on the machine must not see them.
class OwnerOnlyFiles
{
public:
    OwnerOnlyFiles() = delete;

    // Makes the folder and any missing parent with mode 0700, and tightens the folder itself when
    // it was there before. False when it cannot be made or belongs to another user.
    static bool makeFolder(const QString &path);

    // Makes an empty file with mode 0600, or tightens the file that is there.
    static bool makeFile(const QString &path);

    // Tightens the file to 0600 when it exists; true when there is none.
    static bool tightenFile(const QString &path);

    // Whether this thread may make a file in the folder, or write to the file. Tried rather than
    // read from the mode bits: for root, or a thread without the right to override modes, only
    // the kernel knows.
    static bool canWriteInto(const QString &folder);
    static bool canWrite(const QString &file);
};
