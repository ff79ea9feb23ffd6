// Quick Tests of the payments screens against the test backend: the finance view's history and
// form, the sheet around it, the hub's list and the editor's finance strip.
#include "FocusWatch.h"
#include "API/APIClient.h"
#include "API/ProjectsService.h"
#include "TestBackend.h"

#include <QApplication>
#include <QJsonObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QtQuickTest/quicktest.h>

#include "App/AppQmlPlugins.h"

class FinanceBackend : public QObject
{
    Q_OBJECT

public:
    FinanceBackend()
    {
        m_backend.start();
        m_client = std::make_unique<APIClient>(m_backend.baseUrl());
        m_accountId = m_backend.data().addAccount(QStringLiteral("q@example.test"), QStringLiteral("pw")).id;
        const QString token = m_backend.data().issueToken(m_accountId);
        m_client->setTokenProvider([token] { return std::optional<QString>(token); });
    }

    // A fresh projects service of the account, owned here.
    Q_INVOKABLE ProjectsService *projectsService() { return new ProjectsService(false, nullptr, m_client.get(), this); }
    Q_INVOKABLE void reset()
    {
        m_backend.release();
        m_backend.clearOverrides();
        m_backend.clearRequests();
        m_backend.data().projects.clear();
        m_backend.data().payments.clear();
    }
    // fields: the project's JSON (name, parentProjectId, version, ...).
    Q_INVOKABLE QString addProject(const QVariantMap &fields)
    {
        return m_backend.data()
            .addProject(m_accountId, QJsonObject::fromVariantMap(fields))
            .value(QStringLiteral("id"))
            .toString();
    }
    Q_INVOKABLE QString addPayment(const QString &projectId, double amount, const QString &status, const QString &note)
    {
        return m_backend.data()
            .addPayment(projectId, m_accountId, amount, status, {{QStringLiteral("note"), note}})
            .value(QStringLiteral("id"))
            .toString();
    }
    // The route answers status with message, after delayMs.
    Q_INVOKABLE void fail(const QString &method, const QString &path, int status, const QString &message, int delayMs)
    {
        m_backend.setOverride(method, path, BackendReply::message(status, message).after(delayMs));
    }
    // The answers to method + path wait until release().
    Q_INVOKABLE void hold(const QString &method, const QString &path) { m_backend.hold(method, path); }
    Q_INVOKABLE void release() { m_backend.release(); }
    Q_INVOKABLE int requestCount(const QString &method, const QString &path) const
    {
        return int(m_backend.requests(method, path).size());
    }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("financeBackend"), this);
    }

private:
    TestBackend m_backend;
    std::unique_ptr<APIClient> m_client;
    QString m_accountId;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    FinanceBackend backend;
    return quick_test_main_with_setup(argc, argv, "FinanceQuick", TESSMARK_QUICK_TEST_DIR, &backend);
}

#include "tst_FinanceQuick.moc"
