#pragma once

#include "Models/Project.h"

#include <QString>

namespace ProjectRoot {

// The iteration's trimmed name, else "v" and its version, else "Итерация".
QString iterationLabel(const Project &project);

} // namespace ProjectRoot
