#include "Auth/KeychainError.h"
#include "Auth/KeychainTokenStore.h"

#include <QTest>

// Runs against a real Secret Service: scripts/with-keyring gives it a private, unlocked keyring.
class TestKeychainTokenStore : public QObject
{
    Q_OBJECT

private:
    const QString m_service = QStringLiteral("app.tessmark.desktop.test-%1").arg(QCoreApplication::applicationPid());

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("TESSMARK_IN_KEYRING_SESSION"))
            QSKIP("needs the throw-away keyring of scripts/with-keyring");
    }
    void cleanup() { KeychainTokenStore(m_service).remove(); }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("token");
        QTest::newRow("ASCII") << QStringLiteral("eyJhbGciOiJIUzI1NiJ9.payload.signature");
        QTest::newRow("non-ASCII") << QStringLiteral("токен-ключ—✓");
        QTest::newRow("empty counts as present") << QString();
    }
    void roundTrips()
    {
        QFETCH(QString, token);
        KeychainTokenStore store(m_service);
        QVERIFY(!store.load().has_value());
        store.remove(); // nothing stored: no failure
        store.save(QStringLiteral("replaced"));
        store.save(token);
        QCOMPARE(store.load(), std::optional<QString>(token));
        // A fresh store reads the credential store itself; another service sees nothing.
        QCOMPARE(KeychainTokenStore(m_service).load(), std::optional<QString>(token));
        QVERIFY(!KeychainTokenStore(m_service + QStringLiteral(".other")).load().has_value());
        store.remove();
        QVERIFY(!store.load().has_value());
        QVERIFY(!KeychainTokenStore(m_service).load().has_value());
    }

    // A save given up on before the keyring answered has failed, though its write may still land
    // later: nothing of it stays, and a save that follows it does.
    void abandonedSaveLeavesNoToken_data()
    {
        QTest::addColumn<QString>("nextSave"); // empty: none
        QTest::newRow("nothing after it") << QString();
        QTest::newRow("a save after it") << QStringLiteral("tok-next");
    }
    void abandonedSaveLeavesNoToken()
    {
        QFETCH(QString, nextSave);
        KeychainTokenStore impatient(m_service, 0);
        try {
            impatient.save(QStringLiteral("tok-abandoned"));
            QFAIL("a save without an answer from the keyring succeeded");
        } catch (const KeychainError &error) {
            QVERIFY2(error.errorDescription().startsWith(QStringLiteral("Keychain save failed (")),
                     qPrintable(error.errorDescription()));
        }
        QVERIFY(!impatient.load().has_value());
        if (!nextSave.isEmpty())
            KeychainTokenStore(m_service).save(nextSave);
        // Keyring jobs run in the order started: this read comes after the abandoned write.
        const QString none = QStringLiteral("(none)");
        QCOMPARE(KeychainTokenStore(m_service).load().value_or(none), nextSave.isEmpty() ? none : nextSave);
    }
};

QTEST_GUILESS_MAIN(TestKeychainTokenStore)
#include "tst_KeychainTokenStore.moc"
