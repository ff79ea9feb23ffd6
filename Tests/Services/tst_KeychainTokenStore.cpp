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

    void saveErrorText()
    {
        QCOMPARE(KeychainError::saveFailed(5, QStringLiteral("The keyring is locked")).errorDescription(),
                 QStringLiteral("Keychain save failed (5) \u2014 The keyring is locked"));
        QCOMPARE(KeychainError::saveFailed(-25308).errorDescription(), QStringLiteral("Keychain save failed (-25308)"));
    }
};

QTEST_GUILESS_MAIN(TestKeychainTokenStore)
#include "tst_KeychainTokenStore.moc"
