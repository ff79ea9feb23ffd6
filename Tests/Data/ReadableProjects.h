#pragma once

#include "Data/LocalProjectListing.h"
#include "Data/LocalProjectRepository.h"
#include "Models/ProjectBytesDecoder.h"
#include "Utils/DecodingError.h"

// Every stored project with its lines, newest write first, and which records did not decode:
// what the store holds, as the tests look at it.
inline LocalProjectListing readableProjects(const LocalProjectRepository &repo)
{
    LocalProjectListing listing;
    ProjectBytesDecoder decoder;
    for (const LocalProjectRecord &record : repo.context()->fetchAllSorted()) {
        try {
            listing.projects.append(decoder.project(record.projectData));
        } catch (const DecodingError &error) {
            if (listing.unreadableIds.isEmpty())
                listing.firstFailure = error.description();
            listing.unreadableIds.append(record.id);
        }
    }
    return listing;
}
