#pragma once

#include "EditorBackendFixture.h"
#include "SampleEstimates.h"

#include <QJSEngine>
#include <QObject>
#include <QVariant>
#include <memory>

// What the editor's Quick Tests and screenshots build screens from: the services of both modes
// (the account's on the test backend) and projects with a given number of lines.
class EditorScreenFixture : public QObject
{
    Q_OBJECT

public:
    EditorScreenFixture()
    {
        m_started = m_backend.start();
        m_backend.reset();
        m_guest = m_backend.guest();
        m_account = m_backend.account();
        // Handed to QML by invokables, which would otherwise give them to the collector.
        QJSEngine::setObjectOwnership(m_guest.get(), QJSEngine::CppOwnership);
        QJSEngine::setObjectOwnership(m_account.get(), QJSEngine::CppOwnership);
    }

    bool started() const { return m_started; }
    Q_INVOKABLE ProjectsService *guestService() const { return m_guest.get(); }
    Q_INVOKABLE ProjectsService *accountService() const { return m_account.get(); }

    // A project of `lines` lines over four categories with varied hours and rates.
    Q_INVOKABLE QVariant project(int lines, const QString &type = QStringLiteral("one_time")) const
    {
        return QVariant::fromValue(sample(lines, type));
    }

    // Stores a guest project of that name and returns its identity.
    Q_INVOKABLE QString addGuestProject(const QString &id, const QString &name)
    {
        Project project = SampleEstimates::project(2, QStringLiteral("one_time"), id);
        project.name = name;
        m_guest->localRepository()->upsert(project);
        return id;
    }

    // The account's saves of the sample project answer after delayMs with it, or fail with message.
    Q_INVOKABLE void answerSaves(int delayMs)
    {
        m_backend.backend.setOverride(QStringLiteral("PATCH"), QStringLiteral("projects/p-1"),
                                      BackendReply::json(200, sample(1).toJson()).after(delayMs));
    }
    Q_INVOKABLE void failSaves(const QString &message)
    {
        m_backend.backend.setOverride(QStringLiteral("PATCH"), QStringLiteral("projects/p-1"),
                                      BackendReply::message(500, message));
    }

    // The sample project stored on the backend, whose saves are stored at once and answered only
    // after delayMs; and the name the backend keeps for it.
    Q_INVOKABLE QVariant storedProject(int delayMs)
    {
        QJsonObject fields = sample(1).toJson();
        fields.remove(QStringLiteral("id"));
        const Project stored = m_backend.add(fields);
        m_backend.backend.setDelay(QStringLiteral("PATCH"), QStringLiteral("projects/") + stored.id, delayMs);
        return QVariant::fromValue(stored);
    }
    Q_INVOKABLE QString storedName(const QString &id)
    {
        const QJsonObject *stored = m_backend.backend.data().project(id);
        return stored ? stored->value(QStringLiteral("name")).toString() : QString();
    }

    static Project sample(int lines, const QString &type = QStringLiteral("one_time"))
    {
        return SampleEstimates::project(lines, type);
    }

private:
    EditorBackendFixture m_backend;
    bool m_started = false;
    std::unique_ptr<ProjectsService> m_guest;
    std::unique_ptr<ProjectsService> m_account;
};
