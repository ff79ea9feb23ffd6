// Quick Tests of the root view, the main window and the tour overlay, in a QApplication as the
// app has. Each test file gets `testEnvironment` to reset preferences and the device store.
#include "AppTestEnvironment.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QtQuickTest/quicktest.h>

#include "App/AppQmlPlugins.h"

class QuickTestEnvironment : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void reset() { m_env.reset(); }
    Q_INVOKABLE QStringList addDeviceProjects(int count)
    {
        QStringList ids;
        for (const Project &project : AppTestEnvironment::addDeviceProjects(count))
            ids.append(project.id);
        return ids;
    }
    // A device record whose JSON no longer reads as a project.
    Q_INVOKABLE void addUnreadableDeviceRecord(const QString &id)
    {
        AppTestEnvironment::repository().context()->upsert(id, QByteArrayLiteral("{\"name\":1}"));
    }
    Q_INVOKABLE void setPreference(const QString &key, const QVariant &value)
    {
        Preferences::shared().setValue(key, value);
    }
    Q_INVOKABLE QVariant preference(const QString &key) const { return Preferences::shared().value(key); }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("testEnvironment"), this);
    }

private:
    AppTestEnvironment m_env;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuickTestEnvironment environment;
    return quick_test_main_with_setup(argc, argv, "AppQuick", TESSMARK_QUICK_TEST_DIR, &environment);
}

#include "tst_AppQuick.moc"
