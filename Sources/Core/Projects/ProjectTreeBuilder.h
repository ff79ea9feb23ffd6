#pragma once

#include "Models/Project.h"
#include "Models/ProjectTreeGroup.h"

#include <QList>

namespace ProjectTreeBuilder {

// Roots sorted by name (the user's locale, case-insensitive, stable), each with the projects
// whose parent or base names it, by version; a root collects them only when it is "iterative" or
// some project names it as parent. Iterations placed nowhere follow as groups of their own, in
// input order. A project may stand in more than one group.
QList<ProjectTreeGroup> build(const QList<Project> &projects);

} // namespace ProjectTreeBuilder
