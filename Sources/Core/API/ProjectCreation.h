#pragma once

#include "Models/Project.h"

#include <optional>

// What a creation came to. None taken in is `unsettled` when the backend may have made the
// project all the same (its answer named a project already listed, or did not read): the list
// has then been read again, and a second creation could make it twice.
struct ProjectCreation
{
    std::optional<Project> project;
    bool unsettled = false;
};
