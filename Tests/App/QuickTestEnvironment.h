#pragma once

#include "API/ProjectsService.h"
#include "App/AppStart.h"
#include "AppTestEnvironment.h"

#include <QObject>
#include <QQmlContext>
#include <QQmlEngine>

// What a Quick Test of the app's screens reads as `testEnvironment`: the preferences and the
// device store of the test process, which it can fill and empty.
class QuickTestEnvironment : public QObject
{
    Q_OBJECT

public:
    // As the application starts, before any window.
    QuickTestEnvironment() { AppStart::prepare(*QCoreApplication::instance()); }

    // Between test functions: preferences and the device store emptied.
    Q_INVOKABLE virtual void reset() { m_env.reset(); }
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
    // A guest's projects service on the device store, for a list shown without a window around it
    // (a window's own list would take the pointer and the keyboard whenever it has loaded).
    Q_INVOKABLE ProjectsService *guestProjectsService() { return new ProjectsService(true, {}, nullptr, this); }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        AppStart::prepareEngine(*engine);
        engine->rootContext()->setContextProperty(QStringLiteral("testEnvironment"), this);
    }

private:
    AppTestEnvironment m_env;
};
