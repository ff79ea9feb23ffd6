// Quick Tests of the editor screen, its toolbar, line cards and form, in a QApplication as the app
// has. Each test file gets `editorFixture` for services and sample projects.
#include "FocusWatch.h"
#include "EditorScreenFixture.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest/quicktest.h>

#include "App/AppQmlPlugins.h"

class QuickSetup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("editorFixture"), &m_fixture);
    }

private:
    EditorScreenFixture m_fixture;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    QuickSetup setup;
    return quick_test_main_with_setup(argc, argv, "EditorQuick", TESSMARK_QUICK_TEST_DIR, &setup);
}

#include "tst_EditorQuick.moc"
