#pragma once

#include "ModelContainer.h"

#include <QString>
#include <memory>
#include <optional>

// The application's one device store and how it is made.
class PersistenceController
{
public:
    PersistenceController() = delete;

    // Opened on first use and kept for the life of the process. A store that cannot be opened
    // stops the program with fatalMessage(): nothing of the application runs without it.
    static std::shared_ptr<ModelContainer> shared();
    // Opens the shared store now, for an entry that stops with a window of its own: the stop
    // message when it cannot be opened, none when shared() is ready.
    static std::optional<QString> openShared();

    // On disk at storeFilePath(), or in memory only. Throws StoreError.
    static std::shared_ptr<ModelContainer> makeContainer(bool isStoredInMemoryOnly);

    // The store file under the application's data location.
    static QString storeFilePath();
    // That the store does not open, the cause and the store file's path (bounded).
    static QString fatalMessage(const QString &cause);
};
