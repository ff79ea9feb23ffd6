#include "DesignTestSupport.h"
#include "Typography.h"

#include "FocusWatch.h"

#include <QApplication>
#include <QObject>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT
public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine) { addDesignImportPath(engine); }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    Typography::installApplicationFont();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "tst_DesignControls", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "tst_DesignControls.moc"
