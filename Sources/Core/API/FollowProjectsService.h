#pragma once

#include "ProjectsService.h"

#include <QObject>
#include <QPointer>
#include <type_traits>

// A member of a screen model that hears one change of its projects service.
template<typename Watcher>
using ProjectsServiceHandler = std::type_identity_t<void (Watcher::*)()>;

// A screen model's switch to another projects service: the old one's signals to the watcher are
// dropped, and the new one's list, loading and error changes reach the given members (null: not
// heard). False, and nothing done, when the service is the one already held.
template<typename Watcher>
bool followProjectsService(Watcher *watcher, QPointer<ProjectsService> &held, ProjectsService *service,
                           ProjectsServiceHandler<Watcher> onProjects, ProjectsServiceHandler<Watcher> onLoading,
                           ProjectsServiceHandler<Watcher> onError = nullptr)
{
    if (held == service)
        return false;
    if (held)
        QObject::disconnect(held, nullptr, watcher, nullptr);
    held = service;
    if (!service)
        return true;
    if (onProjects)
        QObject::connect(service, &ProjectsService::projectsChanged, watcher, onProjects);
    if (onLoading)
        QObject::connect(service, &ProjectsService::isLoadingChanged, watcher, onLoading);
    if (onError)
        QObject::connect(service, &ProjectsService::errorMessageChanged, watcher, onError);
    return true;
}
