#include "Data/LocalCloudMigrationPlanner.h"
#include "Data/LocalCloudMigrationPolicy.h"

#include <QTest>

// Which plans the names give is seen end to end in the migration runner's tests.
class tst_LocalCloudMigrationPlanner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nameKey_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("match");
        QTest::newRow("case and blanks") << QStringLiteral("  Сайт Магазина\n") << QStringLiteral("сайт магазина")
                                         << true;
        QTest::newRow("cyrillic capitals") << QStringLiteral("ЁЛКА") << QStringLiteral("ёлка") << true;
        QTest::newRow("unicode spaces") << QStringLiteral("\u00a0App\u2003\t") << QStringLiteral("app") << true;
        QTest::newRow("empty and blanks") << QString() << QStringLiteral(" \n\t ") << true;
        QTest::newRow("inner blanks count") << QStringLiteral("a b") << QStringLiteral("ab") << false;
        QTest::newRow("final sigma") << QStringLiteral("ΟΔΟΣ") << QStringLiteral("οδος") << true;
        QTest::newRow("different words") << QStringLiteral("Сайт") << QStringLiteral("Сайты") << false;
    }
    void nameKey()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, match);
        QCOMPARE(LocalCloudMigrationPlanner::nameKey(a) == LocalCloudMigrationPlanner::nameKey(b), match);
    }

    void policyRawValues()
    {
        QStringList raw;
        for (const LocalCloudMigrationPolicy policy : allLocalCloudMigrationPolicies) {
            raw.append(rawValue(policy));
            QCOMPARE(localCloudMigrationPolicyFromRaw(rawValue(policy)), policy);
        }
        QCOMPARE(raw, (QStringList{"mergeAll", "mergeDedupeByName", "cloudOnly", "localWinsReplaceMatches"}));
        QCOMPARE(displayName(LocalCloudMigrationPolicy::CloudOnly), QStringLiteral("Облако главное"));
        QVERIFY(!localCloudMigrationPolicyFromRaw(QStringLiteral("MergeAll")));
    }
};

QTEST_GUILESS_MAIN(tst_LocalCloudMigrationPlanner)
#include "tst_LocalCloudMigrationPlanner.moc"
