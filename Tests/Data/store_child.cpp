// Helper process for the store tests.
//   store_child shared            opens the application's store and prints its path
//   store_child save-loop <file>  saves projects until killed, printing "saved <n>" after each
//   store_child open <file>       prints "opening", opens (and so upgrades) the store, prints "open"
//   store_child migrate <file> <base URL> <token> <policy>
//                                 moves the store's projects into the account of the token, prints "done"
#include "API/APIClient.h"
#include "API/LocalCloudMigrationRunner.h"
#include "API/ProjectsService.h"
#include "Await.h"
#include "Data/LocalProjectRepository.h"
#include "Data/PersistenceController.h"
#include "Data/StoreError.h"
#include "ProjectSamples.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

int saveLoop(const QString &path)
{
    try {
        LocalProjectRepository repo(ModelContainer::open(path));
        for (int n = 0;; ++n) {
            repo.upsert(
                ProjectSamples::make(QStringLiteral("local-%1").arg(n), QStringLiteral("Проект %1").arg(n), 20));
            repo.upsert(
                ProjectSamples::make(QStringLiteral("local-rewritten"), QStringLiteral("Проект %1").arg(n), 20));
            std::printf("saved %d\n", n);
            std::fflush(stdout);
        }
    } catch (const StoreError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 1;
    }
}

int openStore(const QString &path)
{
    std::printf("opening\n");
    std::fflush(stdout);
    try {
        ModelContainer::open(path);
    } catch (const StoreError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 1;
    }
    std::printf("open\n");
    std::fflush(stdout);
    return 0;
}

int migrate(const QStringList &args)
{
    const std::optional<LocalCloudMigrationPolicy> policy = localCloudMigrationPolicyFromRaw(args.at(5));
    if (!policy)
        return 2;
    try {
        const LocalProjectRepository repo(ModelContainer::open(args.at(2)));
        APIClient api(QUrl(args.at(3)));
        const QString token = args.at(4);
        api.setTokenProvider([token] { return std::optional<QString>(token); });
        ProjectsService remote(false, nullptr, &api);
        await(remote.load(false));
        const LocalCloudMigrationResult result =
            await(LocalCloudMigrationRunner::run(*policy, repo.fetchAllSorted(), remote.projects(), remote, repo));
        std::printf("done %d\n", int(result.notMoved.size()));
        std::fflush(stdout);
        return 0;
    } catch (const StoreError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 1;
    }
}

} // namespace

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
    if (args.value(1) == QStringLiteral("save-loop") && args.size() == 3)
        return saveLoop(args.at(2));
    if (args.value(1) == QStringLiteral("open") && args.size() == 3)
        return openStore(args.at(2));
    if (args.value(1) == QStringLiteral("migrate") && args.size() == 6)
        return migrate(args);
    std::fprintf(stderr,
                 "usage: store_child shared | save-loop <file> | open <file> | migrate <file> <url> "
                 "<token> <policy>\n");
    return 2;
}
