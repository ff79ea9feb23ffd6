#pragma once

#include "Data/LocalCloudMigrationPolicy.h"
#include "Data/LocalCloudMigrationResult.h"
#include "Data/LocalProjectRepository.h"
#include "Models/Project.h"

#include <QList>
#include <QCoro/QCoroTask>

class ProjectsService;

// Carries out a policy against the account (through an account-mode service, one call at a time)
// and the device store. A device project leaves the device only once the account is seen to hold
// it: the answer to its upload names a project not listed before the run nor named for another
// upload, and the account's list read after the uploads holds it (under local wins, its matches
// are deleted only then). The policy may also drop device projects on purpose (every offered one
// under cloudOnly, the name matches under mergeDedupeByName). The others stay and are listed in
// the result. Device records that are not among the offered projects (written later, or
// unreadable) are never touched.
// An upload is recorded on the device before it is sent; a later run (after the process was cut
// short, or an answer was lost) finds the project that upload made in the account, if any, and
// sends it no second time, whatever the policy.
class LocalCloudMigrationRunner
{
public:
    LocalCloudMigrationRunner() = delete;

    // Throws only the device store's error (StoreError).
    static QCoro::Task<LocalCloudMigrationResult> run(LocalCloudMigrationPolicy policy, QList<Project> locals,
                                                      QList<Project> cloudProjects, ProjectsService &remote,
                                                      LocalProjectRepository localRepo);
};
