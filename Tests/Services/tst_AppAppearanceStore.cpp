#include "Settings/AppAppearanceStore.h"
#include "Settings/Preferences.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestAppAppearanceStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_file = 0;
    QString nextFile() { return m_dir.filePath(QStringLiteral("prefs-%1.ini").arg(++m_file)); }

private Q_SLOTS:
    void storedTextReadsAsPreference_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: key absent
        QTest::addColumn<QString>("preference");
        QTest::addColumn<QString>("scheme");

        QTest::newRow("fresh installation") << QVariant() << "system"
                                            << "";
        QTest::newRow("system") << QVariant(QStringLiteral("system")) << "system"
                                << "";
        QTest::newRow("light") << QVariant(QStringLiteral("light")) << "light"
                               << "light";
        QTest::newRow("dark") << QVariant(QStringLiteral("dark")) << "dark"
                              << "dark";
        QTest::newRow("other letter case") << QVariant(QStringLiteral("Dark")) << "system"
                                           << "";
        QTest::newRow("unknown word") << QVariant(QStringLiteral("auto")) << "system"
                                      << "";
        QTest::newRow("empty text") << QVariant(QString()) << "system"
                                    << "";
        QTest::newRow("padded") << QVariant(QStringLiteral(" dark")) << "system"
                                << "";
    }
    void storedTextReadsAsPreference()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, preference);
        QFETCH(QString, scheme);
        Preferences preferences(nextFile());
        if (stored.isValid())
            preferences.setValue(AppAppearanceStore::key(), stored);
        AppAppearanceStore store(&preferences);
        QCOMPARE(store.preferenceId(), preference);
        QCOMPARE(store.colorSchemeName(), scheme);
        // Reading never writes: an odd stored text stays until the user chooses.
        QCOMPARE(preferences.contains(AppAppearanceStore::key()), stored.isValid());
        if (stored.isValid())
            QCOMPARE(preferences.value(AppAppearanceStore::key()), stored);
    }

    void choosingWritesAndAnnounces()
    {
        const QString file = nextFile();
        {
            Preferences preferences(file);
            AppAppearanceStore store(&preferences);
            AppAppearanceStore otherWindow(&preferences);
            QSignalSpy changed(&otherWindow, &AppAppearanceStore::preferenceChanged);
            store.setPreference(AppColorSchemePreference::Dark);
            QCOMPARE(preferences.value(AppAppearanceStore::key()).toString(), QStringLiteral("dark"));
            QCOMPARE(changed.count(), 1);
            QCOMPARE(otherWindow.colorScheme(), std::optional<ColorScheme>(ColorScheme::Dark));
        }
        // After a restart the window opens dark.
        Preferences reopened(file);
        AppAppearanceStore store(&reopened);
        QCOMPARE(store.preference(), AppColorSchemePreference::Dark);

        store.setPreference(AppColorSchemePreference::System);
        QCOMPARE(reopened.value(AppAppearanceStore::key()).toString(), QStringLiteral("system"));
        QVERIFY(!store.colorScheme().has_value());
    }

    // QML sets raw values only, in the order they are offered.
    void qmlPropertyAcceptsOnlyRawValues()
    {
        Preferences preferences(nextFile());
        AppAppearanceStore store(&preferences);
        store.setProperty("preference", QStringLiteral("Dark"));
        QVERIFY(!preferences.contains(AppAppearanceStore::key()));
        store.setProperty("preference", QStringLiteral("light"));
        QCOMPARE(store.property("colorScheme").toString(), QStringLiteral("light"));
        QStringList raw;
        for (AppColorSchemePreference preference : AppColorSchemePreferences::allCases())
            raw.append(AppColorSchemePreferences::rawValue(preference));
        QCOMPARE(raw, (QStringList{"system", "light", "dark"}));
    }
};

QTEST_GUILESS_MAIN(TestAppAppearanceStore)
#include "tst_AppAppearanceStore.moc"
