#include "Data/LocalCloudMigrationPlanner.h"
#include "Data/LocalCloudMigrationPolicy.h"
#include "ProjectSamples.h"

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

    // What an upload sends is what tells the account's copy: the account's own identity, owner,
    // stamps and totals, and the lines' done flags, do not.
    void holdsUploadOf_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("holds");
        QTest::newRow("as sent") << "" << true;
        QTest::newRow("account's identity, owner, stamps, totals") << "account" << true;
        QTest::newRow("done flag") << "done" << true;
        QTest::newRow("name") << "name" << false;
        QTest::newRow("name's letter case") << "case" << false;
        QTest::newRow("client") << "client" << false;
        QTest::newRow("currency") << "currency" << false;
        QTest::newRow("status") << "status" << false;
        QTest::newRow("default rate") << "rate" << false;
        QTest::newRow("a line's hours") << "hours" << false;
        QTest::newRow("a line more") << "line" << false;
    }
    void holdsUploadOf()
    {
        QFETCH(QString, change);
        QFETCH(bool, holds);
        const Project local = ProjectSamples::make(QStringLiteral("local-1"), QStringLiteral("Сайт"), 3);
        Project cloud = local;
        if (change == QLatin1String("account")) {
            cloud.id = QStringLiteral("p-9");
            cloud.userId = QStringLiteral("u-1");
            cloud.createdAt = cloud.updatedAt = QStringLiteral("2025-01-01T00:00:00Z");
            cloud.totalCost += 1;
        } else if (change == QLatin1String("done")) {
            cloud.items[1].done = true;
        } else if (change == QLatin1String("name")) {
            cloud.name = QStringLiteral("Сайт 2");
        } else if (change == QLatin1String("case")) {
            cloud.name = QStringLiteral("сайт");
        } else if (change == QLatin1String("client")) {
            cloud.clientName = QStringLiteral("ООО");
        } else if (change == QLatin1String("currency")) {
            cloud.currency = QStringLiteral("USD");
        } else if (change == QLatin1String("status")) {
            cloud.status = ProjectStatus::InProgress;
        } else if (change == QLatin1String("rate")) {
            cloud.defaultRate.reset();
        } else if (change == QLatin1String("hours")) {
            cloud.items[2].hours += 0.5;
        } else if (change == QLatin1String("line")) {
            cloud.items.append(cloud.items.first());
        }
        QCOMPARE(LocalCloudMigrationPlanner::holdsUploadOf(cloud, local), holds);
        // The one an earlier upload made is none that held it before.
        QCOMPARE(LocalCloudMigrationPlanner::earlierUpload({cloud}, local, {}).has_value(), holds);
        QVERIFY(!LocalCloudMigrationPlanner::earlierUpload({cloud}, local, {cloud.id}));
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
