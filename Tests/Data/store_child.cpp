// Helper process for the store tests.
//   store_child shared            opens the application's store and prints its path
//   store_child save-loop <file>  writes records until killed, printing "saved <n>" after each
#include "Data/ModelContainer.h"
#include "Data/PersistenceController.h"
#include "Data/StoreError.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("TessmarkTests"));
    QCoreApplication::setApplicationName(QStringLiteral("StoreChild"));
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("shared")) {
        std::printf("%s\n", qPrintable(PersistenceController::shared()->filePath()));
        return 0;
    }
    if (args.value(1) == QStringLiteral("save-loop") && args.size() == 3) {
        try {
            const auto store = ModelContainer::open(args.at(2));
            for (int n = 0;; ++n) {
                const QByteArray data = QByteArray::number(n).repeated(200);
                store->upsert(QStringLiteral("p-%1").arg(n), data);
                std::printf("saved %d\n", n);
                std::fflush(stdout);
            }
        } catch (const StoreError &error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.description()));
            return 1;
        }
    }
    std::fprintf(stderr, "usage: store_child shared | save-loop <file>\n");
    return 2;
}
