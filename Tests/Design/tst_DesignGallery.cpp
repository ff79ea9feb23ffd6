#include "DesignTestSupport.h"
#include "IconMap.h"
#include "Typography.h"

#include <QApplication>
#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTest>

// Renders the gallery in both appearances into PNGs under the build folder, for people to look
// at; it fails only when something cannot be built or shown.
class tst_DesignGallery : public QObject
{
    Q_OBJECT
private:
    static void save(const QImage &image, const QString &scene, const QString &appearance)
    {
        const QString path = QStringLiteral(GALLERY_OUTPUT "/%1-%2.png").arg(scene, appearance);
        QVERIFY(image.save(path));
        qInfo("gallery: %s", qPrintable(path));
    }

private Q_SLOTS:
    void initTestCase()
    {
        Typography::installApplicationFont();
        QVERIFY(QDir().mkpath(QStringLiteral(GALLERY_OUTPUT)));
    }

    void render_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("appearance");
        for (const char *scene : {"components", "tour", "sheet", "sheet-window", "dialog"}) {
            for (const char *appearance : {"light", "dark"})
                QTest::addRow("%s-%s", scene, appearance)
                    << QString::fromLatin1(scene) << QString::fromLatin1(appearance);
        }
    }
    void render()
    {
        QFETCH(QString, scene);
        QFETCH(QString, appearance);
        QQmlEngine engine;
        addDesignImportPath(&engine);
        QQmlComponent component(&engine, QUrl::fromLocalFile(QStringLiteral(GALLERY_QML)));
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        QStringList icons = IconMap::table().keys();
        icons.sort();
        std::unique_ptr<QObject> root(component.createWithInitialProperties({{QStringLiteral("scene"), scene},
                                                                             {QStringLiteral("appearance"), appearance},
                                                                             {QStringLiteral("icons"), icons}}));
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(400); // let the popups' and the list's animations finish
        const QImage image = window->grabWindow();
        QVERIFY(!image.isNull());
        save(image, scene, appearance);
        // A sheet that opened a window of its own is shown beside the window it belongs to.
        for (QWindow *other : QGuiApplication::topLevelWindows()) {
            auto *sheet = qobject_cast<QQuickWindow *>(other);
            if (sheet && sheet != window && sheet->isVisible()) {
                QVERIFY(QTest::qWaitForWindowExposed(sheet));
                save(sheet->grabWindow(), scene + QStringLiteral("-own-window"), appearance);
            }
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_DesignGallery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DesignGallery.moc"
