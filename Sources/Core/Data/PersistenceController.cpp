#include "PersistenceController.h"

#include "StoreError.h"
#include "StoreMessages.h"

#include <QStandardPaths>
#include <QtGlobal>

namespace {

struct SharedStore
{
    std::shared_ptr<ModelContainer> container;
    QString failure;
};

// One attempt for the life of the process, whoever asks first.
const SharedStore &sharedStore()
{
    // Never destroyed: the connection must outlive every static that might still write at exit.
    static const auto *const store = new SharedStore([] {
        try {
            return SharedStore{PersistenceController::makeContainer(false), {}};
        } catch (const StoreError &error) {
            return SharedStore{{}, PersistenceController::fatalMessage(error.description())};
        }
    }());
    return *store;
}

} // namespace

std::shared_ptr<ModelContainer> PersistenceController::shared()
{
    const SharedStore &store = sharedStore();
    if (!store.container)
        qFatal("%s", qPrintable(store.failure));
    return store.container;
}

std::optional<QString> PersistenceController::openShared()
{
    const SharedStore &store = sharedStore();
    if (store.container)
        return std::nullopt;
    return store.failure;
}

std::shared_ptr<ModelContainer> PersistenceController::makeContainer(bool isStoredInMemoryOnly)
{
    if (isStoredInMemoryOnly)
        return ModelContainer::openInMemory();
    return ModelContainer::open(storeFilePath());
}

QString PersistenceController::storeFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/LocalProjects.sqlite");
}

QString PersistenceController::fatalMessage(const QString &cause)
{
    return StoreMessages::startStopped(cause, storeFilePath());
}
