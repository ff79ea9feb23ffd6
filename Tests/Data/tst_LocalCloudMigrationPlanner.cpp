#include "Data/LocalCloudMigrationPlanner.h"
#include "Data/LocalCloudMigrationPolicy.h"
#include "ProjectSamples.h"

#include <QTest>

using ProjectSamples::ids;

namespace {

QList<Project> named(const QStringList &names, const QString &prefix)
{
    QList<Project> out;
    for (qsizetype i = 0; i < names.size(); ++i)
        out.append(ProjectSamples::make(prefix + QString::number(i), names.at(i)));
    return out;
}

} // namespace

class tst_LocalCloudMigrationPlanner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nameKey_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("match");
        QTest::newRow("case and blanks") << QStringLiteral("  Сайт Магазина\n") << QStringLiteral("сайт магазина") << true;
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

    void plans_data()
    {
        QTest::addColumn<QStringList>("cloud");
        QTest::addColumn<QStringList>("locals");
        QTest::addColumn<QStringList>("toUpload");
        QTest::addColumn<QStringList>("toReplace");
        QTest::newRow("no overlap") << QStringList{"A"} << QStringList{"B", "C"} << QStringList{"l0", "l1"}
                                    << QStringList{};
        QTest::newRow("match by key") << QStringList{" Alpha ", "Beta"} << QStringList{"alpha", "Gamma"}
                                      << QStringList{"l1"} << QStringList{"c0"};
        QTest::newRow("local duplicates kept") << QStringList{} << QStringList{"Dup", "dup"}
                                               << QStringList{"l0", "l1"} << QStringList{};
        QTest::newRow("every matching cloud project") << QStringList{"Same", "SAME", "other"} << QStringList{"same"}
                                                      << QStringList{} << QStringList{"c0", "c1"};
        QTest::newRow("empty locals") << QStringList{"A"} << QStringList{} << QStringList{} << QStringList{};
    }
    void plans()
    {
        QFETCH(QStringList, cloud);
        QFETCH(QStringList, locals);
        QFETCH(QStringList, toUpload);
        QFETCH(QStringList, toReplace);
        const QList<Project> c = named(cloud, QStringLiteral("c"));
        const QList<Project> l = named(locals, QStringLiteral("l"));
        QCOMPARE(ids(LocalCloudMigrationPlanner::localsToUploadMergeDedupe(c, l)), toUpload);
        QCOMPARE(ids(LocalCloudMigrationPlanner::cloudProjectsToReplaceForLocalWins(c, l)), toReplace);
    }

    void policyRawValues()
    {
        QStringList raw;
        for (const LocalCloudMigrationPolicy policy : allLocalCloudMigrationPolicies) {
            raw.append(rawValue(policy));
            QCOMPARE(localCloudMigrationPolicyFromRaw(rawValue(policy)), policy);
            QVERIFY(!displayName(policy).isEmpty());
            QVERIFY(!explanation(policy).isEmpty());
        }
        QCOMPARE(raw, (QStringList{"mergeAll", "mergeDedupeByName", "cloudOnly", "localWinsReplaceMatches"}));
        QCOMPARE(displayName(LocalCloudMigrationPolicy::CloudOnly), QStringLiteral("Облако главное"));
        QVERIFY(!localCloudMigrationPolicyFromRaw(QStringLiteral("MergeAll")));
        QVERIFY(!localCloudMigrationPolicyFromRaw(QString()));
    }
};

QTEST_GUILESS_MAIN(tst_LocalCloudMigrationPlanner)
#include "tst_LocalCloudMigrationPlanner.moc"
