// Quick Tests of the analytics dashboard and detail panel on the test backend, in a QApplication
// as Qt Charts needs. QML reaches the backend through `analyticsBackend`.
#include "FocusWatch.h"
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "Settings/Preferences.h"
#include "TestBackend.h"
#include "Utils/MoneyFormat.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest/quicktest.h>

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Tessmark_ServicesPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Tessmark_Features_AnalyticsPlugin)

class AnalyticsBackend : public QObject
{
    Q_OBJECT
    Q_PROPERTY(ProjectsService *projectsService READ projectsService CONSTANT)

public:
    AnalyticsBackend()
    {
        if (m_backend.start() == 0)
            qFatal("the test backend did not start");
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_accountId = m_backend.data().addAccount(QStringLiteral("anna@example.test"), QStringLiteral("secret")).id;
        const QString token = m_backend.data().issueToken(m_accountId);
        m_client->setTokenProvider([token] { return std::optional<QString>(token); });
        m_projects = std::make_unique<ProjectsService>(false, nullptr, m_client.get());
    }

    ProjectsService *projectsService() { return m_projects.get(); }

    // Clears projects, payments, overrides and the stored scope.
    Q_INVOKABLE void reset()
    {
        m_backend.release();
        m_backend.clearOverrides();
        m_backend.clearRequests();
        m_backend.data().projects.clear();
        m_backend.data().payments.clear();
        Preferences::shared().remove(QStringLiteral("analytics.scope"));
    }
    // A project whose lines cost `planned`, `done` of it marked done; parentId makes an iteration.
    Q_INVOKABLE QString addProject(const QString &name, double planned, double done = 0,
                                   const QString &currency = QStringLiteral("RUB"), const QString &parentId = {},
                                   const QString &iterationName = {})
    {
        QJsonArray items;
        if (planned - done > 0)
            items.append(line(planned - done, false));
        if (done > 0)
            items.append(line(done, true));
        QJsonObject fields{
            {QStringLiteral("name"), name}, {QStringLiteral("currency"), currency}, {QStringLiteral("items"), items}};
        if (!parentId.isEmpty()) {
            fields.insert(QStringLiteral("parentProjectId"), parentId);
            fields.insert(QStringLiteral("projectType"), QStringLiteral("iterative"));
            fields.insert(QStringLiteral("iterationName"), iterationName);
        }
        return m_backend.data().addProject(m_accountId, fields).value(QStringLiteral("id")).toString();
    }
    // A payment dated long ago: overdue when pending.
    Q_INVOKABLE void addPayment(const QString &projectId, double amount, const QString &status,
                                const QString &currency = QStringLiteral("RUB"))
    {
        m_backend.data().addPayment(
            projectId, m_accountId, amount, status,
            {{QStringLiteral("currency"), currency}, {QStringLiteral("paidAt"), QStringLiteral("2020-01-15")}});
    }
    // The project's analytics fail.
    Q_INVOKABLE void failAnalytics(const QString &projectId)
    {
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(projectId),
                              BackendReply::message(500, QStringLiteral("boom")));
    }
    Q_INVOKABLE void delayProjects(int milliseconds)
    {
        QJsonArray list;
        for (const QJsonObject &project : std::as_const(m_backend.data().projects))
            list.append(project);
        m_backend.setOverride(QStringLiteral("GET"), QStringLiteral("projects"),
                              BackendReply::json(200, list).after(milliseconds));
    }
    // The project's analytics answer only at release().
    Q_INVOKABLE void holdAnalytics(const QString &projectId)
    {
        const QJsonObject *project = m_backend.data().project(projectId);
        QJsonObject analytics{{QStringLiteral("projectId"), projectId},
                              {QStringLiteral("currency"), project->value(QStringLiteral("currency"))},
                              {QStringLiteral("planned"),
                               QJsonObject{{QStringLiteral("totalHours"), 1},
                                           {QStringLiteral("totalCost"), project->value(QStringLiteral("totalCost"))}}},
                              {QStringLiteral("paid"), QJsonObject{{QStringLiteral("receivedTotal"), 0}}}};
        m_backend.setOverride(QStringLiteral("GET"), analyticsPath(projectId), BackendReply::json(200, analytics));
        m_backend.hold(QStringLiteral("GET"), analyticsPath(projectId));
    }
    Q_INVOKABLE void release() { m_backend.release(); }
    Q_INVOKABLE int analyticsRequests(const QString &projectId) const
    {
        return int(m_backend.requests(QStringLiteral("GET"), analyticsPath(projectId)).size());
    }
    Q_INVOKABLE QString money(double amount, const QString &currency) const
    {
        return MoneyFormat::format(amount, currency);
    }
    Q_INVOKABLE QVariant preference(const QString &key) const { return Preferences::shared().value(key); }

private:
    static QString analyticsPath(const QString &id) { return QStringLiteral("projects/%1/estimate-analytics").arg(id); }
    static QJsonObject line(double cost, bool done)
    {
        return QJsonObject{{QStringLiteral("title"), QStringLiteral("Работа")},
                           {QStringLiteral("category"), QStringLiteral("backend")},
                           {QStringLiteral("hours"), 1},
                           {QStringLiteral("rate"), cost},
                           {QStringLiteral("isLocked"), false},
                           {QStringLiteral("done"), done}};
    }

    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    std::unique_ptr<ProjectsService> m_projects;
    QString m_accountId;
};

class Setup : public QObject
{
    Q_OBJECT

public:
    Setup()
    {
        // Preferences live in a private folder.
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
    }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        if (!m_backend)
            m_backend = std::make_unique<AnalyticsBackend>();
        engine->rootContext()->setContextProperty(QStringLiteral("analyticsBackend"), m_backend.get());
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AnalyticsBackend> m_backend;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    QApplication::setOrganizationName(QStringLiteral("Tessmark"));
    QApplication::setApplicationName(QStringLiteral("TessmarkAnalyticsQuick"));
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "AnalyticsQuick", TESSMARK_QUICK_TEST_DIR, &setup);
}

#include "tst_AnalyticsQuick.moc"
