#pragma once

#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "TestBackend.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

// The test backend with one signed-in account, for the sheets of the editor: roots and
// iterations on it, and the bodies it received.
class SheetsBackend
{
public:
    bool start()
    {
        backend = std::make_unique<TestBackend>();
        if (backend->start() == 0)
            return false;
        accountId = backend->data().addAccount(QStringLiteral("sheets@example.test"), QStringLiteral("secret-1")).id;
        token = backend->data().issueToken(accountId);
        client = std::make_unique<APIClient>(backend->baseUrl());
        client->setTokenProvider([this] { return token; });
        return true;
    }

    std::unique_ptr<ProjectsService> account() const
    {
        return std::make_unique<ProjectsService>(false, nullptr, client.get());
    }

    QString addRoot(const QString &name = QStringLiteral("Сайт"), const QString &currency = QStringLiteral("RUB"))
    {
        return backend->data()
            .addProject(accountId,
                        {{QStringLiteral("name"), name},
                         {QStringLiteral("currency"), currency},
                         {QStringLiteral("defaultRate"), 100},
                         {QStringLiteral("projectType"), QStringLiteral("iterative")}})
            .value(QStringLiteral("id"))
            .toString();
    }

    // An iteration of rootId with these fields (version, iterationName, status, items...).
    QString addIteration(const QString &rootId, QJsonObject fields)
    {
        if (!fields.contains(QStringLiteral("name")))
            fields.insert(QStringLiteral("name"), QStringLiteral("Сайт"));
        fields.insert(QStringLiteral("parentProjectId"), rootId);
        fields.insert(QStringLiteral("baseProjectId"), rootId);
        fields.insert(QStringLiteral("projectType"), QStringLiteral("iterative"));
        return backend->data().addProject(accountId, fields).value(QStringLiteral("id")).toString();
    }

    QList<QJsonObject> bodies(const QString &method, const QString &path) const
    {
        QList<QJsonObject> out;
        for (const RecordedRequest &request : backend->requests(method, path))
            out.append(request.json().toObject());
        return out;
    }

    std::unique_ptr<TestBackend> backend;
    std::unique_ptr<APIClient> client;
    std::optional<QString> token;
    QString accountId;
};
