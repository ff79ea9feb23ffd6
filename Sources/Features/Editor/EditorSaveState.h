#pragma once

#include <QString>

// Where the editor's save stands. An error carries the text the screen shows for it.
struct EditorSaveState
{
    enum class Kind { Idle, Saving, Saved, Error };

    Kind kind = Kind::Idle;
    QString message; // set for Error only

    static EditorSaveState idle() { return {}; }
    static EditorSaveState saving() { return {Kind::Saving, {}}; }
    static EditorSaveState saved() { return {Kind::Saved, {}}; }
    static EditorSaveState error(const QString &message) { return {Kind::Error, message}; }

    // "idle", "saving", "saved" or "error", as QML compares them.
    QString rawValue() const
    {
        switch (kind) {
        case Kind::Idle:
            return QStringLiteral("idle");
        case Kind::Saving:
            return QStringLiteral("saving");
        case Kind::Saved:
            return QStringLiteral("saved");
        case Kind::Error:
            return QStringLiteral("error");
        }
        return {};
    }

    bool operator==(const EditorSaveState &other) const = default;
};
