// Quick Tests of the sheets the editor opens, each made directly with an editor view model
// built in the test, against the test backend.
#include "FocusWatch.h"
#include "EditorSamples.h"
#include "SheetsBackend.h"

#include "Settings/UserTemplatesStorage.h"
#include "Features/Editor/ProjectEditorViewModel.h"
#include "Models/EstimateTemplate.h"
#include "Settings/Preferences.h"

#include <QApplication>
#include <QJsonDocument>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQuickTest/quicktest.h>

#include "App/AppQmlPlugins.h"

class SheetsQuickEnvironment : public QObject
{
    Q_OBJECT
    Q_PROPERTY(ProjectsService *projectsService READ projectsService CONSTANT)

public:
    SheetsQuickEnvironment()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("TessmarkTests"));
        QCoreApplication::setApplicationName(QStringLiteral("EditorSheetsQuick"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
        if (!m_sheets.start())
            qFatal("the test backend did not start");
        m_service = m_sheets.account();
    }

    ProjectsService *projectsService() const { return m_service.get(); }

    Q_INVOKABLE void reset()
    {
        m_sheets.backend->release();
        m_sheets.backend->clearOverrides();
        m_sheets.backend->clearRequests();
        Preferences::shared().remove(UserTemplatesStorage::key());
    }
    // A project with `lines` lines, as the editor loads one.
    Q_INVOKABLE QVariant sampleProject(const QString &name, const QString &currency, int lines) const
    {
        QList<EditorSamples::Line> rows;
        for (int i = 0; i < lines; ++i)
            rows.append({QStringLiteral("Строка %1").arg(i + 1), QStringLiteral("backend"), 2.0 + i, 100});
        Project project = EditorSamples::project(rows);
        project.name = name;
        project.currency = currency;
        return QVariant::fromValue(project);
    }
    Q_INVOKABLE QString addRoot() { return m_sheets.addRoot(); }
    Q_INVOKABLE QString addIteration(const QString &rootId, const QVariantMap &fields)
    {
        return m_sheets.addIteration(rootId, QJsonObject::fromVariantMap(fields));
    }
    // The backend's record of that project, as JSON text.
    Q_INVOKABLE QString projectJson(const QString &id)
    {
        return QString::fromUtf8(QJsonDocument(*m_sheets.backend->data().project(id)).toJson(QJsonDocument::Compact));
    }
    Q_INVOKABLE void answer(const QString &method, const QString &path, int status, const QString &body, int delayMs)
    {
        m_sheets.backend->setOverride(method, path, BackendReply::raw(status, body.toUtf8()).after(delayMs));
    }
    // The answers to method + path wait until release().
    Q_INVOKABLE void hold(const QString &method, const QString &path) { m_sheets.backend->hold(method, path); }
    Q_INVOKABLE void release() { m_sheets.backend->release(); }
    Q_INVOKABLE QVariantList bodies(const QString &method, const QString &path) const
    {
        QVariantList out;
        for (const QJsonObject &body : m_sheets.bodies(method, path))
            out.append(body.toVariantMap());
        return out;
    }
    // The editor's lines as the new-iteration sheet is given them.
    Q_INVOKABLE QVariant projectItems(ProjectEditorViewModel *editor) const
    {
        return QVariant::fromValue(ProjectEditorViewModel::projectItems(editor->items()));
    }
    Q_INVOKABLE QStringList lineTitles(ProjectEditorViewModel *editor) const
    {
        return EditorSamples::titles(editor->items());
    }
    Q_INVOKABLE QString templateName(const QVariant &value) const { return value.value<EstimateTemplate>().name; }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("sheetEnv"), this);
    }

private:
    QTemporaryDir m_dir;
    SheetsBackend m_sheets;
    std::unique_ptr<ProjectsService> m_service;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    SheetsQuickEnvironment environment;
    return quick_test_main_with_setup(argc, argv, "EditorSheetsQuick", TESSMARK_QUICK_TEST_DIR, &environment);
}

#include "tst_EditorSheetsQuick.moc"
