#pragma once

#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "Await.h"
#include "DemoSeed.h"
#include "InMemoryTokenStore.h"
#include "TestBackend.h"

#include <memory>

// The test backend with its demo account, and every window of the process wired to it: the
// sign-in services use a client on it and a token store in memory, account projects go there too.
class AccountTestBackend
{
public:
    AccountTestBackend()
        : AccountTestBackend(std::make_unique<TestBackend>())
    {
    }
    // A backend of another kind, such as one that fails on purpose.
    explicit AccountTestBackend(std::unique_ptr<TestBackend> backend)
        : m_backend(std::move(backend))
    {
    }

    bool start()
    {
        DemoSeed::seed(backend);
        if (backend.start() == 0)
            return false;
        api = std::make_unique<APIClient>(backend.baseUrl());
        api->setTokenProvider([this] { return tokens.load(); });
        RootViewModel::setAuthServiceFactory([this] { return new AuthService(*api, tokens); });
        MainShellViewModel::setProjectsServiceFactory(
            [this](bool isGuest) { return new ProjectsService(isGuest, {}, isGuest ? nullptr : api.get()); });
        return true;
    }

    // Signs the demo account in through the window's own service.
    static void signIn(AuthService &auth)
    {
        await(auth.login(QString::fromUtf8(DemoSeed::email), QString::fromUtf8(DemoSeed::password)));
    }

private:
    std::unique_ptr<TestBackend> m_backend;

public:
    TestBackend &backend = *m_backend;
    std::unique_ptr<APIClient> api;
    InMemoryTokenStore tokens;
};
