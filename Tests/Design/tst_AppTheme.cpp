#include "AppTheme.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

using Role = AppTheme::Role;
Q_DECLARE_METATYPE(Role)

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

    void colours_data()
    {
        QTest::addColumn<Role>("role");
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("dark");
        auto hex = [](const char *text, qreal alpha = 1) {
            QColor c = QColor::fromString(QLatin1String(text));
            c.setAlphaF(float(alpha));
            return c;
        };
        QTest::newRow("primary") << Role::Primary << hex("#14122A") << hex("#B8A8E8");
        QTest::newRow("accent") << Role::Accent << hex("#B84D7A") << hex("#E891B8");
        QTest::newRow("background") << Role::Background << hex("#F5F5F7") << hex("#17171C");
        QTest::newRow("surface is background") << Role::Surface << hex("#F5F5F7") << hex("#17171C");
        QTest::newRow("card") << Role::CardBackground << hex("#FAFAFA") << hex("#1F1F26");
        QTest::newRow("paper is card") << Role::Paper << hex("#FAFAFA") << hex("#1F1F26");
        QTest::newRow("strong text") << Role::DeepBlack << hex("#1D1D1F") << hex("#E6E6EA");
        QTest::newRow("secondary text: strong text at 0.58 in dark")
            << Role::TextSecondary << hex("#6E6E73") << hex("#E6E6EA", 0.58);
        QTest::newRow("field") << Role::FieldBackground << hex("#FFFFFF") << hex("#26262E");
        QTest::newRow("border") << Role::Border << hex("#000000", 0.08) << hex("#FFFFFF", 0.06);
        QTest::newRow("card shadow") << Role::CardShadow << hex("#0F172A", 0.08) << hex("#000000", 0.35);
        QTest::newRow("error") << Role::Error << hex("#D23848") << hex("#D23848");
        QTest::newRow("success") << Role::Success << hex("#228B57") << hex("#228B57");
    }
    void colours()
    {
        QFETCH(Role, role);
        QFETCH(QColor, light);
        QFETCH(QColor, dark);
        AppTheme theme(false, nullptr);
        QCOMPARE(theme.resolved(role).rgba(), light.rgba());
        theme.setPreference(QStringLiteral("dark"));
        QCOMPARE(theme.resolved(role).rgba(), dark.rgba());
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

    void withOpacityScalesTheAlpha()
    {
        const QColor c = AppTheme::withOpacity(AppTheme::color(Role::TextSecondary).dark, 0.5);
        QCOMPARE(c.rgb(), QColor(0xE6, 0xE6, 0xEA).rgb());
        QVERIFY(qAbs(c.alphaF() - 0.29) < 0.01);
    }
};

QTEST_MAIN(tst_AppTheme)
#include "tst_AppTheme.moc"
