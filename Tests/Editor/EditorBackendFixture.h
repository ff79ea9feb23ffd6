#pragma once

#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Data/ModelContainer.h"
#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <memory>
#include <optional>

// An account on the test backend and the services of the two modes, for the editor screen's and
// the detail column's tests.
class EditorBackendFixture
{
public:
    TestBackend backend;
    std::unique_ptr<APIClient> client;
    std::optional<QString> token;
    QString accountId;

    bool start()
    {
        if (backend.start() == 0)
            return false;
        client = std::make_unique<APIClient>(backend.baseUrl());
        client->setTokenProvider([this] { return token; });
        accountId = backend.data().addAccount(QStringLiteral("editor@example.test"), QStringLiteral("secret")).id;
        return true;
    }
    void reset()
    {
        backend.clearRequests();
        backend.clearOverrides();
        backend.data().projects.clear();
        backend.data().payments.clear();
        token = backend.data().issueToken(accountId);
    }

    std::unique_ptr<ProjectsService> account() const
    {
        return std::make_unique<ProjectsService>(false, nullptr, client.get());
    }
    // A guest service on an empty store, wired to the backend all the same, so that a stray call
    // would show in the recorded requests.
    std::unique_ptr<ProjectsService> guest() const
    {
        return std::make_unique<ProjectsService>(true, ModelContainer::openInMemory(), client.get());
    }

    // A stored project; fields override the defaults.
    Project add(QJsonObject fields = {})
    {
        if (!fields.contains(QStringLiteral("name")))
            fields.insert(QStringLiteral("name"), QStringLiteral("Сайт"));
        return Project::fromJson(backend.data().addProject(accountId, fields));
    }
    Project addIteration(const Project &root, std::optional<int> version)
    {
        QJsonObject fields{{QStringLiteral("name"), root.name},
                           {QStringLiteral("parentProjectId"), root.id},
                           {QStringLiteral("projectType"), QStringLiteral("iterative")}};
        if (version)
            fields.insert(QStringLiteral("version"), *version);
        return add(fields);
    }

    int count(const QString &method, const QString &path) const { return int(backend.requests(method, path).size()); }
};
