// Quick Tests of the root view, the main window and the tour overlay, in a QApplication as the
// app has. Each test file gets `testEnvironment` to reset preferences and the device store.
#include "FocusWatch.h"
#include "QuickTestEnvironment.h"

#include <QApplication>
#include <QQmlEngineExtensionPlugin>
#include <QtQuickTest/quicktest.h>

#include "App/AppQmlPlugins.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    QuickTestEnvironment environment;
    return quick_test_main_with_setup(argc, argv, "AppQuick", TESSMARK_QUICK_TEST_DIR, &environment);
}
