#pragma once

#include <QCoroTask>
#include <QString>

class ProjectsService;

// The project the tour shows: found by its stored identity, else by its name, else created.
namespace OnboardingDemoProject {

QString name();
QString clientName();
QString currency();
QString sphereId();

// On return the preference holds the identity of a listed demo project, unless creating one failed.
QCoro::Task<> ensureReady(ProjectsService &projectsService);

} // namespace OnboardingDemoProject
