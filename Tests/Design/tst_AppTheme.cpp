#include "AppTheme.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

using Role = AppTheme::Role;

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

    // The roles defined through others; the values themselves are looked at in the gallery.
    void derivedColours()
    {
        AppTheme theme(false, nullptr);
        const QColor lightPrimary = theme.resolved(Role::Primary);
        for (const char *scheme : {"light", "dark"}) {
            theme.setPreference(QLatin1String(scheme));
            QCOMPARE(theme.resolved(Role::Surface), theme.resolved(Role::Background));
            QCOMPARE(theme.resolved(Role::Paper), theme.resolved(Role::CardBackground));
        }
        QVERIFY(theme.resolved(Role::Primary) != lightPrimary);
        const QColor secondary = theme.resolved(Role::TextSecondary);
        QCOMPARE(secondary.rgb(), theme.resolved(Role::DeepBlack).rgb());
        QVERIFY(qAbs(secondary.alphaF() - 0.58) < 0.01);
        const QColor half = AppTheme::withOpacity(secondary, 0.5);
        QCOMPARE(half.rgb(), secondary.rgb());
        QVERIFY(qAbs(half.alphaF() - 0.29) < 0.01);
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
};

QTEST_MAIN(tst_AppTheme)
#include "tst_AppTheme.moc"
