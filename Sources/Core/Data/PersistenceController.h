#pragma once

#include "ModelContainer.h"

#include <QString>
#include <memory>

// The application's one device store and how it is made.
class PersistenceController
{
public:
    PersistenceController() = delete;

    // Opened on first use and kept for the life of the process. A store that cannot be opened
    // stops the program with fatalMessage(cause): nothing of the application runs without it.
    static std::shared_ptr<ModelContainer> shared();

    // On disk at storeFilePath(), or in memory only. Throws StoreError.
    static std::shared_ptr<ModelContainer> makeContainer(bool isStoredInMemoryOnly);

    // The store file under the application's data location.
    static QString storeFilePath();
    static QString fatalMessage(const QString &cause);
};
