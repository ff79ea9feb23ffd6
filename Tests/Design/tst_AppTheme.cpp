#include "AppTheme.h"
#include "ProjectStatusStyle.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>


class tst_AppTheme : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void appearance_data()
    {
        QTest::addColumn<QString>("preference");
        QTest::addColumn<bool>("systemDark");
        QTest::addColumn<bool>("dark");
        QTest::newRow("system, light system") << "system" << false << false;
        QTest::newRow("system, dark system") << "system" << true << true;
        QTest::newRow("dark forced") << "dark" << false << true;
        QTest::newRow("light forced") << "light" << true << false;
        QTest::newRow("Dark is not dark") << "Dark" << false << false;
        QTest::newRow("empty follows the system") << "" << true << true;
        QTest::newRow("unknown follows the system") << "auto" << true << true;
    }
    void appearance()
    {
        QFETCH(QString, preference);
        QFETCH(bool, systemDark);
        QFETCH(bool, dark);
        AppTheme theme(systemDark, nullptr);
        theme.setPreference(preference);
        QCOMPARE(theme.isDark(), dark);
    }

    // Fading keeps the colour and scales whatever alpha it already has.
    void withOpacity_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<qreal>("opacity");
        QTest::addColumn<qreal>("alpha");
        QTest::newRow("opaque, half") << QColor(10, 20, 30) << 0.5 << 0.5;
        QTest::newRow("already faded") << QColor(10, 20, 30, 128) << 0.5 << 0.25;
        QTest::newRow("fully") << QColor(10, 20, 30) << 0.0 << 0.0;
        QTest::newRow("unchanged") << QColor(10, 20, 30, 64) << 1.0 << 0.25;
    }
    void withOpacity()
    {
        QFETCH(QColor, colour);
        QFETCH(qreal, opacity);
        QFETCH(qreal, alpha);
        const QColor faded = AppTheme::withOpacity(colour, opacity);
        QCOMPARE(faded.rgb(), colour.rgb());
        QVERIFY2(qAbs(faded.alphaF() - alpha) < 0.01, qPrintable(QString::number(faded.alphaF())));
    }

    void changesAreAnnouncedOnlyWhenTheAppearanceFlips()
    {
        AppTheme theme(true, nullptr);
        QSignalSpy spy(&theme, &AppTheme::appearanceChanged);
        theme.setPreference(QStringLiteral("dark")); // already dark through the system
        QCOMPARE(spy.count(), 0);
        theme.setPreference(QStringLiteral("light"));
        QCOMPARE(spy.count(), 1);
        theme.setSystemDark(false);
        QCOMPARE(spy.count(), 1);
        theme.setPreference(QStringLiteral("system"));
        QCOMPARE(spy.count(), 1);
        theme.setSystemDark(true);
        QCOMPARE(spy.count(), 2);
        QVERIFY(theme.isDark());
    }

    void systemAppearanceIsReadFromThePaletteAtCreation()
    {
        const QPalette original = QGuiApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x24));
        dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
        QGuiApplication::setPalette(dark);
        AppTheme theme;
        QVERIFY(theme.systemDark());
        QVERIFY(theme.isDark());
        theme.setPreference(QStringLiteral("light"));
        QVERIFY(!theme.isDark());
        QGuiApplication::setPalette(original);
        QVERIFY(!AppTheme().systemDark());
        QVERIFY(theme.systemDark()); // read once, not followed
    }

    // The badge: each status in its own theme colour; an unknown text reads as itself.
    void statusLook_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("role");
        QTest::newRow("draft") << "draft"
                               << "Черновик" << int(AppTheme::Role::TextSecondary);
        QTest::newRow("in progress") << "in_progress"
                                     << "В работе" << int(AppTheme::Role::Accent);
        QTest::newRow("completed") << "completed"
                                   << "Завершён" << int(AppTheme::Role::Success);
        QTest::newRow("rejected") << "rejected"
                                  << "Отказ" << int(AppTheme::Role::Error);
        QTest::newRow("unknown") << "archived"
                                 << "archived" << int(AppTheme::Role::TextSecondary);
    }
    void statusLook()
    {
        QFETCH(QString, raw);
        QFETCH(QString, label);
        QFETCH(int, role);
        ProjectStatusStyle style;
        QCOMPARE(style.label(raw), label);
        for (bool dark : {false, true})
            QCOMPARE(style.color(raw, dark), AppTheme::color(AppTheme::Role(role)).resolved(dark));
    }
};

QTEST_MAIN(tst_AppTheme)
#include "tst_AppTheme.moc"
