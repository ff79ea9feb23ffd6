#include "PersistenceController.h"

#include "StoreError.h"

#include <QStandardPaths>
#include <QtGlobal>

std::shared_ptr<ModelContainer> PersistenceController::shared()
{
    // Never destroyed: the connection must outlive every static that might still write at exit.
    static auto *const container = new std::shared_ptr<ModelContainer>([] {
        try {
            return makeContainer(false);
        } catch (const StoreError &error) {
            qFatal("%s", qPrintable(fatalMessage(error.description())));
        }
    }());
    return *container;
}

std::shared_ptr<ModelContainer> PersistenceController::makeContainer(bool isStoredInMemoryOnly)
{
    if (isStoredInMemoryOnly)
        return ModelContainer::openInMemory();
    return ModelContainer::open(storeFilePath());
}

QString PersistenceController::storeFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/LocalProjects.sqlite");
}

QString PersistenceController::fatalMessage(const QString &cause)
{
    return QStringLiteral("SQLite store: ") + cause;
}
