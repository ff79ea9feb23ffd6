// The window driven as a person drives it: real mouse and key events at the places items are
// drawn, in the root view at the default size, on a device store in a temporary home and the
// test backend. Each test file gets `testEnvironment` to fill the store, sign in and make the
// backend fail or wait.
#include "FocusWatch.h"
#include "AccountQuickTestEnvironment.h"
#include "App/EndSignals.h"
#include "App/MainShellViewModel.h"
#include "App/RootViewModel.h"
#include "Await.h"
#include "CatalogSpheres.h"
#include "DemoSeed.h"
#include "InMemoryTokenStore.h"
#include "SampleEstimates.h"
#include "TestBackend.h"
#include "../Data/StoreProbe.h"

#include <QApplication>
#include <QJsonDocument>
#include <QQmlEngineExtensionPlugin>
#include <QUuid>
#include <QWindow>
#include <QtQuickTest/quicktest.h>
#include <csignal>
#include <unistd.h>

#include "App/AppQmlPlugins.h"

class FlowTestEnvironment : public AccountQuickTestEnvironment
{
    Q_OBJECT

public:
    // A device project of that many lines; with oneCategory all of them in one section.
    Q_INVOKABLE QString addDeviceProject(const QString &name, int lines, bool oneCategory)
    {
        Project project =
            SampleEstimates::project(lines, QStringLiteral("one_time"),
                                     QStringLiteral("local-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
        project.name = name;
        if (oneCategory) {
            for (ProjectItem &item : project.items)
                item.category = QStringLiteral("backend");
        }
        AppTestEnvironment::repository().upsert(project.recalculatedTotals());
        return project.id;
    }
    // The stored lines' titles of a device project, in order.
    Q_INVOKABLE QStringList deviceLineTitles(const QString &id) const
    {
        QStringList titles;
        for (const Project &project : AppTestEnvironment::repository().fetchAllSorted()) {
            if (project.id == id) {
                for (const ProjectItem &item : project.items)
                    titles.append(item.title);
            }
        }
        return titles;
    }

    // The stored name of a device project, "" when there is none.
    Q_INVOKABLE QString deviceProjectName(const QString &id) const
    {
        for (const Project &project : AppTestEnvironment::repository().fetchAllSorted()) {
            if (project.id == id)
                return project.name;
        }
        return {};
    }

    // The device store's disk is full (the store may not grow by a page, and no page is free)
    // or has room again.
    Q_INVOKABLE bool setDeviceDiskFull(bool full)
    {
        return limitStoreSize(PersistenceController::shared()->filePath(), full ? 1 : std::numeric_limits<int>::max(),
                              full);
    }

    // The identity of the catalog's last sphere, the one furthest along the chips.
    Q_INVOKABLE QString lastSphereId() const
    {
        const QList<SphereChip> chips = CatalogSpheres::chips();
        return chips.isEmpty() ? QString() : chips.last().id;
    }

    // Signs the window's own service in with the demo account.
    Q_INVOKABLE bool signIn(AuthService *auth)
    {
        AccountTestBackend::signIn(*auth);
        return auth->hasUser();
    }
    // The demo account's first iteration: {id, rootId}.
    Q_INVOKABLE QVariantMap demoIteration()
    {
        for (const QJsonObject &project : m_account.backend.data().projects) {
            const QString parent = project.value(QStringLiteral("parentProjectId")).toString();
            const QString id = project.value(QStringLiteral("id")).toString();
            if (!parent.isEmpty() && parent != id)
                return {{QStringLiteral("id"), id}, {QStringLiteral("rootId"), parent}};
        }
        return {};
    }
    // What a reader is told the item is (a QAccessible::Role), as its Accessible properties set
    // it; 0 when they set nothing. QML reads attached properties only of items it knows the type of.
    Q_INVOKABLE int accessibleRole(const QObject *item) const
    {
        for (const QObject *child : item ? item->children() : QObjectList()) {
            if (child->inherits("QQuickAccessibleAttached"))
                return child->property("role").toInt();
        }
        return 0;
    }
    // The backend lets every session's token expire: the next authorized request gets 401.
    Q_INVOKABLE void endSessions() { m_account.backend.data().tokens.clear(); }
    // A verified account of the backend besides the demo one.
    Q_INVOKABLE void addAccount(const QString &email, const QString &password)
    {
        if (!m_account.backend.data().accountByEmail(email))
            m_account.backend.data().addAccount(email, password);
    }
    // The name the backend keeps for an account project, "" when there is none.
    Q_INVOKABLE QString accountProjectName(const QString &id)
    {
        const QJsonObject *project = m_account.backend.data().project(id);
        return project ? project->value(QStringLiteral("name")).toString() : QString();
    }
    // Every update of that project is stored at once and answered only after ms milliseconds.
    Q_INVOKABLE void slowUpdates(const QString &id, int ms)
    {
        m_account.backend.setDelay(QStringLiteral("PATCH"), QStringLiteral("projects/") + id, ms);
    }

    // The backend makes a project of that name but answers the next creation with another
    // record: that of the project `id`, or, when `id` is "", its own cut short so that it does not
    // read. Returns the made project's identity; reset() takes the project away.
    Q_INVOKABLE QString answerCreationWith(const QString &id, const QString &name)
    {
        BackendData &data = m_account.backend.data();
        const BackendData::Account *demo = data.accountByEmail(QString::fromUtf8(DemoSeed::email));
        const QString made =
            data.addProject(demo->id, {{QStringLiteral("name"), name}}).value(QStringLiteral("id")).toString();
        m_made.append(made);
        QByteArray answer = QJsonDocument(*data.project(id.isEmpty() ? made : id)).toJson(QJsonDocument::Compact);
        if (id.isEmpty())
            answer.truncate(answer.size() / 2);
        m_account.backend.setOverride(QStringLiteral("POST"), QStringLiteral("projects"),
                                      BackendReply::raw(201, answer));
        return made;
    }

    Q_INVOKABLE void reset() override
    {
        m_endSignals.reset();
        AccountQuickTestEnvironment::reset();
        m_account.backend.data().projects.removeIf([this](const QJsonObject &project) {
            return m_made.contains(project.value(QStringLiteral("id")).toString());
        });
        m_made.clear();
    }
    // The process's end signals close that window, as the application's entry has them do.
    Q_INVOKABLE void endOnSignals(QWindow *window) { m_endSignals = std::make_unique<EndSignals>(window); }
    Q_INVOKABLE void sendEndSignal() { ::kill(::getpid(), SIGTERM); }

private:
    std::unique_ptr<EndSignals> m_endSignals;
    QStringList m_made;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    FlowTestEnvironment environment;
    if (!environment.start())
        return 1;
    return quick_test_main_with_setup(argc, argv, "FlowQuick", TESSMARK_QUICK_TEST_DIR, &environment);
}

#include "tst_FlowQuick.moc"
